#include "app/TGame.hpp"
#include "app/TOptions.hpp"
#include "core/Globals.hpp"

#include <catch2/catch_test_macros.hpp>

TEST_CASE("the title shows the pointer truncated toward zero and the frame rate", "[title]")
{
    resetGlobalValues();
    fpsValue = 143;
    CHECK(TGame::titleText({640.f, 412.f}) == "640:412   FPS:143");
    CHECK(TGame::titleText({-3.7f, 12.9f}) == "-3:12   FPS:143");
    CHECK(TGame::titleText({-0.5f, 0.f}) == "0:0   FPS:143");
}

TEST_CASE("frame-rate accounting carries the remainder of a long frame", "[title]")
{
    resetGlobalValues();
    // A 3.5 s first frame: the title updates on it and on the next few
    // frames, until the carried time falls below one second.
    CHECK(TGame::accountFrame(3.5f));
    CHECK(fpsValue == 1);
    CHECK(fpsTime == 2.5f);
    CHECK(TGame::accountFrame(0.f));
    CHECK(fpsTime == 1.5f);
    CHECK(TGame::accountFrame(0.f));
    CHECK(fpsTime == 0.5f);
    CHECK_FALSE(TGame::accountFrame(0.f));
    CHECK(fpsFrames == 1);
    CHECK(fpsValue == 1);
}

TEST_CASE("command-line options", "[options]")
{
    std::string error;
    SECTION("no options play as usual")
    {
        const auto o = TOptions::parse({}, error);
        REQUIRE(o);
        CHECK_FALSE(o->seed);
        CHECK_FALSE(o->fixedDt);
        CHECK_FALSE(o->frames);
        CHECK_FALSE(o->screenshot);
    }
    SECTION("all options together")
    {
        const auto o = TOptions::parse(
            {"--seed", "1", "--fixed-dt", "0.016", "--frames", "600", "--screenshot", "/tmp/x.png"}, error);
        REQUIRE(o);
        CHECK(*o->seed == 1u);
        CHECK(*o->fixedDt == 0.016f);
        CHECK(*o->frames == 600);
        CHECK(*o->screenshot == "/tmp/x.png");
    }
    SECTION("bad options and values are refused with a reason")
    {
        CHECK_FALSE(TOptions::parse({"--bogus"}, error));
        CHECK(error.find("--bogus") != std::string::npos);
        CHECK_FALSE(TOptions::parse({"--seed"}, error));
        CHECK_FALSE(TOptions::parse({"--seed", "-1"}, error));
        CHECK_FALSE(TOptions::parse({"--seed", "12x"}, error));
        CHECK_FALSE(TOptions::parse({"--frames", "0"}, error));
        CHECK_FALSE(TOptions::parse({"--fixed-dt", "0"}, error));
        CHECK_FALSE(TOptions::parse({"--fixed-dt", "nan"}, error));
        CHECK_FALSE(TOptions::parse({"--fixed-dt", "2"}, error));
        CHECK_FALSE(TOptions::parse({"--screenshot", ""}, error));
    }
    SECTION("the screen options: mute, fullscreen or a window size, and a state file")
    {
        const auto o = TOptions::parse({"--mute", "--window-size", "1366x768", "--state-file", "/tmp/s.txt"}, error);
        REQUIRE(o);
        CHECK(o->mute);
        CHECK_FALSE(o->fullscreen);
        CHECK(*o->windowSize == sf::Vector2u(1366, 768));
        CHECK(*o->stateFile == "/tmp/s.txt");
        const auto full = TOptions::parse({"--fullscreen"}, error);
        REQUIRE(full);
        CHECK(full->fullscreen);
        CHECK_FALSE(full->windowSize);
        CHECK_FALSE(full->mute);
        CHECK(TOptions::parse({"--window-size", "320x180"}, error));
        CHECK(TOptions::parse({"--window-size", "7680x4320"}, error));
    }
    SECTION("bad window sizes, and fullscreen with a size, are refused")
    {
        for (const char* bad : {"1280", "1280x", "x720", "1280*720", "319x720", "1280x179", "7681x720", "1280x4321",
                                "-1280x720", "1280x720x2", ""}) {
            CAPTURE(bad);
            CHECK_FALSE(TOptions::parse({"--window-size", bad}, error));
            CHECK(error.find("--window-size") != std::string::npos);
        }
        CHECK_FALSE(TOptions::parse({"--fullscreen", "--window-size", "1280x720"}, error));
        CHECK(error == "--fullscreen and --window-size cannot be used together");
        CHECK_FALSE(TOptions::parse({"--state-file", ""}, error));
        CHECK_FALSE(TOptions::parse({"--state-file"}, error));
    }
    SECTION("range errors name the real limits")
    {
        CHECK(TOptions::parse({"--frames", "9223372036854775807"}, error));
        CHECK_FALSE(TOptions::parse({"--frames", "9223372036854775808"}, error));
        CHECK(error == "--frames '9223372036854775808' is too large: at most 9223372036854775807 frames");
        CHECK_FALSE(TOptions::parse({"--frames", "-9223372036854775809"}, error));
        CHECK(error.find("from 1 to 9223372036854775807") != std::string::npos);
        // The smallest normal float is the smallest step; one below it is too small.
        CHECK(TOptions::parse({"--fixed-dt", "1.2e-38"}, error));
        CHECK_FALSE(TOptions::parse({"--fixed-dt", "1e-39"}, error));
        CHECK(error.find("is too small") != std::string::npos);
        CHECK_FALSE(TOptions::parse({"--fixed-dt", "1e999"}, error));
        CHECK(error == "--fixed-dt takes seconds above 0 and at most 1, not '1e999'");
    }
}
