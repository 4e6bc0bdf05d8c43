#include "app/TOptions.hpp"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool parseWhole(const std::string& text, long long& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size())
        return false;
    out = value;
    return true;
}

bool parseSeconds(const std::string& text, float& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value))
        return false;
    out = static_cast<float>(value);
    return true;
}

} // namespace

const char* TOptions::usage()
{
    return "usage: henhouse [--seed N] [--fixed-dt SECONDS] [--frames N] [--screenshot PATH] [--events PATH]\n"
           "                [--new-farm] [--save PATH] [--help]\n"
           "  --seed N           seed the random generator with N instead of the clock\n"
           "  --fixed-dt SECONDS give every frame this time step (0 < SECONDS <= 1)\n"
           "  --frames N         quit after N frames\n"
           "  --screenshot PATH  save the last frame as a PNG image at PATH\n"
           "  --events PATH      play the mouse input written in PATH (see the README)\n"
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
        if (arg == "--new-farm") {
            options.newFarm = true;
            continue;
        }
        const bool takesValue = arg == "--seed" || arg == "--fixed-dt" || arg == "--frames" || arg == "--screenshot"
            || arg == "--events" || arg == "--save";
        if (!takesValue) {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = "option " + arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (arg == "--seed") {
            long long n = 0;
            if (!parseWhole(value, n) || n < 0 || n > std::numeric_limits<unsigned>::max()) {
                error = "--seed takes a whole number from 0 to 4294967295, not '" + value + "'";
                return std::nullopt;
            }
            options.seed = static_cast<unsigned>(n);
        } else if (arg == "--fixed-dt") {
            float dt = 0.f;
            if (!parseSeconds(value, dt) || dt <= 0.f || dt > 1.f) {
                error = "--fixed-dt takes seconds above 0 and at most 1, not '" + value + "'";
                return std::nullopt;
            }
            options.fixedDt = dt;
        } else if (arg == "--frames") {
            long long n = 0;
            if (!parseWhole(value, n) || n < 1 || n > std::numeric_limits<long>::max()) {
                error = "--frames takes a whole number of at least 1, not '" + value + "'";
                return std::nullopt;
            }
            options.frames = static_cast<long>(n);
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
    return options;
}
