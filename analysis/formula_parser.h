#pragma once

#include "../text/text.h"
#include "platform.h"
#include "workspace.h"

// Parses a formula such as Ca(OH)2 into the workspace's composition table, one
// record per distinct element (letter case ignored) in order of first
// appearance, and ends with the composition report in `report`. A formula that
// is empty or blank does nothing at all.
void AnalizeFormula(Workspace& workspace, TextView formula, OutputTextBox& report);

// The messages of the formula path.
Text FormulaElementNotFoundMessage(TextView symbol);
inline constexpr char32_t kNestedBracketsMessage[] = U"Внимание! Вложенные скобки программой НЕ поддерживаются!!!";
inline constexpr char32_t kMissingGroupIndexMessage[] = U"Ошибка в формуле: после скобок должен стоять индекс.";
inline constexpr char32_t kStrayBracketMessage[] = U"Ошибка в формуле: закрывающая скобка без открывающей.";
