#pragma once

#include "world/TFarmSave.hpp"
#include "world/TSaveCheck.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <vector>

namespace save {
// What a record's reading needs beyond its text: the file's format.
struct Reading {
    int format = 1; // until the file says
};
} // namespace save

// One kind of record in the save, declared once as a table of its fields:
// each field's key, the member it keeps and the limits it is read within.
// The same table writes the record and reads it back with every value
// checked. A record is written as an object, or (`asList`) as a list of its
// values in the table's order. A field whose limits depend on another one is
// `late`: read after the others. A field `since` a format is read only from
// files of that format on (older files leave it as the record makes it).
template <class Record>
class TSaveRecord {
public:
    using json = nlohmann::json;
    using out_json = nlohmann::ordered_json;
    using Reading = save::Reading;
    struct Field {
        const char* key = nullptr; // none in a record kept as a list
        std::function<void(const Record&, out_json& out)> write;
        // Empty: written but never read back (the game's name).
        std::function<void(Record&, const json& value, const std::string& where, Reading&)> read;
        int since = 1;
        bool late = false;
    };

    TSaveRecord(std::initializer_list<Field> table, bool asList = false)
        : fields(table)
        , list(asList)
    {
    }

    void write(const Record& r, out_json& out) const
    {
        // The keys are the table's own, each once: put in as they come.
        if (list) {
            out = out_json::array();
            auto& values = out.get_ref<out_json::array_t&>();
            values.resize(fields.size());
            for (std::size_t k = 0; k < fields.size(); ++k)
                fields[k].write(r, values[k]);
        } else {
            out = out_json::object();
            auto& members = out.get_ref<out_json::object_t&>();
            members.reserve(fields.size());
            for (const Field& f : fields)
                f.write(r, members.emplace_back(f.key, out_json()).second);
        }
    }
    void read(Record& r, const json& j, const std::string& where, Reading& reading) const
    {
        if (list)
            TSaveCheck::list(j, where, fields.size());
        for (const bool late : {false, true})
            for (std::size_t k = 0; k < fields.size(); ++k) {
                const Field& f = fields[k];
                if (!f.read || f.late != late || reading.format < f.since)
                    continue;
                if (list)
                    f.read(r, j[k], TSaveCheck::at(where, k), reading);
                else
                    f.read(r, TSaveCheck::member(j, f.key, where), TSaveCheck::inside(where, f.key), reading);
            }
    }
    // The fields of a group, as one field holding an object of them. The
    // group, like every record a field refers to, lives as long as the program.
    Field as(const char* key) const
    {
        const TSaveRecord* self = this;
        return {
            key, [self](const Record& r, out_json& out) { self->write(r, out); },
            [self](Record& r, const json& v, const std::string& w, Reading& reading) { self->read(r, v, w, reading); }};
    }

private:
    std::vector<Field> fields;
    bool list;
};

// The kinds of field. Each takes its key (none in a record kept as a list)
// and the member of the record `R` it keeps, then its limits.
namespace save {

template <class R>
using Field = typename TSaveRecord<R>::Field;
using json = nlohmann::json;
using out_json = nlohmann::ordered_json;

// Places on the farm.
inline constexpr float minX = TFarmSave::minX, maxX = TFarmSave::maxX, minY = TFarmSave::minY, maxY = TFarmSave::maxY;

inline out_json pair(sf::Vector2f v) { return out_json::array({v.x, v.y}); }

inline sf::Vector2f readPlace(const json& v, const std::string& where)
{
    TSaveCheck::list(v, where, 2);
    return {TSaveCheck::decimal(v[0], TSaveCheck::at(where, 0), minX, maxX),
            TSaveCheck::decimal(v[1], TSaveCheck::at(where, 1), minY, maxY)};
}

template <class R, class T>
Field<R> decimal(const char* key, T R::* m, float lo, float hi)
{
    return {
        key, [m](const R& r, out_json& o) { o = r.*m; },
        [m, lo, hi](R& r, const json& v, const std::string& w, auto&) { r.*m = TSaveCheck::decimal(v, w, lo, hi); }};
}
template <class R>
Field<R> count(const char* key, int R::* m, double lo, double hi)
{
    return {key, [m](const R& r, out_json& o) { o = r.*m; },
            [m, lo, hi](R& r, const json& v, const std::string& w, auto&) { r.*m = TSaveCheck::count(v, w, lo, hi); }};
}
template <class R>
Field<R> oneOf(const char* key, int R::* m, std::span<const int> allowed)
{
    return {
        key, [m](const R& r, out_json& o) { o = r.*m; },
        [m, all = std::vector<int>(allowed.begin(), allowed.end())](R& r, const json& v, const std::string& w, auto&) {
            const int value = TSaveCheck::count(v, w, -1000.0, 1000.0);
            if (std::find(all.begin(), all.end(), value) == all.end())
                TSaveCheck::refuse(w, TSaveCheck::shown(v) + " has no meaning here");
            r.*m = value;
        }};
}
template <class R>
Field<R> oneOf(const char* key, int R::* m, std::initializer_list<int> allowed)
{
    return oneOf(key, m, std::span<const int>(allowed.begin(), allowed.size()));
}
template <class R>
Field<R> flag(const char* key, bool R::* m)
{
    return {key, [m](const R& r, out_json& o) { o = r.*m; },
            [m](R& r, const json& v, const std::string& w, auto&) { r.*m = TSaveCheck::flag(v, w); }};
}
template <class R>
Field<R> place(const char* key, sf::Vector2f R::* m)
{
    return {key, [m](const R& r, out_json& o) { o = pair(r.*m); },
            [m](R& r, const json& v, const std::string& w, auto&) { r.*m = readPlace(v, w); }};
}
// One coordinate of a place, in a record kept as a list.
template <class R>
Field<R> placeX(sf::Vector2f R::* m)
{
    return {
        nullptr, [m](const R& r, out_json& o) { o = (r.*m).x; },
        [m](R& r, const json& v, const std::string& w, auto&) { (r.*m).x = TSaveCheck::decimal(v, w, minX, maxX); }};
}
template <class R>
Field<R> placeY(sf::Vector2f R::* m)
{
    return {
        nullptr, [m](const R& r, out_json& o) { o = (r.*m).y; },
        [m](R& r, const json& v, const std::string& w, auto&) { (r.*m).y = TSaveCheck::decimal(v, w, minY, maxY); }};
}
// A vector within +-limit on both axes.
template <class R>
Field<R> vector(const char* key, sf::Vector2f R::* m, float limit)
{
    return {key, [m](const R& r, out_json& o) { o = pair(r.*m); },
            [m, limit](R& r, const json& v, const std::string& w, auto&) {
                TSaveCheck::list(v, w, 2);
                r.*m = {TSaveCheck::decimal(v[0], TSaveCheck::at(w, 0), -limit, limit),
                        TSaveCheck::decimal(v[1], TSaveCheck::at(w, 1), -limit, limit)};
            }};
}
// A rectangle of whole numbers in 0..hi, as [left, top, width, height].
template <class R>
Field<R> rect(const char* key, sf::IntRect R::* m, double hi)
{
    return {key,
            [m](const R& r, out_json& o) {
                const sf::IntRect& q = r.*m;
                o = out_json::array({q.position.x, q.position.y, q.size.x, q.size.y});
            },
            [m, hi](R& r, const json& v, const std::string& w, auto&) {
                TSaveCheck::list(v, w, 4);
                int q[4];
                for (std::size_t k = 0; k < 4; ++k)
                    q[k] = TSaveCheck::count(v[k], TSaveCheck::at(w, k), 0.0, hi);
                r.*m = sf::IntRect({q[0], q[1]}, {q[2], q[3]});
            }};
}
// A fixed number of whole numbers in lo..hi, from an array or from members side by side.
template <class R, std::size_t N>
Field<R> counts(const char* key, std::array<int, N> R::* m, double lo, double hi)
{
    return {key,
            [m](const R& r, out_json& o) {
                o = out_json::array();
                for (int v : r.*m)
                    o.push_back(v);
            },
            [m, lo, hi](R& r, const json& v, const std::string& w, auto&) {
                TSaveCheck::list(v, w, N);
                for (std::size_t k = 0; k < N; ++k)
                    (r.*m)[k] = TSaveCheck::count(v[k], TSaveCheck::at(w, k), lo, hi);
            }};
}
template <class R>
Field<R> counts(const char* key, std::initializer_list<int R::*> members, double lo, double hi)
{
    return {key,
            [ms = std::vector<int R::*>(members)](const R& r, out_json& o) {
                o = out_json::array();
                for (int R::* m : ms)
                    o.push_back(r.*m);
            },
            [ms = std::vector<int R::*>(members), lo, hi](R& r, const json& v, const std::string& w, auto&) {
                TSaveCheck::list(v, w, ms.size());
                for (std::size_t k = 0; k < ms.size(); ++k)
                    r.*ms[k] = TSaveCheck::count(v[k], TSaveCheck::at(w, k), lo, hi);
            }};
}
template <class R, std::size_t N>
Field<R> decimals(const char* key, std::array<float, N> R::* m, float lo, float hi)
{
    return {key,
            [m](const R& r, out_json& o) {
                o = out_json::array();
                for (float v : r.*m)
                    o.push_back(v);
            },
            [m, lo, hi](R& r, const json& v, const std::string& w, auto&) {
                TSaveCheck::list(v, w, N);
                for (std::size_t k = 0; k < N; ++k)
                    (r.*m)[k] = TSaveCheck::decimal(v[k], TSaveCheck::at(w, k), lo, hi);
            }};
}
template <class R, std::size_t N>
Field<R> places(const char* key, std::array<sf::Vector2f, N> R::* m)
{
    return {key,
            [m](const R& r, out_json& o) {
                o = out_json::array();
                for (sf::Vector2f v : r.*m)
                    o.push_back(pair(v));
            },
            [m](R& r, const json& v, const std::string& w, auto&) {
                TSaveCheck::list(v, w, N);
                for (std::size_t k = 0; k < N; ++k)
                    (r.*m)[k] = readPlace(v[k], TSaveCheck::at(w, k));
            }};
}
// A record inside a record, a fixed number of them, or a list of any length.
template <class R, class S>
Field<R> record(const char* key, S R::* m, const TSaveRecord<S>& kind)
{
    return {key, [m, &kind](const R& r, out_json& o) { kind.write(r.*m, o); },
            [m, &kind](R& r, const json& v, const std::string& w, auto& reading) { kind.read(r.*m, v, w, reading); }};
}
template <class R, class S, std::size_t N>
Field<R> records(const char* key, std::array<S, N> R::* m, const TSaveRecord<S>& kind)
{
    return {key,
            [m, &kind](const R& r, out_json& o) {
                o = out_json::array();
                o.get_ref<out_json::array_t&>().reserve((r.*m).size());
                for (const S& s : r.*m)
                    kind.write(s, o.emplace_back());
            },
            [m, &kind](R& r, const json& v, const std::string& w, auto& reading) {
                TSaveCheck::list(v, w, N);
                for (std::size_t k = 0; k < N; ++k)
                    kind.read((r.*m)[k], v[k], TSaveCheck::at(w, k), reading);
            }};
}
template <class R, class S>
Field<R> records(const char* key, std::vector<S> R::* m, const TSaveRecord<S>& kind)
{
    return {key,
            [m, &kind](const R& r, out_json& o) {
                o = out_json::array();
                o.get_ref<out_json::array_t&>().reserve((r.*m).size());
                for (const S& s : r.*m)
                    kind.write(s, o.emplace_back());
            },
            [m, &kind](R& r, const json& v, const std::string& w, auto& reading) {
                TSaveCheck::anyList(v, w);
                (r.*m).resize(v.size());
                for (std::size_t k = 0; k < v.size(); ++k)
                    kind.read((r.*m)[k], v[k], TSaveCheck::at(w, k), reading);
            }};
}

} // namespace save

namespace save {

// A decimal from lo up to another member's value, read after that member.
template <class R>
Field<R> decimalUpTo(const char* key, float R::* m, float lo, float R::* hi)
{
    Field<R> f{
        key, [m](const R& r, out_json& o) { o = r.*m; },
        [m, lo, hi](R& r, const json& v, const std::string& w, auto&) { r.*m = TSaveCheck::decimal(v, w, lo, r.*hi); }};
    f.late = true;
    return f;
}
// A field that files from before `format` do not have.
template <class F>
F since(int format, F f)
{
    f.since = format;
    return f;
}

} // namespace save
