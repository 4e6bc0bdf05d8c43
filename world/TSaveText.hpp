#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>

// The save's text and back. Written from a tree of values in the order its
// keys were put in, compactly, with every number as the farm holds it: a
// float as the shortest decimal that reads back as that float. Read with the
// farm's limits enforced while the tree is built, so a hostile file is
// stopped before it grows a huge one: every list and object has a size limit
// (the farm's own lists theirs, any other a small one), nesting is shallow,
// the whole has a value budget and no key stands twice in one object.
class TSaveText {
public:
    struct ListLimit {
        const char* key; // the list is the value of this key
        std::size_t entries;
    };
    static constexpr std::size_t maxObjectEntries = 64;
    static constexpr std::size_t maxOtherListEntries = 16;
    static constexpr std::size_t maxDepth = 6;
    static constexpr std::size_t maxValues = 4000000;

    static std::string write(const nlohmann::ordered_json& value);
    // Throws TSaveCheck::Refusal past a limit, nlohmann's parse_error on text
    // that is not JSON.
    static nlohmann::json read(std::string_view text, std::initializer_list<ListLimit> lists);
};
