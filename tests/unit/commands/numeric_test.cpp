// What counts as a number in command arguments.
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

} // namespace
} // namespace hh
