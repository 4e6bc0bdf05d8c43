// Start-up: how long the player waits before the farm appears.
//
// Loads the whole generated image set twice, each time in a child process of
// its own so the peak memory of one does not hide in the other's: once the
// plain way (every file through sf::Texture::loadFromFile, in the store's
// order, on one thread) and once through the game's texture store. Then runs
// the game itself for one frame and times it from launch to exit: once right
// after the loaders, and once more after the machine sat idle for a few
// seconds (a virtual machine hands freed memory back to its host within
// about a second, and getting it back again makes the start slower).
//
// Run from the game's working directory (bench.sh does). Each measurement is
// repeated and the median is reported.
//
// With `--against EXE REV [ROUNDS]` (./bench.sh startup --against REV builds
// REV's game and passes it) only the two games are timed, launch to exit
// after the first frame, in interleaved pairs (which one goes first swaps
// every round) on the same assets: wall time, processor time and peak
// resident memory, each the median over the rounds.
#include "core/ImageTable.hpp"
#include "core/TTextureStore.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Err.hpp>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int rounds = 5;
constexpr unsigned idleSeconds = 3;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

long peakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// What one loader reports from its child process.
struct LoadFigures {
    double wall = 0;
    double decode = 0;
    double upload = 0;
    long peakKb = 0;
    int images = 0;
};

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

// Makes the graphics context exist before timing, as the game's window would.
void warmUpGraphics()
{
    sf::Texture warm;
    (void)warm.resize({1, 1});
}

int runPlain()
{
    warmUpGraphics();
    const auto start = Clock::now();
    sf::Font font;
    if (!font.openFromFile("C:/Windows/Fonts/Arial.ttf"))
        (void)font.openFromFile("src/fonts/Arial.ttf");
    std::vector<std::unique_ptr<sf::Texture>> textures;
    for (int id : imageLoadOrder()) {
        auto texture = std::make_unique<sf::Texture>();
        if (texture->loadFromFile(std::string("src/images/") + findImage(id)->file))
            textures.push_back(std::move(texture));
    }
    const double wall = secondsSince(start);
    std::printf("%.6f %.6f %.6f %ld %zu\n", wall, wall, 0.0, peakResidentKb(), textures.size());
    return 0;
}

int runStore()
{
    warmUpGraphics();
    NullBuffer nothing;
    std::ostream console(&nothing);
    const auto start = Clock::now();
    const TTextureStore store(console, TTextureStore::Settings{false, true});
    const double wall = secondsSince(start);
    std::printf("%.6f %.6f %.6f %ld %zu\n", wall, store.decodeSeconds, store.uploadSeconds, peakResidentKb(),
                store.textureCount());
    return 0;
}

// Runs `args` with stdout (if `capture`) read back, stderr kept; returns the
// exit status and the captured text, and the child's use of the machine in
// `used` when asked.
int spawnAndWait(const std::vector<std::string>& args, bool capture, std::string& output, rusage* used = nullptr)
{
    int pipeEnds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (capture) {
        if (pipe(pipeEnds) != 0)
            return -1;
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (capture)
        close(pipeEnds[1]);
    if (failed != 0) {
        if (capture)
            close(pipeEnds[0]);
        return -1;
    }
    if (capture) {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
            output.append(buffer, static_cast<std::size_t>(got));
        close(pipeEnds[0]);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (used)
        *used = usage;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool measureLoader(const std::string& self, const char* mode, LoadFigures& figures)
{
    // The graphics driver now and then aborts a child as it exits, after its
    // figures are out (the plain loader as much as the store): such a run is
    // repeated rather than counted or allowed to end the benchmark.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string output;
        const int status = spawnAndWait({self, "--child", mode}, true, output);
        if (status == 0
            && std::sscanf(output.c_str(), "%lf %lf %lf %ld %d", &figures.wall, &figures.decode, &figures.upload,
                           &figures.peakKb, &figures.images)
                   == 5)
            return true;
        std::fprintf(stderr, "startup: the %s loader's child ended with %d; running it again\n", mode, status);
    }
    return false;
}

template <class T, class F>
double medianOf(const std::vector<T>& items, F field)
{
    std::vector<double> values;
    for (const T& item : items)
        values.push_back(static_cast<double>(field(item)));
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

LoadFigures medianFigures(const std::vector<LoadFigures>& runs)
{
    LoadFigures m;
    m.wall = medianOf(runs, [](const LoadFigures& f) { return f.wall; });
    m.decode = medianOf(runs, [](const LoadFigures& f) { return f.decode; });
    m.upload = medianOf(runs, [](const LoadFigures& f) { return f.upload; });
    m.peakKb = static_cast<long>(medianOf(runs, [](const LoadFigures& f) { return f.peakKb; }));
    m.images = runs.front().images;
    return m;
}

void printLoader(const char* name, const LoadFigures& f)
{
    std::printf("%-6s %d images: wall %.3f s, decode %.3f s, upload %.3f s, peak RSS %.0f MB\n", name, f.images, f.wall,
                f.decode, f.upload, static_cast<double>(f.peakKb) / 1024.0);
}

// One launch of a game to the exit after its first frame.
struct GameRun {
    double wall = 0; // seconds from launch to exit
    double cpu = 0;  // processor seconds, user and system, every thread
    double peakMiB = 0;
};

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

// Runs the game `exe` for one frame; the time from launch to its exit.
bool timeGame(const char* exe, GameRun& run)
{
    std::string unused;
    rusage used{};
    const auto start = Clock::now();
    const int status = spawnAndWait({exe, "--frames", "1"}, false, unused, &used);
    run.wall = secondsSince(start);
    run.cpu = seconds(used.ru_utime) + seconds(used.ru_stime);
    run.peakMiB = static_cast<double>(used.ru_maxrss) / 1024.0;
    if (status != 0)
        std::fprintf(stderr, "startup: the game %s exited with %d\n", exe, status);
    return status == 0;
}

bool timeGame(double& wall, double& peakMiB)
{
    GameRun run;
    const bool ok = timeGame(HENHOUSE_EXE, run);
    wall = run.wall;
    peakMiB = run.peakMiB;
    return ok;
}

// This tree's game against another build's, in interleaved pairs.
int compareGames(const char* other, const char* label, int pairs)
{
    std::vector<GameRun> ours, theirs;
    for (int r = 0; r < pairs; ++r) {
        GameRun a, b;
        // Who goes first swaps, so neither always meets the other's leftovers.
        const bool oursFirst = r % 2 == 0;
        if (!timeGame(oursFirst ? HENHOUSE_EXE : other, oursFirst ? a : b)
            || !timeGame(oursFirst ? other : HENHOUSE_EXE, oursFirst ? b : a))
            return 1;
        ours.push_back(a);
        theirs.push_back(b);
        std::printf("pair %2d: first frame %.3f s vs %.3f s, CPU %.3f s vs %.3f s, peak RSS %.0f MiB vs %.0f MiB\n",
                    r + 1, a.wall, b.wall, a.cpu, b.cpu, a.peakMiB, b.peakMiB);
        std::fflush(stdout);
    }
    const auto wall = [](const GameRun& g) { return g.wall; };
    const auto cpu = [](const GameRun& g) { return g.cpu; };
    const auto peak = [](const GameRun& g) { return g.peakMiB; };
    const double x = medianOf(ours, wall), y = medianOf(theirs, wall);
    double load[3] = {0, 0, 0};
    if (getloadavg(load, 3) < 1)
        load[0] = -1;
    std::printf("medians of %d pairs: CPU %.3f s vs %.3f s; load average at the end %.2f\n", pairs, medianOf(ours, cpu),
                medianOf(theirs, cpu), load[0]);
    std::printf("startup: first frame %.3f s vs %.3f s at %s (%.2f x); peak RSS %.0f MiB vs %.0f MiB\n", x, y, label,
                x / y, medianOf(ours, peak), medianOf(theirs, peak));
    return 0;
}

std::string selfPath()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) {
        // Failed opens (the system font path) would only clutter the report.
        sf::err().rdbuf(nullptr);
        if (std::strcmp(argv[2], "plain") == 0)
            return runPlain();
        if (std::strcmp(argv[2], "store") == 0)
            return runStore();
        return 2;
    }

    if (argc >= 4 && std::strcmp(argv[1], "--against") == 0) {
        const int pairs = argc >= 5 ? std::atoi(argv[4]) : 11;
        if (pairs < 1) {
            std::fprintf(stderr, "startup: ROUNDS is a whole number of at least 1, not '%s'\n", argv[4]);
            return 2;
        }
        return compareGames(argv[2], argv[3], pairs);
    }

    const std::string self = selfPath();
    std::vector<LoadFigures> plainRuns, storeRuns;
    std::vector<double> firstFrames, idleFirstFrames, gamePeaks;
    for (int r = 0; r < rounds; ++r) {
        LoadFigures plain, ours;
        if (!measureLoader(self, "plain", plain) || !measureLoader(self, "store", ours)) {
            std::fprintf(stderr, "startup: a loader child failed\n");
            return 1;
        }
        plainRuns.push_back(plain);
        storeRuns.push_back(ours);

        // The game itself, launch to exit after its first displayed frame.
        double seconds = 0, afterIdle = 0, peakMiB = 0, idlePeakMiB = 0;
        if (!timeGame(seconds, peakMiB))
            return 1;
        sleep(idleSeconds);
        if (!timeGame(afterIdle, idlePeakMiB))
            return 1;
        firstFrames.push_back(seconds);
        gamePeaks.push_back(peakMiB);
        idleFirstFrames.push_back(afterIdle);
        std::printf("round %d: plain %.3f s, store %.3f s, first frame %.3f s (after idling: %.3f s)\n", r + 1,
                    plain.wall, ours.wall, seconds, afterIdle);
        std::fflush(stdout);
    }

    const LoadFigures plain = medianFigures(plainRuns);
    const LoadFigures ours = medianFigures(storeRuns);
    const double firstFrame = medianOf(firstFrames, [](double v) { return v; });
    printLoader("plain", plain);
    printLoader("store", ours);
    std::printf("first frame (launch to exit after it, median of %d): %.3f s; after %u s idle: %.3f s\n", rounds,
                firstFrame, idleSeconds, medianOf(idleFirstFrames, [](double v) { return v; }));
    std::printf("startup: first frame %.3f s, the game's peak RSS %.0f MiB; store %.3f s vs plain %.3f s (%.1fx); peak "
                "RSS store "
                "%.0f MB vs plain %.0f MB\n",
                firstFrame, medianOf(gamePeaks, [](double v) { return v; }), ours.wall, plain.wall,
                plain.wall / ours.wall, static_cast<double>(ours.peakKb) / 1024.0,
                static_cast<double>(plain.peakKb) / 1024.0);
    return 0;
}
