#include "world/TSaveText.hpp"

#include "world/TSaveCheck.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace {

void writeNumber(std::string& text, std::int64_t v)
{
    char digits[24];
    const char* stop = std::to_chars(digits, digits + sizeof digits, v).ptr;
    text.append(digits, static_cast<std::size_t>(stop - digits));
}

// The shortest decimal that reads back as exactly this float (through the
// double a reader sees), else the value in full. Something not finite is
// written as null, which no reader takes for a number.
void writeDecimal(std::string& text, double value)
{
    if (!std::isfinite(value)) {
        text += "null";
        return;
    }
    char digits[32];
    char* stop = digits;
    const auto f = static_cast<float>(value);
    if (static_cast<double>(f) == value) {
        stop = std::to_chars(digits, digits + sizeof digits, f).ptr;
        double d = 0.0;
        std::from_chars(digits, stop, d);
        if (static_cast<float>(d) != f)
            stop = std::to_chars(digits, digits + sizeof digits, value).ptr;
    } else {
        stop = std::to_chars(digits, digits + sizeof digits, value).ptr;
    }
    const std::string_view written(digits, static_cast<std::size_t>(stop - digits));
    text += written;
    // Written as a whole number it would be read as one, and -0 as 0.
    if (written.find_first_of(".e") == std::string_view::npos)
        text += ".0";
}

void writeValue(std::string& text, const nlohmann::ordered_json& v)
{
    using Type = nlohmann::ordered_json::value_t;
    switch (v.type()) {
    case Type::object: {
        text += '{';
        bool first = true;
        for (const auto& [key, value] : v.items()) {
            if (!first)
                text += ',';
            first = false;
            text += '"'; // keys are the records' own names, plain letters and digits
            text += key;
            text += "\":";
            writeValue(text, value);
        }
        text += '}';
        break;
    }
    case Type::array: {
        text += '[';
        bool first = true;
        for (const auto& value : v) {
            if (!first)
                text += ',';
            first = false;
            writeValue(text, value);
        }
        text += ']';
        break;
    }
    case Type::number_integer: writeNumber(text, v.get<std::int64_t>()); break;
    case Type::number_unsigned: text += v.dump(); break;
    case Type::number_float: writeDecimal(text, v.get<double>()); break;
    default: text += v.dump(); break; // strings, true, false, null
    }
}

} // namespace

std::string TSaveText::write(const nlohmann::ordered_json& value)
{
    std::string text;
    writeValue(text, value);
    text += '\n';
    return text;
}

nlohmann::json TSaveText::read(std::string_view text, std::initializer_list<ListLimit> lists)
{
    using Event = nlohmann::json::parse_event_t;
    struct Open {
        bool object;
        std::size_t entries, limit;
        std::string name;                // a list's key
        std::vector<std::string> keys{}; // an object's keys so far: each may stand once
    };
    std::vector<Open> open;
    std::string key; // the last key read
    bool afterKey = false;
    std::size_t values = 0;
    // Each value counts against the budget and as an entry of its container.
    const auto arrive = [&] {
        if (++values > maxValues)
            throw TSaveCheck::Refusal("the file holds more values than a farm can");
        if (open.empty() || open.back().object)
            return;
        Open& list = open.back();
        if (++list.entries <= list.limit)
            return;
        throw TSaveCheck::Refusal((list.name.empty() ? std::string("a list") : list.name) + ": more than "
                                  + std::to_string(list.limit) + " entries");
    };
    const auto callback = [&](int, Event event, nlohmann::json& parsed) {
        const bool named = afterKey;
        afterKey = false;
        switch (event) {
        case Event::key: {
            if (++values > maxValues)
                throw TSaveCheck::Refusal("the file holds more values than a farm can");
            Open& object = open.back();
            key = parsed.get<std::string>();
            if (++object.entries > maxObjectEntries)
                throw TSaveCheck::Refusal("an object has more than 64 entries");
            if (std::find(object.keys.begin(), object.keys.end(), key) != object.keys.end())
                throw TSaveCheck::Refusal("the key " + parsed.dump() + " stands twice in one object");
            object.keys.push_back(key);
            afterKey = true;
            break;
        }
        case Event::object_start:
        case Event::array_start: {
            arrive();
            if (open.size() >= maxDepth)
                throw TSaveCheck::Refusal("the file nests deeper than a farm does");
            const bool object = event == Event::object_start;
            std::size_t limit = object ? maxObjectEntries : maxOtherListEntries;
            std::string name;
            if (!object && named) {
                name = key;
                for (const ListLimit& l : lists)
                    if (key == l.key)
                        limit = l.entries;
            }
            open.push_back({object, 0, limit, std::move(name)});
            break;
        }
        case Event::object_end:
        case Event::array_end: open.pop_back(); break;
        case Event::value:
            if (!(parsed.is_structured()))
                arrive();
            break;
        }
        return true;
    };
    return nlohmann::json::parse(text.begin(), text.end(), callback);
}
