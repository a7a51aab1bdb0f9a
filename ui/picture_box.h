#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QWidget>
#include <array>
#include <vector>

#include "drawing/drawing_surface.h"

// The picture area: a drawing surface in twips and points that keeps what was
// drawn on it, so the drawing survives repaints and size changes, and tells
// assistive technology what it shows (its description, made when asked).
class PictureBox : public QWidget, public DrawingSurface {
public:
    static constexpr double kTwipsPerPixel = 15;  // 1440 twips an inch at 96 logical dots an inch

    struct Drawn {
        QString text;
        double x, y, fontSize;  // twips, twips, points
    };

    explicit PictureBox(QWidget* parent = nullptr);

    void SetFontName(const QString& family);
    const std::vector<Drawn>& Drawing() const { return drawing_; }
    // What the picture shows, in words: the subscripts are named as such.
    QString Description() const;

    void Clear() override;
    double CurrentX() const override { return x_; }
    void SetCurrentX(double twips) override { x_ = twips; }
    double CurrentY() const override { return y_; }
    void SetCurrentY(double twips) override { y_ = twips; }
    double FontSize() const override { return fontSize_; }
    void SetFontSize(double points) override { fontSize_ = points; }
    void Print(TextView text) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct SizedFont {
        double points;
        QFont font;
        QFontMetricsF metrics;
        std::array<double, 128> asciiAdvance;  // pixels; negative until measured
    };
    SizedFont& FontOfSize(double points);
    double AdvanceOf(const QString& text);
    void Changed();

    std::vector<Drawn> drawing_;
    double x_ = 0, y_ = 0, fontSize_ = 20;
    QString family_ = QStringLiteral("Arial");
    double normalSize_ = 20;  // the size at the last clear: normal type; smaller is a subscript
    // The sizes in use, with their metrics, so that a long formula is not
    // measured with a fresh font for every character.
    std::vector<SizedFont> fonts_;
    bool descriptionPending_ = false;
    bool repaintRequested_ = false;
};
