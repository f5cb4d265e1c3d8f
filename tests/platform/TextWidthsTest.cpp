#include "platform/TextWidths.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// Texts whose shaping has something to do: kerning pairs, a tab, right-to-left
// runs, a ligature, combining marks, and a text too long to be remembered.
const QString kTexts[] = {
    QStringLiteral("Plant.Area7.Tag42"),
    QStringLiteral("AVATAR Ta Wo"),
    QStringLiteral("left\tright"),
    QStringLiteral("abc \u05E9\u05DC\u05D5\u05DD def"),
    QStringLiteral("\u0645\u0631\u062D\u0628\u0627"),
    QStringLiteral("office flow"),
    QStringLiteral("e\u0301 n\u0303"),
    QString(300, u'W'),
};

QImage Drawn(const QFont& font, const QString& text, bool remembered)
{
    QImage image(400, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QPoint baseline(7, 5 + QFontMetrics(font, &image).ascent());
    if (remembered)
        TextWidths(font, &image).Draw(&painter, baseline, text);
    else
        painter.drawText(baseline, text);
    return image;
}

TEST(TextWidths, RememberedWidthsAndGlyphsGiveWhatQtGives)
{
    QFont italic;
    italic.setItalic(true);
    italic.setPixelSize(17);
    for (const QFont& font : {QFont(), italic}) {
        QImage device(1, 1, QImage::Format_RGB32);
        const TextWidths widths(font, &device);
        const QFontMetrics metrics(font, &device);
        for (const QString& text : kTexts) {
            // Twice: once measured and shaped, once from memory.
            for (int pass = 0; pass < 2; ++pass) {
                EXPECT_EQ(widths.Advance(text), metrics.horizontalAdvance(text)) << text.toStdString();
                EXPECT_EQ(Drawn(font, text, true), Drawn(font, text, false)) << text.toStdString();
            }
        }
    }
}

// The memory is keyed by font: the same text in another size is measured anew.
TEST(TextWidths, AnotherFontIsMeasuredAnew)
{
    QFont small;
    small.setPixelSize(9);
    QFont large;
    large.setPixelSize(30);
    QImage device(1, 1, QImage::Format_RGB32);
    const QString text = QStringLiteral("Plant.Area1.Level");
    const int smallWidth = TextWidths(small, &device).Advance(text);
    EXPECT_EQ(TextWidths(large, &device).Advance(text), QFontMetrics(large, &device).horizontalAdvance(text));
    EXPECT_LT(smallWidth, TextWidths(large, &device).Advance(text));
}

} // namespace
