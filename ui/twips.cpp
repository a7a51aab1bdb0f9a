#include "twips.h"

#include <cmath>
#include <limits>

namespace twips {
namespace {

// Nearest pixel; false when the value cannot be a pixel position at all.
bool ToPixels(float value, int& pixels) {
    const double scaled = std::nearbyint(static_cast<double>(value) / kPerPixel);
    if (!std::isfinite(scaled) || std::fabs(scaled) > QWIDGETSIZE_MAX) return false;
    pixels = static_cast<int>(scaled);
    return true;
}

}  // namespace

float Left(const QWidget* widget) { return static_cast<float>(widget->x()) * kPerPixel; }
float Top(const QWidget* widget) { return static_cast<float>(widget->y()) * kPerPixel; }
float Width(const QWidget* widget) { return static_cast<float>(widget->width()) * kPerPixel; }
float Height(const QWidget* widget) { return static_cast<float>(widget->height()) * kPerPixel; }

void SetLeft(QWidget* widget, float value) {
    if (int pixels = 0; ToPixels(value, pixels)) widget->move(pixels, widget->y());
}

void SetTop(QWidget* widget, float value) {
    if (int pixels = 0; ToPixels(value, pixels)) widget->move(widget->x(), pixels);
}

void SetWidth(QWidget* widget, float value) {
    if (int pixels = 0; value >= 0 && ToPixels(value, pixels)) widget->resize(pixels, widget->height());
}

void SetHeight(QWidget* widget, float value) {
    if (int pixels = 0; value >= 0 && ToPixels(value, pixels)) widget->resize(widget->width(), pixels);
}

void SetGeometry(QWidget* widget, float left, float top, float width, float height) {
    SetLeft(widget, left);
    SetTop(widget, top);
    SetWidth(widget, width);
    SetHeight(widget, height);
}

}  // namespace twips
