#pragma once

#include <QPlainTextEdit>
#include <QWidget>

#include "analysis/platform.h"

// The multi-line text box as the core sees it: its whole text, lines joined by
// CR LF (the editor itself keeps bare line feeds).
class PlainTextBox : public OutputTextBox {
public:
    explicit PlainTextBox(QPlainTextEdit* edit) : edit_(edit) {}
    Text GetText() const override;
    void SetText(const Text& text) override;

private:
    QPlainTextEdit* edit_;
};

// A modal box with the caption "Veltrax", the message and an OK button only.
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent) : parent_(parent) {}
    void Show(const Text& message) override;

private:
    QWidget* parent_;
};

// The decimal separator of the user's locale.
char32_t UserDecimalSeparator();
