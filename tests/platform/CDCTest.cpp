#include "platform/CDC.h"
#include "platform/CBrush.h"
#include "platform/CFont.h"
#include "platform/CPen.h"
#include "platform/SysColors.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

struct Canvas
{
    Canvas() : image(60, 40, QImage::Format_RGB32), painter(&image), dc(&painter) { image.fill(Qt::white); }
    QRgb At(int x, int y)
    {
        painter.end();
        const QRgb pixel = image.pixel(x, y);
        painter.begin(&image);
        return pixel;
    }
    QImage image;
    QPainter painter;
    CDC dc;
};

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);

QRgb ToQRgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

TEST(DeviceContext, FillsAndLinesLeaveOutRightAndBottom)
{
    Canvas c;
    c.dc.FillSolidRect(CRect(2, 2, 5, 4), RGB(255, 0, 0));
    EXPECT_EQ(c.At(4, 3), kRed);
    EXPECT_EQ(c.At(5, 3), kWhite);
    EXPECT_EQ(c.At(4, 4), kWhite);

    const CPen pen(PS_SOLID, 0, RGB(255, 0, 0));
    c.dc.SelectObject(&pen);
    c.dc.MoveTo(10, 10);
    c.dc.LineTo(20, 10);
    EXPECT_EQ(c.At(19, 10), kRed);
    EXPECT_EQ(c.At(20, 10), kWhite);
    c.dc.MoveTo(30, 20);
    c.dc.LineTo(30, 10);
    EXPECT_EQ(c.At(30, 20), kRed);
    EXPECT_EQ(c.At(30, 10), kWhite);
    c.dc.SelectStockObject(NULL_PEN);
    c.dc.MoveTo(40, 5);
    c.dc.LineTo(50, 5);
    EXPECT_EQ(c.At(45, 5), kWhite);

    const CBrush brush(RGB(255, 0, 0));
    c.dc.FrameRect(CRect(40, 20, 50, 30), &brush);
    EXPECT_EQ(c.At(40, 20), kRed);
    EXPECT_EQ(c.At(49, 29), kRed);
    EXPECT_EQ(c.At(45, 25), kWhite);
    EXPECT_EQ(c.At(50, 25), kWhite);

    CRect edge(0, 30, 10, 40);
    c.dc.DrawEdge(&edge, BDR_SUNKENINNER, BF_RECT | BF_ADJUST);
    EXPECT_EQ(c.At(0, 35), ToQRgb(GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(c.At(9, 35), ToQRgb(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_EQ(edge, CRect(1, 31, 9, 39));
}

TEST(DeviceContext, SaveAndRestoreBringBackTheAttributes)
{
    Canvas c;
    c.dc.SetTextColor(RGB(1, 2, 3));
    const int saved = c.dc.SaveDC();
    c.dc.SetTextColor(RGB(4, 5, 6));
    c.dc.SetBkMode(TRANSPARENT);
    c.dc.SaveDC();
    c.dc.SetTextColor(RGB(7, 8, 9));
    EXPECT_TRUE(c.dc.RestoreDC(saved));
    EXPECT_EQ(c.dc.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(c.dc.GetBkMode(), OPAQUE);
    EXPECT_FALSE(c.dc.RestoreDC(saved));
}

TEST(DeviceContext, DrawTextLayout)
{
    CDC screen;
    const int line = screen.GetTextExtent(QStringLiteral("x")).cy;
    CRect rect(0, 0, 1000, 0);
    EXPECT_EQ(screen.DrawText(QStringLiteral("one\ntwo\r\nthree"), &rect, DT_CALCRECT), 3 * line);
    EXPECT_EQ(rect.Height(), 3 * line);
    rect = CRect(0, 0, 1000, 0);
    screen.DrawText(QStringLiteral("one\ntwo"), &rect, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(rect.Height(), line);

    // Word breaks wrap at the width; an edit control also splits long words.
    const int wordWidth = screen.GetTextExtent(QStringLiteral("word")).cx;
    rect = CRect(0, 0, wordWidth + 2, 0);
    screen.DrawText(QStringLiteral("word word word"), &rect, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(rect.Height(), 3 * line);
    rect = CRect(0, 0, wordWidth + 2, 0);
    screen.DrawText(QStringLiteral("wordwordword"), &rect, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(rect.Height(), line);
    rect = CRect(0, 0, wordWidth + 2, 0);
    screen.DrawText(QStringLiteral("wordwordword"), &rect, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_EQ(rect.Height(), 3 * line);
}

int InkRight(const QImage& image)
{
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != kWhite)
                return x;
    return -1;
}

TEST(DeviceContext, DrawTextAlignsClipsAndElides)
{
    Canvas c;
    CRect rect(0, 0, 60, 40);
    c.dc.DrawText(QStringLiteral("ab"), &rect, DT_RIGHT | DT_SINGLELINE);
    c.painter.end();
    EXPECT_GE(InkRight(c.image), 55);
    c.image.fill(Qt::white);
    c.painter.begin(&c.image);

    // A long text stays inside its rectangle, elided or clipped.
    rect = CRect(0, 0, 30, 40);
    c.dc.DrawText(QStringLiteral("a very long text indeed"), &rect, DT_SINGLELINE | DT_END_ELLIPSIS);
    c.painter.end();
    EXPECT_LT(InkRight(c.image), 30);
}

TEST(DeviceContext, VerticalFontsDrawUpwards)
{
    QImage image(40, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        LOGFONTW lf = GetMessageLogFont();
        lf.lfEscapement = 900;
        CFont font;
        font.CreateFontIndirect(&lf);
        dc.SelectObject(&font);
        CRect rect(0, 0, 40, 120);
        dc.DrawText(QStringLiteral("WWWWWW"), &rect, DT_SINGLELINE | DT_BOTTOM);
    }
    int top = image.height(), bottom = -1, left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(bottom, 0);
    EXPECT_GT(bottom - top, 2 * (right - left));
}

TEST(DeviceContext, LogFontRoundTrip)
{
    LOGFONTW lf{};
    lf.lfHeight = -17;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    const QString face = QStringLiteral("DejaVu Sans");
    std::copy_n(reinterpret_cast<const WCHAR*>(face.utf16()), face.size(), lf.lfFaceName);
    const QFont font = QFontFromLogFont(lf);
    EXPECT_EQ(font.pixelSize(), 17);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    const LOGFONTW back = LogFontFromQFont(font);
    EXPECT_EQ(back.lfHeight, -17);
    EXPECT_EQ(back.lfWeight, FW_BOLD);
    EXPECT_EQ(QString::fromUtf16(back.lfFaceName), face);

    CFont object;
    EXPECT_EQ(object.GetLogFont(&lf), 0);
    EXPECT_TRUE(object.CreateFontIndirect(&back));
    EXPECT_FALSE(object.CreateFontIndirect(&back)); // delete first, as with GDI objects
}

} // namespace
