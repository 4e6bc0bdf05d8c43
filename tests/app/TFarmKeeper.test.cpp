// Where the farm is kept, when it is read and written, and what happens to a
// save that cannot be used.
#include "app/TFarmKeeper.hpp"
#include "core/Globals.hpp"
#include "support/TestSupport.hpp"
#include "world/TFarmSave.hpp"
#include "world/TWorld.hpp"

#include <nlohmann/json.hpp>

#include <catch2/catch_test_macros.hpp>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Game {
    Game()
    {
        testsupport::freshGame();
        world = std::make_unique<TWorld>();
        world->placeSharedSprites();
    }
    std::unique_ptr<TWorld> world;
};

TOptions savingTo(const fs::path& file)
{
    TOptions options;
    options.savePath = file.string();
    return options;
}

int lines(const std::string& text)
{
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

} // namespace

TEST_CASE("the player's farm lives in the data folder and automation leaves it alone", "[app][farm]")
{
    const fs::path dir = testsupport::scratchDir("keeper-path");
    const std::string oldData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    std::ostringstream log;

    ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
    CHECK(TFarmKeeper::defaultPath() == (dir / "henhouse" / "farm.json").string());
    {
        TFarmKeeper keeper(TOptions{}, log);
        CHECK(keeper.saving());
        CHECK(keeper.path() == (dir / "henhouse" / "farm.json").string());
        CHECK(fs::is_directory(dir / "henhouse"));
    }
    for (int which = 0; which < 3; ++which) {
        TOptions options;
        if (which == 0)
            options.seed = 1;
        else if (which == 1)
            options.frames = 10;
        else
            options.events = "x.events";
        TFarmKeeper keeper(options, log);
        CHECK_FALSE(keeper.saving());
        options.savePath = (dir / "other.json").string();
        TFarmKeeper named(options, log);
        CHECK(named.path() == (dir / "other.json").string());
    }
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/someone", 1);
    CHECK(TFarmKeeper::defaultPath() == "/home/someone/.local/share/henhouse/farm.json");
    ::setenv("HOME", oldHome.c_str(), 1);
    if (!oldData.empty())
        ::setenv("XDG_DATA_HOME", oldData.c_str(), 1);
    CHECK(log.str().empty());
}

TEST_CASE("a farm saved at the close is the farm found at the next start", "[app][farm]")
{
    const fs::path dir = testsupport::scratchDir("keeper-resume");
    const fs::path file = dir / "farm.json";
    std::ostringstream log;
    {
        Game game;
        TFarmKeeper keeper(savingTo(file), log);
        CHECK_FALSE(keeper.resume(*game.world));
        for (int i = 0; i < 100; ++i) {
            game.world->update(0.1f);
            keeper.tick(0.1f, *game.world);
        }
        CHECK_FALSE(fs::exists(file)); // not yet a minute
        for (int i = 0; i < 500; ++i) {
            game.world->update(0.1f);
            keeper.tick(0.1f, *game.world);
        }
        coins = 321;
        keeper.close(*game.world);
    }
    REQUIRE(fs::exists(file));
    Game next;
    TFarmKeeper keeper(savingTo(file), log);
    CHECK(keeper.resume(*next.world));
    CHECK(coins == 321);
    CHECK(next.world->vecChikens.size() == 5);
    CHECK(next.world->storyClock.getElapsed() > 59.f);
    next.world->update(0.1f);
    CHECK(next.world->vecChikens.size() == 5); // the opening chicks are not sent again
    CHECK(log.str().empty());
}

TEST_CASE("a new farm keeps the old one a generation back", "[app][farm]")
{
    const fs::path dir = testsupport::scratchDir("keeper-new");
    const fs::path file = dir / "farm.json";
    std::ostringstream log;
    Game game;
    coins = 999;
    const std::string old = TFarmSave::toJson(TFarmSave::capture(*game.world));
    std::ofstream(file) << old;
    std::ofstream(dir / "farm.json.1") << "older";

    TOptions options = savingTo(file);
    options.newFarm = true;
    Game fresh;
    TFarmKeeper keeper(options, log);
    CHECK_FALSE(keeper.resume(*fresh.world));
    CHECK(coins == 100);
    CHECK_FALSE(fs::exists(file));
    CHECK(testsupport::readFile(dir / "farm.json.1") == old);
    keeper.close(*fresh.world);
    CHECK(testsupport::readFile(file).find("\"coins\":100") != std::string::npos);
}

TEST_CASE("a save that cannot be used is moved aside, never deleted or overwritten", "[app][farm]")
{
    const fs::path dir = testsupport::scratchDir("keeper-bad");
    const fs::path file = dir / "farm.json";

    SECTION("damaged: kept as farm.json.bad, then farm.json.bad.2; a new farm begins and is saved")
    {
        for (const char* bad : {"{\"format\":1,", "{\"format\":1,\"purse\":{\"coins\":1e300}}"}) {
            std::ofstream(file) << bad;
            std::ostringstream log;
            Game game;
            TFarmKeeper keeper(savingTo(file), log);
            CHECK_FALSE(keeper.resume(*game.world));
            CHECK(lines(log.str()) == 1);
            CHECK(log.str().find("henhouse: the farm " + file.string() + " cannot be used: ") == 0);
            CHECK(keeper.saving());
            keeper.close(*game.world);
        }
        CHECK(testsupport::readFile(dir / "farm.json.bad") == "{\"format\":1,");
        CHECK(testsupport::readFile(dir / "farm.json.bad.2") == "{\"format\":1,\"purse\":{\"coins\":1e300}}");
        std::string problem;
        CHECK(TFarmSave::fromJson(testsupport::readFile(file), problem));
    }

    SECTION("from a newer game: left where it is, and this game does not save over it")
    {
        const std::string newer = R"({"format":99,"game":"henhouse 9"})";
        std::ofstream(file) << newer;
        std::ostringstream log;
        Game game;
        TFarmKeeper keeper(savingTo(file), log);
        CHECK_FALSE(keeper.resume(*game.world));
        CHECK_FALSE(keeper.saving());
        CHECK(log.str().find("newer version") != std::string::npos);
        keeper.close(*game.world);
        CHECK(testsupport::readFile(file) == newer);
        CHECK_FALSE(fs::exists(dir / "farm.json.bad"));
    }

    SECTION("unreadable: left alone, and not saved over")
    {
        fs::create_directories(file); // reading a folder fails
        std::ostringstream log;
        Game game;
        TFarmKeeper keeper(savingTo(file), log);
        CHECK_FALSE(keeper.resume(*game.world));
        CHECK_FALSE(keeper.saving());
        CHECK(lines(log.str()) == 1);
        CHECK(log.str().find("cannot read the farm " + file.string()) != std::string::npos);
        keeper.close(*game.world);
        CHECK(fs::is_directory(file));
    }
}

TEST_CASE("a save folder that takes no files is named once, at the start", "[app][farm]")
{
    const fs::path dir = testsupport::scratchDir("keeper-fail");
    std::ofstream(dir / "plain") << "a file, not a folder";
    const fs::path file = dir / "plain" / "farm.json";
    std::ostringstream log;
    Game game;
    TFarmKeeper keeper(savingTo(file), log);
    CHECK_FALSE(keeper.resume(*game.world));
    CHECK(log.str()
          == "henhouse: this farm will not be kept: cannot write in " + (dir / "plain").string()
                 + " (Not a directory)\n");
    CHECK_FALSE(keeper.saving());
    for (int i = 0; i < 700; ++i) {
        game.world->update(0.1f);
        keeper.tick(0.1f, *game.world);
    }
    keeper.close(*game.world);
    CHECK(lines(log.str()) == 1); // no minute's "the last save stays" with no save at all
    fs::remove_all(dir);
}

TEST_CASE("a save that fails later says so in one line and the game goes on", "[app][farm]")
{
    const fs::path dir = testsupport::scratchDir("keeper-fail-later");
    const fs::path file = dir / "farm" / "farm.json";
    std::ostringstream log;
    Game game;
    TFarmKeeper keeper(savingTo(file), log);
    CHECK_FALSE(keeper.resume(*game.world));
    CHECK(log.str().empty());
    // The folder goes away during play, and a file takes its name.
    fs::remove_all(dir / "farm");
    std::ofstream(dir / "farm") << "in the way";
    keeper.close(*game.world);
    INFO(log.str());
    CHECK(lines(log.str()) == 1);
    CHECK(log.str().find("henhouse: could not save the farm: cannot write " + file.string()) == 0);
    CHECK(keeper.saving());
    fs::remove_all(dir);
}

TEST_CASE("where the farm is kept follows the XDG rules and never a shared folder", "[app][farm]")
{
    const fs::path dir = testsupport::scratchDir("keeper-xdg");
    const std::string oldData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    fs::create_directories(dir / "home");
    fs::create_directories(dir / "shared");
    fs::permissions(dir / "shared", fs::perms::all | fs::perms::sticky_bit);
    const std::string home = (dir / "home").string(), shared = (dir / "shared").string();
    const struct {
        const char* data; // nullptr: unset
        const char* homeVar;
        std::string path, why;
    } rows[] = {
        {"reldata", home.c_str(), home + "/.local/share/henhouse/farm.json", ""},
        {"", home.c_str(), home + "/.local/share/henhouse/farm.json", ""},
        {nullptr, shared.c_str(), "",
         "the farm will not be kept: " + shared
             + " (HOME) is a folder every user may write to; set XDG_DATA_HOME to a folder of your own"},
        {shared.c_str(), home.c_str(), "",
         "the farm will not be kept: " + shared
             + " (XDG_DATA_HOME) is a folder every user may write to; set XDG_DATA_HOME to a folder of your own"},
        {nullptr, "relhome", "", ""}, // the listed home, checked below
    };
    for (const auto& row : rows) {
        INFO((row.data ? row.data : "(unset)") << " / " << row.homeVar);
        if (row.data)
            ::setenv("XDG_DATA_HOME", row.data, 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        ::setenv("HOME", row.homeVar, 1);
        std::string why;
        const std::string path = TFarmKeeper::defaultPath(&why);
        if (std::string(row.homeVar) == "relhome") {
            // A relative HOME is no home: the one the system lists stands in.
            CHECK(path.find("relhome") == std::string::npos);
            CHECK((path.empty() != why.empty()));
        } else {
            CHECK(path == row.path);
            CHECK(why == row.why);
        }
    }
    ::unsetenv("HOME");
    std::string why;
    const std::string listed = TFarmKeeper::defaultPath(&why);
    CHECK((listed.empty() ? !why.empty() : listed.ends_with("/.local/share/henhouse/farm.json")));
    ::setenv("HOME", oldHome.c_str(), 1);
    if (!oldData.empty())
        ::setenv("XDG_DATA_HOME", oldData.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    fs::remove_all(dir);
}

TEST_CASE("while a farm is kept, Ctrl-C asks the game to close so the farm is saved", "[app][farm]")
{
    const fs::path dir = testsupport::scratchDir("keeper-signal");
    std::ostringstream log;
    {
        TFarmKeeper keeper(savingTo(dir / "farm.json"), log);
        CHECK_FALSE(TFarmKeeper::closeRequested());
        std::raise(SIGINT);
        CHECK(TFarmKeeper::closeRequested());
    }
    TOptions automation;
    automation.seed = 3;
    TFarmKeeper idle(automation, log);
    CHECK_FALSE(idle.saving());
    // Not keeping a farm, the handlers are the usual ones.
    struct sigaction now{};
    ::sigaction(SIGTERM, nullptr, &now);
    CHECK(now.sa_handler == SIG_DFL);
}

TEST_CASE("a farm that could not be read back is not written over the last save", "[app][farm]")
{
    const fs::path dir = testsupport::scratchDir("keeper-unreadable");
    const fs::path file = dir / "farm.json";
    std::ostringstream log;
    Game game;
    TFarmKeeper keeper(savingTo(file), log);
    keeper.close(*game.world);
    const std::string good = testsupport::readFile(file);
    REQUIRE(!good.empty());
    coins = -2000000000; // no game gets there
    keeper.close(*game.world);
    CHECK(testsupport::readFile(file) == good);
    CHECK(log.str().find("purse.coins") != std::string::npos);
}

TEST_CASE("the farm's options", "[app][farm][options]")
{
    std::string error;
    const auto both = TOptions::parse({"--new-farm", "--save", "/tmp/a farm.json"}, error);
    REQUIRE(both);
    CHECK(both->newFarm);
    CHECK(both->savePath == "/tmp/a farm.json");
    const auto none = TOptions::parse({}, error);
    REQUIRE(none);
    CHECK_FALSE(none->newFarm);
    CHECK_FALSE(none->savePath);
    CHECK_FALSE(TOptions::parse({"--save"}, error));
    CHECK(error == "option --save needs a value");
    CHECK_FALSE(TOptions::parse({"--save", ""}, error));
    CHECK(error == "--save needs a file path");
    CHECK_FALSE(TOptions::parse({"--new-farm=yes"}, error));
}
