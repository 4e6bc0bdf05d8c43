// The save's text: numbers written as the farm holds them, keys in the order
// they were put in, and the limits that stop a hostile file while it is read.
#include "world/TSaveText.hpp"

#include "world/TSaveCheck.hpp"

#include <catch2/catch_test_macros.hpp>

#include <cmath>
#include <limits>
#include <string>

using nlohmann::ordered_json;

namespace {

std::string written(const ordered_json& v) { return TSaveText::write(v); }

// The refusal the reading stops with, "" when it reads, or "not JSON".
std::string readAnswer(const std::string& text)
{
    try {
        TSaveText::read(text, {{"hens", 3}});
        return "";
    } catch (const TSaveCheck::Refusal& r) {
        return r.what();
    } catch (const nlohmann::json::parse_error&) {
        return "not JSON";
    }
}

} // namespace

TEST_CASE("a float is written as the shortest text that reads back as it", "[world][save]")
{
    const float third = 1.f / 3.f;
    const struct {
        double value;
        const char* text;
    } rows[] = {
        {0.1f, "0.1"},
        {0.0, "0.0"},
        {-0.0, "-0.0"},
        {1360.54f, "1360.54"},
        {1e10f, "1e+10"},
        {third, "0.33333334"},
        {std::numeric_limits<float>::denorm_min(), "1e-45"},
        {std::numeric_limits<float>::max(), "3.4028235e+38"},
        {0.1, "0.1"}, // not a float: the double's own shortest text
        {1.0 / 3.0, "0.3333333333333333"},
        {std::nan(""), "null"},
        {std::numeric_limits<double>::infinity(), "null"},
    };
    for (const auto& row : rows) {
        INFO(row.text);
        CHECK(written(ordered_json(row.value)) == std::string(row.text) + "\n");
    }
}

TEST_CASE("values are written compactly with keys in their order", "[world][save]")
{
    ordered_json farm;
    farm["zebra"] = 1;
    farm["apple"] = ordered_json::array({-2, true, nullptr, "henhouse 1.0", 2.5f});
    farm["mid"] = ordered_json::object();
    farm["big"] = 18446744073709551615u;
    CHECK(written(farm)
          == "{\"zebra\":1,\"apple\":[-2,true,null,\"henhouse 1.0\",2.5],\"mid\":{},"
             "\"big\":18446744073709551615}\n");
}

TEST_CASE("reading stops at the first limit a farm never reaches", "[world][save]")
{
    std::string wideObject = "{";
    for (int k = 0; k < 65; ++k)
        wideObject += (k ? ",\"k" : "\"k") + std::to_string(k) + "\":0";
    wideObject += "}";
    const struct {
        std::string text, answer;
    } rows[] = {
        {R"({"hens":[1,2,3]})", ""},
        {R"({"hens":[1,2,3,4]})", "hens: more than 3 entries"},
        {R"({"other":[1,2,3,4]})", ""},
        {R"({"a":{"hens":[[1,2,3,4],[]]}})", ""},
        {R"({"a":{"hens":[[],[],[],[]]}})", "hens: more than 3 entries"},
        {R"([1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16])", ""},
        {R"([1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17])", "a list: more than 16 entries"},
        {R"({"x":[[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17]]})", "a list: more than 16 entries"},
        {wideObject, "an object has more than 64 entries"},
        {R"({"a":1,"b":{"a":2},"c":3})", ""},
        {R"({"a":1,"b":2,"a":3})", "the key \"a\" stands twice in one object"},
        {R"([[[[[[]]]]]])", ""},
        {R"([[[[[[[]]]]]]])", "the file nests deeper than a farm does"},
        {R"([[[[[[[)", "the file nests deeper than a farm does"},
        {R"({"hens":[1,2,3,4)", "hens: more than 3 entries"},
        {R"({"hens":[1,2,)", "not JSON"},
    };
    for (const auto& row : rows) {
        INFO(row.text);
        CHECK(readAnswer(row.text) == row.answer);
    }
}
