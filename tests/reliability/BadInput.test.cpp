// The real game given bad input the way a careless or hostile user would:
// odd option values, event files that are not files, screenshot paths that
// cannot work, no display, and asset folders with the wrong things in them.
// Each case is a row: it builds its scratch folder, runs the binary there and
// checks the exit status, the one line the game says, and that nothing was
// written except where the case expects it.
#include "app/StartChecks.hpp"
#include "support/TestSupport.hpp"
#include "world/TFarmSave.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/Image.hpp>

#include <catch2/catch_test_macros.hpp>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The line every run on a machine without sound adds; it is not the line under test.
const std::string silentLine = "henhouse: no audio device: playing silently";

struct GameOutcome {
    int status = -1;
    std::string err;
};

struct Launch {
    std::vector<std::string> args;
    std::map<std::string, std::string> setEnv;
    std::vector<std::string> unsetEnv;
    rlim_t fileSizeLimit = RLIM_INFINITY; // bytes any one file may grow to
    bool fileSizeSignal = false;          // under the limit, SIGXFSZ as the shell leaves it
};

// Runs the game in `dir` with exactly these arguments (no shell in between,
// so any byte can be passed), its error stream in `errFile`. A run that does
// not end within a minute is stopped by an alarm: a hang fails the case.
GameOutcome runGame(const fs::path& dir, const Launch& launch, const fs::path& errFile)
{
    std::vector<std::string> argv{HENHOUSE_EXE};
    argv.insert(argv.end(), launch.args.begin(), launch.args.end());
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(dir.c_str()) != 0)
            ::_exit(120);
        const int out = ::open("/dev/null", O_WRONLY);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0)
            ::_exit(121);
        ::dup2(out, 1);
        ::dup2(err, 2);
        for (const auto& [name, value] : launch.setEnv)
            ::setenv(name.c_str(), value.c_str(), 1);
        for (const auto& name : launch.unsetEnv)
            ::unsetenv(name.c_str());
        if (launch.fileSizeLimit != RLIM_INFINITY) {
            // A full disk, as far as the game can tell: writes past the limit fail.
            std::signal(SIGXFSZ, launch.fileSizeSignal ? SIG_DFL : SIG_IGN);
            const rlimit limit{launch.fileSizeLimit, launch.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::alarm(60);
        std::vector<char*> raw;
        for (auto& a : argv)
            raw.push_back(a.data());
        raw.push_back(nullptr);
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    int raw = 0;
    ::waitpid(child, &raw, 0);
    GameOutcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    outcome.err = testsupport::readFile(errFile);
    return outcome;
}

// Everything under `dir` (symbolic links not followed, not even looked
// through: one case holds a link to itself), with size and time.
void snapshotInto(const fs::path& dir, const fs::path& top, std::map<std::string, std::string>& files)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        struct stat info{};
        ::lstat(entry.path().c_str(), &info);
        files[entry.path().lexically_relative(top).string()] = std::to_string(info.st_size) + "@"
                                                               + std::to_string(info.st_mtim.tv_sec) + "."
                                                               + std::to_string(info.st_mtim.tv_nsec);
        if (S_ISDIR(info.st_mode))
            snapshotInto(entry.path(), top, files);
    }
}

std::map<std::string, std::string> snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> files;
    snapshotInto(dir, dir, files);
    return files;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// A working folder whose src/ holds the game's assets as links, so a case can
// replace one file cheaply. Sounds are linked one by one.
void linkAssets(const fs::path& dir)
{
    const fs::path from = fs::path(HENHOUSE_RUN_DIR) / "src";
    fs::create_directories(dir / "src/sounds");
    fs::create_directory_symlink(fs::canonical(from / "images"), dir / "src/images");
    fs::create_directory_symlink(fs::canonical(from / "fonts"), dir / "src/fonts");
    for (const char* track : {"chikensong.wav", "MainTheme.wav"})
        fs::create_symlink(fs::canonical(from / "sounds" / track), dir / "src/sounds" / track);
}

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

struct Case {
    std::string name;
    std::function<void(const fs::path&)> setUp; // builds the scratch folder
    std::vector<std::string> args;              // "{dir}" stands for the scratch folder
    int status;
    std::string line;                  // the game's one line, "{dir}" as above; empty: none
    std::set<std::string> writes = {}; // paths under the folder the run may create or change
    std::map<std::string, std::string> setEnv = {};
    std::vector<std::string> unsetEnv = {};
    rlim_t fileSizeLimit = RLIM_INFINITY;
    bool fileSizeSignal = false;
};

std::string withDir(std::string text, const fs::path& dir)
{
    for (std::size_t at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}"))
        text.replace(at, 5, dir.string());
    return text;
}

const std::vector<std::string> oneFrame{"--seed", "1", "--fixed-dt", "0.05", "--frames", "1"};

std::vector<std::string> oneFrameAnd(std::vector<std::string> more)
{
    std::vector<std::string> args = oneFrame;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

const std::string headless = " (without a display, ./play.sh plays the demo on a virtual one)";

// The installed data folders the game tries after src/ under the working
// directory: beside its executable, then under the install prefix.
std::string installedPlaces()
{
    std::string places;
    for (const std::string& folder : installedDataFolders(HENHOUSE_EXE))
        places += (places.empty() ? "" : " or ") + folder;
    return places;
}

// A whole save of a new farm, as the game writes it.
std::string newFarmSave()
{
    static const std::string text = [] {
        testsupport::freshGame();
        TWorld world;
        world.placeSharedSprites();
        return TFarmSave::toJson(TFarmSave::capture(world));
    }();
    return text;
}

std::vector<std::string> keeping(const std::string& save) { return oneFrameAnd({"--save", save}); }

std::vector<Case> cases()
{
    const auto nothing = [](const fs::path&) {};
    return {
        // Options: refused before anything starts, status 2, the reason then the usage.
        {"frames beyond the largest count",
         nothing,
         {"--frames", "99999999999999999999"},
         2,
         "henhouse: --frames '99999999999999999999' is too large: at most 9223372036854775807 frames"},
        {"frames of zero",
         nothing,
         {"--frames", "0"},
         2,
         "henhouse: --frames takes a whole number from 1 to 9223372036854775807, not '0'"},
        {"a step too small for a float",
         nothing,
         {"--fixed-dt", "1e-320"},
         2,
         "henhouse: --fixed-dt '1e-320' is too small: the step must be at least 1.17549e-38 seconds"},
        {"a step that underflows altogether",
         nothing,
         {"--fixed-dt", "1e-400"},
         2,
         "henhouse: --fixed-dt '1e-400' is too small: the step must be at least 1.17549e-38 seconds"},
        {"a negative step",
         nothing,
         {"--fixed-dt", "-0.5"},
         2,
         "henhouse: --fixed-dt takes seconds above 0 and at most 1, not '-0.5'"},
        {"a seed beyond 32 bits",
         nothing,
         {"--seed", "4294967296"},
         2,
         "henhouse: --seed takes a whole number from 0 to 4294967295, not '4294967296'"},
        {"an unknown option carrying escape sequences",
         nothing,
         {"--\x1b]0;owned\x07"},
         2,
         "henhouse: unknown option '--\\x1b]0;owned\\x07'"},

        // Event files: anything but a readable regular file of sane size is refused, status 2.
        {"events from a directory",
         [](const fs::path& d) { fs::create_directory(d / "script.events"); },
         {"--events", "{dir}/script.events"},
         2,
         "henhouse: cannot read the event script {dir}/script.events: a directory, not a regular file"},
        {"events from an endless device",
         nothing,
         {"--events", "/dev/zero"},
         2,
         "henhouse: cannot read the event script /dev/zero: a device, not a regular file"},
        {"events from a FIFO nobody writes",
         [](const fs::path& d) { ::mkfifo((d / "pipe").c_str(), 0600); },
         {"--events", "{dir}/pipe"},
         2,
         "henhouse: cannot read the event script {dir}/pipe: a FIFO, not a regular file"},
        {"events from a missing file",
         nothing,
         {"--events", "{dir}/none.events"},
         2,
         "henhouse: cannot read the event script {dir}/none.events: no such file"},
        {"events from a huge file",
         [](const fs::path& d) {
             writeText(d / "big.events", "");
             fs::resize_file(d / "big.events", (std::uintmax_t{16} << 20) + 1);
         },
         {"--events", "{dir}/big.events"},
         2,
         "henhouse: cannot read the event script {dir}/big.events: larger than 16777216 bytes"},
        {"events with an endless line",
         [](const fs::path& d) { writeText(d / "long.events", "1 move 5 5\n" + std::string(5000, '7')); },
         {"--events", "{dir}/long.events"},
         2,
         "henhouse: {dir}/long.events: line 2: longer than 4096 characters"},
        {"events whose bad word is an escape sequence",
         [](const fs::path& d) { writeText(d / "esc.events", "1 \x1b[2J\x1b]0;owned\x07 4 5\n"); },
         {"--events", "{dir}/esc.events"},
         2,
         "henhouse: {dir}/esc.events: line 1: unknown event '\\x1b[2J\\x1b]0;owned\\x07' (move, press, release or "
         "click)"},

        // Screenshot paths: checked before the run, status 2.
        {"a screenshot in a missing folder",
         nothing,
         {"--frames", "1", "--screenshot", "{dir}/nope/shot.png"},
         2,
         "henhouse: --screenshot {dir}/nope/shot.png: the folder {dir}/nope does not exist"},
        {"a screenshot in an unknown format",
         nothing,
         {"--frames", "1", "--screenshot", "{dir}/shot.gif"},
         2,
         "henhouse: --screenshot {dir}/shot.gif: the name must end in .png, .bmp, .tga or .jpg"},
        {"a screenshot under a plain file",
         [](const fs::path& d) { writeText(d / "file", "x"); },
         {"--frames", "1", "--screenshot", "{dir}/file/shot.png"},
         2,
         "henhouse: --screenshot {dir}/file/shot.png: {dir}/file is not a folder"},
        {"a screenshot onto a directory",
         [](const fs::path& d) { fs::create_directory(d / "shot.png"); },
         {"--frames", "1", "--screenshot", "{dir}/shot.png"},
         2,
         "henhouse: --screenshot {dir}/shot.png is a directory"},

        // No usable display: status 1 before anything is loaded.
        {"no DISPLAY at all",
         linkAssets,
         oneFrame,
         1,
         "henhouse: no display: DISPLAY is not set" + headless,
         {},
         {},
         {"DISPLAY"}},
        {"a DISPLAY that does not answer",
         linkAssets,
         oneFrame,
         1,
         "henhouse: no display: the X display ':9876' does not answer" + headless,
         {},
         {{"DISPLAY", ":9876"}}},

        // Asset folders: status 1 with one line naming the file and what is wrong.
        {"started outside the game's folder", nothing, oneFrame, 1,
         "henhouse: no game assets here: {dir}/src/images is missing, and no installed copy is in " + installedPlaces()
             + " (start the game in build/run, with ./play.sh, or install it)"},
        {"a directory in place of a track",
         [](const fs::path& d) {
             linkAssets(d);
             fs::remove(d / "src/sounds/MainTheme.wav");
             fs::create_directory(d / "src/sounds/MainTheme.wav");
         },
         oneFrame, 1, "henhouse: cannot load the sound file src/sounds/MainTheme.wav: a directory, not a regular file"},
        {"a FIFO in place of a track",
         [](const fs::path& d) {
             linkAssets(d);
             fs::remove(d / "src/sounds/chikensong.wav");
             ::mkfifo((d / "src/sounds/chikensong.wav").c_str(), 0600);
         },
         oneFrame, 1, "henhouse: cannot load the sound file src/sounds/chikensong.wav: a FIFO, not a regular file"},
        {"text in place of a track",
         [](const fs::path& d) {
             linkAssets(d);
             fs::remove(d / "src/sounds/MainTheme.wav");
             writeText(d / "src/sounds/MainTheme.wav", "RIFF but not really\n");
         },
         oneFrame, 1, "henhouse: cannot load the sound file src/sounds/MainTheme.wav: damaged or not a WAV file"},
        {"a track that cannot be opened (a link to itself)",
         [](const fs::path& d) {
             linkAssets(d);
             fs::remove(d / "src/sounds/chikensong.wav");
             fs::create_symlink("chikensong.wav", d / "src/sounds/chikensong.wav");
         },
         oneFrame, 1,
         "henhouse: cannot load the sound file src/sounds/chikensong.wav: Too many levels of symbolic links"},
        {"a missing track",
         [](const fs::path& d) {
             linkAssets(d);
             fs::remove(d / "src/sounds/MainTheme.wav");
         },
         oneFrame, 1,
         "henhouse: cannot load the sound file src/sounds/MainTheme.wav: no such file (the game looks its files up"
         " under the working directory; tried {dir}/src/sounds/MainTheme.wav)"},

        // The state file: checked at the start like the screenshot, status 2.
        {"a state file in a missing folder", nothing, oneFrameAnd({"--state-file", "{dir}/nope/state"}), 2,
         "henhouse: --state-file {dir}/nope/state: the folder {dir}/nope does not exist"},
        {"a state file onto a directory", [](const fs::path& d) { fs::create_directory(d / "state"); },
         oneFrameAnd({"--state-file", "{dir}/state"}), 2, "henhouse: --state-file {dir}/state is a directory"},
        {"a state file onto a device", nothing, oneFrameAnd({"--state-file", "/dev/null"}), 2,
         "henhouse: --state-file /dev/null is not a regular file"},

        // Saves: only a regular file is read, and nothing is written over what the player would miss.
        {"a save that is a FIFO nobody writes",
         [](const fs::path& d) {
             linkAssets(d);
             ::mkfifo((d / "farm.json").c_str(), 0600);
         },
         keeping("{dir}/farm.json"), 0,
         "henhouse: cannot read the farm {dir}/farm.json (a FIFO, not a regular file); a new farm begins and will not"
         " be saved, so the old one stays as it is"},
        {"a save that is a device", linkAssets, keeping("/dev/zero"), 0,
         "henhouse: cannot read the farm /dev/zero (a device, not a regular file); a new farm begins and will not be"
         " saved, so the old one stays as it is"},
        {"a save through a symbolic link: the target is saved, the link stays",
         [](const fs::path& d) {
             linkAssets(d);
             fs::create_directory(d / "real");
             writeText(d / "real/farm.json", newFarmSave());
             fs::create_symlink("real/farm.json", d / "farm.json");
         },
         keeping("{dir}/farm.json"),
         0,
         "",
         {"real", "real/farm.json", "real/farm.json.lock"}},
        {"a save the player made read-only is played but not written over",
         [](const fs::path& d) {
             linkAssets(d);
             writeText(d / "farm.json", newFarmSave());
             fs::permissions(d / "farm.json", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
         },
         keeping("{dir}/farm.json"),
         0,
         "henhouse: the farm {dir}/farm.json is read-only: it is played, but this game will not save over it",
         {"farm.json.lock"}},
        {"a save folder that is blocked by a file is named at the start",
         [](const fs::path& d) {
             linkAssets(d);
             writeText(d / "plain", "a file, not a folder");
         },
         keeping("{dir}/plain/farm.json"), 0,
         "henhouse: this farm will not be kept: cannot write in {dir}/plain (Not a directory)"},
        {"a damaged save whose every spare name is taken",
         [](const fs::path& d) {
             linkAssets(d);
             writeText(d / "farm.json", "{");
             writeText(d / "farm.json.bad", "older");
             for (int n = 2; n <= 99; ++n)
                 writeText(d / ("farm.json.bad." + std::to_string(n)), "older");
         },
         keeping("{dir}/farm.json"),
         0,
         "henhouse: the farm {dir}/farm.json cannot be used: parse error at line 1, column 2: syntax error while "
         "parsing"
         " object key - unexpected end of input; expected string literal (every name from"
         " {dir}/farm.json.bad to {dir}/farm.json.bad.99 is taken); a new farm begins and will not be saved, so that"
         " one stays as it is",
         {"farm.json.lock"}},
        {"a damaged save named with an escape sequence",
         [](const fs::path& d) {
             linkAssets(d);
             writeText(d / "\x1b[2Jfarm.json", "{\"format\":1,\"game\":\"\x9b\x9b\"}");
         },
         keeping("{dir}/\x1b[2Jfarm.json"),
         0,
         "henhouse: the farm {dir}/\\x1b[2Jfarm.json cannot be used: parse error at line 1, column 21: syntax error"
         " while parsing value - invalid string: ill-formed UTF-8 byte; last read: '\"\\x9b'; it is kept as"
         " {dir}/\\x1b[2Jfarm.json.bad and a new farm begins",
         {"\x1b[2Jfarm.json", "\x1b[2Jfarm.json.bad", "\x1b[2Jfarm.json.lock"}},
        {"a lock file left by a game that died does not lock the farm",
         [](const fs::path& d) {
             linkAssets(d);
             writeText(d / "farm.json", newFarmSave());
             writeText(d / "farm.json.lock", "999999\n");
         },
         keeping("{dir}/farm.json"),
         0,
         "",
         {"farm.json", "farm.json.lock"}},

        // A file-size limit below what the sound library sizes its shared memory to.
        {"a file-size limit of a megabyte", linkAssets, oneFrame, 0, "", {}, {}, {}, rlim_t{1} << 20, true},

        // Input that is fine after all: the run goes through and writes only what it was asked to.
        {"events with a byte-order mark and trailing comments",
         [](const fs::path& d) {
             linkAssets(d);
             writeText(d / "bom.events", "\xef\xbb\xbf# opens the sorter\n2 click 738 1000   # the magnifier\n");
         },
         oneFrameAnd({"--frames", "3", "--events", "{dir}/bom.events"}), 0, ""},
        {"an upper-case screenshot name",
         linkAssets,
         oneFrameAnd({"--screenshot", "{dir}/Shot.PNG"}),
         0,
         "",
         {"Shot.PNG"}},
    };
}

} // namespace

TEST_CASE("bad input ends with one clear line, the right status and nothing written", "[reliability][input]")
{
    for (const Case& c : cases()) {
        DYNAMIC_SECTION(c.name)
        {
            const fs::path dir = fs::canonical(testsupport::scratchDir("input"));
            const fs::path errFile = testsupport::scratchRoot() / "input-err";
            c.setUp(dir);
            const auto before = snapshot(dir);

            Launch launch{{}, c.setEnv, c.unsetEnv, c.fileSizeLimit, c.fileSizeSignal};
            for (const std::string& a : c.args)
                launch.args.push_back(withDir(a, dir));
            const GameOutcome run = runGame(dir, launch, errFile);
            INFO(run.err);
            CHECK(run.status == c.status);

            std::vector<std::string> ours;
            int silent = 0;
            for (const std::string& line : linesOf(run.err)) {
                if (line.starts_with("henhouse:") && line != silentLine)
                    ours.push_back(line);
                silent += line == silentLine ? 1 : 0;
                // The sound system's own reports of a missing device are ours, in one line.
                CHECK_FALSE(line.starts_with("ALSA lib"));
                CHECK(line.find("miniaudio") == std::string::npos);
                CHECK(line.find("Failed to initialize sound") == std::string::npos);
            }
            CHECK(silent <= 1);
            if (c.line.empty()) {
                CHECK(ours.empty());
            } else {
                REQUIRE(ours.size() == 1);
                CHECK(ours[0] == withDir(c.line, dir));
                // A start that ends early says nothing but that line (options add the usage after it).
                if (c.status != 0)
                    CHECK(linesOf(run.err)[0] == ours[0]);
            }

            auto after = snapshot(dir);
            auto untouched = before;
            for (const std::string& allowed : c.writes) {
                CHECK(after.count(allowed) == 1);
                after.erase(allowed);
                untouched.erase(allowed);
            }
            CHECK(after == untouched);
            fs::remove(errFile);
            fs::remove_all(dir);
        }
    }
}

TEST_CASE("a screenshot that cannot be written completely leaves the older one whole", "[reliability][input]")
{
    const fs::path dir = fs::canonical(testsupport::scratchDir("full-disk"));
    linkAssets(dir);
    // An older screenshot, smaller than the limit, that a full disk must not spoil.
    const std::string older(5000, 'o');
    writeText(dir / "shot.png", older);
    const auto before = snapshot(dir);

    Launch launch{oneFrameAnd({"--screenshot", (dir / "shot.png").string()}), {}, {}, 64 * 1024};
    const GameOutcome run = runGame(dir, launch, testsupport::scratchRoot() / "full-disk-err");
    INFO(run.err);
    CHECK(run.status == 1);
    CHECK(run.err.find("henhouse: could not write the screenshot " + (dir / "shot.png").string() + ": File too large\n")
          != std::string::npos);
    CHECK(testsupport::readFile(dir / "shot.png") == older);
    // No temporary file is left beside it.
    CHECK(snapshot(dir) == before);
    fs::remove_all(dir);
}

TEST_CASE("the screenshot of the very first frame is the whole frame", "[reliability][input]")
{
    const fs::path dir = fs::canonical(testsupport::scratchDir("first-frame"));
    linkAssets(dir);
    const GameOutcome run =
        runGame(dir, Launch{oneFrameAnd({"--screenshot", (dir / "one.png").string()}), {}, {}}, dir / "err.txt");
    INFO(run.err);
    REQUIRE(run.status == 0);
    sf::Image image;
    REQUIRE(image.loadFromFile(dir / "one.png"));
    REQUIRE(image.getSize().y >= 1000);
    // The clock, the egg counter and the coins sit in the top 80 rows: every
    // pixel there is painted, and the band shows the HUD's many colours.
    int clear = 0;
    for (unsigned y = 0; y < 80; ++y)
        for (unsigned x = 0; x < image.getSize().x; ++x)
            clear += image.getPixel({x, y}).a == 0 ? 1 : 0;
    CHECK(clear == 0);
    CHECK(testsupport::distinctColours(image, 0, 0, 1920, 80) >= 16);
    fs::remove_all(dir);
}
