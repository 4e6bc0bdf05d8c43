#include "platform/Terminal.hpp"

#include <unistd.h>

bool standardOutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }
