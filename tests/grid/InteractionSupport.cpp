#include "InteractionSupport.h"

#include "cells/CGridCellBase.h"
#include "cells/CInPlaceEdit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

LRESULT InteractionParent::OnNotify(WPARAM, NMHDR* header)
{
    if (header->code == GRIDN_GETDISPINFO || header->code == GRIDN_CACHEHINT)
        return 0;
    const auto* notify = reinterpret_cast<const GridNotify*>(header);
    const QString text = grid ? grid->GetItemText(notify->iRow, notify->iColumn) : QString();
    records.push_back({header->code, notify->iRow, notify->iColumn, text});
    const auto reply = replies.find(header->code);
    return reply == replies.end() ? 0 : reply->second;
}

void InteractionParent::OnControlCommand(UINT, HWND)
{
    ++commands;
}

std::vector<int> InteractionParent::Codes() const
{
    std::vector<int> codes;
    for (const Record& record : records)
        codes.push_back(record.code);
    return codes;
}

InteractionGrid::InteractionGrid() : InteractionGrid(new CGridCtrl)
{
}

InteractionGrid::InteractionGrid(CGridCtrl* made) : grid(made)
{
    grid->SetRowCount(6);
    grid->SetColumnCount(5);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    parent.grid = grid;
    parent.setGeometry(100, 100, 400, 300);
    grid->Create(RECT{0, 0, 400, 300}, &parent, 77);
    for (int row = 0; row < grid->GetRowCount(); ++row) {
        grid->SetRowHeight(row, 20);
        for (int col = 0; col < grid->GetColumnCount(); ++col)
            grid->SetItemText(row, col, QStringLiteral("r%1c%2").arg(row).arg(col));
    }
    for (int col = 0; col < grid->GetColumnCount(); ++col)
        grid->SetColumnWidth(col, 60);
    grid->SetModified(FALSE);
    parent.show();
    parent.activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&parent);
    grid->setFocus();
    QApplication::processEvents();
}

InteractionGrid::~InteractionGrid()
{
    Flush();
}

QPoint InteractionGrid::Centre(int row, int col) const
{
    CRect rect;
    grid->GetCellRect(row, col, &rect);
    return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void InteractionGrid::Hover(const QPoint& pos) const
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(Viewport()->mapToGlobal(pos)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(Viewport(), &move);
}

CInPlaceEdit* InteractionGrid::Editor(int row, int col) const
{
    const CGridCellBase* cell = grid->GetCell(row, col);
    return cell ? qobject_cast<CInPlaceEdit*>(cell->GetEditWnd()) : nullptr;
}

void InteractionGrid::Flush()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
