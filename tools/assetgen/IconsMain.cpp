// henhouse-icons OUTDIR NAME
// Paints the game's desktop icons into OUTDIR/hicolor (every size and a
// scalable one), named NAME. A program of its own, so that a build borrowing
// another tree's images need not build the whole generator for them.

#include "Icons.hpp"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: henhouse-icons OUTDIR NAME\n");
        return 1;
    }
    try {
        henhouse::assets::writeIcons(argv[1], argv[2]);
    } catch (const std::exception& ex) {
        std::fprintf(stderr, "henhouse-icons: %s\n", ex.what());
        return 1;
    }
    return 0;
}
