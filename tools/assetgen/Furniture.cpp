// The farm itself: floor, walls, nest house, feeders and waterers, eggs,
// dirt, the sorting table and the little bubbles. Also the small pictures
// that other families borrow (eggs, coins, sacks, pill jar, padlock).

#include "Painters.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

namespace henhouse::assets {

namespace {

void eggPath(Canvas& c, double cx, double cy, double h)
{
    // An egg: narrower top, fuller bottom.
    cairo_t* cr = c.cr();
    const double w = h * 0.74;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy - h / 2);
    cairo_curve_to(cr, cx + w * 0.62, cy - h / 2, cx + w / 2, cy + h * 0.5, cx, cy + h / 2);
    cairo_curve_to(cr, cx - w / 2, cy + h * 0.5, cx - w * 0.62, cy - h / 2, cx, cy - h / 2);
    cairo_close_path(cr);
}

void highlight(Canvas& c, double cx, double cy, double rx, double ry, double alpha = 0.7)
{
    c.ellipsePath(cx, cy, rx, ry);
    c.setColor(pal::white.withAlpha(alpha));
    cairo_fill(c.cr());
}

// Mood bubble: white speech bubble with a tail pointing down to the bird.
void moodBubble(Canvas& c)
{
    cairo_t* cr = c.cr();
    c.roundRectPath(3, 3, 50, 40, 14);
    cairo_move_to(cr, 22, 42);
    cairo_line_to(cr, 28, 53);
    cairo_line_to(cr, 34, 42);
    c.setColor(pal::outline);
    cairo_set_line_width(cr, 4);
    cairo_stroke_preserve(cr);
    c.setColor(pal::white);
    cairo_fill(cr);
}

void candledEgg(Canvas& c, int kind)
{
    // 0 glowing, 1 mutant, 2 mutant later, 3 small embryo, 4 big embryo, 5 dark with halo
    cairo_t* cr = c.cr();
    const Color glow = kind == 5 ? Color::hex(0x6B5A4A) : Color::hex(0xF7A541);
    eggPath(c, 24, 34, 56);
    c.fillStroke(glow, pal::outline, 2.5);
    cairo_save(cr);
    eggPath(c, 24, 34, 56);
    cairo_clip(cr);
    c.ellipse(20, 28, 14, 16, glow.shade(0.45), pal::outline, 0);
    // Veins.
    c.setColor(Color::hex(0xB5471F, 0.7));
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, 24, 40);
    cairo_curve_to(cr, 14, 44, 12, 52, 10, 58);
    cairo_move_to(cr, 24, 40);
    cairo_curve_to(cr, 34, 46, 36, 52, 40, 58);
    cairo_stroke(cr);
    cairo_restore(cr);
    const Color emb = Color::hex(0x8A3B12, 0.85);
    switch (kind) {
    case 1:
        c.ellipse(24, 38, 9, 8, emb, pal::outline, 0);
        for (int i = 0; i < 3; ++i)
            c.circle(18 + i * 6, 36, 2, pal::white, pal::outline, 0);
        break;
    case 2:
        c.ellipse(24, 38, 11, 10, emb, pal::outline, 0);
        c.ellipse(35, 30, 6, 3, emb, pal::outline, 0);
        c.ellipse(13, 30, 6, 3, emb, pal::outline, 0);
        c.circle(20, 35, 2, pal::white, pal::outline, 0);
        c.circle(28, 35, 2, pal::white, pal::outline, 0);
        break;
    case 3:
        cairo_arc(cr, 24, 38, 6, 0.3, 2 * std::numbers::pi - 0.3);
        c.setColor(emb);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        break;
    case 4:
        c.ellipse(24, 40, 13, 12, emb, pal::outline, 0);
        c.circle(30, 30, 7, emb, pal::outline, 0);
        c.circle(32, 29, 1.6, pal::white, pal::outline, 0);
        break;
    case 5:
        cairo_arc(cr, 24, 38, 5, 0.3, 2 * std::numbers::pi - 0.3);
        c.setColor(Color::hex(0x2E241C));
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        c.ellipse(24, 9, 9, 3, pal::gold.withAlpha(0), pal::gold, 2);
        break;
    default: break;
    }
}

void feeder(Canvas& c, bool full)
{
    cairo_t* cr = c.cr();
    // Hopper: galvanised cylinder with a cone top.
    c.roundRect(38, 12, 54, 62, 6, Color::hex(0xB8C2CC));
    c.roundRect(38, 12, 14, 62, 4, Color::hex(0xDCE3E9), pal::outline, 0);
    c.line(38, 30, 92, 30, pal::greyDark, 2);
    c.line(38, 52, 92, 52, pal::greyDark, 2);
    cairo_move_to(cr, 32, 14);
    cairo_line_to(cr, 65, 2);
    cairo_line_to(cr, 98, 14);
    cairo_close_path(cr);
    c.fillStroke(Color::hex(0x9AA7B3));
    // Round trough.
    c.ellipse(65, 92, 60, 18, Color::hex(0x8E9AA6));
    c.ellipse(65, 86, 54, 12, Color::hex(0x5F6B76), pal::outline, 2);
    if (full) {
        cairo_save(cr);
        c.ellipsePath(65, 86, 54, 12);
        cairo_clip(cr);
        c.ellipse(65, 84, 52, 14, pal::straw, pal::outline, 0);
        Scatter s(41);
        for (int i = 0; i < 40; ++i)
            c.ellipse(s.range(16, 114), s.range(76, 96), 3, 2, pal::strawDark, pal::outline, 0);
        cairo_restore(cr);
        // Heap above the rim.
        cairo_move_to(cr, 20, 86);
        cairo_curve_to(cr, 40, 68, 90, 68, 110, 86);
        cairo_close_path(cr);
        c.fillStroke(pal::straw, pal::outline, 2);
        Scatter s2(7);
        for (int i = 0; i < 14; ++i)
            c.ellipse(s2.range(36, 94), s2.range(76, 84), 2.5, 1.8, pal::strawDark, pal::outline, 0);
    } else {
        Scatter s(5);
        for (int i = 0; i < 6; ++i)
            c.ellipse(s.range(30, 100), s.range(82, 92), 2.5, 1.8, pal::strawDark, pal::outline, 0);
    }
    c.ellipse(65, 108, 30, 5, Color::hex(0x6E7A85), pal::outline, 2);
}

void bag(Canvas& c, int kind)
{
    // Feed bags for the inventory (85-87).
    const double w = c.width(), h = c.height();
    if (kind == 1)
        drawSack(c, w / 2, h / 2 + 2, w - 8, h - 8, pal::straw, true);
    if (kind == 2)
        drawSack(c, w / 2, h / 2 + 1, w - 8, h - 6, pal::grass, false);
    if (kind == 3) {
        cairo_t* cr = c.cr();
        cairo_save(cr);
        cairo_translate(cr, w / 2, h / 2);
        cairo_rotate(cr, -std::numbers::pi / 2 + 0.2);
        cairo_translate(cr, -w / 2, -h / 2);
        drawSack(c, w / 2, h / 2, h - 8, w - 10, pal::woodLight, false);
        cairo_restore(cr);
        for (int i = 0; i < 7; ++i)
            c.ellipse(44 + i * 2.6, 48 + (i % 3) * 2, 2.6, 2, pal::straw, pal::outline, 1);
    }
}

} // namespace

void drawEggShape(Canvas& c, double cx, double cy, double h, Color fill, double lineWidth)
{
    eggPath(c, cx, cy, h);
    c.fillStroke(fill, pal::outline, lineWidth);
    highlight(c, cx - h * 0.13, cy - h * 0.18, h * 0.09, h * 0.14, 0.75);
}

void drawCoin(Canvas& c, double cx, double cy, double r)
{
    c.circle(cx, cy, r, pal::gold, pal::outline, std::max(1.5, r * 0.12));
    c.circle(cx, cy, r * 0.72, pal::gold.shade(-0.12), pal::goldDark, std::max(1.0, r * 0.06));
    c.text("$", cx, cy + r * 0.36, r * 1.0, pal::gold.shade(0.5), true);
    highlight(c, cx - r * 0.4, cy - r * 0.45, r * 0.22, r * 0.14, 0.8);
}

void drawSack(Canvas& c, double cx, double cy, double w, double h, Color fill, bool chickFace)
{
    cairo_t* cr = c.cr();
    const double x0 = cx - w / 2, y0 = cy - h / 2;
    const double lw = std::max(2.0, w / 24);
    // Body with a tied neck.
    cairo_new_path(cr);
    cairo_move_to(cr, cx - w * 0.22, y0 + h * 0.2);
    cairo_curve_to(cr, x0 - w * 0.02, y0 + h * 0.35, x0, y0 + h, cx, y0 + h);
    cairo_curve_to(cr, x0 + w, y0 + h, x0 + w * 1.02, y0 + h * 0.35, cx + w * 0.22, y0 + h * 0.2);
    cairo_close_path(cr);
    c.fillStroke(fill, pal::outline, lw);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - w * 0.22, y0 + h * 0.2);
    cairo_curve_to(cr, x0 - w * 0.02, y0 + h * 0.35, x0, y0 + h, cx, y0 + h);
    cairo_curve_to(cr, x0 + w, y0 + h, x0 + w * 1.02, y0 + h * 0.35, cx + w * 0.22, y0 + h * 0.2);
    cairo_close_path(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, cx + w * 0.15, y0, w, h);
    c.setColor(fill.shade(-0.15));
    cairo_fill(cr);
    cairo_restore(cr);
    // Top ruffle and string.
    cairo_move_to(cr, cx - w * 0.2, y0 + h * 0.18);
    cairo_line_to(cr, cx - w * 0.28, y0 + 2);
    cairo_line_to(cr, cx, y0 + h * 0.08);
    cairo_line_to(cr, cx + w * 0.28, y0 + 2);
    cairo_line_to(cr, cx + w * 0.2, y0 + h * 0.18);
    cairo_close_path(cr);
    c.fillStroke(fill.shade(0.15), pal::outline, lw * 0.8);
    c.line(cx - w * 0.24, y0 + h * 0.2, cx + w * 0.24, y0 + h * 0.2, pal::barnRed, lw * 1.2);
    if (chickFace) {
        c.circle(cx, cy + h * 0.12, w * 0.2, pal::chick, pal::outline, lw * 0.6);
        c.circle(cx + w * 0.05, cy + h * 0.08, w * 0.035, pal::outline, pal::outline, 0);
        cairo_move_to(cr, cx + w * 0.16, cy + h * 0.1);
        cairo_line_to(cr, cx + w * 0.27, cy + h * 0.14);
        cairo_line_to(cr, cx + w * 0.16, cy + h * 0.18);
        cairo_close_path(cr);
        c.fillStroke(pal::beak, pal::outline, 0);
    } else {
        // An ear of wheat on the label.
        c.ellipse(cx, cy + h * 0.15, w * 0.22, h * 0.17, pal::cream, pal::outline, lw * 0.5);
        c.line(cx, cy + h * 0.28, cx, cy + h * 0.02, pal::strawDark, lw * 0.7);
        for (int i = 0; i < 3; ++i) {
            c.ellipse(cx - w * 0.05, cy + h * (0.06 + 0.07 * i), w * 0.045, h * 0.03, pal::strawDark, pal::outline, 0);
            c.ellipse(cx + w * 0.05, cy + h * (0.06 + 0.07 * i), w * 0.045, h * 0.03, pal::strawDark, pal::outline, 0);
        }
    }
}

void drawPillJar(Canvas& c, double cx, double cy, double s)
{
    const double lw = std::max(2.0, s / 24);
    c.roundRect(cx - s * 0.3, cy - s * 0.28, s * 0.6, s * 0.7, s * 0.08, pal::white, pal::outline, lw);
    c.roundRect(cx - s * 0.34, cy - s * 0.44, s * 0.68, s * 0.18, s * 0.05, pal::barnRed, pal::outline, lw);
    c.roundRect(cx - s * 0.08, cy - s * 0.1, s * 0.16, s * 0.4, 1, pal::barnRed, pal::outline, 0);
    c.roundRect(cx - s * 0.2, cy + s * 0.02, s * 0.4, s * 0.16, 1, pal::barnRed, pal::outline, 0);
}

void drawPadlock(Canvas& c, double cx, double cy, double s)
{
    cairo_t* cr = c.cr();
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy - s * 0.1, s * 0.26, std::numbers::pi, 2 * std::numbers::pi);
    c.setColor(pal::outline);
    cairo_set_line_width(cr, s * 0.16);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy - s * 0.1, s * 0.26, std::numbers::pi, 2 * std::numbers::pi);
    c.setColor(pal::greyLight);
    cairo_set_line_width(cr, s * 0.08);
    cairo_stroke(cr);
    c.roundRect(cx - s * 0.4, cy - s * 0.1, s * 0.8, s * 0.6, s * 0.1, pal::gold, pal::outline,
                std::max(2.0, s * 0.06));
    c.circle(cx, cy + s * 0.14, s * 0.08, pal::outline, pal::outline, 0);
    c.roundRect(cx - s * 0.03, cy + s * 0.16, s * 0.06, s * 0.16, 1, pal::outline, pal::outline, 0);
}

bool paintFurniture(int id, Canvas& c)
{
    cairo_t* cr = c.cr();
    const double W = c.width(), H = c.height();
    switch (id) {
    case image::placeholder: return true; // the placeholder stays fully transparent
    case image::egg1: drawEggShape(c, 24, 32, 58, pal::white, 2.5); return true;
    case image::egg2: drawEggShape(c, 24, 32, 58, pal::eggCream, 2.5); return true;
    case image::egg3: drawEggShape(c, 24, 32, 58, Color::hex(0xC98E5A), 2.5); return true;
    case image::egg4: {
        drawEggShape(c, 24, 32, 58, Color::hex(0x9ED9C8), 2.5);
        Scatter s(10);
        for (int i = 0; i < 14; ++i)
            c.circle(s.range(12, 36), s.range(14, 54), s.range(1, 2.2), Color::hex(0x4E8C7A), pal::outline, 0);
        return true;
    }
    case image::egg1xray: candledEgg(c, 0); return true;
    case image::embryomutanto1: candledEgg(c, 1); return true;
    case image::embryo2mutanto: candledEgg(c, 2); return true;
    case image::embryo1: candledEgg(c, 3); return true;
    case image::embryo21: candledEgg(c, 4); return true;
    case image::embryorip1: candledEgg(c, 5); return true;
    case image::transporter1: { // conveyor segment, seamless left-right
        c.roundRect(-4, 10, W + 8, 60, 8, Color::hex(0x555C63));
        for (int i = 0; i < 8; ++i)
            c.line(i * 64 + 32, 14, i * 64 + 32, 66, Color::hex(0x6D757D), 4);
        for (int i = 0; i < 8; ++i)
            c.circle(i * 64 + 32, 80, 13, pal::greyLight);
        return true;
    }
    case image::xray: { // candling screen
        c.circle(160, 160, 150, Color::hex(0x17305A), Color::hex(0x7FD8FF), 8);
        cairo_save(cr);
        c.ellipsePath(160, 160, 144, 144);
        cairo_clip(cr);
        c.setColor(Color::hex(0x7FD8FF, 0.25));
        cairo_set_line_width(cr, 2);
        for (int i = 40; i <= 280; i += 40) {
            cairo_move_to(cr, i, 20);
            cairo_line_to(cr, i, 300);
            cairo_move_to(cr, 20, i);
            cairo_line_to(cr, 300, i);
        }
        cairo_stroke(cr);
        cairo_restore(cr);
        c.circle(160, 160, 154, pal::white.withAlpha(0), pal::outline, 4);
        return true;
    }
    case image::eggBreaking:
    case image::eggPuff: { // egg breaking / puff strips
        for (int f = 0; f < 8; ++f) {
            const double ox = f * 128 + 64;
            if (id == image::eggBreaking) {
                const double open = f / 7.0;
                cairo_save(cr);
                cairo_translate(cr, ox, 70);
                if (f < 3) {
                    drawEggShape(c, 0, 0, 90, pal::eggCream, 3);
                    for (int k = 0; k <= f; ++k) { // cracks spreading
                        cairo_move_to(cr, -20 + k * 8, -6);
                        cairo_line_to(cr, -12 + k * 8, 4);
                        cairo_line_to(cr, -4 + k * 8, -4);
                    }
                    c.setColor(pal::outline);
                    cairo_set_line_width(cr, 3);
                    cairo_stroke(cr);
                } else {
                    c.ellipse(0, 34, 40, 8, Color::hex(0xF2C94C, 0.9), pal::outline, 2); // yolk
                    c.circle(0, 32, 12 + 4 * open, Color::hex(0xF29A1E), pal::outline, 2);
                    c.ellipse(-30 - 20 * open, 18 + 10 * open, 20, 14, pal::eggCream, pal::outline, 3);
                    c.ellipse(30 + 20 * open, 18 + 10 * open, 20, 14, pal::eggCream, pal::outline, 3);
                }
                cairo_restore(cr);
            } else {
                const double t = f / 7.0;
                const double r = 16 + 34 * t;
                const double a = 1.0 - t * 0.85;
                for (int k = 0; k < 5; ++k) {
                    const double ang = k * 2 * std::numbers::pi / 5;
                    c.circle(ox + std::cos(ang) * r * 0.6, 64 + std::sin(ang) * r * 0.5, r * 0.55,
                             pal::white.withAlpha(a), pal::outline.withAlpha(a * 0.5), 2);
                }
            }
        }
        return true;
    }
    case image::cell: { // floor tile: warm sandy earth, one faint straw fleck
        c.setColor(pal::earth);
        cairo_paint(cr);
        c.line(6, 15, 12, 13, pal::earth.shade(0.12), 1.2);
        c.circle(18, 6, 0.9, pal::earth.shade(-0.06), pal::outline, 0);
        return true;
    }
    case image::rectangle221: { // barn back wall
        for (int i = 0; i < 6; ++i) {
            const Color plank = (i % 2) ? Color::hex(0xA5432F) : Color::hex(0xB24A33);
            cairo_rectangle(cr, 0, i * 20.5, W, 20.5);
            c.setColor(plank);
            cairo_fill(cr);
            c.line(0, i * 20.5 + 20, W, i * 20.5 + 20, Color::hex(0x7A2E20), 2);
            for (int x = (i * 157) % 240; x < W; x += 240)
                c.line(x, i * 20.5, x, i * 20.5 + 20, Color::hex(0x7A2E20), 2);
        }
        cairo_rectangle(cr, 0, H - 10, W, 10);
        c.setColor(Color::hex(0x4A2E1A));
        cairo_fill(cr);
        return true;
    }
    case image::frame60: { // nest-house front
        c.roundRect(1.5, 10, W - 3, H - 11.5, 8, pal::wood);
        c.roundRect(0, 0, W, 16, 6, pal::woodDark); // roof ledge
        for (double x = 6; x < W; x += 155.5)
            c.roundRect(x, 12, 12, H - 14, 3, pal::woodLight);
        return true;
    }
    case image::frame49: { // straw bedding
        c.roundRect(1, 1, W - 2, H - 2, 10, pal::straw, pal::strawDark, 2);
        Scatter s(39);
        for (int i = 0; i < 240; ++i) {
            const double x = s.range(8, W - 8), y = s.range(8, H - 8), a = s.range(-0.6, 0.6);
            c.line(x, y, x + std::cos(a) * 14, y + std::sin(a) * 14, (i % 3) ? pal::strawDark : pal::straw.shade(0.3),
                   2);
        }
        return true;
    }
    case image::subtract: { // yard detail overlay
        Scatter s(40);
        auto clearZone = [](double x, double y) { return y < 140 || (x >= 650 && y < 300) || (x < 662 && y < 390); };
        for (int i = 0; i < 260; ++i) {
            const double x = s.range(10, W - 10), y = s.range(140, H - 10);
            if (clearZone(x, y))
                continue;
            const int kind = i % 3;
            if (kind == 0) {
                const double a = s.range(-std::numbers::pi, std::numbers::pi);
                c.line(x, y, x + std::cos(a) * 16, y + std::sin(a) * 6, pal::straw.withAlpha(0.8), 2.5);
            } else if (kind == 1) {
                c.ellipse(x, y, s.range(2, 5), s.range(1.5, 3.5), Color::hex(0x9C8A74, 0.8),
                          pal::outline.withAlpha(0.3), 1);
            } else {
                for (int k = -1; k <= 1; ++k)
                    c.line(x, y, x + k * 5, y - 10 + std::abs(k) * 3, pal::grassDark.withAlpha(0.75), 2.5);
            }
        }
        // Soft darker margin on left, right and bottom edges (below the wall).
        auto edge = [&](double x0, double y0, double x1, double y1, double gx0, double gy0, double gx1, double gy1) {
            cairo_pattern_t* g = cairo_pattern_create_linear(gx0, gy0, gx1, gy1);
            cairo_pattern_add_color_stop_rgba(g, 0, 0.2, 0.12, 0.05, 0.35);
            cairo_pattern_add_color_stop_rgba(g, 1, 0.2, 0.12, 0.05, 0.0);
            cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        };
        edge(0, 390, 40, H, 0, 0, 40, 0);
        edge(W - 40, 300, W, H, W, 0, W - 40, 0);
        edge(0, H - 40, W, H, 0, H, 0, H - 40);
        return true;
    }
    case image::feeding: feeder(c, true); return true;
    case image::emptyFeeding: feeder(c, false); return true;
    case image::drinkingbowl: { // waterer: blue jug on a red tray, gauge socket at (70.5, 110)
        c.ellipse(70.5, 118, 66, 22, pal::barnRed);
        c.ellipse(70.5, 112, 56, 14, Color::hex(0x6CC3F0), pal::outline, 2);
        cairo_move_to(cr, 34, 104);
        cairo_curve_to(cr, 26, 60, 34, 20, 52, 12);
        cairo_line_to(cr, 89, 12);
        cairo_curve_to(cr, 107, 20, 115, 60, 107, 104);
        cairo_close_path(cr);
        c.fillStroke(pal::blue.withAlpha(0.92));
        c.roundRect(56, 3, 29, 12, 4, pal::blue.shade(-0.2));
        highlight(c, 48, 50, 6, 22, 0.5);
        c.circle(70.5, 110, 33, Color::hex(0x2A1A0E)); // socket for the dial
        return true;
    }
    case image::indicator: { // gauge face
        c.circle(25, 25, 23, pal::white, pal::outline, 3);
        cairo_new_path(cr);
        cairo_arc(cr, 25, 25, 17, std::numbers::pi * 0.75, std::numbers::pi * 2.25);
        cairo_pattern_t* g = cairo_pattern_create_linear(5, 0, 45, 0);
        cairo_pattern_add_color_stop_rgb(g, 0, 0.85, 0.92, 1.0);
        cairo_pattern_add_color_stop_rgb(g, 1, 0.1, 0.45, 0.9);
        cairo_set_source(cr, g);
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
        cairo_pattern_destroy(g);
        for (int i = 0; i <= 6; ++i) {
            const double a = std::numbers::pi * 0.75 + i * std::numbers::pi * 1.5 / 6;
            c.line(25 + std::cos(a) * 11, 25 + std::sin(a) * 11, 25 + std::cos(a) * 14, 25 + std::sin(a) * 14,
                   pal::outline, 1.5);
        }
        eggPath(c, 25, 36, 8);
        c.fillStroke(pal::blue, pal::outline, 0);
        return true;
    }
    case image::arrowindicator: { // needle
        cairo_move_to(cr, 2.5, 0);
        cairo_line_to(cr, 4.6, 18);
        cairo_line_to(cr, 2.5, 22);
        cairo_line_to(cr, 0.4, 18);
        cairo_close_path(cr);
        c.fillStroke(pal::barnRed, pal::outline, 0);
        c.circle(2.5, 18, 2.2, pal::outline, pal::outline, 0);
        return true;
    }
    case image::feed: { // feed silo with a spout at local y 104-144 on the left
        c.roundRect(4, 104, 34, 40, 6, pal::grey);
        c.roundRect(28, 20, 114, 160, 16, pal::white);
        for (int i = 0; i < 4; ++i)
            c.roundRect(28, 20 + i * 40, 114, 20, 0, pal::barnRed, pal::outline, 0);
        c.roundRect(28, 20, 114, 160, 16, pal::white.withAlpha(0), pal::outline, 3);
        cairo_move_to(cr, 22, 24);
        cairo_line_to(cr, 85, 2);
        cairo_line_to(cr, 148, 24);
        cairo_close_path(cr);
        c.fillStroke(pal::barnRedDark);
        c.circle(85, 100, 30, pal::cream);
        drawSack(c, 85, 100, 34, 40, pal::woodLight, false);
        c.roundRect(40, 178, 90, 10, 3, pal::greyDark);
        return true;
    }
    case image::gutterfood: { // feed-line segment
        cairo_move_to(cr, 0, 8);
        cairo_line_to(cr, W, 8);
        cairo_curve_to(cr, W, 46, 0, 46, 0, 8);
        c.setColor(Color::hex(0x9AA7B3));
        cairo_rectangle(cr, 0, 8, W, 28);
        cairo_fill(cr);
        cairo_rectangle(cr, 0, 8, W, 12);
        c.setColor(pal::straw);
        cairo_fill(cr);
        Scatter s(46);
        for (int i = 0; i < 60; ++i)
            c.ellipse(s.range(4, W - 4), s.range(10, 18), 2.6, 1.8, pal::strawDark, pal::outline, 0);
        c.line(0, 8, W, 8, pal::outline, 3);
        c.line(0, 36, W, 36, pal::outline, 3);
        c.line(0, 26, W, 26, Color::hex(0xC8D1D9), 2);
        return true;
    }
    case image::frame67:
        moodBubble(c);
        c.text("Zzz", 28, 31, 18, Color::hex(0x5A6C9A));
        return true;
    case image::frame68:
        moodBubble(c);
        drawEggShape(c, 28, 23, 28, pal::eggCream, 2.5);
        return true;
    case image::frame69: {
        moodBubble(c);
        cairo_move_to(cr, 28, 8);
        cairo_curve_to(cr, 36, 20, 40, 26, 40, 30);
        cairo_arc(cr, 28, 30, 12, 0, std::numbers::pi);
        cairo_curve_to(cr, 16, 26, 20, 20, 28, 8);
        c.fillStroke(pal::blue, pal::outline, 2.5);
        highlight(c, 24, 30, 3, 5);
        return true;
    }
    case image::frame70: {
        moodBubble(c);
        c.line(28, 38, 28, 10, pal::strawDark, 3);
        for (int i = 0; i < 4; ++i) {
            c.ellipse(23, 14 + i * 6, 5, 3.4, pal::straw, pal::outline, 1.5);
            c.ellipse(33, 14 + i * 6, 5, 3.4, pal::straw, pal::outline, 1.5);
        }
        return true;
    }
    case image::frame71: {
        moodBubble(c);
        cairo_move_to(cr, 28, 36);
        cairo_curve_to(cr, 10, 24, 16, 8, 28, 16);
        cairo_curve_to(cr, 40, 8, 46, 24, 28, 36);
        c.fillStroke(pal::barnRed, pal::outline, 2.5);
        return true;
    }
    case image::frame72: {
        moodBubble(c);
        c.circle(28, 23, 14, Color::hex(0x9BD66A), pal::outline, 2.5);
        c.line(22, 20, 22, 21, pal::outline, 3);
        c.line(34, 20, 34, 21, pal::outline, 3);
        cairo_move_to(cr, 21, 31);
        cairo_curve_to(cr, 25, 27, 31, 27, 35, 31);
        c.setColor(pal::outline);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        return true;
    }
    case image::emotionKurort: { // resort: palm tree and a little sun
        moodBubble(c);
        c.circle(40, 14, 6, pal::gold, pal::outline, 1.5);
        c.ellipse(24, 37, 14, 4, pal::straw, pal::outline, 1.5);
        cairo_move_to(cr, 24, 36);
        cairo_curve_to(cr, 22, 28, 24, 22, 27, 17);
        c.setColor(pal::wood);
        cairo_set_line_width(cr, 3.5);
        cairo_stroke(cr);
        for (int k = 0; k < 4; ++k) {
            const double a = -std::numbers::pi * 0.95 + k * std::numbers::pi * 0.3;
            c.ellipse(27 + std::cos(a) * 7, 17 + std::sin(a) * 4 + 2, 8, 3, pal::grass, pal::outline, 1.2);
        }
        return true;
    }
    case image::eggC1: drawEggShape(c, 15, 20, 37, pal::eggCream, 2); return true;
    // The two marks differ in shape as well as colour (a cross and a tick,
    // bold, white over a dark edge), so they read apart for every eye.
    case image::eggC1red: {
        drawEggShape(c, 15, 20, 37, pal::tomato, 2);
        for (auto [colour, width] : {std::pair{pal::outline, 6.5}, std::pair{pal::white, 4.0}}) {
            c.line(8.5, 13.5, 21.5, 28.5, colour, width);
            c.line(21.5, 13.5, 8.5, 28.5, colour, width);
        }
        return true;
    }
    case image::eggC1green: {
        drawEggShape(c, 15, 20, 37, Color::hex(0x5FCB5A), 2);
        for (auto [colour, width] : {std::pair{pal::outline, 6.5}, std::pair{pal::white, 4.0}}) {
            cairo_move_to(cr, 7.5, 21);
            cairo_line_to(cr, 13, 27.5);
            cairo_line_to(cr, 23, 12.5);
            c.setColor(colour);
            cairo_set_line_width(cr, width);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke(cr);
        }
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
        return true;
    }
    case image::egg0: {
        c.circle(17, 17, 16, pal::black.withAlpha(0.25), pal::outline, 0);
        c.ellipse(17, 16, 11, 13, pal::eggCream, pal::outline, 2);
        highlight(c, 13, 11, 3, 4);
        return true;
    }
    case image::sortingMachine1: { // sorting machine table
        c.roundRect(2, 2, W - 4, H - 4, 14, pal::steel);
        c.roundRect(6, 6, 40, H - 12, 8, pal::gold);
        c.roundRect(W - 46, 6, 40, H - 12, 8, pal::gold);
        c.line(26, 14, 26, H - 14, pal::goldDark, 4);
        c.line(W - 26, 14, W - 26, H - 14, pal::goldDark, 4);
        c.roundRect(50, 10, 513, 280, 10, Color::hex(0x7FB77E));
        c.roundRect(56, 16, 501, 40, 8, Color::hex(0x92C790), pal::outline, 0);
        return true;
    }
    case image::sortingMachine2: { // scanner gantry: mostly see-through
        cairo_rectangle(cr, 21, 24, 613, 80);
        c.setColor(Color::hex(0x39E0FF, 0.22));
        cairo_fill(cr);
        c.line(21, 104, W - 21, 104, Color::hex(0x39E0FF, 0.35), 3);
        c.roundRect(4, 2, W - 8, 22, 8, Color::hex(0x2E3A46));
        c.roundRect(2, 0, 40, 30, 6, Color::hex(0x46525E));
        c.roundRect(W - 42, 0, 40, 30, 6, Color::hex(0x46525E));
        c.circle(W / 2, 13, 5, Color::hex(0x39E0FF), pal::outline, 1.5);
        return true;
    }
    case image::eggPackaging:
    case image::eggPackagingC0:
    case image::eggPackagingC1: { // egg cartons
        c.roundRect(2, 2, W - 4, H - 4, 8, Color::hex(0xC9A26B));
        if (id != image::eggPackaging) {
            const Color band = id == image::eggPackagingC0 ? pal::gold : Color::hex(0xC7CDD3);
            c.roundRect(2, 2, W - 4, 20, 6, band);
            c.text(id == image::eggPackagingC0 ? "C0" : "C1", W / 2, 18, 16, pal::outline);
        }
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < 3; ++k)
                c.roundRect(8 + k * 36, 24 + r * 36, 34, 34, 12, Color::hex(0xA98556), pal::outline, 1.5);
        return true;
    }
    case image::zherlob: { // nest trough
        cairo_move_to(cr, 0, 6);
        cairo_line_to(cr, W, 6);
        cairo_line_to(cr, W, 30);
        cairo_curve_to(cr, W, 38, W - 8, 38, W - 12, 38);
        cairo_line_to(cr, 0, 38);
        cairo_close_path(cr);
        c.fillStroke(pal::woodPale, pal::outline, 3);
        c.line(0, 26, W, 26, pal::woodLight, 6);
        c.roundRect(0, 1, W, 8, 3, pal::greyLight, pal::outline, 2);
        return true;
    }
    case image::ventilation: { // wall fan
        c.roundRect(4, 4, 112, 112, 10, pal::grey);
        c.circle(60, 60, 46, Color::hex(0x3C434A));
        cairo_save(cr);
        cairo_translate(cr, 60, 60);
        for (int k = 0; k < 4; ++k) {
            cairo_save(cr);
            cairo_rotate(cr, k * std::numbers::pi / 2 + 0.3);
            c.ellipse(0, -22, 11, 20, pal::greyLight, pal::outline, 2);
            cairo_restore(cr);
        }
        cairo_restore(cr);
        c.circle(60, 60, 8, pal::greyDark);
        c.setColor(pal::outline.withAlpha(0.6));
        cairo_set_line_width(cr, 2);
        for (int k = 0; k < 3; ++k) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, 60, 60, 18 + k * 12, 0, 2 * std::numbers::pi);
        }
        cairo_stroke(cr);
        for (double x : {10.0, 110.0})
            for (double y : {10.0, 110.0})
                c.circle(x, y, 3, pal::greyDark, pal::outline, 1);
        return true;
    }
    case image::panel1: { // nursery floorboards with a picket fence
        c.setColor(Color::hex(0xE3B26A));
        cairo_paint(cr);
        cairo_pattern_t* g = cairo_pattern_create_radial(52, 60, 10, 52, 60, 160);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.85, 0.45, 0.35);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.85, 0.45, 0.0);
        cairo_set_source(cr, g);
        cairo_paint(cr);
        cairo_pattern_destroy(g);
        for (int i = 0; i < 12; ++i)
            c.line(0, i * 20 + 10, W, i * 20 + 10, Color::hex(0xC4914E), 2);
        c.line(0, H - 22, W, H - 22, pal::outline, 3);
        c.roundRect(-4, H - 22, W + 8, 8, 2, pal::white, pal::outline, 2);
        for (int k = 0; k < 4; ++k) {
            const double x = 6 + k * 26.25;
            cairo_move_to(cr, x, H - 4);
            cairo_line_to(cr, x, H - 28);
            cairo_line_to(cr, x + 7, H - 34);
            cairo_line_to(cr, x + 14, H - 28);
            cairo_line_to(cr, x + 14, H - 4);
            cairo_close_path(cr);
            c.fillStroke(pal::white, pal::outline, 2);
        }
        c.line(0, H - 1, W, H - 1, pal::outline, 2);
        return true;
    }
    case image::pen1:
    case image::pen2:
    case image::pen3: { // droppings
        Scatter s(static_cast<std::uint32_t>(id));
        const int n = id == image::pen3 ? 4 : (id == image::pen1 ? 3 : 5);
        for (int i = 0; i < n; ++i) {
            const double x = s.range(W * 0.3, W * 0.7), y = s.range(H * 0.35, H * 0.7);
            const double r = s.range(W * 0.1, W * 0.2);
            c.ellipse(x, y, r, r * 0.7, Color::hex(0x7A6A3A), pal::outline, 1.5);
            c.ellipse(x - r * 0.2, y - r * 0.2, r * 0.35, r * 0.2, Color::hex(0xA8A070), pal::outline, 0);
        }
        if (id == image::pen2) { // tiny cartoon fly
            c.ellipse(40, 8, 4, 3, pal::white.withAlpha(0.8), pal::outline, 1);
            c.circle(42, 12, 2.5, pal::outline, pal::outline, 0);
        }
        return true;
    }
    case image::pollution1: {
        c.ellipse(55, 36, 52, 30, Color::hex(0x8B6B45, 0.9), pal::outline, 2);
        c.ellipse(55, 38, 34, 18, Color::hex(0x5E4426, 0.9), pal::outline, 0);
        highlight(c, 38, 28, 10, 3, 0.35);
        return true;
    }
    case image::pollution2: {
        Scatter s(158);
        for (int i = 0; i < 24; ++i) {
            const double x = s.range(10, 80), y = s.range(12, 52), a = s.range(-0.8, 0.8);
            c.line(x, y, x + std::cos(a) * 16, y + std::sin(a) * 16,
                   i % 2 ? Color::hex(0x9C8450) : Color::hex(0x7C6A3A), 3);
        }
        c.ellipse(30, 30, 12, 4, pal::white, pal::outline, 1.5);
        c.ellipse(62, 40, 11, 4, pal::white, pal::outline, 1.5);
        return true;
    }
    case image::bubble: { // soap bubble
        c.circle(24, 24, 21, Color::hex(0xBFE8FF, 0.4), pal::white.withAlpha(0), 0);
        cairo_pattern_t* g = cairo_pattern_create_linear(4, 4, 44, 44);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.4, 0.6, 0.9);
        cairo_pattern_add_color_stop_rgba(g, 0.5, 0.4, 0.9, 1, 0.9);
        cairo_pattern_add_color_stop_rgba(g, 1, 0.6, 1, 0.4, 0.9);
        cairo_arc(cr, 24, 24, 21, 0, 2 * std::numbers::pi);
        cairo_set_source(cr, g);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        cairo_pattern_destroy(g);
        highlight(c, 16, 15, 5, 3.5, 0.9);
        return true;
    }
    case image::bubble2: {
        c.circle(24, 24, 21, Color::hex(0x9FF0C8, 0.4), Color::hex(0x3FBF8A, 0.9), 2.5);
        c.roundRect(21, 13, 6, 22, 1.5, pal::white, pal::outline, 0);
        c.roundRect(13, 21, 22, 6, 1.5, pal::white, pal::outline, 0);
        highlight(c, 15, 14, 4, 3, 0.9);
        return true;
    }
    case image::majesticonsMusic: { // music note
        for (int pass = 0; pass < 2; ++pass) {
            const Color col = pass == 0 ? pal::white : pal::purple;
            const double grow = pass == 0 ? 3 : 0;
            c.ellipse(11, 31, 7 + grow, 5.5 + grow, col, pal::outline, 0);
            c.ellipse(29, 27, 7 + grow, 5.5 + grow, col, pal::outline, 0);
            c.line(17, 31, 17, 9, col, 3.5 + 2 * grow);
            c.line(35, 27, 35, 5, col, 3.5 + 2 * grow);
            c.line(17, 9, 35, 5, col, 6 + 2 * grow);
        }
        return true;
    }
    case image::cormbaby1: bag(c, 1); return true;
    case image::cormbaby2: bag(c, 2); return true;
    case image::cormbaby3: bag(c, 3); return true;
    case image::tabletki: {
        drawPillJar(c, 28, 36, 48);
        c.ellipse(54, 56, 8, 5, pal::white, pal::outline, 2);
        c.ellipse(56, 44, 8, 5, Color::hex(0xF29ABF), pal::outline, 2);
        return true;
    }
    default: return false;
    }
}

} // namespace henhouse::assets
