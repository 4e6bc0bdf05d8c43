#include "AssetGenerator.hpp"

#include "Canvas.hpp"
#include "Painters.hpp"
#include "Sound.hpp"
#include "core/ImageTable.hpp"

#include <algorithm>
#include <atomic>
#include <cairo.h>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace henhouse::assets {

namespace fs = std::filesystem;

namespace {

// The soft green the previews show images against.
void paintBackdrop(cairo_t* cr)
{
    cairo_set_source_rgb(cr, 0.55, 0.75, 0.55);
    cairo_paint(cr);
}

void paint(const TImageInfo& e, Canvas& c)
{
    if (!paintAsset(e.id, c))
        throw std::runtime_error("no painter draws this image");
}

} // namespace

bool paintAsset(int id, Canvas& c)
{
    return paintAnimal(id, c) || paintFurniture(id, c) || paintInterface(id, c) || paintMessage(id, c)
           || paintOverlay(id, c);
}

AssetGenerator::AssetGenerator(fs::path outDir, fs::path fontFile)
    : outputDir(std::move(outDir))
    , fontPath(std::move(fontFile))
{
}

bool AssetGenerator::run()
{
    const fs::path images = outputDir / "src" / "images";
    const fs::path fonts = outputDir / "src" / "fonts";
    const fs::path sounds = outputDir / "src" / "sounds";
    std::error_code ec;
    // Check the font first: a typo here should not cost a whole paint run.
    if (!fs::is_regular_file(fontPath, ec)) {
        firstError = fontPath.string() + ": font file not found";
        return false;
    }
    for (const auto& d : {images, fonts, sounds}) {
        fs::create_directories(d, ec);
        if (ec) {
            firstError = d.string() + ": cannot create directory: " + ec.message();
            return false;
        }
    }

    // Jobs, biggest first so the long sheets start at once and the small
    // images fill the gaps on the other cores.
    struct Job {
        std::string name;
        std::size_t cost;
        std::function<void()> work;
    };
    std::vector<Job> jobs;
    std::mutex mu;
    std::atomic<std::uintmax_t> bytes{0};
    std::atomic<int> files{0};
    auto count = [&](const fs::path& p) {
        bytes += fs::file_size(p);
        ++files;
    };
    for (const auto& e : imageTable) {
        const fs::path p = images / std::string(e.file);
        jobs.push_back({p.string(), static_cast<std::size_t>(e.width) * static_cast<std::size_t>(e.height), [&, e, p] {
                            Canvas c(e.width, e.height);
                            paint(e, c);
                            c.writePng(p);
                            count(p);
                        }});
    }
    jobs.push_back({(sounds / "chikensong.wav").string(), 6'000'000, [&, sounds] {
                        const fs::path p = sounds / "chikensong.wav";
                        Sound::writeFarmyard(p);
                        count(p);
                    }});
    jobs.push_back({(sounds / "MainTheme.wav").string(), 9'000'000, [&, sounds] {
                        const fs::path p = sounds / "MainTheme.wav";
                        Sound::writeMainTheme(p);
                        count(p);
                    }});
    jobs.push_back({(fonts / "Arial.ttf").string(), 1, [&, fonts] {
                        const fs::path p = fonts / "Arial.ttf";
                        std::error_code cec;
                        fs::copy_file(fontPath, p, fs::copy_options::overwrite_existing, cec);
                        if (cec)
                            throw std::runtime_error("cannot copy " + fontPath.string() + ": " + cec.message());
                        count(p);
                    }});
    std::stable_sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.cost > b.cost; });

    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    auto worker = [&] {
        for (;;) {
            const std::size_t i = next++;
            if (i >= jobs.size() || failed)
                return;
            try {
                jobs[i].work();
            } catch (const std::exception& ex) {
                std::lock_guard lock(mu);
                if (!failed.exchange(true))
                    firstError = jobs[i].name + ": " + ex.what();
            }
        }
    };
    const unsigned n = std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < n; ++t)
        pool.emplace_back(worker);
    for (auto& t : pool)
        t.join();
    fileCount = files;
    byteCount = bytes;
    return !failed;
}

void AssetGenerator::single(int id, const fs::path& pngOut)
{
    const TImageInfo* e = findImage(id);
    if (!e)
        throw std::runtime_error("no image with id " + std::to_string(id));
    Canvas c(e->width, e->height);
    paint(*e, c);
    c.writePng(pngOut.string());
}

void AssetGenerator::preview(int id, const fs::path& pngOut, int frame)
{
    const TImageInfo* e = findImage(id);
    if (!e)
        throw std::runtime_error("no image with id " + std::to_string(id));
    Canvas full(e->width, e->height);
    paint(*e, full);
    if (frame >= 0) {
        const int cols = e->width / 512;
        Canvas cell(512, 512);
        cairo_t* cr = cell.cr();
        paintBackdrop(cr);
        cairo_set_source_surface(cr, cairo_get_target(full.cr()), -(frame % cols) * 512.0, -(frame / cols) * 512.0);
        cairo_paint(cr);
        cell.writePng(pngOut);
        return;
    }
    // Contact sheet at quarter size so a whole sheet fits on screen.
    const double k = e->width > 1500 ? 0.25 : 1.0;
    Canvas small(static_cast<int>(e->width * k), static_cast<int>(e->height * k));
    cairo_t* cr = small.cr();
    paintBackdrop(cr);
    cairo_scale(cr, k, k);
    cairo_set_source_surface(cr, cairo_get_target(full.cr()), 0, 0);
    cairo_paint(cr);
    cairo_identity_matrix(cr);
    if (e->width > 1500) { // frame grid
        const int cols = e->width / 512;
        cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
        cairo_set_line_width(cr, 1);
        for (int i = 1; i < cols; ++i) {
            cairo_move_to(cr, i * 128, 0);
            cairo_line_to(cr, i * 128, small.height());
        }
        for (int i = 1; i < e->height / 512; ++i) {
            cairo_move_to(cr, 0, i * 128);
            cairo_line_to(cr, small.width(), i * 128);
        }
        cairo_stroke(cr);
    }
    small.writePng(pngOut);
}

void AssetGenerator::montage(const std::vector<int>& ids, int cell, const fs::path& pngOut)
{
    const int cols = std::max(1, std::min(static_cast<int>(ids.size()), 1600 / cell));
    const int rows = (static_cast<int>(ids.size()) + cols - 1) / cols;
    Canvas sheet(cols * cell, rows * cell);
    cairo_t* cr = sheet.cr();
    paintBackdrop(cr);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const TImageInfo* e = findImage(ids[i]);
        if (!e)
            continue;
        Canvas img(e->width, e->height);
        paint(*e, img);
        const double k = std::min(1.0, (cell - 20.0) / std::max(e->width, e->height));
        cairo_save(cr);
        const int column = static_cast<int>(i) % cols;
        const int row = static_cast<int>(i) / cols;
        cairo_translate(cr, column * cell + 4, row * cell + 16);
        cairo_scale(cr, k, k);
        cairo_set_source_surface(cr, cairo_get_target(img.cr()), 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        sheet.textLeft(std::to_string(e->id) + " " + std::string(e->file), column * cell + 4, row * cell + 12, 11,
                       pal::black, false);
    }
    sheet.writePng(pngOut);
}

} // namespace henhouse::assets
