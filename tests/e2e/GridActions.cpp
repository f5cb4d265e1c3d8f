#include "GridActions.h"

#include "cells/CInPlaceEdit.h"
#include "watch/CGridQuillon.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

void TypeInto(CGridQuillon& grid, int row, int col, const QString& text)
{
    CRect rect;
    grid.EnsureVisible(row, col);
    grid.GetCellRect(row, col, &rect);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    QTest::keyClick(&grid, text.at(0).toLatin1());
    QApplication::processEvents();
    if (auto* editor = qobject_cast<CInPlaceEdit*>(grid.GetCell(row, col)->GetEditWnd())) {
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    QApplication::processEvents();
}

bool ChooseFromContextMenu(CGridCtrl& grid, UINT command)
{
    bool chosen = false;
    QTimer::singleShot(0, &grid, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            if (action->data().toUInt() == command && action->isEnabled()) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                chosen = true;
                return;
            }
        }
        menu->close();
    });
    QTest::keyClick(&grid, Qt::Key_Menu);
    QApplication::processEvents();
    return chosen;
}
