#pragma once

#include "CInPlaceLink.h"

#include "platform/CFont.h"
#include "platform/CRect.h"
#include "platform/WinTypes.h"

#include <QDateTime>
#include <QDateTimeEdit>

// The date and time picker that lies over a date/time cell while it is edited.
// It writes the chosen time straight into the cell's value, reports the text
// with GRIDN_ENDEDIT once, then closes and deletes itself.
class CInPlaceDateTime : public QDateTimeEdit
{
    Q_OBJECT

public:
    // time is the cell's value; it must outlive the editor.
    static CInPlaceDateTime* Open(QWidget* window, const CRect& rect, DWORD style, UINT id, int row, int column,
                                  COLORREF textColor, COLORREF backColor, QDateTime* time, UINT firstChar);

    void EndEdit();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CInPlaceDateTime(QWidget* window, UINT id, int row, int column, COLORREF textColor, COLORREF backColor,
                     QDateTime* time);

    void Initialise(const CRect& rect, DWORD style);
    void StartWith(UINT firstChar);
    void ExitWith(UINT nChar);

    QDateTime* m_pcTime;
    UINT m_nLastChar = 0;
    // Kept for the date/time cell; the control is drawn in the style's colours.
    COLORREF m_crForeClr;
    COLORREF m_crBackClr;

    CInPlaceLink m_link;
    CFont m_Font;
};
