#include "app/TEventScript.hpp"

#include "core/RegularFile.hpp"

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
    std::string why;
    const auto text = readRegularFile(path, maxFileBytes, why);
    if (!text) {
        error = "cannot read the event script " + escapedForTerminal(path) + ": " + why;
        return std::nullopt;
    }
    auto script = parse(*text, error);
    if (!script)
        error = escapedForTerminal(path) + ": " + error;
    return script;
}

std::optional<TEventScript> TEventScript::parse(const std::string& text, std::string& error)
{
    TEventScript script;
    // A byte-order mark from an editor that writes one is not part of the first line.
    const std::string_view bom = "\xef\xbb\xbf";
    std::istringstream lines(text.starts_with(bom) ? text.substr(bom.size()) : text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return std::nullopt;
        };
        if (line.size() > maxLineBytes)
            return fail("longer than " + std::to_string(maxLineBytes) + " characters");
        // Everything from a # on is a comment, on a line of its own or after an event.
        if (const std::size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string first;
        if (!(words >> first))
            continue;
        long frame = 0;
        try {
            std::size_t used = 0;
            frame = std::stol(first, &used);
            if (used != first.size() || frame < 1)
                return fail("a frame number of at least 1 comes first, not '" + escapedForTerminal(first) + "'");
        } catch (const std::exception&) {
            return fail("a frame number of at least 1 comes first, not '" + escapedForTerminal(first) + "'");
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
            return fail("unknown event '" + escapedForTerminal(verb) + "' (move, press, release or click)");
        }
    }
    return script;
}

std::span<const sf::Event> TEventScript::eventsFor(long frame) const
{
    const auto it = events.find(frame);
    return it == events.end() ? std::span<const sf::Event>{} : std::span<const sf::Event>(it->second);
}
