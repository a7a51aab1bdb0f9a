#include "formula_derivation.h"

#include <cmath>

#include "../analysis/numbers.h"
#include "../drawing/formula_drawing.h"

Text PercentSumMessage(float sum, char32_t separator) {
    return U"Сумма всех процентов составляет " + FormatGeneral(sum, kSingleDigits, separator) +
           U"%, а не 100%. Полученная формула может " + U"быть не точна. Проверьте введенные значения, процентный и " +
           U"химический состав вещества.";
}

Text RatioSubscript(float count, int places) {
    const float rounded = ToSingle(RoundToPlaces(count, places));
    return rounded == 1 ? Text(U"n") : FormatShort(rounded) + U"n";
}

void CreateFormula(Workspace& workspace, DrawingSurface& picture) {
    auto& table = workspace.Composition;
    const std::size_t n = RecordCount(table);
    if (n == 0) return;
    picture.Clear();

    double smallest = DivideOrInfinity(table[n].Percent, table[n].Mass);
    float sum = 0;
    for (std::size_t i = 1; i <= n; ++i) {
        table[i].Moles = DivideOrInfinity(table[i].Percent, table[i].Mass);
        if (smallest > table[i].Moles) smallest = table[i].Moles;
        sum = sum + table[i].Percent;
    }
    // A percentage that overflowed single precision when it was read, or a
    // sum that did, would only show as infinity.
    if (!std::isfinite(sum)) {
        ShowMessage(workspace, kCompositionNumbersTooLargeMessage);
        return;
    }
    if (!(sum >= 99 && sum <= 101)) ShowMessage(workspace, PercentSumMessage(sum, workspace.DecimalSeparator));

    for (std::size_t i = 1; i <= n; ++i) {
        // A ratio that cannot be formed (no smallest amount, an amount that is
        // not a number, a quotient beyond single precision) is not stored.
        const double ratio = DivideOrInfinity(table[i].Moles, smallest);
        if (smallest != 0 && std::isfinite(ratio) && std::isfinite(ToSingle(ratio))) table[i].Count = ToSingle(ratio);
        picture.Print(TrimBlanks(table[i].Symbol));
        DIndex(RatioSubscript(table[i].Count, workspace.Precision), picture);
    }
}
