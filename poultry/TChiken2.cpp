#include "poultry/TChiken2.hpp"

#include "core/TTextureStore.hpp"
#include "poultry/MoodIcons.hpp"
#include "poultry/TFeeding.hpp"
#include "poultry/Yard.hpp"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int frameSize = TTextureStore::frameSize;

// Texture ids of the chicken's sheets.
constexpr int chickWalkSheet = image::chickWalk;
constexpr int chickEatSheet = image::chickEat;
constexpr int walkSheet = image::walk;
constexpr int eatSheet = image::eat;
constexpr int danceSheet = image::dance;
constexpr int sitSheet = image::seat;
constexpr int kurortStartSheet = image::kurort1;
constexpr int kurortSheet = image::kurort2;

// Far to the right: a leaving bird walks there and never arrives.
const sf::Vector2f resortPoint{10000000.f, 500.f};

sf::IntRect frameRect(int frame, int columns)
{
    return sf::IntRect({(frame % columns) * frameSize, (frame / columns) * frameSize}, {frameSize, frameSize});
}

} // namespace

// The division is done in floating point so the need really spans 0.50..0.99
// (an integer division would give 0 every time).
float TChiken2::drawNeed() { return static_cast<float>(std::rand() % 50 + 50) / 100.f; }

// As above: 20.00..21.99 s, not a whole 20 or 21.
float TChiken2::drawLayPeriod() { return static_cast<float>(std::rand() % 200) / 100.f + 20.f; }

// The needs and the laying period have drawn their random numbers in the
// member initialisers, in declaration order; the constructor only picks the
// first sheet and lets one empty step set the size.
TChiken2::TChiken2()
    : TActor(TTextureStore::instance().getTexture(walkSheet))
{
    setAnimation(AnimWalk);
    update(0.f);
}

void TChiken2::update(float dt)
{
    age += dt;
    updateScale(dt);
    updateStage(dt);

    satiety -= 0.01f * dt;
    if (satiety <= 0.f)
        satiety = 0.f;
    hydration -= 0.01f * dt;
    if (hydration <= 0.f)
        hydration = 0.f;

    // Only grown birds lay; once the urge is full they head for the nest row,
    // unless they are already on their way there or sitting on it.
    if (stage != Chick && stage != Leaving) {
        eggUrge += 0.025f * dt;
        if (eggUrge >= 1.f) {
            eggUrge = 1.f;
            if (nextState != Laying && state != Laying) {
                const float x = static_cast<float>(std::rand() % 1130 + 730);
                goTo({x, 220.f}, "behavior");
                nextState = Laying;
            }
        }
    }

    switch (state) {
    case Walking: behaviorWalking(dt); break;
    case Waiting: behaviorWaiting(dt); break;
    case Laying: behaviorLaying(dt); break;
    case Drinking: behaviorDrinking(dt); break;
    case Eating: behaviorEating(dt); break;
    case Dancing: behaviorDancing(dt); break;
    default: break;
    }

    animate(dt);
}

void TChiken2::draw(sf::RenderTarget& window)
{
    window.draw(static_cast<const sf::Sprite&>(*this));
    drawMoodIcon(window);
}

// The mood sprites are shared stamps: each bird moves the one it needs onto
// itself just before drawing it.
void TChiken2::drawMoodIcon(sf::RenderTarget& window)
{
    sf::Sprite* icon = nullptr;
    if (stage == Old || stage == Leaving)
        icon = &*kurortEmotionSprite;
    else if (state == Laying)
        icon = &*frame68Sprite;
    else if (state == Drinking)
        icon = &*frame69Sprite;
    else if (state == Eating)
        icon = &*frame70Sprite;
    if (icon == nullptr)
        return;
    icon->setPosition(getPosition());
    window.draw(*icon);
}

void TChiken2::setAnimation(int mode)
{
    animation = mode;
    const sf::Vector2f feet{frameSize / 2.f, frameSize * 3.f / 4.f};
    const sf::IntRect firstFrame({0, 0}, {frameSize, frameSize});
    // Walk and eat start over from their first frame with the feet as origin;
    // a chick has no other sheets and keeps whatever it showed.
    if (mode == AnimWalk || mode == AnimEat) {
        const bool walking = mode == AnimWalk;
        int sheet = walking ? walkSheet : eatSheet;
        if (stage == Chick)
            sheet = walking ? chickWalkSheet : chickEatSheet;
        setTextureById(sheet, false);
        setTextureRect(firstFrame);
        setOrigin(feet);
        if (walking)
            walkFrame = 0;
        else
            eatFrame = 0;
        return;
    }
    if (stage == Chick)
        return;
    // The pose sheets keep the previous rectangle until the first advance.
    switch (mode) {
    case AnimSit: setTextureById(sitSheet, false); break;
    case AnimKurortStart: setTextureById(kurortStartSheet, false); break;
    case AnimKurort: setTextureById(kurortSheet, false); break;
    case AnimDance: setTextureById(danceSheet, false); break;
    default: return;
    }
    poseFrame = 0;
}

void TChiken2::updateStage(float)
{
    if (age >= 60.f && stage == Chick) {
        stage = Adult;
        // Same mode, but now from the grown-up sheet.
        setAnimation(animation);
    } else if (age >= 600.f && stage != Old && stage != Leaving) {
        stage = Old;
    } else if (age >= 900.f && stage != Leaving) {
        leaveForResort();
    }
}

// At most one frame per call, however long the step: a stalled frame must not
// make the bird skip half its sheet.
void TChiken2::animate(float dt)
{
    if (frameTimer.update(dt) <= 0)
        return;
    if (animation == AnimWalk) {
        walkFrame = (walkFrame + 1) % 40;
        setTextureRect(frameRect(walkFrame, 8));
        return;
    }
    if (animation == AnimEat) {
        eatFrame = (eatFrame + 1) % 40;
        setTextureRect(frameRect(eatFrame, 8));
        return;
    }
    if (stage == Chick)
        return;
    switch (animation) {
    case AnimSit:
        // Sitting down (frames 0..3) plays once; then the bird settles.
        if (++poseFrame == 36)
            poseFrame = 4;
        setTextureRect(frameRect(poseFrame, 8));
        break;
    case AnimKurortStart:
        if (++poseFrame == 15)
            setAnimation(AnimKurort);
        setTextureRect(frameRect(poseFrame, 4));
        break;
    case AnimKurort:
    case AnimDance:
        if (++poseFrame == 40)
            poseFrame = 0;
        setTextureRect(frameRect(poseFrame, 8));
        break;
    default: break;
    }
}

// Chicks grow slowly for three minutes, then the bird jumps to full size.
void TChiken2::updateScale(float)
{
    const float s = age <= 180.f ? 0.1f * age / 180.f + 0.1f : 0.3f;
    setScale({static_cast<float>(facing) * s, s});
}

void TChiken2::behaviorWalking(float dt)
{
    if (state != Walking)
        return;
    const sf::Vector2f d = getPosition() - target;
    const float step = speed * dt;
    // Within one step of the target: land on it exactly instead of
    // overshooting and turning back.
    if (d.x * d.x + d.y * d.y <= step * step) {
        setPosition(target);
        if (nextState != Waiting) {
            state = nextState;
            if (animation != AnimKurortStart && animation != AnimKurort) {
                if (state == Drinking || state == Eating)
                    setAnimation(AnimEat);
                else if (state == Laying)
                    setAnimation(AnimSit);
                else
                    setAnimation(AnimWalk);
            }
            nextState = Waiting;
        } else {
            state = Waiting;
        }
        return;
    }
    move(velocity * dt);
}

void TChiken2::behaviorWaiting(float dt)
{
    if (state != Waiting)
        return;
    if (waitTimer.update(dt) <= 0)
        return;
    // y is drawn before x.
    sf::Vector2f stroll;
    if (stage == Chick) {
        stroll.y = static_cast<float>(std::rand() % 200 + 150);
        stroll.x = static_cast<float>(std::rand() % 450 + 50);
    } else {
        // Drawn over more than the screen shows; spread evenly over the yard.
        const int drawnY = std::rand() % 1000 + 430;
        const int drawnX = std::rand() % 1900 + 50;
        stroll = yard::strollTarget(drawnX, drawnY);
    }
    goTo(stroll, "behaviorWaiting");
}

void TChiken2::behaviorLaying(float dt)
{
    if (state != Laying)
        return;
    if (layTimer.update(dt) <= 0)
        return;
    eggReady = true;
    eggUrge = 0.f;
    state = nextState;
    nextState = Waiting;
}

void TChiken2::behaviorDrinking(float dt)
{
    if (state != Drinking)
        return;
    hydration += 0.1f * dt;
    if (hydration >= 1.f) {
        hydration = 1.f;
        state = Waiting;
    }
}

// The feeder loses what the bird gains; an emptied feeder does not stop a
// bird that has already started.
void TChiken2::behaviorEating(float dt)
{
    if (state != Eating)
        return;
    satiety += 0.1f * dt;
    if (feeder != nullptr)
        feeder->addFood(-0.1f * dt);
    if (satiety >= 1.f) {
        satiety = 1.f;
        state = Waiting;
        feeder = nullptr;
    }
}

void TChiken2::behaviorDancing(float dt)
{
    if (state != Dancing)
        return;
    if (danceTimer.update(dt) <= 0)
        return;
    state = nextState;
    nextState = Waiting;
}

void TChiken2::goTo(sf::Vector2f newTarget, std::string)
{
    if (stage == Leaving)
        return;
    target = newTarget;
    const sf::Vector2f d = newTarget - getPosition();
    const float length = std::sqrt(d.x * d.x + d.y * d.y);
    // Sent to where it already stands, the bird gets no direction at all;
    // its walk ends on the next step without moving.
    velocity = length > 0.f ? d * speed / length : sf::Vector2f{0.f, 0.f};
    facing = d.x < 0.f ? -1 : 1;
    state = Walking;
    if (animation != AnimKurortStart && animation != AnimKurort)
        setAnimation(AnimWalk);
}

void TChiken2::leaveForResort()
{
    setAnimation(AnimKurortStart);
    goTo(resortPoint, "");
    stage = Leaving;
}

bool TChiken2::command(std::string name)
{
    if (name == "kurort") {
        if (stage != Old)
            return false;
        leaveForResort();
        return true;
    }
    if (name == "dance") {
        if (stage == Chick || stage == Leaving)
            return false;
        setAnimation(AnimDance);
        // The interrupted behaviour resumes when the music stops.
        nextState = state;
        state = Dancing;
        return true;
    }
    return false;
}
