#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TWorld;

// The farm on disk: everything that makes a game worth resuming, taken out of
// the world and the process-wide values as plain data (capture), written as
// JSON (toJson), read back with every value checked (fromJson) and put into a
// freshly built world (apply). What is only in flight (a drag, a card or bag
// in hand, bubbles, the buttons' hover looks) is left out: a held thing is
// back where it came from. Floats are written so they read back bit for bit.
// The file's layout, each value with its key and limits, is declared once in
// TFarmRecords; TSaveText writes and reads the text.
class TFarmSave {
public:
    // Raised when the layout of the file changes; newer files are refused.
    // Format 2 adds clock.storyHeld (format 1 files read as no wait).
    static constexpr int formatVersion = 2;
    static constexpr const char* gameVersion = "1.0";

    // Limits of what is accepted; a file beyond them is refused as a whole.
    static constexpr std::size_t maxFileBytes = std::size_t{64} << 20;
    static constexpr std::size_t maxChickens = 20000;
    static constexpr std::size_t maxEggs = 100000; // on the floor, and again on the table
    static constexpr std::size_t maxDirt = 200000;
    static constexpr double minX = -100000.0, maxX = 11000000.0; // leaving hens walk to x = 10,000,000
    static constexpr double minY = -100000.0, maxY = 100000.0;

    struct Chicken {
        int sheet = 0; // texture id of the sprite sheet
        sf::IntRect frame;
        sf::Vector2f position, origin, scale;
        float satiety = 0.f, hydration = 0.f, eggUrge = 0.f, age = 0.f, speed = 0.f;
        int walkFrame = 0, eatFrame = 0, poseFrame = 0, facing = 1;
        sf::Vector2f velocity, target;
        float waitElapsed = 0.f, layElapsed = 0.f, layPeriod = 0.f, frameElapsed = 0.f, danceElapsed = 0.f;
        int state = 0, nextState = 0, animation = 0, stage = 0;
        int feeder = -1; // index into the world's feeders
        bool eggReady = false;
        bool operator==(const Chicken&) const = default;
    };
    struct Egg {
        sf::Vector2f position;
        float radians = 0.f;
        bool defective = false;
        bool operator==(const Egg&) const = default;
    };
    struct Dirt {
        int texture = 0;
        sf::Vector2f position;
        bool operator==(const Dirt&) const = default;
    };
    struct Feeder {
        float food = 0.f, blinkTime = 0.f, blinkAlpha = 0.f;
        bool emptyPicture = false;
        bool operator==(const Feeder&) const = default;
    };
    struct Snapshot {
        // Purse and counters.
        int coins = 0, coinsEarned = 0, eggsCollected = 0, chickensToSpawn = 0;
        int packC0 = 0, packC1 = 0, psychologists = 0, vets = 0;
        std::array<int, 6> inventory{};
        // The story and the coin quest.
        bool questComplete = false, message3 = false, message4 = false, messagesDone = false;
        // Clocks.
        float dayTime = 0.f, playTime = 0.f, dirtTimer = 0.f, messageTimer = 0.f;
        // How long the story messages waited for a window (absent in older saves).
        float storyHeld = 0.f;
        int cleanCount = 0;
        // The open window: the mode, the shop's page and order, the scanner.
        int mode = 0, shopPage = 0;
        std::array<int, 6> order{};
        sf::Vector2f scanner;
        bool scanningUp = true;
        // Where the three cards lie (a hovered one stands a little higher).
        std::array<sf::Vector2f, 3> cards{};
        std::array<Feeder, 4> feeders;
        std::array<float, 3> bowlNeedles{}; // radians
        Chicken chickenTemplate;
        std::vector<Chicken> chickens;
        std::vector<Egg> eggsOnFloor, eggsOnTable;
        std::vector<Dirt> dirt;
        bool operator==(const Snapshot&) const = default;
    };

    // Copies the farm out of the world and the process-wide values. Cheap
    // enough for the frame loop; the rest of the work can go elsewhere.
    static Snapshot capture(TWorld& world);
    // The save file's text.
    static std::string toJson(const Snapshot& farm);
    // Reads a save file's text, checking every value; on any problem returns
    // nothing and names the first one in `problem`. `newerFormat` tells a file
    // from a later version of the game (whole, but not for this version).
    [[nodiscard]] static std::optional<Snapshot> fromJson(std::string_view text, std::string& problem,
                                                          bool* newerFormat = nullptr);
    // Puts the farm into a world that has just been built (and had its shared
    // sprites placed) and into the process-wide values.
    static void apply(const Snapshot& farm, TWorld& world);
};
