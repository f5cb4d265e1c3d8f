#include "CGridDropTarget.h"

#include "CGridCtrl.h"

#include "platform/VirtualKeys.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace {

CPoint EventPoint(const QDropEvent* event)
{
    const QPoint pos = event->position().toPoint();
    return CPoint(pos.x(), pos.y());
}

DWORD EventKeyState(const QDropEvent* event)
{
    return MouseKeyFlags(event->buttons(), event->modifiers());
}

// Ctrl copies and a plain drop moves, where the source allows a move.
Qt::DropAction ChosenAction(const QDropEvent* event)
{
    if (event->proposedAction() == Qt::MoveAction && (event->possibleActions() & Qt::MoveAction))
        return Qt::MoveAction;
    return Qt::CopyAction;
}

void Answer(QDropEvent* event, bool accepted)
{
    if (!accepted) {
        event->ignore();
        return;
    }
    event->setDropAction(ChosenAction(event));
    event->accept();
}

} // namespace

CGridDropTarget::CGridDropTarget(CGridCtrl* grid) : QObject(grid), m_pOwner(grid)
{
    grid->installEventFilter(this);
}

BOOL CGridDropTarget::Register(QWidget* window)
{
    static bool registering = false;
    auto* grid = qobject_cast<CGridCtrl*>(window);
    if (m_bRegistered || registering || !grid)
        return FALSE;
    registering = true;
    m_pGridCtrl = grid;
    m_pViewport = grid->viewport();
    m_pViewport->setAcceptDrops(true);
    m_pViewport->installEventFilter(this);
    m_bRegistered = TRUE;
    registering = false;
    return m_bRegistered;
}

void CGridDropTarget::Revoke()
{
    m_bRegistered = FALSE;
    if (!m_pViewport)
        return;
    m_pViewport->removeEventFilter(this);
    m_pViewport->setAcceptDrops(false);
}

bool CGridDropTarget::IsMine(const QWidget* window) const
{
    return m_pGridCtrl && window == m_pGridCtrl;
}

DROPEFFECT CGridDropTarget::OnDragEnter(QWidget* window, const QMimeData* data, DWORD keyState, CPoint point)
{
    return IsMine(window) ? m_pGridCtrl->OnDragEnter(data, keyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CGridDropTarget::OnDragOver(QWidget* window, const QMimeData* data, DWORD keyState, CPoint point)
{
    return IsMine(window) ? m_pGridCtrl->OnDragOver(data, keyState, point) : DROPEFFECT_NONE;
}

BOOL CGridDropTarget::OnDrop(QWidget* window, const QMimeData* data, DROPEFFECT dropEffect, CPoint point)
{
    return IsMine(window) ? m_pGridCtrl->OnDrop(data, dropEffect, point) : FALSE;
}

void CGridDropTarget::OnDragLeave(QWidget* window)
{
    if (IsMine(window))
        m_pGridCtrl->OnDragLeave();
}

bool CGridDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pOwner && event->type() == QEvent::Resize)
        Register(m_pOwner);
    else if (m_pViewport && watched == m_pViewport)
        return HandleDragEvent(event);
    return false;
}

// The client area's drag events, as the drop-target operations.
bool CGridDropTarget::HandleDragEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        OnDragEnter(m_pGridCtrl, enter->mimeData(), EventKeyState(enter), EventPoint(enter));
        // Taken while it carries text, so that the moves over other cells follow.
        Answer(enter, enter->mimeData() && enter->mimeData()->hasText());
        return true;
    }
    case QEvent::DragMove: {
        auto* move = static_cast<QDragMoveEvent*>(event);
        Answer(move,
               OnDragOver(m_pGridCtrl, move->mimeData(), EventKeyState(move), EventPoint(move)) != DROPEFFECT_NONE);
        return true;
    }
    case QEvent::DragLeave: OnDragLeave(m_pGridCtrl); return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const DROPEFFECT effect = DropEffectFromAction(ChosenAction(drop));
        Answer(drop, OnDrop(m_pGridCtrl, drop->mimeData(), effect, EventPoint(drop)) != FALSE);
        return true;
    }
    default: return false;
    }
}
