#include "window_layout.h"

#include <cmath>

namespace window_layout {

namespace {

// A left position may be negative; a width or height may not.
void Assign(float& field, float value, bool mayBeNegative = false) {
    if (std::isfinite(value) && (value >= 0 || mayBeNegative)) field = value;
}

}  // namespace

void FollowSize(Controls& controls, float width, float height, float band) {
    Assign(controls[txtFormula].Width, width);
    Assign(controls[picFormula].Width, width);
    for (const Control below : {txtPercent, Command1, lblPrecision, cmbPrecision})
        controls[below].Top = kDesign[below].Top + band;
    Rectangle& report = controls[txtPercent];
    Assign(report.Height, height - report.Top);
    Assign(report.Width, width - 2 * report.Left);
    Assign(controls[lblPrecision].Left, report.Left + report.Width + 50, true);
    Assign(controls[cmbPrecision].Left, report.Left + report.Width + 150, true);
}

}  // namespace window_layout
