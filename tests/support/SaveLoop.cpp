// A process that does nothing but save: it writes the contents of two files
// in turn over PATH with writeFileAtomically, forever. The fault tests kill
// it at random moments. Kept small (and without sanitizers) so it starts in
// a moment.
//   henhouse-save-loop PATH FIRST SECOND
#include "core/AtomicFile.hpp"

#include <fstream>
#include <sstream>
#include <string>

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
    const std::string texts[2] = {contents(argv[2]), contents(argv[3])};
    for (long i = 0;; ++i) {
        std::string error;
        // Killed at random moments: a failed write is simply tried again.
        (void)writeFileAtomically(argv[1], texts[i % 2], error);
    }
}
