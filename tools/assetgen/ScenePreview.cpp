#include "ScenePreview.hpp"

#include "Canvas.hpp"
#include "Painters.hpp"
#include "core/ImageTable.hpp"

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
    Canvas& get(int id)
    {
        auto it = glyphCache.find(id);
        if (it != glyphCache.end())
            return *it->second;
        const TImageInfo* e = findImage(id);
        if (!e)
            throw std::runtime_error("unknown id " + std::to_string(id));
        auto c = std::make_unique<Canvas>(e->width, e->height);
        if (!paintAsset(id, *c))
            throw std::runtime_error("no painter for id " + std::to_string(id));
        return *glyphCache.emplace(id, std::move(c)).first->second;
    }

private:
    std::map<int, std::unique_ptr<Canvas>> glyphCache;
};

// Draws like an SFML sprite: position, origin, scale, rotation (degrees), optional sub-rectangle.
void blit(cairo_t* cr, Canvas& img, double x, double y, double ox = 0, double oy = 0, double sx = 1, double sy = 1,
          double rotDeg = 0, int rx = 0, int ry = 0, int rw = -1, int rh = -1)
{
    if (rw < 0)
        rw = img.width();
    if (rh < 0)
        rh = img.height();
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

void frame(cairo_t* cr, Canvas& sheet, int cols, int f, double x, double y, double scale, bool left = false)
{
    blit(cr, sheet, x, y, 256, 384, left ? -scale : scale, scale, 0, (f % cols) * 512, (f / cols) * 512, 512, 512);
}

} // namespace

void ScenePreview::write(const std::filesystem::path& pngOut, bool shopOpen)
{
    Images im;
    Canvas screen(1920, 1080);
    cairo_t* cr = screen.cr();
    for (int ty = 0; ty < 45; ++ty)
        for (int tx = 0; tx < 80; ++tx)
            blit(cr, im.get(image::cell), tx * 24, ty * 24);
    blit(cr, im.get(image::pollution1), 900, 820);
    blit(cr, im.get(image::pen1), 1200, 560);
    blit(cr, im.get(image::pollution2), 420, 640);
    blit(cr, im.get(image::rectangle221), 0, 0);
    for (int x = 550; x >= -80; x -= 105)
        blit(cr, im.get(image::panel1), x, 132);
    blit(cr, im.get(image::frame60), 673, 133);
    blit(cr, im.get(image::frame49), 680, 143);
    blit(cr, im.get(image::subtract), 0, 0);
    blit(cr, im.get(image::zherlob), 672, 250);
    for (double x : {0.0, 125.0, 1675.0, 1800.0})
        blit(cr, im.get(image::ventilation), x, 0);
    for (double gx : {586.0, 973.6, 1360.54})
        blit(cr, im.get(image::gutterfood), gx, 658);
    blit(cr, im.get(image::feed), 1764, 554);
    const double feeders[4][2] = {{100, 275}, {586, 738}, {973.6, 738}, {1360.54, 738}};
    for (int i = 0; i < 4; ++i)
        blit(cr, im.get(i == 2 ? image::emptyFeeding : image::feeding), feeders[i][0], feeders[i][1], 65, 113, 0.75,
             0.75);
    blit(cr, im.get(image::iconWarning), 973.6 - 25, 738 - 125);
    const double bowls[3][2] = {{300, 275}, {694, 459}, {1084, 459}};
    for (auto& b : bowls) {
        blit(cr, im.get(image::drinkingbowl), b[0], b[1], 70.5, 143, 0.75, 0.75);
        blit(cr, im.get(image::indicator), b[0], b[1] - 25, 25, 25);
        blit(cr, im.get(image::arrowindicator), b[0], b[1] - 25, 2.5, 18, 1, 1, 40);
    }
    // Birds: sitting hens in the nest row, hens in the yard, chicks in the nursery.
    Canvas& seat = im.get(image::seat);
    for (int i = 0; i < 5; ++i)
        frame(cr, seat, 8, 4 + i * 5, 780 + i * 230, 220, 0.3);
    frame(cr, im.get(image::walk), 8, 2, 800, 520, 0.3);
    frame(cr, im.get(image::eat), 8, 3, 1084 - 50, 459, 0.3);
    frame(cr, im.get(image::dance), 8, 25, 1300, 480, 0.3, true);
    frame(cr, im.get(image::kurort2), 8, 5, 1550, 880, 0.3);
    frame(cr, im.get(image::walk), 8, 6, 600, 850, 0.2, true);
    blit(cr, im.get(image::frame68), 800, 520, 28, 168);
    blit(cr, im.get(image::frame70), 600, 850, 28, 168);
    blit(cr, im.get(image::emotionKurort), 1550, 880, 28, 168);
    for (int i = 0; i < 6; ++i)
        frame(cr, im.get(i % 2 ? image::chickEat : image::chickWalk), 8, i * 5, 120 + i * 80, 200 + (i % 3) * 50, 0.12,
              i % 3 == 1);
    blit(cr, im.get(image::eggC1), 1000, 196, 15, 20, 1, 1, 30);
    blit(cr, im.get(image::eggC1), 1400, 262, 15, 20, 1, 1, -60);
    blit(cr, im.get(image::bubble), 500, 560);
    blit(cr, im.get(image::majesticonsMusic), 1330, 380);
    // HUD.
    blit(cr, im.get(image::frameTimer), 29, 15);
    screen.textLeft("06:00", 90, 60, 40, pal::white, false);
    blit(cr, im.get(image::frameCurCoin), 1718, 15);
    screen.textLeft("120", 1780, 55, 35, pal::white, false);
    blit(cr, im.get(image::frameCountEggs), 735, 0);
    screen.textLeft("12", 910, 90, 30, pal::white, false);
    blit(cr, im.get(image::quest1), 29, 92);
    screen.textLeft("120/1000", 258, 136, 30, pal::white, false);
    blit(cr, im.get(image::inventory), 55, 870);
    blit(cr, im.get(image::cormbaby1), 75, 939);
    blit(cr, im.get(image::cormbaby2), 145, 929);
    blit(cr, im.get(image::cormbaby3), 206, 939);
    blit(cr, im.get(image::tabletki), 270, 929);
    for (int k = 0; k < 4; ++k)
        screen.textLeft("3", 103 + 66 * k, 1012, 12, pal::white, false);
    blit(cr, im.get(image::buttonControl), 600, 1000);
    const int sockets[4] = {image::buttonSort, shopOpen ? image::buttonShopPressed : image::buttonShop,
                            image::buttonSound, image::buttonClean};
    const int icons[4] = {image::iconScanWhite, shopOpen ? image::iconShop : image::iconShopWhite,
                          image::iconMusicWhite, image::iconCleanWhite};
    for (int i = 0; i < 4; ++i) {
        const double x = 682 + 146 * i;
        blit(cr, im.get(sockets[i]), x, 944);
        blit(cr, im.get(image::circleButton), x, 944);
        blit(cr, im.get(icons[i]), x + 56.5, 944 + 56.5, 31.5, 31.5);
    }
    blit(cr, im.get(image::kurort), 1420, 975, 179, 270, 0.5, 0.5, -15);
    blit(cr, im.get(image::phsiholog), 1720, 975, 179, 270, 0.5, 0.5, 15);
    blit(cr, im.get(image::veterinar), 1570, 975, 179, 270, 0.5, 0.5, 0);
    if (shopOpen) {
        blit(cr, im.get(image::shopPage2), 450, 479);
        blit(cr, im.get(image::shopPage3), 450, 617);
        blit(cr, im.get(image::shopPage1), 415, 342);
        blit(cr, im.get(image::shopPage1Background), 530, 100);
        blit(cr, im.get(image::buttonClose), 1323, 150);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 3; ++col) {
                const double mx[3] = {655, 897, 1138}, px[3] = {745, 987, 1228};
                const double y = row ? 722 : 448;
                const bool off = row == 1 && col > 0;
                blit(cr, im.get(off ? image::buttonMinusDisabled : image::buttonMinus), mx[col], y);
                blit(cr, im.get(off ? image::buttonPlusDisabled : image::buttonPlus), px[col], y);
                const double lx[3] = {710, 955, 1195};
                screen.textLeft("0", lx[col], y + 30, 30, pal::white, false);
            }
        blit(cr, im.get(image::button), 749, 789);
        blit(cr, im.get(image::buy), 813, 809);
        screen.textLeft("0", 1035, 850, 50, pal::white, false);
    } else {
        blit(cr, im.get(image::ortomyk), 295, 411);
    }
    screen.writePng(pngOut);
}

} // namespace henhouse::assets
