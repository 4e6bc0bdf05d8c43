#include "app/StartChecks.hpp"

#include "app/TFarmKeeper.hpp"
#include "core/RegularFile.hpp"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr const char* headless = " (without a display, ./play.sh plays the demo on a virtual one)";

int displayWentAway(Display*)
{
    if (!TFarmKeeper::closeRequested())
        std::fputs("henhouse: the X display went away\n", stderr);
    std::_Exit(1);
}

} // namespace

bool displayAvailable(std::string& error)
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        error = std::string("no display: DISPLAY is not set") + headless;
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        error = "no display: the X display '" + escapedForTerminal(name) + "' does not answer" + headless;
        return false;
    }
    XCloseDisplay(display);
    return true;
}

bool assetsPresent(std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code failed;
    for (const char* folder : {"src/images", "src/sounds"}) {
        if (fs::is_directory(folder, failed))
            continue;
        const fs::path where = fs::current_path(failed);
        error = "no game assets here: " + escapedForTerminal((where / folder).string())
                + " is missing (the game looks its files up under the working directory: start it in build/run, or"
                  " with ./play.sh)";
        return false;
    }
    return true;
}

void endQuietlyWhenDisplayGoes() { XSetIOErrorHandler(displayWentAway); }
