#include "CGridCellVantel.h"

#include "grid/CGridCtrl.h"
#include "runtime/VantelToolkit.h"
#include "runtime/VtText.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <array>

IMPLEMENT_DYNCREATE(CGridCellVantel, CGridCell)

namespace {

// The longest text each check kind is given.
constexpr int kTextLimit[4] = {1023, 1024, 8191, 1023};
// What the toolkit is told it may write for kinds 0 and 2.
constexpr int kAnnouncedCapacity = 2048;
// Kinds 1 and 3 announce no capacity and the toolkit writes at most 1025
// characters; the buffer holds the largest of all, so no kind can overrun it.
constexpr std::size_t kBufferSize = 8192;

void SetEditorText(QWidget* editor, const QString& text)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(editor))
        plain->setPlainText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(text);
}

} // namespace

CGridCellVantel::CGridCellVantel() = default;

// The toolkit's answer; *text receives the buffer as the toolkit left it.
int CGridCellVantel::Check(QString* text, bool interactive) const
{
    if (m_nCheckKind < 0 || m_nCheckKind > 3)
        return 0;
    std::array<VtChar, kBufferSize> buffer{};
    const qsizetype length = std::min<qsizetype>(text->size(), kTextLimit[m_nCheckKind]);
    std::copy_n(VtText(*text), length, buffer.begin());
    HWND window = GetGrid();
    const int on = interactive ? 1 : 0;
    int answer = 0;
    switch (m_nCheckKind) {
    case 0: answer = ValidateTextKind0(window, buffer.data(), kAnnouncedCapacity, on, on); break;
    case 1: answer = ValidateTextKind1(window, buffer.data(), on, on, 1, 0); break;
    case 2: answer = ValidateTextKind2(window, buffer.data(), kAnnouncedCapacity, on, on, 0); break;
    default: answer = ValidateTextKind3(window, buffer.data(), on, on, 1, 0); break;
    }
    buffer.back() = 0;
    *text = QString::fromUtf16(buffer.data());
    return answer;
}

BOOL CGridCellVantel::ValidateEdit(const QString& text)
{
    QString checked = text;
    if (Check(&checked, true) == 0)
        return FALSE;
    SetText(checked);
    if (m_pEditWnd)
        SetEditorText(m_pEditWnd, checked);
    return TRUE;
}

BOOL CGridCellVantel::CheckText(const QString& text) const
{
    QString copy = text;
    return Check(&copy, false) != 0 ? TRUE : FALSE;
}
