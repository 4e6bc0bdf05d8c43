#pragma once

#include <SFML/Window/Event.hpp>

#include <cstddef>
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
// Blank lines are ignored, and so is everything from a # to the end of its
// line. A UTF-8 byte-order mark at the start is skipped.
class TEventScript {
public:
    // Limits that keep a wrong path (say /dev/zero, or a huge log) from
    // eating memory: no script of ours comes near either.
    static constexpr std::size_t maxFileBytes = std::size_t{16} << 20;
    static constexpr std::size_t maxLineBytes = 4096;

    // Reads a script; on a bad line, or a path that is not a readable regular
    // file, returns nothing and says why in `error` (file text escaped).
    [[nodiscard]] static std::optional<TEventScript> load(const std::string& path, std::string& error);
    [[nodiscard]] static std::optional<TEventScript> parse(const std::string& text, std::string& error);

    // The events of frame `frame` (1 is the first frame), in file order.
    std::span<const sf::Event> eventsFor(long frame) const;
    long lastFrame() const { return events.empty() ? 0 : events.rbegin()->first; }

private:
    std::map<long, std::vector<sf::Event>> events;
};
