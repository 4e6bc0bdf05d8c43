#pragma once

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <stdexcept>
#include <string>

// A returned value lives in the parsed tree, not in the `where` it was named by.
#if defined(__GNUC__) && !defined(__clang__)
#define HENHOUSE_NOT_FROM_WHERE [[gnu::no_dangling]]
#else
#define HENHOUSE_NOT_FROM_WHERE
#endif

// The checks every value read from a save goes through, each naming the value
// it refuses ("chickens[3].age: ...") and what is wrong with it. A refusal is
// thrown as TSaveCheck::Refusal and ends the reading of the whole file.
class TSaveCheck {
public:
    using json = nlohmann::json;

    struct Refusal : std::runtime_error {
        explicit Refusal(const std::string& what, bool newer = false)
            : std::runtime_error(what)
            , newerFormat(newer)
        {
        }
        bool newerFormat; // the file comes from a later version of the game
    };

    [[noreturn]] static void refuse(const std::string& where, const std::string& what);
    // The value as the file has it, cut short past 40 characters.
    static std::string shown(const json& v);
    static std::string number(double v);
    // "where.key" and "where[i]".
    static std::string inside(const std::string& where, const char* key);
    static std::string at(const std::string& where, std::size_t i);

    HENHOUSE_NOT_FROM_WHERE static const json& member(const json& object, const char* key, const std::string& where);
    HENHOUSE_NOT_FROM_WHERE static const json& list(const json& v, const std::string& where, std::size_t size);
    HENHOUSE_NOT_FROM_WHERE static const json& anyList(const json& v, const std::string& where);

    static float decimal(const json& v, const std::string& where, float lo, float hi);
    static int count(const json& v, const std::string& where, double lo, double hi);
    static int oneOf(const json& v, const std::string& where, std::initializer_list<int> allowed);
    static bool flag(const json& v, const std::string& where);
};
