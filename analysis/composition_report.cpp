#include "composition_report.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "numbers.h"

namespace {

inline constexpr char32_t kLineBreak[] = U"\r\n";

}  // namespace

void CountPercentage(Workspace& workspace, OutputTextBox& report) {
    auto& table = workspace.Composition;
    const std::size_t n = RecordCount(table);
    if (n == 0) return;
    const int places = workspace.Precision;
    const char32_t separator = workspace.DecimalSeparator;
    auto single = [separator](float value) { return FormatGeneral(value, kSingleDigits, separator); };
    auto dual = [separator](double value) { return FormatGeneral(value, kDoubleDigits, separator); };

    float molarMass = 0;
    for (std::size_t i = 1; i <= n; ++i)
        molarMass = ToSingle(static_cast<double>(table[i].Count) * table[i].Mass + molarMass);
    if (molarMass == 0) molarMass = 1;
    // Counts or masses beyond single precision leave nothing to report.
    const bool countsFinite = std::all_of(table.begin() + 1, table.end(),
                                          [](const ElementRecord& record) { return std::isfinite(record.Count); });
    if (!countsFinite || !std::isfinite(molarMass)) {
        ShowMessage(workspace, kNumbersTooLargeMessage);
        return;
    }

    std::vector<double> display(n + 1);
    float sum = 0;
    for (std::size_t i = 1; i <= n; ++i) {
        const double percent = static_cast<double>(table[i].Count) * table[i].Mass / molarMass * 100;
        display[i] = RoundToPlaces(percent, places);
        table[i].Percent = ToSingle(percent);
        sum = sum + table[i].Percent;
    }

    const Text molarMassText = single(molarMass);
    Text text;
    text.reserve(64 + 48 * n);
    text += U"# Масса - ";
    text += molarMassText;
    text += kLineBreak;
    text += U"# ";
    for (std::size_t i = 1; i <= n; ++i) {
        if (i > 1) text += U" + ";
        text += dual(table[i].Mass);
        text += U" * ";
        text += single(table[i].Count);
    }
    text += U" = ";
    text += molarMassText;
    text += U" #";
    text += kLineBreak;
    text += kLineBreak;
    for (std::size_t i = 1; i <= n; ++i) {
        text += TrimBlanks(table[i].Symbol);
        text += U" - ";
        text += dual(display[i]);
        text += U"%";
        text += kLineBreak;
    }
    text += U"# ";
    for (std::size_t i = 1; i <= n; ++i) {
        if (i > 1) text += U" + ";
        text += single(ToSingle(RoundToPlaces(table[i].Percent, places)));
        text += U"%";
    }
    text += U" = ";
    text += single(sum);
    text += U"% #";
    report.SetText(text);
}
