#pragma once

#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct libdeflate_decompressor;

// The quick way in for our own images: a PNG of 8-bit RGBA, not interlaced,
// is read, inflated and unfiltered straight into the memory it is later
// uploaded from, with no further copy: memory the caller places it in, or
// else the decoder's own buffer. Anything else (another pixel format,
// interlacing, a damaged or missing file) is declined, and the caller hands
// the file to the media library's general loader, which then decides and
// reports exactly as it always would.
//
// One decoder per thread; a decoder is cheap to keep and reuse.
class TImageDecoder {
public:
    // Pixels of one image, rows top to bottom, four bytes per pixel. They
    // live in the decoder and stay valid until its next decode.
    struct Pixels {
        sf::Vector2u size;
        const std::uint8_t* data = nullptr;
    };

    TImageDecoder();
    TImageDecoder(const TImageDecoder&) = delete;
    TImageDecoder& operator=(const TImageDecoder&) = delete;
    ~TImageDecoder();

    // Decodes `path` into `out` and returns true, or returns false (leaving
    // `out` empty) when the file is not one this decoder takes.
    [[nodiscard]] bool decode(const std::string& path, Pixels& out);

    // Where an image goes instead: given the bytes the image needs while it
    // is decoded (a little more than its pixels), returns memory of that
    // size, or null to give up on the file. The pixels then live there, at
    // its start, and no longer in the decoder.
    using Placement = std::function<std::uint8_t*(std::size_t bytes)>;
    [[nodiscard]] bool decode(const std::string& path, Pixels& out, const Placement& place);
    // The same, handing each row on to `seen` as soon as it is final (while
    // it is still in the cache): the image's size, the row's number and its
    // pixels. A decode that fails part way may have handed on some rows.
    using RowSeen = std::function<void(sf::Vector2u size, unsigned y, const std::uint8_t* row)>;
    [[nodiscard]] bool decode(const std::string& path, Pixels& out, const Placement& place, const RowSeen& seen);

    // What the quick decoder needs to decode the PNG whose first bytes are
    // `header` (at least 33), or 0 when it would decline the file.
    static std::size_t workingBytes(const std::uint8_t* header, std::size_t length);
    // The width and height in the header of a PNG whose first `length`
    // bytes are at `start`; false when its first chunk is not a header.
    static bool readSize(const std::uint8_t* start, std::size_t length, std::uint32_t& width, std::uint32_t& height);

private:
    libdeflate_decompressor* inflater;
    std::vector<std::uint8_t> own; // the pixels when the caller gives no place for them
    std::vector<std::uint8_t> file;
    std::vector<std::uint8_t> joined;
};
