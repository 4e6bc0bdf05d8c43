#include "app/TFarmKeeper.hpp"

#include "core/AtomicFile.hpp"
#include "world/TFarmSave.hpp"
#include "world/TWorld.hpp"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopAsked = 0;

extern "C" void askToStop(int) { stopAsked = 1; }

constexpr int closingSignals[] = {SIGINT, SIGTERM, SIGHUP};

enum class ReadResult { Read, Missing, Failed, TooLarge };

// The whole file, up to the largest save the game reads.
ReadResult readSave(const std::string& path, std::string& text, std::string& why)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) // nothing there to keep
            return ReadResult::Missing;
        why = std::strerror(errno);
        return ReadResult::Failed;
    }
    text.clear();
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            why = std::strerror(errno);
            ::close(fd);
            return ReadResult::Failed;
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > TFarmSave::maxFileBytes) {
            ::close(fd);
            return ReadResult::TooLarge;
        }
    }
    ::close(fd);
    return ReadResult::Read;
}

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
    return false;
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
    if (options.savePath)
        file = *options.savePath;
    else if (!options.frames && !options.events && !options.seed)
        file = defaultPath();
    if (file.empty())
        return;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    writer = std::make_unique<TBackgroundWriter>(file);

    stopAsked = 0;
    struct sigaction action{};
    action.sa_handler = askToStop;
    action.sa_flags = static_cast<int>(SA_RESETHAND); // the second one ends the game
    sigemptyset(&action.sa_mask);
    for (int signal : closingSignals)
        ::sigaction(signal, &action, nullptr);
    handlersInstalled = true;
}

TFarmKeeper::~TFarmKeeper()
{
    if (!handlersInstalled)
        return;
    for (int signal : closingSignals)
        std::signal(signal, SIG_DFL);
}

bool TFarmKeeper::closeRequested() { return stopAsked != 0; }

std::string TFarmKeeper::defaultPath()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return std::string(data) + "/henhouse/farm.json";
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.local/share/henhouse/farm.json";
    return {};
}

void TFarmKeeper::stopSaving(const std::string& line)
{
    log << "henhouse: " << line << std::endl;
    writer.reset();
}

bool TFarmKeeper::resume(TWorld& world)
{
    if (!writer)
        return false;
    removeLeftovers(file);
    if (startAfresh) {
        std::error_code ec;
        if (!std::filesystem::exists(file, ec))
            return false;
        std::string why;
        if (!renameDurably(file, file + ".1", why))
            stopSaving(why + "; this new farm will not be saved, so the old one stays as it is");
        return false;
    }

    std::string text, why;
    switch (readSave(file, text, why)) {
    case ReadResult::Missing: return false;
    case ReadResult::Failed:
        stopSaving("cannot read the farm " + file + " (" + why
                   + "); a new farm begins and will not be saved, so the old one stays as it is");
        return false;
    case ReadResult::TooLarge:
        why = "the file is larger than " + std::to_string(TFarmSave::maxFileBytes >> 20) + " MB";
        break;
    case ReadResult::Read: {
        bool newer = false;
        if (const auto farm = TFarmSave::fromJson(text, why, &newer)) {
            TFarmSave::apply(*farm, world);
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
    if (moveAside(file, aside, moveWhy))
        log << "henhouse: the farm " << file << " cannot be used: " << why << "; it is kept as " << aside
            << " and a new farm begins" << std::endl;
    else
        stopSaving("the farm " + file + " cannot be used: " + why + " (" + moveWhy
                   + "); a new farm begins and will not be saved, so that one stays as it is");
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
        log << "henhouse: could not save the farm: " << error << "; the last save stays" << std::endl;
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
