#include "TestHost.h"

#include "FakeRuntime.h"

#include "cells/CGridCellBase.h"
#include "cells/CGridCellCheck.h"
#include "cells/CInPlaceEdit.h"
#include "watch/CGridQuillon.h"

#include <QApplication>
#include <QTest>

void TestHost::MarkDisconnected()
{
    connected = FALSE;
    ++disconnectedMarks;
}

WatchGridFixture::WatchGridFixture(const FakeRuntime* runtime) : grid(new CGridQuillon)
{
    if (runtime)
        grid->SetRuntimeCalls(runtime->Calls());
    host.setGeometry(100, 100, 400, 300);
    grid->Create(RECT{0, 0, 400, 300}, &host, 1000);
    grid->SetColumnCount(4);
    grid->SetRowCount(1);
    grid->SetFixedRowCount(1);
    grid->SetRowHeight(0, 18);
    for (int col = 0; col < 4; ++col)
        grid->SetColumnWidth(col, 90);
    grid->InsertWatchRow(-1);
    grid->SetFocusCell(1, 0);
    host.show();
    host.activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&host);
    grid->setFocus();
    QApplication::processEvents();
}

WatchGridFixture::~WatchGridFixture()
{
    Flush();
}

void WatchGridFixture::Type(int row, int col, const QString& text)
{
    grid->SetFocusCell(row, col);
    grid->setFocus();
    if (text.isEmpty())
        return;
    QTest::keyClick(grid, text.at(0).toLatin1());
    Flush();
    auto* editor = qobject_cast<CInPlaceEdit*>(grid->GetCell(row, col)->GetEditWnd());
    if (!editor)
        return;
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    Flush();
}

int WatchGridFixture::LoadRow(const QString& text, bool continuous)
{
    const int row = grid->GetRowCount() - 1;
    grid->SetItemText(row, CGridQuillon::ColTag, text);
    if (auto* check = dynamic_cast<CGridCellCheck*>(grid->GetCell(row, CGridQuillon::ColContinuous)))
        check->SetCheck(continuous);
    grid->InsertWatchRow(-1);
    return row;
}

bool WatchGridFixture::IsChecked(int row) const
{
    const auto* check = dynamic_cast<const CGridCellCheck*>(grid->GetCell(row, CGridQuillon::ColContinuous));
    return check && check->GetCheck();
}

void WatchGridFixture::Flush()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
