#include "app/StartChecks.hpp"
#include "core/DataFolder.hpp"
#include "platform/ExecutablePath.hpp"

#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The data folder beside an executable at `exe`, as an install lays them out.
std::string besides(const std::string& exe)
{
    return (fs::path(exe).parent_path() / HENHOUSE_DATA_FROM_EXECUTABLE).lexically_normal().string();
}

const std::string prefixData = fs::path(HENHOUSE_INSTALLED_DATA).lexically_normal().string();

} // namespace

TEST_CASE("the installed data is looked for beside the executable, then under the prefix", "[data]")
{
    struct Row {
        std::string exe;
        std::vector<std::string> folders;
    };
    const Row rows[] = {
        {"/opt/farm/bin/henhouse", {besides("/opt/farm/bin/henhouse"), prefixData}},
        {"/opt/farm/x/../bin/henhouse", {besides("/opt/farm/bin/henhouse"), prefixData}},
        {"/home/me/games/henhouse/usr/games/henhouse",
         {besides("/home/me/games/henhouse/usr/games/henhouse"), prefixData}},
        {"", {prefixData}}, // the system cannot tell where the executable is
    };
    for (const Row& row : rows) {
        CAPTURE(row.exe);
        CHECK(installedDataFolders(row.exe) == row.folders);
    }
}

TEST_CASE("the running executable's own path is known", "[data]")
{
    const std::string exe = executablePath();
#if HENHOUSE_PORTABLE
    CHECK(exe.empty());
#else
    REQUIRE_FALSE(exe.empty());
    CHECK(fs::path(exe).is_absolute());
    CHECK(fs::path(exe).filename() == "test_app");
    CHECK(fs::is_regular_file(exe));
#endif
}

TEST_CASE("assets under the working directory come first; without them the line names every place", "[data]")
{
    const fs::path dir = testsupport::scratchDir("start-checks");
    std::string error;

    SECTION("src/images and src/sounds here: the designed place, nothing chosen")
    {
        fs::create_directories(dir / "src/images");
        fs::create_directories(dir / "src/sounds");
        testsupport::inDirectory(dir, [&] { CHECK(assetsPresent(error)); });
        CHECK(dataFile("images/cell.png") == "src/images/cell.png");
    }
    SECTION("src/sounds missing: it is named")
    {
        fs::create_directories(dir / "src/images");
        testsupport::inDirectory(dir, [&] { CHECK_FALSE(assetsPresent(error)); });
        const std::vector<std::string> places = installedDataFolders(executablePath());
        std::string named;
        for (const std::string& place : places)
            named += (named.empty() ? "" : " or ") + place;
        CHECK(error
              == "no game assets here: " + (fs::canonical(dir) / "src/sounds").string()
                     + " is missing, and no installed copy is in " + named
                     + " (start the game in build/run, with ./play.sh, or install it)");
    }
    SECTION("nothing here")
    {
        testsupport::inDirectory(dir, [&] { CHECK_FALSE(assetsPresent(error)); });
        CHECK(error.find((fs::canonical(dir) / "src/images").string() + " is missing") != std::string::npos);
        CHECK(error.find('\n') == std::string::npos);
    }
    resetDataFolder();
    fs::remove_all(dir);
}
