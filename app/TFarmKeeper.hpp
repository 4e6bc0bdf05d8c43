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

    // $XDG_DATA_HOME/henhouse/farm.json (a relative XDG_DATA_HOME is
    // ignored), else ~/.local/share/henhouse/farm.json, with HOME unset the
    // home folder the system lists. Empty, with the reason in `why`, when
    // there is no home folder or the folder is one every user may write to
    // (such as /tmp): a farm is never kept in a shared folder.
    static std::string defaultPath(std::string* why = nullptr);
    // The file this game keeps its farm in (empty: none), symbolic links
    // followed to the file they name; `why` says why the player's own farm
    // cannot be kept, when it cannot.
    static std::string pathFor(const TOptions& options, std::string& why);

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
    // One line on the log, control bytes escaped.
    void say(const std::string& line);
    // Stops saving, saying why once, when the save's folder takes no files.
    void checkWritable();

    std::string file;
    bool startAfresh = false;
    std::ostream& log;
    float sinceSave = 0.f;
    std::unique_ptr<TBackgroundWriter> writer;
    bool handlersInstalled = false;
};
