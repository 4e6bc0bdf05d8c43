#pragma once
// The game's two music tracks, synthesised from scratch: a farmyard ambience
// and the cheerful main theme. Both are mono 44.1 baseHz 16-bit PCM WAV files
// that loop without a click.

#include <filesystem>

namespace henhouse::assets {

class Sound {
public:
    static constexpr int sampleRate = 44100;

    // Hen clucks, chick peeps and a soft straw-and-breeze bed, 24 s.
    static void writeFarmyard(const std::filesystem::path& path);
    // Melody, bass, plucked chords and light drums at 120 bpm, 48 s.
    static void writeMainTheme(const std::filesystem::path& path);
};

} // namespace henhouse::assets
