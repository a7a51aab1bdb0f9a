#include "numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "../text/number_text.h"

namespace {

using number_text::PowerOfTen;

// A value as its significant digits (no trailing zeros) and the decimal
// exponent of the first: -1.25E+03 is {true, "125", 3}.
struct Decimal {
    bool negative = false;
    std::array<char, 32> digit{};  // at most 17 for a double
    std::size_t count = 0;
    int exponent = 0;
    std::string_view digits() const { return {digit.data(), count}; }
};

// Reads a scientific form: "-d.ddde+XX".
Decimal FromScientific(const char* first, const char* last) {
    Decimal decimal;
    decimal.negative = *first == '-';
    if (decimal.negative) ++first;
    const char* e = std::find(first, last, 'e');
    for (const char* c = first; c != e && decimal.count < decimal.digit.size(); ++c)
        if (*c != '.') decimal.digit[decimal.count++] = *c;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), last, decimal.exponent);
    while (decimal.count > 1 && decimal.digit[decimal.count - 1] == '0') --decimal.count;
    return decimal;
}

// The value rounded to `digits` significant digits, exactly.
Decimal RoundedExactly(double value, int digits) {
    std::array<char, number_text::kBufferSize> buffer;
    const std::size_t length = number_text::Scientific(value, digits - 1, buffer.data());
    return FromScientific(buffer.data(), buffer.data() + length);
}

// The same, mostly through the much cheaper short form that reads back as the
// value (of a float where the value is one). When that form has no more
// than `digits` digits and numbers of `digits` digits lie further apart than
// two steps of the value's format, no other number of `digits` digits can be
// nearer to the value, so the shortest form is the rounded one.
Decimal Rounded(double value, int digits) {
    std::array<char, number_text::kBufferSize> buffer;
    const auto single = static_cast<float>(value);
    const bool isSingle = digits <= std::numeric_limits<float>::max_digits10 && static_cast<double>(single) == value;
    const std::size_t length = isSingle ? number_text::RoundTripScientific(single, buffer.data())
                                        : number_text::RoundTripScientific(value, buffer.data());
    if (length == 0) return RoundedExactly(value, digits);  // no short form at hand
    Decimal shortest = FromScientific(buffer.data(), buffer.data() + length);
    if (shortest.count <= static_cast<std::size_t>(digits)) {
        const double magnitude = std::fabs(value);
        const double step =
            isSingle ? static_cast<double>(std::nextafter(std::fabs(single), std::numeric_limits<float>::infinity())) -
                           magnitude
                     : std::nextafter(magnitude, std::numeric_limits<double>::infinity()) - magnitude;
        // Numbers of `digits` digits lie 10^(exponent - digits + 1) apart, and
        // ten times closer just below a power of ten.
        const int belowPowerOfTen = shortest.digits() == "1" ? 1 : 0;
        if (2 * step < PowerOfTen(shortest.exponent - digits + 1 - belowPowerOfTen)) return shortest;
    }
    return RoundedExactly(value, digits);
}

Text Written(const Decimal& decimal, int digits, char32_t separator) {
    const std::string_view mantissa = decimal.digits();
    const int exponent = decimal.exponent;
    Text text;
    text.reserve(mantissa.size() + 8);
    if (decimal.negative) text.push_back(U'-');
    auto append = [&text](std::string_view ascii) {
        for (char c : ascii) text.push_back(static_cast<char32_t>(c));
    };
    if (exponent < -4 || exponent >= digits) {
        text.push_back(static_cast<char32_t>(mantissa[0]));
        if (mantissa.size() > 1) {
            text.push_back(separator);
            append(mantissa.substr(1));
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
            append(mantissa.substr(0, whole));
            text.push_back(separator);
            append(mantissa.substr(whole));
        }
    }
    return text;
}

Text Special(double value) {
    if (std::isnan(value)) return U"NaN";
    if (std::isinf(value)) return value > 0 ? U"∞" : U"-∞";
    return U"0";
}

}  // namespace

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
    const double scale = PowerOfTen(places);  // exact for the 0 to 22 places in use
    return RoundHalfEven(value * scale) / scale;
}

Text FormatGeneral(double value, int digits, char32_t separator) {
    if (!std::isfinite(value) || value == 0) return Special(value);
    return Written(Rounded(value, digits), digits, separator);
}

Text FormatGeneralExactly(double value, int digits, char32_t separator) {
    if (!std::isfinite(value) || value == 0) return Special(value);
    return Written(RoundedExactly(value, digits), digits, separator);
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
