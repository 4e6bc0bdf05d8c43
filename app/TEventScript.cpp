#include "app/TEventScript.hpp"

#include <fstream>
#include <sstream>

namespace {

std::optional<sf::Mouse::Button> buttonNamed(const std::string& name)
{
    if (name == "left")
        return sf::Mouse::Button::Left;
    if (name == "right")
        return sf::Mouse::Button::Right;
    if (name == "middle")
        return sf::Mouse::Button::Middle;
    if (name == "extra1")
        return sf::Mouse::Button::Extra1;
    if (name == "extra2")
        return sf::Mouse::Button::Extra2;
    return std::nullopt;
}

} // namespace

std::optional<TEventScript> TEventScript::load(const std::string& path, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot read the event script " + path;
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    auto script = parse(text.str(), error);
    if (!script)
        error = path + ": " + error;
    return script;
}

std::optional<TEventScript> TEventScript::parse(const std::string& text, std::string& error)
{
    TEventScript script;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first[0] == '#')
            continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return std::nullopt;
        };
        long frame = 0;
        try {
            std::size_t used = 0;
            frame = std::stol(first, &used);
            if (used != first.size() || frame < 1)
                return fail("a frame number of at least 1 comes first, not '" + first + "'");
        } catch (const std::exception&) {
            return fail("a frame number of at least 1 comes first, not '" + first + "'");
        }
        std::string verb;
        words >> verb;
        std::vector<sf::Event>& frameEvents = script.events[frame];
        if (verb == "move" || verb == "click") {
            int x = 0, y = 0;
            std::string rest;
            if (!(words >> x >> y) || (words >> rest))
                return fail(verb + " takes two whole pixel coordinates");
            frameEvents.push_back(sf::Event::MouseMoved{{x, y}});
            if (verb == "click") {
                frameEvents.push_back(sf::Event::MouseButtonPressed{sf::Mouse::Button::Left, {x, y}});
                frameEvents.push_back(sf::Event::MouseButtonReleased{sf::Mouse::Button::Left, {x, y}});
            }
        } else if (verb == "press" || verb == "release") {
            std::string name, rest;
            words >> name;
            const auto button = buttonNamed(name);
            if (!button || (words >> rest))
                return fail(verb + " takes one button: left, right, middle, extra1 or extra2");
            if (verb == "press")
                frameEvents.push_back(sf::Event::MouseButtonPressed{*button, {0, 0}});
            else
                frameEvents.push_back(sf::Event::MouseButtonReleased{*button, {0, 0}});
        } else {
            return fail("unknown event '" + verb + "' (move, press, release or click)");
        }
    }
    return script;
}

std::span<const sf::Event> TEventScript::eventsFor(long frame) const
{
    const auto it = events.find(frame);
    return it == events.end() ? std::span<const sf::Event>{} : std::span<const sf::Event>(it->second);
}
