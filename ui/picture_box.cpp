#include "picture_box.h"

#include <QAccessible>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

#include "drawing/formula_drawing.h"
#include "qt_text.h"

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Midlight);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("Изображение формулы"));
}

void PictureBox::SetFontName(const QString& family) {
    family_ = family;
    fonts_.clear();
}

PictureBox::SizedFont& PictureBox::FontOfSize(double points) {
    // Qt refuses sizes of 0 and below; the smallest sensible type stands in.
    points = std::max(points, 1.0);
    for (auto& sized : fonts_)
        if (sized.points == points) return sized;
    if (fonts_.size() > 8) fonts_.clear();
    // Where the face is missing, one of the same metrics stands in, then the
    // platform's sans-serif: the positions of the drawing stay those of Arial.
    QFont font;
    font.setFamilies({family_, QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    fonts_.push_back({points, font, QFontMetricsF(font, this), {}});
    fonts_.back().asciiAdvance.fill(-1);
    return fonts_.back();
}

// A formula is printed one character at a time; the widths of the few
// characters it can hold are measured once per size.
double PictureBox::AdvanceOf(const QString& text) {
    SizedFont& sized = FontOfSize(fontSize_);
    if (text.size() != 1 || text[0].unicode() >= sized.asciiAdvance.size())
        return sized.metrics.horizontalAdvance(text);
    double& advance = sized.asciiAdvance[text[0].unicode()];
    if (advance < 0) advance = sized.metrics.horizontalAdvance(text[0]);
    return advance;
}

void PictureBox::Clear() {
    drawing_.clear();
    x_ = y_ = 0;
    normalSize_ = fontSize_;
    Changed();
}

void PictureBox::Print(TextView text) {
    const QString qtext = ToQString(text);
    drawing_.push_back({qtext, x_, y_, fontSize_});
    x_ += AdvanceOf(qtext) * kTwipsPerPixel;
    Changed();
}

// A formula is drawn one character at a time: the picture asks for one
// repaint for the whole of it, and tells assistive technology, when one
// listens, once that its description changed.
void PictureBox::Changed() {
    if (!repaintRequested_) {
        repaintRequested_ = true;
        update();
    }
    if (descriptionPending_ || !QAccessible::isActive()) return;
    descriptionPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            descriptionPending_ = false;
            QAccessibleEvent event(this, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        },
        Qt::QueuedConnection);
}

void PictureBox::paintEvent(QPaintEvent*) {
    repaintRequested_ = false;
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const auto& drawn : drawing_) {
        const double left = drawn.x / kTwipsPerPixel;
        if (left > width()) break;                            // everything after it lies further right
        const SizedFont& sized = FontOfSize(drawn.fontSize);  // valid until the next call
        painter.setFont(sized.font);
        painter.drawText(QPointF(left, drawn.y / kTwipsPerPixel + sized.metrics.ascent()), drawn.text);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

QString PictureBox::Description() const {
    std::vector<PrintedText> printed;
    printed.reserve(drawing_.size());
    for (const auto& drawn : drawing_) printed.push_back({ToText(drawn.text), drawn.x, drawn.y, drawn.fontSize});
    return ToQString(FormulaDescription(printed, normalSize_));
}
