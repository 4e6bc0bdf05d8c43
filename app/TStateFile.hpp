#pragma once

#include <string>

class TWorld;

// The game's state as a few lines of text, written for automated checks
// (--state-file): one "name values" line each, whole numbers only:
//   frame N            frames run so far
//   seconds N          play time, whole seconds
//   mode N             0 field, 1 sorting window, 2 scanner running, 3 shop
//   coins N / earned N / collected N
//   packages C0 C1     eggs in the open packages
//   order Q0 .. Q5     the shop's order
//   music on|off
//   cleanings N        clean-button clicks (back to 0 after 100)
//   chickens N
//   floor N X,Y ...    eggs in the pen and where they lie
//   table N X,Y ...    eggs on the sorting table
//   paused 0|1         1 while the farm stands still (a key, a click or the
//                      window losing focus paused it)
// The file is replaced whole (written beside it, then renamed), so a reader
// never sees half of it.
class TStateFile {
public:
    static std::string text(TWorld& world, long frame, bool paused);
    // Writes `text` to `path`; false when that fails.
    [[nodiscard]] static bool write(const std::string& path, const std::string& text);
};
