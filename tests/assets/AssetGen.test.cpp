// Checks the generated asset tree (run from the directory that holds src/):
// exact image sizes, visible content, chicken frames that stand on their
// anchor and stay inside their cells, and clean looping music.

#include "core/ImageTable.hpp"

#include <catch2/catch_test_macros.hpp>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // straight alpha
    std::uint8_t alpha(int x, int y) const { return rgba[(static_cast<std::size_t>(y) * width + x) * 4 + 3]; }
    std::uint32_t pixel(int x, int y) const
    {
        const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
    }
};

std::filesystem::path imagePath(const TImageInfo& e)
{
    return std::filesystem::path("src/images") / std::string(e.file);
}

// Reads any PNG as 8-bit RGBA. Returns false if the file is missing or broken.
bool loadPng(const std::filesystem::path& path, Image& img)
{
    FILE* fp = std::fopen(path.string().c_str(), "rb");
    if (!fp)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(fp);
        return false;
    }
    png_init_io(png, fp);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    img.width = static_cast<int>(png_get_image_width(png, info));
    img.height = static_cast<int>(png_get_image_height(png, info));
    img.rgba.assign(static_cast<std::size_t>(img.width) * img.height * 4, 0);
    rows.resize(static_cast<std::size_t>(img.height));
    for (int y = 0; y < img.height; ++y)
        rows[y] = &img.rgba[static_cast<std::size_t>(y) * img.width * 4];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(fp);
    return true;
}

bool readSize(const std::filesystem::path& path, int& w, int& h)
{
    std::ifstream f(path, std::ios::binary);
    unsigned char b[24];
    if (!f.read(reinterpret_cast<char*>(b), 24))
        return false;
    static const unsigned char sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (!std::equal(sig, sig + 8, b))
        return false;
    w = (b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19];
    h = (b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23];
    return true;
}

struct Wav {
    int rate = 0, channels = 0, bits = 0, format = 0;
    std::vector<std::int16_t> samples;
};

bool loadWav(const std::filesystem::path& path, Wav& w)
{
    std::ifstream f(path, std::ios::binary);
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (d.size() < 44 || std::string(d.begin(), d.begin() + 4) != "RIFF"
        || std::string(d.begin() + 8, d.begin() + 12) != "WAVE")
        return false;
    auto u32 = [&](std::size_t i) {
        return std::uint32_t(d[i]) | d[i + 1] << 8 | d[i + 2] << 16 | std::uint32_t(d[i + 3]) << 24;
    };
    auto u16 = [&](std::size_t i) { return static_cast<int>(d[i] | d[i + 1] << 8); };
    std::size_t pos = 12;
    bool haveFmt = false;
    while (pos + 8 <= d.size()) {
        const std::string id(d.begin() + pos, d.begin() + pos + 4);
        const std::size_t len = u32(pos + 4);
        const std::size_t body = pos + 8;
        if (id == "fmt ") {
            w.format = u16(body);
            w.channels = u16(body + 2);
            w.rate = static_cast<int>(u32(body + 4));
            w.bits = u16(body + 14);
            haveFmt = true;
        } else if (id == "data") {
            const std::size_t n = std::min(len, d.size() - body) / 2;
            w.samples.resize(n);
            for (std::size_t i = 0; i < n; ++i)
                w.samples[i] = static_cast<std::int16_t>(u16(body + 2 * i));
            return haveFmt;
        }
        pos = body + len + (len & 1);
    }
    return false;
}

struct Sheet {
    int id;
    int columns;
    int cells; // used frames plus filled spare cells
};

constexpr Sheet kSheets[] = {{image::chickWalk, 8, 40}, {image::chickEat, 8, 40}, {image::walk, 8, 40},
                             {image::eat, 8, 40},       {image::dance, 8, 40},    {image::seat, 8, 40},
                             {image::kurort1, 4, 16},   {image::kurort2, 8, 40}};

} // namespace

TEST_CASE("every image of the table is generated at its exact size", "[assets][images]")
{
    REQUIRE(imageTable.size() == 173);
    REQUIRE(findImage(2) == nullptr);
    for (const auto& e : imageTable) {
        INFO(e.id << " " << e.file);
        int w = 0, h = 0;
        REQUIRE(readSize(imagePath(e), w, h));
        CHECK(w == e.width);
        CHECK(h == e.height);
    }
    SECTION("the font is copied next to the images")
    {
        CHECK(std::filesystem::file_size("src/fonts/Arial.ttf") > 10000);
    }
}

TEST_CASE("images show something, and only the placeholder is empty", "[assets][images]")
{
    for (const auto& e : imageTable) {
        INFO(e.id << " " << e.file);
        Image img;
        REQUIRE(loadPng(imagePath(e), img));
        REQUIRE(img.width == e.width);
        REQUIRE(img.height == e.height);
        if (e.id == image::placeholder) {
            SECTION("null.png is fully transparent")
            {
                bool clear = true;
                for (int y = 0; y < img.height; ++y)
                    for (int x = 0; x < img.width; ++x)
                        clear = clear && img.alpha(x, y) == 0;
                CHECK(clear);
            }
            continue;
        }
        // Sample a grid (big sheets) or every pixel (small images).
        const int step = std::max(1, std::min(img.width, img.height) / 256);
        const std::uint32_t first = img.pixel(0, 0);
        bool varied = false;
        for (int y = 0; y < img.height && !varied; y += step)
            for (int x = 0; x < img.width && !varied; x += step)
                varied = img.pixel(x, y) != first;
        CHECK(varied);
    }
}

TEST_CASE("chicken frames stand on the feet anchor and stay inside their cells", "[assets][chickens]")
{
    for (const Sheet& s : kSheets) {
        const TImageInfo* e = findImage(s.id);
        REQUIRE(e != nullptr);
        INFO(e->file);
        Image img;
        REQUIRE(loadPng(imagePath(*e), img));
        for (int cell = 0; cell < s.cells; ++cell) {
            INFO("frame " << cell);
            const int ox = (cell % s.columns) * 512;
            const int oy = (cell / s.columns) * 512;
            REQUIRE(oy + 512 <= img.height);
            // Something solid (feet, belly or the ground shadow) on the anchor row.
            bool grounded = false;
            for (int y = 380; y <= 392 && !grounded; ++y)
                for (int x = 176; x <= 336 && !grounded; ++x)
                    grounded = img.alpha(ox + x, oy + y) >= 64;
            CHECK(grounded);
            // A clear margin round the frame so neighbours never bleed in.
            constexpr int kMargin = 8;
            bool clear = true;
            for (int i = 0; i < 512 && clear; ++i)
                for (int m = 0; m < kMargin && clear; ++m)
                    clear = img.alpha(ox + i, oy + m) == 0 && img.alpha(ox + i, oy + 511 - m) == 0
                            && img.alpha(ox + m, oy + i) == 0 && img.alpha(ox + 511 - m, oy + i) == 0;
            CHECK(clear);
        }
        if (s.id == image::kurort1) {
            SECTION("kurort1 has a fully transparent 1-px border")
            {
                bool border = true;
                for (int i = 0; i < img.width; ++i)
                    border = border && img.alpha(i, 0) == 0 && img.alpha(i, img.height - 1) == 0 && img.alpha(0, i) == 0
                             && img.alpha(img.width - 1, i) == 0;
                CHECK(border);
            }
        }
    }
}

TEST_CASE("music tracks are CD-rate PCM that never clips and loops without a click", "[assets][sound]")
{
    struct Track {
        const char* file;
        double minSeconds;
    };
    for (const Track t : {Track{"src/sounds/chikensong.wav", 20.0}, Track{"src/sounds/MainTheme.wav", 45.0}}) {
        INFO(t.file);
        Wav w;
        REQUIRE(loadWav(t.file, w));
        SECTION(std::string("format and length of ") + t.file)
        {
            CHECK(w.format == 1);
            CHECK(w.rate == 44100);
            CHECK(w.bits == 16);
            REQUIRE(w.channels >= 1);
            CHECK(static_cast<double>(w.samples.size()) / w.channels / w.rate >= t.minSeconds);
        }
        SECTION(std::string("no clipping, healthy level in ") + t.file)
        {
            int peak = 0;
            for (auto v : w.samples)
                peak = std::max(peak, std::abs(static_cast<int>(v)));
            CHECK(peak < 32767);
            CHECK(peak > 20000); // normalised close to full scale
        }
        SECTION(std::string("seamless loop in ") + t.file)
        {
            const std::size_t ch = static_cast<std::size_t>(w.channels);
            const std::size_t frames = w.samples.size() / ch;
            REQUIRE(frames > 2);
            for (std::size_t c = 0; c < ch; ++c) {
                std::vector<int> steps;
                steps.reserve(frames);
                for (std::size_t i = 1; i < frames; ++i)
                    steps.push_back(std::abs(w.samples[i * ch + c] - w.samples[(i - 1) * ch + c]));
                std::sort(steps.begin(), steps.end());
                const int typical = steps[steps.size() * 99 / 100];
                const int seam = std::abs(w.samples[c] - w.samples[(frames - 1) * ch + c]);
                INFO("seam step " << seam << ", 99th percentile step " << typical);
                CHECK(seam <= typical);
            }
        }
    }
}
