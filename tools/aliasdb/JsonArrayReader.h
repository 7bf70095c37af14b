#pragma once
// Request bodies that are JSON arrays of flat objects ([{"guid": "...", ...}, ...]),
// read as a stream of parser events: each object is handed on as soon as it is
// complete and then forgotten, and the read stops at the first element past a
// cap. A hostile body therefore costs its own bytes and one object, never a
// document tree of half a million values.
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hh::aliasdb {

struct JsonField {
    std::string name;
    std::optional<std::string> text; // the value when it is a string
};
using JsonObject = std::vector<JsonField>; // in document order, names unique

const JsonField* findField(const JsonObject& object, std::string_view name);
// "" when every field is one of `allowed` and a string, else the reason.
std::string checkStringFields(const JsonObject& object,
                              std::initializer_list<std::string_view> allowed);

struct ArrayRules {
    std::string noun;          // for the reasons: "expected a JSON array of <noun>"
    std::size_t maxObjects;    // the element after this many refuses the body
    std::size_t maxFieldBytes; // a longer string value refuses the body
};

// Returns "" when every element was accepted, else the reason for a 400:
// "malformed JSON at byte N: ...", "entry N: ..." (1-based), or the array's
// own shape or size. `onObject` gets each element in turn and returns "" to
// go on or its reason to stop (which the reader prefixes with "entry N: ").
std::string readObjectArray(std::string_view json, const ArrayRules& rules,
                            const std::function<std::string(const JsonObject&)>& onObject);

} // namespace hh::aliasdb
