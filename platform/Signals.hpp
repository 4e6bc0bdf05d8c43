#pragma once

// The signals a game answers. While a farm is kept, an interrupt or
// termination signal (Ctrl-C, the terminal closing, SIGTERM) asks the game
// to close as the window's close button does, so the farm is saved; a second
// one ends it at once. The portable build answers the two signals standard C
// knows (interrupt and termination).
void askToCloseOnSignals();
// Back to the system's default answers.
void stopAskingToCloseOnSignals();
// True once such a signal came since askToCloseOnSignals.
bool closeAskedBySignal();

// Under a file-size limit a write past it fails with an error the game
// reports, rather than ending the game. The portable build leaves the
// system's default.
void keepRunningPastFileSizeLimit();
