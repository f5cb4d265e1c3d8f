#include "CSizingDialog.h"

#include "AppLog.h"
#include "platform/Profile.h"
#include "platform/ScreenMetrics.h"

#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

#include <algorithm>

namespace {

// (check) holds kPlacementWriting while the keys are being written, so that a
// record cut short by a crash is never restored.
constexpr int kPlacementComplete = 32639;
constexpr int kPlacementWriting = -32640;

const QString kCheckKey = QStringLiteral("(check)");

constexpr UINT kOpeningGrowthPercent = 10;

struct ModePercent
{
    BYTE first;
    BYTE second;
};

ModePercent PercentOfMode(int mode)
{
    switch (mode) {
    case CSizingDialog::kSizingStretch: return {0, 100};
    case CSizingDialog::kSizingFollowEdge: return {100, 100};
    case CSizingDialog::kSizingCentre: return {50, 50};
    default: return {0, 0};
    }
}

int ProfileInt(const QString& section, const QString& key, int defaultValue)
{
    return int(GetProfileIntW(section, key, defaultValue));
}

} // namespace

CSizingDialog::CSizingDialog(const DialogTemplate* dialogTemplate, QWidget* parent)
    : CDialog(dialogTemplate, parent)
    , m_sizingHeader(this)
{
}

BOOL CSizingDialog::InitSizingDialog(UINT percent)
{
    CDialog::OnInitDialog();
    const BOOL result = m_sizingHeader.InitSizing(percent);
    ApplyTrackingLimits();
    return result;
}

CSizingDialog::ControlInfo* CSizingDialog::AddSizingControl(QWidget* wnd, int horizontalMode, int verticalMode)
{
    const ModePercent horizontal = PercentOfMode(horizontalMode);
    const ModePercent vertical = PercentOfMode(verticalMode);
    return AddSizingControlPercent(wnd, horizontal.first, horizontal.second, vertical.first, vertical.second);
}

CSizingDialog::ControlInfo* CSizingDialog::AddSizingControlPercent(QWidget* wnd, BYTE left, BYTE right, BYTE top,
                                                                   BYTE bottom)
{
    ControlInfo* info = m_sizingHeader.Add(wnd, left, right, top, bottom);
    if (!wnd || !m_sizingHeader.IsStarted())
        qCWarning(lcApp, "AddSizingControl: %s", wnd ? "sizing has not started" : "no control");
    return info;
}

BOOL CSizingDialog::StoreWindowPlacement(const QString& section)
{
    if (!m_sizingHeader.IsStarted()) {
        qCWarning(lcApp, "StoreWindowPlacement: sizing has not started");
        return FALSE;
    }
    const QRect normal = NormalGeometryOf(this);
    const std::pair<QString, int> keys[] = {
        {kCheckKey, kPlacementWriting},
        {QStringLiteral("Left"), normal.left()},
        {QStringLiteral("Right"), normal.left() + normal.width()},
        {QStringLiteral("Top"), normal.top()},
        {QStringLiteral("Bottom"), normal.top() + normal.height()},
        {QStringLiteral("State"), int(ShowState())},
        {kCheckKey, kPlacementComplete},
    };
    for (const auto& [key, value] : keys) {
        if (!WriteProfileIntW(section, key, value))
            return FALSE;
    }
    return TRUE;
}

BOOL CSizingDialog::RestoreWindowPlacement(const QString& section, BOOL restoreShowState)
{
    if (ProfileInt(section, kCheckKey, 0) != kPlacementComplete)
        return FALSE;
    const QRect current = NormalGeometryOf(this);
    const int left = ProfileInt(section, QStringLiteral("Left"), current.left());
    const int right = ProfileInt(section, QStringLiteral("Right"), current.left() + current.width());
    const int top = ProfileInt(section, QStringLiteral("Top"), current.top());
    const int bottom = ProfileInt(section, QStringLiteral("Bottom"), current.top() + current.height());
    const UINT state = UINT(ProfileInt(section, QStringLiteral("State"), int(ShowState())));
    return SetWindowPlacement(ReachableRect(left, top, right, bottom, minimumSize()),
                              restoreShowState ? state : SW_HIDE);
}

BOOL CSizingDialog::DestroyWindow()
{
    m_sizingHeader.RemoveAll();
    return CDialog::DestroyWindow();
}

BOOL CSizingDialog::OnInitDialog()
{
    return InitSizingDialog(kOpeningGrowthPercent);
}

void CSizingDialog::OnSize(UINT type, int cx, int cy)
{
    if (type == SIZE_MINIMIZED || !m_sizingHeader.IsStarted())
        return;
    m_sizingHeader.Place(cx, cy);
    update();
}

void CSizingDialog::OnGetMinMaxInfo(MINMAXINFO* info)
{
    m_sizingHeader.GetTrackingLimits(info);
}

void CSizingDialog::resizeEvent(QResizeEvent* event)
{
    const UINT type = isMinimized() ? SIZE_MINIMIZED : isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
    OnSize(type, event->size().width(), event->size().height());
    CDialog::resizeEvent(event);
}

// Qt keeps the limits on the widget instead of asking for them at each move
// of the frame; they do not change once sizing has started.
void CSizingDialog::ApplyTrackingLimits()
{
    MINMAXINFO info{};
    info.ptMinTrackSize = {minimumWidth(), minimumHeight()};
    info.ptMaxTrackSize = {maximumWidth(), maximumHeight()};
    OnGetMinMaxInfo(&info);
    setMinimumSize(info.ptMinTrackSize.x, info.ptMinTrackSize.y);
    setMaximumSize(info.ptMaxTrackSize.x, info.ptMaxTrackSize.y);
}

UINT CSizingDialog::ShowState() const
{
    if (isMinimized())
        return SW_SHOWMINIMIZED;
    return isMaximized() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
}

// The normal rectangle can only be set in the normal state; show state 0 then
// puts the window back as it was (or, before it is shown, as it will be).
BOOL CSizingDialog::SetWindowPlacement(const QRect& normal, UINT showCmd)
{
    const Qt::WindowStates kept = windowState();
    setWindowState(kept & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    setGeometry(normal);
    if (showCmd == SW_HIDE)
        setWindowState(kept);
    else if (showCmd == SW_SHOWMAXIMIZED)
        setWindowState(windowState() | Qt::WindowMaximized);
    else if (showCmd == SW_SHOWMINIMIZED)
        setWindowState(windowState() | Qt::WindowMinimized);
    return TRUE;
}
