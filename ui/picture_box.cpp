#include "picture_box.h"

#include <QAccessible>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

#include "drawing/formula_drawing.h"
#include "drawing/window_texts.h"
#include "qt_text.h"

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent), RecordedPicture([this](TextView text, double points) {
          return FontOfSize(points).metrics.horizontalAdvance(ToQString(text)) * kTwipsPerPixel;
      }) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Midlight);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(ToQString(window_texts::kPictureName));
}

void PictureBox::SetFontName(const QString& family) {
    family_ = family;
    fonts_.clear();
    ForgetWidths();
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
    fonts_.push_back({points, font, QFontMetricsF(font, this)});
    return fonts_.back();
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
    const auto& printed = Printed();
    for (std::size_t i = 0, visible = VisibleCount(static_cast<double>(width()) * kTwipsPerPixel); i < visible; ++i) {
        const PrintedText& drawn = printed[i];
        const SizedFont& sized = FontOfSize(drawn.FontSize);  // valid until the next call
        painter.setFont(sized.font);
        painter.drawText(QPointF(drawn.X / kTwipsPerPixel, drawn.Y / kTwipsPerPixel + sized.metrics.ascent()),
                         ToQString(drawn.Printed));
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

QString PictureBox::Description() const { return ToQString(RecordedPicture::Description()); }
