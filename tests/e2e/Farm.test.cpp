// The farm through the real game: kept between runs, resumed, saved when the
// game is asked to stop, and left alone by automation runs.
#include "support/TestSupport.hpp"
#include "world/TFarmSave.hpp"

#include <catch2/catch_test_macros.hpp>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TFarmSave::Snapshot readFarm(const fs::path& file)
{
    std::string problem;
    const auto farm = TFarmSave::fromJson(testsupport::readFile(file), problem);
    INFO(problem);
    REQUIRE(farm);
    return *farm;
}

std::string game(const std::string& options, const fs::path& dir)
{
    return "cd " + std::string(HENHOUSE_RUN_DIR) + " && XDG_DATA_HOME=" + dir.string() + " " + HENHOUSE_EXE + " "
           + options + " >/dev/null 2>" + (dir / "stderr.txt").string();
}

} // namespace

TEST_CASE("a farm is kept between runs and resumed where it was", "[e2e][farm]")
{
    const fs::path dir = testsupport::scratchDir("farm-runs");
    const fs::path file = dir / "kept.json";
    const std::string run = "--seed 2 --fixed-dt 0.1 --save " + file.string();

    REQUIRE(testsupport::runCommand(game(run + " --frames 80", dir)) == 0);
    const TFarmSave::Snapshot first = readFarm(file);
    CHECK(first.playTime > 7.9f);
    CHECK(first.playTime < 8.1f);
    CHECK(first.chickens.size() == 5);

    REQUIRE(testsupport::runCommand(game(run + " --frames 40", dir)) == 0);
    const TFarmSave::Snapshot second = readFarm(file);
    CHECK(second.playTime > 11.9f);     // 8 s and 4 s more: the clock went on
    CHECK(second.chickens.size() == 5); // the opening chicks came once
    // Nothing said about the farm (a machine without sound says only that).
    std::string said = testsupport::readFile(dir / "stderr.txt");
    const std::string silent = "henhouse: no audio device: playing silently\n";
    for (std::size_t at = said.find(silent); at != std::string::npos; at = said.find(silent))
        said.erase(at, silent.size());
    CHECK(said.find("henhouse:") == std::string::npos);

    // Automation alone never touches the player's farm.
    REQUIRE(testsupport::runCommand(game("--seed 2 --frames 3", dir)) == 0);
    REQUIRE(testsupport::runCommand(game("--frames 3", dir)) == 0);
    CHECK_FALSE(fs::exists(dir / "henhouse"));
}

TEST_CASE("asked to stop, the game saves the farm and ends normally", "[e2e][farm]")
{
    const fs::path dir = testsupport::scratchDir("farm-stop");
    const fs::path file = dir / "farm.json";
    const pid_t child = ::fork();
    REQUIRE(child >= 0);
    if (child == 0) {
        // A frame count far beyond the run keeps the game from pausing when
        // another test's window takes the focus (it would never reach the
        // minute's save).
        const std::string command = "cd " + std::string(HENHOUSE_RUN_DIR) + " && exec " + HENHOUSE_EXE
                                    + " --fixed-dt 0.5 --frames 1000000 --save " + file.string() + " >/dev/null 2>"
                                    + (dir / "stderr.txt").string();
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Two minutes of play at half a second a frame: the minute's save comes
    // after 120 frames, however long they take (ten minutes only end a hung run).
    const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(10);
    while (!fs::exists(file) && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    REQUIRE(fs::exists(file));
    ::kill(child, SIGTERM);
    int status = 0;
    REQUIRE(::waitpid(child, &status, 0) == child);
    REQUIRE(WIFEXITED(status));
    CHECK(WEXITSTATUS(status) == 0);
    CHECK(readFarm(file).playTime >= 60.f);
}
