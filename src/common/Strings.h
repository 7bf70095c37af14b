#pragma once
// Byte-string helpers. Text to and from the game is 8-bit and never
// re-encoded, so case changes touch ASCII letters only.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace hh {

std::string toLower(std::string_view s);
std::string toUpper(std::string_view s);
// Removes leading and trailing blanks (spaces only, as the game's texts expect).
std::string trimBlanks(std::string_view s);
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);
bool contains(std::string_view haystack, std::string_view needle);
bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);
// Splits at the first blank: word before it, the rest after it (further
// blanks stay in the rest). Without a blank: all word, empty rest.
std::pair<std::string, std::string> splitAtFirstBlank(std::string_view line);
// A query value with everything but unreserved characters percent-encoded,
// so text from the dump cannot add parameters or change a request's path.
std::string percentEncoded(std::string_view value);
// Text after the last occurrence of `sep`, or the whole text without one.
std::string afterLast(std::string_view s, char sep);
// The parts joined, in one allocation. Use it where a string literal would
// be followed by "+ a temporary string": GCC 12 at -O3 wrongly reports that
// form as overlapping copies (-Wrestrict).
std::string concat(std::initializer_list<std::string_view> parts);

} // namespace hh
