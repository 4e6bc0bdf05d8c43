#include "world/TSaveCheck.hpp"

#include <cmath>
#include <cstdint>
#include <locale>
#include <sstream>

using json = nlohmann::json;

void TSaveCheck::refuse(const std::string& where, const std::string& what)
{
    throw Refusal(where.empty() ? what : where + ": " + what);
}

std::string TSaveCheck::shown(const json& v)
{
    std::string text = v.dump();
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

std::string TSaveCheck::number(double v)
{
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << v;
    return s.str();
}

std::string TSaveCheck::inside(const std::string& where, const char* key)
{
    return where.empty() ? key : where + "." + key;
}

std::string TSaveCheck::at(const std::string& where, std::size_t i) { return where + "[" + std::to_string(i) + "]"; }

const json& TSaveCheck::member(const json& object, const char* key, const std::string& where)
{
    if (!object.is_object())
        refuse(where, "is " + shown(object) + ", not an object");
    const auto found = object.find(key);
    if (found == object.end())
        refuse(inside(where, key), "is missing");
    return *found;
}

const json& TSaveCheck::list(const json& v, const std::string& where, std::size_t size)
{
    if (!v.is_array())
        refuse(where, "is " + shown(v) + ", not a list");
    if (v.size() != size)
        refuse(where, "has " + std::to_string(v.size()) + " entries, not " + std::to_string(size));
    return v;
}

const json& TSaveCheck::anyList(const json& v, const std::string& where)
{
    if (!v.is_array())
        refuse(where, "is " + shown(v) + ", not a list");
    return v;
}

float TSaveCheck::decimal(const json& v, const std::string& where, float lo, float hi)
{
    if (!v.is_number())
        refuse(where, "is " + shown(v) + ", not a number");
    // Near the limits first, so that the float it becomes is one.
    const double d = v.get<double>();
    if (!std::isfinite(d) || d < static_cast<double>(lo) - 1.0 || d > static_cast<double>(hi) + 1.0
        || !(lo <= static_cast<float>(d) && static_cast<float>(d) <= hi))
        refuse(where,
               shown(v) + " is outside " + number(static_cast<double>(lo)) + " to " + number(static_cast<double>(hi)));
    return static_cast<float>(d);
}

int TSaveCheck::count(const json& v, const std::string& where, double lo, double hi)
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
    if (!(lo <= d && d <= hi))
        refuse(where, shown(v) + " is outside " + number(lo) + " to " + number(hi));
    return static_cast<int>(v.get<std::int64_t>());
}

int TSaveCheck::oneOf(const json& v, const std::string& where, std::initializer_list<int> allowed)
{
    const int value = count(v, where, -1000.0, 1000.0);
    for (int a : allowed)
        if (a == value)
            return value;
    refuse(where, shown(v) + " has no meaning here");
}

bool TSaveCheck::flag(const json& v, const std::string& where)
{
    if (!v.is_boolean())
        refuse(where, "is " + shown(v) + ", not true or false");
    return v.get<bool>();
}
