#pragma once

#include "world/TWorld.hpp"

#include <cstddef>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime's allocator interface (its header is not always installed).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

// Memory figures shared by the long-run benchmark and its test.

// One figure of the process's status in KiB, as the system reports it (-1
// when it cannot be read).
inline long statusKiB(const std::string& name)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == name) {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

// The process's resident memory in KiB now, and the most it has held.
inline long residentKiB() { return statusKiB("VmRSS:"); }
inline long peakResidentKiB() { return statusKiB("VmHWM:"); }

// Resident memory in KiB by kind of mapping: the heap, other anonymous
// memory (thread stacks, the decode ring, the graphics driver's own maps),
// and files (the program and its libraries), each library by name.
inline std::map<std::string, long> residentByMapping()
{
    std::map<std::string, long> kib;
    std::ifstream maps("/proc/self/smaps");
    std::string line, name;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (!first.empty() && first.back() != ':') {
            // A mapping's header: address perms offset dev inode [path]
            std::string perms, offset, dev, inode, path;
            fields >> perms >> offset >> dev >> inode;
            std::getline(fields, path);
            const auto start = path.find_first_not_of(' ');
            path = start == std::string::npos ? "" : path.substr(start);
            if (path.empty())
                name = "anonymous";
            else if (path == "[heap]")
                name = "heap";
            else if (path[0] == '[')
                name = "anonymous";
            else
                name = "file " + path.substr(path.find_last_of('/') + 1);
        } else if (first == "Rss:") {
            long value = 0;
            fields >> value;
            kib[name] += value;
        }
    }
    return kib;
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

// Bytes the allocator holds free inside its heap.
inline std::size_t freeHeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return 0;
#else
    return mallinfo2().fordblks;
#endif
}

// What the world holds by design, in bytes of its vectors.
inline std::size_t keptByDesign(const TWorld& world)
{
    return world.pollution.capacity() * sizeof(sf::Sprite) + world.eggsOnFloor.capacity() * sizeof(TEgg2)
           + world.vecChikens.capacity() * sizeof(TChiken2) + world.bubbles.capacity() * sizeof(TBubble);
}
