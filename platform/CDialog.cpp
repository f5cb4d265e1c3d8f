#include "CDialog.h"

#include "CDataExchange.h"
#include "CRect.h"
#include "DialogStyles.h"
#include "DialogTemplate.h"
#include "MessageBox.h"
#include "ResourceText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

// a * b / c rounded half away from zero, as MulDiv.
int MulDiv(int a, int b, int c)
{
    const qint64 product = qint64(a) * b;
    const qint64 half = c / 2;
    return int(product >= 0 ? (product + half) / c : (product - half) / c);
}

// Windows' logical dialog faces name no font on this system: they stand for
// the system's own dialog font, at the template's size.
QFont TemplateFont(const DialogTemplate& dialogTemplate)
{
    QFont font = QApplication::font();
    if (!(dialogTemplate.style & DS_SETFONT))
        return font;
    const QString face = ResourceText(dialogTemplate.faceName);
    const QStringList logicalFaces = {QStringLiteral("MS Shell Dlg"), QStringLiteral("MS Shell Dlg 2"),
                                      QStringLiteral("MS Sans Serif")};
    if (!face.isEmpty() && !logicalFaces.contains(face, Qt::CaseInsensitive))
        font.setFamily(face);
    if (dialogTemplate.pointSize > 0)
        font.setPointSize(dialogTemplate.pointSize);
    return font;
}

// The average width of the alphabet, rounded, and the character height, as
// Windows derives dialog base units from a font.
CSize BaseUnitsOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return CSize((alphabet / 26 + 1) / 2, metrics.height());
}

Qt::Alignment StaticAlignment(DWORD style)
{
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: return Qt::AlignHCenter | Qt::AlignTop;
    case SS_RIGHT: return Qt::AlignRight | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignTop;
    }
}

// A static's text without its mnemonic marks: "&&" is a literal ampersand.
QString WithoutMnemonic(const QString& text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

} // namespace

IMPLEMENT_DYNAMIC(CDialog, CObject)

CDialog::CDialog(const DialogTemplate* dialogTemplate, QWidget* parent)
    : QDialog(parent)
    , m_lpDialogTemplate(dialogTemplate)
{
}

int CDialog::DoModal()
{
    if (!CreateFromTemplate())
        return -1;
    m_nModalResult = -1;
    m_bEnded = false;
    if (OnInitDialog())
        FocusFirstTabStop();
    // A dialog may end already while it initialises (EndDialog in OnInitDialog).
    if (!m_bEnded)
        exec();
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    done(result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

BOOL CDialog::DestroyWindow()
{
    OnDestroy();
    RemoveControls();
    hide();
    return TRUE;
}

BOOL CDialog::OnCommand(UINT id)
{
    if (id == UINT(IDOK))
        OnOK();
    else if (id == UINT(IDCANCEL))
        OnCancel();
    else
        return FALSE;
    return TRUE;
}

void CDialog::PostCommand(UINT id)
{
    QMetaObject::invokeMethod(
        this, [this, id] { OnCommand(id); }, Qt::QueuedConnection);
}

QWidget* CDialog::GetDlgItem(UINT id) const
{
    const auto found =
        std::find_if(m_controls.begin(), m_controls.end(), [id](const Control& control) { return control.id == id; });
    return found == m_controls.end() ? nullptr : found->widget.data();
}

QString CDialog::GetDlgItemText(UINT id) const
{
    const QWidget* widget = GetDlgItem(id);
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    return {};
}

void CDialog::SetDlgItemText(UINT id, const QString& text)
{
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
}

CSize CDialog::GetDialogBaseUnits() const
{
    return m_baseUnits;
}

void CDialog::MapDialogRect(RECT* rect) const
{
    rect->left = MulDiv(rect->left, m_baseUnits.cx, 4);
    rect->right = MulDiv(rect->right, m_baseUnits.cx, 4);
    rect->top = MulDiv(rect->top, m_baseUnits.cy, 8);
    rect->bottom = MulDiv(rect->bottom, m_baseUnits.cy, 8);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnDestroy()
{
}

// Every way of ending the dialog, Qt's own included, passes here.
void CDialog::done(int result)
{
    m_nModalResult = result;
    m_bEnded = true;
    QDialog::done(result);
}

// Escape and the close box both arrive here; like Windows they send IDCANCEL.
void CDialog::reject()
{
    OnCommand(UINT(IDCANCEL));
}

bool CDialog::CreateFromTemplate()
{
    if (!m_lpDialogTemplate)
        return false;
    RemoveControls();
    const QFont font = TemplateFont(*m_lpDialogTemplate);
    setFont(font);
    m_baseUnits = BaseUnitsOf(font);
    ApplyWindowStyle();
    PlaceWindow();
    // Creation order is Qt's focus chain, so template order becomes the tab order.
    const std::size_t count = m_lpDialogTemplate->items ? std::min(m_lpDialogTemplate->itemCount, kMaxDialogItems) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const DialogItemTemplate& item = m_lpDialogTemplate->items[i];
        m_controls.push_back({item.id, item.style, CreateControl(item)});
    }
    MarkDefaultButton();
    LinkMnemonics();
    return true;
}

QWidget* CDialog::CreateControl(const DialogItemTemplate& item)
{
    const QString text = ResourceText(item.text);
    QWidget* widget = nullptr;
    switch (item.kind) {
    case DialogControlKind::Button: {
        auto* button = new QPushButton(text, this);
        connect(button, &QPushButton::clicked, this, [this, id = item.id] { OnCommand(id); });
        widget = button;
        break;
    }
    case DialogControlKind::Edit: {
        auto* edit = new QLineEdit(this);
        edit->setFrame((item.style & WS_BORDER) != 0);
        if (item.style & ES_PASSWORD)
            edit->setEchoMode(QLineEdit::Password);
        widget = edit;
        break;
    }
    case DialogControlKind::Static:
    default: {
        auto* label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(StaticAlignment(item.style));
        label->setWordWrap((item.style & SS_TYPEMASK) <= SS_RIGHT);
        widget = label;
        break;
    }
    }
    if (item.kind == DialogControlKind::Static)
        widget->setFocusPolicy(Qt::NoFocus);
    else
        widget->setFocusPolicy((item.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    CRect rect(item.x, item.y, item.x + item.cx, item.y + item.cy);
    MapDialogRect(&rect);
    widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    widget->setEnabled(!(item.style & WS_DISABLED));
    widget->setVisible((item.style & WS_VISIBLE) != 0);
    return widget;
}

void CDialog::ApplyWindowStyle()
{
    const DWORD style = m_lpDialogTemplate->style;
    Qt::WindowFlags flags = (m_lpDialogTemplate->exStyle & WS_EX_APPWINDOW) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION)
        flags |= Qt::WindowTitleHint;
    if (style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_THICKFRAME)
        flags |= Qt::WindowMinMaxButtonsHint;
    setWindowFlags(flags);
    setWindowTitle(ResourceText(m_lpDialogTemplate->caption));
}

// The template's size is the client area. A centred dialog sits in the middle
// of its parent, or of the screen's work area; otherwise the template position
// counts from the parent's (or the screen's) origin.
void CDialog::PlaceWindow()
{
    CRect rect(m_lpDialogTemplate->x, m_lpDialogTemplate->y, m_lpDialogTemplate->x + m_lpDialogTemplate->cx,
               m_lpDialogTemplate->y + m_lpDialogTemplate->cy);
    MapDialogRect(&rect);
    QRect geometry(rect.left, rect.top, rect.Width(), rect.Height());
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = owner ? owner->geometry() : (screen ? screen->availableGeometry() : QRect());
    if (m_lpDialogTemplate->style & DS_CENTER)
        geometry.moveCenter(area.center());
    else
        geometry.translate(area.topLeft());
    if (!(m_lpDialogTemplate->style & WS_THICKFRAME))
        setFixedSize(geometry.size());
    setGeometry(geometry);
}

// Return presses the default button: the one the template marks, else the
// button with id IDOK, as the dialog manager's default id.
void CDialog::MarkDefaultButton()
{
    QPushButton* byStyle = nullptr;
    QPushButton* byId = nullptr;
    for (const Control& control : m_controls) {
        auto* button = qobject_cast<QPushButton*>(control.widget.data());
        if (!button)
            continue;
        if (!byStyle && (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            byStyle = button;
        if (!byId && control.id == UINT(IDOK))
            byId = button;
    }
    if (QPushButton* button = byStyle ? byStyle : byId)
        button->setDefault(true);
}

// A static's mnemonic moves the focus to the next control that takes it; a
// static with no such control shows its text without the marks.
void CDialog::LinkMnemonics()
{
    for (auto it = m_controls.begin(); it != m_controls.end(); ++it) {
        auto* label = qobject_cast<QLabel*>(it->widget.data());
        if (!label || (it->style & SS_NOPREFIX) || (it->style & SS_TYPEMASK) > SS_RIGHT)
            continue;
        const auto buddy = std::find_if(it + 1, m_controls.end(), [](const Control& control) {
            return control.widget && control.widget->focusPolicy() != Qt::NoFocus;
        });
        if (buddy != m_controls.end())
            label->setBuddy(buddy->widget);
        else
            label->setText(WithoutMnemonic(label->text()));
    }
}

void CDialog::RemoveControls()
{
    for (Control& control : m_controls)
        delete control.widget.data();
    m_controls.clear();
}

void CDialog::FocusFirstTabStop()
{
    for (const Control& control : m_controls) {
        QWidget* widget = control.widget;
        if (widget && (control.style & WS_TABSTOP) && !widget->isHidden() && widget->isEnabled()) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
