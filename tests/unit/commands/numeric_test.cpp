// What counts as a number in command arguments, and how values round.
#include "commands/Numeric.h"

#include <gtest/gtest.h>

#include <cmath>

namespace hh {
namespace {

TEST(Numeric, WholeTextAndLeadingNumber) {
    struct Case {
        const char* text;
        bool numeric;
        double leading;
    };
    const Case cases[] = {
        {"5", true, 5},        {" 5 ", true, 5},       {"+5", true, 5},     {"-5", true, -5},
        {"2.5", true, 2.5},    {".5", true, 0.5},      {"5.", true, 5},     {"1e2", true, 100},
        {"1E+2", true, 100},   {"15e-1", true, 1.5},   {"-.5e1", true, -5}, {"1e", false, 1},
        {"1.2.3", false, 1.2}, {"2.6abc", false, 2.6}, {"&H10", false, 0},  {"$5", false, 0},
        {"1,5", false, 1},     {"abc", false, 0},      {"", false, 0},      {" ", false, 0},
        {".", false, 0},       {"e5", false, 0},       {"- 5", false, 0},   {"5 5", false, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isNumeric(c.text), c.numeric) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.leading) << '"' << c.text << '"';
        if (c.numeric) {
            EXPECT_DOUBLE_EQ(*numericValue(c.text), c.leading) << c.text;
        }
    }
}

TEST(Numeric, HugeExponentsStayNumbers) {
    EXPECT_TRUE(std::isinf(*numericValue("1e999")));
    EXPECT_EQ(*numericValue("1e-999"), 0.0);
}

TEST(Numeric, RoundsHalvesToEven) {
    struct Case {
        double value;
        long long rounded;
    };
    for (const Case& c : {Case{2.5, 2}, Case{3.5, 4}, Case{0.5, 0}, Case{2.6, 3}, Case{2.4, 2},
                          Case{-0.5, 0}, Case{-1.5, -2}, Case{-2.6, -3}, Case{7, 7}})
        EXPECT_EQ(roundHalfEven(c.value), c.rounded) << c.value;
    EXPECT_EQ(roundHalfEven(NAN), 0);
    EXPECT_GT(roundHalfEven(1e300), 0);
}

} // namespace
} // namespace hh
