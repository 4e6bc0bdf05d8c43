// The command line: what each option sets, and the one line a bad one gets.
#include "app/TOptions.hpp"

#include <catch2/catch_test_macros.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace {

// What the options set, in a fixed order; nothing for options left out.
std::string summary(const TOptions& o)
{
    std::ostringstream s;
    if (o.seed)
        s << " seed=" << *o.seed;
    if (o.fixedDt)
        s << " dt=" << *o.fixedDt;
    if (o.frames)
        s << " frames=" << *o.frames;
    if (o.screenshot)
        s << " screenshot=" << *o.screenshot;
    if (o.events)
        s << " events=" << *o.events;
    if (o.windowSize)
        s << " window=" << o.windowSize->x << "x" << o.windowSize->y;
    if (o.stateFile)
        s << " state=" << *o.stateFile;
    if (o.maxFps)
        s << " fps=" << *o.maxFps;
    if (o.savePath)
        s << " save=" << *o.savePath;
    for (const auto& [on, name] :
         {std::pair{o.mute, "mute"}, std::pair{o.fullscreen, "fullscreen"}, std::pair{o.vsync, "vsync"},
          std::pair{o.help, "help"}, std::pair{o.newFarm, "new-farm"}})
        if (on)
            s << " " << name;
    return s.str().empty() ? "" : s.str().substr(1);
}

// The summary when the arguments are taken, else "refused: " and the line.
std::string parsed(const std::vector<std::string>& args)
{
    std::string error;
    const auto options = TOptions::parse(args, error);
    return options ? summary(*options) : "refused: " + error;
}

} // namespace

TEST_CASE("options set what they name, within their limits", "[options]")
{
    const struct {
        std::vector<std::string> args;
        std::string result;
    } rows[] = {
        {{}, ""},
        {{"--seed", "0"}, "seed=0"},
        {{"--seed", "4294967295"}, "seed=4294967295"},
        {{"--seed", "1", "--seed", "2"}, "seed=2"},
        {{"--fixed-dt", "1"}, "dt=1"},
        {{"--fixed-dt", "0.016"}, "dt=0.016"},
        {{"--fixed-dt", "1.2e-38"}, "dt=1.2e-38"},
        {{"--frames", "1"}, "frames=1"},
        {{"--frames", "9223372036854775807"}, "frames=9223372036854775807"},
        {{"--window-size", "320x180"}, "window=320x180"},
        {{"--window-size", "7680x4320"}, "window=7680x4320"},
        {{"--max-fps", "1"}, "fps=1"},
        {{"--max-fps", "1000"}, "fps=1000"},
        {{"--screenshot", "a b.png", "--events", "-", "--state-file", "s", "--save", "f.json"},
         "screenshot=a b.png events=- state=s save=f.json"},
        {{"--mute", "--fullscreen", "--vsync", "--new-farm"}, "mute fullscreen vsync new-farm"},
        {{"--help"}, "help"},
        {{"-h", "--seed", "3"}, "seed=3 help"},
    };
    for (const auto& row : rows) {
        INFO(row.result);
        CHECK(parsed(row.args) == row.result);
    }
}

TEST_CASE("a bad option or value is refused in one line naming the limits", "[options]")
{
    const struct {
        std::vector<std::string> args;
        std::string refusal;
    } rows[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"seed"}, "unknown option 'seed'"},
        {{"\x1b[2J"}, "unknown option '\\x1b[2J'"},
        {{"--seed"}, "option --seed needs a value"},
        {{"--mute", "--frames"}, "option --frames needs a value"},
        {{"--seed", "-1"}, "--seed takes a whole number from 0 to 4294967295, not '-1'"},
        {{"--seed", "4294967296"}, "--seed takes a whole number from 0 to 4294967295, not '4294967296'"},
        {{"--seed", "99999999999999999999"},
         "--seed takes a whole number from 0 to 4294967295, not '99999999999999999999'"},
        {{"--seed", "--frames"}, "--seed takes a whole number from 0 to 4294967295, not '--frames'"},
        {{"--fixed-dt", "0"}, "--fixed-dt takes seconds above 0 and at most 1, not '0'"},
        {{"--fixed-dt", "1.0001"}, "--fixed-dt takes seconds above 0 and at most 1, not '1.0001'"},
        {{"--fixed-dt", "-0.5"}, "--fixed-dt takes seconds above 0 and at most 1, not '-0.5'"},
        {{"--fixed-dt", "nan"}, "--fixed-dt takes seconds above 0 and at most 1, not 'nan'"},
        {{"--fixed-dt", "inf"}, "--fixed-dt takes seconds above 0 and at most 1, not 'inf'"},
        {{"--fixed-dt", ""}, "--fixed-dt takes seconds above 0 and at most 1, not ''"},
        {{"--fixed-dt", "1e-39"}, "--fixed-dt '1e-39' is too small: the step must be at least 1.17549e-38 seconds"},
        {{"--fixed-dt", "1e-400"}, "--fixed-dt '1e-400' is too small: the step must be at least 1.17549e-38 seconds"},
        {{"--fixed-dt", "-1e-400"}, "--fixed-dt takes seconds above 0 and at most 1, not '-1e-400'"},
        {{"--frames", "0"}, "--frames takes a whole number from 1 to 9223372036854775807, not '0'"},
        {{"--frames", "12x"}, "--frames takes a whole number from 1 to 9223372036854775807, not '12x'"},
        {{"--frames", "9223372036854775808"},
         "--frames '9223372036854775808' is too large: at most 9223372036854775807 frames"},
        {{"--window-size", "319x180"}, "--window-size takes WIDTHxHEIGHT from 320x180 to 7680x4320, not '319x180'"},
        {{"--window-size", "320x4321"}, "--window-size takes WIDTHxHEIGHT from 320x180 to 7680x4320, not '320x4321'"},
        {{"--window-size", "800*600"}, "--window-size takes WIDTHxHEIGHT from 320x180 to 7680x4320, not '800*600'"},
        {{"--window-size", "800x"}, "--window-size takes WIDTHxHEIGHT from 320x180 to 7680x4320, not '800x'"},
        {{"--max-fps", "0"}, "--max-fps takes a whole number of frames a second from 1 to 1000, not '0'"},
        {{"--max-fps", "1001"}, "--max-fps takes a whole number of frames a second from 1 to 1000, not '1001'"},
        {{"--screenshot", ""}, "--screenshot needs a file path"},
        {{"--events", ""}, "--events needs a file path"},
        {{"--state-file", ""}, "--state-file needs a file path"},
        {{"--save", ""}, "--save needs a file path"},
        {{"--fullscreen", "--window-size", "800x600"}, "--fullscreen and --window-size cannot be used together"},
        {{"--window-size", "800x600", "--fullscreen"}, "--fullscreen and --window-size cannot be used together"},
    };
    for (const auto& row : rows) {
        INFO(row.refusal);
        CHECK(parsed(row.args) == "refused: " + row.refusal);
    }
}

TEST_CASE("every option the usage lists is one the parser takes", "[options]")
{
    std::istringstream usage(TOptions::usage());
    std::string word;
    int listed = 0;
    while (usage >> word) {
        if (!word.starts_with("[--") && !word.starts_with("--"))
            continue;
        const std::string option = word.substr(word.find("--"), word.find_first_of(" ]", 2) - word.find("--"));
        if (option.find('|') != std::string::npos)
            continue;
        std::string error;
        (void)TOptions::parse({option}, error);
        INFO(option);
        CHECK(error.find("unknown option") == std::string::npos);
        ++listed;
    }
    CHECK(listed >= 14 * 2); // each option in the synopsis and on its own line
}
