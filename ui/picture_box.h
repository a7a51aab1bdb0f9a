#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QWidget>
#include <vector>

#include "drawing/recorded_picture.h"

// The picture area: the core's recorded picture, painted, so the drawing
// survives repaints and size changes, and told to assistive technology (its
// description, made when asked).
class PictureBox : public QWidget, public RecordedPicture {
public:

    explicit PictureBox(QWidget* parent = nullptr);

    void SetFontName(const QString& family);
    const std::vector<PrintedText>& Drawing() const { return Printed(); }
    // What the picture shows, in words: the subscripts are named as such.
    QString Description() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void Changed() override;

private:
    struct SizedFont {
        double points;
        QFont font;
        QFontMetricsF metrics;
    };
    SizedFont& FontOfSize(double points);

    QString family_ = QStringLiteral("Arial");
    // The sizes in use, with their metrics, so that a long formula is not
    // measured with a fresh font for every character.
    std::vector<SizedFont> fonts_;
    bool descriptionPending_ = false;
    bool repaintRequested_ = false;
};
