#include "platform/Terminal.hpp"

bool standardOutputIsTerminal() { return false; }

void keepRunningWhenOutputCloses() {}
