#include "formula_edit.h"

#include <utility>

#include "formula_drawing.h"

namespace {

// Nothing of `before` is left at either end of `after`.
bool NothingLeftOf(TextView before, TextView after) {
    return !before.empty() && (after.empty() || (before.front() != after.front() && before.back() != after.back()));
}

}  // namespace

FormulaChange ChangeFormula(FormulaBoxState& box, TextView typed, DrawingSurface& surface, bool replacesAll) {
    if (typed == box.Shown) return {};
    if (typed.empty() || replacesAll || NothingLeftOf(box.Shown, typed)) {
        box.Lost = {};
        box.Pending = {};
    }
    NoteLosses(box.Shown, typed, box.Lost, box.Pending);
    KeptFormula kept = KeepFormula(typed);
    box.Formula = std::move(kept.Formula);
    ShowFormula(box.Formula, surface);
    box.Shown = box.Formula;
    box.Notice = EditNotice(box.Lost);
    box.Analysed = false;
    return {box.Formula != typed, kept.Dropped};
}

const Text& AnalysisStarts(FormulaBoxState& box) {
    SettlePending(box.Lost, box.Pending);
    if (!box.Lost.Empty())
        box.Notice = AnalysisNotice(box.Lost, box.Formula);
    else if (!box.Analysed)
        box.Notice.clear();
    box.Lost = {};
    box.Analysed = true;
    return box.Notice;
}
