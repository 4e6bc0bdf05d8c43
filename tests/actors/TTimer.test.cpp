#include "actors/TTimer.hpp"
#include "actors/Geometry.hpp"

#include <catch2/catch_test_macros.hpp>

TEST_CASE("a timer counts whole periods and keeps the remainder", "[timer]")
{
    TTimer timer(1.f);
    CHECK(timer.update(0.5f) == 0);
    CHECK(timer.update(0.5f) == 1);
    CHECK(timer.getElapsed() == 0.f);

    SECTION("a long step counts several periods")
    {
        CHECK(timer.update(3.25f) == 3);
        CHECK(timer.getElapsed() == 0.25f);
    }
    SECTION("a zero step counts nothing") { CHECK(timer.update(0.f) == 0); }
}

TEST_CASE("a timer with period 0 never fires and never loops", "[timer]")
{
    TTimer timer(0.f);
    CHECK(timer.update(5.f) == 0);
    CHECK(timer.update(5.f) == 0);
    CHECK(timer.getElapsed() == 10.f);
}

TEST_CASE("rectContains is strict on all four sides", "[geometry]")
{
    const sf::IntRect c0({583, 615}, {110, 75});
    CHECK(rectContains(c0, {584.f, 616.f}));
    CHECK(rectContains(c0, {692.9f, 689.9f}));
    CHECK_FALSE(rectContains(c0, {583.f, 650.f}));
    CHECK_FALSE(rectContains(c0, {693.f, 650.f}));
    CHECK_FALSE(rectContains(c0, {600.f, 615.f}));
    CHECK_FALSE(rectContains(c0, {600.f, 690.f}));
}
