// The monkey player: random presses, moves and releases of all five buttons,
// aimed mostly where things happen, mixed with world steps of 0 to 0.5 s and
// a drawn frame now and then. A referee keeps its own books of every coin and
// every egg from what it sees around each event, and after every event and
// every step checks that the game agrees with them.
//
// Environment (to play longer or replay a failure):
//   HENHOUSE_MONKEY_SEED=N    play only seed N
//   HENHOUSE_MONKEY_SEEDS=K   play seeds 1..K
//   HENHOUSE_MONKEY_HOURS=H   game hours per seed (fractions allowed)
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/EgglineObjects.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TFarmSave.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int defaultSeeds = 3;
#else
constexpr int defaultSeeds = 6;
#endif
constexpr double defaultHours = 1.0;

// What the shop asks per unit, page by page; items without a product are free
// and never delivered.
constexpr long catalogue[3][6] = {{10, 50, 100, 15, 0, 0}, {25, 40, 0, 0, 0, 0}, {8, 10, 0, 0, 0, 0}};

bool strictlyInside(sf::Vector2f p, float left, float top, float width, float height)
{
    return left < p.x && p.x < left + width && top < p.y && p.y < top + height;
}
bool inPackageC0(sf::Vector2f p) { return strictlyInside(p, 583.f, 615.f, 110.f, 75.f); }
bool inPackageC1(sf::Vector2f p) { return strictlyInside(p, 583.f, 750.f, 110.f, 75.f); }
bool inBuyArea(sf::Vector2f p) { return strictlyInside(p, 750.f, 787.f, 415.f, 93.f); }

bool finite(float v) { return std::isfinite(v); }
bool finite(sf::Vector2f v) { return std::isfinite(v.x) && std::isfinite(v.y); }

template <class T>
bool anyContains(std::vector<T>& items, float x, float y, std::size_t* first = nullptr)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].contains(x, y)) {
            if (first)
                *first = i;
            return true;
        }
    return false;
}

// Collects the complaints of one check.
class Complaints {
public:
    template <class A, class B>
    void same(const char* what, const A& actual, const B& expected)
    {
        if (actual == expected)
            return;
        std::ostringstream s;
        s << what << " is " << actual << ", expected " << expected << "; ";
        text += s.str();
    }
    void require(bool ok, const std::string& what)
    {
        if (!ok)
            text += what + "; ";
    }
    std::string text;
};

// The referee: its own books of coins, packages and eggs, kept from what it
// observes around each event, never from the game's arithmetic.
class Referee {
public:
    explicit Referee(TWorld& world)
        : w(world)
    {
    }

    std::string move(float x, float y)
    {
        Complaints c;
        const sf::Vector2f delta = sf::Vector2f{x, y} - mousePos;
        const int kind = dragKind;
        sf::Vector2f draggedBefore;
        bool tracked = false;
        if (kind == TWorld::DragChicken && w.draggedChicken < w.vecChikens.size()) {
            draggedBefore = w.vecChikens[w.draggedChicken].getPosition();
            tracked = true;
        } else if (kind == TWorld::DragEgg && w.draggedEgg < w.eggsOnTable.size()) {
            draggedBefore = w.eggsOnTable[w.draggedEgg].getPosition();
            tracked = true;
        }
        const Goods goodsBefore = goods();

        w.onMouseMoved(x, y);
        mousePos = {x, y}; // as the main loop does, after the handler

        if (tracked) {
            const sf::Vector2f now = kind == TWorld::DragChicken ? w.vecChikens[w.draggedChicken].getPosition()
                                                                 : w.eggsOnTable[w.draggedEgg].getPosition();
            c.require(now == draggedBefore + delta, "the dragged thing did not follow the pointer");
        }
        c.require(goods() == goodsBefore, "a move changed the stock");
        return c.text + invariants();
    }

    std::string press(int button)
    {
        Complaints c;
        const float x = mousePos.x, y = mousePos.y;
        std::size_t chickenHit = 0, tableHit = 0;
        // Only what is seen is reached: the table eggs on the open sorting
        // window, the birds and floor eggs where nothing covers the field.
        const TWorld::Cover cover = w.coverAt(x, y);
        const bool sorting = w.mode == TWorld::ModeSorting || w.mode == TWorld::ModeSortingRunning;
        const bool onTableEgg = sorting && cover != TWorld::Cover::Story && anyContains(w.eggsOnTable, x, y, &tableHit);
        const bool onField = cover == TWorld::Cover::Field && !onTableEgg;
        const bool onChicken = onField && anyContains(w.vecChikens, x, y, &chickenHit);
        const bool onFloorEgg = onField && anyContains(w.eggsOnFloor, x, y);
        const bool left = button == 0;
        const bool collects = left && !onChicken && !onTableEgg && onFloorEgg;
        const bool reachesShop = left && !onChicken && !onTableEgg && !onFloorEgg && w.mode == TWorld::ModeShop
                                 && cover == TWorld::Cover::Window;

        // The order as it stands; a press on the buy area pays for it if the
        // balance covers it.
        const int page = shop->page;
        int q[6];
        long cost = 0;
        for (int i = 0; i < 6; ++i) {
            q[i] = quantities[i];
            cost += catalogue[page][i] * q[i];
        }
        const bool buys = reachesShop && inBuyArea({x, y}) && cost <= expectedCoins;

        const std::size_t floorBefore = w.eggsOnFloor.size(), tableBefore = w.eggsOnTable.size();
        const int kindBefore = dragKind;
        const std::size_t draggedChickenBefore = w.draggedChicken, draggedEggBefore = w.draggedEgg;
        Goods expected = goods();

        w.onMousePressed(button, x, y);

        if (buys) {
            expectedCoins -= cost;
            spent += cost;
            purchases += cost > 0;
            if (page == 0)
                for (int k = 0; k < 4; ++k)
                    expected.slots[k] += q[k];
            else if (page == 1)
                expected.toSpawn += 3 * q[0] + 5 * q[1];
            else {
                expected.psychologist += q[0];
                expected.vet += q[1];
            }
        }
        c.require(goods() == expected,
                  buys ? "the purchase did not deliver what was paid for" : "the stock changed without a purchase");

        if (collects) {
            ++collected;
            c.same("floor eggs after a collection", w.eggsOnFloor.size(), floorBefore - 1);
            c.same("table eggs after a collection", w.eggsOnTable.size(), tableBefore + 1);
        } else {
            c.same("floor eggs after a press", w.eggsOnFloor.size(), floorBefore);
            c.same("table eggs after a press", w.eggsOnTable.size(), tableBefore);
        }

        if (left && onTableEgg) {
            c.same("dragKind after a press on a table egg", dragKind, TWorld::DragEgg);
            c.same("dragged egg", w.draggedEgg, tableHit);
        } else if (left && onChicken) {
            c.same("dragKind after a press on a chicken", dragKind, TWorld::DragChicken);
            c.same("dragged chicken", w.draggedChicken, chickenHit);
        } else {
            c.same("dragKind after a press on nothing to drag", dragKind, kindBefore);
            c.same("dragged chicken after a press on nothing to drag", w.draggedChicken, draggedChickenBefore);
            c.same("dragged egg after a press on nothing to drag", w.draggedEgg, draggedEggBefore);
        }
        return c.text + invariants();
    }

    std::string release(int button)
    {
        Complaints c;
        const float x = mousePos.x, y = mousePos.y;
        const bool left = button == 0;
        const std::size_t tableBefore = w.eggsOnTable.size();
        const int toolBefore = w.activeTool;
        const int kindBefore = dragKind;
        Goods expected = goods();
        float feederFood[4];
        for (int f = 0; f < 4; ++f)
            feederFood[f] = w.feeders[f].food;

        bool packs = false;
        if (left && dragKind == TWorld::DragEgg && w.draggedEgg < w.eggsOnTable.size()) {
            const TEgg2& egg = w.eggsOnTable[w.draggedEgg];
            const sf::Vector2f p = egg.getPosition();
            int* package = inPackageC0(p) ? &c0 : inPackageC1(p) ? &c1 : nullptr;
            if (package) {
                packs = true;
                ++packed;
                if (++*package == 6) {
                    *package = 0;
                    const long pay = package == &c0 ? 36 : 30;
                    expectedCoins += pay;
                    expectedEarned += pay;
                    paidOut += pay;
                }
                if (egg.defective) {
                    expectedCoins -= 10;
                    penalties += 10;
                }
            }
        }

        int feederServed = -1;
        float amount = 0.f;
        if (left) {
            switch (toolBefore) {
            case 1:
                if (w.feeders[0].contains(x, y)) {
                    feederServed = 0;
                    amount = 10.f;
                    expected.slots[0] -= 1;
                }
                break;
            case 2:
            case 3:
                for (int f = 1; f <= 3 && feederServed < 0; ++f)
                    if (w.feeders[f].contains(x, y)) {
                        feederServed = f;
                        amount = toolBefore == 2 ? 30.f : 60.f;
                        expected.slots[toolBefore - 1] -= 1;
                    }
                break;
            case TWorld::ToolKurort:
                // Only old birds go; each pays its fee.
                for (const TChiken2& chicken : w.vecChikens)
                    if (chicken.stage == TChiken2::Old) {
                        expectedCoins += 10;
                        expectedEarned += 10;
                        fees += 10;
                    }
                break;
            case TWorld::ToolPsychologist: expected.psychologist -= 1; break;
            case TWorld::ToolVet: expected.vet -= 1; break;
            default: break;
            }
        }

        w.onMouseReleased(button, x, y);

        c.same("table eggs after a release", w.eggsOnTable.size(), packs ? tableBefore - 1 : tableBefore);
        c.require(goods() == expected, "the stock after a release is not what the carried tool used");
        for (int f = 0; f < 4; ++f)
            c.require(w.feeders[f].food == (f == feederServed ? feederFood[f] + amount : feederFood[f]),
                      "feeder " + std::to_string(f) + " got food it was not given");
        if (left) {
            c.same("dragKind after a left release", dragKind, TWorld::DragNone);
            c.same("activeTool after a left release", w.activeTool, TWorld::ToolNone);
        } else {
            c.same("dragKind after another button's release", dragKind, kindBefore);
            c.same("activeTool after another button's release", w.activeTool, toolBefore);
        }
        return c.text + invariants();
    }

    std::string update(float dt)
    {
        Complaints c;
        const std::size_t floorBefore = w.eggsOnFloor.size(), tableBefore = w.eggsOnTable.size();
        const std::size_t flockBefore = w.vecChikens.size();
        const int toSpawn = chickensToSpawn;
        Goods expected = goods();
        expected.toSpawn = 0;

        w.update(dt);

        c.same("flock after a step", w.vecChikens.size(), flockBefore + static_cast<std::size_t>(std::max(toSpawn, 0)));
        c.require(goods() == expected, "a step changed the stock");
        c.same("table eggs after a step", w.eggsOnTable.size(), tableBefore);
        if (w.eggsOnFloor.size() < floorBefore)
            c.require(false, "floor eggs vanished during a step");
        else if (w.eggsOnFloor.size() - floorBefore > w.vecChikens.size())
            c.require(false, "more eggs laid in one step than there are chickens");
        else
            laid += static_cast<long>(w.eggsOnFloor.size() - floorBefore);
        return c.text + invariants();
    }

    // What must hold after anything at all.
    std::string invariants() const
    {
        Complaints c;
        c.same("coins", coins, expectedCoins);
        c.same("coinsEarned", coinsEarned, expectedEarned);
        c.same("packC0Count", packC0Count, c0);
        c.same("packC1Count", packC1Count, c1);
        c.require(0 <= packC0Count && packC0Count <= 5 && 0 <= packC1Count && packC1Count <= 5,
                  "a package count is outside 0..5");

        const long onHand = static_cast<long>(w.eggsOnFloor.size() + w.eggsOnTable.size()) + packed;
        c.same("eggs on the floor, on the table and packed", onHand, laid);
        c.same("eggsCollected", eggsCollected, collected);
        c.same("eggs on the table and packed", static_cast<long>(w.eggsOnTable.size()) + packed, collected);

        for (const TSlot& slot : *inventorySlots)
            c.require(slot.count >= 0, "an inventory slot count is below 0");
        c.require(psychologistCount >= 0 && vetCount >= 0, "a visit count is below 0");
        c.require(chickensToSpawn >= 0, "chickensToSpawn is below 0");
        for (int q : quantities)
            c.require(q >= 0, "an order quantity is below 0");
        c.require(orderTotal >= 0, "orderTotal is below 0");
        c.require(w.cleanCount >= 0 && w.cleanCount <= 100, "cleanCount is outside 0..100");

        c.require(w.mode >= TWorld::ModeField && w.mode <= TWorld::ModeShop, "mode has no meaning");
        c.require(dragKind == TWorld::DragNone || dragKind == TWorld::DragChicken || dragKind == TWorld::DragEgg,
                  "dragKind has no meaning");
        const int t = w.activeTool;
        c.require(t == 0 || t == 1 || t == 2 || t == 3 || t == 5 || t == 6 || t == 7, "activeTool has no meaning");
        c.require(shop->page >= 0 && shop->page <= 2, "the shop page has no meaning");
        // Every interface button is normal, hovered, pressed or disabled; the
        // shop's unused items stay disabled, and items 2 and 3 off page 0.
        std::vector<const TButton2*> buttons = {shop->closeButton.get(), shop->buyButton.get(),
                                                sortMachine->closeButton.get(), sortMachine->startButton.get()};
        for (const auto& b : w.toolbarButtons)
            buttons.push_back(b.get());
        for (const auto& b : shop->quantityButtons)
            buttons.push_back(b.get());
        for (const auto& b : shop->pageTabs)
            buttons.push_back(b.get());
        for (const TButton2* b : buttons)
            c.require(b->state >= TButton2::Normal && b->state <= TButton2::Disabled, "a button state has no meaning");
        for (int item = 2; item < 6; ++item) {
            const bool off = item >= 4 || shop->page != 0;
            for (int minus = 0; minus < 2; ++minus)
                if (off)
                    c.require(shop->quantityButtons[item + 6 * minus]->state == TButton2::Disabled,
                              "a quantity button of an item not on sale is not disabled");
        }

        c.require(w.draggedChicken == TWorld::none || w.draggedChicken < w.vecChikens.size(),
                  "the dragged chicken is not in the flock");
        c.require(w.draggedEgg == TWorld::none || w.draggedEgg < w.eggsOnTable.size(),
                  "the dragged egg is not on the table");
        if (dragKind == TWorld::DragChicken)
            c.require(w.draggedChicken != TWorld::none, "a chicken drag without a chicken");
        if (dragKind == TWorld::DragEgg)
            c.require(w.draggedEgg != TWorld::none, "an egg drag without an egg");

        for (const TChiken2& k : w.vecChikens)
            c.require(finite(k.getPosition()) && finite(k.satiety) && finite(k.hydration) && finite(k.eggUrge)
                          && finite(k.age) && finite(k.velocity) && finite(k.target) && finite(k.getScale()),
                      "a chicken has a value that is not a finite number");
        for (const auto* eggs : {&w.eggsOnFloor, &w.eggsOnTable})
            for (const TEgg2& e : *eggs)
                c.require(finite(e.getPosition()), "an egg stands at a position that is not finite");
        for (const TBubble& b : w.bubbles)
            c.require(finite(b.getPosition()) && finite(b.alpha), "a bubble is not finite");
        for (const TFeeding& f : w.feeders)
            c.require(finite(f.food), "a feeder's food is not finite");
        for (const TActor* card : {&w.kurortCard, &w.psychologistCard, &w.vetCard})
            c.require(finite(card->getPosition()), "a card stands at a position that is not finite");
        c.require(finite(w.dayTime) && w.dayTime >= 0.f && w.dayTime < 86400.f, "the day clock is off the day");
        c.require(finite(TTextureStore::instance().getSprite(image::sortingMachine2).getPosition()),
                  "the scanner is not finite");
        return c.text;
    }

    // Tallies for the report.
    long laid = 0, collected = 0, packed = 0;
    long paidOut = 0, fees = 0, spent = 0, penalties = 0, purchases = 0;

private:
    // Everything a purchase delivers and the tools use up.
    struct Goods {
        int slots[6];
        int toSpawn, psychologist, vet;
        bool operator==(const Goods&) const = default;
    };
    Goods goods() const
    {
        Goods g{};
        for (int k = 0; k < 6; ++k)
            g.slots[k] = (*inventorySlots)[static_cast<std::size_t>(k)].count;
        g.toSpawn = chickensToSpawn;
        g.psychologist = psychologistCount;
        g.vet = vetCount;
        return g;
    }

    TWorld& w;
    long expectedCoins = 100;
    long expectedEarned = 0;
    int c0 = 0, c1 = 0;
};

// The monkey: its own generator, so the game's rand() sequence depends only
// on what the monkey does, and a seed replays exactly.
class Monkey {
public:
    Monkey(TWorld& world, unsigned seed)
        : w(world)
        , rng(seed)
    {
    }

    float uniform(float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng); }
    // Mostly the left button.
    int button() { return chance(0.75) ? 0 : 1 + below(4); }
    // 0 to 0.5 s, now and then exactly 0 or exactly 0.5.
    float step()
    {
        const int r = below(20);
        return r == 0 ? 0.f : r == 1 ? 0.5f : uniform(0.f, 0.5f);
    }

    enum Place { Chicken, FloorEgg, TableEgg, Toolbar, WindowButton, ShopArea, Package, Feeder, Card, Slot, Anywhere };

    sf::Vector2f near(sf::Vector2f p, float r) { return p + sf::Vector2f{uniform(-r, r), uniform(-r, r)}; }

    sf::Vector2f aim(Place place)
    {
        switch (place) {
        case Chicken:
            if (!w.vecChikens.empty())
                return near(
                    w.vecChikens[static_cast<std::size_t>(below(static_cast<int>(w.vecChikens.size())))].getPosition(),
                    25.f);
            break;
        case FloorEgg:
            if (!w.eggsOnFloor.empty())
                return near(w.eggsOnFloor[static_cast<std::size_t>(below(static_cast<int>(w.eggsOnFloor.size())))]
                                .getPosition(),
                            10.f);
            break;
        case TableEgg:
            if (!w.eggsOnTable.empty())
                return near(w.eggsOnTable[static_cast<std::size_t>(below(static_cast<int>(w.eggsOnTable.size())))]
                                .getPosition(),
                            10.f);
            break;
        case Toolbar: {
            const float xs[4] = {682.f, 828.f, 974.f, 1120.f};
            return {xs[below(4)] + uniform(-10.f, 125.f), 944.f + uniform(-10.f, 125.f)};
        }
        case WindowButton:
            if (chance(0.5))
                return {1323.f + uniform(-5.f, 70.f), 150.f + uniform(-5.f, 70.f)};
            return {1222.f + uniform(-5.f, 120.f), 725.f + uniform(-5.f, 120.f)};
        case ShopArea: {
            const int r = below(10);
            if (r < 2) // page tabs
                return {uniform(410.f, 500.f), static_cast<float>(342 + 137 * below(3)) + uniform(0.f, 120.f)};
            if (r < 7) { // plus and minus
                const float plusX[3] = {745.f, 985.f, 1225.f}, minusX[3] = {655.f, 895.f, 1135.f};
                const int i = below(3);
                const float x = chance(0.7) ? plusX[i] : minusX[i];
                return {x + uniform(0.f, 40.f), (chance(0.6) ? 445.f : 720.f) + uniform(0.f, 40.f)};
            }
            return {uniform(748.f, 1167.f), uniform(785.f, 882.f)}; // buy
        }
        case Package: {
            const float top = chance(0.5) ? 615.f : 750.f;
            if (chance(0.1)) // right on an edge
                return {chance(0.5) ? 583.f : 693.f, top + uniform(0.f, 75.f)};
            return {uniform(585.f, 691.f), top + uniform(2.f, 73.f)};
        }
        case Feeder: return near(w.feeders[below(4)].getPosition(), 60.f);
        case Card: {
            const float xs[3] = {1420.f, 1570.f, 1720.f};
            return {xs[below(3)] + uniform(-85.f, 85.f), uniform(845.f, 1075.f)};
        }
        case Slot: {
            const sf::Vector2f slots[3] = {{75.f, 939.f}, {145.f, 929.f}, {206.f, 939.f}};
            return slots[below(3)] + sf::Vector2f{uniform(0.f, 60.f), uniform(0.f, 60.f)};
        }
        case Anywhere: break;
        }
        return {uniform(-50.f, 1970.f), uniform(-50.f, 1130.f)};
    }

    Place anyPlace()
    {
        static constexpr Place weighted[] = {Chicken, Chicken, FloorEgg,     FloorEgg, FloorEgg, TableEgg, TableEgg,
                                             Toolbar, Toolbar, WindowButton, ShopArea, ShopArea, ShopArea, Package,
                                             Package, Feeder,  Card,         Slot,     Anywhere, Anywhere};
        return weighted[below(static_cast<int>(std::size(weighted)))];
    }

    TWorld& w;
    std::mt19937 rng;
};

struct Outcome {
    std::string failure; // empty when every check held
    long events = 0, steps = 0, frames = 0;
    double gameSeconds = 0.0;
    long collected = 0, packed = 0, paidOut = 0, fees = 0, spent = 0, penalties = 0;
    long laid = 0, coinsAtEnd = 0, chickens = 0;
    long resumes = 0;
    std::string savedText;                    // the save taken at saveAt
    std::optional<TFarmSave::Snapshot> atEnd; // the whole farm at the end
};

// Saving and resuming during play.
struct Saves {
    double saveAt = -1.0;      // game seconds: save at the first quiet moment after
    bool resumeThere = false;  // and go on in a world resumed from that save
    unsigned reseed = 1;       // srand after that save, so both ways go on alike
    double resumeChance = 0.0; // chance before each gesture to save and resume
};

// Saves the farm and goes on in a new world resumed from the file's text,
// built in the same place (so the referee and the monkey keep their world),
// with the egg line's objects and the shared values made afresh as in a new
// game. The pointer stays where it was. Returns a complaint, or nothing.
std::string saveAndResume(std::unique_ptr<TWorld>& world, std::string& text)
{
    text = TFarmSave::toJson(TFarmSave::capture(*world));
    const sf::Vector2f pointer = mousePos;
    resetGlobalValues();
    resetGameObjects();
    std::destroy_at(world.get());
    std::construct_at(world.get());
    world->placeSharedSprites();
    std::string problem;
    const auto farm = TFarmSave::fromJson(text, problem);
    if (!farm)
        return "the game refused its own save: " + problem;
    TFarmSave::apply(*farm, *world);
    mousePos = pointer;
    if (TFarmSave::toJson(TFarmSave::capture(*world)) != text)
        return "the resumed farm saves differently from the farm it was read from";
    return "";
}

Outcome play(unsigned seed, double hours, sf::RenderTexture& canvas, const Saves& saves = {})
{
    testsupport::freshGame();
    std::srand(seed);
    mousePos = {0.f, 0.f};
    auto world = std::make_unique<TWorld>();
    world->placeSharedSprites();
    // The toggles' and the close image's click regions are where they were
    // last drawn, possibly by an earlier seed: start each seed from the same
    // places, so that one seed alone replays exactly.
    TTextureStore& store = TTextureStore::instance();
    store.getSprite(image::buttonSort).setPosition({682.f, 944.f});
    store.getSprite(image::buttonShop).setPosition({828.f, 944.f});
    store.getSprite(image::buttonClose).setPosition({1323.f, 150.f});
    Referee referee(*world);
    Monkey monkey(*world, seed);
    Outcome out;
    std::deque<std::string> recent; // the last few events, for the failure report

    const auto frame = [&] {
        canvas.clear(sf::Color::Black);
        world->draw(canvas);
        canvas.display();
        ++out.frames;
    };
    const auto judge = [&](const std::string& what, const std::string& problem) {
        recent.push_back(what);
        if (recent.size() > 12)
            recent.pop_front();
        if (problem.empty())
            return true;
        std::ostringstream s;
        s << "seed " << seed << ", event " << out.events << " (" << what << ", game time " << out.gameSeconds
          << " s): " << problem << "\nreplay with HENHOUSE_MONKEY_SEED=" << seed << "; the last events were:";
        for (const std::string& r : recent)
            s << "\n  " << r;
        out.failure = s.str();
        return false;
    };
    const auto describe = [](const char* verb, int button, sf::Vector2f p) {
        std::ostringstream s;
        s << verb;
        if (button >= 0)
            s << " button " << button;
        s << " at (" << p.x << ", " << p.y << ")";
        return s.str();
    };
    const auto move = [&](sf::Vector2f p) {
        ++out.events;
        return judge(describe("move", -1, p), referee.move(p.x, p.y));
    };
    const auto press = [&](int b) {
        ++out.events;
        return judge(describe("press", b, mousePos), referee.press(b));
    };
    const auto release = [&](int b) {
        ++out.events;
        return judge(describe("release", b, mousePos), referee.release(b));
    };
    const auto step = [&](float dt) {
        ++out.events;
        ++out.steps;
        out.gameSeconds += dt;
        if (!judge("step " + std::to_string(dt) + " s", referee.update(dt)))
            return false;
        if (out.steps % 200 == 0)
            frame();
        return true;
    };

    frame(); // the HUD places the click regions of the toggles
    const double limit = hours * 3600.0;
    bool ok = true;
    bool savedOnce = false;
    std::mt19937 resumeDice(seed); // apart from the monkey's, so its play stays the same
    while (ok && out.gameSeconds < limit) {
        const bool quiet = dragKind == TWorld::DragNone && world->activeTool == TWorld::ToolNone;
        if (saves.saveAt >= 0.0 && !savedOnce && out.gameSeconds >= saves.saveAt && quiet) {
            savedOnce = true;
            if (saves.resumeThere)
                ok = judge("save and resume", saveAndResume(world, out.savedText));
            else
                out.savedText = TFarmSave::toJson(TFarmSave::capture(*world));
            std::srand(saves.reseed);
        }
        if (ok && saves.resumeChance > 0.0 && std::bernoulli_distribution(saves.resumeChance)(resumeDice)) {
            ++out.resumes;
            std::string text;
            ok = judge("save and resume", saveAndResume(world, text));
        }
        if (!ok)
            break;
        const int gesture = monkey.below(100);
        using M = Monkey;
        if (gesture < 30) {
            // A click, mostly where something can happen.
            const int b = monkey.button();
            ok = move(monkey.aim(monkey.anyPlace())) && press(b) && release(b);
        } else if (gesture < 55) {
            // A drag: from something worth carrying to somewhere it matters,
            // in a few moves, sometimes with the world going on meanwhile.
            static constexpr M::Place from[] = {M::TableEgg, M::TableEgg, M::TableEgg, M::Chicken, M::Slot, M::Card};
            const M::Place start = from[monkey.below(static_cast<int>(std::size(from)))];
            const M::Place goal = start == M::TableEgg ? (monkey.chance(0.8) ? M::Package : M::Anywhere)
                                  : start == M::Slot   ? M::Feeder
                                                       : monkey.anyPlace();
            const int b = monkey.chance(0.9) ? 0 : monkey.button();
            ok = move(monkey.aim(start)) && press(b);
            const sf::Vector2f grab = mousePos;
            const sf::Vector2f there = monkey.aim(goal);
            // The grabbed thing keeps its offset, so aim its own point at the goal.
            sf::Vector2f offset{0.f, 0.f};
            if (dragKind == TWorld::DragEgg && world->draggedEgg < world->eggsOnTable.size())
                offset = grab - world->eggsOnTable[world->draggedEgg].getPosition();
            const int hops = 1 + monkey.below(3);
            for (int h = 1; ok && h <= hops; ++h) {
                const float f = static_cast<float>(h) / static_cast<float>(hops);
                ok = move(grab + (there + offset - grab) * f);
                if (ok && monkey.chance(0.2))
                    ok = step(monkey.step());
            }
            ok = ok && release(b);
        } else if (gesture < 70) {
            // Raw single events, in any order.
            const int r = monkey.below(3);
            ok = r == 0   ? move(monkey.aim(monkey.anyPlace()))
                 : r == 1 ? press(monkey.button())
                          : release(monkey.button());
        } else {
            // Time passes.
            const int n = 1 + monkey.below(4);
            for (int i = 0; ok && i < n; ++i)
                ok = step(monkey.step());
        }
    }
    if (ok)
        frame();

    std::printf("monkey seed %u: %.0f s of game time, %ld events, %ld steps, %ld frames; %zu chickens;"
                " eggs laid %ld, collected %ld, packed %ld; coins %d: paid out %ld, resort fees %ld, spent %ld"
                " on %ld purchases, penalties %ld\n",
                seed, out.gameSeconds, out.events, out.steps, out.frames, world->vecChikens.size(), referee.laid,
                referee.collected, referee.packed, coins, referee.paidOut, referee.fees, referee.spent,
                referee.purchases, referee.penalties);
    std::fflush(stdout);
    out.collected = referee.collected;
    out.packed = referee.packed;
    out.paidOut = referee.paidOut;
    out.fees = referee.fees;
    out.spent = referee.spent;
    out.penalties = referee.penalties;
    out.laid = referee.laid;
    out.coinsAtEnd = coins;
    out.chickens = static_cast<long>(world->vecChikens.size());
    out.atEnd = TFarmSave::capture(*world);
    return out;
}

} // namespace

TEST_CASE("the monkey player plays an hour per seed and every coin and egg stays accounted for",
          "[reliability][monkey]")
{
    const double hours = testsupport::envDouble("HENHOUSE_MONKEY_HOURS", defaultHours);
    std::vector<unsigned> seeds;
    if (const unsigned only = testsupport::envUnsigned("HENHOUSE_MONKEY_SEED", 0); only != 0)
        seeds.push_back(only);
    else
        for (unsigned s = 1; s <= testsupport::envUnsigned("HENHOUSE_MONKEY_SEEDS", defaultSeeds); ++s)
            seeds.push_back(s);

    Outcome all;
    const auto started = std::chrono::steady_clock::now();
    for (unsigned seed : seeds) {
        const Outcome out = play(seed, hours, testsupport::screenCanvas());
        if (!out.failure.empty())
            FAIL(out.failure);
        CHECK(out.gameSeconds >= hours * 3600.0);
        all.collected += out.collected;
        all.packed += out.packed;
        all.paidOut += out.paidOut;
        all.fees += out.fees;
        all.spent += out.spent;
        all.penalties += out.penalties;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("monkey: %zu seeds of %.2f game hours in %.1f s\n", seeds.size(), hours, wall);

    // The monkey must reach every way coins move, or the books above prove little.
    if (hours >= 1.0 && seeds.size() >= 2) {
        CHECK(all.collected > 0);
        CHECK(all.packed > 0);
        CHECK(all.paidOut > 0);
        CHECK(all.fees > 0);
        CHECK(all.spent > 0);
        CHECK(all.penalties > 0);
    }
}

TEST_CASE("a seed replays the same game event for event", "[reliability][monkey]")
{
    const Outcome first = play(5, 0.05, testsupport::screenCanvas());
    const Outcome again = play(5, 0.05, testsupport::screenCanvas());
    REQUIRE(first.failure == "");
    CHECK(again.events == first.events);
    CHECK(again.gameSeconds == first.gameSeconds);
    CHECK(again.laid == first.laid);
    CHECK(again.packed == first.packed);
    CHECK(again.coinsAtEnd == first.coinsAtEnd);
    CHECK(again.chickens == first.chickens);
}

TEST_CASE("a farm resumed from its save plays on exactly like the farm that was saved", "[reliability][monkey][save]")
{
    // Four minutes of play, a save, then a minute more: once in the world
    // that was saved, once in a new world resumed from the file, with the
    // same seed from the save on and the same monkey.
    Saves goOn;
    goOn.saveAt = 240.0;
    goOn.reseed = 4242;
    const double hours = 300.0 / 3600.0;
    const Outcome saved = play(11, hours, testsupport::screenCanvas(), goOn);
    REQUIRE(saved.failure == "");
    Saves resume = goOn;
    resume.resumeThere = true;
    const Outcome resumed = play(11, hours, testsupport::screenCanvas(), resume);
    REQUIRE(resumed.failure == "");

    REQUIRE(!saved.savedText.empty());
    CHECK(resumed.savedText == saved.savedText);
    CHECK(resumed.events == saved.events);
    CHECK(resumed.laid == saved.laid);
    CHECK(resumed.collected == saved.collected);
    CHECK(resumed.packed == saved.packed);
    CHECK(resumed.paidOut == saved.paidOut);
    CHECK(resumed.spent == saved.spent);
    CHECK(resumed.coinsAtEnd == saved.coinsAtEnd);
    REQUIRE(resumed.atEnd);
    REQUIRE(saved.atEnd);
    CHECK(resumed.atEnd->chickens == saved.atEnd->chickens);
    CHECK(*resumed.atEnd == *saved.atEnd);
    CHECK(saved.laid > 0);
}

TEST_CASE("the monkey saves and resumes at random moments and every ledger stays balanced",
          "[reliability][monkey][save]")
{
    const double hours = testsupport::envDouble("HENHOUSE_MONKEY_HOURS", defaultHours) / 4.0;
    long resumes = 0;
    for (unsigned seed : {21u, 22u}) {
        Saves saves;
        saves.resumeChance = 0.003;
        const Outcome out = play(seed, hours, testsupport::screenCanvas(), saves);
        if (!out.failure.empty())
            FAIL(out.failure);
        resumes += out.resumes;
    }
    CHECK(resumes >= 10);
}

// The referee itself: it must agree with the game on an honest run and
// complain when something appears or disappears behind its back.
namespace {

struct RefereeFixture {
    RefereeFixture()
    {
        testsupport::freshGame();
        mousePos = {0.f, 0.f};
        world = std::make_unique<TWorld>();
        world->placeSharedSprites();
        world->storyClock.update(20.f); // past the opening story messages
        referee = std::make_unique<Referee>(*world);
    }
    // Six eggs laid far from the nursery, then collected onto the table.
    void layAndCollectSix()
    {
        REQUIRE(referee->update(0.f) == ""); // the first five chicks arrive
        // Three birds lay at each of two steps; the eggs are then put out of
        // the birds' way.
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < 3; ++i)
                world->vecChikens[static_cast<std::size_t>(i)].eggReady = true;
            REQUIRE(referee->update(0.f) == "");
        }
        REQUIRE(world->eggsOnFloor.size() == 6);
        REQUIRE(referee->laid == 6);
        for (int i = 0; i < 6; ++i)
            world->eggsOnFloor[static_cast<std::size_t>(i)].setPosition({1500.f + 60.f * static_cast<float>(i), 250.f});
        for (int i = 0; i < 6; ++i) {
            REQUIRE(referee->move(1500.f + 60.f * static_cast<float>(i), 250.f) == "");
            REQUIRE(referee->press(0) == "");
            REQUIRE(referee->release(0) == "");
        }
        REQUIRE(world->eggsOnTable.size() == 6);
        world->mode = TWorld::ModeSorting; // the table eggs are taken from the open window
    }
    std::unique_ptr<TWorld> world;
    std::unique_ptr<Referee> referee;
};

} // namespace

TEST_CASE("the referee agrees with the game when six eggs fill a package", "[reliability][referee]")
{
    RefereeFixture f;
    f.layAndCollectSix();
    int defective = 0;
    for (int i = 0; i < 6; ++i) {
        TEgg2& egg = f.world->eggsOnTable.front();
        defective += egg.defective;
        const sf::Vector2f p = egg.getPosition();
        REQUIRE(f.referee->move(p.x, p.y) == "");
        REQUIRE(f.referee->press(0) == "");
        REQUIRE(f.referee->move(640.f, 650.f) == "");
        REQUIRE(f.referee->release(0) == "");
    }
    CHECK(f.world->eggsOnTable.empty());
    CHECK(coins == 136 - 10 * defective);
    CHECK(f.referee->paidOut == 36);
    CHECK(f.referee->packed == 6);
}

TEST_CASE("the referee notices coins that come from nowhere", "[reliability][referee]")
{
    RefereeFixture f;
    REQUIRE(f.referee->invariants() == "");
    coins += 1;
    CHECK(f.referee->invariants().find("coins is 101, expected 100") != std::string::npos);
}

TEST_CASE("the referee notices a payout the game never made", "[reliability][referee]")
{
    RefereeFixture f;
    coinsEarned += 36;
    CHECK(f.referee->invariants().find("coinsEarned") != std::string::npos);
}

TEST_CASE("the referee notices an egg that vanishes from the floor", "[reliability][referee]")
{
    RefereeFixture f;
    f.layAndCollectSix();
    f.world->eggsOnTable.pop_back();
    CHECK(f.referee->invariants().find("eggs on the floor, on the table and packed") != std::string::npos);
}

TEST_CASE("the referee notices a dragged egg that is not on the table", "[reliability][referee]")
{
    RefereeFixture f;
    dragKind = TWorld::DragEgg;
    f.world->draggedEgg = 3;
    CHECK(f.referee->invariants().find("the dragged egg is not on the table") != std::string::npos);
}

TEST_CASE("the referee notices a chicken at a position that is not a number", "[reliability][referee]")
{
    RefereeFixture f;
    REQUIRE(f.referee->update(0.f) == "");
    f.world->vecChikens.front().setPosition({std::nanf(""), 10.f});
    CHECK(f.referee->invariants().find("not a finite number") != std::string::npos);
}

TEST_CASE("the referee notices a purchase that was not charged", "[reliability][referee]")
{
    RefereeFixture f;
    f.world->mode = TWorld::ModeShop;
    quantities[0] = 2; // two small feed bags on page 0: 20 coins
    REQUIRE(f.referee->move(900.f, 830.f) == "");
    // A game that forgot the bill: undo the charge behind the referee's back.
    const std::string honest = f.referee->press(0);
    CHECK(honest == "");
    CHECK(coins == 80);
    coins = 100;
    CHECK(f.referee->invariants().find("coins is 100, expected 80") != std::string::npos);
}
