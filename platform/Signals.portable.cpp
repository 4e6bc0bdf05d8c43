#include "platform/Signals.hpp"

#include <csignal>

namespace {

volatile std::sig_atomic_t stopAsked = 0;

// Standard C lets a handler set its own signal's answer: the second one ends the game.
extern "C" void askToStop(int signal)
{
    stopAsked = 1;
    std::signal(signal, SIG_DFL);
}

constexpr int closingSignals[] = {SIGINT, SIGTERM};

} // namespace

void askToCloseOnSignals()
{
    stopAsked = 0;
    for (int signal : closingSignals)
        std::signal(signal, askToStop);
}

void stopAskingToCloseOnSignals()
{
    for (int signal : closingSignals)
        std::signal(signal, SIG_DFL);
}

bool closeAskedBySignal() { return stopAsked != 0; }

void keepRunningPastFileSizeLimit() {}
