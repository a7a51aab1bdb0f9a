#pragma once

#include <cstdint>
#include <vector>

#include "../text/text.h"

// One element of a composition.
struct ElementRecord {
    Text Symbol;              // two characters as typed, a one-letter symbol padded with a blank; empty if never set
    std::uint8_t Number = 0;  // atomic number
    double Mass = 0;          // atomic mass
    float Count = 0;          // atoms in the formula, or the derived ratio to the smallest amount
    float Percent = 0;        // mass percentage
    double Moles = 0;         // Percent / Mass
};

// Entry 0 is a spare that is never filled or read; the records are entries
// 1 to n in the order they were added, so size() - 1 is the record count.
using CompositionTable = std::vector<ElementRecord>;

inline std::size_t RecordCount(const CompositionTable& table) { return table.empty() ? 0 : table.size() - 1; }

inline void ResetCompositionTable(CompositionTable& table) { table.assign(1, ElementRecord{}); }

// Two characters: cut, or padded with one blank.
Text TwoCharacterSymbol(TextView symbol);
