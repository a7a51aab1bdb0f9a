#include "formula_drawing.h"

#include <algorithm>
#include <cstddef>
#include <vector>

bool IsDrawnInNormalType(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || c == U'(' || c == U')';
}

KeptFormula KeepFormula(TextView typed, std::size_t capacity) {
    KeptFormula kept;
    kept.Formula.reserve(std::min(typed.size(), capacity));
    for (const char32_t c : typed) {
        if (!IsDrawnInNormalType(c) && !IsDigit(c)) continue;
        if (kept.Formula.size() < capacity)
            kept.Formula.push_back(c);
        else
            ++kept.Dropped;
    }
    return kept;
}

Text FormulaCutMessage(std::size_t dropped) {
    return U"Формула не помещается в поле: в нём не более " + WholeNumberText(kFormulaCapacity) +
           U" знаков. Отброшено знаков в конце формулы: " + WholeNumberText(dropped) + U".";
}

Text FormulaDescription(const std::vector<PrintedText>& printed, double normalSize) {
    Text description;
    bool inSubscript = false;
    for (const PrintedText& drawn : printed) {
        const TextView text = TrimBlanks(drawn.Printed);
        const bool subscript = drawn.FontSize < normalSize;
        if (subscript && !inSubscript) {
            if (!description.empty() && description.back() != kBlank) description.push_back(kBlank);
            description += U"нижний индекс ";
        } else if (!subscript && inSubscript) {
            description += U", ";
        }
        description += text;
        inSubscript = subscript;
    }
    return description;
}

void ShowFormula(Text& formula, DrawingSurface& surface) {
    surface.Clear();
    surface.SetCurrentY(kFormulaTop);
    Text kept;
    kept.reserve(formula.size());
    for (const char32_t c : formula) {
        if (IsDrawnInNormalType(c)) {
            surface.Print(TextView(&c, 1));
        } else if (IsDigit(c)) {
            DIndex(TextView(&c, 1), surface);
        } else {
            continue;
        }
        kept.push_back(c);
    }
    formula = std::move(kept);
}

void DIndex(TextView index, DrawingSurface& surface) {
    surface.SetFontSize(surface.FontSize() - kSubscriptShrink);
    surface.SetCurrentY(surface.CurrentY() + kSubscriptDrop);
    surface.Print(index);
    surface.SetFontSize(surface.FontSize() + kSubscriptShrink);
    surface.SetCurrentY(surface.CurrentY() - kSubscriptDrop);
}
