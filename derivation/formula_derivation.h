#pragma once

#include "../analysis/workspace.h"
#include "../drawing/drawing_surface.h"

// Derives the empirical formula from the percentages and masses in the
// composition table and draws it on `picture`: every symbol followed by its
// ratio to the smallest amount, rounded to the precision, with "n" after it.
// An empty table leaves the picture untouched; percentages or a sum beyond
// single precision clear it, draw nothing and say so.
void CreateFormula(Workspace& workspace, DrawingSurface& picture);

Text PercentSumMessage(float sum, char32_t separator);

inline constexpr char32_t kCompositionNumbersTooLargeMessage[] =
    U"Ошибка в процентном составе: числа в нём слишком велики, формулу вещества вычислить нельзя.";

// The subscript drawn after a symbol for its (unrounded) ratio.
Text RatioSubscript(float count, int places);
