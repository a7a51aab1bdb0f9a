#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "drawing_surface.h"
#include "formula_drawing.h"

// The picture area as both windows and the tests keep it: a drawing surface
// that records each text drawn, with its position and size, and the size of
// normal type at the last clear (anything smaller is a subscript). The width
// of a text comes from the shell's own fonts; a single character below U+0080
// is measured once per size, as a formula is printed a character at a time.
class RecordedPicture : public DrawingSurface {
public:
    using WidthOf = std::function<double(TextView text, double points)>;  // in twips

    explicit RecordedPicture(WidthOf width) : width_(std::move(width)) {}

    void Clear() override;
    double CurrentX() const override { return x_; }
    void SetCurrentX(double twips) override { x_ = twips; }
    double CurrentY() const override { return y_; }
    void SetCurrentY(double twips) override { y_ = twips; }
    double FontSize() const override { return fontSize_; }
    void SetFontSize(double points) override { fontSize_ = points; }
    void Print(TextView text) override;

    const std::vector<PrintedText>& Printed() const { return printed_; }
    double NormalSize() const { return normalSize_; }
    // How many of the texts begin within `visibleTwips` of the left edge:
    // every one after them lies further right, out of sight.
    std::size_t VisibleCount(double visibleTwips) const;
    // What the picture shows, in words, for assistive technology.
    Text Description() const { return FormulaDescription(printed_, normalSize_); }
    // The shell's fonts changed: widths are measured anew.
    void ForgetWidths() { widths_.clear(); }

protected:
    // After every change of what is drawn.
    virtual void Changed() {}

private:
    double Width(TextView text);

    struct SizedWidths {
        double points;
        std::array<double, 128> ascii;  // negative until measured
    };
    WidthOf width_;
    std::vector<SizedWidths> widths_;  // the few sizes in use
    std::vector<PrintedText> printed_;
    double x_ = 0, y_ = 0, fontSize_ = 20, normalSize_ = 20;
};
