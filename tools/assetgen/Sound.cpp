#include "Sound.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace henhouse::assets {

namespace {

constexpr double sampleRateD = Sound::sampleRate;

// Small deterministic noise source: the music must be the same on every build.
class Noise {
public:
    explicit Noise(std::uint32_t seed)
        : filterState(seed ? seed : 1)
    {
    }
    double next()
    { // -1..1
        filterState ^= filterState << 13;
        filterState ^= filterState >> 17;
        filterState ^= filterState << 5;
        return (filterState / 4294967295.0) * 2.0 - 1.0;
    }
    double range(double a, double b) { return a + (b - a) * (next() * 0.5 + 0.5); }

private:
    std::uint32_t filterState;
};

// A loop of samples. Sounds that run past the end wrap to the start, so the
// last sample flows straight into the first and the seam cannot click.
struct Loop {
    std::vector<double> s;
    explicit Loop(double seconds)
        : s(static_cast<std::size_t>(seconds * sampleRateD))
    {
    }
    void add(long i, double v)
    {
        const long n = static_cast<long>(s.size());
        s[static_cast<std::size_t>(((i % n) + n) % n)] += v;
    }
    long at(double seconds) const { return std::lround(seconds * sampleRateD); }
};

double midiHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

void writeWav(const std::filesystem::path& path, const std::vector<double>& s)
{
    // Peaks at about -1 dBFS.
    double peak = 1e-9;
    for (double v : s)
        peak = std::max(peak, std::abs(v));
    const double gain = 0.891 * 32767.0 / peak;
    std::vector<std::int16_t> pcm(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::clamp(std::lround(s[i] * gain), -32760L, 32760L));

    std::ofstream f(path, std::ios::binary);
    if (!f)
        throw std::runtime_error("cannot open for writing");
    auto u32 = [&](std::uint32_t v) {
        const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        f.write(b, 4);
    };
    auto u16 = [&](std::uint16_t v) {
        const char b[2] = {char(v), char(v >> 8)};
        f.write(b, 2);
    };
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
    f.write("RIFF", 4);
    u32(36 + dataBytes);
    f.write("WAVEfmt ", 8);
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(Sound::sampleRate);
    u32(Sound::sampleRate * 2);
    u16(2);
    u16(16);
    f.write("data", 4);
    u32(dataBytes);
    for (std::int16_t v : pcm)
        u16(static_cast<std::uint16_t>(v));
    if (!f.flush())
        throw std::runtime_error("write failed (disk full?)");
}

// ---- Farmyard -------------------------------------------------------------

// Two-pole band-pass resonator (unity gain at the centre), retunable per
// sample so a vowel can slide from "u" to "aa" inside one call.
class Resonator {
public:
    double run(double x, double hz, double q)
    {
        const double w = 2 * std::numbers::pi * std::min(hz, 0.45 * sampleRateD) / sampleRateD;
        const double alpha = std::sin(w) / (2 * q);
        const double a0 = 1 + alpha;
        const double y = (alpha * x - alpha * in2 + 2 * std::cos(w) * out1 - (1 - alpha) * out2) / a0;
        in2 = in1;
        in1 = x;
        out2 = out1;
        out1 = y;
        return y;
    }

private:
    double in1 = 0, in2 = 0, out1 = 0, out2 = 0;
};

// A hen's voice: a raspy, jittery buzz (band-limited so nothing aliases)
// through three vowel formants, with a breathy noise share. The caller
// shapes pitch, vowel and loudness over the call's length u = 0..1.
struct Voice {
    double len; // seconds
    double amp;
    double rasp;   // 0..1: subharmonic roughness
    double breath; // noise share of the source
    double (*pitch)(double u, double f0);
    double f0;
    double vowelFrom, vowelTo; // 0 = "u" (buk), 1 = "aa" (kaaak)
    double (*env)(double u, double len);
};

void voice(Loop& L, long start, const Voice& v, Noise& nz)
{
    const long n = static_cast<long>(v.len * sampleRateD);
    Resonator r1, r2, r3, click;
    double ph = 0, jit = 0, tone = 0;
    for (long i = 0; i < n; ++i) {
        const double u = static_cast<double>(i) / static_cast<double>(n);
        jit += 0.002 * (nz.next() - jit); // slow random pitch wobble
        const double f = v.pitch(u, v.f0) * (1 + 2.5 * jit);
        ph += 2 * std::numbers::pi * f / sampleRateD;
        if (ph > 4 * std::numbers::pi)
            ph -= 4 * std::numbers::pi; // keep the half-rate phase continuous
        // Sawtooth-like harmonics up to 8 baseHz, a bit hollow on the even ones.
        double src = 0;
        const int top = std::max(1, static_cast<int>(8000.0 / f));
        for (int k = 1; k <= top; ++k)
            src += std::sin(k * ph) / k * (k % 2 ? 1.0 : 0.7);
        src *= 1 + v.rasp * 0.6 * std::sin(0.5 * ph); // subharmonic growl
        src += v.breath * 2.2 * nz.next();
        const double vw = v.vowelFrom + (v.vowelTo - v.vowelFrom) * std::min(1.0, u * 2.5);
        const double f1 = 650 + 450 * vw, f2 = 1350 + 500 * vw, f3 = 2900 + 300 * vw;
        tone = 1.0 * r1.run(src, f1, 4.0) + 0.75 * r2.run(src, f2, 6.0) + 0.35 * r3.run(src, f3, 8.0);
        double out = tone * v.env(u, v.len);
        // The "b" of each call: a tiny bright tick at the very start.
        if (i < 220)
            out += 0.9 * click.run(nz.next(), 2400, 1.5) * (1 - static_cast<double>(i) / 220.0);
        L.add(start + i, v.amp * out);
    }
}

// Quick rise, then a fall that ends in a clipped "k".
double bukEnv(double u, double len)
{
    const double att = std::min(1.0, u * len / 0.006);
    const double end = u > 0.82 ? std::max(0.0, (1 - u) / 0.18) : 1.0;
    return att * (0.35 + 0.65 * std::exp(-3.0 * u)) * end;
}
double bukPitch(double u, double f0) { return f0 * (1.18 - 0.38 * u); }

double kaakEnv(double u, double len)
{
    const double att = std::min(1.0, u * len / 0.012);
    const double end = u > 0.88 ? std::max(0.0, (1 - u) / 0.12) : 1.0;
    return att * (0.75 + 0.25 * std::sin(std::numbers::pi * std::min(1.0, u * 1.6))) * end;
}
// The long "-kaaak": jumps up, holds with a little wobble, sags at the end.
double kaakPitch(double u, double f0)
{
    const double up = std::min(1.0, u / 0.12);
    return f0 * (0.85 + 0.55 * up - 0.35 * u * u) * (1 + 0.015 * std::sin(2 * std::numbers::pi * 7 * u));
}

double purrEnv(double u, double len)
{
    const double att = std::min(1.0, u * len / 0.03);
    const double trill = 0.55 + 0.45 * std::sin(2 * std::numbers::pi * 22 * u * len); // "brrr"
    return att * std::sin(std::numbers::pi * u) * trill;
}
double purrPitch(double u, double f0) { return f0 * (1.05 - 0.15 * u); }

void buk(Loop& L, long start, double f0, double amp, Noise& nz)
{
    voice(L, start,
          Voice{nz.range(0.065, 0.11), amp, nz.range(0.2, 0.6), nz.range(0.08, 0.2), bukPitch,
                f0 * nz.range(0.93, 1.08), nz.range(0.0, 0.25), nz.range(0.1, 0.4), bukEnv},
          nz);
}

void kaaak(Loop& L, long start, double f0, double amp, Noise& nz)
{
    voice(L, start,
          Voice{nz.range(0.32, 0.5), amp, nz.range(0.5, 0.9), nz.range(0.15, 0.3), kaakPitch, f0 * nz.range(1.25, 1.45),
                0.2, 1.0, kaakEnv},
          nz);
}

void purr(Loop& L, long start, double f0, double amp, Noise& nz)
{
    voice(L, start, Voice{nz.range(0.35, 0.6), amp, 0.3, 0.25, purrPitch, f0 * 0.7, 0.0, 0.2, purrEnv}, nz);
}

void peep(Loop& L, long start, double f0, double amp)
{
    const long n = static_cast<long>(0.09 * sampleRateD);
    double ph = 0;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        ph += 2 * std::numbers::pi * f0 * (1.0 + 0.25 * (1 - t)) / sampleRateD;
        L.add(start + i, amp * std::sin(std::numbers::pi * t) * std::sin(std::numbers::pi * t) * std::sin(ph));
    }
}

// Straw being scratched: a short grainy rustle.
void scratch(Loop& L, long start, double amp, Noise& nz)
{
    const long n = static_cast<long>(nz.range(0.08, 0.16) * sampleRateD);
    Resonator bp;
    const double hz = nz.range(2500, 4500);
    for (long i = 0; i < n; ++i) {
        const double u = static_cast<double>(i) / static_cast<double>(n);
        const double grain = nz.next() > 0.2 ? 1.0 : 0.3;
        L.add(start + i, amp * bp.run(nz.next() * grain, hz, 1.2) * std::sin(std::numbers::pi * u));
    }
}

// Levels the mix so quiet stretches and loud calls sit closer together: a
// smooth RMS compressor followed by a look-ahead peak limiter. Both run round
// the loop twice so their state at the seam matches and the join stays clean.
void level(std::vector<double>& s, double thresholdDb, double ratio)
{
    const long n = static_cast<long>(s.size());
    const double peakIn = [&] {
        double p = 1e-9;
        for (double v : s)
            p = std::max(p, std::abs(v));
        return p;
    }();
    for (double& v : s)
        v /= peakIn;
    const double thr = std::pow(10.0, thresholdDb / 20);
    const double att = std::exp(-1.0 / (0.010 * sampleRateD)), rel = std::exp(-1.0 / (0.250 * sampleRateD));
    double ms = 0;
    std::vector<double> gain(s.size());
    for (int pass = 0; pass < 2; ++pass)
        for (long i = 0; i < n; ++i) {
            const double x2 = s[static_cast<std::size_t>(i)] * s[static_cast<std::size_t>(i)];
            ms = x2 > ms ? att * ms + (1 - att) * x2 : rel * ms + (1 - rel) * x2;
            const double rms = std::sqrt(ms);
            gain[static_cast<std::size_t>(i)] = rms > thr ? std::pow(thr / rms, 1 - 1 / ratio) : 1.0;
        }
    for (long i = 0; i < n; ++i)
        s[static_cast<std::size_t>(i)] *= gain[static_cast<std::size_t>(i)];
    // Limiter: the gain needed to keep every sample under the ceiling, held
    // for 3 ms ahead, released over 80 ms.
    double peak = 1e-9, sum = 0;
    for (double v : s) {
        peak = std::max(peak, std::abs(v));
        sum += v * v;
    }
    const double rms = std::sqrt(sum / static_cast<double>(n));
    const double ceiling = std::max(rms * 6.3, peak * 0.5); // crest factor about 16 dB
    const long hold = static_cast<long>(0.003 * sampleRateD);
    std::vector<double> need(s.size());
    for (long i = 0; i < n; ++i)
        need[static_cast<std::size_t>(i)] = std::min(1.0, ceiling / (std::abs(s[static_cast<std::size_t>(i)]) + 1e-12));
    std::vector<double> g(s.size());
    const double relL = std::exp(-1.0 / (0.080 * sampleRateD));
    double cur = 1;
    for (int pass = 0; pass < 2; ++pass)
        for (long i = 0; i < n; ++i) {
            double want = 1;
            for (long k = 0; k <= hold; k += 8)
                want = std::min(want, need[static_cast<std::size_t>((i + k) % n)]);
            want = std::min(want, need[static_cast<std::size_t>((i + hold) % n)]);
            const double a = std::exp(-1.0 / (0.001 * sampleRateD));
            cur = want < cur ? a * cur + (1 - a) * want : relL * cur + (1 - relL) * want;
            g[static_cast<std::size_t>(i)] = cur;
        }
    for (long i = 0; i < n; ++i)
        s[static_cast<std::size_t>(i)] *= g[static_cast<std::size_t>(i)];
}

std::vector<double> farmyard()
{
    constexpr double loopSeconds = 24.0;
    Loop L(loopSeconds);
    Noise rnd(1234);
    // A few hens, each with her own voice, chatting in "buk buk buk" phrases;
    // now and then one of them lets out the full "buk-buk-bukaaak".
    const double hens[4] = {330, 390, 450, 520};
    for (double t = 0.2; t < loopSeconds; t += rnd.range(0.8, 2.0)) {
        const double f0 = hens[static_cast<int>(rnd.range(0, 3.99))];
        const double amp = rnd.range(0.45, 0.9);
        const double roll = rnd.next();
        double u = t;
        if (roll > 0.55) {
            // The egg song: quickening "buk"s, then the long "kaaak".
            const int boks = 3 + static_cast<int>(rnd.range(0, 2.99));
            for (int b = 0; b < boks; ++b) {
                buk(L, L.at(u), f0 * (1 + 0.03 * b), amp * 0.8, rnd);
                u += rnd.range(0.15, 0.22) * (1 - 0.05 * b);
            }
            buk(L, L.at(u), f0 * 1.1, amp * 0.85, rnd);
            kaaak(L, L.at(u + 0.09), f0, amp, rnd);
            t += 0.6;
        } else if (roll > -0.6) {
            const int boks = 2 + static_cast<int>(rnd.range(0, 3.99));
            for (int b = 0; b < boks; ++b) {
                buk(L, L.at(u), f0, amp * rnd.range(0.75, 1.0), rnd);
                u += rnd.range(0.13, 0.26);
            }
        } else {
            purr(L, L.at(u), f0, amp * 0.7, rnd);
        }
    }
    // Chicks peeping in little runs.
    for (double t = 0.6; t < loopSeconds; t += rnd.range(1.3, 3.0)) {
        const int n = 2 + static_cast<int>(rnd.range(0, 3.99));
        const double f = rnd.range(2600, 3600);
        for (int i = 0; i < n; ++i)
            peep(L, L.at(t + i * rnd.range(0.12, 0.2)), f * rnd.range(0.95, 1.05), 0.10);
    }
    // Feet scratching in the straw.
    for (double t = 0.3; t < loopSeconds; t += rnd.range(0.7, 2.4))
        for (int i = 0, k = 1 + static_cast<int>(rnd.range(0, 2.99)); i < k; ++i)
            scratch(L, L.at(t + i * rnd.range(0.12, 0.2)), 0.12, rnd);
    // Straw rustle and breeze: filtered noise, rendered past the end and
    // cross-faded over the start so it too joins up at the seam.
    const long n = static_cast<long>(L.s.size());
    const long fade = static_cast<long>(2.0 * sampleRateD);
    std::vector<double> bed(static_cast<std::size_t>(n + fade));
    Noise nz(99);
    double lp1 = 0, lp2 = 0, lp1b = 0, lp2b = 0;
    for (long i = 0; i < n + fade; ++i) {
        // Two poles each, so the breeze stays a soft rumble instead of hiss.
        lp1b += 0.02 * (nz.next() - lp1b);
        lp1 += 0.06 * (lp1b - lp1);
        lp2b += 0.2 * (nz.next() - lp2b);
        lp2 += 0.3 * (lp2b - lp2);
        const double swell = 0.75
                             + 0.25
                                   * std::sin(2 * std::numbers::pi * 3.0 * static_cast<double>(i)
                                              / static_cast<double>(n)); // 3 swells per loop
        bed[static_cast<std::size_t>(i)] = swell * (lp1 * 1.6 + lp2 * 0.06);
    }
    std::vector<double> out(L.s);
    for (long i = 0; i < n; ++i) {
        double b = bed[static_cast<std::size_t>(i)];
        if (i < fade) {
            const double w = static_cast<double>(i) / fade;
            b = b * w + bed[static_cast<std::size_t>(n + i)] * (1 - w);
        }
        out[static_cast<std::size_t>(i)] += b;
    }
    level(out, -20.0, 3.0);
    return out;
}

// ---- Main theme -----------------------------------------------------------

struct Note {
    int midi; // 0 = rest
    int eighths;
};

void lead(Loop& L, long start, double hz, double len, double amp)
{
    const long n = static_cast<long>((len + 0.25) * sampleRateD);
    double ph = 0;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / sampleRateD;
        const double vib = 1.0 + 0.004 * std::sin(2 * std::numbers::pi * 5.5 * t) * std::min(1.0, t * 4);
        ph += 2 * std::numbers::pi * hz * vib / sampleRateD;
        double env = std::min(1.0, t / 0.012) * (0.55 + 0.45 * std::exp(-t * 6));
        if (t > len)
            env *= std::exp(-(t - len) * 30);
        // Soft triangle-like tone plus a touch of octave: a friendly whistle.
        const double v = std::sin(ph) - std::sin(3 * ph) / 9.0 + std::sin(5 * ph) / 25.0 + 0.18 * std::sin(2 * ph);
        L.add(start + i, amp * env * v);
    }
}

void pluck(Loop& L, long start, double hz, double decay, double amp, double bright)
{
    const long n = static_cast<long>(decay * 6 * sampleRateD);
    double ph = 0;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / sampleRateD;
        ph += 2 * std::numbers::pi * hz / sampleRateD;
        const double env = std::min(1.0, t / 0.004) * std::exp(-t / decay);
        const double v = std::sin(ph) + bright * std::exp(-t * 12) * (0.5 * std::sin(2 * ph) + 0.3 * std::sin(3 * ph));
        L.add(start + i, amp * env * v);
    }
}

void kick(Loop& L, long start, double amp)
{
    const long n = static_cast<long>(0.3 * sampleRateD);
    double ph = 0;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / sampleRateD;
        ph += 2 * std::numbers::pi * (45 + 90 * std::exp(-t * 30)) / sampleRateD;
        L.add(start + i, amp * std::exp(-t * 12) * std::min(1.0, t / 0.002) * std::sin(ph));
    }
}

void snare(Loop& L, long start, double amp, Noise& nz)
{
    // A soft brush-like snare: noise kept below about 7 baseHz plus a short body tone.
    const long n = static_cast<long>(0.2 * sampleRateD);
    Resonator body;
    double lp = 0;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / sampleRateD;
        lp += 0.55 * (nz.next() - lp);
        const double sn = body.run(lp, 3200, 0.6);
        const double tone = std::sin(2 * std::numbers::pi * 190 * t) * std::exp(-t * 35);
        L.add(start + i, amp * std::min(1.0, t / 0.002) * (1.1 * sn * std::exp(-t * 22) + 0.5 * tone));
    }
}

void hat(Loop& L, long start, double amp, Noise& nz)
{
    // Shaker tick: noise band around 8 baseHz, nothing fizzing right up at the top.
    const long n = static_cast<long>(0.06 * sampleRateD);
    Resonator bp;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / sampleRateD;
        L.add(start + i, amp * 1.4 * bp.run(nz.next(), 8000, 1.1) * std::min(1.0, t / 0.002) * std::exp(-t * 70));
    }
}

// Feedback echo that wraps round the loop, so the echoes of the last bar land
// in the first one just as they would if the track kept playing.
void echoLoop(std::vector<double>& s, double delay, double feedback, double wet)
{
    const long n = static_cast<long>(s.size());
    const long d = static_cast<long>(delay * sampleRateD);
    std::vector<double> y(s.size(), 0.0);
    double lp = 0;
    for (int pass = 0; pass < 3; ++pass)
        for (long i = 0; i < n; ++i) {
            const double back = y[static_cast<std::size_t>(((i - d) % n + n) % n)];
            lp += 0.35 * (back - lp); // each repeat a little darker
            y[static_cast<std::size_t>(i)] = s[static_cast<std::size_t>(i)] + feedback * lp;
        }
    for (long i = 0; i < n; ++i)
        s[static_cast<std::size_t>(i)] += wet * (y[static_cast<std::size_t>(i)] - s[static_cast<std::size_t>(i)]);
}

std::vector<double> mainTheme()
{
    constexpr double beatSeconds = 0.5; // 120 bpm
    constexpr double eighth = beatSeconds / 2;
    constexpr int barCount = 24;
    Loop L(barCount * 4 * beatSeconds);
    Loop M(barCount * 4 * beatSeconds); // the tune, which gets a little echo
    Noise nz(7);

    // Melody: part A (8 bars), part B (8 bars), part A again.
    const std::vector<std::vector<Note>> partA = {
        {{76, 1}, {79, 1}, {84, 2}, {79, 1}, {76, 1}, {79, 2}}, {{77, 1}, {81, 1}, {84, 2}, {81, 2}, {77, 2}},
        {{79, 1}, {83, 1}, {86, 2}, {83, 1}, {79, 1}, {74, 2}}, {{76, 2}, {72, 2}, {79, 2}, {0, 2}},
        {{81, 1}, {84, 1}, {88, 2}, {84, 1}, {81, 1}, {76, 2}}, {{77, 1}, {79, 1}, {81, 1}, {84, 1}, {81, 2}, {77, 2}},
        {{86, 1}, {84, 1}, {83, 1}, {81, 1}, {79, 2}, {83, 2}}, {{84, 4}, {0, 4}},
    };
    const std::vector<std::vector<Note>> partB = {
        {{81, 2}, {81, 1}, {79, 1}, {77, 2}, {81, 2}},          {{83, 2}, {83, 1}, {81, 1}, {79, 2}, {86, 2}},
        {{88, 1}, {86, 1}, {83, 2}, {79, 2}, {83, 2}},          {{84, 1}, {83, 1}, {81, 2}, {76, 4}},
        {{77, 1}, {81, 1}, {84, 1}, {89, 1}, {88, 2}, {84, 2}}, {{86, 1}, {83, 1}, {79, 1}, {83, 1}, {86, 2}, {91, 2}},
        {{88, 2}, {86, 1}, {84, 1}, {79, 2}, {76, 2}},          {{74, 2}, {76, 1}, {77, 1}, {79, 2}, {0, 2}},
    };
    // Chord roots (MIDI, bass octave) and triads for each bar.
    struct Chord {
        int root;
        int third;
        int fifth;
    };
    const Chord C{48, 52, 55}, F{41, 45, 48}, G{43, 47, 50}, Am{45, 48, 52}, Em{40, 43, 47};
    const std::vector<Chord> chordsA = {C, F, G, C, Am, F, G, C};
    const std::vector<Chord> chordsB = {F, G, Em, Am, F, G, C, G};

    for (int bar = 0; bar < barCount; ++bar) {
        const bool b = bar >= 8 && bar < 16;
        const auto& mel = (b ? partB : partA)[static_cast<std::size_t>(bar % 8)];
        const Chord ch = (b ? chordsB : chordsA)[static_cast<std::size_t>(bar % 8)];
        const double t0 = bar * 4 * beatSeconds;
        double t = t0;
        for (const Note& n : mel) {
            const double len = n.eighths * eighth;
            if (n.midi)
                lead(M, M.at(t), midiHz(n.midi), len * 0.85, 0.32);
            t += len;
        }
        // Bass: root, fifth, root up an octave, fifth.
        const int bass[4] = {ch.root - 12, ch.fifth - 12, ch.root, ch.fifth - 12};
        for (int q = 0; q < 4; ++q)
            pluck(L, L.at(t0 + q * beatSeconds), midiHz(bass[q]), 0.18, 0.42, 0.8);
        // Off-beat plucked chords, like a ukulele.
        for (int e = 1; e < 8; e += 2)
            for (int note : {ch.root + 12, ch.third + 12, ch.fifth + 12})
                pluck(L, L.at(t0 + e * eighth + (note - ch.root) * 0.0015), midiHz(note), 0.08, 0.09, 1.0);
        // Drums.
        kick(L, L.at(t0), 0.8);
        kick(L, L.at(t0 + 2 * beatSeconds), 0.7);
        if (bar % 4 == 3)
            kick(L, L.at(t0 + 3.5 * beatSeconds), 0.5);
        snare(L, L.at(t0 + beatSeconds), 0.35, nz);
        snare(L, L.at(t0 + 3 * beatSeconds), 0.35, nz);
        for (int e = 0; e < 8; ++e)
            hat(L, L.at(t0 + e * eighth), e % 2 ? 0.12 : 0.2, nz);
    }
    echoLoop(M.s, 3 * eighth, 0.3, 0.45);
    for (std::size_t i = 0; i < L.s.size(); ++i)
        L.s[i] += M.s[i];
    // Start the file 10 ms before the first downbeat, so the seam falls in
    // the quiet tail of the last bar rather than on a drum hit.
    const std::size_t lead = static_cast<std::size_t>(0.010 * sampleRateD);
    std::rotate(L.s.begin(), L.s.end() - static_cast<long>(lead), L.s.end());
    return L.s;
}

} // namespace

void Sound::writeFarmyard(const std::filesystem::path& path) { writeWav(path, farmyard()); }

void Sound::writeMainTheme(const std::filesystem::path& path) { writeWav(path, mainTheme()); }

} // namespace henhouse::assets
