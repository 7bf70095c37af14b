#include "commands/Numeric.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace hh {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Scan {
    std::size_t end = 0; // index after the number; 0 when there is none
    double value = 0.0;
};

// Scans the number at the start of `text` (after leading blanks).
Scan scanNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return {};
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            negativeExponent = text[j++] == '-';
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    // from_chars takes no '+' and no leading '.', so give it a clean copy.
    std::string body(text.substr(mantissaStart, i - mantissaStart));
    if (body.front() == '.')
        body.insert(body.begin(), '0');
    double magnitude = 0.0;
    const auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), magnitude);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
        magnitude = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    return {i, negative ? -magnitude : magnitude};
}

} // namespace

std::optional<double> numericValue(std::string_view text) {
    const Scan scan = scanNumber(text);
    if (scan.end == 0)
        return std::nullopt;
    for (std::size_t i = scan.end; i < text.size(); ++i)
        if (text[i] != ' ')
            return std::nullopt;
    return scan.value;
}

double leadingNumber(std::string_view text) {
    return scanNumber(text).value;
}

std::int64_t roundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kLimit = 9.0e18;
    if (value >= kLimit)
        return static_cast<std::int64_t>(kLimit);
    if (value <= -kLimit)
        return -static_cast<std::int64_t>(kLimit);
    const double floor = std::floor(value);
    const double fraction = value - floor;
    auto result = static_cast<std::int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

} // namespace hh
