#pragma once

#include <QPushButton>

// A push button whose caption wraps over several lines of a tall button; the
// caption stays the button's text, so assistive technology reads it whole.
class WrappingButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
