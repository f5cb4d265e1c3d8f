#include "TextWidths.h"

#include <QHash>
#include <QPaintDevice>

namespace {

// Longer texts are measured each time: kept, they would pin their memory.
constexpr qsizetype kMaxRememberedLength = 256;
// Far more than the cells of a screen; past it the memory starts afresh.
constexpr qsizetype kMaxRemembered = 20000;

struct WidthKey
{
    QFont font;
    int dpi;
    QString text;

    bool operator==(const WidthKey& other) const
    {
        return dpi == other.dpi && text == other.text && font == other.font;
    }
};

size_t qHash(const WidthKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.font, key.dpi, key.text);
}

// Per thread: QFont is not to be shared between threads.
QHash<WidthKey, int>& Remembered()
{
    thread_local QHash<WidthKey, int> widths;
    return widths;
}

} // namespace

TextWidths::TextWidths(const QFont& font, const QPaintDevice* device)
    : m_font(font), m_dpi(device ? device->logicalDpiY() : 0),
      m_metrics(device ? QFontMetrics(font, device) : QFontMetrics(font))
{
}

int TextWidths::Advance(const QString& text) const
{
    if (text.size() > kMaxRememberedLength)
        return m_metrics.horizontalAdvance(text);
    QHash<WidthKey, int>& widths = Remembered();
    WidthKey key{m_font, m_dpi, text};
    if (const auto found = widths.constFind(key); found != widths.cend())
        return *found;
    if (widths.size() >= kMaxRemembered)
        widths.clear();
    const int width = m_metrics.horizontalAdvance(text);
    widths.insert(std::move(key), width);
    return width;
}
