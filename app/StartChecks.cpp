#include "app/StartChecks.hpp"

#include "app/TFarmKeeper.hpp"
#include "core/DataFolder.hpp"
#include "core/RegularFile.hpp"
#include "platform/ExecutablePath.hpp"

#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where an installed game keeps its data: relative to the executable's own
// folder, and as the install prefix put it (set by the build).
constexpr const char* dataFromExecutable = HENHOUSE_DATA_FROM_EXECUTABLE;
constexpr const char* installedData = HENHOUSE_INSTALLED_DATA;

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

std::vector<std::string> installedDataFolders(const std::string& executable)
{
    namespace fs = std::filesystem;
    std::vector<std::string> folders;
    if (!executable.empty())
        folders.push_back((fs::path(executable).parent_path() / dataFromExecutable).lexically_normal().string());
    const std::string prefixFolder = fs::path(installedData).lexically_normal().string();
    if (folders.empty() || folders.front() != prefixFolder)
        folders.push_back(prefixFolder);
    return folders;
}

bool assetsPresent(std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code failed;
    const char* missing = nullptr;
    for (const char* folder : {"src/images", "src/sounds"}) {
        if (!fs::is_directory(folder, failed)) {
            missing = folder;
            break;
        }
    }
    if (!missing)
        return true;
    const std::vector<std::string> installed = installedDataFolders(executablePath());
    for (const std::string& folder : installed) {
        if (fs::is_directory(fs::path(folder) / "images", failed)
            && fs::is_directory(fs::path(folder) / "sounds", failed)) {
            useDataFolder(folder);
            return true;
        }
    }
    std::string places;
    for (const std::string& folder : installed)
        places += (places.empty() ? "" : " or ") + escapedForTerminal(folder);
    const fs::path where = fs::current_path(failed);
    error = "no game assets here: " + escapedForTerminal((where / missing).string())
            + " is missing, and no installed copy is in " + places
            + " (start the game in build/run, with ./play.sh, or install it)";
    return false;
}

void endQuietlyWhenDisplayGoes() { XSetIOErrorHandler(displayWentAway); }

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
