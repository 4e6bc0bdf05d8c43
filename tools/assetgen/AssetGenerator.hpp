#pragma once
// Runs a whole asset build: paints every image of the table, copies the font
// and synthesises the music into one output tree, spreading the work over
// the machine's cores.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace henhouse::assets {

class AssetGenerator {
public:
    AssetGenerator(std::filesystem::path outDir, std::filesystem::path fontFile);

    // Builds everything. Returns false and fills error() with one line naming
    // the failing file if anything goes wrong.
    bool run();

    const std::string& error() const { return firstError; }
    int filesWritten() const { return fileCount; }
    std::uintmax_t bytesWritten() const { return byteCount; }

    // Development aids; they throw std::exception on failure.
    // Writes one image exactly as the build does (to try new art out
    // without painting the whole set).
    void single(int id, const std::filesystem::path& pngOut);
    // Writes small crops of chosen sheet frames (for looking at animations).
    // frame >= 0 crops one 512-px cell of a sheet at full size instead.
    void preview(int id, const std::filesystem::path& pngOut, int frame = -1);
    // Lays several images out on one contact sheet, each fitted in a cell.
    void montage(const std::vector<int>& ids, int cell, const std::filesystem::path& pngOut);

private:
    std::filesystem::path outputDir;
    std::filesystem::path fontPath;
    std::string firstError;
    int fileCount = 0;
    std::uintmax_t byteCount = 0;
};

} // namespace henhouse::assets
