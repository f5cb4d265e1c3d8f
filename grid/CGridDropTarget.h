#pragma once

#include "platform/CPoint.h"
#include "platform/OleDragDrop.h"
#include "platform/WinTypes.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class CGridCtrl;
class QDropEvent;
class QMimeData;

// Makes a grid a drop target for text from any program. It registers for its
// grid on every resize, turns the drag events of the grid's client area into
// the drop-target operations, and passes each on to the grid only when it is
// meant for the grid's window.
class CGridDropTarget : public QObject
{
    Q_OBJECT

public:
    // Owned by grid, as a child object.
    explicit CGridDropTarget(CGridCtrl* grid);

    // Refused when registered already, when re-entered, or for a window that is no grid.
    BOOL Register(QWidget* window);
    virtual void Revoke();
    BOOL IsRegistered() const { return m_bRegistered; }

    virtual DROPEFFECT OnDragEnter(QWidget* window, const QMimeData* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(QWidget* window, const QMimeData* data, DWORD keyState, CPoint point);
    virtual BOOL OnDrop(QWidget* window, const QMimeData* data, DROPEFFECT dropEffect, CPoint point);
    virtual void OnDragLeave(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsMine(const QWidget* window) const;
    bool HandleDragEvent(QEvent* event);

    CGridCtrl* m_pOwner;
    CGridCtrl* m_pGridCtrl = nullptr;
    // The grid's client area, where the drag events arrive; compared without
    // asking the grid, which may be half destroyed when its last events come.
    QPointer<QWidget> m_pViewport;
    BOOL m_bRegistered = FALSE;
};
