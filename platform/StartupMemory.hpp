#pragma once

#include <cstddef>
#include <cstdint>

// The process's memory at start-up, where the system lets us shape it.
//
// With a software renderer every texture lives in this process's own memory,
// and on the virtual machines the game is built and tested on a fresh small
// page costs far more to fault in than its contents cost to compute, while a
// large page is quick to fill once the host has it. So, when the renderer
// draws in software, large blocks are taken from the heap and freed memory
// stays there to be reused, and the heap is grown ahead of need on large
// pages. With a graphics card none of this is done.
//
// The Linux build does it with mallopt, madvise and mmap; the portable build
// (any other system, or a build asked for it) does none of it: the heap is
// left alone and blocks come from malloc. Nothing else in the game calls the
// system for memory.

// True where growing the heap ahead can pay off at all.
bool shapesStartupMemory();

// A guess made before any graphics context exists: true when the graphics
// library will most likely draw in software (the driver is asked for
// software rendering, or the machine has no graphics device to draw with).
// The texture store confirms it with the renderer's own name.
bool softwareRenderingLikely();

// A range of whole large pages, [first, last); empty when first == last.
struct THeapRange {
    std::uintptr_t first = 0;
    std::uintptr_t last = 0;
    std::size_t size() const { return last - first; }
};

// Every thread takes its memory from the one heap (the C library would give
// threads heaps of their own): freed memory kept through the start is then
// all in one place, given back with the rest when the start is over; a
// thread's own heap would keep what it held at its peak for good. Only
// takes effect when called before any second thread asks for memory.
void shareOneHeap();

// Large blocks come from the heap too, and freed memory is never handed
// back to the system. Idempotent.
void keepMemoryInHeap();

// Once the start is over: large blocks get their own mappings again, and
// the heap hands freed memory back to the system, starting with what is free
// now (the start's spare room, the pictures the mipmaps replaced), and the
// heap grown on large pages is no longer merged into them (which would fill
// the memory given back in again). Returns the bytes the heap held free
// before (0 where the heap is left alone).
std::size_t giveBackSpareMemory();

// Once the start is over: lets go of the pages of the program's and its
// libraries' code and read-only data (the graphics driver's compiler alone
// is some 60 MB, used to start and then seldom). They are the files' own
// pages, which the system keeps cached and maps back in at the next touch.
// Mappings with pages of their own (copies made on a write) are left whole.
// Returns the bytes let go (0 where nothing can be).
std::size_t releaseUnwrittenFilePages();

// After the start, hands the heap's free memory back to the system now. A
// big passing need (a large picture's pixels read back, say) is served from
// the room free inside the heap, and what it used would otherwise stay
// resident for good. During the start, does nothing.
void releaseFreeHeap();

// Grows the heap by about `bytes`, gives the block straight back to it
// unwritten (so the next allocations are carved out of it, in order), and
// asks for large pages there. Returns the large pages inside the block.
THeapRange growHeap(std::size_t bytes);

// Fills [at, at + bytes) of mapped memory with pages at once; false where
// the system cannot.
bool fillPages(void* at, std::size_t bytes);

// Fills `bytes` from `at` a few megabytes at a time, asking `stopped`
// before each step; false where the system cannot.
template <class Stopped>
bool fillWithPages(void* at, std::size_t bytes, Stopped stopped);

// A block of `bytes` apart from the heap, on large pages where the system
// has them; null when it cannot be had.
std::uint8_t* mapBlock(std::size_t bytes);
// Gives [at + kept, at + size) of a mapped block back to the system; false
// where it cannot (the block then stays whole).
bool shrinkBlock(std::uint8_t* at, std::size_t size, std::size_t kept);
// Gives a mapped block of `size` (its size after any shrinking) back.
void unmapBlock(std::uint8_t* at, std::size_t size);

constexpr std::size_t largePageBytes = std::size_t{2} << 20;

template <class Stopped>
bool fillWithPages(void* at, std::size_t bytes, Stopped stopped)
{
    constexpr std::size_t step = std::size_t{8} << 20;
    for (std::size_t done = 0; done < bytes && !stopped(); done += step)
        if (!fillPages(static_cast<std::uint8_t*>(at) + done, bytes - done < step ? bytes - done : step))
            return false;
    return true;
}
