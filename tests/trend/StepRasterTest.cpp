#include "trend/StepRaster.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr QRgb kColour = 0xFF1F77B4;

struct Step
{
    QPointF point;
    bool startsSegment;
};

// The plain method: every horizontal and vertical piece filled as a
// rectangle of its own, 'width' pixels thick, clipped to the image.
QImage PieceByPiece(QSize size, const std::vector<Step>& steps, int width)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const auto fill = [&](QPoint a, QPoint b) {
        painter.fillRect(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                               QPoint(std::max(a.x(), b.x()) + width - 1, std::max(a.y(), b.y()) + width - 1)),
                         QColor::fromRgba(kColour));
    };
    QPoint at;
    for (const Step& step : steps) {
        const QPoint p = step.point.toPoint();
        if (step.startsSegment) {
            fill(p, p);
        } else {
            fill(at, QPoint(p.x(), at.y()));
            fill(QPoint(p.x(), at.y()), p);
        }
        at = p;
    }
    return image;
}

QImage Rastered(QSize size, const std::vector<Step>& steps, int width)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    StepRaster raster(image, kColour, width);
    for (const Step& step : steps) {
        if (step.startsSegment)
            raster.MoveTo(step.point);
        else
            raster.LineTo(step.point);
    }
    return image;
}

// Step lines as the chart hands them over: time rising, several samples to a
// pixel column where the series is dense, values that jump and hold, gaps
// that start new segments, points just outside the image on every side, and
// now and then a step whose time and value both change.
std::vector<Step> Steps(QRandomGenerator& random, QSize size, int count, double samplesPerColumn)
{
    std::vector<Step> steps;
    double x = -1;
    double held = 0;
    bool open = false;
    for (int i = 0; i < count; ++i) {
        x = std::min(x + random.generateDouble() * 2 / samplesPerColumn, size.width() + 1.0);
        if (random.bounded(40) == 0) { // a gap
            open = false;
            continue;
        }
        if (open && random.bounded(8) == 0) { // a step with both ends new, as a raster may be given
            held = random.generateDouble() * (size.height() + 2) - 1;
            steps.push_back({QPointF(x, held), false});
            continue;
        }
        const double value = random.bounded(4) == 0 ? held : random.generateDouble() * (size.height() + 2) - 1;
        if (open)
            steps.push_back({QPointF(x, held), false});
        if (!open || value != held)
            steps.push_back({QPointF(x, value), !open});
        open = true;
        held = value;
    }
    return steps;
}

} // namespace

TEST(StepRaster, JoinedColumnsGiveThePixelsOfEveryPieceFilledOnItsOwn)
{
    QRandomGenerator random(20261209);
    const QSize size(120, 80);
    for (const double density : {0.3, 1.0, 3.0, 12.0}) {
        for (const int width : {1, 2, 3}) {
            const std::vector<Step> steps = Steps(random, size, 600, density);
            const QImage expected = PieceByPiece(size, steps, width);
            ASSERT_EQ(Rastered(size, steps, width), expected) << "density " << density << ", width " << width;
        }
    }
}

TEST(StepRaster, ALonePointAndAFlatRunAreDrawn)
{
    const QSize size(20, 10);
    const std::vector<Step> steps = {
        {QPointF(3, 4), true}, {QPointF(9.2, 6), true}, {QPointF(9.4, 6), false}, {QPointF(15.0, 6), false}};
    const QImage image = Rastered(size, steps, 2);
    EXPECT_EQ(image, PieceByPiece(size, steps, 2));
    EXPECT_EQ(image.pixel(3, 4), kColour);
    EXPECT_EQ(image.pixel(4, 5), kColour);
    EXPECT_EQ(image.pixel(16, 7), kColour);
    EXPECT_EQ(image.pixel(12, 4), 0u) << "nothing between the lone point and the run";
}
