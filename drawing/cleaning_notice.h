#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "../text/text.h"

// What the cleaning of the formula box took away where the loss changes what
// the formula means, by kind, each item once, in the order first met. Blanks,
// square brackets, a sentence's full stop and other punctuation lose nothing
// and are not kept here.
struct CleaningLosses {
    enum Kind {
        CyrillicLetters,  // typed on the Russian layout or copied from Russian text
        OtherLetters,     // Greek, accented Latin, full-width Latin, µ
        HydrateDots,      // "·", "*", "×" and the like between two parts of a formula
        ScriptDigits,     // subscript and superscript digits, which the cleaning drops
        Charges,          // a superscript charge such as "²⁺", gone whole
        ChargeSigns,      // "^", "+" or "-" of a charge written on the line: its digits stay as counts
        BlankInNumbers,   // a blank between two digits ("4 5"): "CuSO4 5H2O" gives the count 45
        CountPoints,      // a decimal point or comma inside a count
        kKinds
    };
    std::array<std::vector<Text>, kKinds> Items;
    bool NonRussianCyrillic = false;  // a Cyrillic letter outside the Russian alphabet (Ukrainian «І»)
    bool Subscripts = false, Superscripts = false;
    Text LookAlikes;  // Cyrillic letters drawn like Latin ones

    bool Empty() const;
    std::size_t Count() const;
};

// A character whose loss depends on what comes after it, removed at the end
// of the text as a key typed it: the "." of "C1." is a point inside a count only
// once a digit follows it.
struct PendingMark {
    Text Mark;                // empty where nothing waits
    char32_t Left = 0;        // the nearest character before it that is no blank
    bool Adjacent = false;    // no blank between it and `Left`
    std::size_t At = 0;       // where it stood in the cleaned text
    bool BlankAfter = false;  // a blank was typed after it
};

// Adds what an edit that turned the box's text `before` into `after` brought
// in and the cleaning drops. Only what the edit inserted is looked at, so the
// prompt that the first edit strips is never counted.
void NoteLosses(TextView before, TextView after, CleaningLosses& losses, PendingMark& pending);

// A mark still waiting when the formula is analysed: superscript digits at
// the end are told as such; a trailing point loses nothing.
void SettlePending(CleaningLosses& losses, PendingMark& pending);

// The notice while the box is edited: one sentence for each kind of loss,
// what went and how to write it. Empty where nothing was lost.
Text EditNotice(const CleaningLosses& losses);

// The notice beside the report: what went, and the formula that was
// computed, «В формуле убраны русские буквы «Н», «О»: посчитано для (N4)2S4.»
Text AnalysisNotice(const CleaningLosses& losses, TextView formula);

// The notice for one edit alone, from a box that had lost nothing.
Text CleaningNotice(TextView before, TextView after);
