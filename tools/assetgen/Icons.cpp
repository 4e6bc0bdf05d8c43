#include "Icons.hpp"

#include "Palette.hpp"

#include <cairo-svg.h>
#include <cairo.h>

#include <filesystem>
#include <numbers>
#include <stdexcept>

namespace henhouse::assets {

namespace {

constexpr double design = 512.0; // the icon is drawn on a 512-unit square

void setColor(cairo_t* cr, Color c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

// Fills the current path, then outlines it in the studio's dark brown.
void fillStroke(cairo_t* cr, Color fill, double line)
{
    setColor(cr, fill);
    cairo_fill_preserve(cr);
    setColor(cr, pal::outline);
    cairo_set_line_width(cr, line);
    cairo_stroke(cr);
}

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
}

void roundRectPath(cairo_t* cr, double x, double y, double w, double h, double r)
{
    const double pi = std::numbers::pi;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

// An egg standing on its wide end, centred on (cx, cy), `h` tall.
void eggPath(cairo_t* cr, double cx, double cy, double h)
{
    const double w = h * 0.76;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy - h / 2);
    cairo_curve_to(cr, cx + w * 0.55, cy - h / 2, cx + w / 2, cy + h * 0.5, cx, cy + h / 2);
    cairo_curve_to(cr, cx - w / 2, cy + h * 0.5, cx - w * 0.55, cy - h / 2, cx, cy - h / 2);
    cairo_close_path(cr);
}

// The whole icon on the 512-unit square. Small icons get bolder outlines and
// lose the details finer than a pixel (the straws, the wing, the highlight).
void paintIcon(cairo_t* cr, int pixels)
{
    const bool small = pixels <= 32;
    const double line = small ? 26.0 : pixels <= 64 ? 16.0 : 10.0;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);

    // The tile: barn red with a darker lower band, like the game's panels.
    const double inset = line / 2 + 8;
    const double side = design - 2 * inset;
    roundRectPath(cr, inset, inset, side, side, 96);
    setColor(cr, pal::barnRed);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, design * 0.62, design, design);
    setColor(cr, pal::barnRedDark);
    cairo_fill(cr);
    cairo_restore(cr);
    roundRectPath(cr, inset, inset, side, side, 96);
    setColor(cr, pal::outline);
    cairo_set_line_width(cr, line);
    cairo_stroke(cr);

    // The nest: a straw bowl across the lower half.
    cairo_new_path(cr);
    cairo_move_to(cr, 70, 330);
    cairo_curve_to(cr, 90, 460, 422, 460, 442, 330);
    cairo_close_path(cr);
    fillStroke(cr, pal::straw, line);
    if (!small) {
        setColor(cr, pal::strawDark);
        cairo_set_line_width(cr, 8);
        for (int i = 0; i < 5; ++i) {
            const double x = 120 + i * 56;
            cairo_move_to(cr, x, 360 + (i % 2) * 18);
            cairo_line_to(cr, x + 40, 392 + (i % 2) * 12);
        }
        cairo_stroke(cr);
    }

    // The hen sitting in it: a round white body, a tail, a head with a comb.
    cairo_new_path(cr);
    cairo_move_to(cr, 110, 300);
    cairo_curve_to(cr, 80, 230, 96, 170, 128, 150); // tail up
    cairo_curve_to(cr, 150, 200, 170, 220, 210, 220);
    cairo_close_path(cr);
    fillStroke(cr, pal::white, line);
    ellipsePath(cr, 240, 292, 142, 96);
    fillStroke(cr, pal::white, line);
    // The comb, behind the head.
    cairo_new_path(cr);
    ellipsePath(cr, 318, 128, 26, 30);
    ellipsePath(cr, 352, 116, 26, 32);
    ellipsePath(cr, 384, 132, 24, 28);
    fillStroke(cr, pal::comb, line);
    ellipsePath(cr, 350, 196, 68, 70);
    fillStroke(cr, pal::white, line);
    // The beak and the wattle.
    cairo_new_path(cr);
    cairo_move_to(cr, 410, 180);
    cairo_line_to(cr, 462, 202);
    cairo_line_to(cr, 410, 222);
    cairo_close_path(cr);
    fillStroke(cr, pal::beak, line);
    ellipsePath(cr, 404, 248, 16, 24);
    fillStroke(cr, pal::comb, line);
    // The eye.
    ellipsePath(cr, 372, 180, small ? 16 : 13, small ? 16 : 15);
    setColor(cr, pal::outline);
    cairo_fill(cr);
    if (!small) {
        ellipsePath(cr, 376, 175, 4.5, 4.5);
        setColor(cr, pal::white);
        cairo_fill(cr);
        // The folded wing.
        cairo_new_path(cr);
        cairo_move_to(cr, 170, 270);
        cairo_curve_to(cr, 200, 330, 280, 340, 320, 300);
        cairo_curve_to(cr, 270, 310, 220, 300, 190, 262);
        cairo_close_path(cr);
        fillStroke(cr, pal::henShadow, line * 0.8);
    }

    // The egg in front, leaning on the nest's rim.
    cairo_save(cr);
    cairo_translate(cr, 360, 372);
    cairo_rotate(cr, 0.22);
    eggPath(cr, 0, 0, 118);
    fillStroke(cr, pal::eggCream, line);
    if (!small) {
        ellipsePath(cr, -16, -22, 10, 18);
        setColor(cr, pal::white.withAlpha(0.8));
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void check(cairo_status_t status, const std::filesystem::path& path)
{
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path.string() + ": " + cairo_status_to_string(status));
}

} // namespace

void writeIcons(const std::string& outDir, const std::string& name)
{
    namespace fs = std::filesystem;
    const fs::path theme = fs::path(outDir) / "hicolor";
    for (int size : iconSizes) {
        const fs::path folder = theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        fs::create_directories(folder);
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, size / design, size / design);
        paintIcon(cr, size);
        cairo_destroy(cr);
        const fs::path file = folder / (name + ".png");
        const cairo_status_t status = cairo_surface_write_to_png(surface, file.c_str());
        cairo_surface_destroy(surface);
        check(status, file);
    }
    const fs::path folder = theme / "scalable" / "apps";
    fs::create_directories(folder);
    const fs::path file = folder / (name + ".svg");
    cairo_surface_t* surface = cairo_svg_surface_create(file.c_str(), design, design);
    cairo_t* cr = cairo_create(surface);
    paintIcon(cr, static_cast<int>(design));
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    check(status, file);
}

} // namespace henhouse::assets
