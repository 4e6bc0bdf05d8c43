#include "platform/StartupMemory.hpp"

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <malloc.h>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// Sanitizers bring their own allocator, which mallopt does not reach.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define HENHOUSE_TUNES_HEAP 1
#else
#define HENHOUSE_TUNES_HEAP 0
#endif

#if HENHOUSE_TUNES_HEAP
namespace {

// The ranges asked for on large pages, so that their advice can be taken
// back once the start is over.
std::array<THeapRange, 16> largePageRanges;
std::size_t largePageRangeCount = 0;
// Whether freed memory is being kept in the heap (the start).
bool keeping = false;

} // namespace
#endif

bool shapesStartupMemory() { return HENHOUSE_TUNES_HEAP != 0; }

bool softwareRenderingLikely()
{
    if (const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE"); forced && *forced && std::strcmp(forced, "0") != 0)
        return true;
    // A graphics card shows up as a render node we may open, or as the
    // proprietary driver's control device.
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("renderD", 0) == 0 && access(entry.path().c_str(), R_OK | W_OK) == 0)
            return false;
    }
    return access("/dev/nvidiactl", R_OK | W_OK) != 0;
}

void shareOneHeap()
{
#if HENHOUSE_TUNES_HEAP
    mallopt(M_ARENA_MAX, 1);
#endif
}

void keepMemoryInHeap()
{
#if HENHOUSE_TUNES_HEAP
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    keeping = true;
#endif
}

std::size_t giveBackSpareMemory()
{
#if HENHOUSE_TUNES_HEAP
    const std::size_t spare = mallinfo2().fordblks;
    // glibc's own defaults.
    mallopt(M_MMAP_MAX, 65536);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    // The kernel's background merger may fill a large page's worth of small
    // pages back in wherever one of them is still in use, bringing back the
    // memory given back below. The large pages already there stay as they
    // are.
    for (std::size_t i = 0; i < largePageRangeCount; ++i)
        (void)madvise(reinterpret_cast<void*>(largePageRanges[i].first), largePageRanges[i].size(), MADV_NOHUGEPAGE);
    largePageRangeCount = 0;
    keeping = false;
    (void)malloc_trim(0);
    return spare;
#else
    return 0;
#endif
}

void releaseFreeHeap()
{
#if HENHOUSE_TUNES_HEAP
    if (!keeping)
        (void)malloc_trim(0);
#endif
}

THeapRange growHeap([[maybe_unused]] std::size_t bytes)
{
    THeapRange range;
#if HENHOUSE_TUNES_HEAP
    keepMemoryInHeap();
    void* block = std::malloc(bytes);
    if (!block)
        return range;
    const auto address = reinterpret_cast<std::uintptr_t>(block);
    // Nothing is written to the block: freeing it at once leaves it mapped
    // in the heap, where the next allocations are carved out of it.
    std::free(block);
    range.first = (address + largePageBytes - 1) / largePageBytes * largePageBytes;
    range.last = (address + bytes) / largePageBytes * largePageBytes;
    if (range.last <= range.first)
        return THeapRange{};
    // A hint only: where large pages are not to be had, small ones serve.
    if (madvise(reinterpret_cast<void*>(range.first), range.size(), MADV_HUGEPAGE) == 0
        && largePageRangeCount < largePageRanges.size())
        largePageRanges[largePageRangeCount++] = range;
#endif
    return range;
}

bool fillPages([[maybe_unused]] void* at, [[maybe_unused]] std::size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    return madvise(at, bytes, MADV_POPULATE_WRITE) == 0;
#else
    return false;
#endif
}

std::uint8_t* mapBlock(std::size_t bytes)
{
    if (bytes == 0)
        return nullptr;
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return nullptr;
    // A hint only: where large pages are not to be had, small ones serve.
    (void)madvise(memory, bytes, MADV_HUGEPAGE);
    return static_cast<std::uint8_t*>(memory);
}

bool shrinkBlock(std::uint8_t* at, std::size_t size, std::size_t kept)
{
    return kept < size && munmap(at + kept, size - kept) == 0;
}

void unmapBlock(std::uint8_t* at, std::size_t size)
{
    if (at && size > 0)
        munmap(at, size);
}

std::size_t releaseUnwrittenFilePages()
{
    // A read-only private mapping of a file (the program's and its
    // libraries' code and constants) holds the file's own pages, which the
    // kernel keeps in its cache: let go of, they are mapped back in at the
    // next touch. A mapping holding any page of its own (a copy made on a
    // write, as the loader makes of relocated data before turning it
    // read-only) is left whole: letting go of that copy would bring back
    // the file's bytes. Each mapping is let go of as soon as its lines are
    // read, while it surely is the mapping they describe.
    struct Mapping {
        std::uintptr_t low = 0;
        std::uintptr_t high = 0;
        bool fileReadOnly = false;
        long residentKib = 0;
        long ownKib = -1;
    };
    std::size_t released = 0;
    Mapping current;
    const auto close = [&] {
        if (current.fileReadOnly && current.ownKib == 0 && current.residentKib > 0 && current.high > current.low
            && madvise(reinterpret_cast<void*>(current.low), current.high - current.low, MADV_DONTNEED) == 0)
            released += static_cast<std::size_t>(current.residentKib) * 1024;
        current = Mapping{};
    };
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    while (std::getline(smaps, line)) {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (first.empty())
            continue;
        if (first.back() != ':') {
            // A mapping's header: low-high perms offset device inode [path]
            close();
            std::string perms, offset, device, inode, path;
            fields >> perms >> offset >> device >> inode >> path;
            const std::size_t dash = first.find('-');
            if (dash == std::string::npos)
                continue;
            current.low = std::strtoull(first.substr(0, dash).c_str(), nullptr, 16);
            current.high = std::strtoull(first.substr(dash + 1).c_str(), nullptr, 16);
            current.fileReadOnly = (perms == "r--p" || perms == "r-xp") && inode != "0" && path.rfind('/', 0) == 0;
        } else if (first == "Rss:") {
            fields >> current.residentKib;
        } else if (first == "Anonymous:") {
            fields >> current.ownKib;
        } else if (first == "VmFlags:") {
            // The mapping's last line.
            close();
        }
    }
    close();
    return released;
}
