#pragma once

#include "app/TOptions.hpp"
#include "core/TBackgroundWriter.hpp"

#include <iosfwd>
#include <memory>
#include <string>

class TWorld;

// Keeps the player's farm between games: resumes it at the start, saves it
// every minute of play and when the game closes. The file work happens on a
// writer thread from a copy taken between frames. Runs for automation
// (--frames, --events, --seed) leave the player's farm alone unless --save
// names a file.
class TFarmKeeper {
public:
    static constexpr float savePeriod = 60.f; // seconds of play between saves

    // `log` receives the one-line reports (a refused or unwritable save).
    TFarmKeeper(const TOptions& options, std::ostream& log);
    ~TFarmKeeper();

    // $XDG_DATA_HOME/henhouse/farm.json, else ~/.local/share/henhouse/farm.json;
    // empty when neither variable is set.
    static std::string defaultPath();

    // After the world is built and its shared sprites placed: with --new-farm
    // the old save is kept one generation back (farm.json.1); otherwise the
    // save, if any, is read. A save that cannot be used is moved aside
    // (farm.json.bad) and the game starts afresh; one that cannot even be
    // read, or comes from a newer game, is left alone and this game is not
    // saved over it. True when a farm was resumed.
    bool resume(TWorld& world);
    // Once per frame, after the world step.
    void tick(float dt, TWorld& world);
    // When the game ends: saves and waits until the file is on the disk.
    void close(TWorld& world);
    // Waits for the save under way, if any, and reports how it went.
    void flush();

    // True while this game is being saved.
    bool saving() const { return writer != nullptr; }
    // While a farm is kept, an interrupt or termination signal (Ctrl-C, the
    // terminal closing) asks the game to close as the window's close button
    // does, so the farm is saved; a second one ends it at once.
    static bool closeRequested();
    const std::string& path() const { return file; }

private:
    void save(TWorld& world);
    void report();
    void stopSaving(const std::string& line);

    std::string file;
    bool startAfresh = false;
    std::ostream& log;
    float sinceSave = 0.f;
    std::unique_ptr<TBackgroundWriter> writer;
    bool handlersInstalled = false;
};
