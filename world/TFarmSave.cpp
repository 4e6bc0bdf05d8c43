#include "world/TFarmSave.hpp"

#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/EgglineObjects.hpp"
#include "world/TWorld.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <utility>

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

// The save's text, written straight out (a tree of JSON values for a
// thousand hens would cost more than the file itself). Keys come in the
// order of the farm, not sorted.
class JsonText {
public:
    void begin(char bracket)
    {
        comma();
        text += bracket;
        first.push_back(true);
    }
    void end(char bracket)
    {
        text += bracket;
        first.pop_back();
    }
    void key(std::string_view name)
    {
        comma();
        text += '"';
        text += name;
        text += "\":";
        afterKey = true;
    }
    void value(int v)
    {
        comma();
        char digits[16];
        const char* stop = std::to_chars(digits, digits + sizeof digits, v).ptr;
        text.append(digits, static_cast<std::size_t>(stop - digits));
    }
    void value(bool v)
    {
        comma();
        text += v ? "true" : "false";
    }
    void value(std::string_view v)
    {
        comma();
        text += '"';
        text += v;
        text += '"';
    }
    // The shortest decimal that reads back as exactly this float (through the
    // double the reader sees), else the float's own value in full. Something
    // not finite is written as null, which no reader takes for a number.
    void value(float f)
    {
        comma();
        if (!std::isfinite(f)) {
            text += "null";
            return;
        }
        char digits[32];
        char* stop = std::to_chars(digits, digits + sizeof digits, f).ptr;
        double d = 0.0;
        std::from_chars(digits, stop, d);
        if (static_cast<float>(d) != f)
            stop = std::to_chars(digits, digits + sizeof digits, static_cast<double>(f)).ptr;
        text.append(digits, static_cast<std::size_t>(stop - digits));
        // Written as a whole number it would be read as one, and -0 as 0.
        if (std::string_view(digits, static_cast<std::size_t>(stop - digits)).find_first_of(".e")
            == std::string_view::npos)
            text += ".0";
    }
    void value(sf::Vector2f v)
    {
        begin('[');
        value(v.x);
        value(v.y);
        end(']');
    }
    template <class T>
    void field(std::string_view name, const T& v)
    {
        key(name);
        value(v);
    }

    std::string text;

private:
    void comma()
    {
        if (afterKey) {
            afterKey = false;
            return;
        }
        if (first.empty())
            return;
        if (!first.back())
            text += ',';
        first.back() = false;
    }
    std::vector<bool> first;
    bool afterKey = false;
};

void writeChicken(JsonText& out, const TFarmSave::Chicken& c)
{
    out.begin('{');
    out.field("position", c.position);
    out.field("target", c.target);
    out.field("velocity", c.velocity);
    out.field("speed", c.speed);
    out.field("age", c.age);
    out.field("stage", c.stage);
    out.field("satiety", c.satiety);
    out.field("hydration", c.hydration);
    out.field("eggUrge", c.eggUrge);
    out.field("state", c.state);
    out.field("nextState", c.nextState);
    out.field("eggReady", c.eggReady);
    out.field("feeder", c.feeder);
    out.key("timers");
    out.begin('{');
    out.field("wait", c.waitElapsed);
    out.field("lay", c.layElapsed);
    out.field("layPeriod", c.layPeriod);
    out.field("frame", c.frameElapsed);
    out.field("dance", c.danceElapsed);
    out.end('}');
    out.field("animation", c.animation);
    out.field("sheet", c.sheet);
    out.key("frame");
    out.begin('[');
    for (int v : {c.frame.position.x, c.frame.position.y, c.frame.size.x, c.frame.size.y})
        out.value(v);
    out.end(']');
    out.field("origin", c.origin);
    out.field("scale", c.scale);
    out.field("facing", c.facing);
    out.field("walkFrame", c.walkFrame);
    out.field("eatFrame", c.eatFrame);
    out.field("poseFrame", c.poseFrame);
    out.end('}');
}

void writeEggs(JsonText& out, std::string_view name, const std::vector<TFarmSave::Egg>& eggs)
{
    out.key(name);
    out.begin('[');
    for (const TFarmSave::Egg& e : eggs) {
        out.begin('[');
        out.value(e.position.x);
        out.value(e.position.y);
        out.value(e.radians);
        out.value(e.defective);
        out.end(']');
    }
    out.end(']');
}

void writeSix(JsonText& out, std::string_view name, const std::array<int, 6>& six)
{
    out.key(name);
    out.begin('[');
    for (int v : six)
        out.value(v);
    out.end(']');
}

// --- Reading ---------------------------------------------------------------

// The first problem found; `where` names the value, as in "chickens[3].age".
struct Refusal : std::runtime_error {
    explicit Refusal(const std::string& what, bool newer = false)
        : std::runtime_error(what)
        , newerFormat(newer)
    {
    }
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
        refuse(where,
               shown(v) + " is outside " + number(static_cast<double>(lo)) + " to " + number(static_cast<double>(hi)));
    const float f = static_cast<float>(d);
    if (!(lo <= f && f <= hi))
        refuse(where,
               shown(v) + " is outside " + number(static_cast<double>(lo)) + " to " + number(static_cast<double>(hi)));
    return f;
}

int readInt(const json& v, const std::string& where, double lo, double hi)
{
    if (v.is_number_float()) {
        // 1e+30 or 0.0 is a whole number written as a fraction: say which fault it has.
        const double d = v.get<double>();
        if (std::isfinite(d) && d == std::floor(d)) {
            if (d < lo || d > hi)
                refuse(where, shown(v) + " is outside " + number(lo) + " to " + number(hi));
            refuse(where,
                   "is " + shown(v) + ", written with a point or an exponent: a count is written as digits alone");
        }
    }
    if (!v.is_number_integer())
        refuse(where, "is " + shown(v) + ", not a whole number");
    const double d = v.is_number_unsigned() ? static_cast<double>(v.get<std::uint64_t>())
                                            : static_cast<double>(v.get<std::int64_t>());
    const bool fits = lo <= d && d <= hi;
    if (!fits)
        refuse(where,
               shown(v) + " is outside " + number(static_cast<double>(lo)) + " to " + number(static_cast<double>(hi)));
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

// Keeps a hostile file from building a huge tree before it is looked at: one
// quick pass over the text before it is parsed. Every list and object has a
// size limit (the farm's own lists theirs, any other a small one), nesting is
// shallow, and the whole has a value budget. The count is exact for text that
// parses; for text that does not, the parser has its own say.
void checkShape(std::string_view text)
{
    struct Frame {
        bool object;
        std::size_t entries; // separators seen, plus one once anything is inside
        std::size_t limit;
        std::string_view name;
        std::vector<std::string_view> keys = {}; // an object's keys so far: each may stand once
    };
    std::vector<Frame> frames;
    std::string_view lastString, key;
    std::size_t values = 0;
    const auto spend = [&] {
        if (++values > 4000000)
            throw Refusal("the file holds more values than a farm can");
    };
    const auto entry = [&] {
        if (frames.empty())
            return;
        Frame& f = frames.back();
        if (++f.entries <= f.limit)
            return;
        if (f.object)
            throw Refusal("an object has more than 64 entries");
        throw Refusal((f.name.empty() ? std::string("a list") : std::string(f.name)) + ": more than "
                      + std::to_string(f.limit) + " entries");
    };
    bool fresh = false; // a container was just opened: its first entry is not yet counted
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
            continue;
        if (fresh && c != ']' && c != '}') {
            entry();
            fresh = false;
        }
        switch (c) {
        case '"': {
            const std::size_t start = ++i;
            while (i < text.size() && text[i] != '"')
                i += text[i] == '\\' ? 2u : 1u;
            lastString = text.substr(start, std::min(i, text.size()) - start);
            spend();
            break;
        }
        case ':':
            key = lastString;
            if (!frames.empty() && frames.back().object) {
                std::vector<std::string_view>& keys = frames.back().keys;
                if (std::find(keys.begin(), keys.end(), key) != keys.end())
                    throw Refusal("the key \"" + std::string(key) + "\" stands twice in one object");
                keys.push_back(key);
            }
            break;
        case ',': entry(); break;
        case '{':
        case '[': {
            spend();
            if (frames.size() >= 6)
                throw Refusal("the file nests deeper than a farm does");
            const bool object = c == '{';
            std::size_t limit = 64;
            std::string_view name;
            // A list's name is the key just before it, if it is the value of one.
            if (!object && !frames.empty() && frames.back().object) {
                name = key;
                limit = key == "chickens"                                ? TFarmSave::maxChickens
                        : (key == "eggsOnFloor" || key == "eggsOnTable") ? TFarmSave::maxEggs
                        : key == "dirt"                                  ? TFarmSave::maxDirt
                                                                         : 16;
            } else if (!object) {
                limit = 16;
            }
            frames.push_back({object, 0, limit, name});
            fresh = true;
            break;
        }
        case '}':
        case ']':
            fresh = false;
            if (!frames.empty())
                frames.pop_back();
            break;
        default:
            // A number or a literal: count it once, at its first character.
            if (i == 0 || std::string_view(" \n\r\t,:[{").find(text[i - 1]) != std::string_view::npos)
                spend();
            break;
        }
    }
}

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
    s.chickensToSpawn =
        readInt(member(j, "chickensToSpawn", ""), "chickensToSpawn", 0.0, maxCount); // a queue, hatched as room allows
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
    if (format >= 2)
        s.storyHeld = readFloat(member(clock, "storyHeld", "clock"), "clock.storyHeld", 0.f, s.playTime);
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
    s.storyHeld = world.storyHeld;
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
    // A table egg in hand is let go: on the table it stays, else it is back where it was picked up.
    if (dragKind == TWorld::DragEgg && world.draggedEgg < s.eggsOnTable.size())
        s.eggsOnTable[world.draggedEgg].position = world.tableEggRestingPlace(world.eggsOnTable[world.draggedEgg]);
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
    JsonText out;
    out.text.reserve(1024 + 520 * s.chickens.size() + 40 * (s.eggsOnFloor.size() + s.eggsOnTable.size())
                     + 30 * s.dirt.size());
    out.begin('{');
    out.field("format", formatVersion);
    const std::string game = std::string("henhouse ") + gameVersion;
    out.field("game", std::string_view(game));
    out.key("purse");
    out.begin('{');
    out.field("coins", s.coins);
    out.field("earned", s.coinsEarned);
    out.field("eggsCollected", s.eggsCollected);
    out.end('}');
    out.field("chickensToSpawn", s.chickensToSpawn);
    out.key("packages");
    out.begin('[');
    out.value(s.packC0);
    out.value(s.packC1);
    out.end(']');
    writeSix(out, "inventory", s.inventory);
    out.key("specialists");
    out.begin('{');
    out.field("psychologist", s.psychologists);
    out.field("vet", s.vets);
    out.end('}');
    out.key("quest");
    out.begin('{');
    out.field("complete", s.questComplete);
    out.field("message3", s.message3);
    out.field("message4", s.message4);
    out.field("done", s.messagesDone);
    out.end('}');
    out.key("clock");
    out.begin('{');
    out.field("dayTime", s.dayTime);
    out.field("playTime", s.playTime);
    out.field("dirtTimer", s.dirtTimer);
    out.field("messageTimer", s.messageTimer);
    out.field("storyHeld", s.storyHeld);
    out.end('}');
    out.field("cleanCount", s.cleanCount);
    out.key("window");
    out.begin('{');
    out.field("mode", s.mode);
    out.field("shopPage", s.shopPage);
    writeSix(out, "order", s.order);
    out.field("scanner", s.scanner);
    out.field("scanningUp", s.scanningUp);
    out.key("cards");
    out.begin('[');
    for (sf::Vector2f card : s.cards)
        out.value(card);
    out.end(']');
    out.end('}');
    out.key("feeders");
    out.begin('[');
    for (const Feeder& f : s.feeders) {
        out.begin('{');
        out.field("food", f.food);
        out.field("blinkTime", f.blinkTime);
        out.field("blinkAlpha", f.blinkAlpha);
        out.field("empty", f.emptyPicture);
        out.end('}');
    }
    out.end(']');
    out.key("bowlNeedles");
    out.begin('[');
    for (float r : s.bowlNeedles)
        out.value(r);
    out.end(']');
    out.key("chickenTemplate");
    writeChicken(out, s.chickenTemplate);
    out.key("chickens");
    out.begin('[');
    for (const Chicken& c : s.chickens)
        writeChicken(out, c);
    out.end(']');
    writeEggs(out, "eggsOnFloor", s.eggsOnFloor);
    writeEggs(out, "eggsOnTable", s.eggsOnTable);
    out.key("dirt");
    out.begin('[');
    for (const Dirt& d : s.dirt) {
        out.begin('[');
        out.value(d.texture);
        out.value(d.position.x);
        out.value(d.position.y);
        out.end(']');
    }
    out.end(']');
    out.end('}');
    out.text += '\n';
    return std::move(out.text);
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
        checkShape(text);
        const json j = json::parse(text.begin(), text.end());
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
