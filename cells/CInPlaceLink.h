#pragma once

#include "platform/WinTypes.h"

#include <QEvent>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class CNotifyReceiver;

// What an in-place editor knows of the window it edits on: the window whose
// client area it lies in and which hears the end of the edit, and the cell.
// Any QWidget that implements CNotifyReceiver can host an editor; the grid
// does. A window without that interface gets no reports.
class CInPlaceLink
{
public:
    CInPlaceLink(QWidget* window, UINT id, int row, int col);

    QWidget* GetWindow() const { return m_pWindow; }
    QWidget* GetClientArea() const;
    UINT GetDlgCtrlID() const { return m_nID; }
    int GetRow() const { return m_nRow; }
    int GetColumn() const { return m_nColumn; }

    bool HasReceiver() const { return Receiver() != nullptr; }

    // Sends GRIDN_ENDEDIT with the final text and the key that ended the edit;
    // the receiver's reply, or 0 when there is none.
    LRESULT SendEndEdit(QWidget* editor, const QString& text, UINT exitKey);
    int GetReportCount() const { return m_nReports; }
    // Tells the receiver that the editor's text changed.
    void SendTextChanged(QWidget* editor) const;

    // Reports once and closes the editor after the current event. A second
    // end (the loss of focus while closing) reports nothing.
    void ReportAndClose(QWidget* editor, const QString& text, UINT exitKey);

    // The exit keys hand the keyboard back to the window; the edit then ends
    // through the editor's loss of focus, or here when no focus moved (an
    // inactive window).
    void HandBackKeyboard(QWidget* editor, const std::function<void()>& endEdit);

private:
    CNotifyReceiver* Receiver() const;

    QPointer<QWidget> m_pWindow;
    UINT m_nID;
    int m_nRow;
    int m_nColumn;
    int m_nReports = 0;
};

// The font a grid window draws its cells with (its WM_GETFONT answer); for any
// other window its QWidget font.
QFont GridWindowFont(QWidget* window);

// The Page Up, Page Down and arrow keys, which end an edit when asked to.
bool IsPageOrArrowKey(UINT virtualKey);

// The keys that end a list or date-time edit: Tab, Return and Escape when
// released, Page Up, Page Down and the arrows when pressed with Ctrl.
bool IsEndingKeyUp(UINT virtualKey);
bool IsEndingKeyDown(UINT virtualKey);

// An editor wants every key: it accepts the shortcut check, so that no
// shortcut of the window takes a key from it. TRUE when the event was that.
bool TakeEveryKey(QEvent* event);
// Tab and Shift+Tab presses, which would otherwise move the focus on.
bool IsTabPress(const QEvent* event);
