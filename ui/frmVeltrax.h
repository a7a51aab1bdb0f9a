#pragma once

#include <QWidget>
#include <filesystem>
#include <memory>

#include "analysis/workspace.h"
#include "drawing/formula_edit.h"
#include "qt_platform.h"

class QComboBox;
class QLabel;
class FormulaBox;
class ReportBox;
class PictureBox;
class WrappingButton;

// The program's one window. Its events gather input from the controls and
// hand it to the analyses; everything else happens in the core.
class frmVeltrax : public QWidget {
public:
    // `elementFolder` holds NameMass.dat; `messages` replaces the message
    // boxes (tests record them instead).
    explicit frmVeltrax(std::filesystem::path elementFolder, MessageBox* messages = nullptr, QWidget* parent = nullptr);
    ~frmVeltrax() override;

    const Workspace& workspace() const { return workspace_; }
    // The administrator's table that a missing NameMass.dat is made from.
    void SetSeedFile(std::filesystem::path seed) { workspace_.SeedFile = std::move(seed); }
    const Text& formulaText() const { return formulaBox_.Formula; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateControls();
    void Form_Load();
    void Form_Resize();
    void txtFormula_Change();
    void txtFormula_Insert(const QString& inserted);
    void WriteBackFormula();
    void FormulaChanged(const FormulaChange& change);
    void ShowCleaningNotice(const Text& notice);
    float PlaceCleaningNotice(float width);
    static void PlaceAsDesigned(QWidget* control, std::size_t which);
    void txtFormula_Enter();
    void Command1_Click();
    void cmbPrecision_Click();

    FormulaBox* txtFormula = nullptr;
    PictureBox* picFormula = nullptr;
    ReportBox* txtPercent = nullptr;
    WrappingButton* Command1 = nullptr;
    QLabel* lblPrecision = nullptr;
    QComboBox* cmbPrecision = nullptr;
    QLabel* cleaningNotice_ = nullptr;  // what the cleaning took away, under the picture

    std::unique_ptr<QtMessageBox> ownMessages_;
    std::unique_ptr<PlainTextBox> percentBox_;
    Workspace workspace_;
    FormulaBoxState formulaBox_;  // FormulaText and what the cleaning took from it
    bool activated_ = false;
    bool writingBack_ = false;  // the change handling is writing a cleaned text back
};
