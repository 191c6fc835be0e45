#include "world/LoadWorld.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {
// The land code read from a 1 x 1 map whose one land value is the given text.
int landValue(const std::string& text) {
    const std::string map = "<world>{[1][1]}<land>{[" + text + "]}<element>{[0]}";
    std::FILE* source = fmemopen(const_cast<char*>(map.data()), map.size(), "r");
    LoadWorld::Status status;
    LoadWorld reader("memory.map", status, source);
    std::fclose(source);
    EXPECT_EQ(LoadWorld::LOADED, status) << text;
    return reader.getNext(0);
}
} // namespace

TEST(LoadWorldValueTest, PlainDigitsReadAsDecimal) {
    EXPECT_EQ(0, landValue("0"));
    EXPECT_EQ(7, landValue("007"));
    EXPECT_EQ(100, landValue("0100"));
    EXPECT_EQ(300, landValue("300"));
    EXPECT_EQ(123456789, landValue("123456789"));
}

TEST(LoadWorldValueTest, LongerOrOtherTextsReadAsStringToIntReadsThem) {
    EXPECT_EQ(1234567890, landValue("1234567890"));
    EXPECT_EQ(INT_MAX, landValue("99999999999"));
    EXPECT_EQ(INT_MIN, landValue("-99999999999"));
    EXPECT_EQ(-5, landValue("-5"));
    EXPECT_EQ(12, landValue(" 12"));
    EXPECT_EQ(12, landValue("+12"));
    EXPECT_EQ(12, landValue("12abc"));
    EXPECT_EQ(0, landValue("abc"));
    EXPECT_EQ(0, landValue(""));
}
