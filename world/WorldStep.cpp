// The world's per-frame step: new chickens, feeders, clocks, the flock, dirt
// and bubbles, then whichever window is open.
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TFarmSave.hpp"
#include "world/TWorld.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

float distance(sf::Vector2f a, sf::Vector2f b)
{
    const sf::Vector2f d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y);
}

// The index of the one object strictly nearer to `position` than every
// other, or -1 when the nearest distance is shared.
template <class Object, std::size_t count>
int strictlyNearest(sf::Vector2f position, const Object (&objects)[count])
{
    float d[count];
    for (std::size_t k = 0; k < count; ++k)
        d[k] = distance(position, objects[k].getPosition());
    for (std::size_t k = 0; k < count; ++k) {
        bool nearest = true;
        for (std::size_t j = 0; j < count; ++j)
            if (j != k && !(d[j] > d[k]))
                nearest = false;
        if (nearest)
            return static_cast<int>(k);
    }
    return -1;
}

// The point 32 pixels from an object at p, on the side of a chicken at q. A
// chicken standing exactly on the object has no side: it uses the object's
// own position, so its walk stays finite.
sf::Vector2f approachPoint(sf::Vector2f p, sf::Vector2f q)
{
    const float d = distance(q, p);
    if (d == 0.f)
        return p;
    return p + (q - p) * 32.f / d;
}

bool isBusyState(int s) { return s == TChiken2::Laying || s == TChiken2::Eating || s == TChiken2::Drinking; }

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

} // namespace

void TWorld::update(float dt)
{
    updateQuest(dt);

    // New chickens land in the nursery; y is drawn before x. A farm holds as
    // many birds as a save keeps: chicks beyond wait their turn, and hatch as
    // room is made (hens sent on holiday).
    if (chickensToSpawn > 0) {
        const std::size_t room =
            vecChikens.size() < TFarmSave::maxChickens ? TFarmSave::maxChickens - vecChikens.size() : 0;
        const int hatching = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(chickensToSpawn), room));
        for (int n = 0; n < hatching; ++n) {
            const float y = static_cast<float>(std::rand() % 200 + 135);
            const float x = static_cast<float>(std::rand() % 440 + 20);
            spawnChicken(x, y);
        }
        chickensToSpawn -= hatching;
    }

    for (TFeeding& f : feeders)
        f.update(dt);
    const float storyBefore = storyTime();
    storyClock.update(dt);
    holdStory(storyBefore);
    updateClock(dt);
    updateFlock(dt);
    spawnPollution(dt);

    for (TBubble& b : bubbles)
        b.update(dt);
    // A dead bubble is never seen again; dropping it keeps the loop short
    // between clean-ups.
    std::erase_if(bubbles, [](const TBubble& b) { return !b.alive; });

    if (mode == ModeSortingRunning)
        sortMachine->update(dt);
    else if (mode == ModeShop)
        shop->refreshLabels();
}

void TWorld::spawnChicken(float x, float y)
{
    chickenTemplate.setPosition({x, y});
    chickenTemplate.satiety = TChiken2::drawNeed();
    chickenTemplate.hydration = TChiken2::drawNeed();
    vecChikens.push_back(chickenTemplate);
}

// Indexes only: nothing here keeps a pointer into the flock or the eggs.
void TWorld::updateFlock(float dt)
{
    for (std::size_t i = 0; i < vecChikens.size(); ++i) {
        TChiken2& c = vecChikens[i];
        c.update(dt);

        if (c.eggReady) {
            c.eggReady = false;
            eggTemplate.setPosition(c.getPosition() + sf::Vector2f{0.f, -25.f});
            eggTemplate.setRotation(sf::degrees(static_cast<float>(std::rand() % 360)));
            // A floor as full as a save keeps takes no more eggs.
            if (eggsOnFloor.size() < TFarmSave::maxEggs)
                eggsOnFloor.push_back(eggTemplate);
            continue;
        }

        // A bird on its way to (or busy at) the nest, a feeder or a bowl is
        // left alone; anything else, even a dance, gives way to a need.
        const bool busy = isBusyState(c.getState()) || isBusyState(c.getNextState());
        if (busy)
            continue;

        // Thirst comes first; hunger waits until the bird has drunk.
        if (c.getHydration() < 0.5f) {
            const sf::Vector2f t = findNearestBowl(c.getPosition());
            c.goTo(t, "vecChikens[i].getHydration()");
            c.setNextState(TChiken2::Drinking);
            continue;
        }
        if (c.getSatiety() < 0.5f) {
            const sf::Vector2f t = findNearestFeeder(c.getPosition(), c);
            // No answer (an empty or tied nearest feeder): try next frame.
            if (t != c.getPosition()) {
                c.goTo(t, "vecChikens[i].getSatiety()");
                c.setNextState(TChiken2::Eating);
            }
        }
    }
}

// Without a strict nearest bowl the bird drinks where it stands.
sf::Vector2f TWorld::findNearestBowl(sf::Vector2f position)
{
    const int nearest = strictlyNearest(position, drinkingBowls);
    return nearest < 0 ? position : approachPoint(drinkingBowls[nearest].getPosition(), position);
}

// Only the strictly nearest feeder counts, and only while it holds food; a
// bird never looks past it.
sf::Vector2f TWorld::findNearestFeeder(sf::Vector2f position, TChiken2& chicken)
{
    const int nearest = strictlyNearest(position, feeders);
    if (nearest < 0 || !(feeders[nearest].getFood() > 0.f))
        return position;
    chicken.feeder = &feeders[nearest];
    return approachPoint(feeders[nearest].getPosition(), position);
}

// One real second is 24 game minutes.
void TWorld::updateClock(float dt)
{
    dayTime += dt * 24.f * 60.f;
    if (dayTime >= 86400.f)
        dayTime -= 86400.f;
    const int hours = static_cast<int>(dayTime) / 3600;
    const int minutes = static_cast<int>(dayTime) / 60 - hours * 60;
    coinText.setString(std::to_string(coins));
    eggCountText.setString(std::to_string(eggsCollected));
    timeText.setString(twoDigits(hours) + ":" + twoDigits(minutes));
}

// The field stays clean for the first two minutes of play; after that a spot
// appears every 5 s (only one, however many periods a long frame covers).
void TWorld::spawnPollution(float dt)
{
    if (storyClock.getElapsed() <= 120.f)
        return;
    if (pollutionTimer.update(dt) <= 0)
        return;
    const int id = std::rand() % 5 + image::pen1;
    const float y = static_cast<float>(std::rand() % 1000);
    const float x = static_cast<float>(std::rand() % 1900);
    sf::Sprite spot(TTextureStore::instance().getTexture(id));
    spot.setPosition({x, y});
    // As much dirt as a save keeps, and no more.
    if (pollution.size() < TFarmSave::maxDirt)
        pollution.push_back(spot);
}

void TWorld::holdStory(float storyBefore)
{
    if (!storyHeldBack())
        return;
    const float now = storyClock.getElapsed();
    for (const StoryMessage& message : storyMessages()) {
        if (message.shows != nullptr || !message.waits)
            continue;
        // Inside a message: it waits, hidden, where it stood.
        if (storyBefore > message.from && storyBefore < message.to) {
            storyHeld = now - storyBefore;
            return;
        }
        // Reaching the start of one: it waits there.
        if (storyBefore <= message.from && storyTime() > message.from) {
            storyHeld = now - message.from;
            return;
        }
    }
}

void TWorld::updateQuest(float dt)
{
    if (coinsEarned >= 1000 && !questComplete) {
        questComplete = true;
        showMessage3 = true;
    }
    // The closing messages wait, hidden, while a window is open.
    const bool held = storyHeldBack();
    if (showMessage3 && !held && messageTimer.update(dt) > 0) {
        showMessage3 = false;
        showMessage4 = true;
    }
    // In the frame in which message 4 starts, the timer is advanced again by
    // the same step; the remainder carries over.
    if (showMessage4 && !messagesDone && !held && messageTimer.update(dt) > 0) {
        showMessage4 = false;
        messagesDone = true;
    }
}
