#include "app/TOptions.hpp"
#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>

#include <chrono>
#include <string>

namespace {

// Seconds the game takes to run `options` to the end (status in `status`).
double runSeconds(const std::string& options, int& status)
{
    const auto start = std::chrono::steady_clock::now();
    status = testsupport::runCommand(std::string(HENHOUSE_EXE) + " --seed 1 --fixed-dt 0.016 " + options
                                     + " >/dev/null 2>&1");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST_CASE("the frame rate is capped or tied to the refresh only when asked", "[e2e][options]")
{
    std::string error;
    SECTION("the options and their bounds")
    {
        const auto plain = TOptions::parse({}, error);
        REQUIRE(plain);
        CHECK_FALSE(plain->maxFps);
        CHECK_FALSE(plain->vsync);
        const auto both = TOptions::parse({"--vsync", "--max-fps", "60"}, error);
        REQUIRE(both);
        CHECK(*both->maxFps == 60u);
        CHECK(both->vsync);
        CHECK(TOptions::parse({"--max-fps", "1000"}, error));
        for (const char* bad : {"0", "1001", "-5", "30fps", ""}) {
            INFO(bad);
            CHECK_FALSE(TOptions::parse({"--max-fps", bad}, error));
            CHECK(error.find("--max-fps") != std::string::npos);
        }
        CHECK_FALSE(TOptions::parse({"--max-fps"}, error));
        CHECK_FALSE(TOptions::parse({"--vsync", "1"}, error));
    }
    SECTION("at one frame a second, four frames cannot take less than three seconds")
    {
        // However slow the machine, each frame is shown no sooner than a
        // second after the one before.
        int status = -1;
        CHECK(runSeconds("--frames 4 --max-fps 1", status) > 2.9);
        CHECK(status == 0);
    }
    SECTION("without vertical sync asked for, nothing is said about it")
    {
        const auto err = testsupport::scratchDir("vsync") / "stderr.txt";
        CHECK(testsupport::runCommand(std::string(HENHOUSE_EXE) + " --seed 1 --fixed-dt 0.016 --frames 3 >/dev/null 2>"
                                      + err.string())
              == 0);
        const std::string said = testsupport::readFile(err);
        INFO(said);
        CHECK(said.find("vertical sync") == std::string::npos);
    }
    SECTION("with vertical sync asked for, the game still runs where the screen cannot give it")
    {
        int status = -1;
        (void)runSeconds("--frames 3 --vsync", status);
        CHECK(status == 0);
    }
}
