// Story cards (a portrait and a speech bubble), the celebration banner and
// the quest panel.

#include "Painters.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

namespace henhouse::assets {

namespace {

enum class Speaker { Ortomyk, Plimsa };

void farmerPortrait(Canvas& c, double cx, double cy, double s)
{
    cairo_t* cr = c.cr();
    const double lw = 4;
    // Overalls and shirt.
    c.roundRect(cx - s * 0.42, cy + s * 0.22, s * 0.84, s * 0.5, s * 0.16, Color::hex(0xD9534F), pal::outline, lw);
    c.roundRect(cx - s * 0.3, cy + s * 0.32, s * 0.6, s * 0.4, s * 0.08, Color::hex(0x3C6FB4), pal::outline, lw);
    c.line(cx - s * 0.22, cy + s * 0.34, cx - s * 0.3, cy + s * 0.22, Color::hex(0x3C6FB4), s * 0.07);
    c.line(cx + s * 0.22, cy + s * 0.34, cx + s * 0.3, cy + s * 0.22, Color::hex(0x3C6FB4), s * 0.07);
    c.circle(cx - s * 0.2, cy + s * 0.4, s * 0.03, pal::gold, pal::outline, 2);
    c.circle(cx + s * 0.2, cy + s * 0.4, s * 0.03, pal::gold, pal::outline, 2);
    // Head.
    c.ellipse(cx, cy, s * 0.26, s * 0.28, Color::hex(0xF2C29B), pal::outline, lw);
    c.circle(cx - s * 0.26, cy + s * 0.02, s * 0.06, Color::hex(0xF2C29B), pal::outline, lw);
    c.circle(cx + s * 0.26, cy + s * 0.02, s * 0.06, Color::hex(0xF2C29B), pal::outline, lw);
    c.ellipse(cx - s * 0.1, cy - s * 0.03, s * 0.035, s * 0.045, pal::outline, pal::outline, 0);
    c.ellipse(cx + s * 0.1, cy - s * 0.03, s * 0.035, s * 0.045, pal::outline, pal::outline, 0);
    c.ellipse(cx, cy + s * 0.06, s * 0.07, s * 0.06, Color::hex(0xE39B7B), pal::outline, 2.5);
    // Big moustache.
    cairo_move_to(cr, cx, cy + s * 0.1);
    cairo_curve_to(cr, cx - s * 0.1, cy + s * 0.06, cx - s * 0.22, cy + s * 0.12, cx - s * 0.24, cy + s * 0.2);
    cairo_curve_to(cr, cx - s * 0.14, cy + s * 0.18, cx - s * 0.06, cy + s * 0.18, cx, cy + s * 0.15);
    cairo_curve_to(cr, cx + s * 0.06, cy + s * 0.18, cx + s * 0.14, cy + s * 0.18, cx + s * 0.24, cy + s * 0.2);
    cairo_curve_to(cr, cx + s * 0.22, cy + s * 0.12, cx + s * 0.1, cy + s * 0.06, cx, cy + s * 0.1);
    c.fillStroke(Color::hex(0x6B4226), pal::outline, 3);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy + s * 0.17, s * 0.07, 0.4, std::numbers::pi - 0.4);
    c.setColor(pal::outline);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // Cap.
    cairo_new_path(cr);
    cairo_move_to(cr, cx - s * 0.27, cy - s * 0.1);
    cairo_curve_to(cr, cx - s * 0.27, cy - s * 0.38, cx + s * 0.27, cy - s * 0.38, cx + s * 0.27, cy - s * 0.1);
    cairo_close_path(cr);
    c.fillStroke(pal::grassDark, pal::outline, lw);
    c.ellipse(cx + s * 0.2, cy - s * 0.1, s * 0.2, s * 0.05, pal::grassDark.shade(-0.2), pal::outline, lw);
    c.circle(cx, cy - s * 0.22, s * 0.05, pal::straw, pal::outline, 2);
}

void plimsaPortrait(Canvas& c, double cx, double cy, double s)
{
    drawHen(c, cx - s * 0.12, cy + s * 0.62, s / 300, HenLook::Reading);
    // Clipboard held in front.
    c.roundRect(cx + s * 0.02, cy + s * 0.1, s * 0.22, s * 0.3, 5, pal::woodLight, pal::outline, 3);
    c.roundRect(cx + s * 0.04, cy + s * 0.14, s * 0.18, s * 0.24, 2, pal::white, pal::outline, 0);
    c.roundRect(cx + s * 0.09, cy + s * 0.08, s * 0.08, s * 0.05, 2, pal::greyDark, pal::outline, 2);
    for (int i = 0; i < 3; ++i)
        c.line(cx + s * 0.07, cy + s * (0.2 + i * 0.06), cx + s * 0.19, cy + s * (0.2 + i * 0.06), pal::greyLight, 3);
}

// A story card: wooden frame, portrait on the left, speech bubble on the right.
void storyCard(Canvas& c, Speaker who, const char* text)
{
    const double W = c.width(), H = c.height();
    cairo_t* cr = c.cr();
    c.roundRect(3, 3, W - 6, H - 6, 28, pal::wood, pal::outline, 4);
    c.roundRect(16, 16, W - 32, H - 32, 20, pal::cream, pal::outline, 3);
    // Portrait in a round frame.
    const double pr = std::min(118.0, (H - 90) / 2);
    const double pcx = 160, pcy = 26 + pr + 6;
    c.circle(pcx, pcy, pr + 8, who == Speaker::Ortomyk ? pal::straw : pal::sky, pal::outline, 4);
    cairo_save(cr);
    c.ellipsePath(pcx, pcy, pr, pr);
    cairo_clip(cr);
    c.ellipse(pcx, pcy + pr, pr * 1.4, pr * 0.6, pal::grass, pal::outline, 0);
    if (who == Speaker::Ortomyk)
        farmerPortrait(c, pcx, pcy - pr * 0.05, pr * 1.7);
    else
        plimsaPortrait(c, pcx, pcy - pr * 0.12, pr * 1.7);
    cairo_restore(cr);
    c.circle(pcx, pcy, pr, pal::white.withAlpha(0), pal::outline, 4);
    // Name plate.
    const double ny = std::min(H - 60, pcy + pr - 8);
    c.panel(pcx - 100, ny, 200, 44, 14, pal::barnRed);
    c.text(who == Speaker::Ortomyk ? "Ortomyk" : "Plimsa", pcx, ny + 32, 28, pal::white, true, 180, pal::outline, 2);
    // Speech bubble with its tail toward the portrait.
    const double bx = 310, by = 30, bw = W - 340, bh = H - 60;
    c.roundRectPath(bx, by, bw, bh, 26);
    cairo_move_to(cr, bx + 2, by + bh * 0.4);
    cairo_line_to(cr, bx - 26, by + bh * 0.5);
    cairo_line_to(cr, bx + 2, by + bh * 0.62);
    c.setColor(pal::outline);
    cairo_set_line_width(cr, 8);
    cairo_stroke_preserve(cr);
    c.setColor(pal::white);
    cairo_fill(cr);
    c.paragraph(text, bx + 36, by + 18, bw - 72, bh - 36, std::min(52.0, bh * 0.3), pal::outline, true);
}

void confetti(Canvas& c, std::uint32_t seed, double x0, double y0, double w, double h, int n)
{
    const Color cols[] = {pal::barnRed, pal::gold, pal::teal, pal::purple, pal::grass, pal::orange};
    Scatter scatter(seed);
    auto rnd = [&] { return scatter.next(); };
    cairo_t* cr = c.cr();
    for (int i = 0; i < n; ++i) {
        cairo_save(cr);
        cairo_translate(cr, x0 + rnd() * w, y0 + rnd() * h);
        cairo_rotate(cr, rnd() * std::numbers::pi);
        c.roundRect(-7, -3.5, 14, 7, 2, cols[i % 6], pal::outline, 1.5);
        cairo_restore(cr);
    }
}

void celebration(Canvas& c)
{
    const double W = c.width(), H = c.height();
    cairo_t* cr = c.cr();
    c.roundRect(3, 3, W - 6, H - 6, 34, pal::gold, pal::outline, 5);
    c.roundRect(20, 20, W - 40, H - 40, 24, pal::cream, pal::outline, 3);
    // Sun rays behind.
    cairo_save(cr);
    c.roundRectPath(20, 20, W - 40, H - 40, 24);
    cairo_clip(cr);
    for (int k = 0; k < 16; ++k) {
        const double a0 = k * 2 * std::numbers::pi / 16, a1 = a0 + std::numbers::pi / 16;
        cairo_move_to(cr, W / 2, 330);
        cairo_line_to(cr, W / 2 + std::cos(a0) * 900, 330 + std::sin(a0) * 900);
        cairo_line_to(cr, W / 2 + std::cos(a1) * 900, 330 + std::sin(a1) * 900);
        cairo_close_path(cr);
    }
    c.setColor(pal::straw.withAlpha(0.35));
    cairo_fill(cr);
    cairo_restore(cr);
    confetti(c, 165, 40, 30, W - 80, H - 80, 70);
    // Ribbon title.
    c.panel(120, 40, W - 240, 100, 24, pal::barnRed);
    c.text("1000 coins!", W / 2, 112, 66, pal::white, true, W - 300, pal::outline, 3);
    c.text("Quest complete!", W / 2, 200, 50, pal::outline, true, W - 120);
    // Coin pile in the middle, cheering hens either side.
    const double pile[][3] = {{-90, 420, 34}, {-40, 420, 34}, {10, 420, 34},  {60, 420, 34}, {110, 420, 34},
                              {-65, 380, 34}, {-15, 380, 34}, {35, 380, 34},  {85, 380, 34}, {-40, 340, 34},
                              {10, 340, 34},  {60, 340, 34},  {-15, 300, 34}, {35, 300, 34}, {10, 262, 34}};
    for (const auto& p : pile)
        drawCoin(c, W / 2 - 10 + p[0], p[1], p[2]);
    drawHen(c, 170, 440, 0.42, HenLook::Cheering);
    cairo_save(cr);
    cairo_translate(cr, W, 0);
    cairo_scale(cr, -1, 1); // the other hen faces the pile too
    drawHen(c, 170, 440, 0.42, HenLook::Cheering);
    cairo_restore(cr);
    drawChick(c, 300, 444, 0.16, true);
    drawChick(c, W - 300, 444, 0.16, true);
}

void questPanel(Canvas& c)
{
    const double W = c.width(), H = c.height();
    c.panel(2, 2, W - 4, H - 4, 16, pal::woodDark);
    // Coin bag.
    drawSack(c, 32, 29, 38, 44, pal::woodLight, false);
    drawCoin(c, 46, 42, 10);
    c.textLeft("QUEST", 64, 41, 30, pal::white, true, 150, pal::outline, 2);
    c.roundRect(222, 7, W - 230, H - 14, 10, pal::field, pal::outline, 2);
}

} // namespace

bool paintMessage(int id, Canvas& c)
{
    switch (id) {
    case image::ortomyk:
        storyCard(c, Speaker::Ortomyk, "Welcome to the farm! Keep your chicks fed and watered.");
        return true;
    case image::plimsa:
        storyCard(c, Speaker::Plimsa, "Hens lay in the nest boxes. Click an egg to send it to the sorting table!");
        return true;
    case image::scene11msg1:
        storyCard(c, Speaker::Ortomyk, "Great work! Open the sorter, start the scanner and pack six eggs to a carton.");
        return true;
    case image::scene11msg2:
        storyCard(c, Speaker::Plimsa, "Red eggs are bad: packing one costs 10 coins. Earn 1000 coins!");
        return true;
    case image::scene11msg3: celebration(c); return true;
    case image::scene11msg4:
        storyCard(c, Speaker::Ortomyk, "The farm is thriving. Thank you! Keep your flock happy.");
        return true;
    case image::quest1: questPanel(c); return true;
    default: return false;
    }
}

} // namespace henhouse::assets
