#include "core/FileBytes.hpp"

#include "core/RegularFile.hpp"

#include <limits>

bool readFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    std::string why;
    return readWholeFile(path, std::numeric_limits<std::size_t>::max(), bytes, why) == FileReading::read
           && !bytes.empty();
}
