#pragma once

#include <QPushButton>

// A push button whose caption wraps over several lines of a tall button; the
// caption stays the button's text, so assistive technology reads it whole.
// Enter presses it when it has the focus, as Space does.
class WrappingButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
