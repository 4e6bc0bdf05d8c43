#include "core/RegularFile.hpp"
#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

TEST_CASE("only a plain readable file within the size limit is read", "[files]")
{
    const fs::path dir = testsupport::scratchDir("regular-file");
    std::string why;
    SECTION("a file is read whole, up to and including the limit")
    {
        std::ofstream(dir / "ten", std::ios::binary) << std::string("0123456\0"
                                                                    "89",
                                                                    10);
        const auto bytes = readRegularFile((dir / "ten").string(), 10, why);
        REQUIRE(bytes);
        CHECK(*bytes
              == std::string("0123456\0"
                             "89",
                             10));
        CHECK_FALSE(readRegularFile((dir / "ten").string(), 9, why));
        CHECK(why == "larger than 9 bytes");
    }
    SECTION("an empty file is an empty text")
    {
        std::ofstream(dir / "empty");
        const auto bytes = readRegularFile((dir / "empty").string(), 10, why);
        REQUIRE(bytes);
        CHECK(bytes->empty());
    }
    SECTION("anything else is refused, saying what it is, without waiting")
    {
        fs::create_directory(dir / "folder");
        REQUIRE(::mkfifo((dir / "fifo").c_str(), 0600) == 0);
        CHECK_FALSE(readRegularFile((dir / "folder").string(), 10, why));
        CHECK(why == "a directory, not a regular file");
        CHECK_FALSE(readRegularFile((dir / "fifo").string(), 10, why));
        CHECK(why == "a FIFO, not a regular file");
        CHECK_FALSE(readRegularFile("/dev/zero", 10, why));
        CHECK(why == "a device, not a regular file");
        CHECK_FALSE(readRegularFile((dir / "none").string(), 10, why));
        CHECK(why == "no such file");
        fs::create_symlink("loop", dir / "loop");
        CHECK_FALSE(readRegularFile((dir / "loop").string(), 10, why));
        CHECK(why == "Too many levels of symbolic links");
    }
    fs::remove_all(dir);
}

TEST_CASE("the whole-file reader tells nothing there from a file it will not read", "[files]")
{
    const fs::path dir = testsupport::scratchDir("whole-file");
    std::ofstream(dir / "ten", std::ios::binary) << "0123456789";
    fs::create_directory(dir / "folder");
    REQUIRE(::mkfifo((dir / "fifo").c_str(), 0600) == 0);
    const struct {
        fs::path path;
        std::size_t limit;
        FileReading result;
        std::string why;
    } rows[] = {
        {dir / "ten", 10, FileReading::read, ""},
        {dir / "ten", 9, FileReading::tooLarge, "larger than 9 bytes"},
        {dir / "none", 10, FileReading::missing, "no such file"},
        {dir / "ten" / "below", 10, FileReading::missing, "Not a directory"},
        {dir / "folder", 10, FileReading::refused, "a directory, not a regular file"},
        {dir / "fifo", 10, FileReading::refused, "a FIFO, not a regular file"},
        {"/dev/null", 10, FileReading::refused, "a device, not a regular file"},
    };
    for (const auto& row : rows) {
        INFO(row.path.string());
        std::string text, why;
        std::vector<std::uint8_t> bytes;
        CHECK(readWholeFile(row.path.string(), row.limit, text, why) == row.result);
        CHECK(why == row.why);
        why.clear();
        CHECK(readWholeFile(row.path.string(), row.limit, bytes, why) == row.result);
        CHECK(why == row.why);
        if (row.result == FileReading::read)
            CHECK(std::string(bytes.begin(), bytes.end()) == text);
    }
    fs::remove_all(dir);
}

TEST_CASE("text for the terminal has every control and high byte escaped", "[files]")
{
    CHECK(escapedForTerminal("plain text 123 ~!") == "plain text 123 ~!");
    CHECK(escapedForTerminal("\x1b[2J\x1b]0;t\x07") == "\\x1b[2J\\x1b]0;t\\x07");
    CHECK(escapedForTerminal(std::string("a\0b", 3)) == "a\\x00b");
    CHECK(escapedForTerminal("tab\there\nline\r") == "tab\\x09here\\x0aline\\x0d");
    CHECK(escapedForTerminal("\x7f\x80\xff") == "\\x7f\\x80\\xff");
    // A backslash is doubled, so an escaped text cannot be mistaken for one that was not.
    CHECK(escapedForTerminal("\\x1b") == "\\\\x1b");
}
