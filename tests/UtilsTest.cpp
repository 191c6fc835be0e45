#include "core/Utils.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace {
std::string textOf(int value) {
    char* text = intToString(value);
    std::string copy = text;
    std::free(text);
    return copy;
}

int leadingInt(const char* text) {
    std::string copy = text;
    return c_strToInt(&copy[0]);
}
} // namespace

TEST(Conversions, IntToStringWritesPlainDecimal) {
    EXPECT_EQ("0", textOf(0));
    EXPECT_EQ("-42", textOf(-42));
    EXPECT_EQ("2147483647", textOf(INT_MAX));
    EXPECT_EQ("-2147483648", textOf(INT_MIN));
}

TEST(Conversions, ReadsTheLeadingInteger) {
    EXPECT_EQ(17, leadingInt("  17abc"));
    EXPECT_EQ(-5, leadingInt("-5"));
    EXPECT_EQ(8, leadingInt("+8"));
    EXPECT_EQ(300, stringToInt("300"));
    EXPECT_EQ(12, stringToInt("\n 12 34"));
    // The blanks are ' ' and '\t' to '\r', as maps saved on Windows end lines with "\r\n".
    EXPECT_EQ(7, leadingInt("\t\v\f\r7"));
    EXPECT_EQ(0, stringToInt("\b7"));
    EXPECT_EQ(0, stringToInt("\x0e"
                             "7"));
    // Always decimal, as "%d" reads: a leading zero is no octal, "0x" no hexadecimal.
    EXPECT_EQ(100, stringToInt("0100"));
    EXPECT_EQ(-10, stringToInt("-010"));
    EXPECT_EQ(9, stringToInt("09"));
    EXPECT_EQ(0, stringToInt("0x1F"));
}

TEST(Conversions, TextWithoutANumberGivesZero) {
    EXPECT_EQ(0, stringToInt(""));
    EXPECT_EQ(0, stringToInt("   "));
    EXPECT_EQ(0, stringToInt("x12"));
    EXPECT_EQ(0, stringToInt("- 5"));
}

TEST(Conversions, NumbersBeyond32BitsSaturate) {
    EXPECT_EQ(INT_MAX, stringToInt("2147483648"));
    EXPECT_EQ(INT_MAX, stringToInt("99999999999999999999999999"));
    EXPECT_EQ(INT_MIN, stringToInt("-2147483649"));
    EXPECT_EQ(INT_MIN, stringToInt("-2147483648"));
}

TEST(Conversions, LongTextsAreCutAt254Characters) {
    // 254 digits of 1 saturate; the digit placed after the cut never counts.
    std::string blanks(253, ' ');
    EXPECT_EQ(7, stringToInt(blanks + "7"));
    EXPECT_EQ(0, stringToInt(std::string(254, ' ') + "7"));
    EXPECT_EQ(0, stringToInt(std::string(100000, ' ') + "7"));
}
