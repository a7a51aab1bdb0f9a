#pragma once

#include <array>
#include <cstddef>

// The window's controls as designed, and the rule by which they follow the
// size of its client area, in twips and in single precision, the type of the
// controls' coordinates. Both windows, the desktop's and the page, lay out
// their six controls from here.
namespace window_layout {

enum Control : std::size_t { picFormula, txtFormula, txtPercent, Command1, lblPrecision, cmbPrecision, kControls };

struct Rectangle {
    float Left = 0, Top = 0, Width = 0, Height = 0;
};
using Controls = std::array<Rectangle, kControls>;

// The client area when the window opens.
inline constexpr float kClientWidth = 7155, kClientHeight = 4050;

// The design values, in the order of `Control`.
inline constexpr Controls kDesign = {{{0, 480, 7095, 735},
                                      {0, 0, 7095, 375},
                                      {1200, 1320, 4095, 2535},
                                      {0, 1320, 1095, 1335},
                                      {5280, 1320, 1215, 615},
                                      {5400, 2040, 975, 315}}};

// The six assignments for a client area of `width` × `height`, each on the
// controls' current places: the formula box and the picture span the width,
// the report box fills the height below its top and the width between equal
// margins, and the precision label and list follow its right edge. An
// assignment whose value the platform would reject (negative, not a number)
// is skipped and the control keeps its value. While the notice under the
// picture is shown, the controls below the picture stand lower by `band`.
void FollowSize(Controls& controls, float width, float height, float band = 0);

}  // namespace window_layout
