#include "ScenePreview.hpp"

#include "AssetTable.hpp"
#include "Canvas.hpp"
#include "Painters.hpp"

#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <stdexcept>

namespace henhouse::assets {

namespace {

// Paints images on demand and keeps them for reuse.
class Images {
public:
    Canvas& get(int id) {
        auto it = cache_.find(id);
        if (it != cache_.end()) return *it->second;
        const AssetEntry* e = findAsset(id);
        if (!e) throw std::runtime_error("unknown id " + std::to_string(id));
        auto c = std::make_unique<Canvas>(e->width, e->height);
        if (!paintAsset(id, *c))
            throw std::runtime_error("no painter for id " + std::to_string(id));
        return *cache_.emplace(id, std::move(c)).first->second;
    }

private:
    std::map<int, std::unique_ptr<Canvas>> cache_;
};

// Draws like an SFML sprite: position, origin, scale, rotation (degrees), optional sub-rectangle.
void blit(cairo_t* cr, Canvas& img, double x, double y, double ox = 0, double oy = 0, double sx = 1, double sy = 1,
          double rotDeg = 0, int rx = 0, int ry = 0, int rw = -1, int rh = -1) {
    if (rw < 0) rw = img.width();
    if (rh < 0) rh = img.height();
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, rotDeg * std::numbers::pi / 180);
    cairo_scale(cr, sx, sy);
    cairo_translate(cr, -ox, -oy);
    cairo_rectangle(cr, 0, 0, rw, rh);
    cairo_clip(cr);
    cairo_set_source_surface(cr, cairo_get_target(img.cr()), -rx, -ry);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
}

void frame(cairo_t* cr, Canvas& sheet, int cols, int f, double x, double y, double scale, bool left = false) {
    blit(cr, sheet, x, y, 256, 384, left ? -scale : scale, scale, 0, (f % cols) * 512, (f / cols) * 512, 512, 512);
}

} // namespace

void ScenePreview::write(const std::filesystem::path& pngOut, bool shopOpen) {
    Images im;
    Canvas screen(1920, 1080);
    cairo_t* cr = screen.cr();
    for (int ty = 0; ty < 45; ++ty)
        for (int tx = 0; tx < 80; ++tx) blit(cr, im.get(28), tx * 24, ty * 24);
    blit(cr, im.get(157), 900, 820);
    blit(cr, im.get(154), 1200, 560);
    blit(cr, im.get(158), 420, 640);
    blit(cr, im.get(29), 0, 0);
    for (int x = 550; x >= -80; x -= 105) blit(cr, im.get(115), x, 132);
    blit(cr, im.get(38), 673, 133);
    blit(cr, im.get(39), 680, 143);
    blit(cr, im.get(40), 0, 0);
    blit(cr, im.get(113), 672, 250);
    for (double x : {0.0, 125.0, 1675.0, 1800.0}) blit(cr, im.get(114), x, 0);
    for (double gx : {586.0, 973.6, 1360.54}) blit(cr, im.get(46), gx, 658);
    blit(cr, im.get(45), 1764, 554);
    const double feeders[4][2] = {{100, 275}, {586, 738}, {973.6, 738}, {1360.54, 738}};
    for (int i = 0; i < 4; ++i)
        blit(cr, im.get(i == 2 ? 90 : 41), feeders[i][0], feeders[i][1], 65, 113, 0.75, 0.75);
    blit(cr, im.get(89), 973.6 - 25, 738 - 125);
    const double bowls[3][2] = {{300, 275}, {694, 459}, {1084, 459}};
    for (auto& b : bowls) {
        blit(cr, im.get(42), b[0], b[1], 70.5, 143, 0.75, 0.75);
        blit(cr, im.get(43), b[0], b[1] - 25, 25, 25);
        blit(cr, im.get(44), b[0], b[1] - 25, 2.5, 18, 1, 1, 40);
    }
    // Birds: sitting hens in the nest row, hens in the yard, chicks in the nursery.
    Canvas& seat = im.get(127);
    for (int i = 0; i < 5; ++i) frame(cr, seat, 8, 4 + i * 5, 780 + i * 230, 220, 0.3);
    frame(cr, im.get(78), 8, 2, 800, 520, 0.3);
    frame(cr, im.get(80), 8, 3, 1084 - 50, 459, 0.3);
    frame(cr, im.get(79), 8, 25, 1300, 480, 0.3, true);
    frame(cr, im.get(152), 8, 5, 1550, 880, 0.3);
    frame(cr, im.get(78), 8, 6, 600, 850, 0.2, true);
    blit(cr, im.get(48), 800, 520, 28, 168);
    blit(cr, im.get(50), 600, 850, 28, 168);
    blit(cr, im.get(153), 1550, 880, 28, 168);
    for (int i = 0; i < 6; ++i) frame(cr, im.get(i % 2 ? 111 : 112), 8, i * 5, 120 + i * 80, 200 + (i % 3) * 50, 0.12, i % 3 == 1);
    blit(cr, im.get(53), 1000, 196, 15, 20, 1, 1, 30);
    blit(cr, im.get(53), 1400, 262, 15, 20, 1, 1, -60);
    blit(cr, im.get(159), 500, 560);
    blit(cr, im.get(161), 1330, 380);
    // HUD.
    blit(cr, im.get(57), 29, 15);
    screen.textLeft("06:00", 90, 60, 40, pal::white, false);
    blit(cr, im.get(58), 1718, 15);
    screen.textLeft("120", 1780, 55, 35, pal::white, false);
    blit(cr, im.get(59), 735, 0);
    screen.textLeft("12", 910, 90, 30, pal::white, false);
    blit(cr, im.get(167), 29, 92);
    screen.textLeft("120/1000", 258, 136, 30, pal::white, false);
    blit(cr, im.get(84), 55, 870);
    blit(cr, im.get(85), 75, 939);
    blit(cr, im.get(86), 145, 929);
    blit(cr, im.get(87), 206, 939);
    blit(cr, im.get(88), 270, 929);
    for (int k = 0; k < 4; ++k) screen.textLeft("3", 103 + 66 * k, 1012, 12, pal::white, false);
    blit(cr, im.get(36), 600, 1000);
    const int sockets[4] = {64, shopOpen ? 116 : 68, 67, 66};
    const int icons[4] = {143, shopOpen ? 144 : 145, 147, 149};
    for (int i = 0; i < 4; ++i) {
        const double x = 682 + 146 * i;
        blit(cr, im.get(sockets[i]), x, 944);
        blit(cr, im.get(139), x, 944);
        blit(cr, im.get(icons[i]), x + 56.5, 944 + 56.5, 31.5, 31.5);
    }
    blit(cr, im.get(62), 1420, 975, 179, 270, 0.5, 0.5, -15);
    blit(cr, im.get(60), 1720, 975, 179, 270, 0.5, 0.5, 15);
    blit(cr, im.get(61), 1570, 975, 179, 270, 0.5, 0.5, 0);
    if (shopOpen) {
        blit(cr, im.get(92), 450, 479);
        blit(cr, im.get(93), 450, 617);
        blit(cr, im.get(91), 415, 342);
        blit(cr, im.get(108), 530, 100);
        blit(cr, im.get(69), 1323, 150);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 3; ++col) {
                const double mx[3] = {655, 897, 1138}, px[3] = {745, 987, 1228};
                const double y = row ? 722 : 448;
                const bool off = row == 1 && col > 0;
                blit(cr, im.get(off ? 124 : 121), mx[col], y);
                blit(cr, im.get(off ? 120 : 117), px[col], y);
                const double lx[3] = {710, 955, 1195};
                screen.textLeft("0", lx[col], y + 30, 30, pal::white, false);
            }
        blit(cr, im.get(134), 749, 789);
        blit(cr, im.get(138), 813, 809);
        screen.textLeft("0", 1035, 850, 50, pal::white, false);
    } else {
        blit(cr, im.get(82), 295, 411);
    }
    screen.writePng(pngOut);
}

} // namespace henhouse::assets
