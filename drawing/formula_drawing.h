#pragma once

#include "../elements/text.h"
#include "drawing_surface.h"

inline constexpr double kFormulaTop = 50;      // twips
inline constexpr double kSubscriptDrop = 250;  // twips
inline constexpr double kSubscriptShrink = 6;  // points

// Clears the surface and draws the formula: Latin letters and brackets in the
// current font, digits as subscripts. Every other character is removed from
// `formula`, which the caller gets back cleaned.
void ShowFormula(Text& formula, DrawingSurface& surface);

// Draws `index` as a subscript at the current position: 6 points smaller and
// 250 twips lower. Afterwards font size and y are as before and x stands right
// after the subscript.
void DIndex(TextView index, DrawingSurface& surface);
