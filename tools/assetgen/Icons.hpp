#pragma once
// The game's icon for the desktop's menu: a white hen sitting on a straw nest
// beside a cream egg, on a rounded barn-red tile. Painted as PNGs at every
// size the hicolor theme has and once as a scalable SVG.

#include <string>

namespace henhouse::assets {

// The sizes of the PNG icons, in pixels.
inline constexpr int iconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

// Writes OUTDIR/hicolor/NxN/apps/NAME.png for every size and
// OUTDIR/hicolor/scalable/apps/NAME.svg; throws std::runtime_error on failure.
void writeIcons(const std::string& outDir, const std::string& name);

} // namespace henhouse::assets
