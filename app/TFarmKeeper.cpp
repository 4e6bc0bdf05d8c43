#include "app/TFarmKeeper.hpp"

#include "core/AtomicFile.hpp"
#include "core/RegularFile.hpp"
#include "platform/Signals.hpp"
#include "world/TFarmSave.hpp"
#include "world/TWorld.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// farm.json.bad, or farm.json.bad.2, .3 ... when that name is taken: a bad
// save is never overwritten either.
bool moveAside(const std::string& path, std::string& where, std::string& why)
{
    for (int n = 1; n <= 99; ++n) {
        where = path + ".bad" + (n == 1 ? std::string() : "." + std::to_string(n));
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(where, ec)))
            continue;
        if (renameWithoutReplacing(path, where, why))
            return true;
    }
    if (why.empty())
        why = "every name from " + path + ".bad to " + path + ".bad.99 is taken";
    return false;
}

// Whether the folder of `path` takes new files: one is made and removed.
bool folderTakesFiles(const std::string& path, std::string& why)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::string folder = parent.empty() ? "." : parent.string();
    std::string name = path + ".tmpXXXXXX";
    std::vector<char> pattern(name.begin(), name.end());
    pattern.push_back('\0');
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        why = "cannot write in " + folder + " (" + std::strerror(errno) + ")";
        return false;
    }
    ::close(fd);
    ::unlink(pattern.data());
    return true;
}

// A save the player made read-only (no one may write it) is not written over.
bool readOnly(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
}

// Follows symbolic links to the file they name, so a save through a link
// replaces the link's target in the target's own folder and the link stays.
std::string throughLinks(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path at(path);
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++hops) {
        const fs::path target = fs::read_symlink(at, ec);
        if (ec)
            break;
        at = (target.is_absolute() ? target : at.parent_path() / target).lexically_normal();
    }
    return at.string();
}

// The home folder the system lists for this user (HOME unset).
std::string listedHome()
{
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir)
        return {};
    return found->pw_dir;
}

// A folder every user may write to (such as /tmp) is nobody's own.
bool sharedFolder(const std::string& folder)
{
    struct stat info{};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_IWOTH) != 0;
}

// A save killed half-way leaves its temporary file (farm.json.tmpXXXXXX)
// behind; the old save itself is whole. Cleared away at the start.
void removeLeftovers(const std::string& path)
{
    const std::filesystem::path file(path);
    const std::string prefix = file.filename().string() + ".tmp";
    std::error_code ec;
    const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix) && entry.is_regular_file(ec))
            std::filesystem::remove(entry.path(), ec);
    }
}

} // namespace

TFarmKeeper::TFarmKeeper(const TOptions& options, std::ostream& messages)
    : log(messages)
{
    startAfresh = options.newFarm;
    std::string why;
    file = pathFor(options, why);
    if (!why.empty())
        say(why);
    if (file.empty())
        return;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    writer = std::make_unique<TBackgroundWriter>(file);

    askToCloseOnSignals();
    handlersInstalled = true;
}

TFarmKeeper::~TFarmKeeper()
{
    if (!handlersInstalled)
        return;
    stopAskingToCloseOnSignals();
}

bool TFarmKeeper::closeRequested() { return closeAskedBySignal(); }

std::string TFarmKeeper::defaultPath(std::string* why)
{
    std::string base, named;
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (data && *data == '/') { // a relative one is ignored
        base = data;
        named = "XDG_DATA_HOME";
    } else {
        const std::string root = home && *home == '/' ? std::string(home) : listedHome();
        named = home && *home == '/' ? "HOME" : "the home folder the system lists";
        if (root.empty() || root == "/") {
            if (why)
                *why = "no home folder: this game's farm will not be kept (set XDG_DATA_HOME to a folder of your own)";
            return {};
        }
        if (sharedFolder(root)) {
            if (why)
                *why = "the farm will not be kept: " + root + " (" + named
                       + ") is a folder every user may write to; set XDG_DATA_HOME to a folder of your own";
            return {};
        }
        base = root + "/.local/share";
    }
    if (sharedFolder(base)) {
        if (why)
            *why = "the farm will not be kept: " + base + " (" + named
                   + ") is a folder every user may write to; set XDG_DATA_HOME to a folder of your own";
        return {};
    }
    return base + "/henhouse/farm.json";
}

std::string TFarmKeeper::pathFor(const TOptions& options, std::string& why)
{
    why.clear();
    std::string path;
    if (options.savePath)
        path = *options.savePath;
    else if (!options.frames && !options.events && !options.seed)
        path = defaultPath(&why);
    return path.empty() ? path : throughLinks(path);
}

void TFarmKeeper::say(const std::string& line) { log << "henhouse: " << escapedForTerminal(line) << std::endl; }

void TFarmKeeper::stopSaving(const std::string& line)
{
    say(line);
    writer.reset();
}

void TFarmKeeper::checkWritable()
{
    std::string why;
    if (writer && !folderTakesFiles(file, why))
        stopSaving("this farm will not be kept: " + why);
}

bool TFarmKeeper::resume(TWorld& world)
{
    if (!writer)
        return false;
    removeLeftovers(file);
    const bool keptAsIs = readOnly(file);
    if (startAfresh) {
        std::error_code ec;
        if (keptAsIs) {
            stopSaving("the farm " + file + " is read-only: a new farm begins and will not be saved over it");
            return false;
        }
        if (!std::filesystem::exists(std::filesystem::symlink_status(file, ec))) {
            checkWritable();
            return false;
        }
        std::string why;
        if (!renameDurably(file, file + ".1", why))
            stopSaving(why + "; this new farm will not be saved, so the old one stays as it is");
        checkWritable();
        return false;
    }

    // Only a regular file is opened: a FIFO would wait for a writer before the first frame.
    std::string text, why;
    switch (readWholeFile(file, TFarmSave::maxFileBytes, text, why)) {
    case FileReading::missing: checkWritable(); return false;
    case FileReading::refused:
        stopSaving("cannot read the farm " + file + " (" + why
                   + "); a new farm begins and will not be saved, so the old one stays as it is");
        return false;
    case FileReading::tooLarge:
        why = "the file is larger than " + std::to_string(TFarmSave::maxFileBytes >> 20) + " MB";
        break;
    case FileReading::read: {
        bool newer = false;
        if (const auto farm = TFarmSave::fromJson(text, why, &newer)) {
            TFarmSave::apply(*farm, world);
            if (keptAsIs)
                stopSaving("the farm " + file + " is read-only: it is played, but this game will not save over it");
            checkWritable();
            return true;
        }
        if (newer) {
            stopSaving("the farm " + file + " cannot be used: " + why
                       + "; a new farm begins and will not be saved, so that one stays as it is");
            return false;
        }
        break;
    }
    }
    std::string aside, moveWhy;
    if (moveAside(file, aside, moveWhy)) {
        say("the farm " + file + " cannot be used: " + why + "; it is kept as " + aside + " and a new farm begins");
        checkWritable();
    } else {
        stopSaving("the farm " + file + " cannot be used: " + why + " (" + moveWhy
                   + "); a new farm begins and will not be saved, so that one stays as it is");
    }
    return false;
}

void TFarmKeeper::save(TWorld& world)
{
    // Only the copy is taken here, between frames; the text and the file are
    // made on the writer's thread.
    // A save this game could not read back is not written: it would cost the
    // player the last good one.
    auto farm = std::make_shared<const TFarmSave::Snapshot>(TFarmSave::capture(world));
    writer->submit([farm] {
        std::string text = TFarmSave::toJson(*farm);
        std::string problem;
        if (!TFarmSave::fromJson(text, problem))
            throw std::runtime_error("the farm holds what a save cannot keep (" + problem + ")");
        return text;
    });
}

void TFarmKeeper::report()
{
    for (const std::string& error : writer->takeErrors())
        say("could not save the farm: " + error + "; the last save stays");
}

void TFarmKeeper::tick(float dt, TWorld& world)
{
    if (!writer)
        return;
    report();
    sinceSave += dt;
    if (sinceSave < savePeriod)
        return;
    sinceSave = 0.f;
    save(world);
}

void TFarmKeeper::flush()
{
    if (!writer)
        return;
    writer->wait();
    report();
}

void TFarmKeeper::close(TWorld& world)
{
    if (!writer)
        return;
    save(world);
    flush();
}
