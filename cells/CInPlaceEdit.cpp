#include "CInPlaceEdit.h"

#include "NumericText.h"

#include "grid/GridDefs.h"

#include "platform/CDC.h"
#include "platform/ControlStyles.h"
#include "platform/GdiDefs.h"
#include "platform/ScreenMetrics.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMapping.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <QMimeData>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <utility>

#include <algorithm>

namespace {

// An edit control takes this many characters unless told otherwise; it also
// bounds what a paste can bring in.
constexpr int kDefaultTextLimit = 32767;
constexpr int kScreenBorder = 8;
constexpr int kFrameWidth = 1;
constexpr int kTextMargin = 1;
const QString kRoom = QStringLiteral("    ");

bool IsNumericKind(int kind)
{
    return kind == CInPlaceEdit::Integer || kind == CInPlaceEdit::Real || kind == CInPlaceEdit::Boolean;
}

// A single-line edit takes a pasted text up to its first line break.
QString FirstLine(const QString& text)
{
    const auto end = std::find_if(text.begin(), text.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
    return text.left(end - text.begin());
}

QString UnixLineBreaks(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

} // namespace

CInPlaceEdit* CInPlaceEdit::Open(QWidget* window, const CRect& rect, DWORD style, UINT id, int row, int column,
                                 const QString& initText, UINT firstChar, int textLimit, const QString& shownText,
                                 BOOL multiLine)
{
    if (!window)
        return nullptr;
    auto* edit = new CInPlaceEdit(window, rect, id, row, column, initText, firstChar, textLimit, shownText, multiLine);
    edit->Initialise(style);
    edit->SizeToShownText(firstChar);
    edit->StartWith(firstChar);
    return edit;
}

CInPlaceEdit::CInPlaceEdit(QWidget* window, const CRect& rect, UINT id, int row, int column, const QString& initText,
                           UINT firstChar, int textLimit, const QString& shownText, BOOL multiLine)
    : QPlainTextEdit(ClientArea(window))
    , m_sInitText(initText)
    , m_bExitOnArrows(firstChar != VK_LBUTTON)
    , m_Rect(rect)
    , m_bMultiLine(multiLine)
    , m_sShownText(shownText)
    , m_link(window, id, row, column)
    , m_nTextLimit(textLimit > 0 ? std::min(textLimit, kDefaultTextLimit) : kDefaultTextLimit)
{
}

void CInPlaceEdit::Initialise(DWORD style)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(false);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(kFrameWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(m_bMultiLine ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    document()->setDocumentMargin(kTextMargin);
    QTextOption option = document()->defaultTextOption();
    option.setAlignment((style & ES_RIGHT) ? Qt::AlignRight : (style & ES_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft);
    document()->setDefaultTextOption(option);

    // Measuring and showing use one font, so the growth matches what is seen.
    const LOGFONTW logFont = LogFontFromQFont(GridWindowFont(m_link.GetWindow()));
    m_Font.CreateFontIndirect(&logFont);
    setFont(m_Font.GetQFont());
    setPlainText(m_sShownText);
    // From here on every change is the user's or the window's, and the window
    // may check the text as it changes.
    connect(this, &QPlainTextEdit::textChanged, this, [this] { m_link.SendTextChanged(this); });
    MoveToRect();
    show();
    setFocus(Qt::OtherFocusReason);
}

void CInPlaceEdit::SizeToShownText(UINT firstChar)
{
    TEXTMETRICW metrics{};
    const CSize size = MeasureWithRoom(m_sShownText, &metrics);
    const CRect bounds = Bounds(true);
    if (m_Rect.Width() < size.cx)
        m_Rect.right = std::min<int>(m_Rect.left + size.cx, bounds.right);
    const bool countLines = m_bMultiLine && (firstChar == VK_LBUTTON || firstChar == VK_SPACE);
    ApplyHeight(countLines ? WantedHeight(m_sShownText, true) : m_Rect.Height(), bounds);
}

// The first character decides between keeping the text (a click, Return),
// selecting it (Tab, space) and replacing it with what was typed.
void CInPlaceEdit::StartWith(UINT firstChar)
{
    const int length = int(toPlainText().size());
    switch (firstChar) {
    case VK_LBUTTON:
    case VK_RETURN:
        SetSel(length, length);
        MoveToRect();
        return;
    case VK_TAB:
    case VK_SPACE:
        SetSel(0, length);
        MoveToRect();
        return;
    case VK_BACK:
        SetSel(length, length);
        MoveToRect();
        break;
    default:
        MoveToRect();
        SetSel(0, length);
        break;
    }
    // Posted, as typing is: a numeric cell sets the input kind right after
    // opening the editor, and the first character must already obey it. A key
    // that arrives before the posted call types it first, so fast typing keeps
    // its order.
    m_nPendingFirstChar = firstChar;
    QMetaObject::invokeMethod(
        this, [this] { DeliverFirstChar(); }, Qt::QueuedConnection);
}

void CInPlaceEdit::DeliverFirstChar()
{
    const UINT firstChar = std::exchange(m_nPendingFirstChar, 0u);
    if (firstChar != 0)
        OnChar(firstChar);
}

void CInPlaceEdit::EndEdit()
{
    // One flag for all editors: closing moves the focus, and that loss of
    // focus must not report a second time.
    static bool s_bEnding = false;
    if (s_bEnding)
        return;
    s_bEnding = true;

    QString text = toPlainText();
    // Unchanged shown text keeps the stored text, which may differ from it.
    if (text == m_sShownText)
        text = m_sInitText;
    if (IsNumericKind(m_nInputKind)) {
        text = text.trimmed();
        if (text.isEmpty() || text == u"-")
            text = m_nInputKind == Real ? QString::asprintf("%f", 0.0) : QString::number(0);
    }
    QPointer<CInPlaceEdit> self(this);
    const LRESULT reply = m_link.SendEndEdit(this, text, m_nLastChar);
    if (self && reply != GRIDN_ENDEDIT_KEEPOPEN)
        close();
    s_bEnding = false;
}

bool CInPlaceEdit::event(QEvent* event)
{
    if (TakeEveryKey(event))
        return true;
    // Tab is typed into the editor (and ends it) rather than moving the focus.
    if (IsTabPress(event)) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QPlainTextEdit::event(event);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    // Alt with a key is a menu accelerator, which the editor swallows.
    if (event->modifiers().testFlag(Qt::AltModifier) && !event->modifiers().testFlag(Qt::ControlModifier))
        return;
    QPointer<CInPlaceEdit> self(this);
    DeliverFirstChar();
    if (!self || !isVisible())
        return;
    if (OnKeyDown(VirtualKeyFromEvent(event)))
        return;
    const QString typed = TypedCharacters(event);
    if (typed.isEmpty()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    for (const QChar c : typed) {
        if (!self || !isVisible())
            return;
        OnChar(c.unicode());
    }
}

void CInPlaceEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    // Composed text is typed character by character, so it is checked like keys.
    QInputMethodEvent preedit(event->preeditString(), event->attributes());
    QPlainTextEdit::inputMethodEvent(&preedit);
    QPointer<CInPlaceEdit> self(this);
    DeliverFirstChar();
    for (const QChar c : commit) {
        if (!self || !isVisible())
            return;
        OnChar(c.unicode());
    }
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    // A context menu borrows the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason)
        EndEdit();
}

void CInPlaceEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    const QString pasted = source->text().left(kDefaultTextLimit);
    if (pasted.isEmpty() || !IsAcceptablePaste(pasted))
        return;
    const QString fitted = FitPaste(pasted);
    if (!fitted.isEmpty())
        textCursor().insertText(fitted);
    ensureCursorVisible();
}

bool CInPlaceEdit::OnKeyDown(UINT nChar)
{
    const bool control = GetKeyState(VK_CONTROL) < 0;
    bool exits = false;
    if (nChar == VK_PRIOR || nChar == VK_NEXT)
        exits = m_bMultiLine || m_bExitOnArrows || control;
    else if (IsPageOrArrowKey(nChar))
        exits = m_bExitOnArrows || control;
    if (exits)
        ExitWith(nChar);
    return exits;
}

void CInPlaceEdit::OnChar(UINT nChar)
{
    if (nChar == VK_TAB || nChar == VK_RETURN) {
        ExitWith(nChar);
        return;
    }
    if (nChar == VK_ESCAPE) {
        setPlainText(m_sInitText);
        ExitWith(nChar);
        return;
    }
    if (!m_sRefusedChars.isEmpty() && m_sRefusedChars.contains(QChar(char16_t(nChar)))) {
        m_nLastChar = nChar;
        return;
    }
    const QString after = TextAfterTyping(nChar);
    if (after.isNull())
        return;
    // A refused keystroke leaves text and selection as they were.
    if (IsNumericKind(m_nInputKind) && !after.isEmpty() && !IsAcceptableNumber(after)) {
        ensureCursorVisible();
        return;
    }
    ApplyTyping(nChar);
    GrowToText(after);
}

void CInPlaceEdit::ExitWith(UINT nChar)
{
    m_nLastChar = nChar;
    m_link.HandBackKeyboard(this, [this] { EndEdit(); });
}

// The text as typing nChar would leave it; a null string when the key types
// nothing (a control character, a full editor).
QString CInPlaceEdit::TextAfterTyping(UINT nChar) const
{
    const QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    QString text = toPlainText();
    if (nChar == VK_BACK) {
        if (start != end)
            return text.remove(start, end - start);
        if (start == 0)
            return text;
        const int width = (start > 1 && text[start - 1].isLowSurrogate() && text[start - 2].isHighSurrogate()) ? 2 : 1;
        return text.remove(start - width, width);
    }
    const bool lineBreak = nChar == u'\n';
    if ((nChar < 0x20 && !lineBreak) || (lineBreak && !m_bMultiLine))
        return QString();
    if (text.size() - (end - start) >= m_nTextLimit)
        return QString();
    return text.replace(start, end - start, QChar(char16_t(nChar)));
}

void CInPlaceEdit::ApplyTyping(UINT nChar)
{
    QTextCursor cursor = textCursor();
    if (nChar != VK_BACK)
        cursor.insertText(QString(QChar(char16_t(nChar))));
    else if (cursor.hasSelection())
        cursor.removeSelectedText();
    else
        cursor.deletePreviousChar();
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool CInPlaceEdit::IsAcceptableNumber(const QString& text) const
{
    int integer = 0;
    double real = 0.0;
    switch (m_nInputKind) {
    case Integer: return ParseIntegerText(text, &integer);
    case Real: return ParseRealText(text, &real);
    case Boolean: return ParseIntegerText(text, &integer) && (integer == 0 || integer == 1);
    default: return true;
    }
}

// The pasted text alone is judged, not the text it would make.
bool CInPlaceEdit::IsAcceptablePaste(const QString& text) const
{
    if (IsNumericKind(m_nInputKind))
        return IsAcceptableNumber(text);
    return std::none_of(text.begin(), text.end(), [this](QChar c) { return m_sRefusedChars.contains(c); });
}

// What of a paste fits: one line in a single-line editor, and no more than the
// text limit leaves room for.
QString CInPlaceEdit::FitPaste(QString text) const
{
    text = m_bMultiLine ? UnixLineBreaks(text) : FirstLine(text);
    const QTextCursor cursor = textCursor();
    const int kept = int(toPlainText().size()) - (cursor.selectionEnd() - cursor.selectionStart());
    return text.left(std::max(0, m_nTextLimit - kept));
}

void CInPlaceEdit::GrowToText(const QString& text)
{
    const CRect bounds = Bounds(false);
    // Only an editor that can still widen needs the text's width; shaping a
    // long text costs more than the rest of a keystroke.
    if (m_Rect.right < bounds.right) {
        TEXTMETRICW metrics{};
        const CSize size = MeasureWithRoom(text, &metrics);
        if (size.cx > m_Rect.Width())
            m_Rect.right = std::min<int>(m_Rect.left + size.cx + 3 * metrics.tmMaxCharWidth, bounds.right);
    }
    m_Rect.right = std::min(m_Rect.right, bounds.right);
    m_Rect.left = std::max(m_Rect.left, bounds.left);
    ApplyHeight(m_bMultiLine ? WantedHeight(text, true) : m_Rect.Height(), bounds);
    MoveToRect();
}

// The height the text needs: laid out in the editor's rectangle, or, counting
// the lines the way the control wraps them, whichever is more.
int CInPlaceEdit::WantedHeight(const QString& text, bool countLines) const
{
    const int height = TextHeight(text, m_Rect.Width());
    if (!countLines)
        return height;
    const int lineHeight = std::max(1, QFontMetrics(m_Font.GetQFont()).height());
    const int inner = m_Rect.Width() - 2 * (kFrameWidth + kTextMargin);
    const int lines = std::max(1, TextHeight(text, inner) / lineHeight);
    return std::max(height, lines * lineHeight);
}

int CInPlaceEdit::TextHeight(const QString& text, int width) const
{
    CDC dc;
    dc.SelectObject(&m_Font);
    CRect rect(0, 0, std::max(1, width), 0);
    return dc.DrawText(text, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_NOCLIP);
}

// The text's extent with room for four more characters.
CSize CInPlaceEdit::MeasureWithRoom(const QString& text, TEXTMETRICW* metrics) const
{
    CDC dc;
    dc.SelectObject(&m_Font);
    dc.GetTextMetrics(metrics);
    CSize size = dc.GetTextExtent(text + kRoom);
    size.cx += metrics->tmOverhang;
    return size;
}

// The window's client area on the screen, kept 8 pixels from the screen's
// right and bottom (and, when asked, left and top) edges; client coordinates.
CRect CInPlaceEdit::Bounds(bool clipLeftTop) const
{
    QWidget* window = m_link.GetWindow();
    const QWidget* client = m_link.GetClientArea();
    if (!window || !client)
        return m_Rect;
    CRect bounds = ClientToScreen(window, CRect(0, 0, client->width(), client->height()));
    int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (screenWidth == 0 || screenHeight == 0) {
        screenWidth = GetSystemMetrics(SM_CXSCREEN);
        screenHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    bounds.right = std::min<int>(bounds.right, screenWidth - kScreenBorder);
    bounds.bottom = std::min<int>(bounds.bottom, screenHeight - kScreenBorder);
    if (clipLeftTop) {
        bounds.left = std::max<int>(bounds.left, kScreenBorder);
        bounds.top = std::max<int>(bounds.top, kScreenBorder);
    }
    return ScreenToClient(window, bounds);
}

void CInPlaceEdit::ApplyHeight(int wanted, const CRect& bounds)
{
    if (wanted == m_Rect.Height())
        return;
    m_Rect.bottom = (m_Rect.top + wanted < bounds.bottom) ? m_Rect.top + wanted + 5 : bounds.bottom;
}

void CInPlaceEdit::MoveToRect()
{
    setGeometry(m_Rect.left, m_Rect.top, std::max(0, m_Rect.Width()), std::max(0, m_Rect.Height()));
    ensureCursorVisible();
}

void CInPlaceEdit::SetSel(int start, int end)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}
