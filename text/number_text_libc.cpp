#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "number_text.h"

// Reading for a C++ library without the floating-point forms of <charconv>:
// the C library's strtod, which rounds correctly where it is musl or glibc.
namespace number_text {

bool ReadFixed(std::string_view text, double& value) {
    // The common short number needs no general conversion: at most 15
    // digits form an exact whole number, at most 22 places an exact power of
    // ten, and one IEEE division of the two rounds correctly.
    std::int64_t whole = 0;
    int digits = 0;
    int places = -1;  // none until the point
    for (const char c : text) {
        if (c == '.') {
            places = 0;
            continue;
        }
        whole = whole * 10 + (c - '0');
        if (whole != 0) ++digits;
        if (places >= 0) ++places;
        if (digits > 15 || places > 22) break;
    }
    if (digits <= 15 && places <= 22) {
        value = static_cast<double>(whole) / kPowersOfTen[places < 0 ? 0 : places];
        return true;
    }
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
