#pragma once

#include "../analysis/workspace.h"
#include "../drawing/drawing_surface.h"
#include "../text/text.h"

// Reads a percent composition, one element per line (lines end at CR, the LF
// of a CR LF pair is cleaned off), into a fresh composition table and draws
// the derived formula on `picture`.
void AnalizePercentage(Workspace& workspace, TextView text, DrawingSurface& picture);

// Reads one line ("C = 40%", "C - 40", "C 40"; comments begin with "#") and
// appends at most one record. `line` is cleaned in place.
void AnalizePercentageString(Workspace& workspace, Text& line);

Text CompositionElementNotFoundMessage(TextView symbol);
