#include "core/RegularFile.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a plain file";
}

std::string errnoText(int code) { return code == ENOENT ? "no such file" : std::strerror(code); }

} // namespace

std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes, std::string& why)
{
    // Look first, without opening: opening a FIFO for reading waits for a writer.
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) {
        why = errnoText(errno);
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        why = kindOf(info.st_mode) + ", not a regular file";
        return std::nullopt;
    }
    // O_NONBLOCK in case the name was swapped for a FIFO in between; fstat below tells.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = errnoText(errno);
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    if (::fstat(fd, &info) != 0) {
        why = errnoText(errno);
    } else if (!S_ISREG(info.st_mode)) {
        why = kindOf(info.st_mode) + ", not a regular file";
    } else if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        why = "larger than " + std::to_string(maxBytes) + " bytes";
    } else {
        std::string content(static_cast<std::size_t>(info.st_size), '\0');
        std::size_t done = 0;
        bool failed = false;
        while (done < content.size()) {
            const ssize_t got = ::read(fd, content.data() + done, content.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                why = errnoText(errno);
                failed = true;
                break;
            }
            if (got == 0)
                break; // shrank while we read: keep what there is
            done += static_cast<std::size_t>(got);
        }
        if (!failed) {
            content.resize(done);
            bytes = std::move(content);
        }
    }
    ::close(fd);
    return bytes;
}

std::string escapedForTerminal(const std::string& text)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7f) {
            out += "\\x";
            out += digits[byte >> 4];
            out += digits[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}
