#include "core/TDecodeRing.hpp"

TDecodeRing::TDecodeRing(std::size_t bytes)
{
    if (bytes == 0)
        return;
    const std::size_t rounded = roundToLargePages(bytes);
    base = mapBlock(rounded);
    if (base)
        size = rounded;
}

TDecodeRing::~TDecodeRing() { unmapBlock(base, size); }

std::uint8_t* TDecodeRing::take(std::size_t bytes)
{
    if (tooSmallFor(bytes))
        return nullptr;
    std::size_t at = 0;
    if (!held.empty()) {
        const std::size_t head = held.back().first + held.back().second;
        const std::size_t tail = held.front().first;
        if (head > tail && head + bytes <= size)
            at = head; // after the newest
        else if (head > tail && bytes <= tail)
            at = 0; // round to the start, before the oldest
        else if (head < tail && head + bytes <= tail)
            at = head; // wrapped already: between the newest and the oldest
        else
            return nullptr;
    }
    held.emplace_back(at, bytes);
    return base + at;
}

void TDecodeRing::giveBack()
{
    if (!held.empty())
        held.pop_front();
}

void TDecodeRing::takeBack()
{
    if (!held.empty())
        held.pop_back();
}

bool TDecodeRing::wouldShrink(std::size_t bytes) const
{
    return base && shrinkable && roundToLargePages(bytes) * 2 <= size;
}

void TDecodeRing::shrinkTo(std::size_t bytes)
{
    if (!wouldShrink(bytes) || !held.empty())
        return;
    const std::size_t kept = roundToLargePages(bytes);
    if (!shrinkBlock(base, size, kept)) {
        shrinkable = false; // the system keeps it whole: no use asking again
        return;
    }
    size = kept;
    if (size == 0)
        base = nullptr;
}

std::size_t TDecodeRing::roundToLargePages(std::size_t bytes)
{
    return (bytes + largePageBytes - 1) / largePageBytes * largePageBytes;
}
