#include "text/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

// Every toolchain's conversions against the C library's, which rounds
// correctly on the platforms this runs on: on random bits, on numbers as the
// reports show them, and on texts as the element file holds them.
namespace {

std::string Written(std::size_t (*write)(double, int, char*), double value, int precision) {
    char buffer[number_text::kBufferSize];
    return {buffer, write(value, precision, buffer)};
}

std::string Printed(double value, int precision) {
    char buffer[number_text::kBufferSize];
    std::snprintf(buffer, sizeof buffer, "%.*e", precision, value);
    return buffer;
}

template <typename T>
bool ReadsBack(T value) {
    char buffer[number_text::kBufferSize];
    const std::size_t length = number_text::RoundTripScientific(value, buffer);
    if (length == 0) return true;  // none offered
    const std::string text(buffer, length);
    if constexpr (sizeof(T) == sizeof(float))
        return std::strtof(text.c_str(), nullptr) == value;
    else
        return std::strtod(text.c_str(), nullptr) == value;
}

}  // namespace

TEST(NumberText, ConversionsAgreeWithTheCorrectlyRoundedCLibrary) {
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<int> precision(0, 16);
    for (int i = 0; i < 200000; ++i) {
        const std::uint64_t bits = random();
        double value = 0;
        switch (i % 4) {
            case 0: {  // any double
                std::memcpy(&value, &bits, sizeof value);
                break;
            }
            case 1: {  // any float
                std::uint32_t single = static_cast<std::uint32_t>(bits);
                float f = 0;
                std::memcpy(&f, &single, sizeof f);
                value = f;
                break;
            }
            case 2:  // a percentage rounded to places, stored in single precision
                value = static_cast<float>(std::nearbyint(static_cast<double>(bits % 10000000) / 7.0) /
                                           std::pow(10.0, static_cast<double>(bits % 8)));
                break;
            default:  // exact ties at every precision
                value = static_cast<double>(bits % 100000) + 0.5;
        }
        if (!std::isfinite(value)) continue;
        const int places = precision(random);
        ASSERT_EQ(Written(number_text::Scientific, value, places), Printed(value, places)) << value << ' ' << places;
        ASSERT_TRUE(ReadsBack(value)) << value;
        ASSERT_TRUE(ReadsBack(static_cast<float>(value))) << value;
    }
}

TEST(NumberText, ReadingAgreesWithTheCorrectlyRoundedCLibrary) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 100000; ++i) {
        std::string text = std::to_string(random() % 1000000000000ULL);
        if (i % 3) text += "." + std::to_string(random()).substr(0, random() % 25);
        if (i % 7 == 0) text = "0." + std::string(random() % 30, '0') + "7";
        double value = -1;
        const double expected = std::strtod(text.c_str(), nullptr);
        ASSERT_TRUE(number_text::ReadFixed(text, value)) << text;
        ASSERT_EQ(value, expected) << text;
    }
    double value = 5;
    EXPECT_FALSE(number_text::ReadFixed("1" + std::string(400, '0'), value));
    EXPECT_FALSE(number_text::ReadFixed("0." + std::string(400, '0') + "1", value));
    EXPECT_EQ(value, 5);
}
