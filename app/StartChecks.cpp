#include "app/StartChecks.hpp"

#include "core/RegularFile.hpp"

#include <X11/Xlib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* headless = " (without a display, ./play.sh plays the demo on a virtual one)";

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

bool stateFilePathUsable(const std::string& path, std::string& error)
{
    const std::string shown = "--state-file " + escapedForTerminal(path);
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        error = shown + " is " + (S_ISDIR(info.st_mode) ? "a directory" : "not a regular file");
        return false;
    }
    const std::string parent = std::filesystem::path(path).parent_path().string();
    const std::string folder = parent.empty() ? "." : parent;
    if (::stat(folder.c_str(), &info) != 0) {
        error = shown + ": the folder " + escapedForTerminal(folder)
                + (errno == ENOENT ? " does not exist" : std::string(": ") + std::strerror(errno));
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = shown + ": " + escapedForTerminal(folder) + " is not a folder";
        return false;
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        error = shown + ": cannot write in " + escapedForTerminal(folder) + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
