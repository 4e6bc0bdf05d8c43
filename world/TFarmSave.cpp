#include "world/TFarmSave.hpp"

#include "core/Globals.hpp"
#include "core/ImageTable.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/EgglineObjects.hpp"
#include "world/TFarmRecords.hpp"
#include "world/TSaveText.hpp"
#include "world/TWorld.hpp"

using Chicken = TFarmSave::Chicken;
using Egg = TFarmSave::Egg;
using nlohmann::json;

namespace {

// Copied between a live chicken and its record, both ways.
template <class From, class To>
void chickenValues(From& c, To& s, auto copy)
{
    copy(c.satiety, s.satiety);
    copy(c.hydration, s.hydration);
    copy(c.eggUrge, s.eggUrge);
    copy(c.age, s.age);
    copy(c.speed, s.speed);
    copy(c.walkFrame, s.walkFrame);
    copy(c.eatFrame, s.eatFrame);
    copy(c.poseFrame, s.poseFrame);
    copy(c.facing, s.facing);
    copy(c.velocity, s.velocity);
    copy(c.target, s.target);
    copy(c.waitTimer.elapsed, s.waitElapsed);
    copy(c.layTimer.elapsed, s.layElapsed);
    copy(c.layTimer.period, s.layPeriod);
    copy(c.frameTimer.elapsed, s.frameElapsed);
    copy(c.danceTimer.elapsed, s.danceElapsed);
    copy(c.state, s.state);
    copy(c.nextState, s.nextState);
    copy(c.animation, s.animation);
    copy(c.stage, s.stage);
    copy(c.eggReady, s.eggReady);
}

// --- Between the world and the snapshot --------------------------------------

int sheetOf(const TChiken2& hen)
{
    for (int id : TFarmRecords::chickenSheets)
        if (&store().getTexture(id) == &hen.getTexture())
            return id;
    return TFarmRecords::chickenSheets[0];
}

Chicken captureChicken(const TChiken2& c, const TWorld& world)
{
    Chicken s;
    s.sheet = sheetOf(c);
    s.frame = c.getTextureRect();
    s.position = c.getPosition();
    s.origin = c.getOrigin();
    s.scale = c.getScale();
    chickenValues(c, s, [](const auto& from, auto& to) { to = from; });
    for (int k = 0; k < 4; ++k)
        if (c.feeder == &world.feeders[k])
            s.feeder = k;
    return s;
}

void restoreChicken(TChiken2& c, const Chicken& s, TWorld& world)
{
    c.setTexture(store().getTexture(s.sheet), false);
    c.setTextureRect(s.frame);
    c.setPosition(s.position);
    c.setOrigin(s.origin);
    c.setScale(s.scale);
    chickenValues(c, s, [](auto& to, const auto& from) { to = from; });
    c.feeder = s.feeder < 0 ? nullptr : &world.feeders[s.feeder];
}

std::vector<Egg> captureEggs(const std::vector<TEgg2>& eggs)
{
    std::vector<Egg> out;
    out.reserve(eggs.size());
    for (const TEgg2& e : eggs)
        out.push_back({e.getPosition(), e.getRotation().asRadians(), e.defective});
    return out;
}

void restoreEggs(std::vector<TEgg2>& eggs, const std::vector<Egg>& saved, const TEgg2& model)
{
    eggs.clear();
    eggs.reserve(saved.size());
    for (const Egg& s : saved) {
        TEgg2& e = eggs.emplace_back(model);
        e.setPosition(s.position);
        e.setRotation(sf::radians(s.radians));
        e.defective = s.defective;
    }
}

} // namespace

TFarmSave::Snapshot TFarmSave::capture(TWorld& world)
{
    Snapshot s;
    s.coins = coins;
    s.coinsEarned = coinsEarned;
    s.eggsCollected = eggsCollected;
    s.chickensToSpawn = chickensToSpawn;
    s.packC0 = packC0Count;
    s.packC1 = packC1Count;
    s.psychologists = psychologistCount;
    s.vets = vetCount;
    for (std::size_t k = 0; k < 6; ++k)
        s.inventory[k] = inventorySlots[k].count;
    s.questComplete = questComplete;
    s.message3 = showMessage3;
    s.message4 = showMessage4;
    s.messagesDone = messagesDone;
    s.dayTime = world.dayTime;
    s.playTime = world.storyClock.elapsed;
    s.dirtTimer = world.pollutionTimer.elapsed;
    s.messageTimer = world.messageTimer.elapsed;
    s.storyHeld = world.storyHeld;
    s.cleanCount = world.cleanCount;
    s.mode = world.mode;
    s.shopPage = shop->page;
    for (std::size_t k = 0; k < 6; ++k)
        s.order[k] = quantities[k];
    s.scanner = store().getSprite(image::sortingMachine2).getPosition();
    s.scanningUp = sortMachine->scanningUp;
    // A card in hand is back in its place.
    const TActor* cards[3] = {&world.kurortCard, &world.psychologistCard, &world.vetCard};
    const int tools[3] = {TWorld::ToolKurort, TWorld::ToolPsychologist, TWorld::ToolVet};
    const float homes[3] = {TWorld::kurortHomeX, TWorld::psychologistHomeX, TWorld::vetHomeX};
    for (std::size_t k = 0; k < 3; ++k)
        s.cards[k] = world.activeTool == tools[k] ? sf::Vector2f{homes[k], TWorld::cardHomeY} : cards[k]->getPosition();
    for (std::size_t k = 0; k < 4; ++k) {
        const TFeeding& f = world.feeders[k];
        s.feeders[k] = {f.food, f.blinkTime, f.blinkAlpha, &f.getTexture() == &store().getTexture(image::emptyFeeding)};
    }
    for (std::size_t k = 0; k < 3; ++k)
        s.bowlNeedles[k] = world.drinkingBowls[k].arrow.getRotation().asRadians();
    s.chickenTemplate = captureChicken(world.chickenTemplate, world);
    s.chickens.reserve(world.vecChikens.size());
    for (const TChiken2& c : world.vecChikens)
        s.chickens.push_back(captureChicken(c, world));
    s.eggsOnFloor = captureEggs(world.eggsOnFloor);
    s.eggsOnTable = captureEggs(world.eggsOnTable);
    // A table egg in hand is let go: on the table it stays, else it is back where it was picked up.
    if (dragKind == TWorld::DragEgg && world.draggedEgg < s.eggsOnTable.size())
        s.eggsOnTable[world.draggedEgg].position = world.tableEggRestingPlace(world.eggsOnTable[world.draggedEgg]);
    s.dirt.reserve(world.pollution.size());
    for (const sf::Sprite& spot : world.pollution) {
        int id = image::pen1;
        for (int k = image::pen1; k <= image::pollution2; ++k)
            if (&store().getTexture(k) == &spot.getTexture())
                id = k;
        s.dirt.push_back({id, spot.getPosition()});
    }
    return s;
}

std::string TFarmSave::toJson(const Snapshot& s)
{
    nlohmann::ordered_json tree;
    TFarmRecords::farm().write(s, tree);
    return TSaveText::write(tree);
}

std::optional<TFarmSave::Snapshot> TFarmSave::fromJson(std::string_view text, std::string& problem, bool* newerFormat)
{
    if (newerFormat)
        *newerFormat = false;
    if (text.size() > maxFileBytes) {
        problem = "the file is larger than " + std::to_string(maxFileBytes >> 20) + " MB";
        return std::nullopt;
    }
    // Text a save is never made of, named as what it is rather than as the
    // parser's first stumble.
    if (text.empty()) {
        problem = "the file is empty";
        return std::nullopt;
    }
    if (text.starts_with("\xff\xfe") || text.starts_with("\xfe\xff")) {
        problem = "the file is UTF-16 text; a save is UTF-8";
        return std::nullopt;
    }
    if (text.find('\0') != std::string_view::npos) {
        problem = "the file holds NUL bytes; a save is UTF-8 text";
        return std::nullopt;
    }
    try {
        const json j = TSaveText::read(
            text, {{"chickens", maxChickens}, {"eggsOnFloor", maxEggs}, {"eggsOnTable", maxEggs}, {"dirt", maxDirt}});
        if (!j.is_object())
            TSaveCheck::refuse("", "the file holds " + TSaveCheck::shown(j) + ", not a farm");
        Snapshot s;
        save::Reading reading;
        TFarmRecords::farm().read(s, j, "", reading);
        return s;
    } catch (const TSaveCheck::Refusal& r) {
        problem = r.what();
        if (newerFormat)
            *newerFormat = r.newerFormat;
    } catch (const json::exception& e) {
        // "[json.exception.parse_error.101] parse error at ..." without the tag.
        std::string what = e.what();
        const std::size_t tagEnd = what.find("] ");
        problem = tagEnd == std::string::npos ? what : what.substr(tagEnd + 2);
    }
    return std::nullopt;
}

void TFarmSave::apply(const Snapshot& s, TWorld& world)
{
    coins = s.coins;
    coinsEarned = s.coinsEarned;
    eggsCollected = s.eggsCollected;
    chickensToSpawn = s.chickensToSpawn;
    packC0Count = s.packC0;
    packC1Count = s.packC1;
    psychologistCount = s.psychologists;
    vetCount = s.vets;
    for (std::size_t k = 0; k < 6; ++k)
        inventorySlots[k].count = s.inventory[k];
    refreshInventoryTexts();
    questComplete = s.questComplete;
    showMessage3 = s.message3;
    showMessage4 = s.message4;
    messagesDone = s.messagesDone;
    world.dayTime = s.dayTime;
    world.storyClock.elapsed = s.playTime;
    world.pollutionTimer.elapsed = s.dirtTimer;
    world.messageTimer.elapsed = s.messageTimer;
    world.storyHeld = s.storyHeld;
    world.cleanCount = s.cleanCount;

    // The open window as it was; the order is put back after the page, which
    // empties it. Nothing is in hand.
    world.mode = s.mode;
    shop->setPage(s.shopPage);
    orderTotal = 0;
    for (std::size_t k = 0; k < 6; ++k) {
        quantities[k] = s.order[k];
        orderTotal += prices[k] * s.order[k];
    }
    shop->refreshLabels();
    world.refreshToolbarIcons();
    store().getSprite(image::sortingMachine2).setPosition(s.scanner);
    sortMachine->scanningUp = s.scanningUp;
    world.activeTool = TWorld::ToolNone;
    world.kurortCard.setPosition(s.cards[0]);
    world.psychologistCard.setPosition(s.cards[1]);
    world.vetCard.setPosition(s.cards[2]);
    dragKind = TWorld::DragNone;
    world.draggedChicken = TWorld::none;
    world.draggedEgg = TWorld::none;
    world.bubbles.clear();

    for (std::size_t k = 0; k < 4; ++k) {
        TFeeding& f = world.feeders[k];
        f.food = s.feeders[k].food;
        f.blinkTime = s.feeders[k].blinkTime;
        f.blinkAlpha = s.feeders[k].blinkAlpha;
        f.setTextureById(s.feeders[k].emptyPicture ? image::emptyFeeding : image::feeding, false);
    }
    for (std::size_t k = 0; k < 3; ++k)
        world.drinkingBowls[k].arrow.setRotation(sf::radians(s.bowlNeedles[k]));

    restoreChicken(world.chickenTemplate, s.chickenTemplate, world);
    world.vecChikens.clear();
    world.vecChikens.reserve(s.chickens.size());
    for (const Chicken& c : s.chickens)
        restoreChicken(world.vecChikens.emplace_back(world.chickenTemplate), c, world);
    restoreEggs(world.eggsOnFloor, s.eggsOnFloor, world.eggTemplate);
    restoreEggs(world.eggsOnTable, s.eggsOnTable, world.eggTemplate);
    world.pollution.clear();
    world.pollution.reserve(s.dirt.size());
    for (const Dirt& d : s.dirt)
        world.pollution.emplace_back(store().getTexture(d.texture)).setPosition(d.position);
}
