#include "platform/StartupMemory.hpp"

#include <cstdlib>

// The portable way: the heap is the C library's business, blocks come from
// malloc, and nothing is filled ahead.

bool shapesStartupMemory() { return false; }

bool softwareRenderingLikely() { return false; }

void shareOneHeap() {}

void keepMemoryInHeap() {}

std::size_t giveBackSpareMemory() { return 0; }

void releaseFreeHeap() {}

std::size_t releaseUnwrittenFilePages() { return 0; }

THeapRange growHeap(std::size_t) { return THeapRange{}; }

bool fillPages(void*, std::size_t) { return false; }

std::uint8_t* mapBlock(std::size_t bytes)
{
    return bytes == 0 ? nullptr : static_cast<std::uint8_t*>(std::malloc(bytes));
}

bool shrinkBlock(std::uint8_t*, std::size_t, std::size_t) { return false; }

void unmapBlock(std::uint8_t* at, std::size_t) { std::free(at); }
