#include "platform/Signals.hpp"

#include <csignal>

namespace {

volatile std::sig_atomic_t stopAsked = 0;

extern "C" void askToStop(int) { stopAsked = 1; }

constexpr int closingSignals[] = {SIGINT, SIGTERM, SIGHUP};

} // namespace

void askToCloseOnSignals()
{
    stopAsked = 0;
    struct sigaction action{};
    action.sa_handler = askToStop;
    action.sa_flags = static_cast<int>(SA_RESETHAND); // the second one ends the game
    sigemptyset(&action.sa_mask);
    for (int signal : closingSignals)
        ::sigaction(signal, &action, nullptr);
}

void stopAskingToCloseOnSignals()
{
    for (int signal : closingSignals)
        std::signal(signal, SIG_DFL);
}

bool closeAskedBySignal() { return stopAsked != 0; }

void keepRunningPastFileSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }
