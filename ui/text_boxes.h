#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

#include "analysis/platform.h"

// The formula box. What a user pastes or drops is handed to `Inserting`
// before the box takes it, so that the window can clean and bound it first:
// the box never holds more than the formula may keep, not even for a moment.
class FormulaBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    // The text about to be inserted at the cursor, over the selection.
    std::function<void(const QString&)> Inserting;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Paste(bool selection);
};

// The report box keeps at most kReportBoxCapacity characters; of a paste or
// drop that would leave more, the start is kept and `Cut` is told how many
// characters were left out.
class ReportBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<void(qsizetype dropped)> Cut;

protected:
    void insertFromMimeData(const QMimeData* source) override;
};
