// The pictures drawn over the farm while it answers the player: the music
// button's struck-through note, the tooltip plate, the pause veil and sign,
// the quest's celebration banner and the card listing the controls.
#include "Painters.hpp"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace henhouse::assets {

namespace {

// The music button's double note in white, struck through from top-left to
// bottom-right with a barn-red bar on a dark edge so it reads on the button.
void mutedNote(Canvas& c)
{
    c.ellipse(17, 47, 9, 7, pal::white, pal::white, 0);
    c.ellipse(45, 42, 9, 7, pal::white, pal::white, 0);
    c.line(24, 46, 24, 12, pal::white, 4.5);
    c.line(52, 41, 52, 7, pal::white, 4.5);
    c.line(24, 12, 52, 7, pal::white, 8);
    c.line(8, 8, 55, 55, pal::outline, 11);
    c.line(8, 8, 55, 55, pal::white, 6);
}

// A dark-wood plate, rounded at both ends: the tooltip's frame. The game
// stretches its middle columns to the text's width.
void tooltipPlate(Canvas& c)
{
    const double W = c.width(), H = c.height();
    c.roundRect(2, 2, W - 4, H - 4, 16, pal::woodDark, pal::outline, 3);
    c.roundRect(7, 7, W - 14, H - 14, 11, pal::field, pal::field.withAlpha(0), 0);
    c.line(14, 9, W - 14, 9, pal::woodLight.withAlpha(0.5), 2);
}

// A dusky veil: darker towards the edges, so the farm shows through it dimmed.
void veil(Canvas& c)
{
    cairo_t* cr = c.cr();
    const double W = c.width(), H = c.height();
    cairo_pattern_t* shade = cairo_pattern_create_radial(W / 2, H / 2, 4, W / 2, H / 2, W * 0.62);
    cairo_pattern_add_color_stop_rgba(shade, 0, 0.16, 0.10, 0.06, 0.55);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0.10, 0.06, 0.03, 0.8);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
}

// A hanging wooden sign: "PAUSED" on a red ribbon, a dark strip below it for
// the white line that says how to go on.
void pauseSign(Canvas& c)
{
    const double W = c.width(), H = c.height();
    c.line(120, 0, 150, 40, pal::outline, 6);
    c.line(W - 120, 0, W - 150, 40, pal::outline, 6);
    c.panel(6, 30, W - 12, H - 36, 28, pal::wood);
    c.roundRect(22, 46, W - 44, H - 68, 20, pal::woodLight, pal::outline, 3);
    c.panel(150, 60, W - 300, 86, 20, pal::barnRed);
    c.text("PAUSED", W / 2, 126, 58, pal::white, true, W - 340, pal::outline, 3);
    c.roundRect(40, 160, W - 80, 56, 14, pal::field, pal::outline, 2);
    // A sleeping egg at each end of the ribbon.
    drawEggShape(c, 96, 104, 52, pal::eggCream, 3);
    drawEggShape(c, W - 96, 104, 52, pal::eggCream, 3);
}

// The quest's banner: a red ribbon with folded tails, gold edging and
// confetti, "FARM COMPLETE!" across it.
void banner(Canvas& c)
{
    cairo_t* cr = c.cr();
    const double W = c.width(), H = c.height();
    // Tails behind the ribbon.
    for (int side : {0, 1}) {
        cairo_save(cr);
        if (side == 1) {
            cairo_translate(cr, W, 0);
            cairo_scale(cr, -1, 1);
        }
        cairo_move_to(cr, 8, 70);
        cairo_line_to(cr, 150, 70);
        cairo_line_to(cr, 150, 190);
        cairo_line_to(cr, 8, 190);
        cairo_line_to(cr, 60, 130);
        cairo_close_path(cr);
        c.fillStroke(pal::barnRedDark, pal::outline, 4);
        cairo_restore(cr);
    }
    c.panel(100, 40, W - 200, 130, 30, pal::barnRed);
    c.roundRect(116, 54, W - 232, 102, 22, pal::barnRed.withAlpha(0), pal::gold, 4);
    c.text("FARM COMPLETE!", W / 2, 128, 66, pal::white, true, W - 440, pal::outline, 4);
    drawCoin(c, 170, 105, 32);
    drawCoin(c, W - 170, 105, 32);
    const Color colours[] = {pal::gold, pal::teal, pal::grass, pal::purple, pal::orange, pal::cream};
    Scatter scatter(172);
    for (int k = 0; k < 60; ++k) {
        const double x = scatter.range(10, W - 10);
        const double y = scatter.next() < 0.5 ? scatter.range(4, 36) : scatter.range(176, H - 6);
        const double a = scatter.range(0, std::numbers::pi);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, a);
        c.roundRect(-7, -3.5, 14, 7, 2, colours[k % 6], pal::outline, 1.5);
        cairo_restore(cr);
    }
}

// The controls card: a dark-wood board with a straw title band; the game
// writes the controls on its dark field in white.
void controlsCard(Canvas& c)
{
    const double W = c.width(), H = c.height();
    c.panel(4, 4, W - 8, H - 8, 30, pal::wood);
    c.roundRect(24, 110, W - 48, H - 134, 18, pal::field, pal::outline, 3);
    c.panel(160, 22, W - 320, 74, 20, pal::straw);
    c.text("CONTROLS", W / 2, 77, 50, pal::outline, true, W - 360);
    drawEggShape(c, 110, 60, 60, pal::eggCream, 3);
    drawEggShape(c, W - 110, 60, 60, pal::eggCream, 3);
}

} // namespace

bool paintOverlay(int id, Canvas& c)
{
    switch (id) {
    case image::iconMusicOffWhite: mutedNote(c); return true;
    case image::tooltipFrame: tooltipPlate(c); return true;
    case image::pauseVeil: veil(c); return true;
    case image::pauseSign: pauseSign(c); return true;
    case image::celebration: banner(c); return true;
    case image::controlsCard: controlsCard(c); return true;
    default: return false;
    }
}

} // namespace henhouse::assets
