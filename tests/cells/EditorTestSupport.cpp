#include "EditorTestSupport.h"

#include "grid/GridDefs.h"
#include "grid/GridNotify.h"

#include <QApplication>
#include <QDir>
#include <QTest>

LRESULT RecordingHost::OnNotify(WPARAM wParam, NMHDR* header)
{
    const auto* info = reinterpret_cast<const GridDispInfo*>(header);
    reports.push_back({wParam, header->code, static_cast<QWidget*>(header->hwndFrom), info->item.row, info->item.col,
                       info->item.mask, info->item.strText, UINT(info->item.lParam), hasFocus()});
    if (onReport)
        onReport();
    return reply;
}

HostFixture::HostFixture(const QRect& geometry)
{
    host.setGeometry(geometry);
    host.show();
    host.activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&host);
}

HostFixture::~HostFixture()
{
    Flush();
}

void Flush()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString TestOutputPath(const QString& fileName)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/test-output");
    QDir().mkpath(folder);
    return folder + u'/' + fileName;
}
