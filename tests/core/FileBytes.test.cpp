#include "core/FileBytes.hpp"

#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace fs = std::filesystem;

TEST_CASE("a file is read whole only when it is a regular file with something in it", "[files]")
{
    const fs::path dir = testsupport::scratchDir("file-bytes");
    std::vector<std::uint8_t> bytes;

    SECTION("a regular file comes back byte for byte")
    {
        std::ofstream(dir / "track.wav", std::ios::binary) << std::string("RIFF\0\x01\x02", 7);
        REQUIRE(readFileBytes((dir / "track.wav").string(), bytes));
        CHECK(bytes == std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 0, 1, 2});
    }
    SECTION("an empty or missing file is refused")
    {
        std::ofstream(dir / "empty.wav").close();
        CHECK_FALSE(readFileBytes((dir / "empty.wav").string(), bytes));
        CHECK_FALSE(readFileBytes((dir / "missing.wav").string(), bytes));
    }
    SECTION("a directory is refused, not read as a file of absurd length")
    {
        fs::create_directories(dir / "track.wav");
        CHECK_FALSE(readFileBytes((dir / "track.wav").string(), bytes));
    }
    SECTION("a pipe is refused without waiting for a writer")
    {
        REQUIRE(mkfifo((dir / "track.wav").c_str(), 0600) == 0);
        CHECK_FALSE(readFileBytes((dir / "track.wav").string(), bytes));
    }
}
