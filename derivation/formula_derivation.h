#pragma once

#include "../analysis/workspace.h"
#include "../drawing/drawing_surface.h"

// Derives the empirical formula from the percentages and masses in the
// composition table and draws it on `picture`: every symbol followed by its
// ratio to the smallest amount, rounded to the precision, with "n" after it.
// An empty table leaves the picture untouched.
void CreateFormula(Workspace& workspace, DrawingSurface& picture);

Text PercentSumMessage(float sum, char32_t separator);

// The subscript drawn after a symbol for its (unrounded) ratio.
Text RatioSubscript(float count, int places);
