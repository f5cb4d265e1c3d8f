#pragma once

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// Progress of work on many watch rows: a modal dialog with Cancel that shows
// once the work has taken about half a second, so that short work never
// flashes a window. The work calls Step between rows it has finished.
class WatchProgress
{
public:
    WatchProgress(QWidget* parent, const QString& label, int total);
    ~WatchProgress();
    WatchProgress(const WatchProgress&) = delete;
    WatchProgress& operator=(const WatchProgress&) = delete;

    // Reports rows done and lets the window answer; false once the user has
    // pressed Cancel, and the work then stops.
    bool Step(int done);

    // Milliseconds before the dialog shows (tests set 0); the one before.
    static int SetDelay(int milliseconds);

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};
