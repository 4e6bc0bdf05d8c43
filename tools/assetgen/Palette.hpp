#pragma once
// The studio palette shared by every painter, so that all images agree on
// their browns, straws and reds.

#include <cstdint>

namespace henhouse::assets {

struct Color {
    double r, g, b, a;

    static constexpr Color hex(std::uint32_t rgb, double alpha = 1.0)
    {
        return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
    }
    constexpr Color withAlpha(double alpha) const { return {r, g, b, alpha}; }
    // Mixes toward black (t < 0) or white (t > 0).
    constexpr Color shade(double t) const
    {
        if (t < 0)
            return {r * (1 + t), g * (1 + t), b * (1 + t), a};
        return {r + (1 - r) * t, g + (1 - g) * t, b + (1 - b) * t, a};
    }
};

namespace pal {
inline constexpr Color outline = Color::hex(0x4A2E1A);
inline constexpr Color straw = Color::hex(0xF2C94C);
inline constexpr Color strawDark = Color::hex(0xD9A93A);
inline constexpr Color barnRed = Color::hex(0xC0392B);
inline constexpr Color barnRedDark = Color::hex(0x962A1F);
inline constexpr Color tomato = Color::hex(0xE0533D);
inline constexpr Color wood = Color::hex(0x8D5A32);
inline constexpr Color woodDark = Color::hex(0x6B4226);
inline constexpr Color woodLight = Color::hex(0xB07A45);
inline constexpr Color woodPale = Color::hex(0xD2A46E);
inline constexpr Color grass = Color::hex(0x6FBF4A);
inline constexpr Color grassDark = Color::hex(0x4F9A33);
inline constexpr Color teal = Color::hex(0x2BB3A3);
inline constexpr Color tealDark = Color::hex(0x1E8A7E);
inline constexpr Color cream = Color::hex(0xFFF4DC);
inline constexpr Color creamDark = Color::hex(0xEBDAB8);
inline constexpr Color eggCream = Color::hex(0xFBEBD0);
inline constexpr Color white = Color::hex(0xFFFFFF);
inline constexpr Color black = Color::hex(0x000000);
inline constexpr Color field = Color::hex(0x3A2414); // dark field behind white HUD text
inline constexpr Color orange = Color::hex(0xF2992E);
inline constexpr Color orangeDark = Color::hex(0xD07A1A);
inline constexpr Color beak = Color::hex(0xF5A623);
inline constexpr Color comb = Color::hex(0xD8342A);
inline constexpr Color ginger = Color::hex(0xD9822B);
inline constexpr Color henShadow = Color::hex(0xE9DCC6);
inline constexpr Color chick = Color::hex(0xFFD93B);
inline constexpr Color chickShadow = Color::hex(0xF0B92A);
inline constexpr Color sky = Color::hex(0x7EC8F0);
inline constexpr Color skyDark = Color::hex(0x4FA3D6);
inline constexpr Color blue = Color::hex(0x3C8DDB);
inline constexpr Color purple = Color::hex(0x8E5BC8);
inline constexpr Color grey = Color::hex(0x9AA0A6);
inline constexpr Color greyDark = Color::hex(0x6E747A);
inline constexpr Color greyLight = Color::hex(0xC9CED3);
inline constexpr Color steel = Color::hex(0x5B7FA6);
inline constexpr Color gold = Color::hex(0xF7C531);
inline constexpr Color goldDark = Color::hex(0xC99416);
inline constexpr Color earth = Color::hex(0xD9B98A);
} // namespace pal

} // namespace henhouse::assets
