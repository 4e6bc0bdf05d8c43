// Faults while saving: a full disk and a process killed at random moments of
// its saves. Whatever happens, the file on disk is a complete save that loads.
#include "app/TFarmKeeper.hpp"
#include "core/AtomicFile.hpp"
#include "core/Globals.hpp"
#include "support/TestSupport.hpp"
#include "world/TFarmSave.hpp"
#include "world/TWorld.hpp"

#include <catch2/catch_test_macros.hpp>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include <fstream>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Two different farms' save texts: a small one and one of a few hundred
// kilobytes, so a write takes long enough to be caught in the middle.
struct TwoFarms {
    TwoFarms()
    {
        testsupport::freshGame();
        auto world = std::make_unique<TWorld>();
        world->placeSharedSprites();
        world->update(0.f);
        small = TFarmSave::toJson(TFarmSave::capture(*world));
        chickensToSpawn = 600;
        for (int i = 0; i < 20; ++i)
            world->update(0.5f);
        large = TFarmSave::toJson(TFarmSave::capture(*world));
    }
    std::string small, large;
};

bool loads(const std::string& text)
{
    std::string problem;
    return TFarmSave::fromJson(text, problem).has_value();
}

int leftovers(const fs::path& dir)
{
    int n = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        n += entry.path().filename().string().find(".tmp") != std::string::npos;
    return n;
}

} // namespace

TEST_CASE("a full disk leaves the last save whole and says why", "[reliability][save][faults]")
{
    const TwoFarms farms;
    REQUIRE(farms.large.size() > 100000);
    const fs::path dir = testsupport::scratchDir("disk-full");
    const std::string path = (dir / "farm.json").string();
    std::string error;
    REQUIRE(writeFileAtomically(path, farms.small, error));

    // The child may write files of at most 64 KB: the large save does not fit.
    const pid_t child = ::fork();
    REQUIRE(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{65536, 65536};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string why;
        const bool written = writeFileAtomically(path, farms.large, why);
        const bool said = why == "cannot write " + path + ": File too large";
        ::_exit(written ? 1 : said ? 0 : 2);
    }
    int status = 0;
    REQUIRE(::waitpid(child, &status, 0) == child);
    REQUIRE(WIFEXITED(status));
    CHECK(WEXITSTATUS(status) == 0);
    CHECK(testsupport::readFile(path) == farms.small);
    CHECK(leftovers(dir) == 0);
}

TEST_CASE("killed hundreds of times while saving, the game always leaves a save that loads",
          "[reliability][save][faults]")
{
    const TwoFarms farms;
    const fs::path dir = testsupport::scratchDir("kill-loop");
    const std::string path = (dir / "farm.json").string();
    std::string error;
    REQUIRE(writeFileAtomically(path, farms.small, error));

    REQUIRE(loads(farms.small));
    REQUIRE(loads(farms.large));
    const std::string first = (dir / "first").string(), second = (dir / "second").string();
    std::ofstream(first, std::ios::binary) << farms.large;
    std::ofstream(second, std::ios::binary) << farms.small;

    // A saving process (saving the two farms in turn, forever), killed at a
    // random moment, three hundred times.
    std::mt19937 rng(5);
    int kills = 0, sawLarge = 0, sawSmall = 0;
    for (int round = 0; round < 300; ++round) {
        const char* argv[] = {SAVE_LOOP_EXE, path.c_str(), first.c_str(), second.c_str(), nullptr};
        pid_t child = 0;
        REQUIRE(::posix_spawn(&child, SAVE_LOOP_EXE, nullptr, nullptr, const_cast<char**>(argv), environ) == 0);
        ::usleep(static_cast<useconds_t>(1000 + rng() % 6000));
        ::kill(child, SIGKILL);
        int status = 0;
        REQUIRE(::waitpid(child, &status, 0) == child);
        kills += WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        const std::string text = testsupport::readFile(path);
        const bool whole = text == farms.small || text == farms.large;
        INFO("round " << round << ": " << text.size() << " bytes");
        REQUIRE(whole); // and both of them load (above)
        sawLarge += text == farms.large;
        sawSmall += text == farms.small;
    }
    CHECK(kills == 300);
    CHECK(sawLarge > 0);
    CHECK(sawSmall > 0);
    fs::remove(first);
    fs::remove(second);

    // Temporary files of killed saves are cleared away at the next start.
    std::ostringstream log;
    TOptions options;
    options.savePath = path;
    TFarmKeeper keeper(options, log);
    auto world = std::make_unique<TWorld>();
    world->placeSharedSprites();
    CHECK(keeper.resume(*world));
    CHECK(leftovers(dir) == 0);
    CHECK(log.str().empty());
}
