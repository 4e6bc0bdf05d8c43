// henhouse-assets OUTDIR FONT_TTF
// Draws every image, copies the font and synthesises the music for the game.
// (--preview ID OUT.png [FRAME] writes a quarter-size look at one image, or
//  one sheet frame at full size;
//  --image ID OUT.png writes one image as the build does;
//  --montage OUT.png CELL ID... lays several images out on one sheet;
//  --scene OUT.png / --scene-shop OUT.png mocks up the game screen.)

#include "AssetGenerator.hpp"
#include "ScenePreview.hpp"

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

// The development aids; true when `argv` asked for one (and it was made).
bool runAid(int argc, char** argv)
{
    using henhouse::assets::AssetGenerator;
    if ((argc == 4 || argc == 5) && std::string(argv[1]) == "--preview") {
        AssetGenerator(".", "").preview(std::stoi(argv[2]), argv[3], argc == 5 ? std::stoi(argv[4]) : -1);
        return true;
    }
    if (argc == 4 && std::string(argv[1]) == "--image") {
        AssetGenerator(".", "").single(std::stoi(argv[2]), argv[3]);
        return true;
    }
    if (argc >= 5 && std::string(argv[1]) == "--montage") {
        std::vector<int> ids;
        for (int i = 4; i < argc; ++i)
            ids.push_back(std::stoi(argv[i]));
        AssetGenerator(".", "").montage(ids, std::stoi(argv[3]), argv[2]);
        return true;
    }
    if (argc == 3 && (std::string(argv[1]) == "--scene" || std::string(argv[1]) == "--scene-shop")) {
        henhouse::assets::ScenePreview().write(argv[2], std::string(argv[1]) == "--scene-shop");
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    using henhouse::assets::AssetGenerator;
    try {
        if (runAid(argc, argv))
            return 0;
    } catch (const std::exception& ex) {
        std::fprintf(stderr, "henhouse-assets: %s\n", ex.what());
        return 1;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: henhouse-assets OUTDIR FONT_TTF\n");
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    AssetGenerator gen(argv[1], argv[2]);
    if (!gen.run()) {
        std::fprintf(stderr, "henhouse-assets: failed: %s\n", gen.error().c_str());
        return 1;
    }
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("henhouse-assets: wrote %d files, %ju bytes (%.1f MiB), in %.1f s\n", gen.filesWritten(),
                gen.bytesWritten(), static_cast<double>(gen.bytesWritten()) / (1024.0 * 1024.0), secs);
    return 0;
}
