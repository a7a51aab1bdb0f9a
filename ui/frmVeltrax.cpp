#include "frmVeltrax.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <limits>
#include <utility>

#include "accessibility.h"
#include "analysis/formula_parser.h"
#include "analysis/number_reader.h"
#include "analysis/numbers.h"
#include "derivation/composition_parser.h"
#include "drawing/formula_drawing.h"
#include "drawing/formula_edit.h"
#include "drawing/window_layout.h"
#include "drawing/window_texts.h"
#include "picture_box.h"
#include "qt_text.h"
#include "text_boxes.h"
#include "twips.h"
#include "veltrax_icon.h"
#include "wrapping_button.h"

namespace {

using window_layout::kClientHeight;
using window_layout::kClientWidth;

// Where the face itself is missing, a sans-serif face of similar width stands
// in (Liberation Sans has the metrics of Arial), then whatever the platform has.
QFont SansSerif(double points) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

QFont TextBoxFont() { return SansSerif(9.75); }

}  // namespace

frmVeltrax::frmVeltrax(std::filesystem::path elementFolder, MessageBox* messages, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmVeltrax"));
    InstallAccessibleRoles();
    setWindowIcon(VeltraxIcon());
    setFont(SansSerif(8.25));  // the window's default font, used by the button, the label and the list
    workspace_.ElementFolder = std::move(elementFolder);
    if (!messages) {
        ownMessages_ = std::make_unique<QtMessageBox>(this);
        messages = ownMessages_.get();
    }
    workspace_.Messages = messages;
    workspace_.Precision = 0;
    CreateControls();
    Form_Load();

    resize(static_cast<int>(kClientWidth / twips::kPerPixel), static_cast<int>(kClientHeight / twips::kPerPixel));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Resize();
}

frmVeltrax::~frmVeltrax() = default;

void frmVeltrax::CreateControls() {
    picFormula = new PictureBox(this);
    picFormula->setObjectName(QStringLiteral("picFormula"));
    PlaceAsDesigned(picFormula, window_layout::picFormula);

    txtFormula = new FormulaBox(this);
    txtFormula->setObjectName(QStringLiteral("txtFormula"));
    txtFormula->setFont(TextBoxFont());
    txtFormula->setText(ToQString(window_texts::kFormulaPrompt));
    txtFormula->setToolTip(ToQString(window_texts::kFormulaTip));
    txtFormula->setAccessibleName(ToQString(window_texts::kFormulaName));
    txtFormula->setMaxLength(std::numeric_limits<int>::max());  // the cleaning decides what stays
    txtFormula->Inserting = [this](const QString& inserted) { txtFormula_Insert(inserted); };
    PlaceAsDesigned(txtFormula, window_layout::txtFormula);

    txtPercent = new ReportBox(this);
    txtPercent->setObjectName(QStringLiteral("txtPercent"));
    txtPercent->setFont(TextBoxFont());
    txtPercent->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtPercent->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtPercent->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtPercent->setTabChangesFocus(true);
    txtPercent->setAccessibleName(ToQString(window_texts::kReportName));
    PlaceAsDesigned(txtPercent, window_layout::txtPercent);
    percentBox_ = std::make_unique<PlainTextBox>(txtPercent);
    txtPercent->Cut = [this](qsizetype dropped) {
        ShowMessage(workspace_, ReportCutMessage(static_cast<std::size_t>(dropped)));
    };

    cleaningNotice_ = new QLabel(this);
    cleaningNotice_->setObjectName(QStringLiteral("cleaningNotice"));
    cleaningNotice_->setWordWrap(true);
    cleaningNotice_->setFocusPolicy(Qt::NoFocus);
    cleaningNotice_->setAttribute(Qt::WA_TransparentForMouseEvents);
    cleaningNotice_->setForegroundRole(QPalette::ToolTipText);
    cleaningNotice_->setBackgroundRole(QPalette::ToolTipBase);
    cleaningNotice_->setAutoFillBackground(true);
    cleaningNotice_->setFrameShape(QFrame::Box);
    cleaningNotice_->setMargin(3);
    cleaningNotice_->hide();

    Command1 = new WrappingButton(ToQString(window_texts::kCommandCaption), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    PlaceAsDesigned(Command1, window_layout::Command1);

    lblPrecision = new QLabel(ToQString(window_texts::kPrecisionCaption), this);
    lblPrecision->setObjectName(QStringLiteral("lblPrecision"));
    lblPrecision->setWordWrap(true);
    lblPrecision->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceAsDesigned(lblPrecision, window_layout::lblPrecision);

    cmbPrecision = new QComboBox(this);
    cmbPrecision->setObjectName(QStringLiteral("cmbPrecision"));
    cmbPrecision->setEditable(false);
    for (int places = 0; places <= kMaxPrecision; ++places) cmbPrecision->addItem(QString::number(places));
    lblPrecision->setBuddy(cmbPrecision);
    PlaceAsDesigned(cmbPrecision, window_layout::cmbPrecision);

    setTabOrder(picFormula, txtFormula);
    setTabOrder(txtFormula, txtPercent);
    setTabOrder(txtPercent, Command1);
    setTabOrder(Command1, cmbPrecision);

    connect(txtFormula, &QLineEdit::textChanged, this, [this] { txtFormula_Change(); });
    connect(txtFormula, &QLineEdit::returnPressed, this, [this] { txtFormula_Enter(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(cmbPrecision, &QComboBox::currentIndexChanged, this, [this] { cmbPrecision_Click(); });
}

void frmVeltrax::Form_Load() {
    setWindowTitle(ToQString(kCaption));
    picFormula->SetFontName(QStringLiteral("arial"));
    picFormula->SetFontSize(20);
    cmbPrecision->setCurrentIndex(1);  // runs the selection handling: Precision is 1 from here on
    ResetCompositionTable(workspace_.Composition);
    txtFormula->setFocus();
}

void frmVeltrax::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Resize();
}

void frmVeltrax::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool frmVeltrax::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        txtFormula->setFocus();
    }
    return QWidget::event(event);
}

// Every change of the box, by the user or by the write-back below, redraws
// the formula and drops what it cannot contain; the core decides what stays
// and what the notice says. The write-back's own change is that text again,
// which is no new edit.
void frmVeltrax::txtFormula_Change() {
    if (writingBack_) return;
    const FormulaChange change = ChangeFormula(formulaBox_, ToText(txtFormula->text()), *picFormula);
    if (change.WriteBack) {
        // The cleaned text is written back as an edit of the box, never with
        // setText, which would drop the undo history. The user's own edit is
        // taken back first, so that the cleaned text replaces it as one undo
        // step: Ctrl+Z after a paste that could not stay brings back the text
        // from before the paste.
        writingBack_ = true;
        if (txtFormula->isUndoAvailable()) txtFormula->undo();
        WriteBackFormula();
    }
    FormulaChanged(change);
}

// What a change of the box says: its notice, and the end that did not fit.
void frmVeltrax::FormulaChanged(const FormulaChange& change) {
    ShowCleaningNotice(formulaBox_.Notice);
    if (change.Dropped > 0) ShowMessage(workspace_, FormulaCutMessage(change.Dropped));
}

void frmVeltrax::WriteBackFormula() {
    writingBack_ = true;
    txtFormula->selectAll();
    txtFormula->insert(ToQString(formulaBox_.Formula));
    txtFormula->setCursorPosition(static_cast<int>(txtFormula->text().size()));
    writingBack_ = false;
}

// What the cleaning took away and how to write it, in a band under the
// picture: the report box, the button and the precision move down for it,
// so that it hides no control and no line of the report. It stays until the
// next analysis, which tells it once more beside the report, or until an
// edit starts the formula afresh. Assistive technology hears it as the box's
// description.
void frmVeltrax::ShowCleaningNotice(const Text& notice) {
    const QString text = ToQString(notice);
    if (text == cleaningNotice_->text() && cleaningNotice_->isVisible() == !text.isEmpty()) return;
    txtFormula->setAccessibleDescription(text);
    cleaningNotice_->setText(text);
    cleaningNotice_->setVisible(!text.isEmpty());
    Form_Resize();
}

// A paste or drop into the formula box is cleaned and bounded before the box
// takes it, so that even a paste of megabytes never stands in the box. What
// the change handling would keep anyway is inserted as it is; anything else
// is written as the change handling writes a cleaned text: as one undo step,
// the caret at the end.
void frmVeltrax::txtFormula_Insert(const QString& inserted) {
    const QString current = txtFormula->text();
    const int start = txtFormula->hasSelectedText() ? txtFormula->selectionStart() : txtFormula->cursorPosition();
    const int end = txtFormula->hasSelectedText() ? txtFormula->selectionEnd() : start;
    const Text proposed = ToText(current.left(start) + inserted + current.mid(end));
    const FormulaChange change =
        ChangeFormula(formulaBox_, proposed, *picFormula, start == 0 && end == current.size() && end > 0);
    if (change.WriteBack)
        WriteBackFormula();
    else
        txtFormula->insert(inserted);  // the change that follows is the text just handled
    FormulaChanged(change);
}

void frmVeltrax::txtFormula_Enter() {
    workspace_.DecimalSeparator = UserDecimalSeparator();
    ShowCleaningNotice(AnalysisStarts(formulaBox_));
    AnalizeFormula(workspace_, formulaBox_.Formula, *percentBox_);
}

void frmVeltrax::Command1_Click() {
    workspace_.DecimalSeparator = UserDecimalSeparator();
    const Text composition = percentBox_->GetText();
    AnalizePercentage(workspace_, composition, *picFormula);
}

void frmVeltrax::cmbPrecision_Click() { workspace_.Precision = PrecisionOfEntry(ToText(cmbPrecision->currentText())); }

// The controls follow the client area: the formula box and the picture span
// its width, the report box fills the height below its top edge between equal
// margins, and the precision label and list stay right of it.
void frmVeltrax::Form_Resize() {
    QWidget* const controls[] = {picFormula, txtFormula, txtPercent, Command1, lblPrecision, cmbPrecision};
    window_layout::Controls places;
    for (std::size_t i = 0; i < places.size(); ++i)
        places[i] = {twips::Left(controls[i]), twips::Top(controls[i]), twips::Width(controls[i]),
                     twips::Height(controls[i])};
    const float width = twips::Width(this);
    window_layout::FollowSize(places, width, twips::Height(this), PlaceCleaningNotice(width));
    for (std::size_t i = 0; i < places.size(); ++i)
        twips::SetGeometry(controls[i], places[i].Left, places[i].Top, places[i].Width, places[i].Height);
}

// The notice's band lies between the picture and the controls below it,
// which stand lower by its height while it is shown and at their design
// places otherwise. Gives the band's height in twips.
float frmVeltrax::PlaceCleaningNotice(float width) {
    if (!cleaningNotice_->isVisible()) return 0;
    const int pixels = std::max(1, static_cast<int>(width / twips::kPerPixel));
    cleaningNotice_->setGeometry(0, picFormula->geometry().bottom() + 2, pixels,
                                 cleaningNotice_->heightForWidth(pixels));
    const float below = window_layout::kDesign[window_layout::txtPercent].Top;
    return std::max(0.0F, static_cast<float>(cleaningNotice_->geometry().bottom() + 3) * twips::kPerPixel - below);
}

void frmVeltrax::PlaceAsDesigned(QWidget* control, std::size_t which) {
    const window_layout::Rectangle& place = window_layout::kDesign[which];
    twips::SetGeometry(control, place.Left, place.Top, place.Width, place.Height);
}
