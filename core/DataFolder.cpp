#include "core/DataFolder.hpp"

#include <utility>

namespace {

// Empty means the designed place: src/ under the working directory.
std::string installedFolder;

} // namespace

std::string dataFile(std::string_view relative)
{
    std::string path = installedFolder.empty() ? std::string("src") : installedFolder;
    if (path.back() != '/')
        path += '/';
    path += relative;
    return path;
}

void useDataFolder(std::string folder) { installedFolder = std::move(folder); }

void resetDataFolder() { installedFolder.clear(); }
