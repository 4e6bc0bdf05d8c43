#include "platform/StartupMemory.hpp"

#include <catch2/catch_test_macros.hpp>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {
constexpr std::size_t MB = std::size_t{1} << 20;
}

#if !HENHOUSE_PORTABLE
#include <fcntl.h>
#include <filesystem>
#include <malloc.h>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

#include "support/TestSupport.hpp"

namespace {

// Whether the page at `at` is in memory.
bool resident(const void* at)
{
    unsigned char state = 0;
    return mincore(const_cast<void*>(at), 4096, &state) == 0 && (state & 1) != 0;
}

// The rest of the line starting with `key` in the kernel's account of the
// mapping that holds `at` ("" when none does).
std::string smapsEntry(std::uintptr_t at, const std::string& key)
{
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        std::uintptr_t low = 0, high = 0;
        char dash = 0;
        std::istringstream head(line);
        if (head >> std::hex >> low >> dash >> high && dash == '-' && line.find(':') > line.find(' ')) {
            inside = low <= at && at < high;
            continue;
        }
        if (inside && line.rfind(key, 0) == 0)
            return line.substr(key.size());
    }
    return "";
}

// The resident KiB of the mapping that holds `at` (-1 when none does).
long mappingResidentKib(std::uintptr_t at)
{
    const std::string rss = smapsEntry(at, "Rss:");
    return rss.empty() ? -1 : std::stol(rss);
}

// Reads every page of [at, at + bytes) and adds up the bytes.
unsigned long readAll(const unsigned char* at, std::size_t bytes)
{
    unsigned long sum = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        sum += static_cast<const volatile unsigned char*>(at)[i];
    return sum;
}

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
// The heap grown and filled at once, as the texture store grows it.
THeapRange grownAndFilled(std::size_t bytes)
{
    const THeapRange range = growHeap(bytes);
    (void)fillWithPages(reinterpret_cast<void*>(range.first), range.size(), [] { return false; });
    return range;
}

// Writes to every page of [at, at + bytes), in a way no compiler leaves out.
void touch(char* at, std::size_t bytes)
{
    volatile char* page = at;
    for (std::size_t done = 0; done < bytes; done += 4096)
        page[done] = 1;
}

// The name of the mapping that holds `at` ("" when none does, or it has none).
std::string mappingName(std::uintptr_t at)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::uintptr_t low = 0, high = 0;
        char dash = 0;
        std::istringstream fields(line);
        if (fields >> std::hex >> low >> dash >> high && low <= at && at < high) {
            std::string perms, offset, device, inode, name;
            fields >> perms >> offset >> device >> inode >> name;
            return name;
        }
    }
    return "";
}

// The kernel's flags of the mapping that holds `at` ("" when none does).
std::string mappingFlags(std::uintptr_t at)
{
    const std::string flags = smapsEntry(at, "VmFlags:");
    return flags.empty() ? "" : flags + " ";
}
#endif

} // namespace

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)

TEST_CASE("the Linux build shapes the start's memory", "[heap]") { CHECK(shapesStartupMemory()); }

TEST_CASE("a second thread takes its memory from the one heap", "[heap]")
{
    // Before any other thread of this program has asked for memory.
    shareOneHeap();
    std::uintptr_t block = 0;
    std::thread([&] {
        void* memory = std::malloc(64 * 1024);
        block = reinterpret_cast<std::uintptr_t>(memory);
        CHECK(mappingName(block) == "[heap]");
        std::free(memory);
    }).join();
    CHECK(block != 0);
}

TEST_CASE("large blocks come from the heap grown ahead, on large pages", "[heap]")
{
    keepMemoryInHeap();
    const std::size_t mappedBefore = mallinfo2().hblkhd;

    SECTION("a big block is not mapped apart from the heap")
    {
        void* block = std::malloc(8 * MB);
        REQUIRE(block != nullptr);
        CHECK(mallinfo2().hblkhd == mappedBefore);
        std::free(block);
    }
    SECTION("the grown heap is whole large pages, and the next blocks are carved out of it")
    {
        const THeapRange range = growHeap(16 * MB);
        REQUIRE(range.size() > 0);
        CHECK(range.first % largePageBytes == 0);
        CHECK(range.last % largePageBytes == 0);
        CHECK(range.size() >= 12 * MB); // at most a page lost at either end
        CHECK(range.size() <= 16 * MB);

        void* block = std::malloc(4 * MB);
        REQUIRE(block != nullptr);
        const auto at = reinterpret_cast<std::uintptr_t>(block);
        CHECK(at + largePageBytes >= range.first);
        CHECK(at + 4 * MB <= range.last);
        std::free(block);
    }
    SECTION("grown and filled, the memory is there before anything is written to it")
    {
        const THeapRange range = grownAndFilled(8 * MB);
        REQUIRE(range.size() > 0);
        CHECK(resident(reinterpret_cast<void*>(range.first)));
        CHECK(resident(reinterpret_cast<void*>(range.last - 4096)));
    }
}

TEST_CASE("after the start the heap gives its free memory back, and big blocks are mapped apart again", "[heap]")
{
    keepMemoryInHeap();
    // Room kept in hand, written to, then freed: it stays in the heap.
    const THeapRange range = grownAndFilled(32 * MB);
    REQUIRE(range.size() >= 16 * MB);
    void* middle = reinterpret_cast<void*>(range.first + range.size() / 2);
    REQUIRE(resident(middle));
    CHECK(mallinfo2().fordblks >= 16 * MB);
    CHECK(giveBackSpareMemory() >= 16 * MB);
    CHECK_FALSE(resident(middle));
    // A big block now has a mapping of its own, returned when freed.
    const std::size_t mappedBefore = mallinfo2().hblkhd;
    void* block = std::malloc(8 * MB);
    REQUIRE(block != nullptr);
    CHECK(mallinfo2().hblkhd >= mappedBefore + 8 * MB);
    std::free(block);
    CHECK(mallinfo2().hblkhd == mappedBefore);

    // Heap grown on large pages ("hg"), which the kernel may fill in at any
    // time, merging small pages into large ones; after the start, no longer
    // ("nh"), or what was given back would soon be there again.
    keepMemoryInHeap();
    const THeapRange grown = growHeap(8 * MB);
    REQUIRE(grown.size() >= 4 * MB);
    void* used = std::malloc(8 * MB);
    REQUIRE(used != nullptr);
    const std::uintptr_t inside = grown.first + grown.size() / 2;
    REQUIRE(reinterpret_cast<std::uintptr_t>(used) < inside);
    CHECK(mappingFlags(inside).find(" hg ") != std::string::npos);
    (void)giveBackSpareMemory();
    const std::string flags = mappingFlags(inside);
    INFO("flags:" << flags);
    CHECK(flags.find(" hg ") == std::string::npos);
    CHECK(flags.find(" nh ") != std::string::npos);
    std::free(used);
    keepMemoryInHeap(); // as the other tests expect
}

TEST_CASE("after the start, memory a passing need used inside the heap can be handed back at once", "[heap]")
{
    // Two blocks from the heap, the first freed once the start is over: it
    // is free room inside the heap, which stays in memory.
    keepMemoryInHeap();
    const std::size_t bytes = 16 * MB;
    auto* first = static_cast<char*>(std::malloc(bytes));
    auto* second = static_cast<char*>(std::malloc(bytes));
    REQUIRE(first != nullptr);
    REQUIRE(second != nullptr);
    REQUIRE(first < second);
    touch(first, bytes);
    touch(second, bytes);
    // A whole page inside the first block.
    char* middle = reinterpret_cast<char*>((reinterpret_cast<std::uintptr_t>(first) + bytes / 2) / 4096 * 4096);

    SECTION("during the start it is kept")
    {
        std::free(first);
        releaseFreeHeap();
        CHECK(resident(middle));
        (void)giveBackSpareMemory();
    }
    SECTION("after the start it goes")
    {
        (void)giveBackSpareMemory();
        std::free(first);
        REQUIRE(resident(middle));
        releaseFreeHeap();
        CHECK_FALSE(resident(middle));
    }
    std::free(second);
    keepMemoryInHeap(); // as the other tests expect
}

#endif

TEST_CASE("after the start the pages of read-only file mappings are let go, but never a page of their own", "[heap]")
{
    // A file of 1 MB with bytes worked out from their place.
    const std::filesystem::path path = testsupport::scratchDir("file-pages") / "pages.bin";
    const std::size_t bytes = MB;
    {
        std::ofstream out(path, std::ios::binary);
        for (std::size_t i = 0; i < bytes; ++i)
            out.put(static_cast<char>(i * 7 % 251));
    }
    unsigned long expected = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        expected += i * 7 % 251;
    const int fd = open(path.c_str(), O_RDONLY);
    REQUIRE(fd >= 0);
    // One mapping only read, one written to once and then made read-only
    // (as the loader does with relocated data).
    void* readOnly = mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE, fd, 0);
    void* written = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
    close(fd);
    REQUIRE(readOnly != MAP_FAILED);
    REQUIRE(written != MAP_FAILED);
    auto* plain = static_cast<unsigned char*>(readOnly);
    auto* copied = static_cast<unsigned char*>(written);
    copied[4096] = 255; // was 4096 * 7 % 251 = 58
    REQUIRE(mprotect(written, bytes, PROT_READ) == 0);
    CHECK(readAll(plain, bytes) == expected);
    CHECK(readAll(copied, bytes) == expected - 58 + 255);
    REQUIRE(mappingResidentKib(reinterpret_cast<std::uintptr_t>(plain)) == 1024);
    const long copiedBefore = mappingResidentKib(reinterpret_cast<std::uintptr_t>(copied));
    REQUIRE(copiedBefore == 1024);

    CHECK(releaseUnwrittenFilePages() >= bytes);
    CHECK(mappingResidentKib(reinterpret_cast<std::uintptr_t>(plain)) == 0);
    // The mapping with a page of its own keeps all of it, the write included.
    CHECK(mappingResidentKib(reinterpret_cast<std::uintptr_t>(copied)) == copiedBefore);
    CHECK(copied[4096] == 255);
    // A page let go comes back from the file at the next touch.
    CHECK(plain[4096] == 58);
    CHECK(readAll(plain, bytes) == expected);
    CHECK(readAll(copied, bytes) == expected - 58 + 255);

    munmap(readOnly, bytes);
    munmap(written, bytes);
    std::filesystem::remove_all(path.parent_path());
}

TEST_CASE("filling memory with pages stops when asked, between steps", "[heap]")
{
    const std::size_t bytes = 20 * MB; // three steps of at most 8 MB
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    REQUIRE(memory != MAP_FAILED);
    int asked = 0;
    SECTION("asked before every step")
    {
        const bool filled = fillWithPages(memory, bytes, [&] { return ++asked > 99; });
        // Where the system cannot fill, the first step fails and ends it.
        CHECK(asked == (filled ? 3 : 1));
        if (filled)
            CHECK(resident(static_cast<char*>(memory) + bytes - 4096));
    }
    SECTION("a stop before the first step does nothing")
    {
        CHECK(fillWithPages(memory, bytes, [&] { return ++asked >= 1; }));
        CHECK(asked == 1);
        CHECK_FALSE(resident(memory));
    }
    SECTION("a stop after two steps ends the filling there")
    {
        const bool filled = fillWithPages(memory, bytes, [&] { return ++asked > 2; });
        CHECK(asked == (filled ? 3 : 1));
        if (filled) {
            CHECK(resident(static_cast<char*>(memory) + 16 * MB - 4096)); // the end of the second step
            CHECK_FALSE(resident(static_cast<char*>(memory) + 16 * MB));  // the third never came
        }
    }
    munmap(memory, bytes);
}

TEST_CASE("a mapped block can give its end back and is whole pages", "[heap]")
{
    std::uint8_t* block = mapBlock(4 * MB);
    REQUIRE(block != nullptr);
    std::memset(block, 1, 4 * MB);
    REQUIRE(shrinkBlock(block, 4 * MB, 2 * MB));
    CHECK(resident(block));
    CHECK_FALSE(resident(block + 2 * MB)); // no longer mapped at all
    unmapBlock(block, 2 * MB);
}

TEST_CASE("software rendering is expected when the driver is asked for it", "[heap]")
{
    const char* old = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    const std::string saved = old ? old : "";
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    CHECK(softwareRenderingLikely());
    // "0" asks for nothing: the answer is then the machine's.
    setenv("LIBGL_ALWAYS_SOFTWARE", "0", 1);
    const bool machine = softwareRenderingLikely();
    unsetenv("LIBGL_ALWAYS_SOFTWARE");
    CHECK(softwareRenderingLikely() == machine);
    if (old)
        setenv("LIBGL_ALWAYS_SOFTWARE", saved.c_str(), 1);
}

#endif // !HENHOUSE_PORTABLE

TEST_CASE("a mapped block holds what is written to it", "[heap]")
{
    CHECK(mapBlock(0) == nullptr);
    std::uint8_t* block = mapBlock(3 * MB);
    REQUIRE(block != nullptr);
    std::memset(block, 7, 3 * MB);
    CHECK(block[0] == 7);
    CHECK(block[3 * MB - 1] == 7);
    unmapBlock(block, 3 * MB);
}

#if HENHOUSE_PORTABLE

TEST_CASE("the portable build leaves the heap alone", "[heap]")
{
    CHECK_FALSE(shapesStartupMemory());
    CHECK_FALSE(softwareRenderingLikely());
    CHECK(growHeap(16 * MB).size() == 0);
    std::uint8_t* block = mapBlock(4 * MB);
    REQUIRE(block != nullptr);
    // Nothing can be filled ahead, and a block stays whole.
    CHECK_FALSE(fillPages(block, 4 * MB));
    int asked = 0;
    CHECK_FALSE(fillWithPages(block, 4 * MB, [&] { return ++asked > 9; }));
    CHECK(asked == 1);
    CHECK_FALSE(shrinkBlock(block, 4 * MB, 2 * MB));
    unmapBlock(block, 4 * MB);
    CHECK(releaseUnwrittenFilePages() == 0);
}

#endif
