#include "core/TBackgroundWriter.hpp"

#include "core/AtomicFile.hpp"

#include <exception>
#include <utility>

#include <sys/resource.h>
#include <unistd.h>

TBackgroundWriter::TBackgroundWriter(std::string path)
    : target(std::move(path))
    , worker([this] { run(); })
{
}

TBackgroundWriter::~TBackgroundWriter()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    worker.join();
}

void TBackgroundWriter::submit(Job job)
{
    {
        std::lock_guard lock(mutex);
        pending = std::move(job);
    }
    wake.notify_all();
}

void TBackgroundWriter::wait()
{
    std::unique_lock lock(mutex);
    idle.wait(lock, [this] { return !pending && !busy; });
}

std::vector<std::string> TBackgroundWriter::takeErrors()
{
    std::lock_guard lock(mutex);
    return std::exchange(errors, {});
}

long TBackgroundWriter::written()
{
    std::lock_guard lock(mutex);
    return done;
}

void TBackgroundWriter::run()
{
    // Behind the frame loop when the cores are busy (best effort: Linux
    // gives each thread its own nice value).
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return pending || stopping; });
        if (!pending)
            return; // stopping with nothing left to write
        Job job = std::move(*pending);
        pending.reset();
        busy = true;
        lock.unlock();
        std::string error;
        bool ok = false;
        try {
            ok = writeFileAtomically(target, job(), error);
        } catch (const std::exception& e) {
            error = "cannot write " + target + ": " + e.what();
        }
        lock.lock();
        busy = false;
        if (ok)
            ++done;
        else
            errors.push_back(error);
        idle.notify_all();
    }
}
