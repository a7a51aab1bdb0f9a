#include "analysis/numbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

TEST(FormatGeneral, WritesTheGeneralNumberForm) {
    const struct {
        double value;
        int digits;
        char32_t separator;
        const char32_t* text;
    } rows[] = {
        {18.01528f, 7, U'.', U"18.01528"},
        {18.01528f, 7, U',', U"18,01528"},
        {40.0, 15, U'.', U"40"},
        {1.00794, 15, U'.', U"1.00794"},
        {0.1 + 0.2, 15, U'.', U"0.3"},
        {99.99999f, 7, U'.', U"99.99999"},
        {100.0f, 7, U'.', U"100"},
        {0.0001, 15, U'.', U"0.0001"},
        {0.00001, 15, U'.', U"1E-05"},
        {0.000012345, 15, U',', U"1,2345E-05"},
        {-0.00001, 7, U'.', U"-1E-05"},
        {1234567.0f, 7, U'.', U"1234567"},
        {12345678.0f, 7, U'.', U"1.234568E+07"},
        {1e15, 15, U'.', U"1E+15"},
        {123456789012345.0, 15, U'.', U"123456789012345"},
        {1e100, 15, U'.', U"1E+100"},
        {-2.5, 15, U',', U"-2,5"},
        {0.0, 15, U'.', U"0"},
        {-0.0, 7, U'.', U"0"},
        {0.05, 7, U'.', U"0.05"},
        {16777216.0f, 7, U'.', U"1.677722E+07"},
        {HUGE_VAL, 7, U'.', U"∞"},
        {-HUGE_VAL, 7, U'.', U"-∞"},
        {std::nan(""), 7, U'.', U"NaN"},
    };
    for (const auto& row : rows) EXPECT_EQ(FormatGeneral(row.value, row.digits, row.separator), row.text) << row.value;
}

// The shortcut through the shortest form must give the text of the value
// rounded digit by digit, for doubles and floats of every size.
TEST(FormatGeneral, EqualsTheDigitByDigitRoundingOnRandomValues) {
    std::mt19937_64 random(42);
    std::uniform_int_distribution<int> exponent(-60, 60);
    std::uniform_real_distribution<double> mantissa(1, 10);
    for (int trial = 0; trial < 100000; ++trial) {
        double value = mantissa(random) * std::pow(10.0, exponent(random));
        if (trial % 3 == 0) value = static_cast<float>(value);
        if (trial % 5 == 0) value = std::round(value * 1000) / 1000;  // few digits, as masses and rounded percentages
        if (trial % 7 == 0) value = -value;
        for (int digits : {kSingleDigits, kDoubleDigits})
            ASSERT_EQ(FormatGeneral(value, digits, U'.'), FormatGeneralExactly(value, digits, U'.'))
                << std::hexfloat << value << " digits " << digits;
    }
    for (const double value : {9.9999999999999995, 99.99999, 1e15, 999999.95, 1e-5, 0.0001, 8.5899345e9})
        for (int digits : {kSingleDigits, kDoubleDigits})
            EXPECT_EQ(FormatGeneral(value, digits, U','), FormatGeneralExactly(value, digits, U','));
}

TEST(FormatShort, PutsABlankBeforeNonNegativeValuesAndAlwaysUsesAPoint) {
    EXPECT_EQ(FormatShort(2.0f), U" 2");
    EXPECT_EQ(FormatShort(1.5f), U" 1.5");
    EXPECT_EQ(FormatShort(1.996f), U" 1.996");
    EXPECT_EQ(FormatShort(1.0003f), U" 1.0003");
    EXPECT_EQ(FormatShort(-1.5f), U"-1.5");
    EXPECT_EQ(FormatShort(0.0f), U" 0");
    EXPECT_EQ(FormatShort(-0.0f), U" 0");
}

TEST(RoundToPlaces, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundToPlaces(12.5, 0), 12);
    EXPECT_EQ(RoundToPlaces(87.5, 0), 88);
    EXPECT_EQ(RoundToPlaces(2.5, 0), 2);
    EXPECT_EQ(RoundToPlaces(3.5, 0), 4);
    EXPECT_EQ(RoundToPlaces(-2.5, 0), -2);
    EXPECT_EQ(RoundToPlaces(0.125, 2), 0.12);  // 12.5 after scaling, exactly
    EXPECT_EQ(RoundToPlaces(11.189834550160185, 2), 11.19);
    EXPECT_EQ(RoundToPlaces(1e300, 14), 1e300);  // no overflow in the scaling
    EXPECT_TRUE(std::isinf(RoundToPlaces(HUGE_VAL, 3)));
}

TEST(ToSingle, RoundsToNearestAndOverflowsToInfinity) {
    EXPECT_EQ(ToSingle(2.01588), 2.01588f);
    EXPECT_EQ(ToSingle(FLT_MAX), FLT_MAX);
    EXPECT_EQ(ToSingle(0x1.fffffefffffffp127), FLT_MAX);
    EXPECT_EQ(ToSingle(0x1.ffffffp127), HUGE_VALF);
    EXPECT_EQ(ToSingle(-0x1.ffffffp127), -HUGE_VALF);
    EXPECT_EQ(ToSingle(-1e300), -HUGE_VALF);
    EXPECT_TRUE(std::isnan(ToSingle(std::nan(""))));
}

TEST(DivideOrInfinity, GivesTheIeeeResultForAZeroDivisor) {
    EXPECT_EQ(DivideOrInfinity(1, 4), 0.25);
    EXPECT_EQ(DivideOrInfinity(5, 0), HUGE_VAL);
    EXPECT_EQ(DivideOrInfinity(-5, 0), -HUGE_VAL);
    EXPECT_EQ(DivideOrInfinity(5, -0.0), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(DivideOrInfinity(0, 0)));
}
