#pragma once

#include "platform/CRect.h"
#include "platform/WinTypes.h"
#include "platform/WindowPlacement.h"

#include <QPointer>
#include <QSizeGrip>
#include <QWidget>

#include <forward_list>
#include <memory>

// One child window of a resizable dialog and how its edges follow the dialog:
// an edge with percentage p moves by p/100 of the change of the dialog's client
// width (left, right) or height (top, bottom) since sizing started.
// CSizingDialog knows it as CSizingDialog::ControlInfo.
class SizingControlInfo
{
public:
    // The window an entry moves.
    class EqualCtrl
    {
    public:
        QPointer<QWidget> m_pWnd;
    };

    // The layout record of one dialog: its entries and the sizes they count from.
    // It lives no longer than its owner (a member of it), so the grip, a child
    // of the owner, is still there when the record lets it go.
    class Header
    {
    public:
        explicit Header(QWidget* owner);
        ~Header();
        Header(const Header&) = delete;
        Header& operator=(const Header&) = delete;

        // Records the sizes, adds the size grip, enlarges the window by percent.
        BOOL InitSizing(UINT percent);
        bool IsStarted() const { return m_nInitialClientWidth != -1; }
        // Null unless sizing has started, the window exists and a percentage is
        // set; the entry stays valid until RemoveAll.
        SizingControlInfo* Add(QWidget* wnd, BYTE left, BYTE right, BYTE top, BYTE bottom);
        // Places every entry for this client size.
        void Place(int clientWidth, int clientHeight) const;
        // The template size is the least, and the most in a direction that may not grow.
        void GetTrackingLimits(MINMAXINFO* info) const;
        // Deletes the entries and the grip, as the dialog's window goes.
        void RemoveAll();

        // Newest first.
        std::forward_list<SizingControlInfo> m_entries;
        QWidget* m_pOwner;
        int m_nInitialClientWidth = -1;
        int m_nInitialClientHeight = 0;
        int m_nInitialWindowWidth = 0;
        int m_nInitialWindowHeight = 0;
        // Bit 0: may grow horizontally; bit 1: vertically.
        DWORD m_dwDirections = 3;
        std::unique_ptr<QSizeGrip> m_sizeGrip;
        BOOL m_bShowSizeGrip = TRUE;

    private:
        void CreateSizeGrip();
        void Enlarge(UINT percent);
        CSize GrowthOf(int clientWidth, int clientHeight) const;
    };

    SizingControlInfo(Header* header, QWidget* wnd, BYTE left, BYTE right, BYTE top, BYTE bottom);

    // Places the window for a growth (dx, dy) of the client area.
    void Place(int dx, int dy) const;

    Header* m_pHeader;
    EqualCtrl m_equalCtrl;
    BYTE m_nLeft;
    BYTE m_nRight;
    BYTE m_nTop;
    BYTE m_nBottom;
    CRect m_rcInitial;
};

// The normal (restored) rectangle of a top-level window, in screen coordinates
// of its client area.
QRect NormalGeometryOf(const QWidget* window);
