// The signals a game answers: the first interrupt, termination or hang-up
// asks the game to close, the second is the system's own (it ends the game).
#include "platform/Signals.hpp"

#include <catch2/catch_test_macros.hpp>

#include <csignal>

namespace {

// The portable build knows standard C's two.
#if HENHOUSE_PORTABLE
constexpr int closing[] = {SIGINT, SIGTERM};
#else
constexpr int closing[] = {SIGINT, SIGTERM, SIGHUP};
#endif

bool answeredBySystem(int signal)
{
    struct sigaction now{};
    ::sigaction(signal, nullptr, &now);
    return now.sa_handler == SIG_DFL;
}

} // namespace

TEST_CASE("a closing signal asks once, then the system answers", "[signals]")
{
    for (int signal : closing) {
        INFO("signal " << signal);
        askToCloseOnSignals();
        CHECK_FALSE(closeAskedBySignal());
        CHECK_FALSE(answeredBySystem(signal));
        std::raise(signal);
        CHECK(closeAskedBySignal());
        CHECK(answeredBySystem(signal)); // a second one would end the process
        stopAskingToCloseOnSignals();
    }
    askToCloseOnSignals();
    stopAskingToCloseOnSignals();
    for (int signal : closing)
        CHECK(answeredBySystem(signal));
}

TEST_CASE("a write past the file-size limit is an error, not the end", "[signals]")
{
    keepRunningPastFileSizeLimit();
    struct sigaction now{};
    ::sigaction(SIGXFSZ, nullptr, &now);
    CHECK(now.sa_handler == (HENHOUSE_PORTABLE ? SIG_DFL : SIG_IGN));
    std::signal(SIGXFSZ, SIG_DFL);
}
