#include "actors/TTimer.hpp"

TTimer::TTimer(float length)
    : period(length)
{
}

int TTimer::update(float dt)
{
    elapsed += dt;
    int count = 0;
    // A zero (or negative) period would never bring elapsed below it again.
    while (period > 0.f && elapsed >= period) {
        elapsed -= period;
        ++count;
    }
    return count;
}
