#pragma once

#include <string>

// Keeps a second game off a farm that a running game holds: an advisory lock
// (flock) on a lock file beside the save (farm.json.lock), which names the
// holding game's process. The kernel lets go of the lock when the game ends,
// however it ends, so a crashed game never locks its farm out.
class TFarmLock {
public:
    TFarmLock() = default;
    ~TFarmLock();
    TFarmLock(const TFarmLock&) = delete;
    TFarmLock& operator=(const TFarmLock&) = delete;

    // Takes the lock of the farm kept in `farm` for as long as this object
    // lives. False, with one line in `error` naming the farm and the other
    // game's process, when another game holds it. Where no lock file can be
    // made (a folder that takes no files, where nothing can be saved either)
    // the game goes on without one.
    [[nodiscard]] bool take(const std::string& farm, std::string& error);

    // The lock file of the farm kept in `farm`.
    static std::string lockPath(const std::string& farm) { return farm + ".lock"; }

private:
    int fd = -1;
};
