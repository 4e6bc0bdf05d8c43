#pragma once
// A development aid: lays the generated images out the way the game's
// 1920 x 1080 screen does (field, HUD, a few birds) so the art can be judged
// in place. Not used by the game itself.

#include <filesystem>
#include <string>

namespace henhouse::assets {

class ScenePreview {
public:
    // Paints the mock screen (optionally with the shop open) and writes it as
    // a PNG; throws std::exception on failure.
    void write(const std::filesystem::path& pngOut, bool shopOpen);
};

} // namespace henhouse::assets
