#include "app/TStateFile.hpp"

#include "core/Globals.hpp"
#include "world/TWorld.hpp"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

void eggList(std::ostringstream& out, const char* name, const std::vector<TEgg2>& eggs)
{
    out << name << ' ' << eggs.size();
    for (const TEgg2& egg : eggs)
        out << ' ' << std::lround(egg.getPosition().x) << ',' << std::lround(egg.getPosition().y);
    out << '\n';
}

} // namespace

std::string TStateFile::text(TWorld& world, long frame, bool paused)
{
    std::ostringstream out;
    out << "frame " << frame << '\n'
        << "seconds " << static_cast<long>(world.storyClock.getElapsed()) << '\n'
        << "mode " << world.mode << '\n'
        << "coins " << coins << '\n'
        << "earned " << coinsEarned << '\n'
        << "collected " << eggsCollected << '\n'
        << "packages " << packC0Count << ' ' << packC1Count << '\n'
        << "order";
    for (int q : quantities)
        out << ' ' << q;
    out << '\n'
        << "music " << (musicOn ? "on" : "off") << '\n'
        << "cleanings " << world.cleanCount << '\n'
        << "chickens " << world.vecChikens.size() << '\n';
    eggList(out, "floor", world.eggsOnFloor);
    eggList(out, "table", world.eggsOnTable);
    out << "paused " << (paused ? 1 : 0) << '\n';
    return out.str();
}

bool TStateFile::write(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".part";
    bool written = false;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (file) {
            file << text;
            file.flush();
            written = static_cast<bool>(file);
        }
    }
    // A failed write (a full disk) leaves no part-file behind.
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
