#include "LogFont.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

double ScreenDpi()
{
    const QScreen* screen =
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

QString FaceName(const LOGFONTW& lf)
{
    const WCHAR* end = std::find(lf.lfFaceName, lf.lfFaceName + LF_FACESIZE, u'\0');
    return QString::fromUtf16(lf.lfFaceName, end - lf.lfFaceName);
}

} // namespace

bool operator==(const LOGFONTW& a, const LOGFONTW& b)
{
    return std::memcmp(&a, &b, sizeof(LOGFONTW)) == 0;
}

QFont QFontFromLogFont(const LOGFONTW& lf)
{
    QFont font;
    const QString face = FaceName(lf);
    if (!face.isEmpty())
        font.setFamilies({face});
    if (lf.lfHeight < 0) {
        font.setPixelSize(-lf.lfHeight);
    } else if (lf.lfHeight > 0) {
        // A positive height is the cell height: scale the em size so that
        // ascent plus descent comes out at the requested height.
        font.setPixelSize(lf.lfHeight);
        const int cell = QFontMetrics(font).height();
        if (cell > 0 && cell != lf.lfHeight)
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(lf.lfHeight * double(lf.lfHeight) / cell))));
    }
    const LONG weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<LONG>(lf.lfWeight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    return font;
}

LOGFONTW LogFontFromQFont(const QFont& font)
{
    LOGFONTW lf{};
    if (font.pixelSize() > 0)
        lf.lfHeight = -font.pixelSize();
    else
        lf.lfHeight = -static_cast<LONG>(std::lround(font.pointSizeF() * ScreenDpi() / 72.0));
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    const QString face = font.families().isEmpty() ? font.family() : font.families().constFirst();
    const qsizetype n = std::min<qsizetype>(face.size(), LF_FACESIZE - 1);
    std::copy_n(reinterpret_cast<const WCHAR*>(face.utf16()), n, lf.lfFaceName);
    return lf;
}

LOGFONTW GetMessageLogFont()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return LogFontFromQFont(QApplication::font("QMessageBox"));
    return LogFontFromQFont(QFont());
}
