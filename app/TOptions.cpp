#include "app/TOptions.hpp"

#include "core/RegularFile.hpp"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace {

// How a number on the command line read: a value, out of the type's range
// (too large or too small in magnitude), or not a number at all.
enum class Reading { ok, outOfRange, notANumber };

Reading parseWhole(const std::string& text, long long& out)
{
    if (text.empty())
        return Reading::notANumber;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (end != text.c_str() + text.size())
        return Reading::notANumber;
    out = value;
    return errno == ERANGE ? Reading::outOfRange : Reading::ok;
}

Reading parseSeconds(const std::string& text, double& out)
{
    if (text.empty())
        return Reading::notANumber;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || std::isnan(value))
        return Reading::notANumber;
    out = value;
    return errno == ERANGE || std::isinf(value) ? Reading::outOfRange : Reading::ok;
}

// The value as the player typed it, safe to show on a terminal.
std::string quoted(const std::string& value) { return "'" + escapedForTerminal(value) + "'"; }

// "WxH" with whole numbers, from 320x180 up to 7680x4320.
std::optional<sf::Vector2u> parseWindowSize(const std::string& text)
{
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos)
        return std::nullopt;
    long long width = 0;
    long long height = 0;
    if (parseWhole(text.substr(0, cross), width) != Reading::ok
        || parseWhole(text.substr(cross + 1), height) != Reading::ok)
        return std::nullopt;
    if (width < 320 || width > 7680 || height < 180 || height > 4320)
        return std::nullopt;
    return sf::Vector2u(static_cast<unsigned>(width), static_cast<unsigned>(height));
}

} // namespace

const char* TOptions::usage()
{
    return "usage: henhouse [--seed N] [--fixed-dt SECONDS] [--frames N] [--screenshot PATH] [--events PATH]\n"
           "                [--mute] [--fullscreen | --window-size WxH] [--state-file PATH] [--max-fps N] [--vsync]\n"
           "                [--new-farm] [--save PATH] [--help]\n"
           "  --seed N           seed the random generator with N instead of the clock\n"
           "  --fixed-dt SECONDS give every frame this time step (0 < SECONDS <= 1)\n"
           "  --frames N         quit after N frames\n"
           "  --screenshot PATH  save the last frame as an image at PATH (.png, .bmp, .tga or .jpg)\n"
           "  --events PATH      play the mouse input written in PATH (see the README)\n"
           "  --mute             start with the music off (the music button turns it on)\n"
           "  --fullscreen       fill the screen in the desktop's video mode\n"
           "  --window-size WxH  open a window of W x H pixels (the farm is scaled to fit)\n"
           "  --state-file PATH  write the game's state to PATH as text after every frame\n"
           "  --max-fps N        draw at most N frames a second (1 to 1000)\n"
           "  --vsync            wait for the screen's refresh before showing each frame\n"
           "  --new-farm         start a new farm (the old save is kept as farm.json.1)\n"
           "  --save PATH        keep the farm in PATH instead of the player's own\n"
           "  --help             show this help\n";
}

std::optional<TOptions> TOptions::parse(const std::vector<std::string>& args, std::string& error)
{
    TOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--mute") {
            options.mute = true;
            continue;
        }
        if (arg == "--fullscreen") {
            options.fullscreen = true;
            continue;
        }
        if (arg == "--vsync") {
            options.vsync = true;
            continue;
        }
        if (arg == "--new-farm") {
            options.newFarm = true;
            continue;
        }
        const bool takesValue = arg == "--seed" || arg == "--fixed-dt" || arg == "--frames" || arg == "--screenshot"
                                || arg == "--events" || arg == "--window-size" || arg == "--state-file"
                                || arg == "--max-fps" || arg == "--save";
        if (!takesValue) {
            error = "unknown option " + quoted(arg);
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = "option " + escapedForTerminal(arg) + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (arg == "--seed") {
            long long n = 0;
            if (parseWhole(value, n) == Reading::notANumber || n < 0 || n > std::numeric_limits<unsigned>::max()) {
                error = "--seed takes a whole number from 0 to 4294967295, not " + quoted(value);
                return std::nullopt;
            }
            options.seed = static_cast<unsigned>(n);
        } else if (arg == "--fixed-dt") {
            // The step is a float: the smallest one the game can step by is FLT_MIN.
            double dt = 0.0;
            const Reading reading = parseSeconds(value, dt);
            // (An underflow reads as out of range with a value near 0.)
            const bool tiny = (reading == Reading::outOfRange && std::fabs(dt) < 1.0)
                              || (reading == Reading::ok && dt > 0.0 && dt < static_cast<double>(FLT_MIN));
            if (tiny && !value.starts_with("-")) {
                std::ostringstream smallest;
                smallest << FLT_MIN;
                error = "--fixed-dt " + quoted(value) + " is too small: the step must be at least " + smallest.str()
                        + " seconds";
                return std::nullopt;
            }
            if (reading == Reading::notANumber || dt <= 0.0 || dt > 1.0) {
                error = "--fixed-dt takes seconds above 0 and at most 1, not " + quoted(value);
                return std::nullopt;
            }
            options.fixedDt = static_cast<float>(dt);
        } else if (arg == "--frames") {
            long long n = 0;
            const Reading reading = parseWhole(value, n);
            if (reading == Reading::outOfRange && n > 0) {
                error = "--frames " + quoted(value) + " is too large: at most "
                        + std::to_string(std::numeric_limits<long>::max()) + " frames";
                return std::nullopt;
            }
            if (reading != Reading::ok || n < 1) {
                error = "--frames takes a whole number from 1 to " + std::to_string(std::numeric_limits<long>::max())
                        + ", not " + quoted(value);
                return std::nullopt;
            }
            options.frames = static_cast<long>(n);
        } else if (arg == "--window-size") {
            options.windowSize = parseWindowSize(value);
            if (!options.windowSize) {
                error = "--window-size takes WIDTHxHEIGHT from 320x180 to 7680x4320, not " + quoted(value);
                return std::nullopt;
            }
        } else if (arg == "--state-file") {
            if (value.empty()) {
                error = "--state-file needs a file path";
                return std::nullopt;
            }
            options.stateFile = value;
        } else if (arg == "--max-fps") {
            long long n = 0;
            if (parseWhole(value, n) != Reading::ok || n < 1 || n > 1000) {
                error = "--max-fps takes a whole number of frames a second from 1 to 1000, not " + quoted(value);
                return std::nullopt;
            }
            options.maxFps = static_cast<unsigned>(n);
        } else if (arg == "--events") {
            if (value.empty()) {
                error = "--events needs a file path";
                return std::nullopt;
            }
            options.events = value;
        } else if (arg == "--save") {
            if (value.empty()) {
                error = "--save needs a file path";
                return std::nullopt;
            }
            options.savePath = value;
        } else {
            if (value.empty()) {
                error = "--screenshot needs a file path";
                return std::nullopt;
            }
            options.screenshot = value;
        }
    }
    if (options.fullscreen && options.windowSize) {
        error = "--fullscreen and --window-size cannot be used together";
        return std::nullopt;
    }
    return options;
}
