#pragma once

#include <QWidget>

#include "drawing/drawing_surface.h"

// Control geometry in twips, the units of the window's design: 15 twips a
// logical pixel (1440 an inch at 96 dots an inch); Qt scales logical pixels
// for high-density screens.
namespace twips {

inline constexpr float kPerPixel = kTwipsPerPixel;

float Left(const QWidget* widget);
float Top(const QWidget* widget);
float Width(const QWidget* widget);
float Height(const QWidget* widget);

// Each setter applies one value and leaves the others; a value the platform
// would reject (a negative width or height, or one that is not a number) is
// skipped and the control keeps what it had.
void SetLeft(QWidget* widget, float value);
void SetTop(QWidget* widget, float value);
void SetWidth(QWidget* widget, float value);
void SetHeight(QWidget* widget, float value);
void SetGeometry(QWidget* widget, float left, float top, float width, float height);

}  // namespace twips
