#include "platform/Terminal.hpp"

#include <csignal>
#include <unistd.h>

bool standardOutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

void keepRunningWhenOutputCloses() { std::signal(SIGPIPE, SIG_IGN); }
