#include "core/AtomicFile.hpp"
#include "core/TBackgroundWriter.hpp"
#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

int filesIn(const fs::path& dir)
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir))
        ++n;
    return n;
}

} // namespace

TEST_CASE("a file is written whole, replaced whole, and nothing is left beside it", "[core][atomic]")
{
    const fs::path dir = testsupport::scratchDir("atomic");
    const std::string path = (dir / "farm.json").string();
    std::string error;
    REQUIRE(writeFileAtomically(path, "first", error));
    CHECK(testsupport::readFile(path) == "first");
    REQUIRE(writeFileAtomically(path, std::string(1 << 20, 'x'), error));
    CHECK(testsupport::readFile(path) == std::string(1 << 20, 'x'));
    CHECK(filesIn(dir) == 1);
    struct stat st;
    REQUIRE(::stat(path.c_str(), &st) == 0);
    CHECK((st.st_mode & 0777) == 0644);

    SECTION("a folder that cannot hold files: one line, and the old file stays")
    {
        std::ofstream(dir / "plain") << "not a folder";
        const std::string inside = (dir / "plain" / "farm.json").string();
        CHECK_FALSE(writeFileAtomically(inside, "new", error));
        CHECK(error.starts_with("cannot write " + inside + ": "));
        CHECK(error.find('\n') == std::string::npos);
        CHECK(testsupport::readFile(path) == std::string(1 << 20, 'x'));
    }

    SECTION("moving aside never replaces")
    {
        std::ofstream(dir / "other") << "other";
        CHECK_FALSE(renameWithoutReplacing(path, (dir / "other").string(), error));
        CHECK(testsupport::readFile(dir / "other") == "other");
        CHECK(renameWithoutReplacing(path, (dir / "aside").string(), error));
        CHECK_FALSE(fs::exists(path));
        CHECK(testsupport::readFile(dir / "aside") == std::string(1 << 20, 'x'));
    }
}

TEST_CASE("the background writer keeps the newest job and reports failures", "[core][atomic]")
{
    const fs::path dir = testsupport::scratchDir("writer");
    {
        TBackgroundWriter writer((dir / "farm.json").string());
        for (int i = 0; i < 50; ++i)
            writer.submit([i] { return std::to_string(i); });
        writer.wait();
        CHECK(testsupport::readFile(dir / "farm.json") == "49");
        CHECK(writer.written() >= 1);
        CHECK(writer.takeErrors().empty());
        writer.submit([]() -> std::string { throw std::runtime_error("out of memory"); });
        writer.wait();
        const auto errors = writer.takeErrors();
        REQUIRE(errors.size() == 1);
        CHECK(errors[0].find("out of memory") != std::string::npos);
        CHECK(testsupport::readFile(dir / "farm.json") == "49");
        writer.submit([] { return std::string("last"); });
    } // the destructor finishes the last job
    CHECK(testsupport::readFile(dir / "farm.json") == "last");

    TBackgroundWriter nowhere((dir / "missing" / "farm.json").string());
    nowhere.submit([] { return std::string("x"); });
    nowhere.wait();
    CHECK(nowhere.takeErrors().size() == 1);
    CHECK(nowhere.written() == 0);
}
