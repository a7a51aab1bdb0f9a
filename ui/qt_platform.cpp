#include "qt_platform.h"

#include <QLocale>
#include <QMessageBox>

#include "qt_text.h"

Text PlainTextBox::GetText() const {
    return ToText(edit_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

void PlainTextBox::SetText(const Text& text) {
    QString plain = ToQString(text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    edit_->setPlainText(plain);
}

void QtMessageBox::Show(const Text& message) {
    QMessageBox box(QMessageBox::NoIcon, ToQString(kCaption), ToQString(message), QMessageBox::Ok, parent_);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

char32_t UserDecimalSeparator() {
    const Text point = ToText(QLocale().decimalPoint());
    return point.empty() ? U'.' : point.front();
}
