#pragma once

#include "../elements/text.h"

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

// A modal message with the caption "Veltrax" and an OK button only; returns
// when the user has closed it.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void Show(const Text& message) = 0;
};

inline constexpr char32_t kCaption[] = U"Veltrax";
