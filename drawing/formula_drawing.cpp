#include "formula_drawing.h"

namespace {

bool IsDrawnInNormalType(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || c == U'(' || c == U')';
}

}  // namespace

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
