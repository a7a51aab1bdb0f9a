#include <emscripten.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "text/number_text.h"

// Number forms in the browser, where the C library's printf is slow: the
// shortest form of a double from the JavaScript engine's own formatting, and
// the rounding to a number of digits in one multiplication wherever that is
// exact, which it is for every value of single precision the reports show.
namespace {

// clang-format off
EM_JS(int, veltrax_shortest, (double value, char* buffer), {
    const text = value.toExponential();  // ASCII, at most 24 characters
    for (let i = 0; i < text.length; ++i) HEAPU8[buffer + i] = text.charCodeAt(i);
    return text.length;
});
// clang-format on

using number_text::kPowersOfTen;

// Significant bits of the value, trailing zeros not counted.
int SignificantBits(double value) {
    int exponent = 0;
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(std::frexp(std::fabs(value), &exponent), 53));
    return 64 - std::countl_zero(mantissa) - std::countr_zero(mantissa);
}

// value × 10^scale is exact when its significant bits and those of 5^scale
// fit a double's 53 (the power of two in 10^scale costs nothing).
bool ScalesExactly(int significantBits, int scale) {
    if (scale < 0 || scale > 22) return false;
    std::uint64_t five = 1;
    for (int i = 0; i < scale; ++i) five *= 5;
    return significantBits + static_cast<int>(std::bit_width(five)) <= 53;
}

// "d.ddde+XX" from the digits of a whole number of precision + 1 digits.
std::size_t Written(bool negative, std::uint64_t digits, int exponent, char* buffer) {
    char text[24];
    char* const end = std::to_chars(text, text + sizeof text, digits).ptr;
    char* out = buffer;
    if (negative) *out++ = '-';
    *out++ = text[0];
    if (end - text > 1) {
        *out++ = '.';
        out = std::copy(text + 1, end, out);
    }
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int power = exponent < 0 ? -exponent : exponent;
    if (power < 10) *out++ = '0';
    out = std::to_chars(out, buffer + number_text::kBufferSize, power).ptr;
    return static_cast<std::size_t>(out - buffer);
}

}  // namespace

namespace number_text {

std::size_t Scientific(double value, int precision, char* buffer) {
    if (std::isfinite(value) && value != 0 && precision >= 0 && precision < 16) {
        const int bits = SignificantBits(value);
        const double magnitude = std::fabs(value);
        const double lowest = kPowersOfTen[precision];  // the rounded digits lie in [lowest, 10 × lowest)
        int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
        // log10 may be one off; a rounding up to the next power of ten moves the exponent too.
        for (int attempt = 0; attempt < 3 && ScalesExactly(bits, precision - exponent); ++attempt) {
            const double digits = std::nearbyint(magnitude * kPowersOfTen[precision - exponent]);
            if (digits >= 10 * lowest) {
                ++exponent;
            } else if (digits < lowest) {
                --exponent;
            } else {
                return Written(value < 0, static_cast<std::uint64_t>(digits), exponent, buffer);
            }
        }
    }
    const int length = std::snprintf(buffer, kBufferSize, "%.*e", precision, value);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

std::size_t RoundTripScientific(double value, char* buffer) {
    return static_cast<std::size_t>(veltrax_shortest(value, buffer));
}

// Nothing shorter is at hand than the rounding itself.
std::size_t RoundTripScientific(float, char*) { return 0; }

}  // namespace number_text
