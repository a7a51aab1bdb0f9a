#include "numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

float ToSingle(double value) {
    // Half an ulp above the largest float: from here on the nearest float is infinity.
    constexpr double kOverflow = 0x1.ffffffp127;
    if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
    if (value >= kOverflow) return std::numeric_limits<float>::infinity();
    if (value <= -kOverflow) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

double RoundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which the program never
    // changes from round-to-nearest-even.
    return std::nearbyint(value);
}

double RoundToPlaces(double value, int places) {
    // Past 2^52 every double is already whole, and the scaling could overflow.
    if (!std::isfinite(value) || std::fabs(value) >= 0x1p52 || places < 0) return value;
    const double scale = std::pow(10.0, places);  // exact for the 0 to 22 places in use
    return RoundHalfEven(value * scale) / scale;
}

Text FormatGeneral(double value, int digits, char32_t separator) {
    if (std::isnan(value)) return U"NaN";
    if (std::isinf(value)) return value > 0 ? U"∞" : U"-∞";
    if (value == 0) return U"0";

    std::array<char, 64> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific, digits - 1);
    const std::string scientific(buffer.data(), result.ptr);  // "-d.ddde+XX"
    const std::size_t e = scientific.find('e');
    const bool negative = scientific.front() == '-';
    std::string mantissa;  // the significant digits without the point
    for (std::size_t i = negative ? 1 : 0; i < e; ++i)
        if (scientific[i] != '.') mantissa.push_back(scientific[i]);
    int exponent = 0;
    std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1), scientific.data() + scientific.size(),
                    exponent);
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    Text text;
    if (negative) text.push_back(U'-');
    auto append = [&text](std::string_view ascii) {
        for (char c : ascii) text.push_back(static_cast<char32_t>(c));
    };
    if (exponent < -4 || exponent >= digits) {
        text.push_back(static_cast<char32_t>(mantissa[0]));
        if (mantissa.size() > 1) {
            text.push_back(separator);
            append(std::string_view(mantissa).substr(1));
        }
        text.push_back(U'E');
        text.push_back(exponent < 0 ? U'-' : U'+');
        const std::string power = std::to_string(std::abs(exponent));
        if (power.size() < 2) text.push_back(U'0');
        append(power);
    } else if (exponent < 0) {
        text += U"0";
        text.push_back(separator);
        text.append(static_cast<std::size_t>(-exponent - 1), U'0');
        append(mantissa);
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= whole) {
            append(mantissa);
            text.append(whole - mantissa.size(), U'0');
        } else {
            append(std::string_view(mantissa).substr(0, whole));
            text.push_back(separator);
            append(std::string_view(mantissa).substr(whole));
        }
    }
    return text;
}

Text FormatShort(float value) {
    const Text number = FormatGeneral(value, kSingleDigits, U'.');
    return number.front() == U'-' ? number : Text(U" ") + number;
}

double DivideOrInfinity(double a, double b) {
    if (b != 0) return a / b;
    if (a == 0 || std::isnan(a) || std::isnan(b)) return std::numeric_limits<double>::quiet_NaN();
    const bool negative = std::signbit(a) != std::signbit(b);
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}
