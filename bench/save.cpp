// Saving and loading the farm. A big farm (1,000 hens, 5,000 dirt spots, a
// few hundred eggs) is saved and loaded many times: the copy taken between
// frames (the only part on the frame loop), the JSON text, the durable file
// write, and the load (read, check, put into a new world). Then a normal farm
// plays at 60 frames a second while a save runs every frame on the writer's
// thread, against the same frames with no saving: the frame loop must not
// notice. Medians, in milliseconds.
#include "core/AtomicFile.hpp"
#include "core/FileBytes.hpp"
#include "core/Globals.hpp"
#include "core/TBackgroundWriter.hpp"
#include "core/TTextureStore.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TFarmSave.hpp"
#include "world/TWorld.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double maximum(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

std::unique_ptr<TWorld> farm(int hens, int dirt)
{
    resetGlobalValues();
    resetGameObjects();
    std::srand(7);
    auto world = std::make_unique<TWorld>();
    world->placeSharedSprites();
    for (TFeeding& feeder : world->feeders)
        feeder.addFood(1.0e5f);
    chickensToSpawn = hens;
    world->update(0.f);
    for (int i = 0; i < hens; ++i)
        world->vecChikens[static_cast<std::size_t>(i)].age = static_cast<float>((i * 7) % 700);
    for (int s = 0; s < 600; ++s)
        world->update(1.f / 60.f);
    // Eggs on the floor and on the table, as a busy farm has them.
    for (int i = 0; i < hens / 2; ++i) {
        TEgg2 egg = world->eggTemplate;
        egg.setPosition({static_cast<float>(std::rand() % 1900), static_cast<float>(std::rand() % 1000)});
        egg.setRotation(sf::degrees(static_cast<float>(std::rand() % 360)));
        egg.defective = i % 5 == 0;
        (i % 2 ? world->eggsOnTable : world->eggsOnFloor).push_back(egg);
    }
    for (int i = 0; i < dirt; ++i) {
        sf::Sprite spot(TTextureStore::instance().getTexture(image::pen1 + std::rand() % 5));
        spot.setPosition({static_cast<float>(std::rand() % 1900), static_cast<float>(std::rand() % 1000)});
        world->pollution.push_back(spot);
    }
    return world;
}

} // namespace

int main()
{
    buildProcessObjects(false);
    const std::string dir = "/tmp/henhouse-bench-save-" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/farm.json";

    auto big = farm(1000, 5000);
    std::vector<double> capture, text, write, load, readPart, checkPart, applyPart;
    std::string saved;
    for (int round = 0; round < 21; ++round) {
        auto start = Clock::now();
        const TFarmSave::Snapshot snapshot = TFarmSave::capture(*big);
        capture.push_back(msSince(start));
        start = Clock::now();
        saved = TFarmSave::toJson(snapshot);
        text.push_back(msSince(start));
        start = Clock::now();
        std::string error;
        if (!writeFileAtomically(path, saved, error)) {
            std::printf("save: %s\n", error.c_str());
            return 1;
        }
        write.push_back(msSince(start));
    }
    std::printf(
        "save: the big farm: %zu hens, %zu dirt spots, %zu eggs on the floor, %zu on the table; %.2f MB of JSON\n",
        big->vecChikens.size(), big->pollution.size(), big->eggsOnFloor.size(), big->eggsOnTable.size(),
        static_cast<double>(saved.size()) / 1e6);
    const std::string reference = saved;
    for (int round = 0; round < 21; ++round) {
        resetGlobalValues();
        resetGameObjects();
        auto into = std::make_unique<TWorld>();
        into->placeSharedSprites();
        const auto start = Clock::now();
        std::vector<std::uint8_t> bytes;
        if (!readFileBytes(path, bytes))
            throw std::runtime_error("cannot read the save " + path);
        readPart.push_back(msSince(start));
        auto part = Clock::now();
        std::string problem;
        const auto farmRead =
            TFarmSave::fromJson(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), problem);
        if (!farmRead) {
            std::printf("save: the farm was refused: %s\n", problem.c_str());
            return 1;
        }
        checkPart.push_back(msSince(part));
        part = Clock::now();
        TFarmSave::apply(*farmRead, *into);
        applyPart.push_back(msSince(part));
        load.push_back(msSince(start));
        if (round == 0 && TFarmSave::toJson(TFarmSave::capture(*into)) != reference) {
            std::printf("save: the loaded farm saves differently\n");
            return 1;
        }
    }
    const double saveMs = median(text) + median(write);
    std::printf("save: copy between frames %.3f ms, JSON text %.2f ms, durable write %.2f ms (median of 21)\n",
                median(capture), median(text), median(write));
    std::printf("save: load %.2f ms: read %.2f, parse and check %.2f, into a new world %.2f (medians of 21)\n",
                median(load), median(readPart), median(checkPart), median(applyPart));

    // A normal farm: 30 hens, 100 dirt spots. The frame loop's part of a
    // save is the copy and the hand-over; then a second of frames while the
    // writer works, against a second of frames after it has finished.
    big.reset();
    auto normal = farm(30, 100);
    std::vector<double> handOver, plain, saving;
    {
        TBackgroundWriter writer(path);
        for (int round = 0; round < 100; ++round) {
            auto start = Clock::now();
            auto copy = std::make_shared<const TFarmSave::Snapshot>(TFarmSave::capture(*normal));
            writer.submit([copy] { return TFarmSave::toJson(*copy); });
            handOver.push_back(msSince(start));
            for (int f = 0; f < 60; ++f) {
                start = Clock::now();
                normal->update(1.f / 60.f);
                saving.push_back(msSince(start));
            }
            writer.wait();
            for (int f = 0; f < 60; ++f) {
                start = Clock::now();
                normal->update(1.f / 60.f);
                plain.push_back(msSince(start));
            }
        }
    }
    std::printf("save: normal farm, the frame loop's part of a save: median %.3f ms, max %.3f ms (100 saves)\n",
                median(handOver), maximum(handOver));
    std::printf("save: normal farm world step while a save is written: median %.4f ms, max %.3f ms;"
                " with no save: median %.4f ms, max %.3f ms\n",
                median(saving), maximum(saving), median(plain), maximum(plain));
    std::filesystem::remove_all(dir);
    destroyProcessObjects();
    std::printf("save: 1,000 hens and 5,000 dirt spots: save %.1f ms (text %.1f + write %.1f), load %.1f ms;"
                " a normal farm's save holds up a frame by %.3f ms at most\n",
                saveMs, median(text), median(write), median(load), maximum(handOver));
    return 0;
}
