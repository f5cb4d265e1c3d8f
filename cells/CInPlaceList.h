#pragma once

#include "CInPlaceLink.h"

#include "platform/CFont.h"
#include "platform/CRect.h"
#include "platform/WinTypes.h"

#include <QComboBox>
#include <QStringList>

class CComboEdit;

// The combo box that lies over a combo cell while it is edited: a drop-down
// list (style CBS_DROPDOWNLIST) or an editable field with a list. It reports
// the chosen text with GRIDN_ENDEDIT once, then closes and deletes itself.
class CInPlaceList : public QComboBox
{
    Q_OBJECT

public:
    static CInPlaceList* Open(QWidget* window, const CRect& rect, DWORD style, UINT id, int row, int column,
                              COLORREF textColor, COLORREF backColor, const QStringList& items, const QString& initText,
                              UINT firstChar, BOOL endOnSelChange);

    void EndEdit();
    // The list's width: its widest item and a scroll bar, at most 200 pixels.
    int GetDropWidth() const;

    // The key handling its edit field passes on; TRUE when the key is the
    // editor's alone: it ended the edit, or ends it when released.
    bool OnKeyDown(UINT nChar);
    bool OnKeyUp(UINT nChar);

    void showPopup() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CInPlaceList(QWidget* window, UINT id, int row, int column, COLORREF textColor, COLORREF backColor,
                 const QString& initText, BOOL endOnSelChange);

    void Initialise(const CRect& rect, DWORD style, const QStringList& items);
    void SelectInitialText();
    void StartWith(UINT firstChar);
    void StartEditingWith(UINT firstChar);
    void ExitWith(UINT nChar);
    void OnSelChange();

    CComboEdit* m_pEdit = nullptr;
    int m_nNumLines = 4;
    QString m_sInitText;
    UINT m_nLastChar = 0;
    BOOL m_bExitOnArrows = FALSE;
    BOOL m_bEndOnSelChange;
    // Kept for the combo cell; the list is drawn in the style's colours.
    COLORREF m_crForeClr;
    COLORREF m_crBackClr;

    CInPlaceLink m_link;
    CFont m_Font;
};
