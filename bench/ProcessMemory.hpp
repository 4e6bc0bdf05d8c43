#pragma once

#include <fstream>
#include <string>

// The process's resident memory in KiB as the system reports it (-1 when it
// cannot be read). Shared by the long-run benchmark and its test.
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
