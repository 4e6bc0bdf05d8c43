#include "app/TFarmLock.hpp"

#include "core/RegularFile.hpp"

#include <cerrno>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

TFarmLock::~TFarmLock()
{
    if (fd >= 0)
        ::close(fd);
}

bool TFarmLock::take(const std::string& farm, std::string& error)
{
    const std::string path = lockPath(farm);
    // Only a regular file (or none yet) is a save to keep; anything else is
    // refused later, and no lock file is made beside a device.
    struct stat info{};
    if (::stat(farm.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        return true;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(farm).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (file < 0)
        file = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (file < 0)
        return true; // no lock here: nothing can be saved here either, and the keeper says so
    while (::flock(file, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            ::close(file);
            return true; // a file system without locks: as before there were any
        }
        char buffer[32] = {};
        const ssize_t got = ::pread(file, buffer, sizeof buffer - 1, 0);
        std::string holder = got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
        while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' '))
            holder.pop_back();
        const bool number = !holder.empty() && holder.find_first_not_of("0123456789") == std::string::npos;
        ::close(file);
        error = "the farm " + escapedForTerminal(farm) + " is open in another game ("
                + (number ? "process " + holder : std::string("another process")) + "); close that one first";
        return false;
    }
    // The holder's process, for the message a second game gives.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(file, 0) == 0 && ::pwrite(file, pid.data(), pid.size(), 0) < 0) {
        // A lock file that cannot name its holder still locks.
    }
    fd = file;
    return true;
}
