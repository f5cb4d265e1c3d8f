#include "GridTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// 2×2 device-pixel blocks that hold more than one colour. A picture drawn at
// the logical size and blown up to the device has none: every logical pixel
// becomes one flat block.
int DetailedBlocks(const QImage& image)
{
    int detailed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb corner = image.pixel(x, y);
            if (image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner ||
                image.pixel(x + 1, y + 1) != corner)
                ++detailed;
        }
    return detailed;
}

QPixmap Shoot(GridFixture& f, bool doubleBuffer)
{
    f.grid->SetDoubleBuffering(doubleBuffer);
    return f.grid->viewport()->grab();
}

// ctest runs this with the whole program scaled twofold (QT_SCALE_FACTOR=2), as
// on a HiDPI screen; the plain run has nothing to check.
TEST(GridHiDpi, DrawsAtTheDeviceResolution)
{
    const qreal ratio = qApp->devicePixelRatio();
    if (ratio < 2)
        GTEST_SKIP() << "runs with QT_SCALE_FACTOR=2";

    GridFixture f(5, 3, 1, 0, 320, 120);
    CGridCtrl& g = *f.grid;
    const char* headings[] = {"Tag/Expression", "Value", "Quality"};
    for (int col = 0; col < 3; ++col)
        g.SetItemText(0, col, QString::fromLatin1(headings[col]));
    for (int row = 1; row < 5; ++row) {
        g.SetItemText(row, 0, QStringLiteral("Plant.Tank%1.Level").arg(row));
        g.SetItemText(row, 1, QString::number(row * 12.5));
        g.SetItemText(row, 2, QStringLiteral("GOOD"));
    }
    g.SetColumnWidth(0, 150);
    g.SetFocusCell(2, 1);

    const QPixmap buffered = Shoot(f, true);
    EXPECT_EQ(buffered.devicePixelRatio(), ratio);
    EXPECT_EQ(buffered.size(), g.viewport()->size() * ratio);

    const QImage picture = buffered.toImage().convertToFormat(QImage::Format_RGB32);
    const QString folder = QStringLiteral(QUILLON_TEST_OUTPUT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(picture.save(folder + QStringLiteral("/grid-hidpi.png")));

    // The off-screen buffer must not cost resolution: the same picture as drawing
    // straight onto the window, and text with edges finer than a logical pixel.
    EXPECT_TRUE(picture == Shoot(f, false).toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_GT(DetailedBlocks(picture), 100);
}

} // namespace
