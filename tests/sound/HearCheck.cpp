// Listens to a recording of the game's sound output (raw 16-bit mono at
// 44.1 kHz, from the sound server's monitor) and finds the game's two music
// tracks in it: how loud each plays, where the music falls silent and comes
// back, and whether each track comes back where it was.
//
//   henhouse-hear RECORDING FARMYARD.wav THEME.wav VOLUME MARK
//
// MARK is a sample of the recording inside the silence (taken while the
// music was off). Prints what it measured; exits 1 when a check fails.
//
// A busy machine cannot always feed the sound server in time, and every
// such gap shifts the tracks later in the recording. So each track is found
// anew in short windows of the recording, anywhere in its whole loop (by
// correlation, through FFTs), and only windows that the two tracks explain
// almost wholly are used.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double rate = 44100.0;
constexpr long window = 4096;
using Samples = std::vector<double>;
using Spectrum = std::vector<std::complex<double>>;

Samples fromPcm16(const std::vector<char>& bytes, std::size_t from, std::size_t count)
{
    Samples s(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto lo = static_cast<std::uint8_t>(bytes[from + 2 * i]);
        const auto hi = static_cast<std::uint8_t>(bytes[from + 2 * i + 1]);
        s[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8))) / 32768.0;
    }
    return s;
}

std::vector<char> readAll(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "hear: cannot read %s\n", path);
        std::exit(2);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The samples of a mono 16-bit WAV file (its data chunk).
Samples readWav(const char* path)
{
    const std::vector<char> b = readAll(path);
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string id(b.data() + at, 4);
        const std::uint32_t size = static_cast<std::uint8_t>(b[at + 4]) | static_cast<std::uint8_t>(b[at + 5]) << 8
                                   | static_cast<std::uint8_t>(b[at + 6]) << 16
                                   | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 7])) << 24;
        if (id == "data")
            return fromPcm16(b, at + 8, std::min<std::size_t>(size, b.size() - at - 8) / 2);
        at += 8 + size + (size & 1);
    }
    std::fprintf(stderr, "hear: %s has no data chunk\n", path);
    std::exit(2);
}

// In-place radix-2 FFT (inverse without the 1/n).
void fft(Spectrum& a, bool inverse)
{
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const double angle = 2 * std::numbers::pi / static_cast<double>(len) * (inverse ? 1 : -1);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w(1);
            for (std::size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

// A track ready to be searched: its loop extended by a window, its spectrum,
// and the energy of every window of it.
struct Track {
    const char* name;
    Samples s;
    Spectrum spectrum;
    std::vector<double> energy; // of s[p .. p + window)

    double at(long p) const
    {
        const long n = static_cast<long>(s.size());
        return s[static_cast<std::size_t>(((p % n) + n) % n)];
    }
};

Track prepare(const char* name, Samples s)
{
    Track t{name, std::move(s), {}, {}};
    const std::size_t n = t.s.size();
    std::size_t size = 1;
    while (size < n + window)
        size <<= 1;
    t.spectrum.assign(size, 0.0);
    for (std::size_t i = 0; i < n + window; ++i)
        t.spectrum[i] = t.s[i % n];
    fft(t.spectrum, false);
    t.energy.resize(n);
    double e = 0;
    for (long i = 0; i < window; ++i)
        e += t.at(i) * t.at(i);
    for (std::size_t p = 0; p < n; ++p) {
        t.energy[p] = e;
        const long q = static_cast<long>(p);
        e += t.at(q + window) * t.at(q + window) - t.at(q) * t.at(q);
    }
    return t;
}

// Where in the track's loop the recording's window [from, from + window)
// matches best (its normalised correlation).
long bestPlace(const Samples& rec, long from, const Track& t)
{
    Spectrum w(t.spectrum.size(), 0.0);
    for (long i = 0; i < window; ++i)
        w[static_cast<std::size_t>(i)] = rec[static_cast<std::size_t>(from + i)];
    fft(w, false);
    for (std::size_t k = 0; k < w.size(); ++k)
        w[k] = t.spectrum[k] * std::conj(w[k]);
    fft(w, true);
    long best = 0;
    double bestScore = -1;
    for (std::size_t p = 0; p < t.energy.size(); ++p) {
        if (t.energy[p] <= 0)
            continue;
        const double score = w[p].real() / std::sqrt(t.energy[p]);
        if (score > bestScore) {
            bestScore = score;
            best = static_cast<long>(p);
        }
    }
    return best;
}

struct Fit {
    long from = 0;               // the window in the recording
    long placeA = 0, placeB = 0; // the tracks' samples playing at its start
    double gainA = 0, gainB = 0;
    double residual = 1; // the part of the window's energy the tracks leave unexplained
};

// The two tracks' gains in the window with each playing from the given place.
Fit fitAt(const Samples& rec, long from, const Track& a, long placeA, const Track& b, long placeB)
{
    Fit f;
    f.from = from;
    f.placeA = placeA;
    f.placeB = placeB;
    double aa = 0, bb = 0, ab = 0, xa = 0, xb = 0, xx = 0;
    for (long i = 0; i < window; ++i) {
        const double x = rec[static_cast<std::size_t>(from + i)];
        const double sa = a.at(f.placeA + i), sb = b.at(f.placeB + i);
        aa += sa * sa, bb += sb * sb, ab += sa * sb, xa += x * sa, xb += x * sb, xx += x * x;
    }
    const double det = aa * bb - ab * ab;
    if (det <= 0 || xx <= 0)
        return f;
    f.gainA = (xa * bb - xb * ab) / det;
    f.gainB = (xb * aa - xa * ab) / det;
    double left = 0;
    for (long i = 0; i < window; ++i) {
        const double e =
            rec[static_cast<std::size_t>(from + i)] - f.gainA * a.at(f.placeA + i) - f.gainB * b.at(f.placeB + i);
        left += e * e;
    }
    f.residual = left / xx;
    return f;
}

// The same, each track found where it fits best.
Fit fit(const Samples& rec, long from, const Track& a, const Track& b)
{
    return fitAt(rec, from, a, bestPlace(rec, from, a), b, bestPlace(rec, from, b));
}

int failures = 0;
void check(bool ok, const std::string& what)
{
    std::printf("hear: %s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    failures += ok ? 0 : 1;
}

std::string seconds(double samples)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", samples / rate);
    return text;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: henhouse-hear RECORDING FARMYARD.wav THEME.wav VOLUME MARK\n");
        return 2;
    }
    const std::vector<char> raw = readAll(argv[1]);
    const Samples rec = fromPcm16(raw, 0, raw.size() / 2);
    const Track farmyard = prepare("farmyard", readWav(argv[2]));
    const Track theme = prepare("theme", readWav(argv[3]));
    const double volume = std::atof(argv[4]);
    const long mark = std::atol(argv[5]);
    const long n = static_cast<long>(rec.size());
    std::printf("hear: %s recorded\n", seconds(static_cast<double>(n)).c_str());
    if (mark <= 0 || mark >= n) {
        std::fprintf(stderr, "hear: the mark %ld lies outside the recording\n", mark);
        return 2;
    }

    // Sound is any sample above the 16-bit noise floor (a null output adds none).
    const auto sounding = [&](long i) { return std::abs(rec[static_cast<std::size_t>(i)]) > 2.0 / 32768.0; };
    long onset = 0;
    while (onset < n && !sounding(onset))
        ++onset;
    long stop = mark; // the last sound before the silence
    while (stop > 0 && !sounding(stop))
        --stop;
    long back = mark; // the first sound after it
    while (back < n && !sounding(back))
        ++back;
    check(onset < stop, "the music starts (at " + seconds(static_cast<double>(onset)) + ")");
    check(stop < mark && back > mark && back < n, "it falls silent at " + seconds(static_cast<double>(stop))
                                                      + " and comes back at " + seconds(static_cast<double>(back)));
    const long span = static_cast<long>(6 * rate);
    check(stop - onset > span && n - back > span, "six seconds of music on either side of the silence");
    if (failures)
        return 1;
    double loudest = 0;
    for (long i = stop + 1; i < back; ++i)
        loudest = std::max(loudest, std::abs(rec[static_cast<std::size_t>(i)]));
    check(loudest == 0,
          "nothing at all is heard while it is off (" + seconds(static_cast<double>(back - stop - 1)) + ")");

    // Windows in the last six seconds before the silence and the first six
    // after it.
    constexpr int windows = 12;
    std::vector<Fit> before, after;
    for (int k = 0; k < windows; ++k) {
        for (auto [side, from] :
             {std::pair{&before, stop - span + k * (span / windows)}, std::pair{&after, back + k * (span / windows)}}) {
            const Fit f = fit(rec, from, farmyard, theme);
            std::printf("hear: window at %s: farmyard at %s x %.4f, theme at %s x %.4f, unexplained %.4f\n",
                        seconds(static_cast<double>(from)).c_str(), seconds(static_cast<double>(f.placeA)).c_str(),
                        f.gainA, seconds(static_cast<double>(f.placeB)).c_str(), f.gainB, f.residual);
            if (f.residual < 0.3)
                side->push_back(f);
        }
    }
    // Fair windows (most of it the two tracks: a gap in the feed may fall
    // inside) give the places; clean ones (nothing else at all) the volume.
    std::vector<double> gainsA, gainsB;
    for (const auto* side : {&before, &after})
        for (const Fit& f : *side)
            if (f.residual < 0.05)
                gainsA.push_back(f.gainA), gainsB.push_back(f.gainB);
    std::printf("hear: %zu and %zu fair windows of %d on either side, %zu clean\n", before.size(), after.size(),
                windows, gainsA.size());
    if (before.empty() || gainsA.empty()) {
        // A machine this busy drops most of the sound on its way: nothing
        // to judge the tracks by (the silence above was still checked).
        std::printf("hear: the machine is too busy to feed the sound server: the tracks are not judged\n");
        return failures ? 1 : 77;
    }
    const double gainA = median(gainsA), gainB = median(gainsB);
    std::printf("hear: farmyard plays at %.4f, theme at %.4f (designed %.4f)\n", gainA, gainB, volume);
    check(std::abs(gainA - volume) < 0.1 * volume && std::abs(gainB - volume) < 0.1 * volume,
          "both tracks play at the designed volume");

    // Back where they were: each track picks up, after the silence, at the
    // place where it stood as the music stopped (from the last fair window
    // before it). Gaps in the feed since that window put both tracks later
    // in the recording by the same time, so the windows after the silence
    // are tried with both at that place less up to four seconds (or half a
    // second more, for a gap inside that window); starting
    // over would put them at the start of their loops, seconds further back.
    // (Tried this way rather than by each track's best place, since the
    // theme repeats its first part note for note.) The place is read from
    // the best explained of those windows: a fair one with a gap inside can
    // put one track at a wrong place.
    const Fit& last = *std::min_element(before.begin(), before.end(),
                                        [](const Fit& a, const Fit& b) { return a.residual < b.residual; });
    const long stoppedA = last.placeA + (stop - last.from);
    const long stoppedB = last.placeB + (stop - last.from);
    std::printf("hear: the farmyard stopped at %s of its loop, the theme at %s\n",
                seconds(static_cast<double>(stoppedA % static_cast<long>(farmyard.s.size()))).c_str(),
                seconds(static_cast<double>(stoppedB % static_cast<long>(theme.s.size()))).c_str());
    const long slack = static_cast<long>(4 * rate);
    check(stoppedA - slack > 0, "the music played longer than the slack before it stopped");
    bool resumed = false;
    for (int k = 0; k < windows && !resumed; ++k) {
        const long from = back + k * (span / windows);
        const long sinceBack = from - back;
        // The delay at which the two tracks together match best, then how
        // well they explain the window there.
        long bestLate = 0;
        double bestScore = -1;
        for (long late = -static_cast<long>(rate / 2); late <= slack; ++late) {
            double dot = 0, energy = 0;
            for (long i = 0; i < window; i += 2) {
                const double m =
                    farmyard.at(stoppedA + sinceBack - late + i) + theme.at(stoppedB + sinceBack - late + i);
                dot += rec[static_cast<std::size_t>(from + i)] * m;
                energy += m * m;
            }
            const double score = energy > 0 ? dot / std::sqrt(energy) : 0;
            if (score > bestScore)
                bestScore = score, bestLate = late;
        }
        const Fit f =
            fitAt(rec, from, farmyard, stoppedA + sinceBack - bestLate, theme, stoppedB + sinceBack - bestLate);
        // (A window may hold a gap of its own: most of it explained will do.)
        if (f.residual < 0.3) {
            std::printf("hear: at %s both tracks play on from where they stopped (%s late), unexplained %.4f\n",
                        seconds(static_cast<double>(from)).c_str(), seconds(static_cast<double>(bestLate)).c_str(),
                        f.residual);
            resumed = true;
        }
    }
    check(resumed, "both tracks came back where they were");
    return failures ? 1 : 0;
}
