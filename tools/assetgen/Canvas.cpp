#include "Canvas.hpp"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace henhouse::assets {

namespace {

void selectFont(cairo_t* cr, double size, bool bold)
{
    // The build root has Liberation Sans registered with fontconfig, so the toy
    // API finds it by family name; no font file handling needed here.
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double measure(cairo_t* cr, const std::string& s)
{
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s.c_str(), &ext);
    return ext.x_advance;
}

void drawText(cairo_t* cr, const std::string& s, double x, double y, Color fill, Color outlineColor,
              double outlineWidth)
{
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, s.c_str());
    if (outlineWidth > 0) {
        cairo_set_source_rgba(cr, outlineColor.r, outlineColor.g, outlineColor.b, outlineColor.a);
        cairo_set_line_width(cr, outlineWidth * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    cairo_set_source_rgba(cr, fill.r, fill.g, fill.b, fill.a);
    cairo_fill(cr);
}

struct PngFile {
    FILE* fp = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngFile()
    {
        if (png)
            png_destroy_write_struct(&png, info ? &info : nullptr);
        if (fp)
            std::fclose(fp);
    }
};

} // namespace

Canvas::Canvas(int width, int height)
    : pixelWidth(width)
    , pixelHeight(height)
    , pixels(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height))
    , context(cairo_create(pixels))
{
    if (cairo_surface_status(pixels) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot create a cairo surface");
    cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(context, CAIRO_LINE_CAP_ROUND);
}

Canvas::~Canvas()
{
    cairo_destroy(context);
    cairo_surface_destroy(pixels);
}

void Canvas::setColor(Color c) { cairo_set_source_rgba(context, c.r, c.g, c.b, c.a); }

void Canvas::strokeTube(Color fill, double width, double outlineWidth)
{
    setColor(pal::outline);
    cairo_set_line_width(context, outlineWidth);
    cairo_stroke_preserve(context);
    setColor(fill);
    cairo_set_line_width(context, width);
    cairo_stroke(context);
}

void Canvas::roundRectPath(double x, double y, double w, double h, double r)
{
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(context);
    cairo_arc(context, x + w - r, y + r, r, -std::numbers::pi / 2, 0);
    cairo_arc(context, x + w - r, y + h - r, r, 0, std::numbers::pi / 2);
    cairo_arc(context, x + r, y + h - r, r, std::numbers::pi / 2, std::numbers::pi);
    cairo_arc(context, x + r, y + r, r, std::numbers::pi, 3 * std::numbers::pi / 2);
    cairo_close_path(context);
}

void Canvas::ellipsePath(double cx, double cy, double rx, double ry)
{
    cairo_save(context);
    cairo_translate(context, cx, cy);
    cairo_scale(context, rx, ry);
    cairo_new_sub_path(context);
    cairo_arc(context, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(context);
}

void Canvas::fillStroke(Color fill, Color line, double lineWidth)
{
    setColor(fill);
    if (lineWidth > 0) {
        cairo_fill_preserve(context);
        setColor(line);
        cairo_set_line_width(context, lineWidth);
        cairo_stroke(context);
    } else {
        cairo_fill(context);
    }
}

void Canvas::roundRect(double x, double y, double w, double h, double r, Color fill, Color line, double lineWidth)
{
    roundRectPath(x, y, w, h, r);
    fillStroke(fill, line, lineWidth);
}

void Canvas::panel(double x, double y, double w, double h, double r, Color fill, Color line, double lineWidth)
{
    roundRectPath(x, y, w, h, r);
    setColor(fill);
    cairo_fill_preserve(context);
    // The shadow tone and highlight are clipped to the panel so they never
    // poke outside the rounded corners.
    cairo_save(context);
    cairo_clip_preserve(context);
    cairo_new_path(context);
    setColor(fill.shade(-0.18));
    cairo_rectangle(context, x, y + h * 0.62, w, h);
    cairo_fill(context);
    setColor(fill.shade(0.25));
    roundRectPath(x + lineWidth + 2, y + lineWidth + 1, w - 2 * lineWidth - 4, std::max(2.0, h * 0.16), r * 0.6);
    cairo_fill(context);
    cairo_restore(context);
    if (lineWidth > 0) {
        setColor(line);
        cairo_set_line_width(context, lineWidth);
        cairo_stroke(context);
    } else {
        cairo_new_path(context);
    }
}

void Canvas::ellipse(double cx, double cy, double rx, double ry, Color fill, Color line, double lineWidth)
{
    ellipsePath(cx, cy, rx, ry);
    fillStroke(fill, line, lineWidth);
}

void Canvas::circle(double cx, double cy, double r, Color fill, Color line, double lineWidth)
{
    ellipse(cx, cy, r, r, fill, line, lineWidth);
}

void Canvas::line(double x0, double y0, double x1, double y1, Color c, double width)
{
    cairo_move_to(context, x0, y0);
    cairo_line_to(context, x1, y1);
    setColor(c);
    cairo_set_line_width(context, width);
    cairo_stroke(context);
}

// Picks the font for `s` at `size`, shrunk to fit maxWidth when given, and
// returns the width the text will take.
double Canvas::fitText(const std::string& s, double size, bool bold, double maxWidth)
{
    selectFont(context, size, bold);
    double w = measure(context, s);
    if (maxWidth > 0 && w > maxWidth) {
        size *= maxWidth / w;
        selectFont(context, size, bold);
        w = measure(context, s);
    }
    return w;
}

double Canvas::text(std::string_view sv, double cx, double y, double size, Color fill, bool bold, double maxWidth,
                    Color outlineColor, double outlineWidth)
{
    const std::string s(sv);
    const double w = fitText(s, size, bold, maxWidth);
    drawText(context, s, cx - w / 2, y, fill, outlineColor, outlineWidth);
    return w;
}

double Canvas::textLeft(std::string_view sv, double x, double y, double size, Color fill, bool bold, double maxWidth,
                        Color outlineColor, double outlineWidth)
{
    const std::string s(sv);
    const double w = fitText(s, size, bold, maxWidth);
    drawText(context, s, x, y, fill, outlineColor, outlineWidth);
    return w;
}

void Canvas::paragraph(std::string_view sv, double x, double y, double w, double h, double size, Color fill, bool bold)
{
    std::vector<std::string> words;
    std::string cur;
    for (char ch : sv) {
        if (ch == ' ') {
            if (!cur.empty())
                words.push_back(cur);
            cur.clear();
        } else {
            cur += ch;
        }
    }
    if (!cur.empty())
        words.push_back(cur);

    // Shrink until the wrapped block fits the box.
    for (; size > 8; size *= 0.93) {
        selectFont(context, size, bold);
        std::vector<std::string> lines;
        std::string ln;
        for (const auto& word : words) {
            std::string trial = ln.empty() ? word : ln + " " + word;
            if (measure(context, trial) > w && !ln.empty()) {
                lines.push_back(ln);
                ln = word;
            } else {
                ln = trial;
            }
        }
        if (!ln.empty())
            lines.push_back(ln);
        const double lineH = size * 1.25;
        bool wide = false;
        for (const auto& l : lines)
            wide = wide || measure(context, l) > w;
        if (static_cast<double>(lines.size()) * lineH > h || wide)
            continue;
        double top = y + (h - static_cast<double>(lines.size()) * lineH) / 2;
        for (std::size_t i = 0; i < lines.size(); ++i)
            drawText(context, lines[i], x, top + size + static_cast<double>(i) * lineH, fill, pal::outline, 0);
        return;
    }
}

void Canvas::writePng(const std::string& path) const
{
    cairo_surface_flush(pixels);
    PngFile f;
    f.fp = std::fopen(path.c_str(), "wb");
    if (!f.fp)
        throw std::runtime_error("cannot open for writing");
    f.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!f.png)
        throw std::runtime_error("libpng init failed");
    f.info = png_create_info_struct(f.png);
    if (!f.info)
        throw std::runtime_error("libpng init failed");

    // Straight RGBA rows, converted from cairo's premultiplied native-endian ARGB.
    const unsigned char* data = cairo_image_surface_get_data(pixels);
    const int stride = cairo_image_surface_get_stride(pixels);
    std::vector<png_byte> row(static_cast<std::size_t>(pixelWidth) * 4);

    if (setjmp(png_jmpbuf(f.png)))
        throw std::runtime_error("libpng write error");
    png_init_io(f.png, f.fp);
    png_set_IHDR(f.png, f.info, static_cast<png_uint_32>(pixelWidth), static_cast<png_uint_32>(pixelHeight), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Unfiltered rows and the fastest deflate level keep start-up decoding quick.
    png_set_filter(f.png, 0, PNG_FILTER_NONE);
    png_set_compression_level(f.png, 1);
    png_write_info(f.png, f.info);
    for (int y = 0; y < pixelHeight; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(
            data + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride));
        png_byte* dst = row.data();
        for (int x = 0; x < pixelWidth; ++x, dst += 4) {
            const std::uint32_t p = src[x];
            const unsigned a = p >> 24;
            if (a == 0) {
                dst[0] = dst[1] = dst[2] = dst[3] = 0;
                continue;
            }
            const unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (a == 255) {
                dst[0] = static_cast<png_byte>(r);
                dst[1] = static_cast<png_byte>(g);
                dst[2] = static_cast<png_byte>(b);
            } else {
                dst[0] = static_cast<png_byte>(std::min(255u, (r * 255 + a / 2) / a));
                dst[1] = static_cast<png_byte>(std::min(255u, (g * 255 + a / 2) / a));
                dst[2] = static_cast<png_byte>(std::min(255u, (b * 255 + a / 2) / a));
            }
            dst[3] = static_cast<png_byte>(a);
        }
        png_write_row(f.png, row.data());
    }
    png_write_end(f.png, nullptr);
    if (std::fflush(f.fp) != 0)
        throw std::runtime_error("write failed (disk full?)");
}

} // namespace henhouse::assets
