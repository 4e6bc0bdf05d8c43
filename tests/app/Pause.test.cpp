// The player's keys and the pause, through the real event path: window
// events into TGame::handleInput, as the frame loop hands them over.
#include "app/TGame.hpp"
#include "core/Globals.hpp"
#include "support/EgglineKit.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include <catch2/catch_test_macros.hpp>

#include <optional>
#include <string>
#include <vector>

namespace {

using K = sf::Keyboard::Key;

sf::Event key(K code)
{
    return sf::Event::KeyPressed{code, sf::Keyboard::Scancode::Unknown, false, false, false, false};
}
sf::Event text(char32_t c) { return sf::Event::TextEntered{c}; }
sf::Event pressAt(sf::Vector2i p) { return sf::Event::MouseButtonPressed{sf::Mouse::Button::Left, p}; }
sf::Event releaseAt(sf::Vector2i p) { return sf::Event::MouseButtonReleased{sf::Mouse::Button::Left, p}; }
sf::Event moveTo(sf::Vector2i p) { return sf::Event::MouseMoved{p}; }

struct Player {
    explicit Player(std::optional<TEventScript> script = std::nullopt, std::optional<long> frames = std::nullopt)
        : game(optionsWith(frames), std::move(script))
        , window(sf::VideoMode({1920, 1080}), "keys")
    {
        testsupport::freshGame();
        world.emplace();
        eggkit::pastOpeningStory(*world);
        eggkit::placeHudSprites(*world);
    }
    static TOptions optionsWith(std::optional<long> frames)
    {
        TOptions options;
        options.frames = frames;
        return options;
    }
    void send(const sf::Event& event) { game.handleInput(event, window, *world, mouseLocal); }
    void click(sf::Vector2i p)
    {
        send(moveTo(p));
        send(pressAt(p));
        send(releaseAt(p));
    }

    TGame game;
    sf::RenderWindow window;
    std::optional<TWorld> world;
    sf::Vector2f mouseLocal{0.f, 0.f};
};

const sf::Vector2i scanButton{700, 1000};

} // namespace

TEST_CASE("P, Space, Esc and F1 pause; any key but a modifier goes on", "[keys][pause]")
{
    struct Row {
        const char* what;
        std::vector<sf::Event> events;
        bool paused;
        bool help;
    };
    const Row rows[] = {
        {"P", {key(K::P)}, true, false},
        {"Space", {key(K::Space)}, true, false},
        {"Esc with no window open", {key(K::Escape)}, true, false},
        {"F1: the controls card", {key(K::F1)}, true, true},
        {"? typed: the controls card", {key(K::LShift), key(K::Slash), text(U'?')}, true, true},
        {"P, then any key", {key(K::P), key(K::A)}, false, false},
        {"P, then a modifier alone", {key(K::P), key(K::LShift)}, true, false},
        {"the card, then F1 closes it", {key(K::F1), key(K::F1)}, false, false},
        {"the card, then ? closes it and does not open it again",
         {key(K::F1), key(K::LShift), key(K::Slash), text(U'?')},
         false,
         false},
        {"a letter typed goes nowhere", {key(K::A), text(U'a')}, false, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.what);
        Player player;
        for (const sf::Event& event : row.events)
            player.send(event);
        CHECK(player.game.isPaused() == row.paused);
        CHECK(player.game.helpShown() == row.help);
    }
}

TEST_CASE("a click ends the pause and does nothing else", "[keys][pause]")
{
    Player player;
    player.send(key(K::P));
    player.click(scanButton);
    CHECK_FALSE(player.game.isPaused());
    CHECK(player.world->mode == TWorld::ModeField);
    // The next click is the player's again.
    player.click(scanButton);
    CHECK(player.world->mode == TWorld::ModeSorting);

    SECTION("the pointer is followed while paused, and a drag catches up after")
    {
        eggkit::addTableEgg(*player.world, {800.f, 300.f});
        player.send(moveTo({800, 300}));
        player.send(pressAt({800, 300}));
        REQUIRE(dragKind == TWorld::DragEgg);
        player.send(key(K::Space));
        player.send(moveTo({900, 350}));
        CHECK(player.world->eggsOnTable[0].getPosition() == sf::Vector2f(800.f, 300.f));
        CHECK(player.mouseLocal == sf::Vector2f(900.f, 350.f));
        player.send(key(K::Space));
        player.send(moveTo({910, 360}));
        CHECK(player.world->eggsOnTable[0].getPosition() == sf::Vector2f(910.f, 360.f));
    }
}

TEST_CASE("Esc closes the open window first, then pauses", "[keys]")
{
    Player player;
    struct Row {
        const char* what;
        int mode;
        int after;
        bool paused;
    };
    const Row rows[] = {{"the sorting window", TWorld::ModeSorting, TWorld::ModeField, false},
                        {"the running scanner", TWorld::ModeSortingRunning, TWorld::ModeField, false},
                        {"the shop", TWorld::ModeShop, TWorld::ModeField, false},
                        {"nothing open", TWorld::ModeField, TWorld::ModeField, true}};
    for (const Row& row : rows) {
        CAPTURE(row.what);
        player.world->mode = row.mode;
        player.send(key(K::Escape));
        CHECK(player.world->mode == row.after);
        CHECK(player.game.isPaused() == row.paused);
        CHECK(player.world->toolbarButtons[0]->iconIndex == 0);
        CHECK(player.world->toolbarButtons[1]->iconIndex == 0);
        if (player.game.isPaused())
            player.game.resume();
    }
    SECTION("not while a card is carried")
    {
        player.world->mode = TWorld::ModeShop;
        player.world->activeTool = TWorld::ToolKurort;
        player.send(key(K::Escape));
        CHECK(player.world->mode == TWorld::ModeShop);
        CHECK(player.game.isPaused());
    }
}

TEST_CASE("M switches the music exactly as the button does", "[keys][music]")
{
    Player player;
    REQUIRE(musicOn);
    player.send(key(K::M));
    CHECK_FALSE(musicOn);
    CHECK(player.world->toolbarButtons[2]->iconIndex == 1);
    player.click({1030, 1000}); // the button brings it back
    CHECK(musicOn);
    CHECK(player.world->toolbarButtons[2]->iconIndex == 0);
    player.send(key(K::M));
    player.send(key(K::M));
    CHECK(musicOn);
    SECTION("while paused, M only goes on")
    {
        player.send(key(K::P));
        player.send(key(K::M));
        CHECK_FALSE(player.game.isPaused());
        CHECK(musicOn);
    }
}

TEST_CASE("the window losing focus pauses, except in automation runs", "[keys][pause]")
{
    struct Row {
        const char* what;
        bool scripted;
        std::optional<long> frames;
        bool paused;
    };
    std::string error;
    const Row rows[] = {{"a player's game", false, std::nullopt, true},
                        {"a run of so many frames", false, 100, false},
                        {"a run played from an event script", true, std::nullopt, false}};
    for (const Row& row : rows) {
        CAPTURE(row.what);
        std::optional<TEventScript> script;
        if (row.scripted)
            script = TEventScript::parse("2 click 700 1000\n", error);
        Player player(std::move(script), row.frames);
        player.send(sf::Event::FocusLost{});
        player.game.settleFocus(false);
        CHECK(player.game.isPaused() == row.paused);
        player.send(sf::Event::FocusGained{});
        player.game.settleFocus(true);
        CHECK(player.game.isPaused() == row.paused); // back in focus, it waits for the player
    }
    SECTION("a focus lost and found again among one frame's events, or lost with the window still focused, is no loss")
    {
        Player player;
        player.send(sf::Event::FocusLost{});
        player.send(sf::Event::FocusGained{});
        player.game.settleFocus(false);
        CHECK_FALSE(player.game.isPaused());
        player.send(sf::Event::FocusLost{});
        player.game.settleFocus(true);
        CHECK_FALSE(player.game.isPaused());
        // Only a loss in this frame counts.
        player.game.settleFocus(false);
        CHECK_FALSE(player.game.isPaused());
    }
}
