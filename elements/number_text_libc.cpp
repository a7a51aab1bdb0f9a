#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "number_text.h"

// For a C++ library without the floating-point forms of <charconv>: the C
// library's printf and strtod, which round correctly where it is musl or glibc.
namespace number_text {

std::size_t Scientific(double value, int precision, char* buffer) {
    const int length = std::snprintf(buffer, kBufferSize, "%.*e", precision, value);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

// Nine significant digits read back as any float, seventeen as any double.
std::size_t RoundTripScientific(double value, char* buffer) { return Scientific(value, 16, buffer); }
std::size_t RoundTripScientific(float value, char* buffer) { return Scientific(static_cast<double>(value), 8, buffer); }

bool ReadFixed(std::string_view text, double& value) {
    const std::string number(text);
    errno = 0;
    const double read = std::strtod(number.c_str(), nullptr);
    // glibc and musl also flag a subnormal result; only zero and infinity
    // stand for a number out of range.
    if (errno == ERANGE && (read == 0 || std::isinf(read))) return false;
    value = read;
    return true;
}

}  // namespace number_text
