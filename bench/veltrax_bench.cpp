// Speed of the analyses and of the drawing. Run with `make bench`.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <chrono>
#include <filesystem>
#include <limits>
#include <thread>

#include "analysis/formula_parser.h"
#include "derivation/composition_parser.h"
#include "drawing/formula_drawing.h"
#include "tests/doubles.h"
#include "ui/frmVeltrax.h"
#include "ui/picture_box.h"
#include "ui/text_boxes.h"

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

// A mix of everyday formulas, the same as the comparison with another formula
// library (bench/mf_parser_compare.js) uses: formulas per second, the element
// file's change check included, the report written as always.
void BM_FormulaMix(benchmark::State& state) {
    const Text formulas[] = {U"H2O",     U"Ca(OH)2",   U"Fe2(SO4)3", U"CuSO4(H2O)5", U"Al2(SO4)3(H2O)18",
                             U"C6H12O6", U"(NH4)2SO4", U"Mg3(PO4)2", U"NaCl",        U"KMnO4",
                             U"C2H5OH",  U"Ba(NO3)2",  U"Ca3(PO4)2", U"NaHCO3"};
    RecordingMessages messages;
    Workspace workspace = MakeWorkspace(messages);
    RecordingTextBox report;
    for (auto _ : state)
        for (const Text& formula : formulas) AnalizeFormula(workspace, formula, report);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(std::size(formulas)));
}
BENCHMARK(BM_FormulaMix)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The shapes of formula that cost the most per character, by length, through
// the parser alone: the growth must stay linear.
Text GrowthFormula(int shape, std::size_t length) {
    Text formula;
    switch (shape) {
        case 0:  // many distinct symbols, then many groups
            for (char32_t c = 0x4E00; formula.size() < length / 2; ++c) formula.push_back(c);
            while (formula.size() < length) formula += U"(H)2";
            break;
        case 1:  // symbols that are no element
            while (formula.size() < length) formula += U"Xx";
            break;
        default:  // one symbol over and over
            formula.assign(length, U'H');
    }
    formula.resize(length);
    return formula;
}

void BM_FormulaGrowth(benchmark::State& state, int shape) {
    RecordingMessages messages;
    Workspace workspace = MakeWorkspace(messages);
    RecordingTextBox report;
    const Text formula = GrowthFormula(shape, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) AnalizeFormula(workspace, formula, report);
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(BM_FormulaGrowth, DistinctSymbolsAndGroups, 0)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FormulaGrowth, UnknownSymbols, 1)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FormulaGrowth, OneSymbol, 2)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_Composition10000Lines(benchmark::State& state) {
    RecordingMessages messages;
    Workspace workspace = MakeWorkspace(messages);
    NullSurface surface;
    Text text;
    for (int line = 0; line < 10000; ++line) text += line % 2 ? U"C = 0.004\r\n" : U"H = 0.016%\r\n";
    for (auto _ : state) AnalizePercentage(workspace, text, surface);
}
BENCHMARK(BM_Composition10000Lines)->Unit(benchmark::kMillisecond);

// Counts the paints of the widgets it watches, to show that every timed key
// was painted.
struct PaintCounter : QObject {
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(object, event);
    }
    int paints = 0;
};

// ShowFormula of the longest formula on the shown picture, and the paint it
// asks for.
void BM_ShowLongFormulaAndPaint(benchmark::State& state) {
    PictureBox picture;
    picture.resize(477, 49);
    picture.SetFontName(QStringLiteral("arial"));
    picture.SetFontSize(20);
    picture.show();
    QApplication::processEvents();
    const Text formula = LongFormula();
    PaintCounter counter;
    picture.installEventFilter(&counter);
    for (auto _ : state) {
        Text typed = formula;
        ShowFormula(typed, picture);
        QApplication::processEvents();
    }
    picture.removeEventFilter(&counter);
    state.counters["paints_per_drawing"] =
        static_cast<double>(counter.paints) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ShowLongFormulaAndPaint)->Unit(benchmark::kMillisecond);

// One key at the end of a formula of 32,766 characters, on a shown window,
// from the key event to the repainted picture; then Backspace, the same way.
// Beside it, the same two keys in a plain QLineEdit holding the same text.
void PressAndRepaint(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();  // the repaint the key asked for
}

void TypeAtTheEnd(benchmark::State& state, QWidget* window, QLineEdit* box, QWidget* picture = nullptr) {
    Text formula = LongFormula();
    formula.resize(32766);
    box->setText(QString::fromStdU32String(formula));
    window->show();
    QApplication::processEvents();
    box->setFocus();
    box->end(false);
    PaintCounter counter;
    QWidget* watched = picture ? picture : box;
    watched->installEventFilter(&counter);
    for (auto _ : state) {
        PressAndRepaint(box, Qt::Key_H, QStringLiteral("H"));
        PressAndRepaint(box, Qt::Key_Backspace, QString());
    }
    watched->removeEventFilter(&counter);
    state.SetItemsProcessed(state.iterations() * 2);  // keys
    state.counters["paints_per_key"] =
        static_cast<double>(counter.paints) / (2.0 * static_cast<double>(state.iterations()));
    window->hide();
}

void BM_KeyAtTheEndOfALongFormula_Window(benchmark::State& state) {
    RecordingMessages messages;
    frmVeltrax window(directory.path(), &messages);
    TypeAtTheEnd(state, &window, window.findChild<QLineEdit*>(QStringLiteral("txtFormula")),
                 window.findChild<QWidget*>(QStringLiteral("picFormula")));
}
BENCHMARK(BM_KeyAtTheEndOfALongFormula_Window)->Unit(benchmark::kMillisecond);

void BM_KeyAtTheEndOfALongFormula_PlainLineEdit(benchmark::State& state) {
    QLineEdit box;
    box.resize(477, 25);
    box.setMaxLength(std::numeric_limits<int>::max());
    TypeAtTheEnd(state, &box, &box);
}
BENCHMARK(BM_KeyAtTheEndOfALongFormula_PlainLineEdit)->Unit(benchmark::kMillisecond);

// A paste of 10 MB with Ctrl+V into each box of the shown window, from the
// key to the repainted window; then the button on what the report box kept.
QString TenMegabytes(bool lines) {
    QString text;
    while (text.size() < 10'000'000)
        text += lines ? QStringLiteral("C = 40%\nH - 6.7\nO 53.3\n") : QStringLiteral("Fe2(SO4)3");
    return text;
}

void PasteIntoTheWindow(benchmark::State& state, const char* box, bool lines) {
    RecordingMessages messages;
    frmVeltrax window(directory.path(), &messages);
    window.show();
    QApplication::processEvents();
    auto* target = window.findChild<QWidget*>(QString::fromLatin1(box));
    QApplication::clipboard()->setText(TenMegabytes(lines));
    PaintCounter counter;
    window.findChild<QWidget*>(QStringLiteral("picFormula"))->installEventFilter(&counter);
    for (auto _ : state) {
        target->setFocus();
        if (auto* edit = qobject_cast<QPlainTextEdit*>(target)) edit->clear();
        if (auto* line = qobject_cast<QLineEdit*>(target)) line->clear();
        PressAndRepaint(target, Qt::Key_A, QStringLiteral("a"));  // a keystroke first: the box is the user's
        QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QApplication::sendEvent(target, &paste);
        window.repaint();
        QApplication::processEvents();
    }
    state.counters["messages"] = static_cast<double>(messages.shown.size()) / static_cast<double>(state.iterations());
}

void BM_PasteTenMegabytes_FormulaBox(benchmark::State& state) { PasteIntoTheWindow(state, "txtFormula", false); }
BENCHMARK(BM_PasteTenMegabytes_FormulaBox)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PasteTenMegabytes_ReportBox(benchmark::State& state) { PasteIntoTheWindow(state, "txtPercent", true); }
BENCHMARK(BM_PasteTenMegabytes_ReportBox)->Unit(benchmark::kMillisecond)->Iterations(3);

// The button on the fullest report box a paste can leave.
void BM_ButtonOnAFullReportBox(benchmark::State& state) {
    RecordingMessages messages;
    frmVeltrax window(directory.path(), &messages);
    window.show();
    auto* box = window.findChild<QPlainTextEdit*>(QStringLiteral("txtPercent"));
    box->setPlainText(TenMegabytes(true).left(ReportBox::kCapacity));
    QApplication::processEvents();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    for (auto _ : state) {
        button->click();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ButtonOnAFullReportBox)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // A user's NameMass.dat was written long before: wait until the new one
    // is past the window in which a file is read again at every analysis.
    RecordingMessages messages;
    Workspace workspace = MakeWorkspace(messages);
    RecordingTextBox report;
    AnalizeFormula(workspace, U"H", report);
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
