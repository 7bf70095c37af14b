#pragma once
// A small strict JSON reader (RFC 8259) for request bodies. Strings must be
// valid UTF-8, duplicate member names and nesting past `maxDepth` are
// refused, so any byte string either parses or gets a reason, never a crash.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hh::aliasdb {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text; // a string's value, or a number as written
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members; // in document order

    const JsonValue* member(std::string_view name) const;
};

struct JsonParse {
    std::optional<JsonValue> value;
    std::string error; // "malformed JSON at byte N: ..." when !value
};

JsonParse parseJson(std::string_view text, int maxDepth = 16);

} // namespace hh::aliasdb
