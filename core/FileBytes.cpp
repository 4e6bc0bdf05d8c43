#include "core/FileBytes.hpp"

#include <cstdio>
#include <filesystem>

bool readFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    // Only a regular file: a directory would read as garbage of absurd
    // length, and opening a pipe waits for a writer that may never come.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(file) : -1;
    ok = ok && length > 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(length));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}
