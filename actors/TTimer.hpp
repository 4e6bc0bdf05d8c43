#pragma once

// A periodic timer: counts how many whole periods a run of frame steps has
// covered. Chickens pace their strolls, laying and dances with it, the world
// its dirt and story clocks.
class TTimer {
public:
    explicit TTimer(float period);

    // Adds dt to the elapsed time and returns how many periods were completed
    // (0 when none, several after a long step). A period of 0 never fires.
    int update(float dt);

    float getElapsed() const { return elapsed; }
    float getPeriod() const { return period; }

    float elapsed = 0.f;
    float period = 0.f;
};
