#pragma once

#include "actors/TActor.hpp"
#include "actors/TTimer.hpp"

#include <SFML/System/Vector2.hpp>

#include <string>

class TFeeding;

// One chicken of the flock: an animated sprite with two needs (satiety and
// hydration), an age that takes it from chick to adult to old bird, an urge
// to lay eggs, and a small behaviour state machine. The world keeps chickens
// by value and steps each once per frame.
class TChiken2 : public TActor {
public:
    // Behaviour states.
    static constexpr int Walking = 1;
    static constexpr int Waiting = 2; // as nextState: nothing pending
    static constexpr int Laying = 3;
    static constexpr int Eating = 4;
    static constexpr int Drinking = 5;
    static constexpr int Dancing = 7;
    // Growth stages.
    static constexpr int Chick = 0;
    static constexpr int Adult = 1;
    static constexpr int Old = 3;
    static constexpr int Leaving = 4;
    // Animation modes (sprite sheets).
    static constexpr int AnimWalk = 0;
    static constexpr int AnimDance = 1;
    static constexpr int AnimEat = 2;
    static constexpr int AnimSit = 3;
    static constexpr int AnimKurortStart = 4;
    static constexpr int AnimKurort = 5;

    TChiken2();

    // Per-frame step: age, size, growth, needs, egg urge, behaviour, animation.
    void update(float dt) override;
    // The bird, then its mood icon.
    void draw(sf::RenderTarget& target) override;

    virtual void setAnimation(int mode);
    virtual void drawMoodIcon(sf::RenderTarget& target);
    virtual void updateStage(float dt);
    virtual void animate(float dt);
    virtual void updateScale(float dt);
    virtual void behaviorWalking(float dt);
    virtual void behaviorWaiting(float dt);
    virtual void behaviorLaying(float dt);
    virtual void behaviorDrinking(float dt);
    virtual void behaviorEating(float dt);
    virtual void behaviorDancing(float dt);
    // Starts a walk toward `target`; `label` only names the reason.
    virtual void goTo(sf::Vector2f target, std::string label);

    float getSatiety() const { return satiety; }
    float getHydration() const { return hydration; }
    int getState() const { return state; }
    int getNextState() const { return nextState; }
    void setNextState(int s) { nextState = s; }
    // A named effect from a card: "kurort" or "dance". True when accepted.
    bool command(std::string name);
    // Sets off for the resort, for good.
    void leaveForResort();

    // A fresh need: (rand() % 50 + 50) / 100, 0.50 to 0.99.
    static float drawNeed();
    // A laying period: rand() % 200 / 100 + 20, 20.00 to 21.99 s.
    static float drawLayPeriod();

    // Both needs start between 0.50 and 0.99; satiety draws first.
    float satiety = drawNeed();
    float hydration = drawNeed();
    float eggUrge = 0.f;
    float age = 0.f;
    float speed = 200.f;
    int walkFrame = 0;
    int eatFrame = 0;
    int poseFrame = 0;
    int facing = 1;
    sf::Vector2f velocity{0.f, 0.f};
    sf::Vector2f target{0.f, 0.f};
    TTimer waitTimer{1.f};
    TTimer layTimer{drawLayPeriod()}; // 20.00 to 21.99 s, drawn after the needs
    TTimer frameTimer{1.f / 12.f};
    TTimer danceTimer{10.f};
    int state = Waiting;
    int nextState = Waiting;
    int animation = AnimWalk;
    int stage = Chick;
    TFeeding* feeder = nullptr; // the feeder it walks to or eats from; not owned
    bool eggReady = false;
};
