#include "app/ScreenshotFile.hpp"

#include "core/RegularFile.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

} // namespace

std::optional<std::string> screenshotFormat(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png" || extension == ".bmp" || extension == ".tga" || extension == ".jpg")
        return extension.substr(1);
    if (extension == ".jpeg")
        return "jpg";
    return std::nullopt;
}

bool screenshotPathUsable(const std::string& path, std::string& error)
{
    const std::string shown = escapedForTerminal(path);
    if (!screenshotFormat(path)) {
        error = "--screenshot " + shown + ": the name must end in .png, .bmp, .tga or .jpg";
        return false;
    }
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = "--screenshot " + shown + " is a directory";
        return false;
    }
    const std::string folder = folderOf(path);
    if (::stat(folder.c_str(), &info) != 0) {
        error = "--screenshot " + shown + ": the folder " + escapedForTerminal(folder)
                + (errno == ENOENT ? " does not exist" : std::string(": ") + std::strerror(errno));
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = "--screenshot " + shown + ": " + escapedForTerminal(folder) + " is not a folder";
        return false;
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        error =
            "--screenshot " + shown + ": cannot write in " + escapedForTerminal(folder) + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool writeScreenshot(const sf::Image& image, const std::string& path, std::string& error)
{
    const std::string failed = "could not write the screenshot " + escapedForTerminal(path) + ": ";
    const auto format = screenshotFormat(path);
    const auto bytes = format ? image.saveToMemory(*format) : std::nullopt;
    if (!bytes) {
        error = failed + "the image could not be encoded";
        return false;
    }
    const std::string base = std::filesystem::path(path).filename().string();
    std::string temporary = folderOf(path) + "/." + base + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = failed + std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; a screenshot is an ordinary file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    int problem = 0;
    std::size_t done = 0;
    while (done < bytes->size() && problem == 0) {
        const ssize_t wrote = ::write(fd, bytes->data() + done, bytes->size() - done);
        if (wrote < 0 && errno != EINTR)
            problem = errno;
        else if (wrote > 0)
            done += static_cast<std::size_t>(wrote);
    }
    if (problem == 0 && ::fsync(fd) != 0)
        problem = errno;
    if (::close(fd) != 0 && problem == 0)
        problem = errno;
    if (problem == 0 && std::rename(temporary.c_str(), path.c_str()) != 0)
        problem = errno;
    if (problem != 0) {
        ::unlink(temporary.c_str());
        error = failed + std::strerror(problem);
        return false;
    }
    return true;
}
