#include "Sound.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace henhouse::assets {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRateD = Sound::kRate;

// Small deterministic noise source: the music must be the same on every build.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : s_(seed ? seed : 1) {}
    double next() {  // -1..1
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return (s_ / 4294967295.0) * 2.0 - 1.0;
    }
    double range(double a, double b) { return a + (b - a) * (next() * 0.5 + 0.5); }

private:
    std::uint32_t s_;
};

// A loop of samples. Sounds that run past the end wrap to the start, so the
// last sample flows straight into the first and the seam cannot click.
struct Loop {
    std::vector<double> s;
    explicit Loop(double seconds) : s(static_cast<std::size_t>(seconds * kRateD)) {}
    void add(long i, double v) {
        const long n = static_cast<long>(s.size());
        s[static_cast<std::size_t>(((i % n) + n) % n)] += v;
    }
    long at(double seconds) const { return std::lround(seconds * kRateD); }
};

double midiHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

void writeWav(const std::filesystem::path& path, const std::vector<double>& s) {
    // Peaks at about -1 dBFS.
    double peak = 1e-9;
    for (double v : s) peak = std::max(peak, std::abs(v));
    const double gain = 0.891 * 32767.0 / peak;
    std::vector<std::int16_t> pcm(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::clamp(std::lround(s[i] * gain), -32760L, 32760L));

    std::ofstream f(path, std::ios::binary);
    if (!f) throw std::runtime_error("cannot open for writing");
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
    u16(1);  // PCM
    u16(1);  // mono
    u32(Sound::kRate);
    u32(Sound::kRate * 2);
    u16(2);
    u16(16);
    f.write("data", 4);
    u32(dataBytes);
    for (std::int16_t v : pcm) u16(static_cast<std::uint16_t>(v));
    if (!f.flush()) throw std::runtime_error("write failed (disk full?)");
}

// ---- Farmyard -------------------------------------------------------------

// One "bok": a buzzy voiced burst whose pitch falls, shaped like a short vowel.
void cluck(Loop& L, long start, double f0, double len, double amp, double glide) {
    const long n = static_cast<long>(len * kRateD);
    double ph = 0;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double f = f0 * (1.0 + glide * (1 - t)) * (1 - 0.25 * t);
        ph += 2 * kPi * f / kRateD;
        const double env = std::sin(kPi * std::min(1.0, t * 6)) * std::exp(-4.0 * t) * (t < 0.1 ? t / 0.1 : 1.0);
        // Harmonics weighted like a nasal "o" vowel.
        const double v = std::sin(ph) + 0.8 * std::sin(2 * ph) + 0.55 * std::sin(3 * ph) + 0.3 * std::sin(4 * ph) +
                         0.15 * std::sin(6 * ph);
        L.add(start + i, amp * env * v);
    }
}

void peep(Loop& L, long start, double f0, double amp) {
    const long n = static_cast<long>(0.09 * kRateD);
    double ph = 0;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        ph += 2 * kPi * f0 * (1.0 + 0.25 * (1 - t)) / kRateD;
        L.add(start + i, amp * std::sin(kPi * t) * std::sin(ph));
    }
}

std::vector<double> farmyard() {
    constexpr double kSeconds = 24.0;
    Loop L(kSeconds);
    Noise rnd(1234);
    // Hens chatting: phrases of "bok bok bok", now and then a "ba-gawk".
    for (double t = 0.2; t < kSeconds; t += rnd.range(0.9, 2.2)) {
        const double f0 = rnd.range(380, 640);
        const double amp = rnd.range(0.35, 0.8);
        const int boks = 2 + static_cast<int>(rnd.range(0, 3.99));
        double u = t;
        for (int b = 0; b < boks; ++b) {
            cluck(L, L.at(u), f0 * rnd.range(0.95, 1.08), rnd.range(0.07, 0.11), amp, 0.15);
            u += rnd.range(0.14, 0.24);
        }
        if (rnd.next() > 0.4) {
            cluck(L, L.at(u + 0.05), f0 * 0.9, 0.09, amp, 0.1);
            cluck(L, L.at(u + 0.17), f0 * 1.5, 0.32, amp * 1.1, -0.2);
        }
    }
    // Chicks peeping in little runs.
    for (double t = 0.6; t < kSeconds; t += rnd.range(1.3, 3.0)) {
        const int n = 2 + static_cast<int>(rnd.range(0, 3.99));
        const double f = rnd.range(2600, 3600);
        for (int i = 0; i < n; ++i) peep(L, L.at(t + i * rnd.range(0.12, 0.2)), f * rnd.range(0.95, 1.05), 0.12);
    }
    // Straw rustle and breeze: filtered noise, rendered past the end and
    // cross-faded over the start so it too joins up at the seam.
    const long n = static_cast<long>(L.s.size());
    const long fade = static_cast<long>(2.0 * kRateD);
    std::vector<double> bed(static_cast<std::size_t>(n + fade));
    Noise nz(99);
    double lp1 = 0, lp2 = 0;
    for (long i = 0; i < n + fade; ++i) {
        lp1 += 0.02 * (nz.next() - lp1);
        lp2 += 0.2 * (nz.next() - lp2);
        const double swell = 0.75 + 0.25 * std::sin(2 * kPi * 3.0 * i / n);  // 3 swells per loop
        bed[static_cast<std::size_t>(i)] = swell * (lp1 * 1.6 + lp2 * 0.15);
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
    return out;
}

// ---- Main theme -----------------------------------------------------------

struct Note {
    int midi;  // 0 = rest
    int eighths;
};

void lead(Loop& L, long start, double hz, double len, double amp) {
    const long n = static_cast<long>((len + 0.25) * kRateD);
    double ph = 0;
    for (long i = 0; i < n; ++i) {
        const double t = i / kRateD;
        const double vib = 1.0 + 0.004 * std::sin(2 * kPi * 5.5 * t) * std::min(1.0, t * 4);
        ph += 2 * kPi * hz * vib / kRateD;
        double env = std::min(1.0, t / 0.012) * (0.55 + 0.45 * std::exp(-t * 6));
        if (t > len) env *= std::exp(-(t - len) * 30);
        // Soft triangle-like tone plus a touch of octave: a friendly whistle.
        const double v = std::sin(ph) - std::sin(3 * ph) / 9.0 + std::sin(5 * ph) / 25.0 + 0.18 * std::sin(2 * ph);
        L.add(start + i, amp * env * v);
    }
}

void pluck(Loop& L, long start, double hz, double decay, double amp, double bright) {
    const long n = static_cast<long>(decay * 6 * kRateD);
    double ph = 0;
    for (long i = 0; i < n; ++i) {
        const double t = i / kRateD;
        ph += 2 * kPi * hz / kRateD;
        const double env = std::min(1.0, t / 0.004) * std::exp(-t / decay);
        const double v = std::sin(ph) + bright * std::exp(-t * 12) * (0.5 * std::sin(2 * ph) + 0.3 * std::sin(3 * ph));
        L.add(start + i, amp * env * v);
    }
}

void kick(Loop& L, long start, double amp) {
    const long n = static_cast<long>(0.3 * kRateD);
    double ph = 0;
    for (long i = 0; i < n; ++i) {
        const double t = i / kRateD;
        ph += 2 * kPi * (45 + 90 * std::exp(-t * 30)) / kRateD;
        L.add(start + i, amp * std::exp(-t * 12) * std::min(1.0, t / 0.002) * std::sin(ph));
    }
}

void snare(Loop& L, long start, double amp, Noise& nz) {
    const long n = static_cast<long>(0.22 * kRateD);
    double prev = 0;
    for (long i = 0; i < n; ++i) {
        const double t = i / kRateD;
        const double w = nz.next();
        const double hp = w - prev;  // brighter noise
        prev = w;
        const double tone = std::sin(2 * kPi * 190 * t) * std::exp(-t * 35);
        L.add(start + i, amp * std::min(1.0, t / 0.001) * (0.6 * hp * std::exp(-t * 18) + 0.5 * tone));
    }
}

void hat(Loop& L, long start, double amp, Noise& nz) {
    const long n = static_cast<long>(0.05 * kRateD);
    double prev = 0;
    for (long i = 0; i < n; ++i) {
        const double t = i / kRateD;
        const double w = nz.next();
        L.add(start + i, amp * (w - prev) * std::exp(-t * 80));
        prev = w;
    }
}

std::vector<double> mainTheme() {
    constexpr double kBeat = 0.5;  // 120 bpm
    constexpr double kEighth = kBeat / 2;
    constexpr int kBars = 24;
    Loop L(kBars * 4 * kBeat);
    Noise nz(7);

    // Melody: part A (8 bars), part B (8 bars), part A again.
    const std::vector<std::vector<Note>> partA = {
        {{76, 1}, {79, 1}, {84, 2}, {79, 1}, {76, 1}, {79, 2}},
        {{77, 1}, {81, 1}, {84, 2}, {81, 2}, {77, 2}},
        {{79, 1}, {83, 1}, {86, 2}, {83, 1}, {79, 1}, {74, 2}},
        {{76, 2}, {72, 2}, {79, 2}, {0, 2}},
        {{81, 1}, {84, 1}, {88, 2}, {84, 1}, {81, 1}, {76, 2}},
        {{77, 1}, {79, 1}, {81, 1}, {84, 1}, {81, 2}, {77, 2}},
        {{86, 1}, {84, 1}, {83, 1}, {81, 1}, {79, 2}, {83, 2}},
        {{84, 4}, {0, 4}},
    };
    const std::vector<std::vector<Note>> partB = {
        {{81, 2}, {81, 1}, {79, 1}, {77, 2}, {81, 2}},
        {{83, 2}, {83, 1}, {81, 1}, {79, 2}, {86, 2}},
        {{88, 1}, {86, 1}, {83, 2}, {79, 2}, {83, 2}},
        {{84, 1}, {83, 1}, {81, 2}, {76, 4}},
        {{77, 1}, {81, 1}, {84, 1}, {89, 1}, {88, 2}, {84, 2}},
        {{86, 1}, {83, 1}, {79, 1}, {83, 1}, {86, 2}, {91, 2}},
        {{88, 2}, {86, 1}, {84, 1}, {79, 2}, {76, 2}},
        {{74, 2}, {76, 1}, {77, 1}, {79, 2}, {0, 2}},
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

    for (int bar = 0; bar < kBars; ++bar) {
        const bool b = bar >= 8 && bar < 16;
        const auto& mel = (b ? partB : partA)[bar % 8];
        const Chord ch = (b ? chordsB : chordsA)[bar % 8];
        const double t0 = bar * 4 * kBeat;
        double t = t0;
        for (const Note& n : mel) {
            const double len = n.eighths * kEighth;
            if (n.midi) lead(L, L.at(t), midiHz(n.midi), len * 0.85, 0.32);
            t += len;
        }
        // Bass: root, fifth, root up an octave, fifth.
        const int bass[4] = {ch.root - 12, ch.fifth - 12, ch.root, ch.fifth - 12};
        for (int q = 0; q < 4; ++q) pluck(L, L.at(t0 + q * kBeat), midiHz(bass[q]), 0.18, 0.42, 0.8);
        // Off-beat plucked chords, like a ukulele.
        for (int e = 1; e < 8; e += 2)
            for (int note : {ch.root + 12, ch.third + 12, ch.fifth + 12})
                pluck(L, L.at(t0 + e * kEighth + (note - ch.root) * 0.0015), midiHz(note), 0.08, 0.09, 1.0);
        // Drums.
        kick(L, L.at(t0), 0.8);
        kick(L, L.at(t0 + 2 * kBeat), 0.7);
        if (bar % 4 == 3) kick(L, L.at(t0 + 3.5 * kBeat), 0.5);
        snare(L, L.at(t0 + kBeat), 0.35, nz);
        snare(L, L.at(t0 + 3 * kBeat), 0.35, nz);
        for (int e = 0; e < 8; ++e) hat(L, L.at(t0 + e * kEighth), e % 2 ? 0.12 : 0.2, nz);
    }
    // Start the file 10 ms before the first downbeat, so the seam falls in
    // the quiet tail of the last bar rather than on a drum hit.
    const std::size_t lead = static_cast<std::size_t>(0.010 * kRateD);
    std::rotate(L.s.begin(), L.s.end() - static_cast<long>(lead), L.s.end());
    return L.s;
}

} // namespace

void Sound::writeFarmyard(const std::filesystem::path& path) { writeWav(path, farmyard()); }

void Sound::writeMainTheme(const std::filesystem::path& path) { writeWav(path, mainTheme()); }

} // namespace henhouse::assets
