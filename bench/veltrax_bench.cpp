// Speed of the analyses and of the drawing. Run with `make bench`.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <filesystem>

#include "analysis/formula_parser.h"
#include "derivation/composition_parser.h"
#include "drawing/formula_drawing.h"
#include "tests/doubles.h"
#include "ui/picture_box.h"

namespace {

// Draws nothing, so that only the derivation is timed.
struct NullSurface : DrawingSurface {
    void Clear() override {}
    double CurrentX() const override { return 0; }
    void SetCurrentX(double) override {}
    double CurrentY() const override { return 0; }
    void SetCurrentY(double) override {}
    double FontSize() const override { return 20; }
    void SetFontSize(double) override {}
    void Print(TextView) override {}
};

// A program directory with the default NameMass.dat on disk.
const TemporaryDirectory directory;

Workspace MakeWorkspace(MessageBox& messages) {
    Workspace workspace;
    workspace.ElementFolder = directory.path();
    workspace.Messages = &messages;
    return workspace;
}

// A formula of the text box's full length, 32,767 characters.
Text LongFormula() {
    Text formula;
    while (formula.size() < 32767) formula += U"Al2(SO4)3(H2O)18";
    formula.resize(32767);
    return formula;
}

// Enter in the formula box: parse, element file read from disk, report.
void BM_Formula(benchmark::State& state, const Text& formula) {
    RecordingMessages messages;
    Workspace workspace = MakeWorkspace(messages);
    RecordingTextBox report;
    for (auto _ : state) AnalizeFormula(workspace, formula, report);
}
BENCHMARK_CAPTURE(BM_Formula, Typical, Text(U"Al2(SO4)3(H2O)18"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Formula, Longest, LongFormula())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Formula, HugeGroupIndex, Text(U"(H)2147483647"))->Unit(benchmark::kMillisecond);

void BM_Composition10000Lines(benchmark::State& state) {
    RecordingMessages messages;
    Workspace workspace = MakeWorkspace(messages);
    NullSurface surface;
    Text text;
    for (int line = 0; line < 10000; ++line) text += line % 2 ? U"C = 0.004\r\n" : U"H = 0.016%\r\n";
    for (auto _ : state) AnalizePercentage(workspace, text, surface);
}
BENCHMARK(BM_Composition10000Lines)->Unit(benchmark::kMillisecond);

// ShowFormula of the longest formula on the window's picture, and one paint.
void BM_ShowLongFormulaAndPaint(benchmark::State& state) {
    PictureBox picture;
    picture.resize(477, 49);
    picture.SetFontName(QStringLiteral("arial"));
    picture.SetFontSize(20);
    const Text formula = LongFormula();
    QPixmap target(picture.size());
    for (auto _ : state) {
        Text typed = formula;
        ShowFormula(typed, picture);
        picture.render(&target);
    }
}
BENCHMARK(BM_ShowLongFormulaAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
