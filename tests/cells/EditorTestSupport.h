#pragma once

#include "grid/NotifyReceiver.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

// A window that hosts in-place editors the way the grid does and records what
// they report. Its reply can keep an editor open (2) or refuse (-1).
class RecordingHost : public QWidget, public CNotifyReceiver
{
public:
    struct Report
    {
        WPARAM id;
        int code;
        QWidget* from;
        int row;
        int col;
        UINT mask;
        QString text;
        UINT exitKey;
        bool hadFocus;
    };

    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override;

    std::vector<Report> reports;
    LRESULT reply = 0;
    // Runs inside the notification, after it was recorded.
    std::function<void()> onReport;
};

// A shown, active host window at a chosen place on the screen.
struct HostFixture
{
    explicit HostFixture(const QRect& geometry = QRect(100, 100, 400, 300));
    ~HostFixture();

    RecordingHost host;
};

// Runs what was posted: queued calls, then deferred deletions.
void Flush();

// Where tests may leave pictures for a person to look at.
QString TestOutputPath(const QString& fileName);
