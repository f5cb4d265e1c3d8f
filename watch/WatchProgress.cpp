#include "WatchProgress.h"

#include "res/Resource.h"
#include "res/Resources.h"

#include <QProgressDialog>

#include <utility>

namespace {

int g_delay = 500;

} // namespace

WatchProgress::WatchProgress(QWidget* parent, const QString& label, int total)
    : m_dialog(std::make_unique<QProgressDialog>(label, LoadResString(IDS_PROGRESS_CANCEL), 0, total, parent))
{
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(g_delay);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setValue(0);
}

WatchProgress::~WatchProgress() = default;

bool WatchProgress::Step(int done)
{
    // Once shown, the modal dialog lets the window answer within setValue;
    // before that no input may reach the grid halfway through the work.
    m_dialog->setValue(done);
    return !m_dialog->wasCanceled();
}

int WatchProgress::SetDelay(int milliseconds)
{
    return std::exchange(g_delay, milliseconds);
}
