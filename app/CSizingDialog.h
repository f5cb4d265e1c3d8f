#pragma once

#include "SizingControlInfo.h"

#include "platform/CDialog.h"

#include <QString>

class QResizeEvent;

// A dialog whose registered children follow its size by fixed percentages. It
// cannot be made smaller than its template, carries a size grip, grows once
// when it opens, and keeps its placement in the application's profile.
class CSizingDialog : public CDialog
{
    Q_OBJECT

public:
    using ControlInfo = SizingControlInfo;

    explicit CSizingDialog(const DialogTemplate* dialogTemplate, QWidget* parent = nullptr);

    // The dialog's own initialisation, then the sizing start.
    virtual BOOL InitSizingDialog(UINT percent);

    // Horizontal and vertical modes; any other number stays as well.
    static constexpr int kSizingStay = 0;
    static constexpr int kSizingStretch = 1;
    static constexpr int kSizingFollowEdge = 2; // follows the right (bottom) edge
    static constexpr int kSizingCentre = 3;

    ControlInfo* AddSizingControl(QWidget* wnd, int horizontalMode, int verticalMode);
    ControlInfo* AddSizingControlPercent(QWidget* wnd, BYTE left, BYTE right, BYTE top, BYTE bottom);

    BOOL StoreWindowPlacement(const QString& section);
    BOOL RestoreWindowPlacement(const QString& section, BOOL restoreShowState);

    BOOL DestroyWindow() override;

protected:
    BOOL OnInitDialog() override;
    void OnSize(UINT type, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* info);

    void resizeEvent(QResizeEvent* event) override;

    ControlInfo::Header m_sizingHeader;

private:
    void ApplyTrackingLimits();
    UINT ShowState() const;
    BOOL SetWindowPlacement(const QRect& normal, UINT showCmd);
};
