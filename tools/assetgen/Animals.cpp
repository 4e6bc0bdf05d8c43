// The birds: the eight 512-px-frame sheets and the small single pictures.
// Every frame is built from a Pose, so each animation is a list of small
// changes to one rig and the bird never changes shape between sheets.

#include "Painters.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace henhouse::assets {

namespace {

constexpr double frameSize = 512;
constexpr double anchorX = 256;
constexpr double anchorY = 384;
constexpr double line = 12; // outline thickness outside the silhouette (frames are shown at 0.1-0.3)

enum class Species { Hen, Chick };

enum class Eye { Open, Blink, Squint, Wide, Viewer };

struct Pose {
    double bodyX = 0, bodyY = 0; // body offset (down is positive)
    double tilt = 0;             // body lean, radians, positive = nose down
    double headX = 0, headY = 0; // head offset from its rest place
    double headRot = 0;          // radians, positive = beak down
    double nearFootX = 0, nearLift = 0;
    double farFootX = 0, farLift = 0;
    double wing = 0;    // near wing raise, radians
    double farWing = 0; // far wing raise, radians (shown above the back when > 0)
    double tail = 0;    // tail swing, radians
    double fluff = 0;   // body puff, fraction
    double sit = 0;     // 0 standing .. 1 settled on the nest
    double lift = 0;    // whole bird off the ground (hops)
    bool beakOpen = false;
    bool neckBulge = false;
    Eye eye = Eye::Open;
    bool front = false; // head turned to look out at the player (also implied by Eye::Viewer)
    // Holiday kit.
    bool hat = false;
    double hatLift = 0, hatTip = 0;
    double glasses = -1; // <0 none, 0 on the brim .. 1 on the eyes
    int suitcase = 0;    // 0 none, 1 on the ground beside her, 2 under the wing
    double caseSwing = 0;
    bool puff = false;
    bool specs = false; // round reading glasses
};

struct Pt {
    double x, y;
};

Pt rotate(Pt p, double a) { return {p.x * std::cos(a) - p.y * std::sin(a), p.x * std::sin(a) + p.y * std::cos(a)}; }
double mix(double a, double b, double t) { return a + (b - a) * t; }

void setC(cairo_t* cr, Color c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry, double rot = 0)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, rot);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
}

// Fill a path and outline it; the outline sits outside the fill.
void outlined(cairo_t* cr, Color fill, double lw = line)
{
    setC(cr, pal::outline);
    cairo_set_line_width(cr, lw * 2);
    cairo_stroke_preserve(cr);
    setC(cr, fill);
    cairo_fill(cr);
}

void thickLine(cairo_t* cr, Pt a, Pt b, double w, Color c)
{
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    setC(cr, c);
    cairo_set_line_width(cr, w);
    cairo_stroke(cr);
}

// Geometry of one bird, worked out from a pose.
struct Rig {
    Species sp;
    Pt body;       // body centre
    double rx, ry; // body radii
    double tilt;
    Pt pivot; // tilt pivot
    Pt head;  // head centre
    double headR;
    double headRot;
    Pt nearHip, farHip, nearFoot, farFoot;

    Pt onBody(Pt local) const
    { // body-local offset -> frame point, tilted
        Pt r = rotate({body.x + local.x - pivot.x, body.y + local.y - pivot.y}, tilt);
        return {r.x + pivot.x, r.y + pivot.y};
    }
    Pt onHead(Pt local) const
    {
        Pt r = rotate(local, headRot);
        return {head.x + r.x, head.y + r.y};
    }
};

Rig makeRig(Species sp, const Pose& p)
{
    Rig r{};
    r.sp = sp;
    const double s = p.sit;
    const double up = -p.lift;
    if (sp == Species::Hen) {
        r.body = {mix(236, 250, s) + p.bodyX, mix(254, 316, s) + p.bodyY + up};
        r.rx = mix(122, 134, s) * (1 + p.fluff);
        r.ry = mix(88, 68, s) * (1 + p.fluff * 0.7);
        r.head = {mix(334, 336, s) + p.headX + p.bodyX, mix(130, 206, s) + p.headY + p.bodyY * 0.6 + up};
        r.headR = 50;
        r.nearHip = {r.body.x + 34, r.body.y + r.ry - 24};
        r.farHip = {r.body.x + 2, r.body.y + r.ry - 24};
        r.nearFoot = {276 + p.nearFootX, anchorY - p.nearLift + up};
        r.farFoot = {238 + p.farFootX, anchorY - p.farLift + up};
    } else {
        r.body = {246 + p.bodyX, 286 + p.bodyY + up};
        r.rx = 118 * (1 + p.fluff);
        r.ry = 84 * (1 + p.fluff * 0.7);
        r.head = {318 + p.headX + p.bodyX, 196 + p.headY + p.bodyY * 0.7 + up};
        r.headR = 74;
        r.nearHip = {r.body.x + 30, r.body.y + r.ry - 20};
        r.farHip = {r.body.x + 0, r.body.y + r.ry - 20};
        r.nearFoot = {272 + p.nearFootX * 0.6, anchorY - p.nearLift * 0.6 + up};
        r.farFoot = {242 + p.farFootX * 0.6, anchorY - p.farLift * 0.6 + up};
    }
    r.tilt = p.tilt;
    r.pivot = {anchorX, anchorY - 50};
    r.headRot = p.headRot;
    return r;
}

void drawLeg(cairo_t* cr, Pt hip, Pt foot, double lift, Color c, double thick)
{
    const double toe = thick * 1.9;
    const double curl = lift > 2 ? 0.5 : 0.0; // toes curl while the foot is up
    auto toeLine = [&](double ang, double len) {
        Pt d = rotate({len, 0}, ang + curl);
        return Pt{foot.x + d.x, foot.y + d.y};
    };
    Pt t1 = toeLine(0.0, toe), t2 = toeLine(-0.35, toe * 0.8), t3 = toeLine(std::numbers::pi, toe * 0.55);
    for (int pass = 0; pass < 2; ++pass) {
        const double w = pass == 0 ? thick + 2 * line * 0.7 : thick;
        const Color col = pass == 0 ? pal::outline : c;
        thickLine(cr, hip, foot, w, col);
        thickLine(cr, foot, t1, w * 0.8, col);
        thickLine(cr, foot, t2, w * 0.8, col);
        thickLine(cr, foot, t3, w * 0.8, col);
    }
}

void drawEye(cairo_t* cr, const Rig& r, const Pose& p, Pt c, double size)
{
    switch (p.eye) {
    case Eye::Blink: {
        cairo_move_to(cr, c.x - size * 1.2, c.y);
        cairo_curve_to(cr, c.x - size * 0.4, c.y + size * 0.9, c.x + size * 0.4, c.y + size * 0.9, c.x + size * 1.2,
                       c.y);
        setC(cr, pal::outline);
        cairo_set_line_width(cr, size * 0.6);
        cairo_stroke(cr);
        return;
    }
    case Eye::Squint: {
        cairo_move_to(cr, c.x - size * 1.2, c.y + size * 0.4);
        cairo_curve_to(cr, c.x - size * 0.4, c.y - size * 0.9, c.x + size * 0.4, c.y - size * 0.9, c.x + size * 1.2,
                       c.y + size * 0.4);
        setC(cr, pal::outline);
        cairo_set_line_width(cr, size * 0.6);
        cairo_stroke(cr);
        return;
    }
    default: break;
    }
    const double white = p.eye == Eye::Wide ? size * 1.7 : size * 1.35;
    ellipsePath(cr, c.x, c.y, white, white * 1.1);
    setC(cr, pal::white);
    cairo_fill_preserve(cr);
    setC(cr, pal::outline);
    cairo_set_line_width(cr, size * 0.35);
    cairo_stroke(cr);
    Pt look = p.eye == Eye::Viewer ? Pt{0, size * 0.15} : Pt{size * 0.35, 0};
    look = rotate(look, r.headRot);
    ellipsePath(cr, c.x + look.x, c.y + look.y, size * 0.85, size * 0.95);
    setC(cr, Color::hex(0x1E130B));
    cairo_fill(cr);
    ellipsePath(cr, c.x + look.x - size * 0.3, c.y + look.y - size * 0.35, size * 0.3, size * 0.3);
    setC(cr, pal::white);
    cairo_fill(cr);
}

void beakPaths(cairo_t* cr, const Rig& r, const Pose& p, double scale, double baseX)
{
    auto mv = [&](double x, double y) {
        Pt q = r.onHead({x * scale + baseX, y * scale});
        cairo_move_to(cr, q.x, q.y);
    };
    auto ln = [&](double x, double y) {
        Pt q = r.onHead({x * scale + baseX, y * scale});
        cairo_line_to(cr, q.x, q.y);
    };
    if (p.front || p.eye == Eye::Viewer) {
        // Seen from the front the beak is a short point aimed down at us,
        // sitting between the eyes.
        auto fm = [&](double x, double y) {
            Pt q = r.onHead({r.headR * 0.3 + x * scale, 8 + y * scale});
            cairo_move_to(cr, q.x, q.y);
        };
        auto fl = [&](double x, double y) {
            Pt q = r.onHead({r.headR * 0.3 + x * scale, 8 + y * scale});
            cairo_line_to(cr, q.x, q.y);
        };
        fm(-16, -10);
        fl(16, -10);
        fl(2, 22);
        cairo_close_path(cr);
        if (p.beakOpen) {
            fm(-10, 14);
            fl(10, 14);
            fl(1, 26);
            cairo_close_path(cr);
        }
    } else if (!p.beakOpen) {
        mv(0, -16);
        ln(44, 2);
        ln(0, 18);
        cairo_close_path(cr);
    } else {
        mv(0, -18);
        ln(44, -6);
        ln(4, 2);
        cairo_close_path(cr);
        mv(4, 8);
        ln(38, 24);
        ln(0, 20);
        cairo_close_path(cr);
    }
}

void drawSuitcase(cairo_t* cr, Pt handle, double swing, double scale)
{
    cairo_save(cr);
    cairo_translate(cr, handle.x, handle.y);
    cairo_rotate(cr, swing);
    cairo_scale(cr, scale, scale);
    // Handle loop, then the case hanging below it.
    cairo_new_path(cr);
    cairo_arc(cr, 0, 10, 16, std::numbers::pi, 2 * std::numbers::pi);
    setC(cr, pal::outline);
    cairo_set_line_width(cr, 12);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, -55, 12, 110, 78);
    outlined(cr, Color::hex(0xA0612F), 8);
    cairo_rectangle(cr, -55, 60, 110, 30);
    setC(cr, Color::hex(0x7E4A22));
    cairo_fill(cr);
    // Straps and a palm sticker.
    thickLine(cr, {-30, 14}, {-30, 88}, 10, Color::hex(0x5A3418));
    thickLine(cr, {30, 14}, {30, 88}, 10, Color::hex(0x5A3418));
    ellipsePath(cr, 0, 48, 16, 16);
    setC(cr, pal::straw);
    cairo_fill(cr);
    thickLine(cr, {0, 62}, {2, 44}, 5, Color::hex(0x6B3F1F));
    ellipsePath(cr, 0, 42, 13, 5);
    setC(cr, pal::grassDark);
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawPuff(cairo_t* cr, Pt c)
{
    const Pt offs[] = {{-50, 10}, {-20, -25}, {25, -20}, {55, 10}, {0, 20}};
    for (auto o : offs) {
        ellipsePath(cr, c.x + o.x, c.y + o.y, 30, 24);
        setC(cr, pal::white.withAlpha(0.85));
        cairo_fill_preserve(cr);
        setC(cr, pal::outline.withAlpha(0.5));
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
    }
}

void drawBird(cairo_t* cr, Species sp, const Pose& p)
{
    const Rig r = makeRig(sp, p);
    const bool hen = sp == Species::Hen;
    const Color bodyCol = hen ? pal::white : pal::chick;
    const Color shadeCol = hen ? pal::henShadow : pal::chickShadow;
    const Color wingCol = hen ? Color::hex(0xF7E7CF) : Color::hex(0xFFE566);
    const Color legCol = pal::beak;

    // Ground shadow stays on the floor during hops, a little smaller.
    {
        const double k = 1.0 - std::min(0.35, p.lift / 90.0);
        ellipsePath(cr, anchorX, 390, (hen ? 104 : 100) * k, 9 * k);
        setC(cr, pal::black.withAlpha(0.35));
        cairo_fill(cr);
    }

    // Legs go behind the body; they vanish as the hen settles.
    const double legShow = 1.0 - std::clamp((p.sit - 0.55) / 0.3, 0.0, 1.0);
    if (legShow > 0) {
        const double thick = hen ? 16 : 13;
        drawLeg(cr, r.farHip, r.farFoot, p.farLift, legCol.shade(-0.12), thick);
        drawLeg(cr, r.nearHip, r.nearFoot, p.nearLift, legCol, thick);
    }

    // Far wing above the back (flaps, waves).
    const Pt shoulder = r.onBody(hen ? Pt{14, -28} : Pt{4, -14});
    auto wingPath = [&](double raise, double sideShift) {
        cairo_save(cr);
        cairo_translate(cr, shoulder.x + sideShift, shoulder.y);
        cairo_rotate(cr, raise + r.tilt);
        // A teardrop wing: round at the shoulder, feather tips trailing back.
        const double k = hen ? 1.0 : 0.62;
        cairo_scale(cr, k, k);
        cairo_new_sub_path(cr);
        cairo_move_to(cr, 20, -10);
        cairo_curve_to(cr, 40, 40, -20, 78, -84, 70);
        cairo_curve_to(cr, -104, 68, -126, 58, -132, 44);
        cairo_curve_to(cr, -112, 40, -118, 26, -128, 18);
        cairo_curve_to(cr, -96, -14, -40, -26, 20, -10);
        cairo_close_path(cr);
        cairo_restore(cr);
    };
    if (p.farWing > 0.05) {
        wingPath(p.farWing + 0.25, -16 - 60 * std::clamp(p.farWing - 1.0, 0.0, 1.0));
        outlined(cr, wingCol.shade(-0.08));
    }

    // Silhouette: every part outlined first, then filled, so the outline only
    // shows on the outside of the bird.
    const Pt tailBase = r.onBody(hen ? Pt{-84, -36} : Pt{-100, -10});
    auto tailPaths = [&]() {
        const double base = (hen ? -2.25 : -2.6) - p.tail + r.tilt - (p.sit * 0.25);
        const int n = hen ? 3 : 2;
        for (int i = 0; i < n; ++i) {
            const double a = base + (i - (n - 1) / 2.0) * 0.32;
            const double len = hen ? 50 : 34;
            Pt c = {tailBase.x + std::cos(a) * len * 0.8, tailBase.y + std::sin(a) * len * 0.8};
            ellipsePath(cr, c.x, c.y, len, hen ? 26 : 20, a);
        }
    };
    auto bodyPath = [&]() { ellipsePath(cr, r.body.x, r.body.y, r.rx, r.ry, r.tilt); };
    const Pt neckBase = r.onBody(hen ? Pt{70, -48} : Pt{50, -40});
    // The neck: wide where it joins the shoulders, narrowing under the head,
    // with a soft curve on the throat side. Directions: `along` runs from the
    // head down to the shoulders, `back` points to the bird's back.
    const double neckLen = std::max(1.0, std::hypot(neckBase.x - r.head.x, neckBase.y - r.head.y));
    const Pt along = {(neckBase.x - r.head.x) / neckLen, (neckBase.y - r.head.y) / neckLen};
    const Pt back = {-along.y, along.x};
    auto neckAt = [&](double a, double b) { // a: px down the neck from the head centre, b: px towards the back
        return Pt{r.head.x + along.x * a + back.x * b, r.head.y + along.y * a + back.y * b};
    };
    const double wTop = hen ? 34 : 44, wBase = hen ? 58 : 54;
    auto neckPath = [&]() {
        const Pt a = neckAt(0, wTop), b = neckAt(neckLen + 14, wBase);
        const Pt c = neckAt(neckLen + 14, -wBase), d = neckAt(0, -wTop);
        const Pt ca1 = neckAt(neckLen * 0.45, wTop * 0.95), ca2 = neckAt(neckLen * 0.8, wBase * 0.9);
        const Pt cc1 = neckAt(neckLen * 0.7, -wBase * 1.15), cc2 = neckAt(neckLen * 0.3, -wTop * 1.25);
        cairo_new_sub_path(cr);
        cairo_move_to(cr, a.x, a.y);
        cairo_curve_to(cr, ca1.x, ca1.y, ca2.x, ca2.y, b.x, b.y);
        cairo_line_to(cr, c.x, c.y);
        cairo_curve_to(cr, cc1.x, cc1.y, cc2.x, cc2.y, d.x, d.y);
        cairo_close_path(cr);
    };
    auto headPath = [&]() { ellipsePath(cr, r.head.x, r.head.y, r.headR, r.headR * (hen ? 1.0 : 0.94)); };
    auto combPath = [&]() {
        const Pt bumps[] = {{-26, -44}, {-4, -58}, {20, -50}};
        const double rad[] = {17, 20, 16};
        for (int i = 0; i < 3; ++i) {
            Pt c = r.onHead(bumps[i]);
            ellipsePath(cr, c.x, c.y, rad[i], rad[i]);
        }
    };
    const bool front = p.front || p.eye == Eye::Viewer;
    auto wattlePath = [&]() {
        Pt c = r.onHead(front ? Pt{r.headR * 0.3 + 2, 36} : Pt{40, 42});
        ellipsePath(cr, c.x, c.y, 13, 20, r.headRot);
    };
    auto tuftPath = [&]() { // chick's head fluff
        for (int i = 0; i < 3; ++i) {
            Pt c = r.onHead({-14.0 + i * 12, -70.0 + std::abs(i - 1) * 6});
            ellipsePath(cr, c.x, c.y, 9, 20, r.headRot + (i - 1) * 0.5);
        }
    };
    const double beakBase = hen ? r.headR - 12 : r.headR - 10;
    const double beakScale = hen ? 1.0 : 0.85;

    setC(cr, pal::outline);
    cairo_set_line_width(cr, line * 2);
    tailPaths();
    bodyPath();
    headPath();
    if (hen) {
        combPath();
        wattlePath();
    } else {
        tuftPath();
    }
    beakPaths(cr, r, p, beakScale, beakBase);
    neckPath();
    cairo_stroke(cr);

    // Fills.
    if (hen) {
        combPath();
        setC(cr, pal::comb);
        cairo_fill(cr);
        wattlePath();
        setC(cr, pal::comb);
        cairo_fill(cr);
    }
    tailPaths();
    setC(cr, hen ? pal::ginger : pal::chickShadow);
    cairo_fill(cr);
    bodyPath();
    setC(cr, bodyCol);
    cairo_fill(cr);
    // Belly shade: lower-right part of the body, light comes from top-left.
    cairo_save(cr);
    bodyPath();
    cairo_clip(cr);
    ellipsePath(cr, r.body.x + r.rx * 0.25, r.body.y + r.ry * 0.75, r.rx * 1.05, r.ry * 0.6, r.tilt);
    setC(cr, shadeCol);
    cairo_fill(cr);
    cairo_restore(cr);
    neckPath();
    setC(cr, bodyCol);
    cairo_fill(cr);
    if (hen) {
        // Ginger hackles: a cape of pointed neck feathers falling from the back
        // of the head onto the shoulders, tucked under the head.
        // Drawn off to the side and masked by the neck and body, so the
        // feather points never stick out past the silhouette, whatever the pose.
        cairo_save(cr);
        cairo_rectangle(cr, 0, 0, 512, 512);
        cairo_clip(cr);
        cairo_push_group(cr);
        const double len = neckLen + 34;
        cairo_new_path(cr);
        Pt q = neckAt(-r.headR * 0.2, wTop + 2);
        cairo_move_to(cr, q.x, q.y);
        q = neckAt(len * 0.55, wTop + (wBase - wTop) * 0.5 + 4);
        Pt q2 = neckAt(len * 0.9, wBase + 6);
        cairo_curve_to(cr, q.x, q.y, q.x, q.y, q2.x, q2.y);
        // Feather points along the lower edge, from the back towards the throat.
        const int tips = 4;
        for (int i = 0; i < tips; ++i) {
            const double b0 = wBase + 6 - (i + 0.5) * (wBase * 1.25) / tips;
            const double b1 = wBase + 6 - (i + 1.0) * (wBase * 1.25) / tips;
            const double depth = len * (1.0 - 0.06 * i);
            const Pt tip = neckAt(depth + 6, b0), notch = neckAt(depth - 22, b1);
            cairo_line_to(cr, tip.x, tip.y);
            cairo_line_to(cr, notch.x, notch.y);
        }
        q = neckAt(len * 0.4, -wTop * 0.2);
        q2 = neckAt(0, -wTop * 0.2);
        cairo_curve_to(cr, q.x, q.y, q.x, q.y, q2.x, q2.y);
        cairo_close_path(cr);
        setC(cr, pal::ginger);
        cairo_fill_preserve(cr);
        setC(cr, pal::outline.withAlpha(0.45));
        cairo_set_line_width(cr, 5);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
        cairo_pattern_t* feathers = cairo_pop_group(cr);
        cairo_push_group(cr);
        setC(cr, pal::black);
        neckPath();
        cairo_fill(cr);
        bodyPath();
        cairo_fill(cr);
        cairo_pattern_t* shape = cairo_pop_group(cr);
        cairo_set_source(cr, feathers);
        cairo_mask(cr, shape);
        cairo_pattern_destroy(feathers);
        cairo_pattern_destroy(shape);
        cairo_restore(cr);
    }
    headPath();
    setC(cr, bodyCol);
    cairo_fill(cr);
    if (!hen) {
        tuftPath();
        setC(cr, bodyCol);
        cairo_fill(cr);
    }
    if (p.neckBulge) {
        Pt m = {(neckBase.x + r.head.x) / 2 + 26, (neckBase.y + r.head.y) / 2 + 6};
        (void)m;
        const Pt b = {neckBase.x + 0.45 * (r.head.x - neckBase.x) + 36, neckBase.y + 0.45 * (r.head.y - neckBase.y)};
        ellipsePath(cr, b.x, b.y, 16, 18);
        setC(cr, bodyCol);
        cairo_fill(cr);
        cairo_new_path(cr);
        cairo_arc(cr, b.x, b.y, 17, -std::numbers::pi / 2, std::numbers::pi / 2);
        setC(cr, pal::outline);
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
    }
    if (front && hen) { // the wattle hangs under the beak, over the face
        wattlePath();
        outlined(cr, pal::comb, 3);
    }
    beakPaths(cr, r, p, beakScale, beakBase);
    setC(cr, pal::beak);
    if (front) {
        cairo_fill_preserve(cr);
        setC(cr, pal::outline);
        cairo_set_line_width(cr, 5);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    } else {
        cairo_fill(cr);
    }

    // Suitcase under the wing goes between body and wing.

    // Near wing.
    wingPath(p.wing, 0);
    outlined(cr, wingCol, hen ? 9 : 8);
    if (hen) { // ginger tips
        cairo_save(cr);
        wingPath(p.wing, 0);
        cairo_clip(cr);
        cairo_translate(cr, shoulder.x, shoulder.y);
        cairo_rotate(cr, p.wing + r.tilt);
        ellipsePath(cr, -124, 40, 44, 60, 0);
        setC(cr, pal::ginger);
        cairo_fill(cr);
        // Two feather lines.
        cairo_move_to(cr, -40, 30);
        cairo_curve_to(cr, -60, 44, -80, 48, -100, 46);
        cairo_move_to(cr, -30, 6);
        cairo_curve_to(cr, -56, 16, -80, 20, -104, 20);
        setC(cr, pal::outline.withAlpha(0.6));
        cairo_set_line_width(cr, 7);
        cairo_stroke(cr);
        cairo_restore(cr);
    }

    // The suitcase hangs from under the wing.
    if (p.suitcase == 2)
        drawSuitcase(cr, r.onBody({-40, 36}), p.caseSwing, 0.8);

    // Face.
    const double eyeSize = hen ? 9 : 12;
    if (front) { // both eyes show, either side of the beak
        const double gap = r.headR * 0.44;
        const Pt c = r.onHead({r.headR * 0.3 + 1, hen ? -12.0 : -16.0});
        drawEye(cr, r, p, {c.x - gap * std::cos(r.headRot), c.y - gap * std::sin(r.headRot)}, eyeSize);
        drawEye(cr, r, p, {c.x + gap * std::cos(r.headRot), c.y + gap * std::sin(r.headRot)}, eyeSize * 0.9);
    } else {
        const Pt eyeAt = r.onHead(hen ? Pt{18, -12} : Pt{26, -16});
        drawEye(cr, r, p, eyeAt, eyeSize);
    }
    if (!hen) { // rosy cheek
        Pt ch = r.onHead({14, 22});
        ellipsePath(cr, ch.x, ch.y, 14, 9);
        setC(cr, Color::hex(0xFF9A6B, 0.7));
        cairo_fill(cr);
    }

    if (p.specs && front) { // round reading glasses, seen from the front
        const double gap = r.headR * 0.44;
        const Pt c = r.onHead({r.headR * 0.3 + 1, hen ? -12.0 : -16.0});
        const Pt dx = {gap * std::cos(r.headRot), gap * std::sin(r.headRot)};
        for (int pass = 0; pass < 2; ++pass) {
            cairo_new_path(cr);
            cairo_arc(cr, c.x - dx.x, c.y - dx.y, 19, 0, 2 * std::numbers::pi);
            cairo_new_sub_path(cr);
            cairo_arc(cr, c.x + dx.x, c.y + dx.y, 17, 0, 2 * std::numbers::pi);
            cairo_move_to(cr, c.x - dx.x * 0.55, c.y - dx.y * 0.55 - 4);
            cairo_line_to(cr, c.x + dx.x * 0.55, c.y + dx.y * 0.55 - 4);
            setC(cr, pass == 0 ? pal::outline : Color::hex(0x8E5BC8));
            cairo_set_line_width(cr, pass == 0 ? 11 : 5);
            cairo_stroke(cr);
        }
    } else if (p.specs) {
        for (int pass = 0; pass < 2; ++pass) {
            Pt c = r.onHead({22, -12});
            cairo_new_path(cr);
            cairo_arc(cr, c.x, c.y, 22, 0, 2 * std::numbers::pi);
            Pt a = r.onHead({0, -14}), b = r.onHead({-40, -18});
            cairo_move_to(cr, a.x, a.y);
            cairo_line_to(cr, b.x, b.y);
            setC(cr, pass == 0 ? pal::outline : Color::hex(0x8E5BC8));
            cairo_set_line_width(cr, pass == 0 ? 12 : 6);
            cairo_stroke(cr);
        }
    }
    // Holiday kit on the head.
    if (p.glasses >= 0 && front) {
        // Seen from the front: two dark lenses over the eyes and a bridge.
        const double y = mix(-46, 0, p.glasses);
        const double gap = r.headR * 0.44;
        cairo_save(cr);
        const Pt c = r.onHead({r.headR * 0.3 + 1, -12 + y});
        cairo_translate(cr, c.x, c.y);
        cairo_rotate(cr, r.headRot);
        cairo_move_to(cr, -gap, -2);
        cairo_line_to(cr, gap, -2);
        setC(cr, Color::hex(0x1E130B));
        cairo_set_line_width(cr, 7);
        cairo_stroke(cr);
        for (int side = -1; side <= 1; side += 2) {
            const double k = side < 0 ? 1.0 : 0.9;
            ellipsePath(cr, side * gap, 0, 19 * k, 15 * k);
            setC(cr, Color::hex(0x1E130B));
            cairo_fill(cr);
            ellipsePath(cr, side * gap - 6 * k, -5 * k, 6 * k, 3.5 * k, -0.3);
            setC(cr, pal::sky.withAlpha(0.8));
            cairo_fill(cr);
        }
        cairo_restore(cr);
    } else if (p.glasses >= 0) {
        const double y = mix(-46, 0, p.glasses);
        Pt c = r.onHead({22, -12 + y});
        cairo_save(cr);
        cairo_translate(cr, c.x, c.y);
        cairo_rotate(cr, r.headRot);
        cairo_new_path(cr);
        cairo_move_to(cr, -50, -4);
        cairo_line_to(cr, -14, -6);
        setC(cr, Color::hex(0x1E130B));
        cairo_set_line_width(cr, 8);
        cairo_stroke(cr);
        ellipsePath(cr, 6, 0, 28, 18);
        setC(cr, Color::hex(0x1E130B));
        cairo_fill(cr);
        ellipsePath(cr, -4, -6, 10, 5, -0.3);
        setC(cr, pal::sky.withAlpha(0.8));
        cairo_fill(cr);
        cairo_restore(cr);
    }
    if (p.hat) {
        cairo_save(cr);
        Pt c = r.onHead({-4, -46 - p.hatLift});
        cairo_translate(cr, c.x, c.y);
        cairo_rotate(cr, r.headRot - p.hatTip);
        ellipsePath(cr, 0, 0, 84, 18);
        outlined(cr, pal::straw, 8);
        cairo_new_path(cr);
        cairo_move_to(cr, -42, 0);
        cairo_curve_to(cr, -42, -56, 42, -56, 42, 0);
        cairo_close_path(cr);
        outlined(cr, pal::straw, 8);
        cairo_rectangle(cr, -41, -16, 82, 12);
        setC(cr, pal::barnRed);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    if (p.suitcase == 1)
        drawSuitcase(cr, {anchorX + 130, 292}, 0, 1.0);
    if (p.puff)
        drawPuff(cr, {anchorX + 130, 340});
}

// ---- Animations -----------------------------------------------------------

constexpr double stepX[8] = {40, 22, 0, -22, -40, -18, 6, 28};
constexpr double stepLift[8] = {0, 0, 0, 0, 0, 14, 26, 12};
constexpr double bob[8] = {0, 7, 0, -7, 0, 7, 0, -7};
constexpr double headLock[8] = {12, 6, 0, -6, 12, 6, 0, -6};

Pose walkBase(int f)
{
    Pose p;
    const int ph = f % 8;
    const int far = (ph + 4) % 8;
    p.nearFootX = stepX[ph];
    p.nearLift = stepLift[ph];
    p.farFootX = stepX[far];
    p.farLift = stepLift[far];
    p.bodyY = bob[ph];
    p.headX = headLock[ph];
    p.tail = 0.02 * bob[(ph + 7) % 8]; // the tail answers one frame late
    return p;
}

Pose henWalk(int f)
{
    Pose p = walkBase(f);
    const int ph = f % 8;
    if (f >= 8 && f < 16) { // ruffles the wings
        p.wing = (ph % 2) ? 0.35 : 0.1;
        p.fluff = (ph % 2) ? 0.04 : 0.0;
    }
    if (f >= 24 && f < 32) {
        p.eye = f == 27 ? Eye::Blink : Eye::Viewer;
        p.front = true;
        p.headRot = -0.06;
    }
    return p;
}

Pose chickWalk(int f)
{
    Pose p = walkBase(f);
    const int ph = f % 8;
    if (ph == 3 || ph == 7)
        p.wing = 0.6;
    if (f == 19 || f == 20) {
        p.lift = 20;
        p.wing = 0.8;
    }
    if (f == 18 || f == 21)
        p.bodyY += 6;
    if (f == 36)
        p.beakOpen = true;
    if (f == 12)
        p.eye = Eye::Blink;
    return p;
}

// Head placements for a peck: alert, lean, lean more, beak down, peck, half up,
// up, and so on. Values are head offset, head turn and body lean.
struct HeadKey {
    double x, y, rot, tilt;
};

Pose peckPose(Species sp, int k)
{
    const bool hen = sp == Species::Hen;
    static constexpr HeadKey henKeys[10] = {
        {0, 0, 0, 0},       {12, 40, 0.3, 0.06}, {6, 100, 0.7, 0.12}, {-38, 174, 1.05, 0.18}, {-36, 180, 1.12, 0.2},
        {0, 80, 0.4, 0.08}, {0, -4, -0.12, 0},   {0, 0, 0, 0},        {8, 0, 0, 0},           {0, 0, 0, 0}};
    static constexpr HeadKey chickKeys[10] = {
        {0, 0, 0, 0},      {10, 30, 0.25, 0.08}, {10, 70, 0.55, 0.16}, {-4, 112, 0.95, 0.26}, {-4, 118, 1.02, 0.28},
        {4, 50, 0.3, 0.1}, {0, -4, -0.1, 0},     {0, 0, 0, 0},         {-6, 0, 0, 0},         {0, 0, 0, 0}};
    const HeadKey h = hen ? henKeys[k] : chickKeys[k];
    Pose p;
    p.headX = h.x;
    p.headY = h.y;
    p.headRot = h.rot;
    p.tilt = h.tilt;
    p.bodyY = h.tilt * 30;
    p.tail = -h.tilt * 1.2;
    return p;
}

Pose henEat(int f)
{
    const int k = f % 10;
    Pose p = peckPose(Species::Hen, k);
    if (k == 6)
        p.neckBulge = true;
    if (k == 7)
        p.eye = Eye::Blink;
    if (k == 4)
        p.wing = 0.12;
    if (f == 12) { // scratch
        p.nearFootX = -30;
        p.nearLift = 18;
    }
    if (f == 13)
        p.nearFootX = -54;
    if (f == 37) {
        p.headRot = -0.35;
        p.headY = -6;
        p.eye = Eye::Squint;
    }
    return p;
}

Pose chickEat(int f)
{
    int k = f % 10;
    // The third peck is a double peck: down and peck, then down and peck again.
    if (f >= 20 && f < 30) {
        static constexpr int dbl[10] = {0, 3, 4, 3, 4, 5, 6, 7, 8, 9};
        k = dbl[f - 20];
    }
    Pose p = peckPose(Species::Chick, k);
    if (k == 4)
        p.wing = 0.25;
    if (k == 7)
        p.beakOpen = true;
    if (k == 8)
        p.eye = Eye::Viewer;
    return p;
}

Pose henDance(int f)
{
    Pose p;
    if (f == 39)
        f = 0; // the loop closes on the first pose
    if (f < 8) {
        const bool a = f % 2 == 0;
        p.wing = a ? 1.1 : 0.1;
        p.farWing = a ? 0.0 : 1.2;
        p.headY = a ? 0 : 10;
        p.bodyY = a ? 0 : 4;
    } else if (f < 16) {
        const double t = 2 * std::numbers::pi * (f - 8) / 8.0;
        p.bodyX = 16 * std::sin(t);
        p.tilt = -0.05 * std::sin(t);
        p.tail = 0.35 * std::sin(t - 0.8);
        p.headX = -6 * std::sin(t);
        if (f == 12) {
            p.nearFootX = 58;
            p.nearLift = 44;
            p.wing = 0.4;
        }
    } else if (f < 24) {
        static constexpr double crouch[8] = {12, 18, 0, 0, 0, 16, 8, 2};
        static constexpr double air[8] = {0, 0, 18, 30, 18, 0, 0, 0};
        const int k = f - 16;
        p.bodyY = crouch[k];
        p.headY = crouch[k] * 0.8;
        p.lift = air[k];
        if (air[k] > 0) {
            p.wing = 0.9;
            p.farWing = 0.9;
            p.nearLift = 10;
            p.farLift = 14;
            p.eye = Eye::Squint;
        }
    } else if (f < 32) {
        const int k = f - 24;
        const double pulse = (k % 2) ? 0.12 : 0.0;
        p.bodyX = (k < 4 ? 8 : -8);
        // Disco point: first the far wing shoots up over the back while the
        // near one points down to the floor, then the near wing takes its
        // turn up top and the far one drops out of sight.
        if (k < 4) {
            p.farWing = 1.6 + pulse;
            p.wing = -0.7 - pulse;
            p.headRot = -0.15;
        } else {
            p.wing = 1.9 + pulse;
            p.farWing = 0.0;
            p.headRot = 0.12;
        }
        p.farFootX = (k < 4) ? -10 : 10;
    } else {
        const int k = f - 32;
        const double s = (k % 2) ? 1 : -1;
        p.bodyX = 6 * s;
        p.headX = -4 * s;
        p.fluff = 0.05 + 0.03 * s;
        p.wing = 0.25 + 0.1 * s;
        p.tilt = 0.03 * s;
        p.tail = 0.2 * s;
    }
    return p;
}

Pose henSit(int f)
{
    if (f >= 36)
        f = 0;
    Pose p;
    switch (f) {
    case 0:
        p.sit = 0.15;
        p.bodyY = 6;
        return p;
    case 1:
        p.sit = 0.45;
        p.wing = 0.3;
        p.fluff = 0.08;
        return p;
    case 2:
        p.sit = 0.8;
        p.fluff = 0.12;
        p.wing = 0.15;
        return p;
    case 3:
        p.sit = 1;
        p.fluff = 0.06;
        p.tail = 0.15;
        return p;
    default: break;
    }
    const int t = f - 4;
    const double breath = 1.5 * (1 - std::cos(2 * std::numbers::pi * t / 8.0));
    p.sit = 1;
    p.fluff = 0.06 + breath / 300.0;
    p.bodyY = -breath;
    p.headY = -breath * 0.5;
    p.tail = 0.15;
    if (f == 9 || f == 25)
        p.eye = Eye::Blink;
    if (f >= 14 && f <= 19) {
        p.eye = Eye::Viewer;
        p.front = true;
        p.headRot = -0.08;
        p.headX = -6;
    }
    if (f >= 28 && f <= 31)
        p.eye = Eye::Squint;
    return p;
}

Pose holidayWalk(int f)
{
    Pose p = walkBase(f);
    p.hat = true;
    p.glasses = 1;
    p.suitcase = 2;
    p.caseSwing = -0.18 * std::sin(2 * std::numbers::pi * (f % 8) / 8.0);
    if (f == 19 || f == 20) {
        p.lift = 16;
        p.wing = 0.4;
    }
    if (f >= 34 && f <= 36) {
        p.hatLift = f == 35 ? 22 : 12;
        p.hatTip = f == 35 ? 0.35 : 0.2;
    }
    return p;
}

Pose henLeaving(int f)
{
    if (f >= 15)
        f = 0;
    Pose p;
    p.eye = Eye::Open;
    switch (f) {
    case 0:
        p.fluff = 0.1;
        p.eye = Eye::Wide;
        p.wing = 0.3;
        break;
    case 1:
        p.eye = Eye::Squint;
        p.beakOpen = true;
        p.headY = -6;
        break;
    case 2:
        p.hat = true;
        p.hatLift = 24;
        p.eye = Eye::Wide;
        break;
    case 3:
        p.hat = true;
        p.eye = Eye::Squint;
        break;
    case 4:
    case 5:
    case 6:
        p.hat = true;
        p.glasses = (f - 3) / 3.0;
        p.wing = 1.2 - 0.25 * (f - 4);
        break;
    case 7:
        p.hat = true;
        p.glasses = 1;
        p.beakOpen = true;
        p.headRot = -0.12;
        break;
    case 8:
        p.hat = true;
        p.glasses = 1;
        p.suitcase = 1;
        p.puff = true;
        break;
    case 9:
        p.hat = true;
        p.glasses = 1;
        p.suitcase = 1;
        p.wing = -0.5;
        p.tilt = 0.06;
        break;
    case 10:
        p.hat = true;
        p.glasses = 1;
        p.suitcase = 2;
        p.front = true; // a look back at the player...
        break;
    case 11:
        p.hat = true;
        p.glasses = 1;
        p.suitcase = 2;
        p.farWing = 1.7;
        p.beakOpen = true;
        p.front = true; // ...and a goodbye wave
        break;
    case 12:
        // Turning away: the head swings round to face the road ahead, she
        // leans into it and shifts her weight, the near foot coming up.
        p.hat = true;
        p.glasses = 1;
        p.suitcase = 2;
        p.tilt = 0.08;
        p.headX = 14;
        p.headRot = -0.05;
        p.tail = -0.25;
        p.caseSwing = 0.15;
        p.nearFootX = 12;
        p.nearLift = 14;
        p.bodyX = 6;
        break;
    case 13: {
        p = walkBase(4);
        p.hat = true;
        p.glasses = 1;
        p.suitcase = 2;
        break;
    }
    default: p = holidayWalk(0); break;
    }
    return p;
}

void paintSheet(Canvas& c, Species sp, int columns, int cells, const std::function<Pose(int)>& pose)
{
    cairo_t* cr = c.cr();
    for (int cell = 0; cell < cells; ++cell) {
        cairo_save(cr);
        cairo_translate(cr, (cell % columns) * frameSize, (cell / columns) * frameSize);
        // Art stays inside the safe box so no frame bleeds into its neighbour.
        cairo_rectangle(cr, 48, 16, 416, 384);
        cairo_clip(cr);
        drawBird(cr, sp, pose(cell));
        cairo_restore(cr);
    }
}

void paintSingle(Canvas& c, Species sp, const Pose& p, double feetX, double feetY, double scale)
{
    cairo_t* cr = c.cr();
    cairo_save(cr);
    cairo_translate(cr, feetX, feetY);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -anchorX, -anchorY);
    drawBird(cr, sp, p);
    cairo_restore(cr);
}

// Hatching strip: 8 frames of 128 px, a shell that opens around a chick.
void paintHatching(Canvas& c, bool mutant)
{
    cairo_t* cr = c.cr();
    const Color shell = pal::eggCream;
    for (int f = 0; f < 8; ++f) {
        const double ox = f * 128;
        const double open = std::clamp((f - 1) / 5.0, 0.0, 1.0);
        // Bottom half of the shell.
        cairo_save(cr);
        cairo_translate(cr, ox + 64, 78);
        if (f == 0) { // still whole
            cairo_new_path(cr);
            cairo_move_to(cr, 0, -56);
            cairo_curve_to(cr, 22, -56, 36, -26, 35, 4);
            cairo_curve_to(cr, 34, 30, 20, 42, 0, 42);
            cairo_curve_to(cr, -20, 42, -34, 30, -35, 4);
            cairo_curve_to(cr, -36, -26, -22, -56, 0, -56);
            cairo_close_path(cr);
            outlined(cr, shell, 2);
            ellipsePath(cr, -12, -30, 7, 12, 0.3);
            setC(cr, pal::white.withAlpha(0.7));
            cairo_fill(cr);
            cairo_restore(cr);
            continue;
        }
        if (f == 1) { // first crack: the egg rocks
            cairo_translate(cr, 0, 42);
            cairo_rotate(cr, -0.12);
            cairo_translate(cr, 0, -42);
        }
        if (f >= 2) {
            Pose p;
            p.beakOpen = f >= 5;
            p.eye = f == 7 ? Eye::Squint : Eye::Open;
            p.wing = f >= 6 ? 0.6 : 0;
            cairo_save(cr);
            const double rise = 30 * open;
            cairo_translate(cr, 0, 22 - rise);
            cairo_scale(cr, 0.21, 0.21);
            cairo_translate(cr, -256, -300);
            if (mutant) {
                // A green chick with a third eye: same rig, tinted afterwards.
                drawBird(cr, Species::Chick, p);
                cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
                ellipsePath(cr, 246, 260, 170, 160);
                setC(cr, Color::hex(0x7ED957, 0.55));
                cairo_fill(cr);
                cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
                ellipsePath(cr, 300, 130, 16, 16);
                outlined(cr, pal::white, 5);
                ellipsePath(cr, 300, 130, 8, 8);
                setC(cr, pal::outline);
                cairo_fill(cr);
            } else {
                drawBird(cr, Species::Chick, p);
            }
            cairo_restore(cr);
        }
        // Lower shell with a zig-zag rim.
        cairo_new_path(cr);
        cairo_move_to(cr, -34, 0);
        for (int i = 0; i <= 6; ++i)
            cairo_line_to(cr, -34 + i * 11.33, (i % 2) ? -10 : 0);
        cairo_curve_to(cr, 34, 30, 20, 42, 0, 42);
        cairo_curve_to(cr, -20, 42, -34, 30, -34, 0);
        cairo_close_path(cr);
        outlined(cr, shell, 2);
        // Top half lifts away.
        cairo_translate(cr, 22 * open, -open * 30);
        cairo_rotate(cr, open * 0.9);
        if (f < 7) {
            cairo_new_path(cr);
            cairo_move_to(cr, -34, 0);
            for (int i = 0; i <= 6; ++i)
                cairo_line_to(cr, -34 + i * 11.33, (i % 2) ? -10 : 0);
            cairo_curve_to(cr, 34, -40, 16, -56, 0, -56);
            cairo_curve_to(cr, -16, -56, -34, -40, -34, 0);
            cairo_close_path(cr);
            outlined(cr, shell, 2);
        }
        cairo_restore(cr);
    }
}

} // namespace

void drawHen(Canvas& c, double feetX, double feetY, double scale, HenLook look)
{
    Pose p;
    switch (look) {
    case HenLook::Plain: break;
    case HenLook::Holiday:
        p.hat = true;
        p.glasses = 1;
        p.suitcase = 2;
        p.beakOpen = true;
        break;
    case HenLook::Reading:
        p.specs = true;
        p.eye = Eye::Viewer;
        p.wing = 0.5;
        break;
    case HenLook::Cheering:
        p.wing = 1.6;
        p.farWing = 1.4;
        p.beakOpen = true;
        p.eye = Eye::Squint;
        break;
    case HenLook::Poorly:
        p.eye = Eye::Blink;
        p.headY = 10;
        p.fluff = 0.05;
        break;
    }
    paintSingle(c, Species::Hen, p, feetX, feetY, scale);
}

void drawChick(Canvas& c, double feetX, double feetY, double scale, bool cheering)
{
    Pose p;
    if (cheering) {
        p.wing = 0.9;
        p.beakOpen = true;
        p.eye = Eye::Squint;
    }
    paintSingle(c, Species::Chick, p, feetX, feetY, scale);
}

bool paintAnimal(int id, Canvas& c)
{
    switch (id) {
    case image::walk: paintSheet(c, Species::Hen, 8, 40, henWalk); return true;
    case image::dance: paintSheet(c, Species::Hen, 8, 40, henDance); return true;
    case image::eat: paintSheet(c, Species::Hen, 8, 40, henEat); return true;
    case image::chickEat: paintSheet(c, Species::Chick, 8, 40, chickEat); return true;
    case image::chickWalk: paintSheet(c, Species::Chick, 8, 40, chickWalk); return true;
    case image::seat: paintSheet(c, Species::Hen, 8, 40, henSit); return true;
    case image::kurort1: paintSheet(c, Species::Hen, 4, 16, henLeaving); return true;
    case image::kurort2: paintSheet(c, Species::Hen, 8, 40, holidayWalk); return true;
    case image::chicken: { // hen icon, a little turned toward the viewer
        Pose p;
        p.eye = Eye::Viewer;
        paintSingle(c, Species::Hen, p, 64, 118, 0.27);
        return true;
    }
    case image::chiken1: paintSingle(c, Species::Hen, Pose{}, 65, 100, 0.24); return true;
    case image::hatchingChick: paintHatching(c, false); return true;
    case image::hatchingChickMutanto: paintHatching(c, true); return true;
    default: return false;
    }
}

} // namespace henhouse::assets
