#include <locale.h>
#include <wctype.h>

#include "text.h"

namespace {

// The Unicode case mapping of the C library, independent of the user's
// locale. Where no UTF-8 locale exists, the Latin letters alone are mapped.
locale_t CaseLocale() {
    static const locale_t locale = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"})
            if (const locale_t found = ::newlocale(LC_CTYPE_MASK, name, locale_t{})) return found;
        return locale_t{};
    }();
    return locale;
}

}  // namespace

Text UpperCase(TextView text) {
    static_assert(sizeof(wchar_t) == sizeof(char32_t));
    const locale_t locale = CaseLocale();
    Text upper(text);
    for (auto& c : upper) {
        if (c >= U'a' && c <= U'z')
            c = c - U'a' + U'A';
        else if (c >= 0x80 && locale)
            c = static_cast<char32_t>(::towupper_l(static_cast<wint_t>(c), locale));
    }
    return upper;
}
