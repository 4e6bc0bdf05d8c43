#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Writes one file over and over from a thread of its own, so the frame loop
// never waits for the disk: each job makes the file's bytes (on the writer's
// thread) and the writer stores them with writeFileAtomically. A job handed
// in while another waits replaces it (only the newest state matters).
class TBackgroundWriter {
public:
    using Job = std::function<std::string()>;

    explicit TBackgroundWriter(std::string path);
    // Finishes the waiting job, if any, then stops.
    ~TBackgroundWriter();
    TBackgroundWriter(const TBackgroundWriter&) = delete;
    TBackgroundWriter& operator=(const TBackgroundWriter&) = delete;

    void submit(Job job);
    // Returns once every job handed in so far is written (or has failed).
    void wait();
    // The one-line reasons of the writes that failed since the last call.
    std::vector<std::string> takeErrors();
    // Writes that reached the disk so far.
    long written();

    const std::string& path() const { return target; }

private:
    void run();

    std::string target;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::optional<Job> pending;
    bool busy = false;
    bool stopping = false;
    long done = 0;
    std::vector<std::string> errors;
    std::thread worker; // last: starts once everything above exists
};
