#include "core/ImageTable.hpp"
#include "core/TImageDecoder.hpp"
#include "core/TTextureStore.hpp"

#include "support/TestSupport.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Err.hpp>

#include <catch2/catch_test_macros.hpp>

#include <libdeflate.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

// --- A small PNG writer, for the kinds of file the game's own art never uses.

struct PngKind {
    int colourType; // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int depth;      // bits per sample
    bool interlaced;
    bool transparency = false; // a tRNS chunk (palette alphas, or a transparent grey/RGB key)
    int filter = -1;           // every row's filter, or -1 for each row in turn None, Sub, Up, Average, Paeth
    int idatSplit = 0;         // bytes per IDAT chunk, 0 for one chunk
};

int channelsOf(int colourType)
{
    switch (colourType) {
    case 0:
    case 3: return 1;
    case 4: return 2;
    case 2: return 3;
    default: return 4;
    }
}

void putBigEndian(Bytes& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void putChunk(Bytes& out, const char* type, const Bytes& data)
{
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out, libdeflate_crc32(0, out.data() + typeAt, out.size() - typeAt));
}

// A sample that varies with position and channel, within `depth` bits.
unsigned sampleAt(unsigned x, unsigned y, int channel, int depth, int colourType)
{
    const unsigned top = (1u << depth) - 1;
    if (colourType == 3)
        return (x * 3 + y * 5) % 12 & top;
    return (x * 37u + y * 91u + static_cast<unsigned>(channel) * 1234u + x * y * 7u) % (top + 1);
}

int predict(int filter, int a, int b, int c)
{
    switch (filter) {
    case 1: return a;
    case 2: return b;
    case 3: return (a + b) / 2;
    case 4: {
        const int p = a + b - c;
        const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
    }
    default: return 0;
    }
}

// Packs and filters the rows of one (sub-)image of w x h pixels taken at
// x = x0 + i * dx, y = y0 + j * dy.
void appendRows(Bytes& raw, const PngKind& kind, unsigned w, unsigned h, unsigned x0, unsigned y0, unsigned dx,
                unsigned dy)
{
    const int channels = channelsOf(kind.colourType);
    const std::size_t rowBytes = (static_cast<std::size_t>(w) * channels * kind.depth + 7) / 8;
    const std::size_t bpp = std::max<std::size_t>(1, static_cast<std::size_t>(channels * kind.depth / 8));
    Bytes prior(rowBytes, 0);
    for (unsigned j = 0; j < h; ++j) {
        Bytes row(rowBytes, 0);
        std::size_t bit = 0;
        for (unsigned i = 0; i < w; ++i)
            for (int ch = 0; ch < channels; ++ch) {
                const unsigned v = sampleAt(x0 + i * dx, y0 + j * dy, ch, kind.depth, kind.colourType);
                if (kind.depth == 16) {
                    row[bit / 8] = static_cast<std::uint8_t>(v >> 8);
                    row[bit / 8 + 1] = static_cast<std::uint8_t>(v);
                } else {
                    row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - kind.depth - bit % 8));
                }
                bit += static_cast<std::size_t>(kind.depth);
            }
        const int filter = kind.filter >= 0 ? kind.filter : static_cast<int>(j % 5);
        raw.push_back(static_cast<std::uint8_t>(filter));
        for (std::size_t k = 0; k < rowBytes; ++k) {
            const int a = k >= bpp ? row[k - bpp] : 0;
            const int b = prior[k];
            const int c = k >= bpp ? prior[k - bpp] : 0;
            raw.push_back(static_cast<std::uint8_t>(row[k] - predict(filter, a, b, c)));
        }
        prior = row;
    }
}

Bytes encodePng(unsigned w, unsigned h, const PngKind& kind)
{
    Bytes raw;
    if (kind.interlaced) {
        const unsigned passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                       {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& p : passes) {
            const unsigned pw = w > p[0] ? (w - p[0] + p[2] - 1) / p[2] : 0;
            const unsigned ph = h > p[1] ? (h - p[1] + p[3] - 1) / p[3] : 0;
            if (pw > 0 && ph > 0)
                appendRows(raw, kind, pw, ph, p[0], p[1], p[2], p[3]);
        }
    } else {
        appendRows(raw, kind, w, h, 0, 0, 1, 1);
    }

    libdeflate_compressor* deflater = libdeflate_alloc_compressor(6);
    Bytes packed(libdeflate_zlib_compress_bound(deflater, raw.size()));
    packed.resize(libdeflate_zlib_compress(deflater, raw.data(), raw.size(), packed.data(), packed.size()));
    libdeflate_free_compressor(deflater);

    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes header;
    putBigEndian(header, w);
    putBigEndian(header, h);
    header.insert(header.end(), {static_cast<std::uint8_t>(kind.depth), static_cast<std::uint8_t>(kind.colourType), 0,
                                 0, static_cast<std::uint8_t>(kind.interlaced ? 1 : 0)});
    putChunk(out, "IHDR", header);
    if (kind.colourType == 3) {
        Bytes palette, alphas;
        for (int i = 0; i < 12; ++i) {
            palette.insert(palette.end(), {static_cast<std::uint8_t>(i * 20), static_cast<std::uint8_t>(255 - i * 20),
                                           static_cast<std::uint8_t>(i * 7)});
            alphas.push_back(static_cast<std::uint8_t>(255 - i * 21));
        }
        putChunk(out, "PLTE", palette);
        if (kind.transparency)
            putChunk(out, "tRNS", alphas);
    } else if (kind.transparency) {
        Bytes key;
        for (int ch = 0; ch < (kind.colourType == 2 ? 3 : 1); ++ch)
            key.insert(key.end(), {0, static_cast<std::uint8_t>(sampleAt(0, 0, ch, kind.depth, kind.colourType))});
        putChunk(out, "tRNS", key);
    }
    const std::size_t split = kind.idatSplit > 0 ? static_cast<std::size_t>(kind.idatSplit) : packed.size();
    for (std::size_t at = 0; at < packed.size(); at += split)
        putChunk(out, "IDAT",
                 Bytes(packed.begin() + static_cast<long>(at),
                       packed.begin() + static_cast<long>(std::min(packed.size(), at + split))));
    putChunk(out, "IEND", {});
    return out;
}

void writeBytes(const fs::path& path, const Bytes& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A noisy RGBA picture saved by the media library, whose writer picks a
// different row filter wherever it compresses best.
void writeNoisyPng(const fs::path& path, unsigned w, unsigned h)
{
    sf::Image image({w, h});
    std::uint32_t state = 12345;
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            const auto v = static_cast<std::uint8_t>(state >> 24);
            image.setPixel({x, y}, sf::Color(static_cast<std::uint8_t>(x * 9), v, static_cast<std::uint8_t>(y * 5),
                                             static_cast<std::uint8_t>(v | 0x80)));
        }
    fs::create_directories(path.parent_path());
    REQUIRE(image.saveToFile(path));
}

// What each odd image of the set is.
std::map<int, std::function<void(const fs::path&)>> oddImages()
{
    auto kind = [](PngKind k, unsigned w, unsigned h) {
        return [k, w, h](const fs::path& p) { writeBytes(p, encodePng(w, h, k)); };
    };
    const Bytes good = encodePng(40, 30, {6, 8, false});
    Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    Bytes badFilter = encodePng(16, 4, {6, 8, false, false, 7});
    return {
        {image::textureValueControl, [](const fs::path&) {}}, // missing
        {image::egg1, [](const fs::path& p) { writeBytes(p, Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'}); }},
        {image::egg2, [truncated](const fs::path& p) { writeBytes(p, truncated); }},
        {image::egg3, [](const fs::path& p) { writeBytes(p, {}); }},
        {image::egg4, kind({3, 8, false, true}, 21, 13)},
        {image::transporter1, kind({3, 4, false, false}, 19, 9)},
        {image::xray, kind({0, 8, false}, 17, 11)},
        {image::menu, kind({0, 16, false}, 15, 10)},
        {image::egg1xray, kind({4, 8, false}, 14, 12)},
        {image::embryomutanto1, kind({2, 8, false}, 23, 9)},
        {image::embryo2mutanto, kind({6, 16, false}, 13, 7)},
        {image::embryo1, kind({6, 8, true}, 29, 19)},
        {image::embryo21, kind({2, 16, true}, 11, 17)},
        {image::embryorip1, kind({6, 8, false}, 33, 25)},
        {image::termIndik, [](const fs::path& p) { writeNoisyPng(p, 64, 48); }},
        {image::termBtn1, [badFilter](const fs::path& p) { writeBytes(p, badFilter); }},
        {image::termBtn2, kind({6, 8, false, false, -1, 97}, 31, 20)},
        {image::chicken, kind({0, 8, true, true}, 9, 9)},
        {image::eggBreaking, kind({2, 8, false, true}, 12, 6)},
        {image::buttonClose, [](const fs::path& p) { writeBytes(p, {0x89, 'P', 'N', 'G'}); }},
        {image::shopSlotDisable, [](const fs::path&) {}},
    };
}

fs::path makeOddAssetDir()
{
    const fs::path dir = testsupport::scratchDir("odd-images");
    const auto odd = oddImages();
    for (const TImageInfo& entry : imageTable) {
        const fs::path path = dir / "src/images" / entry.file;
        if (auto it = odd.find(entry.id); it != odd.end())
            it->second(path);
        else
            testsupport::writePng(path, 8, 8, sf::Color(10, 20, static_cast<std::uint8_t>(entry.id), 255));
    }
    fs::create_directories(dir / "src/fonts");
    fs::copy_file(fs::path(HENHOUSE_RUN_DIR) / "src/fonts/Arial.ttf", dir / "src/fonts/Arial.ttf");
    return dir;
}

// The plain way: the font, then every image through the media library's own
// loader, in the store's order, with the store's progress line after each.
std::map<int, sf::Image> loadPlainly(std::ostream& console)
{
    // The store tries the system font quietly; this folder has only the game's own.
    sf::Font font;
    REQUIRE(font.openFromFile("src/fonts/Arial.ttf"));
    std::map<int, sf::Image> images;
    // The order itself is checked on its own in the store's tests.
    for (int id : imageLoadOrder()) {
        sf::Texture texture;
        if (texture.loadFromFile(std::string("src/images/") + findImage(id)->file))
            images.emplace(id, texture.copyToImage());
        console << testsupport::progressLine(id);
    }
    return images;
}

// Sends the media library's error messages into `into` while alive, so they
// interleave with the progress lines exactly as on a terminal.
class LibraryErrorsInto {
public:
    explicit LibraryErrorsInto(std::ostream& into)
        : saved(sf::err().rdbuf(into.rdbuf()))
    {
    }
    ~LibraryErrorsInto() { sf::err().rdbuf(saved); }
    LibraryErrorsInto(const LibraryErrorsInto&) = delete;
    LibraryErrorsInto& operator=(const LibraryErrorsInto&) = delete;

private:
    std::streambuf* saved;
};

const TTextureStore::Settings anyImageSize{true, false};

bool samePixels(const sf::Image& a, const sf::Image& b)
{
    if (a.getSize() != b.getSize())
        return false;
    const std::size_t bytes = static_cast<std::size_t>(a.getSize().x) * a.getSize().y * 4;
    return std::equal(a.getPixelsPtr(), a.getPixelsPtr() + bytes, b.getPixelsPtr());
}

sf::Image decodedImage(const TImageDecoder::Pixels& pixels) { return sf::Image(pixels.size, pixels.data); }

} // namespace

TEST_CASE("the store loads odd, broken and missing images exactly as the plain loader does", "[store][loading]")
{
    const fs::path dir = makeOddAssetDir();
    std::ostringstream plainConsole, storeConsole;
    std::map<int, sf::Image> plain;
    std::map<int, sf::Image> stored;
    testsupport::inDirectory(dir, [&] {
        {
            LibraryErrorsInto errors(plainConsole);
            plain = loadPlainly(plainConsole);
        }
        LibraryErrorsInto errors(storeConsole);
        TTextureStore store(storeConsole, anyImageSize);
        for (int id : store.loadedIds())
            stored.emplace(id, store.getTexture(id).copyToImage());
    });

    SECTION("the same ids hold textures, of the same sizes and pixels")
    {
        // The set really has gaps: missing, empty, corrupt and cut files.
        for (int id : {image::textureValueControl, image::egg1, image::egg2, image::egg3, image::termBtn1,
                       image::buttonClose, image::shopSlotDisable})
            CHECK(plain.count(id) == 0);
        for (int id : {image::egg4, image::transporter1, image::xray, image::menu, image::egg1xray,
                       image::embryomutanto1, image::embryo2mutanto, image::embryo1, image::embryo21, image::embryorip1,
                       image::termIndik, image::termBtn2, image::chicken, image::eggBreaking})
            CHECK(plain.count(id) == 1);
        REQUIRE(stored.size() == plain.size());
        for (const auto& [id, image] : plain) {
            INFO("texture id " << id);
            REQUIRE(stored.count(id) == 1);
            CHECK(stored.at(id).getSize() == image.getSize());
            CHECK(samePixels(stored.at(id), image));
        }
    }
    SECTION("the same progress lines and error messages, in the same order")
    {
        CHECK(storeConsole.str() == plainConsole.str());
        // Including the two places where the order is not by id.
        const std::string& out = storeConsole.str();
        CHECK(out.find("textures 107/173") < out.find("textures 106/173"));
        CHECK(out.find("textures 106/173") < out.find("textures 108/173"));
        CHECK(out.find("textures 124/173") < out.find("textures 69/173"));
        CHECK(out.find("textures 69/173") < out.find("textures 125/173"));
        // The loader's own reason for a refused file comes before its line.
        CHECK(out.find("src/images/egg1.png") < out.find("textures 7/173"));
    }
}

TEST_CASE("the quick decoder takes 8-bit RGBA without interlacing and declines the rest", "[store][loading]")
{
    const fs::path dir = makeOddAssetDir();
    const fs::path images = dir / "src/images";
    TImageDecoder decoder;
    TImageDecoder::Pixels pixels;

    SECTION("RGBA rows with every filter, in one or many chunks, come out as the media library reads them")
    {
        for (int id : {image::embryorip1, image::termIndik, image::termBtn2}) {
            const std::string path = (images / findImage(id)->file).string();
            INFO(path);
            REQUIRE(decoder.decode(path, pixels));
            sf::Image reference;
            REQUIRE(reference.loadFromFile(path));
            CHECK(samePixels(decodedImage(pixels), reference));
        }
    }
    SECTION("other pixel formats, interlacing and broken or missing files are left to the media library")
    {
        for (int id :
             {image::textureValueControl, image::egg1, image::egg2, image::egg3, image::egg4, image::transporter1,
              image::xray, image::menu, image::egg1xray, image::embryomutanto1, image::embryo2mutanto, image::embryo1,
              image::embryo21, image::termBtn1, image::chicken, image::eggBreaking, image::buttonClose}) {
            INFO("texture id " << id);
            CHECK_FALSE(decoder.decode((images / findImage(id)->file).string(), pixels));
            CHECK(pixels.data == nullptr);
        }
    }
}

TEST_CASE("images drawn smaller than their size are smooth and mipmapped", "[store][loading]")
{
    const fs::path dir = testsupport::scratchDir("smooth-images");
    for (const TImageInfo& entry : imageTable)
        testsupport::writePng(dir / "src/images" / entry.file, 16, 16, sf::Color(90, 60, 30));
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console, anyImageSize);
        SECTION("the chicken sheets, the cards, the feeders and the bowl")
        {
            for (int id : {image::walk, image::dance, image::eat, image::chickEat, image::chickWalk, image::seat,
                           image::kurort1, image::kurort2, image::phsiholog, image::veterinar, image::kurort,
                           image::feeding, image::emptyFeeding, image::drinkingbowl}) {
                INFO("texture id " << id);
                CHECK(store.getTexture(id).isSmooth());
            }
        }
        SECTION("their mipmaps wait for the game loop, one per call, the small pictures before the sheets")
        {
            CHECK(store.mipmapsPending()
                  == std::vector<int>{image::feeding, image::drinkingbowl, image::phsiholog, image::veterinar,
                                      image::kurort, image::emptyFeeding, image::walk, image::dance, image::eat,
                                      image::chickEat, image::chickWalk, image::seat, image::kurort1, image::kurort2});
            CHECK(store.generatePendingMipmaps(3));
            CHECK(store.mipmapsPending()
                  == std::vector<int>{image::veterinar, image::kurort, image::emptyFeeding, image::walk, image::dance,
                                      image::eat, image::chickEat, image::chickWalk, image::seat, image::kurort1,
                                      image::kurort2});
            CHECK(store.generatePendingMipmaps(8));
            CHECK(store.mipmapsPending() == std::vector<int>{image::seat, image::kurort1, image::kurort2});
            CHECK_FALSE(store.generatePendingMipmaps(10));
            CHECK(store.mipmapsPending().empty());
            CHECK_FALSE(store.generatePendingMipmaps(1));
        }
        SECTION("but not the images drawn at their own size")
        {
            for (int id :
                 {image::placeholder, image::cell, image::indicator, image::eggC1, image::winSort, image::iconWarning,
                  image::shopPage1, image::iconScan, image::start, image::emotionKurort, image::quest1}) {
                INFO("texture id " << id);
                CHECK_FALSE(store.getTexture(id).isSmooth());
            }
        }
    });
}
