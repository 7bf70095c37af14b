#pragma once
// How command arguments count as numbers. One rule for every command:
//   optional blanks, optional sign, digits with at most one decimal point
//   (at least one digit), optional exponent: e or E, optional sign, digits;
//   then optional blanks. "1e2" is numeric (100); "&H10", "$5", "1,5" and
//   "1e" are not. Parsing never depends on the process locale.
#include <cstdint>
#include <optional>
#include <string_view>

namespace hh {

// The value of `text` when all of it is numeric, else nullopt.
std::optional<double> numericValue(std::string_view text);
inline bool isNumeric(std::string_view text) {
    return numericValue(text).has_value();
}

// The value of the number that `text` starts with (after blanks); 0 when it
// starts with none. "2.6abc" gives 2.6, "abc" gives 0.
double leadingNumber(std::string_view text);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Values beyond the 64-bit range are clamped.
std::int64_t roundHalfEven(double value);

} // namespace hh
