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

#include <poll.h>
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

// The next save the saving process reports ('1' the large farm, '2' the small
// one), or 0 when it ends or says nothing for two minutes (a hung run).
char nextSave(int fd)
{
    pollfd ready{fd, POLLIN, 0};
    char done = 0;
    if (::poll(&ready, 1, 120000) != 1 || ::read(fd, &done, 1) != 1)
        return 0;
    return done;
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

    // A saving process (saving the two farms in turn, forever, and saying so
    // after each save), killed three hundred times: each time after it has
    // written both farms at least once, at a random moment within the time it
    // took for one save of each, measured in that round, so the kills fall
    // before, in and after the writes however fast this machine is.
    std::mt19937 rng(5);
    int kills = 0, sawLarge = 0, sawSmall = 0;
    for (int round = 0; round < 300; ++round) {
        int report[2] = {-1, -1};
        REQUIRE(::pipe(report) == 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, report[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, report[0]);
        posix_spawn_file_actions_addclose(&actions, report[1]);
        const char* argv[] = {SAVE_LOOP_EXE, path.c_str(), first.c_str(), second.c_str(), nullptr};
        pid_t child = 0;
        const int spawned = ::posix_spawn(&child, SAVE_LOOP_EXE, &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(report[1]);
        REQUIRE(spawned == 0);

        // Both farms written, then one more of each: that pair's time is one round of saving.
        bool wroteLarge = false, wroteSmall = false;
        char done = 0;
        while (!(wroteLarge && wroteSmall) && (done = nextSave(report[0])) != 0) {
            wroteLarge = wroteLarge || done == '1';
            wroteSmall = wroteSmall || done == '2';
        }
        const auto start = std::chrono::steady_clock::now();
        const bool timed = done != 0 && nextSave(report[0]) != 0 && nextSave(report[0]) != 0;
        const auto pair = std::chrono::steady_clock::now() - start;
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(pair).count() + 1;
        if (timed)
            ::usleep(static_cast<useconds_t>(rng() % static_cast<unsigned long>(micros)));
        ::kill(child, SIGKILL);
        ::close(report[0]);
        int status = 0;
        REQUIRE(::waitpid(child, &status, 0) == child);
        INFO("round " << round);
        REQUIRE(timed); // else the saving process stopped or hung
        kills += WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        const std::string text = testsupport::readFile(path);
        const bool whole = text == farms.small || text == farms.large;
        INFO(text.size() << " bytes");
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
