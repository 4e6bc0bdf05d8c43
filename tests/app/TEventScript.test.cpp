#include "app/TEventScript.hpp"

#include <catch2/catch_test_macros.hpp>

TEST_CASE("an event script turns its lines into mouse events frame by frame", "[script]")
{
    std::string error;
    const auto script = TEventScript::parse("# open the sorter\n"
                                            "\n"
                                            "2 move 700 1000\n"
                                            "2 press left\n"
                                            "2 release left\n"
                                            "5 click 10 -20\n"
                                            "5 press extra2\n",
                                            error);
    REQUIRE(script);
    CHECK(script->lastFrame() == 5);
    CHECK(script->eventsFor(1).empty());

    const auto second = script->eventsFor(2);
    REQUIRE(second.size() == 3);
    REQUIRE(second[0].is<sf::Event::MouseMoved>());
    CHECK(second[0].getIf<sf::Event::MouseMoved>()->position == sf::Vector2i(700, 1000));
    REQUIRE(second[1].is<sf::Event::MouseButtonPressed>());
    CHECK(second[1].getIf<sf::Event::MouseButtonPressed>()->button == sf::Mouse::Button::Left);
    CHECK(second[2].is<sf::Event::MouseButtonReleased>());

    // A click is a move, then a left press and release; negative pixels pass through.
    const auto fifth = script->eventsFor(5);
    REQUIRE(fifth.size() == 4);
    CHECK(fifth[0].getIf<sf::Event::MouseMoved>()->position == sf::Vector2i(10, -20));
    CHECK(fifth[1].getIf<sf::Event::MouseButtonPressed>()->button == sf::Mouse::Button::Left);
    CHECK(fifth[2].getIf<sf::Event::MouseButtonReleased>()->button == sf::Mouse::Button::Left);
    CHECK(fifth[3].getIf<sf::Event::MouseButtonPressed>()->button == sf::Mouse::Button::Extra2);
}

TEST_CASE("a bad event script line is refused with its line number", "[script]")
{
    std::string error;
    CHECK_FALSE(TEventScript::parse("1 move 3\n", error));
    CHECK(error.find("line 1") != std::string::npos);
    CHECK_FALSE(TEventScript::parse("1 click 1 2\n0 click 1 2\n", error));
    CHECK(error.find("line 2") != std::string::npos);
    CHECK_FALSE(TEventScript::parse("x move 1 2\n", error));
    CHECK_FALSE(TEventScript::parse("3 press thumb\n", error));
    CHECK_FALSE(TEventScript::parse("3 jump\n", error));
    CHECK_FALSE(TEventScript::parse("3 move 1 2 3\n", error));
    CHECK_FALSE(TEventScript::load("/nonexistent/henhouse.events", error));
    CHECK(error.find("/nonexistent/henhouse.events") != std::string::npos);
}

TEST_CASE("an event script may start with a byte-order mark and carry comments after events", "[script]")
{
    std::string error;
    const auto script = TEventScript::parse("\xef\xbb\xbf"
                                            "2 move 10 20 # to the pen\n# a whole line\n3 press left#tight\n",
                                            error);
    REQUIRE(script);
    REQUIRE(script->eventsFor(2).size() == 1);
    CHECK(script->eventsFor(2)[0].getIf<sf::Event::MouseMoved>()->position == sf::Vector2i(10, 20));
    REQUIRE(script->eventsFor(3).size() == 1);
    CHECK(script->eventsFor(3)[0].is<sf::Event::MouseButtonPressed>());
    CHECK(script->lastFrame() == 3);
}

TEST_CASE("an event script's bad text is shown escaped and its lines are bounded", "[script]")
{
    std::string error;
    SECTION("escape sequences and high bytes in a bad word come back as \\xNN")
    {
        CHECK_FALSE(TEventScript::parse("1 \x1b[31mred\\\xff 1 2\n", error));
        CHECK(error == "line 1: unknown event '\\x1b[31mred\\\\\\xff' (move, press, release or click)");
        CHECK_FALSE(TEventScript::parse("\x07\x1b]0;t\n", error));
        CHECK(error.find('\x1b') == std::string::npos);
        CHECK(error.find('\x07') == std::string::npos);
    }
    SECTION("a line of the longest length is read, one byte more is refused")
    {
        const std::string padded = "1 move 1 2" + std::string(TEventScript::maxLineBytes - 10, ' ');
        REQUIRE(padded.size() == TEventScript::maxLineBytes);
        CHECK(TEventScript::parse(padded + "\n", error));
        CHECK_FALSE(TEventScript::parse("\n" + padded + " \n", error));
        CHECK(error == "line 2: longer than 4096 characters");
    }
}
