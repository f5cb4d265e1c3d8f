#pragma once

#include "CInPlaceLink.h"

#include "platform/CFont.h"
#include "platform/CRect.h"
#include "platform/GdiDefs.h"
#include "platform/WinTypes.h"

#include <QPlainTextEdit>

// The edit box that lies over a cell while its text is edited. It reports the
// final text with GRIDN_ENDEDIT and the key that ended the edit, then closes
// and deletes itself. One control serves both modes: multi-line wraps and
// grows downwards, single-line scrolls sideways.
class CInPlaceEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    // Input kinds: what the text must parse as while it is typed.
    enum InputKind { AnyText = 0, Integer = 1, Real = 2, Boolean = 3 };

    // Opens the editor over rect (client coordinates of the window) with the
    // shown text, takes the focus and types the first character; VK_LBUTTON
    // for an edit begun by the mouse. Null when the window is missing.
    static CInPlaceEdit* Open(QWidget* window, const CRect& rect, DWORD style, UINT id, int row, int column,
                              const QString& initText, UINT firstChar, int textLimit, const QString& shownText,
                              BOOL multiLine);

    void SetRefusedChars(const QString& chars) { m_sRefusedChars = chars; }
    void SetInputKind(int kind) { m_nInputKind = kind; }

    // Reports the text and closes, unless the receiver answers 2 (keep editing).
    void EndEdit();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Every paste (keys, menu, the grid's paste) arrives here to be checked.
    void insertFromMimeData(const QMimeData* source) override;

private:
    CInPlaceEdit(QWidget* window, const CRect& rect, UINT id, int row, int column, const QString& initText,
                 UINT firstChar, int textLimit, const QString& shownText, BOOL multiLine);

    void Initialise(DWORD style);
    void SizeToShownText(UINT firstChar);
    void StartWith(UINT firstChar);
    bool OnKeyDown(UINT nChar);
    void OnChar(UINT nChar);
    void ExitWith(UINT nChar);
    QString TextAfterTyping(UINT nChar) const;
    void ApplyTyping(UINT nChar);
    bool IsAcceptableNumber(const QString& text) const;
    bool IsAcceptablePaste(const QString& text) const;
    QString FitPaste(QString text) const;
    void GrowToText(const QString& text);
    int WantedHeight(const QString& text, bool countLines) const;
    int TextHeight(const QString& text, int width) const;
    CSize MeasureWithRoom(const QString& text, TEXTMETRICW* metrics) const;
    CRect Bounds(bool clipLeftTop) const;
    void ApplyHeight(int wanted, const CRect& bounds);
    void MoveToRect();
    void SetSel(int start, int end);
    // Types the opening character if it is still waiting in the event queue.
    void DeliverFirstChar();

    QString m_sRefusedChars;
    QString m_sInitText;
    UINT m_nLastChar = 0;
    // The character that opened the editor, until it has been typed (0: none).
    UINT m_nPendingFirstChar = 0;
    BOOL m_bExitOnArrows;
    CRect m_Rect;
    BOOL m_bMultiLine;
    int m_nInputKind = AnyText;
    QString m_sShownText;

    CInPlaceLink m_link;
    int m_nTextLimit;
    CFont m_Font;
};
