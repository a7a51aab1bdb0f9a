#include "ui/frmVeltrax.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "derivation/formula_derivation.h"
#include "drawing/formula_drawing.h"
#include "tests/doubles.h"
#include "ui/desktop.h"
#include "ui/picture_box.h"
#include "ui/qt_platform.h"
#include "ui/qt_text.h"
#include "ui/text_boxes.h"

// Every test gets a fresh window over its own program directory, with the
// messages recorded instead of shown; a modal dialog that appears anyway
// fails the test.
class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsUpWithTheDesignedControls();
    void theFirstKeystrokeReplacesThePrompt();
    void removingACharacterPutsTheCaretAtTheEnd();
    void anAcceptedCharacterLeavesTheCaretWhereItWas();
    void pastingABlankCleansItAtOnce();
    void whatTheCleaningTookAwayIsToldUntilTheReportAndBesideIt_data();
    void whatTheCleaningTookAwayIsToldUntilTheReportAndBesideIt();
    void enterOnTheUntouchedPromptAnalysesNothing();
    void enterWritesTheReportAndPrecisionAppliesAtTheNextEnter();
    void messagesGoToTheMessageBoxOfTheWindow();
    void theButtonOnAnEmptyBoxDrawsNothing();
    void theButtonDerivesATypedComposition();
    void theButtonReadsTheReportBack();
    void drawsCaOH2AtTheDesignedPositions();
    void theLayoutFollowsTheWindowSize_data();
    void theLayoutFollowsTheWindowSize();
    void theMessageBoxHasTheCaptionTheTextAndOkOnly();
    void enterOnTheFocusedButtonPressesIt();
    void undoAfterARejectedPasteBringsThePreviousTextBack();
    void theFormulaBoxTakesAPasteOfAnyLength();
    void hugePastesAreBoundedBeforeTheBoxesHoldThem_data();
    void hugePastesAreBoundedBeforeTheBoxesHoldThem();
    void anEditThatCrossesTheBoundKeepsTheFirst32767();
    void compositionsBeyondSinglePrecisionGiveOneMessage();
    void theElementFileLivesBesideTheProgramOrInTheUsersFolder_data();
    void theElementFileLivesBesideTheProgramOrInTheUsersFolder();
    void installedCopiesAreKnownByWhereTheyStand_data();
    void installedCopiesAreKnownByWhereTheyStand();
    void aRelativeXdgDataHomeIsIgnored();
    void aMissingDrawingFaceFallsBackToOneOfArialsMetrics();
    void qtsOwnTextsAreRussian();
    void reportUsesTheDecimalCommaOfARussianLocale();

private:
    template <typename T>
    T* control(const char* name) {
        auto* widget = window->findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(widget);
        return widget;
    }
    QLineEdit* formula() { return control<QLineEdit>("txtFormula"); }
    QPlainTextEdit* percent() { return control<QPlainTextEdit>("txtPercent"); }
    PictureBox* picture() { return control<PictureBox>("picFormula"); }
    QRect geometryOf(const char* name) { return control<QWidget>(name)->geometry(); }
    void typeFormula(const QString& text);
    void resizeTo(int width, int height);
    QStringList drawnTexts();

    std::unique_ptr<TemporaryDirectory> directory;
    std::unique_ptr<RecordingMessages> messages;
    std::unique_ptr<frmVeltrax> window;
    QTimer dialogGuard;
    QStringList strayDialogs;
    bool expectDialog = false;
};

void WindowTest::init() {
    directory = std::make_unique<TemporaryDirectory>();
    messages = std::make_unique<RecordingMessages>();
    window = std::make_unique<frmVeltrax>(directory->path(), messages.get());
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    strayDialogs.clear();
    connect(&dialogGuard, &QTimer::timeout, this, [this] {
        if (QWidget* dialog = QApplication::activeModalWidget(); dialog && !expectDialog) {
            strayDialogs << dialog->windowTitle();
            dialog->close();
        }
    });
    dialogGuard.start(20);
}

void WindowTest::cleanup() {
    dialogGuard.stop();
    dialogGuard.disconnect();
    window.reset();
    QVERIFY2(strayDialogs.isEmpty(), qPrintable(strayDialogs.join(QLatin1Char(','))));
}

void WindowTest::typeFormula(const QString& text) {
    formula()->selectAll();
    QTest::keyClick(formula(), Qt::Key_Delete);
    QTest::keyClicks(formula(), text);
}

void WindowTest::resizeTo(int width, int height) {
    window->resize(width, height);
    QTRY_COMPARE(window->size(), QSize(width, height));
}

QStringList WindowTest::drawnTexts() {
    QStringList texts;
    for (const auto& drawn : picture()->Drawing())
        texts << (drawn.FontSize < 20 ? QLatin1Char('_') + ToQString(drawn.Printed) : ToQString(drawn.Printed));
    return texts;
}

void WindowTest::startsUpWithTheDesignedControls() {
    QCOMPARE(window->windowTitle(), QStringLiteral("Veltrax"));
    // The calculator drawn for 16 pixels, not a reduction of the 32-pixel one.
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(16, 16)));
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(32, 32)));
    QCOMPARE(control<QComboBox>("cmbPrecision")->currentText(), QStringLiteral("1"));
    QCOMPARE(control<QComboBox>("cmbPrecision")->count(), 15);
    QCOMPARE(window->workspace().Precision, 1);
    QCOMPARE(window->workspace().Composition.size(), std::size_t{1});
    QVERIFY(window->formulaText().empty());
    QCOMPARE(formula()->text(), QStringLiteral("Введите формулу и нажмите ввод, чтобы получить процентный состав"));
    QCOMPARE(formula()->toolTip(), QStringLiteral("Нажмите ввод, чтобы получить процентный состав"));
    QCOMPARE(control<QPushButton>("Command1")->text(),
             QStringLiteral("Вычислить формулу вещества из его процентного состава"));
    QCOMPARE(control<QLabel>("lblPrecision")->buddy(), control<QComboBox>("cmbPrecision"));
    QVERIFY(percent()->toPlainText().isEmpty());
    QVERIFY(picture()->Drawing().empty());
    QTRY_COMPARE(QApplication::focusWidget(), formula());

    // The opening client area of 7155 x 4050 twips, laid out.
    QCOMPARE(window->size(), QSize(477, 270));
    QCOMPARE(geometryOf("txtFormula"), QRect(0, 0, 477, 25));
    QCOMPARE(geometryOf("picFormula"), QRect(0, 32, 477, 49));
    QCOMPARE(geometryOf("txtPercent"), QRect(80, 88, 317, 182));
    QCOMPARE(geometryOf("Command1"), QRect(0, 88, 73, 89));
    QCOMPARE(geometryOf("lblPrecision"), QRect(400, 88, 81, 41));
    QCOMPARE(geometryOf("cmbPrecision"), QRect(407, 136, 65, 21));

    // Tab order: picture, formula, report box, button, list (the label takes no focus).
    picture()->setFocus();
    for (const char* next : {"txtFormula", "txtPercent", "Command1", "cmbPrecision", "picFormula"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(next));
    }
}

void WindowTest::theFirstKeystrokeReplacesThePrompt() {
    formula()->setCursorPosition(0);
    QTest::keyClicks(formula(), QStringLiteral("H"));
    QCOMPARE(formula()->text(), QStringLiteral("H"));
    QCOMPARE(formula()->cursorPosition(), 1);
    QCOMPARE(ToQString(window->formulaText()), QStringLiteral("H"));
    QCOMPARE(drawnTexts(), QStringList{QStringLiteral("H")});
}

void WindowTest::removingACharacterPutsTheCaretAtTheEnd() {
    typeFormula(QStringLiteral("H2O"));
    formula()->setCursorPosition(1);
    QTest::keyClick(formula(), Qt::Key_Space);
    QCOMPARE(formula()->text(), QStringLiteral("H2O"));
    QCOMPARE(formula()->cursorPosition(), 3);
    // A letter of another alphabet, sent as a key event of its own.
    formula()->setCursorPosition(1);
    QKeyEvent cyrillic(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("Н"));
    QApplication::sendEvent(formula(), &cyrillic);
    QCOMPARE(formula()->text(), QStringLiteral("H2O"));
    QCOMPARE(formula()->cursorPosition(), 3);
}

void WindowTest::anAcceptedCharacterLeavesTheCaretWhereItWas() {
    typeFormula(QStringLiteral("H2O"));
    formula()->setCursorPosition(1);
    QTest::keyClicks(formula(), QStringLiteral("2"));
    QCOMPARE(formula()->text(), QStringLiteral("H22O"));
    QCOMPARE(formula()->cursorPosition(), 2);
    QCOMPARE(drawnTexts(), (QStringList{"H", "_2", "_2", "O"}));
}

void WindowTest::pastingABlankCleansItAtOnce() {
    formula()->clear();
    QApplication::clipboard()->setText(QStringLiteral("H2 O"));
    formula()->paste();
    QCOMPARE(formula()->text(), QStringLiteral("H2O"));
    QCOMPARE(formula()->cursorPosition(), 3);
    QCOMPARE(ToQString(window->formulaText()), QStringLiteral("H2O"));
}

void WindowTest::whatTheCleaningTookAwayIsToldUntilTheReportAndBesideIt_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("keyByKey");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("atEnter");
    QTest::addColumn<QString>("molarMass");
    QTest::newRow("pasted from a Russian text")
        << QStringLiteral("(NН4)2SО4") << false << QStringLiteral("(N4)2S4")
        << QStringLiteral("В формуле убраны русские буквы «Н», «О»: посчитано для (N4)2S4.")
        << QStringLiteral("# Масса - 240.3176");
    QTest::newRow("typed on the Russian layout")
        << QStringLiteral("(NН4)2SО4") << true << QStringLiteral("(N4)2S4")
        << QStringLiteral("В формуле убраны русские буквы «Н», «О»: посчитано для (N4)2S4.")
        << QStringLiteral("# Масса - 240.3176");
    QTest::newRow("a hydrate's dot typed")
        << QStringLiteral("CuSO4·5H2O") << true << QStringLiteral("CuSO45H2O")
        << QStringLiteral("В формуле убран знак «·»: посчитано для CuSO45H2O.") << QStringLiteral("# Масса - 833.5943");
}

void WindowTest::whatTheCleaningTookAwayIsToldUntilTheReportAndBesideIt() {
    QFETCH(QString, text);
    QFETCH(bool, keyByKey);
    QFETCH(QString, kept);
    QFETCH(QString, atEnter);
    QFETCH(QString, molarMass);
    // The first keystroke strips the prompt: no notice for that.
    auto* balloon = control<QLabel>("cleaningNotice");
    QTest::keyClick(formula(), Qt::Key_H);
    QVERIFY(!balloon->isVisible());
    formula()->clear();
    if (keyByKey) {
        for (const QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(formula(), &key);
        }
    } else {
        QApplication::clipboard()->setText(text);
        QTest::keySequence(formula(), QKeySequence::Paste);
    }
    QCOMPARE(formula()->text(), kept);
    QVERIFY(balloon->isVisible());
    QCOMPARE(formula()->accessibleDescription(), balloon->text());
    QVERIFY(formula()->hasFocus());
    // Under the picture, above every control below it, at any width.
    for (const int width : {477, 300, 1200}) {
        resizeTo(width, 270);
        QVERIFY(balloon->geometry().top() > geometryOf("picFormula").bottom());
        for (const char* below : {"txtPercent", "Command1", "lblPrecision"})
            QVERIFY2(balloon->geometry().bottom() < geometryOf(below).top(), below);
    }
    // Enter tells it once more beside the report, which is the one the
    // cleaned formula always gave, with no message box.
    QTest::keyClick(formula(), Qt::Key_Return);
    QCOMPARE(percent()->toPlainText().split(QLatin1Char('\n')).first(), molarMass);
    QCOMPARE(balloon->text(), atEnter);
    QVERIFY(balloon->isVisible() && balloon->geometry().bottom() < geometryOf("txtPercent").top());
    QVERIFY(messages->shown.empty());
    // A keystroke after the report that loses nothing ends it; the controls go back.
    QTest::keyClick(formula(), Qt::Key_H);
    QVERIFY(!balloon->isVisible());
    QCOMPARE(formula()->accessibleDescription(), QString());
    QCOMPARE(geometryOf("txtPercent").top(), 1320 / 15);
}

void WindowTest::enterOnTheUntouchedPromptAnalysesNothing() {
    QTest::keyClick(formula(), Qt::Key_Return);
    QVERIFY(percent()->toPlainText().isEmpty());
    QVERIFY(messages->shown.empty());
    QVERIFY(!std::filesystem::exists(directory->path() / "NameMass.dat"));
}

void WindowTest::enterWritesTheReportAndPrecisionAppliesAtTheNextEnter() {
    typeFormula(QStringLiteral("HC4"));
    QTest::keyClick(formula(), Qt::Key_Return);
    const QString report = percent()->toPlainText();
    QCOMPARE(report, QStringLiteral("# Масса - 49.05194\n# 1.00794 * 1 + 12.011 * 4 = 49.05194 #\n\n"
                                    "H - 2.1%\nC - 97.9%\n# 2.1% + 97.9% = 99.99999% #"));
    auto* precision = control<QComboBox>("cmbPrecision");
    precision->setCurrentIndex(3);
    QCOMPARE(window->workspace().Precision, 3);
    QCOMPARE(percent()->toPlainText(), report);
    QTest::keyClick(formula(), Qt::Key_Enter);  // the keypad's key does the same
    QVERIFY(percent()->toPlainText().contains(QStringLiteral("\nH - 2.055%\n")));
    QVERIFY(std::filesystem::exists(directory->path() / "NameMass.dat"));
}

void WindowTest::messagesGoToTheMessageBoxOfTheWindow() {
    typeFormula(QStringLiteral("(Xx)2"));
    QTest::keyClick(formula(), Qt::Key_Return);
    QCOMPARE(messages->shown.size(), std::size_t{2});
    QVERIFY(percent()->toPlainText().contains(QStringLiteral("Xx - 0%")));
}

void WindowTest::theButtonOnAnEmptyBoxDrawsNothing() {
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QVERIFY(picture()->Drawing().empty());
    QCOMPARE(window->workspace().Composition.size(), std::size_t{1});
    QVERIFY(messages->shown.empty());
}

void WindowTest::theButtonDerivesATypedComposition() {
    typeFormula(QStringLiteral("H2O"));
    percent()->setFocus();
    for (const char* line : {"C = 40", "H = 6.7", "O = 53.3"}) {
        QTest::keyClicks(percent(), QString::fromLatin1(line));
        QTest::keyClick(percent(), Qt::Key_Return);
    }
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QVERIFY(messages->shown.empty());
    QCOMPARE(drawnTexts(), (QStringList{"C", "_n", "H", "_ 2n", "O", "_n"}));
    QCOMPARE(picture()->Drawing().at(1).Y, 250.0);
    QCOMPARE(picture()->Description(), QStringLiteral("C нижний индекс n, H нижний индекс 2n, O нижний индекс n"));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(picture());
    QCOMPARE(accessible->role(), QAccessible::Graphic);
    QCOMPARE(accessible->text(QAccessible::Description), picture()->Description());
    QCOMPARE(percent()->toPlainText(), QStringLiteral("C = 40\nH = 6.7\nO = 53.3\n"));
}

void WindowTest::theButtonReadsTheReportBack() {
    typeFormula(QStringLiteral("Fe2O3"));
    QTest::keyClick(formula(), Qt::Key_Return);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(drawnTexts(), (QStringList{"Fe", "_n", "O", "_ 1.5n"}));
}

void WindowTest::drawsCaOH2AtTheDesignedPositions() {
    typeFormula(QStringLiteral("Ca(OH)2"));
    const auto& drawing = picture()->Drawing();
    QCOMPARE(drawing.size(), std::size_t{7});
    for (std::size_t i = 0; i < 6; ++i) {
        QCOMPARE(drawing[i].Y, 50.0);
        QCOMPARE(drawing[i].FontSize, 20.0);
        if (i > 0) QVERIFY(drawing[i].X > drawing[i - 1].X);
    }
    QCOMPARE(drawing[6].Printed, Text(U"2"));
    QCOMPARE(drawing[6].Y, 300.0);
    QCOMPARE(drawing[6].FontSize, 14.0);
    QCOMPARE(picture()->CurrentY(), 50.0);
    QCOMPARE(picture()->FontSize(), 20.0);
    QCOMPARE(picture()->Description(), QStringLiteral("Ca(OH) нижний индекс 2"));
    typeFormula(QStringLiteral("2H2O"));  // a subscript first is still told apart
    QCOMPARE(picture()->Description(), QStringLiteral("нижний индекс 2, H нижний индекс 2, O"));
    typeFormula(QStringLiteral("C6H12O6"));  // a number of several digits is one number
    QCOMPARE(picture()->Description(), QStringLiteral("C нижний индекс 6, H нижний индекс 12, O нижний индекс 6"));
}

void WindowTest::theLayoutFollowsTheWindowSize_data() {
    // The rows the browser test reads too (tests/window_layout.json, built
    // in): window sizes one after another, in twips, and the report box, the
    // label and the list that they leave.
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QRect>("report");
    QTest::addColumn<int>("labelLeft");
    QTest::addColumn<int>("listLeft");
    QFile file(QStringLiteral(":/tests/window_layout.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto pixels = [](const QJsonValue& twips) { return qRound(twips.toDouble() / 15); };
    for (const QJsonValue& value : QJsonDocument::fromJson(file.readAll())[QStringLiteral("rows")].toArray()) {
        const QJsonObject row = value.toObject();
        QList<QSize> sizes;
        for (const QJsonValue& size : row[QStringLiteral("sizes")].toArray())
            sizes << QSize(pixels(size[0]), pixels(size[1]));
        const QJsonArray report = row[QStringLiteral("report")].toArray();
        QTest::newRow(row[QStringLiteral("what")].toString().toUtf8().constData())
            << sizes << QRect(pixels(report[0]), pixels(report[1]), pixels(report[2]), pixels(report[3]))
            << pixels(row[QStringLiteral("label")]) << pixels(row[QStringLiteral("list")]);
    }
}

void WindowTest::theLayoutFollowsTheWindowSize() {
    QFETCH(QList<QSize>, sizes);
    QFETCH(QRect, report);
    QFETCH(int, labelLeft);
    QFETCH(int, listLeft);
    for (const QSize& size : sizes) resizeTo(size.width(), size.height());
    QCOMPARE(geometryOf("txtPercent"), report);
    QCOMPARE(geometryOf("lblPrecision"), QRect(labelLeft, 88, 81, 41));
    QCOMPARE(geometryOf("cmbPrecision"), QRect(listLeft, 136, 65, 21));
    QCOMPARE(geometryOf("txtFormula"), QRect(0, 0, sizes.back().width(), 25));
    QCOMPARE(geometryOf("picFormula"), QRect(0, 32, sizes.back().width(), 49));
    QCOMPARE(geometryOf("Command1"), QRect(0, 88, 73, 89));
}

void WindowTest::theMessageBoxHasTheCaptionTheTextAndOkOnly() {
    expectDialog = true;
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QList<QAbstractButton*> buttons;
    QTimer::singleShot(50, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons();
        QCOMPARE(box->standardButton(buttons.value(0)), QMessageBox::Ok);
        box->accept();
    });
    QtMessageBox(window.get()).Show(U"Проверка");
    expectDialog = false;
    QCOMPARE(caption, QStringLiteral("Veltrax"));
    QCOMPARE(text, QStringLiteral("Проверка"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons.size(), 1);
}

void WindowTest::enterOnTheFocusedButtonPressesIt() {
    percent()->setPlainText(QStringLiteral("C = 40\nH = 6.7\nO = 53.3"));
    auto* button = control<QPushButton>("Command1");
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}}) {
        picture()->Clear();
        button->setFocus();
        QTest::keyClick(button, key, modifiers);
        QTRY_COMPARE(drawnTexts(), (QStringList{"C", "_n", "H", "_ 2n", "O", "_n"}));
    }
}

void WindowTest::undoAfterARejectedPasteBringsThePreviousTextBack() {
    typeFormula(QStringLiteral("Fe2(SO4)3"));
    // Nothing of it can stay in the box, and one undo brings the formula back.
    formula()->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("сульфат железа"));
    formula()->paste();
    QCOMPARE(formula()->text(), QString());
    QTest::keySequence(formula(), QKeySequence::Undo);
    QCOMPARE(formula()->text(), QStringLiteral("Fe2(SO4)3"));
    QCOMPARE(ToQString(window->formulaText()), QStringLiteral("Fe2(SO4)3"));
    QCOMPARE(drawnTexts().size(), 9);
    // A paste that is partly kept is taken back as one step too.
    formula()->end(false);
    QApplication::clipboard()->setText(QStringLiteral(" H2 O"));
    formula()->paste();
    QCOMPARE(formula()->text(), QStringLiteral("Fe2(SO4)3H2O"));
    QCOMPARE(formula()->cursorPosition(), 12);
    QTest::keySequence(formula(), QKeySequence::Undo);
    QCOMPARE(formula()->text(), QStringLiteral("Fe2(SO4)3"));
}

void WindowTest::theFormulaBoxTakesAPasteOfAnyLength() {
    formula()->clear();
    QApplication::clipboard()->setText(QStringLiteral("H ").repeated(20000));
    formula()->paste();
    QCOMPARE(formula()->text(), QString(20000, QLatin1Char('H')));
    QTest::keyClick(formula(), Qt::Key_Return);
    QVERIFY(percent()->toPlainText().contains(QStringLiteral("# 1.00794 * 20000 = ")));
}

// A megabyte pasted with Ctrl+V into each box: never held whole, answered at
// once, one message for what did not fit, and one undo step.
void WindowTest::hugePastesAreBoundedBeforeTheBoxesHoldThem_data() {
    QTest::addColumn<bool>("intoTheFormula");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<qsizetype>("dropped");
    QString formulas;
    while (formulas.size() < 1'000'000) formulas += QStringLiteral("Fe2(SO4)3 ");
    QString kept = QString(formulas).remove(QLatin1Char(' ')).left(32767);
    QTest::newRow("formula") << true << formulas << kept << qsizetype{900'000 - 32767};
    QTest::newRow("formula, cleaned to fit") << true << QStringLiteral("H ").repeated(500'000)
                                             << QString(32767, QLatin1Char('H')) << qsizetype{500'000 - 32767};
    QString lines;
    while (lines.size() < 1'000'000) lines += QStringLiteral("C = 40%\nH - 6.7\n");
    QTest::newRow("report box") << false << lines << lines.left(qsizetype{kReportBoxCapacity})
                                << lines.size() - qsizetype{kReportBoxCapacity};
}

void WindowTest::hugePastesAreBoundedBeforeTheBoxesHoldThem() {
    QFETCH(bool, intoTheFormula);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    QFETCH(qsizetype, dropped);
    QWidget* box = intoTheFormula ? static_cast<QWidget*>(formula()) : percent();
    box->setFocus();
    if (intoTheFormula) {
        typeFormula(QStringLiteral("H2O"));
        formula()->selectAll();
    }
    QApplication::clipboard()->setText(pasted);
    qsizetype largestHeld = 0;
    const auto watch = connect(formula(), &QLineEdit::textChanged, this,
                               [&](const QString& text) { largestHeld = std::max(largestHeld, text.size()); });
    QElapsedTimer timer;
    timer.start();
    QTest::keySequence(box, QKeySequence::Paste);
    disconnect(watch);
    const QString held = intoTheFormula ? formula()->text() : percent()->toPlainText();
    QCOMPARE(held.size(), kept.size());
    QVERIFY(held == kept);
    QVERIFY(largestHeld <= qsizetype{32767});
    QCOMPARE(messages->shown.size(), std::size_t{1});
    QVERIFY2(ToQString(messages->shown[0]).contains(QString::number(dropped)),
             qPrintable(ToQString(messages->shown[0])));
    qInfo("a paste of %lld characters answered in %lld ms", static_cast<long long>(pasted.size()),
          static_cast<long long>(timer.elapsed()));
    if (intoTheFormula) {
        QCOMPARE(formula()->cursorPosition(), 32767);
        QCOMPARE(ToQString(window->formulaText()), kept);
        QTest::keySequence(formula(), QKeySequence::Undo);
        QCOMPARE(formula()->text(), QStringLiteral("H2O"));
        QCOMPARE(ToQString(window->formulaText()), QStringLiteral("H2O"));
    }
}

void WindowTest::anEditThatCrossesTheBoundKeepsTheFirst32767() {
    const QString full = QStringLiteral("CO").repeated(16383) + QLatin1Char('H');  // 32,767 characters
    QApplication::clipboard()->setText(full);
    formula()->selectAll();
    QTest::keySequence(formula(), QKeySequence::Paste);
    QCOMPARE(formula()->text(), full);
    QVERIFY(messages->shown.empty());
    // One more letter typed at the start: the last one goes, and the user hears of it.
    formula()->setCursorPosition(0);
    QTest::keyClicks(formula(), QStringLiteral("N"));
    QCOMPARE(formula()->text(), QLatin1Char('N') + full.left(32766));
    QCOMPARE(formula()->cursorPosition(), 32767);
    QCOMPARE(messages->shown.size(), std::size_t{1});
    QVERIFY(ToQString(messages->shown[0]).contains(QStringLiteral("32767 знаков")));
    QVERIFY(ToQString(messages->shown[0]).endsWith(QStringLiteral(": 1.")));
}

void WindowTest::compositionsBeyondSinglePrecisionGiveOneMessage() {
    const QString tooLarge = QStringLiteral("C = 1") + QString(39, QLatin1Char('0'));
    for (const QString& composition :
         {tooLarge + QStringLiteral("\nH = 1"), QStringLiteral("C = 3") + QString(38, QLatin1Char('0')) +
                                                    QStringLiteral("\nO = 3") + QString(38, QLatin1Char('0'))}) {
        messages->shown.clear();
        percent()->setPlainText(composition);
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(messages->shown.size(), std::size_t{1});
        QCOMPARE(messages->shown[0], Text(kCompositionNumbersTooLargeMessage));
        QVERIFY(picture()->Drawing().empty());
    }
}

void WindowTest::theElementFileLivesBesideTheProgramOrInTheUsersFolder_data() {
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("programFolderWritable");  // as root, or a copy unpacked in the user's own folder
    QTest::addColumn<bool>("fileBesideTheProgram");
    QTest::addColumn<bool>("inTheUsersFolder");
    QTest::newRow("portable, unpacked anywhere") << false << true << false << false;
    QTest::newRow("portable, read-only, no file") << false << false << false << true;
    QTest::newRow("portable, read-only, a file beside the program") << false << false << true << false;
    QTest::newRow("installed, run by a user") << true << false << false << true;
    QTest::newRow("installed, run as root") << true << true << false << true;
    QTest::newRow("installed, a file left beside it by an earlier run as root") << true << true << true << true;
}

void WindowTest::theElementFileLivesBesideTheProgramOrInTheUsersFolder() {
    QFETCH(bool, installed);
    QFETCH(bool, programFolderWritable);
    QFETCH(bool, fileBesideTheProgram);
    QFETCH(bool, inTheUsersFolder);
    const QString program = QString::fromStdU16String(directory->path().u16string());
    const QTemporaryDir home;
    const QString user = home.path() + QStringLiteral("/.local/share/veltrax");
    if (fileBesideTheProgram) QFile(program + QStringLiteral("/NameMass.dat")).open(QIODevice::WriteOnly);
    if (!programFolderWritable) {
        QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
        QTemporaryFile probe(program + QStringLiteral("/probe-XXXXXX"));
        if (probe.open()) QSKIP("permissions do not bind this user (ctest runs this test as nobody too)");
    }
    const QString chosen = ElementFileFolder(program, user, installed);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(chosen, inTheUsersFolder ? user : program);
    QCOMPARE(QFileInfo(user).isDir(), inTheUsersFolder);
    QCOMPARE(QDir(program).entryList(QDir::Files | QDir::Hidden).size(), fileBesideTheProgram ? 1 : 0);
}

void WindowTest::installedCopiesAreKnownByWhereTheyStand_data() {
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<bool>("installed");
    QTest::newRow("the .deb's folder") << QStringLiteral("/usr/lib/veltrax") << true;
    QTest::newRow("/opt") << QStringLiteral("/opt/veltrax/bin") << true;
    QTest::newRow("a build folder") << QStringLiteral("/home/teacher/veltrax/build/app") << false;
    QTest::newRow("a folder named like /usr") << QStringLiteral("/usrlocal/veltrax") << false;
    QTest::newRow("Program Files") << QStringLiteral("C:/Program Files/Veltrax") << true;
    QTest::newRow("a user's Programs") << QStringLiteral("C:/Users/Ivan/AppData/Local/Programs/Veltrax") << true;
    QTest::newRow("a user's desktop") << QStringLiteral("C:/Users/Ivan/Desktop/veltrax") << false;
    QTest::newRow("any folder the installer marked") << QStringLiteral("marked") << true;
}

void WindowTest::installedCopiesAreKnownByWhereTheyStand() {
    QFETCH(QString, programFolder);
    QFETCH(bool, installed);
    const bool windows = QSysInfo::kernelType() == QLatin1String("winnt");
    if (windows && programFolder.startsWith(QLatin1Char('/'))) QSKIP("a Linux folder");
    if (programFolder == QLatin1String("marked")) {  // a school's own folder, with the installer's marker
        programFolder = QString::fromStdString(directory->path().string());
        QFile marker(QDir(programFolder).filePath(QStringLiteral("veltrax.installed")));
        QVERIFY(marker.open(QIODevice::WriteOnly));
    }
    qputenv("ProgramFiles", "C:\\Program Files");
    qputenv("LOCALAPPDATA", "C:\\Users\\Ivan\\AppData\\Local");
    const bool found = InstalledCopy(programFolder);
    qunsetenv("ProgramFiles");
    qunsetenv("LOCALAPPDATA");
    QCOMPARE(found, installed);
    if (!windows)
        QCOMPARE(AdministratorTable(), QStringLiteral("/etc/veltrax/NameMass.dat"));
    else
        QVERIFY(AdministratorTable().endsWith(QStringLiteral("\\veltrax\\NameMass.dat")));
}

void WindowTest::aMissingDrawingFaceFallsBackToOneOfArialsMetrics() {
    PictureBox box;
    box.SetFontName(QStringLiteral("No Such Face"));
    box.SetFontSize(20);
    Text formula = U"WW";
    ShowFormula(formula, box);
    QFont liberation(QStringLiteral("Liberation Sans"));
    liberation.setPointSizeF(20);
    const double expected = QFontMetricsF(liberation, &box).horizontalAdvance(QLatin1Char('W')) * 15;
    QCOMPARE(box.Drawing().at(1).X, expected);
}

void WindowTest::aRelativeXdgDataHomeIsIgnored() {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "relative/share");
    IgnoreRelativeXdgDataHome();
    QVERIFY(!qEnvironmentVariableIsSet("XDG_DATA_HOME"));
    QVERIFY(QDir::isAbsolutePath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    qputenv("XDG_DATA_HOME", "/srv/share");
    IgnoreRelativeXdgDataHome();
    QCOMPARE(qgetenv("XDG_DATA_HOME"), QByteArray("/srv/share"));
    if (saved.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", saved);
}

void WindowTest::qtsOwnTextsAreRussian() {
    QVERIFY(LoadQtRussianTranslations(*QCoreApplication::instance()));
    // The menus as the boxes make them, without the shortcuts after the tab.
    const auto items = [](QMenu* menu) {
        QStringList texts;
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) texts << action->text().section(QLatin1Char('\t'), 0, 0);
        delete menu;
        return texts;
    };
    const QStringList editing = {QStringLiteral("&Отменить"),  QStringLiteral("&Повторить"),
                                 QStringLiteral("&Вырезать"),  QStringLiteral("&Копировать"),
                                 QStringLiteral("В&ставить"), QStringLiteral("&Удалить"),
                                 QStringLiteral("Выделить всё")};
    QCOMPARE(items(formula()->createStandardContextMenu()), editing);
    QStringList report = items(percent()->createStandardContextMenu());
    report.removeAll(QStringLiteral("Копировать &адрес ссылки"));
    QCOMPARE(report, editing);
    QCOMPARE(QCoreApplication::translate("QScrollBar", "Scroll here"), QStringLiteral("Прокрутить сюда"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("ОК"));
}

void WindowTest::reportUsesTheDecimalCommaOfARussianLocale() {
    if (QLocale::system().decimalPoint() != QStringLiteral(","))
        QSKIP("runs under a locale with a decimal comma (ctest runs it with LANG=ru_RU.UTF-8)");
    typeFormula(QStringLiteral("H2O"));
    QTest::keyClick(formula(), Qt::Key_Return);
    QVERIFY(percent()->toPlainText().startsWith(QStringLiteral("# Масса - 18,01528\n# 1,00794 * 2 + 15,9994 * 1")));
    // The report reads back through the composition path.
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(drawnTexts(), (QStringList{"H", "_ 2n", "O", "_n"}));
}

QTEST_MAIN(WindowTest)
#include "frmVeltrax_test.moc"
