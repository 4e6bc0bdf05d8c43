#include "core/Globals.hpp"

namespace {

// The two starting values that are not zero.
constexpr int startingCoins = 100;
constexpr int startingChickens = 5;

} // namespace

int coins = startingCoins;
int coinsEarned = 0;
int eggsCollected = 0;
int chickensToSpawn = startingChickens;
int packC0Count = 0;
int packC1Count = 0;
int psychologistCount = 0;
int vetCount = 0;
int dragKind = 0;
sf::Vector2f mousePos{0.f, 0.f};

int quantities[6] = {};
int prices[6] = {};
int orderTotal = 0;

bool questComplete = false;
bool showMessage3 = false;
bool showMessage4 = false;
bool messagesDone = false;

bool musicOn = true;

float fpsTime = 0.f;
int fpsFrames = 0;
int fpsValue = 0;

void resetGlobalValues()
{
    coins = startingCoins;
    coinsEarned = 0;
    eggsCollected = 0;
    chickensToSpawn = startingChickens;
    packC0Count = 0;
    packC1Count = 0;
    psychologistCount = 0;
    vetCount = 0;
    dragKind = 0;
    mousePos = {0.f, 0.f};
    for (int i = 0; i < 6; ++i) {
        quantities[i] = 0;
        prices[i] = 0;
    }
    orderTotal = 0;
    questComplete = false;
    showMessage3 = false;
    showMessage4 = false;
    messagesDone = false;
    musicOn = true;
    fpsTime = 0.f;
    fpsFrames = 0;
    fpsValue = 0;
}
