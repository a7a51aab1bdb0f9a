#include <cstdio>

#include "number_text.h"

// Writing for a C++ library without the floating-point forms of <charconv>:
// the C library's printf, which rounds correctly where it is musl or glibc.
namespace number_text {

std::size_t Scientific(double value, int precision, char* buffer) {
    const int length = std::snprintf(buffer, kBufferSize, "%.*e", precision, value);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

// Nine significant digits read back as any float, seventeen as any double.
std::size_t RoundTripScientific(double value, char* buffer) { return Scientific(value, 16, buffer); }
std::size_t RoundTripScientific(float value, char* buffer) { return Scientific(static_cast<double>(value), 8, buffer); }

}  // namespace number_text
