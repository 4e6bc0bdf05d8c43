#pragma once

// True when the game's standard output is a terminal (rather than a file, a
// pipe or nothing), so screen-control sequences written there are seen as
// such. The portable build cannot tell and says false.
bool standardOutputIsTerminal();

// Makes a write to a closed output (a pipe whose reader has gone, as in
// `henhouse | head -1`) fail with an error instead of ending the game. The
// portable build leaves the system's default.
void keepRunningWhenOutputCloses();
