#include "core/DataFolder.hpp"

#include <catch2/catch_test_macros.hpp>

#include <string>

TEST_CASE("data files are found under src/ as built, or in the installed folder chosen at the start", "[data]")
{
    struct Row {
        const char* folder; // nullptr: the designed place
        const char* relative;
        const char* path;
    };
    const Row rows[] = {
        {nullptr, "images/cell.png", "src/images/cell.png"},
        {nullptr, "fonts/Arial.ttf", "src/fonts/Arial.ttf"},
        {"/usr/share/games/henhouse", "images/Frame 60.png", "/usr/share/games/henhouse/images/Frame 60.png"},
        {"/opt/henhouse/", "sounds/MainTheme.wav", "/opt/henhouse/sounds/MainTheme.wav"},
        {"relative/data", "images/cell.png", "relative/data/images/cell.png"},
        {"/", "images/cell.png", "/images/cell.png"},
        {"", "images/cell.png", "src/images/cell.png"}, // an empty folder means the designed place
    };
    for (const Row& row : rows) {
        CAPTURE(row.folder ? row.folder : "(none)", row.relative);
        resetDataFolder();
        if (row.folder)
            useDataFolder(row.folder);
        CHECK(dataFile(row.relative) == row.path);
    }
    resetDataFolder();
    CHECK(dataFile("sounds/chikensong.wav") == "src/sounds/chikensong.wav");
}
