#pragma once

#include <cstddef>

#include "../text/text.h"
#include "cleaning_notice.h"
#include "drawing_surface.h"
#include "window_texts.h"

// The formula box between two changes of its text: what it shows, the
// formula that Enter analyses, and what the cleaning took from it since the
// last analysis. The desktop window and the page keep one each and only carry
// text in and out of it.
struct FormulaBoxState {
    Text Shown = window_texts::kFormulaPrompt;  // the box's text as last handled
    Text Formula;                               // the formula that Enter analyses
    CleaningLosses Lost;                        // since the last analysis
    PendingMark Pending;                        // a trailing mark that the next key decides
    Text Notice;                                // what the notice line shows now; empty hides it
    bool Analysed = false;                      // Enter was pressed and nothing edited since
};

// What the box does with one change of its text.
struct FormulaChange {
    bool WriteBack = false;   // the box takes the cleaned formula in place of the text, the caret at its end
    std::size_t Dropped = 0;  // characters beyond the box's capacity: tell them with FormulaCutMessage
};

// One change of the box's text, however it came (a key, a paste, a drop, an
// input method's commit, dictation): the text is cleaned and drawn, and the
// notice tells everything the cleaning took away since the last analysis, so
// that a later key that loses nothing does not hide it. Emptying the box, or
// an edit that replaces all of it (`replacesAll`, or nothing of the old text
// left), starts afresh. A text equal to the one last handled is no edit.
FormulaChange ChangeFormula(FormulaBoxState& box, TextView typed, DrawingSurface& surface, bool replacesAll = false);

// At Enter, before the analysis: the notice to show beside the report, which
// names what the cleaning took since the last analysis and the formula that
// is computed, or is empty. The record then starts afresh; an Enter with no
// edit since the last one gives the same notice again.
const Text& AnalysisStarts(FormulaBoxState& box);
