#include "core/RegularFile.hpp"

#include <cerrno>
#include <cstdint>
#include <vector>

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

template <class Bytes>
FileReading readWholeFile(const std::string& path, std::size_t maxBytes, Bytes& content, std::string& why)
{
    const auto failed = [&why](int code) {
        why = errnoText(code);
        return code == ENOENT || code == ENOTDIR ? FileReading::missing : FileReading::refused;
    };
    const auto tooLarge = [&why, maxBytes] {
        why = "larger than " + std::to_string(maxBytes) + " bytes";
        return FileReading::tooLarge;
    };
    // Look first, without opening: opening a FIFO for reading waits for a writer.
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0)
        return failed(errno);
    if (!S_ISREG(info.st_mode)) {
        why = kindOf(info.st_mode) + ", not a regular file";
        return FileReading::refused;
    }
    // O_NONBLOCK in case the name was swapped for a FIFO in between; fstat below tells.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed(errno);
    FileReading result = FileReading::read;
    if (::fstat(fd, &info) != 0) {
        result = failed(errno);
    } else if (!S_ISREG(info.st_mode)) {
        why = kindOf(info.st_mode) + ", not a regular file";
        result = FileReading::refused;
    } else if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        result = tooLarge();
    } else {
        // The size it had, then whatever it has grown by since, up to the limit.
        content.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < content.size()) {
            const ssize_t got = ::read(fd, content.data() + done, content.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                result = failed(errno);
                break;
            }
            if (got == 0)
                break; // shrank while we read: keep what there is
            done += static_cast<std::size_t>(got);
        }
        content.resize(done);
        char more[1 << 12];
        while (result == FileReading::read && done == static_cast<std::size_t>(info.st_size)) {
            const ssize_t got = ::read(fd, more, sizeof more);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                result = failed(errno);
            else if (static_cast<std::size_t>(got) > maxBytes - content.size())
                result = tooLarge();
            else if (got == 0)
                break;
            else
                content.insert(content.end(), more, more + got);
        }
    }
    ::close(fd);
    return result;
}

template FileReading readWholeFile(const std::string&, std::size_t, std::string&, std::string&);
template FileReading readWholeFile(const std::string&, std::size_t, std::vector<std::uint8_t>&, std::string&);

std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes, std::string& why)
{
    std::string content;
    if (readWholeFile(path, maxBytes, content, why) != FileReading::read)
        return std::nullopt;
    return content;
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
