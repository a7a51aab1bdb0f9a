#pragma once

#include <cstddef>
#include <vector>

#include "../text/text.h"
#include "drawing_surface.h"

inline constexpr double kFormulaTop = 50;      // twips
inline constexpr double kSubscriptDrop = 250;  // twips
inline constexpr double kSubscriptShrink = 6;  // points

// The 52 Latin letters and the two brackets: what is drawn in normal type.
bool IsDrawnInNormalType(char32_t c);

// Clears the surface and draws the formula: Latin letters and brackets in the
// current font, digits as subscripts. Every other character is removed from
// `formula`, which the caller gets back cleaned.
void ShowFormula(Text& formula, DrawingSurface& surface);

// Draws `index` as a subscript at the current position: 6 points smaller and
// 250 twips lower. Afterwards font size and y are as before and x stands right
// after the subscript.
void DIndex(TextView index, DrawingSurface& surface);

// The formula box holds at most this many characters: text positions are
// 16-bit throughout.
inline constexpr std::size_t kFormulaCapacity = 32767;

// What the formula box keeps of a typed or pasted text: the characters that
// ShowFormula draws, at most `capacity` of them, the first ones. `Dropped`
// counts the drawable characters beyond the capacity.
struct KeptFormula {
    Text Formula;
    std::size_t Dropped = 0;
};
KeptFormula KeepFormula(TextView typed, std::size_t capacity = kFormulaCapacity);

// Tells the user that the end of a pasted or typed formula did not fit.
Text FormulaCutMessage(std::size_t dropped);

// One text printed on the picture, in twips and points.
struct PrintedText {
    Text Printed;
    double X = 0, Y = 0, FontSize = 0;
    bool operator==(const PrintedText&) const = default;
};

// What the picture shows, in words, for assistive technology: the texts in
// order, a subscript named as such, and subscripts that follow each other
// read as one number ("C нижний индекс 12"). `normalSize` is the size of
// normal type; anything smaller is a subscript.
Text FormulaDescription(const std::vector<PrintedText>& printed, double normalSize);
