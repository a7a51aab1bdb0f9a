#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "../text/text.h"

// What the analysis core sees of the platform. The window implements these
// with its controls; tests use recording doubles.

// A multi-line text box whose whole text is read and replaced as one string,
// lines separated by CR LF.
class OutputTextBox {
public:
    virtual ~OutputTextBox() = default;
    virtual Text GetText() const = 0;
    virtual void SetText(const Text& text) = 0;
};

// The report box keeps at most this many characters (UTF-16 code units, as
// the shells count them): far more than any report (702 records at the most)
// or composition needs, so that the box stays quick whatever is pasted. Of a
// paste, a drop or typing that would leave more, the start is kept, never
// half a character, and ReportCutMessage tells the user.
inline constexpr std::size_t kReportBoxCapacity = std::size_t{1} << 19;

// How many code units of an insertion of `inserted` units the report box
// keeps, when it holds `held` units of which `replaced` (the selection) give
// way: all, or the start that fits, less a high surrogate left at its end.
// `unitAt(i)` gives the insertion's unit i; it is asked for one unit at most.
template <typename UnitAt>
std::size_t ReportBoxKeeps(std::size_t held, std::size_t replaced, std::size_t inserted, UnitAt unitAt) {
    const std::size_t staying = held - std::min(replaced, held);
    const std::size_t room = staying >= kReportBoxCapacity ? 0 : kReportBoxCapacity - staying;
    if (inserted <= room) return inserted;
    const char16_t last = room > 0 ? static_cast<char16_t>(unitAt(room - 1)) : u'\0';
    return last >= 0xD800 && last <= 0xDBFF ? room - 1 : room;
}

// A modal message with the caption "Veltrax" and an OK button only; returns
// when the user has closed it.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void Show(const Text& message) = 0;
};

inline constexpr char32_t kCaption[] = U"Veltrax";

// A text box that is its text alone: for a shell that writes the text into
// its own control afterwards (the web page), and for tests.
class HeldText : public OutputTextBox {
public:
    Text GetText() const override { return text; }
    void SetText(const Text& newText) override {
        text = newText;
        ++writes;
    }
    Text text;
    int writes = 0;
};

// Messages kept in order instead of shown: for a shell that shows them once
// the analysis has returned (the web page), and for tests.
class HeldMessages : public MessageBox {
public:
    void Show(const Text& message) override { shown.push_back(message); }
    std::vector<Text> shown;
};
