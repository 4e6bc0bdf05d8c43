#include "world/TFarmSave.hpp"

#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/EgglineObjects.hpp"
#include "world/TWorld.hpp"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <sstream>
#include <stdexcept>

using nlohmann::json;

namespace {

TTextureStore& store() { return TTextureStore::instance(); }

// The sheets a chicken's sprite can show, and the dirt pictures.
constexpr int chickenSheets[] = {78, 79, 80, 111, 112, 127, 151, 152};
constexpr int firstDirt = 154, lastDirt = 158;
constexpr int feederFull = 41, feederEmpty = 90;
constexpr int scannerSprite = 71;

constexpr double maxCount = 1000000000.0;
constexpr int maxOrder = 1000000; // per item: keeps the order's total inside an int
constexpr float twoPi = 2.f * std::numbers::pi_v<float>;

// The shortest decimal that reads back as exactly this float, as the double
// the reader will see (or the float's own value when no short one does).
double exact(float f)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, f);
    double d = 0.0;
    std::from_chars(text, written.ptr, d);
    return static_cast<float>(d) == f ? d : static_cast<double>(f);
}

json pair(sf::Vector2f v) { return json::array({exact(v.x), exact(v.y)}); }

json chickenJson(const TFarmSave::Chicken& c)
{
    return json{{"sheet", c.sheet},
                {"frame", json::array({c.frame.position.x, c.frame.position.y, c.frame.size.x, c.frame.size.y})},
                {"position", pair(c.position)},
                {"origin", pair(c.origin)},
                {"scale", pair(c.scale)},
                {"satiety", exact(c.satiety)},
                {"hydration", exact(c.hydration)},
                {"eggUrge", exact(c.eggUrge)},
                {"age", exact(c.age)},
                {"speed", exact(c.speed)},
                {"walkFrame", c.walkFrame},
                {"eatFrame", c.eatFrame},
                {"poseFrame", c.poseFrame},
                {"facing", c.facing},
                {"velocity", pair(c.velocity)},
                {"target", pair(c.target)},
                {"timers",
                 {{"wait", exact(c.waitElapsed)},
                  {"lay", exact(c.layElapsed)},
                  {"layPeriod", exact(c.layPeriod)},
                  {"frame", exact(c.frameElapsed)},
                  {"dance", exact(c.danceElapsed)}}},
                {"state", c.state},
                {"nextState", c.nextState},
                {"animation", c.animation},
                {"stage", c.stage},
                {"feeder", c.feeder},
                {"eggReady", c.eggReady}};
}

json eggsJson(const std::vector<TFarmSave::Egg>& eggs)
{
    json list = json::array();
    for (const TFarmSave::Egg& e : eggs)
        list.push_back(json::array({exact(e.position.x), exact(e.position.y), exact(e.radians), e.defective}));
    return list;
}

// --- Reading ---------------------------------------------------------------

// The first problem found; `where` names the value, as in "chickens[3].age".
struct Refusal : std::runtime_error {
    explicit Refusal(const std::string& what, bool newer = false) : std::runtime_error(what), newerFormat(newer) {}
    bool newerFormat;
};

[[noreturn]] void refuse(const std::string& where, const std::string& what)
{
    throw Refusal(where.empty() ? what : where + ": " + what);
}

std::string shown(const json& v)
{
    std::string text = v.dump();
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

std::string number(double v)
{
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << v;
    return s.str();
}

// The json returned lives in the parsed tree, not in `where`.
#if defined(__GNUC__) && !defined(__clang__)
#define NOT_FROM_WHERE [[gnu::no_dangling]]
#else
#define NOT_FROM_WHERE
#endif

NOT_FROM_WHERE const json& member(const json& object, const char* key, const std::string& where)
{
    if (!object.is_object())
        refuse(where, "is " + shown(object) + ", not an object");
    const auto found = object.find(key);
    if (found == object.end())
        refuse(where.empty() ? key : where + "." + key, "is missing");
    return *found;
}

std::string inside(const std::string& where, const char* key) { return where.empty() ? key : where + "." + key; }
std::string at(const std::string& where, std::size_t i) { return where + "[" + std::to_string(i) + "]"; }

float readFloat(const json& v, const std::string& where, float lo, float hi)
{
    if (!v.is_number())
        refuse(where, "is " + shown(v) + ", not a number");
    const double d = v.get<double>();
    if (!std::isfinite(d) || d < static_cast<double>(lo) - 1.0 || d > static_cast<double>(hi) + 1.0)
        refuse(where, shown(v) + " is outside " + number(lo) + " to " + number(hi));
    const float f = static_cast<float>(d);
    if (!(lo <= f && f <= hi))
        refuse(where, shown(v) + " is outside " + number(lo) + " to " + number(hi));
    return f;
}

int readInt(const json& v, const std::string& where, double lo, double hi)
{
    if (!v.is_number_integer())
        refuse(where, "is " + shown(v) + ", not a whole number");
    const double d = v.is_number_unsigned() ? static_cast<double>(v.get<std::uint64_t>())
                                            : static_cast<double>(v.get<std::int64_t>());
    const bool fits = lo <= d && d <= hi;
    if (!fits)
        refuse(where, shown(v) + " is outside " + number(lo) + " to " + number(hi));
    return static_cast<int>(v.get<std::int64_t>());
}

int readOneOf(const json& v, const std::string& where, std::initializer_list<int> allowed)
{
    const int value = readInt(v, where, -1000.0, 1000.0);
    for (int a : allowed)
        if (a == value)
            return value;
    refuse(where, shown(v) + " has no meaning here");
}

bool readBool(const json& v, const std::string& where)
{
    if (!v.is_boolean())
        refuse(where, "is " + shown(v) + ", not true or false");
    return v.get<bool>();
}

NOT_FROM_WHERE const json& list(const json& v, const std::string& where, std::size_t size)
{
    if (!v.is_array())
        refuse(where, "is " + shown(v) + ", not a list");
    if (v.size() != size)
        refuse(where, "has " + std::to_string(v.size()) + " entries, not " + std::to_string(size));
    return v;
}

NOT_FROM_WHERE const json& anyList(const json& v, const std::string& where)
{
    if (!v.is_array())
        refuse(where, "is " + shown(v) + ", not a list");
    return v;
}

sf::Vector2f readPlace(const json& v, const std::string& where)
{
    list(v, where, 2);
    return {readFloat(v[0], at(where, 0), TFarmSave::minX, TFarmSave::maxX),
            readFloat(v[1], at(where, 1), TFarmSave::minY, TFarmSave::maxY)};
}

sf::Vector2f readVector(const json& v, const std::string& where, float limit)
{
    list(v, where, 2);
    return {readFloat(v[0], at(where, 0), -limit, limit), readFloat(v[1], at(where, 1), -limit, limit)};
}

TFarmSave::Chicken readChicken(const json& j, const std::string& w)
{
    TFarmSave::Chicken c;
    const auto f = [&](const char* key) -> const json& { return member(j, key, w); };
    c.sheet = readOneOf(f("sheet"), inside(w, "sheet"), {78, 79, 80, 111, 112, 127, 151, 152});
    const json& frame = list(f("frame"), inside(w, "frame"), 4);
    int r[4];
    for (std::size_t k = 0; k < 4; ++k)
        r[k] = readInt(frame[k], at(inside(w, "frame"), k), 0.0, 16384.0);
    c.frame = sf::IntRect({r[0], r[1]}, {r[2], r[3]});
    c.position = readPlace(f("position"), inside(w, "position"));
    c.origin = readVector(f("origin"), inside(w, "origin"), 10000.f);
    c.scale = readVector(f("scale"), inside(w, "scale"), 100.f);
    c.satiety = readFloat(f("satiety"), inside(w, "satiety"), 0.f, 1.f);
    c.hydration = readFloat(f("hydration"), inside(w, "hydration"), 0.f, 1.f);
    c.eggUrge = readFloat(f("eggUrge"), inside(w, "eggUrge"), 0.f, 1.f);
    c.age = readFloat(f("age"), inside(w, "age"), 0.f, 1e10f);
    c.speed = readFloat(f("speed"), inside(w, "speed"), 0.f, 10000.f);
    c.walkFrame = readInt(f("walkFrame"), inside(w, "walkFrame"), 0.0, 39.0);
    c.eatFrame = readInt(f("eatFrame"), inside(w, "eatFrame"), 0.0, 39.0);
    c.poseFrame = readInt(f("poseFrame"), inside(w, "poseFrame"), 0.0, 39.0);
    c.facing = readOneOf(f("facing"), inside(w, "facing"), {-1, 1});
    c.velocity = readVector(f("velocity"), inside(w, "velocity"), 10000.f);
    c.target = readPlace(f("target"), inside(w, "target"));
    const json& timers = f("timers");
    const std::string t = inside(w, "timers");
    // An elapsed time beyond its period would make the timer count for ages.
    c.waitElapsed = readFloat(member(timers, "wait", t), inside(t, "wait"), 0.f, 1.f);
    c.layPeriod = readFloat(member(timers, "layPeriod", t), inside(t, "layPeriod"), 20.f, 22.f);
    c.layElapsed = readFloat(member(timers, "lay", t), inside(t, "lay"), 0.f, c.layPeriod);
    c.frameElapsed = readFloat(member(timers, "frame", t), inside(t, "frame"), 0.f, 1.f / 12.f);
    c.danceElapsed = readFloat(member(timers, "dance", t), inside(t, "dance"), 0.f, 10.f);
    c.state = readOneOf(f("state"), inside(w, "state"), {1, 2, 3, 4, 5, 7});
    c.nextState = readOneOf(f("nextState"), inside(w, "nextState"), {1, 2, 3, 4, 5, 7});
    c.animation = readInt(f("animation"), inside(w, "animation"), 0.0, 5.0);
    c.stage = readOneOf(f("stage"), inside(w, "stage"), {0, 1, 3, 4});
    c.feeder = readInt(f("feeder"), inside(w, "feeder"), -1.0, 3.0);
    c.eggReady = readBool(f("eggReady"), inside(w, "eggReady"));
    return c;
}

std::vector<TFarmSave::Egg> readEggs(const json& v, const std::string& where)
{
    std::vector<TFarmSave::Egg> eggs;
    anyList(v, where);
    eggs.reserve(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
        const std::string w = at(where, i);
        const json& e = list(v[i], w, 4);
        eggs.push_back({{readFloat(e[0], at(w, 0), TFarmSave::minX, TFarmSave::maxX),
                         readFloat(e[1], at(w, 1), TFarmSave::minY, TFarmSave::maxY)},
                        readFloat(e[2], at(w, 2), 0.f, twoPi),
                        readBool(e[3], at(w, 3))});
    }
    return eggs;
}

std::array<int, 6> readSix(const json& v, const std::string& where, double hi)
{
    list(v, where, 6);
    std::array<int, 6> out{};
    for (std::size_t k = 0; k < 6; ++k)
        out[k] = readInt(v[k], at(where, k), 0.0, hi);
    return out;
}

// Keeps a hostile file from building a huge tree before it is looked at:
// every list and object has a size limit (the farm's own lists theirs, any
// other a small one), nesting is shallow, and the whole has a value budget.
class ShapeGuard {
public:
    bool operator()(int, json::parse_event_t event, json& parsed)
    {
        using E = json::parse_event_t;
        switch (event) {
        case E::key:
            count("an object has more than 64 entries");
            key = parsed.get<std::string>();
            break;
        case E::value:
            if (!frames.empty() && !frames.back().object)
                count("");
            spend();
            break;
        case E::object_start:
        case E::array_start: {
            if (!frames.empty() && !frames.back().object)
                count("");
            spend();
            if (frames.size() >= 6)
                throw Refusal("the file nests deeper than a farm does");
            const bool object = event == E::object_start;
            std::size_t limit = 64;
            if (!object) {
                limit = key == "chickens" ? TFarmSave::maxChickens
                    : (key == "eggsOnFloor" || key == "eggsOnTable") ? TFarmSave::maxEggs
                    : key == "dirt" ? TFarmSave::maxDirt
                                    : 16;
            }
            frames.push_back({object, 0, limit, object ? std::string() : key});
            key.clear();
            break;
        }
        case E::object_end:
        case E::array_end:
            frames.pop_back();
            break;
        }
        return true;
    }

private:
    struct Frame {
        bool object;
        std::size_t count;
        std::size_t limit;
        std::string name;
    };
    void count(const char* objectProblem)
    {
        Frame& f = frames.back();
        if (++f.count <= f.limit)
            return;
        if (f.object)
            throw Refusal(objectProblem);
        throw Refusal((f.name.empty() ? std::string("a list") : f.name) + ": more than "
                      + std::to_string(f.limit) + " entries");
    }
    void spend()
    {
        if (++values > 4000000)
            throw Refusal("the file holds more values than a farm can");
    }
    std::vector<Frame> frames;
    std::string key;
    std::size_t values = 0;
};

TFarmSave::Snapshot readFarm(const json& j)
{
    if (!j.is_object())
        refuse("", "the file holds " + shown(j) + ", not a farm");
    TFarmSave::Snapshot s;
    const int format = readInt(member(j, "format", ""), "format", -1e9, 1e9);
    if (format > TFarmSave::formatVersion)
        throw Refusal("it was saved by a newer version of the game (save format " + std::to_string(format)
                          + "; this one reads up to " + std::to_string(TFarmSave::formatVersion) + ")",
                      true);
    if (format < 1)
        refuse("format", std::to_string(format) + " is not a save format");

    const json& purse = member(j, "purse", "");
    s.coins = readInt(member(purse, "coins", "purse"), "purse.coins", -maxCount, maxCount);
    s.coinsEarned = readInt(member(purse, "earned", "purse"), "purse.earned", 0.0, maxCount);
    s.eggsCollected = readInt(member(purse, "eggsCollected", "purse"), "purse.eggsCollected", 0.0, maxCount);
    s.chickensToSpawn = readInt(member(j, "chickensToSpawn", ""), "chickensToSpawn", 0.0,
                                static_cast<double>(TFarmSave::maxChickens));
    const json& packages = list(member(j, "packages", ""), "packages", 2);
    s.packC0 = readInt(packages[0], "packages[0]", 0.0, 5.0);
    s.packC1 = readInt(packages[1], "packages[1]", 0.0, 5.0);
    s.inventory = readSix(member(j, "inventory", ""), "inventory", maxCount);
    const json& visits = member(j, "specialists", "");
    s.psychologists = readInt(member(visits, "psychologist", "specialists"), "specialists.psychologist", 0.0, maxCount);
    s.vets = readInt(member(visits, "vet", "specialists"), "specialists.vet", 0.0, maxCount);

    const json& quest = member(j, "quest", "");
    s.questComplete = readBool(member(quest, "complete", "quest"), "quest.complete");
    s.message3 = readBool(member(quest, "message3", "quest"), "quest.message3");
    s.message4 = readBool(member(quest, "message4", "quest"), "quest.message4");
    s.messagesDone = readBool(member(quest, "done", "quest"), "quest.done");

    const json& clock = member(j, "clock", "");
    s.dayTime = readFloat(member(clock, "dayTime", "clock"), "clock.dayTime", 0.f, 1e9f);
    s.playTime = readFloat(member(clock, "playTime", "clock"), "clock.playTime", 0.f, 9999999.f);
    s.dirtTimer = readFloat(member(clock, "dirtTimer", "clock"), "clock.dirtTimer", 0.f, 5.f);
    s.messageTimer = readFloat(member(clock, "messageTimer", "clock"), "clock.messageTimer", 0.f, 10.f);
    s.cleanCount = readInt(member(j, "cleanCount", ""), "cleanCount", 0.0, 100.0);

    const json& window = member(j, "window", "");
    s.mode = readInt(member(window, "mode", "window"), "window.mode", 0.0, 3.0);
    s.shopPage = readInt(member(window, "shopPage", "window"), "window.shopPage", 0.0, 2.0);
    s.order = readSix(member(window, "order", "window"), "window.order", maxOrder);
    s.scanner = readPlace(member(window, "scanner", "window"), "window.scanner");
    s.scanningUp = readBool(member(window, "scanningUp", "window"), "window.scanningUp");
    const json& cards = list(member(window, "cards", "window"), "window.cards", 3);
    for (std::size_t k = 0; k < 3; ++k)
        s.cards[k] = readPlace(cards[k], at("window.cards", k));

    const json& feeders = list(member(j, "feeders", ""), "feeders", 4);
    for (std::size_t k = 0; k < 4; ++k) {
        const std::string w = at("feeders", k);
        TFarmSave::Feeder& f = s.feeders[k];
        f.food = readFloat(member(feeders[k], "food", w), inside(w, "food"), -1e9f, 1e12f);
        f.blinkTime = readFloat(member(feeders[k], "blinkTime", w), inside(w, "blinkTime"), 0.f, 1e10f);
        f.blinkAlpha = readFloat(member(feeders[k], "blinkAlpha", w), inside(w, "blinkAlpha"), 0.f, 255.f);
        f.emptyPicture = readBool(member(feeders[k], "empty", w), inside(w, "empty"));
    }
    const json& needles = list(member(j, "bowlNeedles", ""), "bowlNeedles", 3);
    for (std::size_t k = 0; k < 3; ++k)
        s.bowlNeedles[k] = readFloat(needles[k], at("bowlNeedles", k), 0.f, twoPi);

    s.chickenTemplate = readChicken(member(j, "chickenTemplate", ""), "chickenTemplate");
    const json& chickens = anyList(member(j, "chickens", ""), "chickens");
    s.chickens.reserve(chickens.size());
    for (std::size_t i = 0; i < chickens.size(); ++i)
        s.chickens.push_back(readChicken(chickens[i], at("chickens", i)));
    s.eggsOnFloor = readEggs(member(j, "eggsOnFloor", ""), "eggsOnFloor");
    s.eggsOnTable = readEggs(member(j, "eggsOnTable", ""), "eggsOnTable");
    const json& dirt = anyList(member(j, "dirt", ""), "dirt");
    s.dirt.reserve(dirt.size());
    for (std::size_t i = 0; i < dirt.size(); ++i) {
        const std::string w = at("dirt", i);
        const json& d = list(dirt[i], w, 3);
        s.dirt.push_back({readInt(d[0], at(w, 0), firstDirt, lastDirt),
                          {readFloat(d[1], at(w, 1), TFarmSave::minX, TFarmSave::maxX),
                           readFloat(d[2], at(w, 2), TFarmSave::minY, TFarmSave::maxY)}});
    }
    return s;
}

// --- Between the world and the snapshot --------------------------------------

int sheetOf(const TChiken2& chicken)
{
    for (int id : chickenSheets)
        if (&store().getTexture(id) == &chicken.getTexture())
            return id;
    return chickenSheets[0];
}

TFarmSave::Chicken captureChicken(const TChiken2& c, const TWorld& world)
{
    TFarmSave::Chicken s;
    s.sheet = sheetOf(c);
    s.frame = c.getTextureRect();
    s.position = c.getPosition();
    s.origin = c.getOrigin();
    s.scale = c.getScale();
    s.satiety = c.satiety;
    s.hydration = c.hydration;
    s.eggUrge = c.eggUrge;
    s.age = c.age;
    s.speed = c.speed;
    s.walkFrame = c.walkFrame;
    s.eatFrame = c.eatFrame;
    s.poseFrame = c.poseFrame;
    s.facing = c.facing;
    s.velocity = c.velocity;
    s.target = c.target;
    s.waitElapsed = c.waitTimer.elapsed;
    s.layElapsed = c.layTimer.elapsed;
    s.layPeriod = c.layTimer.period;
    s.frameElapsed = c.frameTimer.elapsed;
    s.danceElapsed = c.danceTimer.elapsed;
    s.state = c.state;
    s.nextState = c.nextState;
    s.animation = c.animation;
    s.stage = c.stage;
    for (int k = 0; k < 4; ++k)
        if (c.feeder == &world.feeders[k])
            s.feeder = k;
    s.eggReady = c.eggReady;
    return s;
}

void restoreChicken(TChiken2& c, const TFarmSave::Chicken& s, TWorld& world)
{
    c.setTexture(store().getTexture(s.sheet), false);
    c.setTextureRect(s.frame);
    c.setPosition(s.position);
    c.setOrigin(s.origin);
    c.setScale(s.scale);
    c.satiety = s.satiety;
    c.hydration = s.hydration;
    c.eggUrge = s.eggUrge;
    c.age = s.age;
    c.speed = s.speed;
    c.walkFrame = s.walkFrame;
    c.eatFrame = s.eatFrame;
    c.poseFrame = s.poseFrame;
    c.facing = s.facing;
    c.velocity = s.velocity;
    c.target = s.target;
    c.waitTimer.elapsed = s.waitElapsed;
    c.layTimer.elapsed = s.layElapsed;
    c.layTimer.period = s.layPeriod;
    c.frameTimer.elapsed = s.frameElapsed;
    c.danceTimer.elapsed = s.danceElapsed;
    c.state = s.state;
    c.nextState = s.nextState;
    c.animation = s.animation;
    c.stage = s.stage;
    c.feeder = s.feeder < 0 ? nullptr : &world.feeders[s.feeder];
    c.eggReady = s.eggReady;
}

std::vector<TFarmSave::Egg> captureEggs(const std::vector<TEgg2>& eggs)
{
    std::vector<TFarmSave::Egg> out;
    out.reserve(eggs.size());
    for (const TEgg2& e : eggs)
        out.push_back({e.getPosition(), e.getRotation().asRadians(), e.defective});
    return out;
}

void restoreEggs(std::vector<TEgg2>& eggs, const std::vector<TFarmSave::Egg>& saved, const TEgg2& model)
{
    eggs.clear();
    eggs.reserve(saved.size());
    for (const TFarmSave::Egg& s : saved) {
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
    s.cleanCount = world.cleanCount;
    s.mode = world.mode;
    s.shopPage = shop->page;
    for (std::size_t k = 0; k < 6; ++k)
        s.order[k] = quantities[k];
    s.scanner = store().getSprite(scannerSprite).getPosition();
    s.scanningUp = sortMachine->scanningUp;
    // A card in hand is back in its place.
    const TActor* cards[3] = {&world.kurortCard, &world.psychologistCard, &world.vetCard};
    const int tools[3] = {TWorld::ToolKurort, TWorld::ToolPsychologist, TWorld::ToolVet};
    const float homes[3] = {TWorld::kurortHomeX, TWorld::psychologistHomeX, TWorld::vetHomeX};
    for (std::size_t k = 0; k < 3; ++k)
        s.cards[k] = world.activeTool == tools[k] ? sf::Vector2f{homes[k], TWorld::cardHomeY} : cards[k]->getPosition();
    for (std::size_t k = 0; k < 4; ++k) {
        const TFeeding& f = world.feeders[k];
        s.feeders[k] = {f.food, f.blinkTime, f.blinkAlpha, &f.getTexture() == &store().getTexture(feederEmpty)};
    }
    for (std::size_t k = 0; k < 3; ++k)
        s.bowlNeedles[k] = world.drinkingBowls[k].arrow.getRotation().asRadians();
    s.chickenTemplate = captureChicken(world.chickenTemplate, world);
    s.chickens.reserve(world.vecChikens.size());
    for (const TChiken2& c : world.vecChikens)
        s.chickens.push_back(captureChicken(c, world));
    s.eggsOnFloor = captureEggs(world.eggsOnFloor);
    s.eggsOnTable = captureEggs(world.eggsOnTable);
    s.dirt.reserve(world.pollution.size());
    for (const sf::Sprite& spot : world.pollution) {
        int id = firstDirt;
        for (int k = firstDirt; k <= lastDirt; ++k)
            if (&store().getTexture(k) == &spot.getTexture())
                id = k;
        s.dirt.push_back({id, spot.getPosition()});
    }
    return s;
}

std::string TFarmSave::toJson(const Snapshot& s)
{
    json chickens = json::array();
    for (const Chicken& c : s.chickens)
        chickens.push_back(chickenJson(c));
    json dirt = json::array();
    for (const Dirt& d : s.dirt)
        dirt.push_back(json::array({d.texture, exact(d.position.x), exact(d.position.y)}));
    json feeders = json::array();
    for (const Feeder& f : s.feeders)
        feeders.push_back(
            {{"food", exact(f.food)}, {"blinkTime", exact(f.blinkTime)}, {"blinkAlpha", exact(f.blinkAlpha)}, {"empty", f.emptyPicture}});
    json needles = json::array();
    for (float r : s.bowlNeedles)
        needles.push_back(exact(r));

    json farm = {
        {"format", formatVersion},
        {"game", std::string("henhouse ") + gameVersion},
        {"purse", {{"coins", s.coins}, {"earned", s.coinsEarned}, {"eggsCollected", s.eggsCollected}}},
        {"chickensToSpawn", s.chickensToSpawn},
        {"packages", {s.packC0, s.packC1}},
        {"inventory", s.inventory},
        {"specialists", {{"psychologist", s.psychologists}, {"vet", s.vets}}},
        {"quest", {{"complete", s.questComplete}, {"message3", s.message3}, {"message4", s.message4}, {"done", s.messagesDone}}},
        {"clock",
         {{"dayTime", exact(s.dayTime)},
          {"playTime", exact(s.playTime)},
          {"dirtTimer", exact(s.dirtTimer)},
          {"messageTimer", exact(s.messageTimer)}}},
        {"cleanCount", s.cleanCount},
        {"window",
         {{"mode", s.mode}, {"shopPage", s.shopPage}, {"order", s.order}, {"scanner", pair(s.scanner)},
          {"scanningUp", s.scanningUp},
          {"cards", {pair(s.cards[0]), pair(s.cards[1]), pair(s.cards[2])}}}},
        {"feeders", std::move(feeders)},
        {"bowlNeedles", std::move(needles)},
        {"chickenTemplate", chickenJson(s.chickenTemplate)},
        {"chickens", std::move(chickens)},
        {"eggsOnFloor", eggsJson(s.eggsOnFloor)},
        {"eggsOnTable", eggsJson(s.eggsOnTable)},
        {"dirt", std::move(dirt)},
    };
    std::string text = farm.dump();
    text += '\n';
    return text;
}

std::optional<TFarmSave::Snapshot> TFarmSave::fromJson(std::string_view text, std::string& problem, bool* newerFormat)
{
    if (newerFormat)
        *newerFormat = false;
    if (text.size() > maxFileBytes) {
        problem = "the file is larger than " + std::to_string(maxFileBytes >> 20) + " MB";
        return std::nullopt;
    }
    try {
        ShapeGuard guard;
        const json j = json::parse(text.begin(), text.end(), std::ref(guard));
        return readFarm(j);
    } catch (const Refusal& r) {
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
    store().getSprite(scannerSprite).setPosition(s.scanner);
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
        f.setTextureById(s.feeders[k].emptyPicture ? feederEmpty : feederFull, false);
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
