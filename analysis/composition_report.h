#pragma once

#include "platform.h"
#include "workspace.h"

// Computes the molar mass and the mass percentage of every record of the
// composition table, stores the percentages in the records and replaces the
// text of `report` with the report. An empty table leaves the box unchanged.
void CountPercentage(Workspace& workspace, OutputTextBox& report);
