#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "text.h"

// The system's linguistically neutral upper case, whatever the user's locale.
Text UpperCase(TextView text) {
    Text upper(text);
    for (auto& c : upper) {
        if (c >= U'a' && c <= U'z') {
            c = c - U'a' + U'A';
        } else if (c >= 0x80 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF)) {
            wchar_t units[2];
            int length = 1;
            if (c < 0x10000) {
                units[0] = static_cast<wchar_t>(c);
            } else {
                units[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
                units[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
                length = 2;
            }
            wchar_t mapped[2];
            if (::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, units, length, mapped, 2, nullptr, nullptr,
                                0) == length)
                c = length == 1 ? char32_t{mapped[0]}
                                : 0x10000 + ((char32_t{mapped[0]} - 0xD800) << 10) + (char32_t{mapped[1]} - 0xDC00);
        }
    }
    return upper;
}
