#include "world/TFarmRecords.hpp"

#include "core/ImageTable.hpp"
#include "poultry/TChiken2.hpp"

#include <numbers>

using namespace save;
using Chicken = TFarmSave::Chicken;
using Snapshot = TFarmSave::Snapshot;
using Reading = save::Reading;

namespace {

constexpr double maxCount = 1000000000.0;
constexpr int maxOrder = 1000000; // per item: keeps the order's total inside an int
constexpr float twoPi = 2.f * std::numbers::pi_v<float>;

constexpr std::initializer_list<int> states = {TChiken2::Walking, TChiken2::Waiting,  TChiken2::Laying,
                                               TChiken2::Eating,  TChiken2::Drinking, TChiken2::Dancing};

// An elapsed time beyond its period would make the timer count for ages.
const TSaveRecord<Chicken> timers{
    decimal("wait", &Chicken::waitElapsed, 0.f, 1.f),
    decimalUpTo("lay", &Chicken::layElapsed, 0.f, &Chicken::layPeriod),
    decimal("layPeriod", &Chicken::layPeriod, 20.f, 22.f),
    decimal("frame", &Chicken::frameElapsed, 0.f, 1.f / 12.f),
    decimal("dance", &Chicken::danceElapsed, 0.f, 10.f),
};

const TSaveRecord<Chicken> chicken{
    place("position", &Chicken::position),
    place("target", &Chicken::target),
    vector("velocity", &Chicken::velocity, 10000.f),
    decimal("speed", &Chicken::speed, 0.f, 10000.f),
    decimal("age", &Chicken::age, 0.f, 1e10f),
    oneOf("stage", &Chicken::stage, {TChiken2::Chick, TChiken2::Adult, TChiken2::Old, TChiken2::Leaving}),
    decimal("satiety", &Chicken::satiety, 0.f, 1.f),
    decimal("hydration", &Chicken::hydration, 0.f, 1.f),
    decimal("eggUrge", &Chicken::eggUrge, 0.f, 1.f),
    oneOf("state", &Chicken::state, states),
    oneOf("nextState", &Chicken::nextState, states),
    flag("eggReady", &Chicken::eggReady),
    count("feeder", &Chicken::feeder, -1.0, 3.0), // index into the world's feeders
    timers.as("timers"),
    count("animation", &Chicken::animation, 0.0, 5.0),
    oneOf("sheet", &Chicken::sheet, TFarmRecords::chickenSheets),
    rect("frame", &Chicken::frame, 16384.0),
    vector("origin", &Chicken::origin, 10000.f),
    vector("scale", &Chicken::scale, 100.f),
    oneOf("facing", &Chicken::facing, {-1, 1}),
    count("walkFrame", &Chicken::walkFrame, 0.0, 39.0),
    count("eatFrame", &Chicken::eatFrame, 0.0, 39.0),
    count("poseFrame", &Chicken::poseFrame, 0.0, 39.0),
};

using Egg = TFarmSave::Egg;
const TSaveRecord<Egg> egg{{placeX(&Egg::position), placeY(&Egg::position), decimal(nullptr, &Egg::radians, 0.f, twoPi),
                            flag(nullptr, &Egg::defective)},
                           true};

using Dirt = TFarmSave::Dirt;
const TSaveRecord<Dirt> dirt{
    {count(nullptr, &Dirt::texture, image::pen1, image::pollution2), placeX(&Dirt::position), placeY(&Dirt::position)},
    true};

using Feeder = TFarmSave::Feeder;
const TSaveRecord<Feeder> feeder{
    decimal("food", &Feeder::food, -1e9f, 1e12f),
    decimal("blinkTime", &Feeder::blinkTime, 0.f, 1e10f),
    decimal("blinkAlpha", &Feeder::blinkAlpha, 0.f, 255.f),
    flag("empty", &Feeder::emptyPicture),
};

const TSaveRecord<Snapshot> purse{
    count("coins", &Snapshot::coins, -maxCount, maxCount),
    count("earned", &Snapshot::coinsEarned, 0.0, maxCount),
    count("eggsCollected", &Snapshot::eggsCollected, 0.0, maxCount),
};
const TSaveRecord<Snapshot> specialists{
    count("psychologist", &Snapshot::psychologists, 0.0, maxCount),
    count("vet", &Snapshot::vets, 0.0, maxCount),
};
const TSaveRecord<Snapshot> quest{
    flag("complete", &Snapshot::questComplete),
    flag("message3", &Snapshot::message3),
    flag("message4", &Snapshot::message4),
    flag("done", &Snapshot::messagesDone),
};
const TSaveRecord<Snapshot> clocks{
    decimal("dayTime", &Snapshot::dayTime, 0.f, 1e9f),
    decimal("playTime", &Snapshot::playTime, 0.f, 9999999.f),
    decimal("dirtTimer", &Snapshot::dirtTimer, 0.f, 5.f),
    decimal("messageTimer", &Snapshot::messageTimer, 0.f, 10.f),
    since(2, decimalUpTo("storyHeld", &Snapshot::storyHeld, 0.f, &Snapshot::playTime)),
};
const TSaveRecord<Snapshot> window{
    count("mode", &Snapshot::mode, 0.0, 3.0),
    count("shopPage", &Snapshot::shopPage, 0.0, 2.0),
    counts("order", &Snapshot::order, 0.0, maxOrder),
    place("scanner", &Snapshot::scanner),
    flag("scanningUp", &Snapshot::scanningUp),
    places("cards", &Snapshot::cards), // a hovered card stands a little higher
};

// Files of a newer format are refused as such; older ones lack what came since.
Field<Snapshot> format()
{
    return {"format", [](const Snapshot&, out_json& o) { o = TFarmSave::formatVersion; },
            [](Snapshot&, const json& v, const std::string& w, Reading& reading) {
                const int format = TSaveCheck::count(v, w, -1e9, 1e9);
                if (format > TFarmSave::formatVersion)
                    throw TSaveCheck::Refusal("it was saved by a newer version of the game (save format "
                                                  + std::to_string(format) + "; this one reads up to "
                                                  + std::to_string(TFarmSave::formatVersion) + ")",
                                              true);
                if (format < 1)
                    TSaveCheck::refuse(w, std::to_string(format) + " is not a save format");
                reading.format = format;
            }};
}

} // namespace

const TSaveRecord<Snapshot>& TFarmRecords::farm()
{
    static const TSaveRecord<Snapshot> farm{
        format(),
        {"game", [](const Snapshot&, out_json& o) { o = std::string("henhouse ") + TFarmSave::gameVersion; }, {}},
        purse.as("purse"),
        count("chickensToSpawn", &Snapshot::chickensToSpawn, 0.0, maxCount), // a queue, hatched as room allows
        counts("packages", {&Snapshot::packC0, &Snapshot::packC1}, 0.0, 5.0),
        counts("inventory", &Snapshot::inventory, 0.0, maxCount),
        specialists.as("specialists"),
        quest.as("quest"),
        clocks.as("clock"),
        count("cleanCount", &Snapshot::cleanCount, 0.0, 100.0),
        window.as("window"),
        records("feeders", &Snapshot::feeders, feeder),
        decimals("bowlNeedles", &Snapshot::bowlNeedles, 0.f, twoPi), // radians
        record("chickenTemplate", &Snapshot::chickenTemplate, chicken),
        records("chickens", &Snapshot::chickens, chicken),
        records("eggsOnFloor", &Snapshot::eggsOnFloor, egg),
        records("eggsOnTable", &Snapshot::eggsOnTable, egg),
        records("dirt", &Snapshot::dirt, dirt),
    };
    return farm;
}
