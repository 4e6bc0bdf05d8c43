// A process that does nothing but save: it writes the contents of two files
// in turn over PATH with writeFileAtomically, forever, and writes one byte to
// its standard output after each save that completed ('1' for FIRST, '2' for
// SECOND), so the fault tests can tell how far it got before they kill it.
// Kept small (and without sanitizers) so it starts in a moment.
//   henhouse-save-loop PATH FIRST SECOND
#include "core/AtomicFile.hpp"

#include <fstream>
#include <signal.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

std::string contents(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    // A reader that went away ends the loop with an error, not a signal.
    ::signal(SIGPIPE, SIG_IGN);
    const std::string texts[2] = {contents(argv[2]), contents(argv[3])};
    for (long i = 0;; ++i) {
        std::string error;
        // Killed at random moments: a failed write is simply tried again.
        if (!writeFileAtomically(argv[1], texts[i % 2], error))
            continue;
        const char done = i % 2 == 0 ? '1' : '2';
        if (::write(STDOUT_FILENO, &done, 1) != 1)
            return 1;
    }
}
