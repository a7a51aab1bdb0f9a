#include "text_boxes.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <memory>

void FormulaBox::Paste(bool selection) {
    if (isReadOnly() || !Inserting) return;
    const QString text = QGuiApplication::clipboard()->text(selection ? QClipboard::Selection : QClipboard::Clipboard);
    if (!text.isEmpty() || hasSelectedText()) Inserting(text);
}

void FormulaBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        Paste(false);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FormulaBox::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] { Paste(false); });
    }
    menu->exec(event->globalPos());
}

// On X11 the middle button pastes the selection.
void FormulaBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() && !isReadOnly()) {
        deselect();
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        Paste(true);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

// Text dragged in from elsewhere; a move within the box stays the box's own.
void FormulaBox::dropEvent(QDropEvent* event) {
    if (event->source() == this || !event->mimeData()->hasText() || isReadOnly() || !Inserting) {
        QLineEdit::dropEvent(event);
        return;
    }
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    Inserting(event->mimeData()->text());
    event->acceptProposedAction();
    setFocus();
}

void ReportBox::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    const qsizetype held = document()->characterCount() - 1;  // less the final paragraph separator
    const QString text = source->text();
    const auto kept = static_cast<qsizetype>(
        ReportBoxKeeps(static_cast<std::size_t>(held), static_cast<std::size_t>(cursor.selectionEnd() - cursor.selectionStart()),
                       static_cast<std::size_t>(text.size()),
                       [&text](std::size_t i) { return text.at(static_cast<qsizetype>(i)).unicode(); }));
    if (kept == text.size()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    cursor.insertText(text.left(kept));
    setTextCursor(cursor);
    ensureCursorVisible();
    if (Cut) Cut(text.size() - kept);
}
