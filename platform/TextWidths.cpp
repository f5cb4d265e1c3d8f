#include "TextWidths.h"

#include <QCoreApplication>
#include <QGlyphRun>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

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

// The font is left out of the hash: hashing it costs more than the text, and
// one text in several fonts at once is rare; equality still tells them apart.
size_t qHash(const WidthKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.dpi, key.text);
}

} // namespace

struct TextWidths::Shape
{
    int width = 0;
    bool laidOut = false;
    qreal ascent = 0;
    QList<QGlyphRun> runs;
};

namespace {

void ForgetShapes();

// Set once this thread's shapes are destroyed. An application that outlives
// them, as a static one ending at exit does, must not clear them then.
thread_local bool shapesGone = false;

struct Shapes
{
    ~Shapes() { shapesGone = true; }
    QHash<WidthKey, TextWidths::Shape> byText;
};

// Per thread: QFont is not to be shared between threads.
QHash<WidthKey, TextWidths::Shape>& Remembered()
{
    thread_local Shapes shapes;
    // The glyphs hold font engines, which must go before the application's
    // font system does; the application calls this first when it ends.
    static const bool forgetAtTheEnd = (qAddPostRoutine(ForgetShapes), true);
    Q_UNUSED(forgetAtTheEnd);
    return shapes.byText;
}

void ForgetShapes()
{
    if (!shapesGone)
        Remembered().clear();
}

} // namespace

TextWidths::TextWidths(const QFont& font, const QPaintDevice* device)
    : m_font(font)
    , m_device(device)
    , m_dpi(device ? device->logicalDpiY() : 0)
    , m_metrics(device ? QFontMetrics(font, device) : QFontMetrics(font))
{
}

TextWidths::Shape& TextWidths::Shaped(const QString& text) const
{
    QHash<WidthKey, Shape>& shapes = Remembered();
    WidthKey key{m_font, m_dpi, text};
    if (const auto found = shapes.find(key); found != shapes.end())
        return *found;
    if (shapes.size() >= kMaxRemembered)
        shapes.clear();
    Shape shape;
    shape.width = m_metrics.horizontalAdvance(text);
    return *shapes.insert(std::move(key), std::move(shape));
}

int TextWidths::Advance(const QString& text) const
{
    if (text.size() > kMaxRememberedLength)
        return m_metrics.horizontalAdvance(text);
    return Shaped(text).width;
}

void TextWidths::Draw(QPainter* painter, const QPoint& baseline, const QString& text) const
{
    if (text.size() > kMaxRememberedLength) {
        painter->drawText(baseline, text);
        return;
    }
    Shape& shape = Shaped(text);
    if (!shape.laidOut) {
        QTextLayout layout(text, m_font, m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        shape.ascent = line.isValid() ? line.ascent() : 0;
        shape.runs = layout.glyphRuns();
        shape.laidOut = true;
    }
    for (const QGlyphRun& run : shape.runs)
        painter->drawGlyphRun(QPointF(baseline.x(), baseline.y() - shape.ascent), run);
}
