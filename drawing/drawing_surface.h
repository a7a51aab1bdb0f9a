#pragma once

#include "../text/text.h"

// The window's unit: 1440 twips an inch, so 15 a pixel at 96 dots an inch.
inline constexpr float kTwipsPerPixel = 15;

// A picture area with a current drawing position (twips, y growing downwards,
// text drawn with its top-left corner there) and a font whose size is in
// points.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    // Erases everything drawn and moves the position to (0, 0).
    virtual void Clear() = 0;
    virtual double CurrentX() const = 0;
    virtual void SetCurrentX(double twips) = 0;
    virtual double CurrentY() const = 0;
    virtual void SetCurrentY(double twips) = 0;
    virtual double FontSize() const = 0;
    virtual void SetFontSize(double points) = 0;
    // Draws the text at the current position in the current font and moves
    // the position right by the text's width; y stays.
    virtual void Print(TextView text) = 0;
};
