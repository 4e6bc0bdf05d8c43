// The interface: HUD counters, toolbar sockets and round buttons with their
// icons, the inventory, windows and shop pages, tabs, small buttons and the
// three specialist cards.

#include "Painters.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>

namespace henhouse::assets {

namespace {

enum class State { Normal, Hover, Pressed, Disabled };

Color stateColor(Color base, State s)
{
    switch (s) {
    case State::Hover: return base.shade(0.22);
    case State::Pressed: return base.shade(-0.22);
    case State::Disabled: return Color::hex(0xA7A7A2);
    default: return base;
    }
}

// A glossy round button (plus, minus, close).
void roundButton(Canvas& c, Color base, State s)
{
    const double W = c.width();
    const double r = W / 2 - 2;
    const Color col = stateColor(base, s);
    c.circle(W / 2, W / 2, r, col, pal::outline, W > 40 ? 3 : 2.5);
    cairo_t* cr = c.cr();
    cairo_save(cr);
    c.ellipsePath(W / 2, W / 2, r - 1.5, r - 1.5);
    cairo_clip(cr);
    if (s == State::Pressed) {
        c.ellipse(W / 2 + 2, W / 2 + 3, r, r, col.shade(-0.2), pal::outline, 0);
        c.ellipse(W / 2 + 3, W / 2 + 5, r - 2, r - 2, col, pal::outline, 0);
    } else {
        c.ellipse(W / 2 + 3, W / 2 + r * 0.9, r * 1.1, r * 0.5, col.shade(-0.18), pal::outline, 0);
        c.ellipse(W / 2 - r * 0.25, W / 2 - r * 0.5, r * 0.5, r * 0.25, pal::white.withAlpha(0.45), pal::outline, 0);
    }
    cairo_restore(cr);
}

void plusMinus(Canvas& c, bool plus, State s)
{
    roundButton(c, plus ? pal::grass : pal::orange, s);
    const Color mark = s == State::Disabled ? pal::white.withAlpha(0.55) : pal::white;
    const double m = c.width() / 2 + (s == State::Pressed ? 1 : 0);
    c.line(m - 8, m, m + 8, m, mark, 5);
    if (plus)
        c.line(m, m - 8, m, m + 8, mark, 5);
}

void closeButton(Canvas& c, State s)
{
    roundButton(c, pal::tomato, s);
    const double m = 24 + (s == State::Pressed ? 1 : 0);
    c.line(m - 9, m - 9, m + 9, m + 9, pal::outline, 9);
    c.line(m + 9, m - 9, m - 9, m + 9, pal::outline, 9);
    c.line(m - 9, m - 9, m + 9, m + 9, pal::white, 5);
    c.line(m + 9, m - 9, m - 9, m + 9, pal::white, 5);
}

// Socket ring under a toolbar button; its rim glows while the window is open.
void socket(Canvas& c, bool glow)
{
    cairo_t* cr = c.cr();
    if (glow) {
        cairo_pattern_t* g = cairo_pattern_create_radial(56.5, 56.5, 36, 56.5, 56.5, 56.5);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.9, 0.3, 0.0);
        cairo_pattern_add_color_stop_rgba(g, 0.45, 1, 0.9, 0.3, 1);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.85, 0.2, 0.0);
        cairo_set_source(cr, g);
        cairo_save(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_arc(cr, 56.5, 56.5, 56.5, 0, 2 * std::numbers::pi);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 56.5, 56.5, 36, 0, 2 * std::numbers::pi);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_pattern_destroy(g);
    }
    // An open ring: dark-brown band with a lighter bevel on its top-left,
    // hollow in the middle so the floor shows through.
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_new_path(cr);
    cairo_arc(cr, 56.5, 56.5, 52, 0, 2 * std::numbers::pi);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 56.5, 56.5, 40, 0, 2 * std::numbers::pi);
    c.setColor(Color::hex(0x3A2414));
    cairo_fill_preserve(cr);
    c.setColor(glow ? pal::gold : pal::outline);
    cairo_set_line_width(cr, glow ? 5 : 3);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 56.5, 56.5, 46, std::numbers::pi * 0.95, std::numbers::pi * 1.55);
    c.setColor(Color::hex(0x6B4226));
    cairo_set_line_width(cr, 5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void circleButton(Canvas& c, State s)
{
    const Color col = stateColor(pal::teal, s);
    c.circle(56.5, 56.5, 51, col, pal::outline, 3);
    cairo_t* cr = c.cr();
    cairo_save(cr);
    c.ellipsePath(56.5, 56.5, 49, 49);
    cairo_clip(cr);
    if (s == State::Pressed) {
        c.ellipse(56.5, 50, 52, 50, col.shade(-0.25), pal::outline, 0);
        c.ellipse(58, 60, 48, 46, col, pal::outline, 0);
    } else {
        c.ellipse(56.5, 100, 60, 30, col.shade(-0.18), pal::outline, 0);
        c.ellipse(46, 26, 26, 12, pal::white.withAlpha(0.35), pal::outline, 0);
    }
    cairo_restore(cr);
}

// 63 x 63 icons: coloured (yellow with dark outline) or plain white.
void icon(Canvas& c, int kind, bool white)
{
    cairo_t* cr = c.cr();
    const Color fill = white ? pal::white : pal::straw;
    const Color line = white ? pal::white.withAlpha(0) : pal::outline;
    const double lw = white ? 0 : 3;
    switch (kind) {
    case 0: { // scan: magnifier over an egg
        drawEggShape(c, 26, 28, 36, white ? pal::white : pal::eggCream, white ? 0 : 2.5);
        if (white) { // cut the lens ring out so it reads in one colour
            cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
            c.circle(36, 34, 14, pal::black, pal::black, 0);
            cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        }
        c.circle(36, 34, 13, pal::white.withAlpha(white ? 0 : 0.35), white ? pal::white : pal::outline, white ? 5 : 9);
        if (!white) {
            cairo_arc(cr, 36, 34, 13, 0, 2 * std::numbers::pi);
            c.setColor(fill);
            cairo_set_line_width(cr, 5);
            cairo_stroke(cr);
        }
        if (!white)
            c.line(46, 44, 57, 55, pal::outline, 11);
        c.line(46, 44, 57, 55, fill, 6);
        break;
    }
    case 1: { // shop basket
        cairo_new_path(cr);
        cairo_arc(cr, 31.5, 28, 16, std::numbers::pi, 2 * std::numbers::pi);
        if (!white) {
            c.setColor(pal::outline);
            cairo_set_line_width(cr, 9);
            cairo_stroke_preserve(cr);
        }
        c.setColor(fill);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
        cairo_move_to(cr, 6, 28);
        cairo_line_to(cr, 57, 28);
        cairo_line_to(cr, 50, 56);
        cairo_line_to(cr, 13, 56);
        cairo_close_path(cr);
        c.fillStroke(fill, line, lw);
        const Color slat = white ? Color::hex(0x1E8A7E) : pal::strawDark;
        for (int i = 0; i < 4; ++i)
            c.line(18 + i * 9, 34, 19 + i * 8.5, 50, slat, 3);
        break;
    }
    case 2: { // music: double note
        c.ellipse(17, 47, 9, 7, fill, line, lw);
        c.ellipse(45, 42, 9, 7, fill, line, lw);
        if (!white) {
            c.line(24, 46, 24, 12, pal::outline, 9);
            c.line(52, 41, 52, 7, pal::outline, 9);
            c.line(24, 12, 52, 7, pal::outline, 13);
        }
        c.line(24, 46, 24, 12, fill, 4.5);
        c.line(52, 41, 52, 7, fill, 4.5);
        c.line(24, 12, 52, 7, fill, 8);
        if (!white) {
            c.ellipse(17, 47, 9, 7, fill, pal::outline, 0);
            c.ellipse(45, 42, 9, 7, fill, pal::outline, 0);
        }
        break;
    }
    case 3: { // clean: broom with sparkles
        if (!white)
            c.line(44, 6, 26, 36, pal::outline, 10);
        c.line(44, 6, 26, 36, white ? fill : pal::woodLight, 5);
        cairo_move_to(cr, 18, 30);
        cairo_line_to(cr, 36, 40);
        cairo_line_to(cr, 24, 60);
        cairo_line_to(cr, 4, 50);
        cairo_close_path(cr);
        c.fillStroke(fill, line, lw);
        for (auto [x, y, s] : {std::tuple{50.0, 30.0, 7.0}, std::tuple{54.0, 50.0, 5.0}, std::tuple{40.0, 54.0, 4.0}}) {
            cairo_move_to(cr, x, y - s);
            cairo_line_to(cr, x + s * 0.3, y - s * 0.3);
            cairo_line_to(cr, x + s, y);
            cairo_line_to(cr, x + s * 0.3, y + s * 0.3);
            cairo_line_to(cr, x, y + s);
            cairo_line_to(cr, x - s * 0.3, y + s * 0.3);
            cairo_line_to(cr, x - s, y);
            cairo_line_to(cr, x - s * 0.3, y - s * 0.3);
            cairo_close_path(cr);
            c.fillStroke(white ? pal::white : pal::gold.shade(0.3), line, white ? 0 : 1.5);
        }
        break;
    }
    case 4: { // start / stop: play and pause in one
        cairo_move_to(cr, 8, 12);
        cairo_line_to(cr, 34, 31.5);
        cairo_line_to(cr, 8, 51);
        cairo_close_path(cr);
        c.fillStroke(pal::white, pal::outline, 3);
        c.roundRect(39, 13, 7, 37, 2, pal::white, pal::outline, 3);
        c.roundRect(51, 13, 7, 37, 2, pal::white, pal::outline, 3);
        break;
    }
    default: break;
    }
}

// A HUD plate: dark-wood rounded plate with a darker inset number field.
void hudPlate(Canvas& c, double fieldX)
{
    const double W = c.width(), H = c.height();
    c.panel(2, 2, W - 4, H - 4, 16, pal::woodDark);
    c.roundRect(fieldX, 9, W - fieldX - 9, H - 18, 10, pal::field, pal::outline, 2);
}

void sunMoon(Canvas& c, double cx, double cy, double r)
{
    cairo_t* cr = c.cr();
    c.circle(cx, cy, r, pal::gold, pal::outline, 2.5);
    // Night half on the right.
    cairo_save(cr);
    cairo_rectangle(cr, cx, cy - r, r, 2 * r);
    cairo_clip(cr);
    c.circle(cx, cy, r, Color::hex(0x2F3F7A), pal::outline, 2.5);
    c.circle(cx + r * 0.45, cy - r * 0.1, r * 0.35, Color::hex(0xF4F1C9), pal::outline, 0);
    c.circle(cx + r * 0.62, cy - r * 0.25, r * 0.3, Color::hex(0x2F3F7A), pal::outline, 0);
    cairo_restore(cr);
    c.line(cx, cy, cx, cy - r * 0.65, pal::outline, 3);
    c.line(cx, cy, cx + r * 0.4, cy + r * 0.15, pal::outline, 3);
    c.circle(cx, cy, 2.5, pal::outline, pal::outline, 0);
}

void basketOfEggs(Canvas& c, double cx, double cy, double w)
{
    cairo_t* cr = c.cr();
    drawEggShape(c, cx - w * 0.22, cy - w * 0.12, w * 0.34, pal::eggCream, 2);
    drawEggShape(c, cx + w * 0.2, cy - w * 0.12, w * 0.34, Color::hex(0xE9C9A0), 2);
    drawEggShape(c, cx, cy - w * 0.2, w * 0.36, pal::white, 2);
    cairo_move_to(cr, cx - w / 2, cy - w * 0.05);
    cairo_line_to(cr, cx + w / 2, cy - w * 0.05);
    cairo_line_to(cr, cx + w * 0.38, cy + w * 0.3);
    cairo_line_to(cr, cx - w * 0.38, cy + w * 0.3);
    cairo_close_path(cr);
    c.fillStroke(pal::woodLight, pal::outline, 2.5);
    for (int i = 0; i < 2; ++i)
        c.line(cx - w * 0.44 + i * 0.04 * w, cy + w * (0.06 + i * 0.11), cx + w * 0.44 - i * 0.04 * w,
               cy + w * (0.06 + i * 0.11), pal::wood, 2.5);
}

// Tabs: bookmark with a rounded left end; the right 35 px hide under the window.
void tab(Canvas& c, int page, State s)
{
    static const Color base[3] = {pal::straw, pal::orange, pal::skyDark};
    const Color col = stateColor(base[page], s);
    c.roundRect(3, 5, 150, 120, 26, col, pal::outline, 3);
    cairo_t* cr = c.cr();
    cairo_save(cr);
    c.roundRectPath(4.5, 6.5, 147, 117, 25);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 84, 160, 50);
    c.setColor(col.shade(-0.15));
    cairo_fill(cr);
    if (s == State::Hover) {
        c.roundRect(10, 12, 90, 14, 7, pal::white.withAlpha(0.5), pal::outline, 0);
    }
    cairo_restore(cr);
    const double cx = 44, cy = 64;
    if (page == 0)
        drawSack(c, cx, cy, 46, 56, s == State::Disabled ? pal::greyLight : pal::woodLight, false);
    if (page == 1)
        drawHen(c, cx - 2, cy + 28, 0.15, HenLook::Plain);
    if (page == 2) {
        // Stethoscope.
        cairo_new_path(cr);
        cairo_move_to(cr, 26, 36);
        cairo_curve_to(cr, 20, 70, 44, 82, 50, 64);
        cairo_move_to(cr, 62, 36);
        cairo_curve_to(cr, 68, 70, 44, 82, 50, 64);
        c.strokeTube(pal::greyLight, 4, 8);
        c.line(50, 64, 56, 88, pal::outline, 5);
        c.circle(60, 92, 9, pal::greyLight, pal::outline, 3);
    }
    if (s == State::Disabled) {
        cairo_rectangle(cr, 0, 0, 115, 130);
        c.setColor(Color::hex(0x9A9A94, 0.45));
        cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
        cairo_fill(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    }
}

void buyButton(Canvas& c, State s)
{
    const Color col = stateColor(pal::grass, s);
    const double dy = s == State::Pressed ? 2 : 0;
    c.panel(2, 2 + dy, 412, 87 - dy, 22, col);
    c.roundRect(280, 14 + dy, 126, 63 - dy, 18, col.shade(-0.3), pal::outline, 2);
}

// Item pictures (used in the shop cards and the small item icons).
void itemPicture(Canvas& c, int item, double cx, double cy, double s)
{
    switch (item) {
    case 0: drawSack(c, cx, cy, s * 0.8, s * 0.8, pal::straw, true); break;
    case 1: drawSack(c, cx, cy, s * 0.75, s * 0.95, pal::grass, false); break;
    case 2: drawSack(c, cx, cy, s * 1.0, s * 0.95, pal::woodLight, false); break;
    case 3: drawPillJar(c, cx, cy, s * 0.9); break;
    case 4:
        for (int i = 0; i < 3; ++i)
            drawChick(c, cx - s * 0.3 + i * s * 0.3, cy + s * (i == 1 ? 0.28 : 0.4), s / 620, i == 1);
        break;
    case 5: {
        for (int i = 0; i < 5; ++i)
            drawChick(c, cx - s * 0.36 + i * s * 0.18, cy + s * (0.1 + (i % 2) * 0.06), s / 900, i == 2);
        cairo_t* cr = c.cr();
        cairo_move_to(cr, cx - s * 0.5, cy + s * 0.05);
        cairo_line_to(cr, cx + s * 0.5, cy + s * 0.05);
        cairo_line_to(cr, cx + s * 0.4, cy + s * 0.45);
        cairo_line_to(cr, cx - s * 0.4, cy + s * 0.45);
        cairo_close_path(cr);
        c.fillStroke(pal::woodLight, pal::outline, std::max(2.0, s / 40));
        c.line(cx - s * 0.45, cy + s * 0.2, cx + s * 0.45, cy + s * 0.2, pal::wood, std::max(2.0, s / 40));
        break;
    }
    case 6: { // psychologist: owl face
        c.ellipse(cx, cy + s * 0.05, s * 0.38, s * 0.42, pal::purple, pal::outline, std::max(2.0, s / 40));
        c.circle(cx - s * 0.15, cy - s * 0.05, s * 0.13, pal::white, pal::outline, 2);
        c.circle(cx + s * 0.15, cy - s * 0.05, s * 0.13, pal::white, pal::outline, 2);
        c.circle(cx - s * 0.13, cy - s * 0.04, s * 0.05, pal::outline, pal::outline, 0);
        c.circle(cx + s * 0.17, cy - s * 0.04, s * 0.05, pal::outline, pal::outline, 0);
        c.ellipse(cx, cy + s * 0.12, s * 0.05, s * 0.07, pal::beak, pal::outline, 1.5);
        break;
    }
    case 7: { // vet: cross badge
        c.circle(cx, cy, s * 0.42, pal::white, pal::outline, std::max(2.0, s / 40));
        c.roundRect(cx - s * 0.1, cy - s * 0.3, s * 0.2, s * 0.6, 2, pal::grass, pal::outline, 0);
        c.roundRect(cx - s * 0.3, cy - s * 0.1, s * 0.6, s * 0.2, 2, pal::grass, pal::outline, 0);
        break;
    }
    default: break;
    }
}

// Shop item card at local (x, y), 220 x 248.
void shopCard(Canvas& c, double x, double y, int item, const std::string& name, const std::string& price)
{
    const bool locked = item < 0;
    c.roundRect(x + 2, y + 2, 216, 244, 16, locked ? Color::hex(0xD8D2C6) : pal::cream, pal::woodDark, 3);
    if (locked) {
        drawPadlock(c, x + 110, y + 96, 70);
        c.text("Coming soon", x + 110, y + 176, 20, pal::greyDark, true, 190);
    } else {
        itemPicture(c, item, x + 110, y + 78, 92);
        c.text(name, x + 110, y + 154, 21, pal::outline, true, 196);
        // Price ribbon with a coin.
        c.roundRect(x + 44, y + 160, 132, 30, 10, pal::barnRed, pal::outline, 2.5);
        drawCoin(c, x + 66, y + 175, 11);
        c.textLeft(price, x + 82, y + 184, 22, pal::white, true, 90);
    }
    // Dark strip behind the minus button, quantity and plus button.
    c.roundRect(x + 10, y + 192, 200, 48, 12, pal::field, pal::outline, 2);
}

void shopPage(Canvas& c, int page)
{
    static const char* titles[3] = {"SHOP - FEED", "SHOP - CHICKS", "SHOP - SPECIALISTS"};
    drawWindowFrame(c, titles[page]);
    const double cx[3] = {188, 430, 671};
    const double cy[2] = {152, 426};
    struct Item {
        int picture;
        const char* name;
        const char* price;
    };
    const Item pages[3][6] = {
        {{0, "Chick crumbs", "10"},
         {1, "Grain sack", "50"},
         {2, "Big grain sack", "100"},
         {3, "Vitamins", "15"},
         {-1, "", ""},
         {-1, "", ""}},
        {{4, "3 chicks", "25"}, {5, "5 chicks", "40"}, {-1, "", ""}, {-1, "", ""}, {-1, "", ""}, {-1, "", ""}},
        {{6, "Psychologist", "8"}, {7, "Veterinarian", "10"}, {-1, "", ""}, {-1, "", ""}, {-1, "", ""}, {-1, "", ""}},
    };
    for (int i = 0; i < 6; ++i) {
        const Item& it = pages[page][i];
        shopCard(c, cx[i % 3] - 110, cy[i / 3], it.picture, it.name, it.price);
    }
    // Panel behind the buy button area.
    c.roundRect(200, 684, 454, 102, 20, pal::woodDark.shade(-0.1), pal::outline, 2);
}

// Cards: cream card, coloured border, title band at the top, art below it.
void cardFrame(Canvas& c, Color border, const char* title)
{
    c.roundRect(4, 4, 350, 532, 26, border, pal::outline, 4);
    c.roundRect(18, 18, 322, 504, 18, pal::cream, pal::outline, 3);
    c.roundRect(30, 28, 298, 62, 16, border.shade(-0.1), pal::outline, 3);
    c.text(title, 179, 74, 38, pal::white, true, 270, pal::outline, 3);
}

// The picture window of a card. The cards hang off the bottom of the screen
// (and rise a little on hover), so picture and caption keep to the top three
// quarters: the art is drawn a touch smaller and clipped to its window.
constexpr double artTop = 100, artH = 236;
void beginCardArt(Canvas& c, Color sky)
{
    cairo_t* cr = c.cr();
    c.roundRect(30, artTop, 298, artH, 16, sky, pal::outline, 0);
    cairo_save(cr);
    c.roundRectPath(30, artTop, 298, artH, 16);
    cairo_clip(cr);
    cairo_translate(cr, 179, artTop);
    cairo_scale(cr, 0.9, 0.9);
    cairo_translate(cr, -179, -artTop - 30);
}
void endCardArt(Canvas& c)
{
    cairo_restore(c.cr());
    c.roundRectPath(30, artTop, 298, artH, 16);
    c.setColor(pal::outline);
    cairo_set_line_width(c.cr(), 3);
    cairo_stroke(c.cr());
}
void cardCaption(Canvas& c, const char* a, const char* b)
{
    c.text(a, 179, 372, 28, pal::outline, true, 290);
    c.text(b, 179, 405, 28, pal::outline, true, 290);
}

void psychologistCard(Canvas& c)
{
    cardFrame(c, pal::purple, "PSYCHOLOGIST");
    cairo_t* cr = c.cr();
    beginCardArt(c, Color::hex(0xE9DDF7));
    // Couch.
    c.roundRect(44, 300, 180, 60, 20, pal::barnRed, pal::outline, 4);
    // Owl doctor with a notepad.
    c.ellipse(250, 270, 70, 90, Color::hex(0x9A6B3F), pal::outline, 5);
    c.ellipse(250, 290, 46, 60, Color::hex(0xE8D3B0), pal::outline, 0);
    for (double dx : {-28.0, 28.0}) {
        c.circle(250 + dx, 222, 24, pal::white, pal::outline, 4);
        c.circle(250 + dx + 4, 224, 10, pal::outline, pal::outline, 0);
        c.circle(250 + dx, 222, 27, pal::white.withAlpha(0), pal::outline, 4); // spectacles
    }
    c.line(244, 222, 256, 222, pal::outline, 4);
    cairo_move_to(cr, 240, 246);
    cairo_line_to(cr, 260, 246);
    cairo_line_to(cr, 250, 264);
    cairo_close_path(cr);
    c.fillStroke(pal::beak, pal::outline, 3);
    cairo_move_to(cr, 195, 190);
    cairo_line_to(cr, 212, 160);
    cairo_line_to(cr, 225, 192);
    cairo_move_to(cr, 305, 190);
    cairo_line_to(cr, 288, 160);
    cairo_line_to(cr, 275, 192);
    c.fillStroke(Color::hex(0x9A6B3F), pal::outline, 4);
    c.roundRect(182, 280, 50, 64, 4, pal::white, pal::outline, 3);
    for (int i = 0; i < 4; ++i)
        c.line(190, 294 + i * 12, 224, 294 + i * 12, pal::greyLight, 3);
    // A relaxed hen on the couch.
    drawHen(c, 130, 330, 0.3, HenLook::Plain);
    // Music notes.
    for (auto [x, y] : {std::pair{66.0, 180.0}, std::pair{116.0, 156.0}, std::pair{160.0, 190.0}}) {
        c.ellipse(x, y + 20, 10, 8, pal::purple, pal::outline, 3);
        c.line(x + 8, y + 18, x + 8, y - 14, pal::outline, 4);
        c.line(x + 8, y - 14, x + 22, y - 4, pal::outline, 4);
    }
    endCardArt(c);
    cardCaption(c, "Calm hens lay", "more eggs");
}

void vetCard(Canvas& c)
{
    cardFrame(c, pal::grassDark, "VET");
    cairo_t* cr = c.cr();
    beginCardArt(c, Color::hex(0xDDF2D3));
    // The vet: round head, cap with a cross, green coat.
    c.roundRect(60, 250, 130, 140, 40, pal::white, pal::outline, 5);
    c.roundRect(110, 250, 30, 140, 0, pal::grass, pal::outline, 0);
    c.circle(125, 200, 52, Color::hex(0xF5C9A0), pal::outline, 5);
    c.roundRect(80, 138, 90, 40, 16, pal::white, pal::outline, 4);
    c.roundRect(119, 144, 12, 28, 2, pal::barnRed, pal::outline, 0);
    c.roundRect(111, 152, 28, 12, 2, pal::barnRed, pal::outline, 0);
    c.circle(108, 200, 6, pal::outline, pal::outline, 0);
    c.circle(142, 200, 6, pal::outline, pal::outline, 0);
    cairo_new_path(cr);
    cairo_arc(cr, 125, 215, 20, 0.3, std::numbers::pi - 0.3);
    c.setColor(pal::outline);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    // Stethoscope round the neck.
    cairo_move_to(cr, 95, 256);
    cairo_curve_to(cr, 95, 310, 155, 310, 155, 256);
    c.strokeTube(pal::greyLight, 5, 9);
    c.circle(125, 318, 12, pal::greyLight, pal::outline, 4);
    // A bandaged hen.
    drawHen(c, 250, 372, 0.3, HenLook::Poorly);
    // A plaster across the top of her head.
    cairo_save(cr);
    cairo_translate(cr, 272, 282);
    cairo_rotate(cr, -0.35);
    c.roundRect(-20, -6, 40, 12, 4, pal::white, pal::outline, 3);
    c.line(-11, -4, -11, 4, pal::greyLight, 2);
    c.line(11, -4, 11, 4, pal::greyLight, 2);
    cairo_restore(cr);
    endCardArt(c);
    cardCaption(c, "Keeps your", "flock healthy");
}

void resortCard(Canvas& c)
{
    cardFrame(c, pal::skyDark, "RESORT");
    cairo_t* cr = c.cr();
    beginCardArt(c, pal::sky);
    c.circle(276, 176, 28, pal::gold, pal::outline, 4);
    c.ellipse(179, 318, 220, 40, Color::hex(0x3FA7D6), pal::outline, 0);
    c.ellipse(179, 382, 240, 60, Color::hex(0xF6DC9A), pal::outline, 4);
    // Palm tree.
    cairo_move_to(cr, 80, 370);
    cairo_curve_to(cr, 70, 290, 90, 220, 110, 180);
    c.strokeTube(pal::wood, 12, 20);
    for (int k = 0; k < 5; ++k) {
        const double a = -std::numbers::pi + k * std::numbers::pi / 4 - 0.2;
        c.ellipse(110 + std::cos(a) * 40, 180 + std::sin(a) * 18 + 10, 44, 13, pal::grass, pal::outline, 3);
    }
    drawHen(c, 230, 378, 0.36, HenLook::Holiday);
    endCardArt(c);
    cardCaption(c, "A holiday for", "old hens");
}

void sortWindow(Canvas& c)
{
    drawWindowFrame(c, "SORTING");
    // Labels beside the cartons (cartons at local (45, 495) and (45, 630)).
    for (int i = 0; i < 2; ++i) {
        const double y = 512 + i * 135;
        c.roundRect(186, y, 250, 64, 14, pal::woodLight, pal::outline, 3);
        c.text(i == 0 ? "C0: 6 = 36" : "C1: 6 = 30", 311, y + 44, 32, pal::white, true, 230, pal::outline, 2);
        drawCoin(c, 462, y + 32, 18);
    }
    // Socket under the start button (button at local (692, 625)).
    c.circle(748.5, 681.5, 64, Color::hex(0x3A2414), pal::outline, 4);
    c.circle(748.5, 681.5, 58, Color::hex(0x2A1A0E), pal::outline, 0);
    c.text("START", 748.5, 770, 26, pal::outline, true);
}

} // namespace

void drawWindowFrame(Canvas& c, const char* title)
{
    const double W = c.width(), H = c.height();
    c.roundRect(2, 2, W - 4, H - 4, 18, pal::wood, pal::outline, 4);
    // Plank seams on the frame.
    for (int i = 1; i < 4; ++i)
        c.line(4, i * H / 4, 40, i * H / 4, pal::woodDark, 3);
    c.roundRect(38, 112, W - 76, H - 150, 14, pal::cream, pal::outline, 3);
    // Header: a hanging sign.
    c.panel(230, 18, 400, 78, 20, pal::barnRed);
    c.text(title, 430, 72, 40, pal::white, true, 370, pal::outline, 2.5);
    for (double x : {20.0, W - 20.0})
        for (double y : {20.0, H - 20.0})
            c.circle(x, y, 5, pal::woodLight, pal::outline, 2);
}

bool paintInterface(int id, Canvas& c)
{
    cairo_t* cr = c.cr();
    const double W = c.width(), H = c.height();
    switch (id) {
    case image::textureForm:
        c.roundRect(4, 4, W - 8, H - 8, 28, pal::woodLight, pal::outline, 4);
        c.roundRect(22, 22, W - 44, H - 44, 16, pal::cream, pal::outline, 2);
        return true;
    case image::textureValueControl:
        c.roundRect(4, 6, W - 8, H - 12, 10, pal::woodDark, pal::outline, 2.5);
        c.roundRect(10, 12, W - 20, 6, 3, pal::black.withAlpha(0.3), pal::outline, 0);
        return true;
    case image::buttonValueControl:
        c.circle(16, 16, 13, pal::tomato, pal::outline, 2.5);
        c.ellipse(12, 11, 5, 3, pal::white.withAlpha(0.7), pal::outline, 0);
        return true;
    case image::win1:
        c.roundRect(4, 4, W - 8, H - 8, 24, pal::wood, pal::outline, 4);
        c.roundRect(26, 60, W - 52, H - 86, 14, pal::cream, pal::outline, 2);
        c.panel(W / 2 - 160, 10, 320, 52, 14, pal::barnRed);
        return true;
    case image::cursor1:
        cairo_move_to(cr, 2, 2);
        cairo_line_to(cr, 2, 24);
        cairo_line_to(cr, 8, 18);
        cairo_line_to(cr, 14, 28);
        cairo_line_to(cr, 18, 26);
        cairo_line_to(cr, 13, 16);
        cairo_line_to(cr, 21, 16);
        cairo_close_path(cr);
        c.fillStroke(pal::white, pal::outline, 2);
        c.ellipse(24, 24, 7, 3, pal::straw, pal::outline, 1.5);
        return true;
    case image::menu:
        c.roundRect(4, 4, W - 8, H - 8, 20, pal::wood, pal::outline, 4);
        for (int i = 0; i < 5; ++i)
            c.roundRect(30, 90 + i * 96, W - 60, 76, 12, pal::woodLight, pal::outline, 3);
        c.panel(100, 16, W - 200, 56, 14, pal::barnRed);
        return true;
    case image::termIndik:
        c.roundRect(10, 4, 12, 130, 6, pal::white, pal::outline, 2);
        c.circle(16, 140, 14, pal::barnRed, pal::outline, 2);
        c.roundRect(13, 50, 6, 90, 3, pal::barnRed, pal::outline, 0);
        for (int i = 0; i < 8; ++i)
            c.line(22, 14 + i * 14, 28, 14 + i * 14, pal::outline, 1.5);
        return true;
    case image::termBtn1:
        roundButton(c, pal::tomato, State::Normal);
        c.line(14, 24, 34, 24, pal::white, 5);
        c.line(24, 14, 24, 34, pal::white, 5);
        return true;
    case image::termBtn2:
        roundButton(c, pal::blue, State::Normal);
        c.line(14, 24, 34, 24, pal::white, 5);
        return true;
    case image::rectangle181: c.panel(2, 2, W - 4, H - 4, 16, pal::cream); return true;
    case image::frame40: c.panel(2, 2, W - 4, H - 4, 20, pal::woodLight); return true;
    case image::frame41: c.panel(2, 2, W - 4, H - 4, 20, pal::cream); return true;
    case image::frame43: c.panel(2, 2, W - 4, H - 4, 20, pal::grass); return true;
    case image::frame44: c.panel(2, 2, W - 4, H - 4, 20, pal::blue); return true;
    case image::frame46: c.panel(2, 2, W - 4, H - 4, 20, pal::barnRed); return true;
    case image::buttonControl: { // toolbar bench; runs off the bottom edge
        c.roundRect(3, 2, W - 6, H + 30, 30, pal::wood, pal::outline, 4);
        c.roundRect(3, 2, W - 6, 16, 8, pal::woodLight, pal::outline, 3);
        for (int i = 1; i < 4; ++i)
            c.line(4, 18 + i * 16, W - 4, 18 + i * 16, pal::woodDark, 2);
        return true;
    }
    case image::rectangle260: c.roundRect(2, 2, W - 4, H - 4, 10, pal::field, pal::outline, 2); return true;
    case image::rectangle261:
        c.roundRect(2, 2, W - 4, H - 4, 10, pal::wood.withAlpha(0.0), pal::woodLight, 4);
        c.roundRect(1, 1, W - 2, H - 2, 11, pal::white.withAlpha(0), pal::outline, 1.5);
        return true;
    case image::progressbarValue: c.panel(1, 1, W - 2, H - 2, 9, pal::grass, pal::outline, 1.5); return true;
    case image::frameTimer:
        hudPlate(c, 56);
        sunMoon(c, 30, 31, 20);
        return true;
    case image::frameCurCoin:
        hudPlate(c, 58);
        drawCoin(c, 31, 31, 22);
        return true;
    case image::frameCountEggs: { // hanging egg-count sign
        c.line(60, 0, 80, 54, pal::woodLight.shade(-0.2), 6);
        c.line(390, 0, 370, 54, pal::woodLight.shade(-0.2), 6);
        c.panel(2, 50, W - 4, 48, 14, pal::woodDark);
        c.roundRect(172, 56, 84, 38, 8, pal::field, pal::outline, 2);
        c.roundRect(258, 56, 176, 38, 8, pal::field, pal::outline, 2);
        basketOfEggs(c, 130, 72, 70);
        c.text("EGGS", 345, 87, 30, pal::white, true, 160);
        c.circle(80, 54, 5, pal::woodLight, pal::outline, 2);
        c.circle(370, 54, 5, pal::woodLight, pal::outline, 2);
        return true;
    }
    case image::phsiholog: psychologistCard(c); return true;
    case image::veterinar: vetCard(c); return true;
    case image::kurort: resortCard(c); return true;
    case image::winSort: sortWindow(c); return true;
    case image::buttonSort:
    case image::buttonClean:
    case image::buttonSound:
    case image::buttonShop:
    case image::buttonStartSortMachine: socket(c, false); return true;
    case image::buttonSortPressed:
    case image::buttonShopPressed: socket(c, true); return true;
    case image::buttonClose: closeButton(c, State::Normal); return true;
    case image::buttonCloseHover: closeButton(c, State::Hover); return true;
    case image::buttonClosePressed: closeButton(c, State::Pressed); return true;
    case image::windowShop: drawWindowFrame(c, "SHOP"); return true;
    case image::inventory: { // inventory bar
        c.panel(2, 2, W - 4, H - 4, 18, pal::woodDark);
        basketOfEggs(c, 36, 26, 36);
        c.textLeft("INVENTORY", 64, 36, 22, pal::white, true, 200);
        for (int k = 0; k < 6; ++k) {
            const double x = 18 + 66 * k;
            c.roundRect(x, 54, 62, 94, 10, pal::woodLight.shade(-0.35), pal::outline, 2);
            c.roundRect(x + 3, 126, 56, 19, 6, pal::field, pal::outline, 0);
        }
        return true;
    }
    case image::iconWarning: { // warning badge
        cairo_move_to(cr, 25, 4);
        cairo_line_to(cr, 47, 44);
        cairo_line_to(cr, 3, 44);
        cairo_close_path(cr);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        c.setColor(pal::outline);
        cairo_set_line_width(cr, 8);
        cairo_stroke_preserve(cr);
        c.setColor(pal::gold);
        cairo_fill(cr);
        c.line(25, 17, 25, 31, pal::outline, 5);
        c.circle(25, 38, 2.8, pal::outline, pal::outline, 0);
        return true;
    }
    case image::shopPage1: tab(c, 0, State::Normal); return true;
    case image::shopPage2: tab(c, 1, State::Normal); return true;
    case image::shopPage3: tab(c, 2, State::Normal); return true;
    case image::shopPage1disable: tab(c, 0, State::Disabled); return true;
    case image::shopPage2disable: tab(c, 1, State::Disabled); return true;
    case image::shopPage3disable: tab(c, 2, State::Disabled); return true;
    case image::shopPage1Hover: tab(c, 0, State::Hover); return true;
    case image::shopPage2Hover: tab(c, 1, State::Hover); return true;
    case image::shopPage3Hover: tab(c, 2, State::Hover); return true;
    case image::shopPage1Pressed: tab(c, 0, State::Pressed); return true;
    case image::shopPage2Pressed: tab(c, 1, State::Pressed); return true;
    case image::shopPage3Pressed: tab(c, 2, State::Pressed); return true;
    case image::shopItemDisabled:
        c.roundRect(2, 2, 60, 60, 12, Color::hex(0xC9C9C4), pal::outline, 2);
        drawPadlock(c, 32, 32, 34);
        return true;
    case image::shopItem1:
    case image::shopItem2:
    case image::shopItem3:
    case image::shopItem4:
    case image::shopItem5:
    case image::shopItem6:
    case image::shopItem7:
    case image::shopItem8: itemPicture(c, id - image::shopItem1, 32, 30, 54); return true;
    case image::shopSlotDisable:
    case image::shopSlot: {
        const bool off = id == image::shopSlotDisable;
        c.panel(2, 2, 216, 244, 16, off ? Color::hex(0xD8D2C6) : pal::cream, pal::woodDark, 3);
        c.roundRect(44, 160, 132, 30, 10, off ? pal::grey : pal::barnRed, pal::outline, 2.5);
        c.roundRect(10, 192, 200, 48, 12, pal::field, pal::outline, 2);
        return true;
    }
    case image::shopPage1Background: shopPage(c, 0); return true;
    case image::shopPage2Background: shopPage(c, 1); return true;
    case image::shopPage3Background: shopPage(c, 2); return true;
    case image::buttonPlus: plusMinus(c, true, State::Normal); return true;
    case image::buttonPlusHover: plusMinus(c, true, State::Hover); return true;
    case image::buttonPlusPressed: plusMinus(c, true, State::Pressed); return true;
    case image::buttonPlusDisabled: plusMinus(c, true, State::Disabled); return true;
    case image::buttonMinus: plusMinus(c, false, State::Normal); return true;
    case image::buttonMinusHover: plusMinus(c, false, State::Hover); return true;
    case image::buttonMinusPressed: plusMinus(c, false, State::Pressed); return true;
    case image::buttonMinusDisabled: plusMinus(c, false, State::Disabled); return true;
    case image::button: buyButton(c, State::Normal); return true;
    case image::buttonHover: buyButton(c, State::Hover); return true;
    case image::buttonPressed: buyButton(c, State::Pressed); return true;
    case image::buttonDisable: buyButton(c, State::Disabled); return true;
    case image::buy: { // "BUY" label with a basket
        c.textLeft("BUY", 62, 42, 40, pal::white, true, 120, pal::outline, 3);
        cairo_save(cr);
        cairo_translate(cr, 6, 2);
        cairo_scale(cr, 0.72, 0.72);
        icon(c, 1, true);
        cairo_restore(cr);
        return true;
    }
    case image::circleButton: circleButton(c, State::Normal); return true;
    case image::circleButtonHover: circleButton(c, State::Hover); return true;
    case image::circleButtonPressed: circleButton(c, State::Pressed); return true;
    case image::iconScan: icon(c, 0, false); return true;
    case image::iconScanWhite: icon(c, 0, true); return true;
    case image::iconShop: icon(c, 1, false); return true;
    case image::iconShopWhite: icon(c, 1, true); return true;
    case image::iconMusic: icon(c, 2, false); return true;
    case image::iconMusicWhite: icon(c, 2, true); return true;
    case image::iconClean: icon(c, 3, false); return true;
    case image::iconCleanWhite: icon(c, 3, true); return true;
    case image::start: icon(c, 4, true); return true;
    default: return false;
    }
}

} // namespace henhouse::assets
