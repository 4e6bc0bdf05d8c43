#include "core/AtomicFile.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

std::string reason(int code) { return std::strerror(code); }

// The rename only becomes durable once the folder's own entry list is on disk.
bool syncFolder(const std::string& folder, std::string& why)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        why = reason(errno);
        return false;
    }
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL; // some file systems cannot sync a folder
    if (!ok)
        why = reason(errno);
    ::close(fd);
    return ok;
}

bool writeAll(int fd, std::string_view bytes, std::string& why)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            why = reason(errno);
            return false;
        }
        if (n == 0) {
            why = "the disk took no more bytes";
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A move lasts only once the folder it landed in is on the disk too.
bool syncMovedInto(const std::string& from, const std::string& to, std::string& error)
{
    std::string why;
    if (!syncFolder(folderOf(to), why)) {
        error = "cannot move " + from + " to " + to + ": " + why;
        return false;
    }
    return true;
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error)
{
    // A name of its own (mkstemp), so two games saving at once cannot mix
    // their temporary files.
    std::string name = path + ".tmpXXXXXX";
    std::vector<char> pattern(name.begin(), name.end());
    pattern.push_back('\0');
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot write " + path + ": " + reason(errno);
        return false;
    }
    name.assign(pattern.data());
    std::string why;
    bool ok = ::fchmod(fd, 0644) == 0 || (why = reason(errno), false);
    ok = ok && writeAll(fd, bytes, why);
    ok = ok && (::fsync(fd) == 0 || (why = reason(errno), false));
    if (::close(fd) != 0 && ok) {
        why = reason(errno);
        ok = false;
    }
    ok = ok && (::rename(name.c_str(), path.c_str()) == 0 || (why = reason(errno), false));
    if (!ok) {
        ::unlink(name.c_str());
        error = "cannot write " + path + ": " + why;
        return false;
    }
    if (!syncFolder(folderOf(path), why)) {
        error = "cannot write " + path + ": " + why;
        return false;
    }
    return true;
}

bool renameWithoutReplacing(const std::string& from, const std::string& to, std::string& error)
{
    // A hard link fails when the name is taken; where links are not supported,
    // look first (a narrow race, only on such file systems).
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) != 0) {
            error = "cannot move " + from + ": " + reason(errno);
            ::unlink(to.c_str());
            return false;
        }
    } else if (errno == EEXIST) {
        error = "cannot move " + from + " to " + to + ": " + reason(EEXIST);
        return false;
    } else {
        struct stat st;
        if (::lstat(to.c_str(), &st) == 0) {
            error = "cannot move " + from + " to " + to + ": " + reason(EEXIST);
            return false;
        }
        if (::rename(from.c_str(), to.c_str()) != 0) {
            error = "cannot move " + from + " to " + to + ": " + reason(errno);
            return false;
        }
    }
    return syncMovedInto(from, to, error);
}

bool renameDurably(const std::string& from, const std::string& to, std::string& error)
{
    if (::rename(from.c_str(), to.c_str()) != 0) {
        error = "cannot move " + from + " to " + to + ": " + reason(errno);
        return false;
    }
    return syncMovedInto(from, to, error);
}
