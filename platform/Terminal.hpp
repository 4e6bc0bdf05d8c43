#pragma once

// True when the game's standard output is a terminal (rather than a file, a
// pipe or nothing), so screen-control sequences written there are seen as
// such. The portable build cannot tell and says false.
bool standardOutputIsTerminal();
