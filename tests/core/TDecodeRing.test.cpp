#include "core/TDecodeRing.hpp"

#include <catch2/catch_test_macros.hpp>

#include <cstring>

namespace {

constexpr std::size_t MB = std::size_t{1} << 20;

} // namespace

TEST_CASE("the decode ring hands out room first in, first out, wrapping round", "[store][ring]")
{
    TDecodeRing ring(3 * MB); // rounded up to two large pages
    REQUIRE(ring.capacity() == 4 * MB);
    std::uint8_t* const base = ring.take(1 * MB);
    REQUIRE(base != nullptr);

    SECTION("images follow one another until the end, then start again before the oldest")
    {
        CHECK(ring.take(1 * MB) == base + 1 * MB);
        CHECK(ring.take(MB + MB / 2) == base + 2 * MB);
        // 3.5 MB are held: a megabyte fits neither after them nor before the oldest.
        CHECK(ring.take(1 * MB) == nullptr);
        ring.giveBack(); // the first megabyte is free again
        CHECK(ring.take(1 * MB) == base);
        // Wrapped: the newest ends where the oldest begins, nothing fits between.
        CHECK(ring.take(MB / 2) == nullptr);
        ring.giveBack();
        CHECK(ring.take(MB / 2) == base + 1 * MB);
        CHECK(ring.take(MB / 2 + 1) == nullptr); // only half a megabyte left before the oldest
    }
    SECTION("an image that came to nothing leaves its room to the next one")
    {
        std::uint8_t* second = ring.take(2 * MB);
        REQUIRE(second == base + 1 * MB);
        ring.takeBack();
        CHECK(ring.take(MB / 4) == second);
        ring.giveBack(); // the oldest, the first megabyte, not the newest
        ring.giveBack();
        CHECK(ring.empty());
        CHECK(ring.take(4 * MB) == base); // empty again: the whole ring from the start
    }
    SECTION("images held at once never share a byte")
    {
        std::uint8_t* parts[3] = {base, ring.take(2 * MB), ring.take(1 * MB)};
        REQUIRE(parts[1] != nullptr);
        REQUIRE(parts[2] != nullptr);
        const std::size_t sizes[3] = {1 * MB, 2 * MB, 1 * MB};
        for (int k = 0; k < 3; ++k)
            std::memset(parts[k], 'a' + k, sizes[k]);
        for (int k = 0; k < 3; ++k) {
            INFO("part " << k);
            CHECK(parts[k][0] == 'a' + k);
            CHECK(parts[k][sizes[k] - 1] == 'a' + k);
        }
    }
    SECTION("an image bigger than the ring never fits")
    {
        CHECK(ring.tooSmallFor(4 * MB + 1));
        CHECK_FALSE(ring.tooSmallFor(4 * MB));
        CHECK(ring.take(4 * MB + 1) == nullptr);
    }
}

TEST_CASE("the decode ring gives memory back only when empty and only when worth it", "[store][ring]")
{
    TDecodeRing ring(8 * MB);
    REQUIRE(ring.capacity() == 8 * MB);
    CHECK_FALSE(ring.wouldShrink(5 * MB)); // would keep 6 MB of 8
    CHECK(ring.wouldShrink(4 * MB));

    REQUIRE(ring.take(1 * MB) != nullptr);
    ring.shrinkTo(1 * MB);
    CHECK(ring.capacity() == 8 * MB); // something is still held

    ring.giveBack();
    ring.shrinkTo(5 * MB);
    CHECK(ring.capacity() == 8 * MB); // not worth it
    ring.shrinkTo(3 * MB);
#if HENHOUSE_PORTABLE
    // Memory from malloc cannot be given back in part: the ring stays whole
    // and stops asking, so the decoder never waits for a shrink again.
    CHECK(ring.capacity() == 8 * MB);
    CHECK_FALSE(ring.wouldShrink(0));
    CHECK(ring.take(8 * MB) != nullptr);
    return;
#endif
    CHECK(ring.capacity() == 4 * MB);
    CHECK(ring.tooSmallFor(4 * MB + 1));
    std::uint8_t* room = ring.take(4 * MB);
    REQUIRE(room != nullptr);
    std::memset(room, 7, 4 * MB); // still all mapped
    ring.giveBack();

    ring.shrinkTo(0);
    CHECK(ring.capacity() == 0);
    CHECK(ring.take(1) == nullptr);
}

TEST_CASE("a ring of nothing hands out nothing", "[store][ring]")
{
    TDecodeRing ring(0);
    CHECK(ring.capacity() == 0);
    CHECK(ring.tooSmallFor(1));
    CHECK(ring.take(1) == nullptr);
    CHECK_FALSE(ring.wouldShrink(0));
    CHECK_FALSE(ring.fill([] { return false; }));
}
