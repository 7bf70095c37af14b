// What counts as a number in command arguments, and how values round.
#include "commands/Numeric.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

TEST(Numeric, WholeTextAndLeadingNumber) {
    const struct {
        const char* text;
        bool numeric;
        double leading;
    } cases[] = {{" +5 ", true, 5},      {".5", true, 0.5},  {"-.5e1", true, -5}, {"1e", false, 1},
                 {"2.6abc", false, 2.6}, {"&H10", false, 0}, {"$5", false, 0},    {"1,5", false, 1},
                 {"- 5", false, 0},      {"", false, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(isNumeric(c.text), c.numeric) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.leading) << '"' << c.text << '"';
    }
}

TEST(Numeric, RoundsHalvesToEven) {
    for (const auto& [value, rounded] :
         {std::pair{2.5, 2LL}, {3.5, 4LL}, {0.5, 0LL}, {2.6, 3LL}, {-1.5, -2LL}, {-2.6, -3LL}})
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

} // namespace
} // namespace hh
