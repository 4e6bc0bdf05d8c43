// The save file: what goes in comes back bit for bit, a resumed world plays
// on exactly like the one that was saved, and damaged or hand-edited files
// are refused as a whole with the first problem named.
#include "world/TFarmSave.hpp"
#include "core/Globals.hpp"
#include "core/ImageTable.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/EgglineObjects.hpp"
#include "support/TestSupport.hpp"
#include "world/TWorld.hpp"

#include <nlohmann/json.hpp>

#include <catch2/catch_test_macros.hpp>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>
#include <string>

using nlohmann::json;

namespace {

// A fresh world as the game makes one.
std::unique_ptr<TWorld> freshWorld()
{
    auto world = std::make_unique<TWorld>();
    world->placeSharedSprites();
    return world;
}

// Several minutes of a busy farm: eggs laid, some collected, dirt, a
// purchase, an open window and a half-built order, birds at feeders.
std::unique_ptr<TWorld> busyFarm()
{
    testsupport::freshGame();
    std::srand(42);
    auto world = freshWorld();
    coins = 500;
    chickensToSpawn = 12;
    for (TFeeding& f : world->feeders)
        f.addFood(3.f);
    for (int i = 0; i < 3000; ++i) {
        world->update(0.1f);
        if (i % 97 == 0 && !world->eggsOnFloor.empty()) {
            const sf::Vector2f p = world->eggsOnFloor.front().getPosition();
            world->onMousePressed(0, p.x, p.y);
            world->onMouseReleased(0, p.x, p.y);
        }
    }
    world->mode = TWorld::ModeShop;
    shop->setPage(1);
    quantities[0] = 2;
    orderTotal = 50;
    packC0Count = 4;
    inventorySlots[2].count = 3;
    psychologistCount = 1;
    return world;
}

std::string saved(TWorld& world) { return TFarmSave::toJson(TFarmSave::capture(world)); }

// Builds a new world (as a new game would) and resumes `text` into it.
std::unique_ptr<TWorld> resumed(const std::string& text)
{
    testsupport::freshGame();
    auto world = freshWorld();
    std::string problem;
    const auto farm = TFarmSave::fromJson(text, problem);
    INFO(problem);
    REQUIRE(farm);
    TFarmSave::apply(*farm, *world);
    return world;
}

std::string refusal(const std::string& text)
{
    std::string problem;
    const auto farm = TFarmSave::fromJson(text, problem);
    return farm ? std::string() : problem;
}

} // namespace

TEST_CASE("a saved farm reads back to the same bytes and plays on identically", "[world][save]")
{
    auto original = busyFarm();
    REQUIRE(original->vecChikens.size() == 12);
    REQUIRE(!original->eggsOnFloor.empty());
    REQUIRE(!original->eggsOnTable.empty());
    REQUIRE(!original->pollution.empty());
    const std::string first = saved(*original);
    const TFarmSave::Snapshot before = TFarmSave::capture(*original);

    // On from the save with a known seed.
    std::srand(777);
    for (int i = 0; i < 600; ++i)
        original->update(0.1f);
    const TFarmSave::Snapshot playedOn = TFarmSave::capture(*original);
    original.reset();

    auto again = resumed(first);
    CHECK(TFarmSave::capture(*again) == before);
    CHECK(saved(*again) == first);
    CHECK(again->mode == TWorld::ModeShop);
    CHECK(shop->page == 1);
    CHECK(orderTotal == 50);
    CHECK(dragKind == TWorld::DragNone);

    std::srand(777);
    for (int i = 0; i < 600; ++i)
        again->update(0.1f);
    const TFarmSave::Snapshot resumedOn = TFarmSave::capture(*again);
    CHECK(resumedOn.chickens == playedOn.chickens);
    CHECK(resumedOn.eggsOnFloor == playedOn.eggsOnFloor);
    CHECK(resumedOn == playedOn);
}

TEST_CASE("floats come back bit for bit", "[world][save]")
{
    testsupport::freshGame();
    auto world = freshWorld();
    world->update(0.f); // the five chicks
    std::mt19937 bits(9);
    std::vector<float> values = {0.f,
                                 -0.f,
                                 1.f / 3.f,
                                 973.6f,
                                 1360.54f,
                                 std::numeric_limits<float>::denorm_min(),
                                 std::numeric_limits<float>::min(),
                                 9.9999994e9f,
                                 std::nextafter(1.f, 0.f)};
    while (values.size() < 2000) {
        const float f = std::bit_cast<float>(static_cast<std::uint32_t>(bits()));
        if (std::isfinite(f) && std::fabs(f) < 1e9f)
            values.push_back(std::fabs(f));
    }
    world->vecChikens.resize(values.size(), world->vecChikens.front());
    for (std::size_t i = 0; i < values.size(); ++i) {
        world->vecChikens[i].age = values[i];
        world->vecChikens[i].setPosition({values[i] / 1e5f, -values[(i + 1) % values.size()] / 1e5f});
    }
    auto again = resumed(saved(*world));
    REQUIRE(again->vecChikens.size() == values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        INFO("value " << values[i]);
        REQUIRE(std::bit_cast<std::uint32_t>(again->vecChikens[i].age) == std::bit_cast<std::uint32_t>(values[i]));
        REQUIRE(std::bit_cast<std::uint64_t>(again->vecChikens[i].getPosition())
                == std::bit_cast<std::uint64_t>(world->vecChikens[i].getPosition()));
    }
}

TEST_CASE("a damaged save is refused or read exactly, never half-read", "[world][save]")
{
    auto world = busyFarm();
    world->vecChikens.resize(3);
    world->eggsOnFloor.resize(std::min<std::size_t>(world->eggsOnFloor.size(), 2));
    world->eggsOnTable.resize(std::min<std::size_t>(world->eggsOnTable.size(), 2));
    world->pollution.erase(world->pollution.begin() + std::min<std::ptrdiff_t>(std::ssize(world->pollution), 2),
                           world->pollution.end());
    const std::string text = saved(*world);
    const TFarmSave::Snapshot whole = TFarmSave::capture(*world);

    SECTION("cut short at every byte")
    {
        for (std::size_t n = 0; n < text.size(); ++n) {
            std::string problem;
            const auto farm = TFarmSave::fromJson(std::string_view(text).substr(0, n), problem);
            if (farm) {
                // Only the final newline may go.
                INFO("cut at " << n);
                CHECK(n == text.size() - 1);
                CHECK(*farm == whole);
            } else {
                CHECK(!problem.empty());
            }
        }
    }

    SECTION("random bytes changed")
    {
        std::mt19937 rng(3);
        int refused = 0;
        for (int round = 0; round < 3000; ++round) {
            std::string bad = text;
            const int flips = 1 + static_cast<int>(rng() % 3);
            for (int k = 0; k < flips; ++k)
                bad[rng() % bad.size()] = static_cast<char>(rng() % 256);
            std::string problem;
            const auto farm = TFarmSave::fromJson(bad, problem);
            if (!farm) {
                ++refused;
                CHECK(!problem.empty());
                continue;
            }
            // Accepted: then it is a farm in range, and it plays.
            auto into = freshWorld();
            TFarmSave::apply(*farm, *into);
            for (int i = 0; i < 5; ++i)
                into->update(0.1f);
            CHECK(TFarmSave::fromJson(saved(*into), problem));
        }
        CHECK(refused > 1000);
    }
}

TEST_CASE("every field of a save is checked", "[world][save]")
{
    auto world = busyFarm();
    world->vecChikens.resize(2);
    world->eggsOnFloor.resize(1);
    world->eggsOnTable.resize(1);
    world->pollution.erase(world->pollution.begin() + 1, world->pollution.end());
    const json good = json::parse(saved(*world));
    const json leaves = good.flatten();
    REQUIRE(leaves.size() > 100);

    SECTION("a missing field, a wrong type or a value no game makes is refused, naming the field")
    {
        const json wrong[] = {nullptr, "text", json::array(), json::object(), 1e30, -1e30, 1e15, -1e15, 0.5};
        for (const auto& [pointer, value] : leaves.items()) {
            if (pointer == "/game")
                continue; // free text
            json missing = good.flatten();
            missing.erase(pointer);
            const std::string gone = refusal(missing.unflatten().dump());
            INFO(pointer);
            CHECK(!gone.empty());
            for (const json& bad : wrong) {
                if (bad == 0.5 && (leaves[pointer].is_number_float() || leaves[pointer].is_boolean()))
                    continue; // a fraction is fine where fractions belong
                json edited = good;
                edited[json::json_pointer(pointer)] = bad;
                INFO("set to " << bad.dump());
                CHECK(!refusal(edited.dump()).empty());
            }
        }
    }

    SECTION("no count goes below zero")
    {
        for (const char* pointer :
             {"/purse/earned", "/purse/eggsCollected", "/chickensToSpawn", "/packages/0", "/packages/1", "/inventory/0",
              "/inventory/5", "/specialists/psychologist", "/specialists/vet", "/cleanCount", "/window/order/3",
              "/chickens/0/age", "/chickens/1/satiety", "/feeders/2/blinkTime", "/clock/playTime", "/clock/dayTime"}) {
            json edited = good;
            edited[json::json_pointer(pointer)] = -1;
            INFO(pointer);
            CHECK(!refusal(edited.dump()).empty());
        }
    }

    SECTION("the problem names the field")
    {
        json edited = good;
        edited["chickens"][1]["satiety"] = 1.5;
        CHECK(refusal(edited.dump()) == "chickens[1].satiety: 1.5 is outside 0 to 1");
        edited = good;
        edited["inventory"][2] = -3;
        CHECK(refusal(edited.dump()) == "inventory[2]: -3 is outside 0 to 1e+09");
        edited = good;
        edited["chickens"][0]["position"] = {5e9, 10.0};
        CHECK(refusal(edited.dump()).starts_with("chickens[0].position[0]: 5000000000.0 is outside"));
        edited = good;
        edited["chickens"][0].erase("timers");
        CHECK(refusal(edited.dump()) == "chickens[0].timers: is missing");
    }

    SECTION("a timer far past its period is refused (it would count for ages)")
    {
        json edited = good;
        edited["chickens"][0]["timers"]["frame"] = 1e20;
        CHECK(!refusal(edited.dump()).empty());
        edited["chickens"][0]["timers"]["frame"] = 0.05;
        CHECK(refusal(edited.dump()).empty());
    }

    SECTION("ten million chickens, or lists too long for a farm, stop the reading early")
    {
        json edited = good;
        edited["chickensToSpawn"] = 2000000000;
        CHECK(!refusal(edited.dump()).empty());
        std::string many = R"({"format":1,"chickens":[)";
        for (std::size_t i = 0; i <= TFarmSave::maxChickens; ++i)
            many += i ? ",{}" : "{}";
        many += "]}";
        CHECK(refusal(many) == "chickens: more than 20000 entries");
        std::string deep(100000, '[');
        CHECK(refusal(deep) == "the file nests deeper than a farm does");
        CHECK(refusal(R"({"junk":[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17]})") == "junk: more than 16 entries");
    }

    SECTION("a newer format is refused, not guessed")
    {
        json edited = good;
        edited["format"] = TFarmSave::formatVersion + 1;
        std::string problem;
        bool newer = false;
        CHECK(!TFarmSave::fromJson(edited.dump(), problem, &newer));
        CHECK(newer);
        CHECK(problem.find("newer version") != std::string::npos);
        edited["format"] = 0;
        CHECK(!TFarmSave::fromJson(edited.dump(), problem, &newer));
        CHECK(!newer);
    }

    SECTION("the problem is named as what it is")
    {
        const std::string text = good.dump();
        const std::size_t coinsAt = text.find("\"coins\":");
        REQUIRE(coinsAt != std::string::npos);
        const std::size_t cleanAt = text.find("\"cleanCount\":") + 13;
        const std::size_t cleanEnd = text.find_first_of(",}", cleanAt);
        const auto cleanCount = [&](const std::string& value) {
            return text.substr(0, cleanAt) + value + text.substr(cleanEnd);
        };
        std::string utf16 = "\xff\xfe";
        for (char c : std::string("{\"format\":1}"))
            utf16 += std::string{c, '\0'};
        const struct {
            std::string text, problem;
        } rows[] = {
            {text.substr(0, coinsAt) + "\"coins\":4242," + text.substr(coinsAt),
             "the key \"coins\" stands twice in one object"},
            {cleanCount("1e+30"), "cleanCount: 1e+30 is outside 0 to 100"},
            {cleanCount("0.0"), "cleanCount: is 0.0, written with a point or an exponent: a count is written as digits "
                                "alone"},
            {cleanCount("-0.0"), "cleanCount: is -0.0, written with a point or an exponent: a count is written as "
                                 "digits alone"},
            {cleanCount("3e1"), "cleanCount: is 30.0, written with a point or an exponent: a count is written as "
                                "digits alone"},
            {utf16, "the file is UTF-16 text; a save is UTF-8"},
            {"\xfe\xff" + utf16.substr(2), "the file is UTF-16 text; a save is UTF-8"},
            {text.substr(0, 10) + std::string(1, '\0') + text.substr(10),
             "the file holds NUL bytes; a save is UTF-8 text"},
        };
        for (const auto& row : rows) {
            INFO(row.problem);
            CHECK(refusal(row.text) == row.problem);
        }
        CHECK(refusal(cleanCount("7")).empty());
    }

    SECTION("not JSON at all")
    {
        CHECK(refusal("") == "the file is empty");
        CHECK(refusal("NaN").starts_with("parse error"));
        CHECK(refusal("[1,2]") == "the file holds [1,2], not a farm");
        json edited = good;
        std::string text = edited.dump();
        text.replace(text.find("\"age\":") + 6, 1, "1e999");
        CHECK(!refusal(text).empty());
    }
}

TEST_CASE("a farm at every limit plays on and can still be saved", "[world][save][limits]")
{
    testsupport::freshGame();
    std::srand(7);
    auto world = freshWorld();
    // Ten more chicks than the farm holds: they wait their turn.
    chickensToSpawn = static_cast<int>(TFarmSave::maxChickens) + 10;
    world->update(0.1f);
    CHECK(world->vecChikens.size() == TFarmSave::maxChickens);
    CHECK(chickensToSpawn == 10);
    world->eggsOnFloor.assign(TFarmSave::maxEggs, world->eggTemplate);
    world->eggsOnTable.assign(TFarmSave::maxEggs, world->eggTemplate);
    world->pollution.assign(TFarmSave::maxDirt, sf::Sprite(TTextureStore::instance().getTexture(image::pen1)));
    world->storyClock.elapsed = 1000.f; // long past the clean start: dirt keeps coming
    for (int i = 0; i < 12; ++i) {
        for (std::size_t k = 0; k < 50; ++k)
            world->vecChikens[k].eggReady = true; // hens about to lay
        world->update(1.f);
    }
    // An egg clicked on a full floor stays there: the table is full too.
    const sf::Vector2f egg = world->eggsOnFloor.front().getPosition();
    world->onMousePressed(0, egg.x, egg.y);
    world->onMouseReleased(0, egg.x, egg.y);

    CHECK(world->vecChikens.size() == TFarmSave::maxChickens);
    CHECK(chickensToSpawn == 10);
    CHECK(world->eggsOnFloor.size() == TFarmSave::maxEggs);
    CHECK(world->eggsOnTable.size() == TFarmSave::maxEggs);
    CHECK(world->pollution.size() == TFarmSave::maxDirt);
    const std::string text = saved(*world);
    CHECK(text.size() <= TFarmSave::maxFileBytes);
    CHECK(refusal(text).empty());

    auto again = resumed(text);
    CHECK(again->vecChikens.size() == TFarmSave::maxChickens);
    CHECK(again->eggsOnFloor.size() == TFarmSave::maxEggs);
    CHECK(again->pollution.size() == TFarmSave::maxDirt);
    CHECK(chickensToSpawn == 10);
    // Room made (a hen sent away), one waiting chick hatches.
    again->vecChikens.pop_back();
    again->update(0.1f);
    CHECK(again->vecChikens.size() == TFarmSave::maxChickens);
    CHECK(chickensToSpawn == 9);
}
