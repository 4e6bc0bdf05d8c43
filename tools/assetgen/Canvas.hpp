#pragma once
// A drawing surface for one image: wraps a cairo ARGB32 surface, offers the
// shape and text helpers every painter shares (rounded panels, outlined
// shapes, labels) and saves the result as a fast-to-decode PNG.

#include "Palette.hpp"

#include <cairo.h>

#include <string>
#include <string_view>

namespace henhouse::assets {

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return context; }
    int width() const { return pixelWidth; }
    int height() const { return pixelHeight; }

    // Paths (they only build the current path).
    void roundRectPath(double x, double y, double w, double h, double r);
    void ellipsePath(double cx, double cy, double rx, double ry);

    // Fill the current path, then stroke it with an outline (lineWidth 0 = none).
    void fillStroke(Color fill, Color line = pal::outline, double lineWidth = 3.0);
    void setColor(Color c);
    // Strokes the current path as a tube: an outline-coloured stroke
    // `outlineWidth` wide with a `width` stroke of `fill` inside it.
    void strokeTube(Color fill, double width, double outlineWidth);

    // A rounded flat panel: base fill, a darker tone on its lower part, a soft
    // top-left highlight and an outline.
    void panel(double x, double y, double w, double h, double r, Color fill, Color line = pal::outline,
               double lineWidth = 3.0);
    void roundRect(double x, double y, double w, double h, double r, Color fill, Color line = pal::outline,
                   double lineWidth = 3.0);
    void ellipse(double cx, double cy, double rx, double ry, Color fill, Color line = pal::outline,
                 double lineWidth = 3.0);
    void circle(double cx, double cy, double r, Color fill, Color line = pal::outline, double lineWidth = 3.0);
    void line(double x0, double y0, double x1, double y1, Color c, double width);

    // Text centred on (cx, baseline y); shrinks to fit maxWidth when given.
    // Returns the width actually used.
    double text(std::string_view s, double cx, double y, double size, Color fill, bool bold = true, double maxWidth = 0,
                Color outlineColor = pal::outline, double outlineWidth = 0);
    // Left-aligned text starting at x.
    double textLeft(std::string_view s, double x, double y, double size, Color fill, bool bold = true,
                    double maxWidth = 0, Color outlineColor = pal::outline, double outlineWidth = 0);
    // Word-wrapped text inside a box, left-aligned; shrinks the size until it fits.
    void paragraph(std::string_view s, double x, double y, double w, double h, double size, Color fill,
                   bool bold = true);

    // Writes an 8-bit straight-alpha RGBA PNG; throws std::runtime_error on failure.
    void writePng(const std::string& path) const;

private:
    double fitText(const std::string& s, double size, bool bold, double maxWidth);
    int pixelWidth;
    int pixelHeight;
    cairo_surface_t* pixels;
    cairo_t* context;
};

} // namespace henhouse::assets
