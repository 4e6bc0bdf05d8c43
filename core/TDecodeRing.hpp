#pragma once

#include "platform/StartupMemory.hpp"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>

// One block of memory that decoded images take turns in, first in, first
// out: each image is placed after the one before, wrapping round to the
// start when the end is reached, and keeps its place until it is given back.
// Images are given back in the order they were placed. The memory is taken
// once, apart from the heap and on large pages where the system has them.
//
// Not synchronised: the owner guards it.
class TDecodeRing {
public:
    // A ring of at least `bytes` (none at all for 0, or when the memory
    // cannot be had).
    explicit TDecodeRing(std::size_t bytes);
    TDecodeRing(const TDecodeRing&) = delete;
    TDecodeRing& operator=(const TDecodeRing&) = delete;
    ~TDecodeRing();

    // Room for `bytes` after the images held, or null when there is none
    // now (it may come once older images are given back).
    std::uint8_t* take(std::size_t bytes);
    // The oldest image held is done with.
    void giveBack();
    // The newest image held came to nothing.
    void takeBack();

    bool empty() const { return held.empty(); }
    std::size_t capacity() const { return size; }
    // True when an image of `bytes` could never fit, however long it waited.
    bool tooSmallFor(std::size_t bytes) const { return !base || bytes > size; }

    // Fills the whole ring with pages in one go rather than fault by fault;
    // false where the system cannot. `stopped` is asked between steps.
    template <class Stopped>
    bool fill(Stopped stopped)
    {
        return base && fillWithPages(base, size, stopped);
    }

    // True when images of at most `bytes` need no more than half the ring
    // (and the system can take part of it back).
    bool wouldShrink(std::size_t bytes) const;
    // Gives the memory beyond what images of `bytes` need back to the
    // system, when that is worth it and nothing is held.
    void shrinkTo(std::size_t bytes);

private:
    static std::size_t roundToLargePages(std::size_t bytes);

    std::uint8_t* base = nullptr;
    std::size_t size = 0;
    bool shrinkable = true;
    std::deque<std::pair<std::size_t, std::size_t>> held; // offset and size, oldest first
};
