#pragma once

#include <SFML/Window/Event.hpp>

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Mouse input read from a text file, for demos, screenshots and scripted
// checks: each line names the frame at whose start its event arrives, as if
// the player had made it. Lines:
//   FRAME move X Y
//   FRAME press BUTTON      (left, right, middle, extra1, extra2)
//   FRAME release BUTTON
//   FRAME click X Y         (a move, a left press and a left release)
// Blank lines and lines starting with # are ignored.
class TEventScript {
public:
    // Reads a script; on a bad line returns nothing and says where in `error`.
    static std::optional<TEventScript> load(const std::string& path, std::string& error);
    static std::optional<TEventScript> parse(const std::string& text, std::string& error);

    // The events of frame `frame` (1 is the first frame), in file order.
    std::span<const sf::Event> eventsFor(long frame) const;
    long lastFrame() const { return events.empty() ? 0 : events.rbegin()->first; }

private:
    std::map<long, std::vector<sf::Event>> events;
};
