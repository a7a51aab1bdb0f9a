#pragma once

#include "platform.h"
#include "workspace.h"

// Computes the molar mass and the mass percentage of every record of the
// composition table, stores the percentages in the records and replaces the
// text of `report` with the report. An empty table, or numbers too large to
// report, leave the box unchanged.
void CountPercentage(Workspace& workspace, OutputTextBox& report);

// Shown instead of a report whose molar mass or counts leave single precision.
inline constexpr char32_t kNumbersTooLargeMessage[] =
    U"Ошибка в формуле: числа в формуле слишком велики, молярную массу вычислить нельзя.";
