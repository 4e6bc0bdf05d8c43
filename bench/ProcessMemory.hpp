#pragma once

#include "world/TWorld.hpp"

#include <cstddef>
#include <fstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime's allocator interface (its header is not always installed).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

// Memory figures shared by the long-run benchmark and its test.

// The process's resident memory in KiB as the system reports it (-1 when it
// cannot be read).
inline long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

// Bytes handed out by the allocator and not yet given back.
inline std::size_t liveHeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

// What the world holds by design, in bytes of its vectors.
inline std::size_t keptByDesign(const TWorld& world)
{
    return world.pollution.capacity() * sizeof(sf::Sprite) + world.eggsOnFloor.capacity() * sizeof(TEgg2)
        + world.vecChikens.capacity() * sizeof(TChiken2) + world.bubbles.capacity() * sizeof(TBubble);
}
