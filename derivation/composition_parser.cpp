#include "composition_parser.h"

#include <algorithm>

#include "../analysis/number_reader.h"
#include "../analysis/numbers.h"
#include "../elements/mdlVeltrax.h"
#include "formula_derivation.h"

namespace {

// "=" first; then a dash: the hyphen-minus, or the en dash, em dash or minus
// sign that word processors put in its place; then a blank.
std::size_t FindSeparator(TextView line) {
    for (const TextView separators : {TextView(U"="), TextView(U"-–—−"), TextView(U" ")})
        if (const auto at = line.find_first_of(separators); at != TextView::npos) return at;
    return TextView::npos;
}

}  // namespace

Text CompositionElementNotFoundMessage(TextView symbol) {
    return Text(U"Элемент ") + Text(symbol) +
           U" не найден в базе данных или не существует. Формула, выведенная по процентному составу, "
           U"может быть неверна. Проверьте написание процентного состава и регистры букв.";
}

void AnalizePercentageString(Workspace& workspace, Text& line) {
    ElementRecord record;
    const auto elements = LoadElements(workspace);
    mdlVeltrax::CleanLine(line);
    if (line.empty() || line.front() == U'#') return;
    const std::size_t separator = FindSeparator(line);
    if (separator == TextView::npos) return;

    const TextView view(line);
    if (const TextView symbol = TrimBlanks(view.substr(0, separator)); !symbol.empty())
        record.Symbol = TwoCharacterSymbol(symbol);
    const std::size_t percentSign = view.find(U'%', separator);
    const std::size_t end = percentSign == TextView::npos ? view.size() : percentSign + 1;
    const TextView number = TrimBlanks(view.substr(separator + 1, end - separator - 1));
    TextPosition position = 0;
    record.Percent = ToSingle(ReadDigit(number, position));

    const FoundElement element = record.Symbol.empty() ? FoundElement{} : elements->Find(record.Symbol);
    if (element.Found) {
        record.Mass = element.Mass;
        record.Number = element.Number;
    } else {
        ShowRepeatableMessage(workspace, CompositionElementNotFoundMessage(record.Symbol));
        record.Mass = 1.0;
        record.Number = 0;
    }
    workspace.Composition.push_back(std::move(record));
}

void AnalizePercentage(Workspace& workspace, TextView text, DrawingSurface& picture) {
    BeginAnalysis(workspace);
    ResetCompositionTable(workspace.Composition);
    // The first search starts at the second character, so a CR in first
    // place stays inside the first line, where cleaning removes it. Every
    // later line starts with the CR (and LF) that ended the one before.
    for (std::size_t start = 0;;) {
        const std::size_t lineBreak = text.find(kCR, start + 1);
        Text line(text.substr(start, lineBreak - start));  // to the end when there is no break
        AnalizePercentageString(workspace, line);
        if (lineBreak == TextView::npos || lineBreak + 1 == text.size()) break;
        start = lineBreak;
    }
    CreateFormula(workspace, picture);
}
