#include "analysis/number_reader.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ReadDigit, ReadsOneNumberAndStopsOnItsLastCharacter) {
    const struct {
        const char32_t* text;
        TextPosition from;
        double value;
        TextPosition to;
    } rows[] = {
        {U"12", 0, 12, 2},       {U"12abc", 0, 12, 2},     {U"1,5", 0, 1.5, 3},       {U"1.5", 0, 1.5, 3},
        {U"1,5,2", 0, 1.5, 5},   {U"1.5,2", 0, 1.5, 5},    {U"1,234.5", 0, 1.234, 7}, {U"1.2.3", 0, 1.2, 5},
        {U".5", 0, 0.5, 2},      {U",5", 0, 0.5, 2},       {U"5.", 0, 5, 2},          {U"-3", 0, -3, 2},
        {U"+3", 0, 3, 2},        {U"11.19%", 0, 11.19, 5}, {U"%", 0, 0, 1},           {U"a1", 0, 0, 2},
        {U"", 0, 0, 1},          {U"H12O", 1, 12, 3},      {U" 5", 0, 5, 2},          {U"-", 0, 0, 1},
        {U"(OH)2.5", 4, 2.5, 7}, {U"12", 5, 0, 6},  // past the end: nothing read, the position still moves
    };
    for (const auto& row : rows) {
        TextPosition position = row.from;
        EXPECT_EQ(ReadDigit(row.text, position), row.value) << ToUtf8(row.text);
        EXPECT_EQ(position, row.to) << ToUtf8(row.text);
    }
}

TEST(ReadDigit, ASignWithoutADigitReadsAsPositiveZero) {
    for (const char32_t* text : {U"-", U"--", U"-%", U"-.", U"-,", U"+", U"-a"}) {
        TextPosition position = 0;
        EXPECT_FALSE(std::signbit(ReadDigit(text, position))) << ToUtf8(text);
    }
    TextPosition position = 0;
    EXPECT_TRUE(std::signbit(ReadDigit(U"-0", position)));  // a digit was read
}

TEST(ReadDigit, ReadsHugeRunsOfDigitsWithoutFailing) {
    const Text digits(400, U'9');
    TextPosition position = 0;
    EXPECT_EQ(ReadDigit(digits, position), HUGE_VAL);
    EXPECT_EQ(position, 400u);
    const Text tiny = U"0." + Text(400, U'0') + U"1";
    position = 0;
    EXPECT_EQ(ReadDigit(tiny, position), 0);
    const Text wide = U"H" + Text(40000, U'1');  // beyond any 16-bit position
    position = 1;
    EXPECT_GT(ReadDigit(wide, position), 1e300);
    EXPECT_EQ(position, 40001u);
}

TEST(PrecisionOfEntry, ReadsEveryEntryOfTheListAndNothingBeyond) {
    for (int places = 0; places <= 14; ++places)
        EXPECT_EQ(PrecisionOfEntry(WholeNumberText(static_cast<std::size_t>(places))), places);
    for (const TextView outside : {U"15", U"-1", U"x", U""}) EXPECT_EQ(PrecisionOfEntry(outside), 0) << ToUtf8(outside);
    EXPECT_EQ(ConvertNumberText(U" \t\n"), 0);  // blanks to the very end
}
