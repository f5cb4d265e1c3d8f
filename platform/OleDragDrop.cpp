#include "OleDragDrop.h"

#include <QDrag>
#include <QMimeData>
#include <QWidget>

#include <memory>

namespace {

DragDropHandler& Handler()
{
    static DragDropHandler handler;
    return handler;
}

} // namespace

DROPEFFECT DropEffectFromAction(Qt::DropAction action)
{
    switch (action) {
    case Qt::CopyAction: return DROPEFFECT_COPY;
    case Qt::MoveAction: return DROPEFFECT_MOVE;
    default: return DROPEFFECT_NONE;
    }
}

Qt::DropActions DropActionsFromEffect(DROPEFFECT effect)
{
    Qt::DropActions actions;
    if (effect & DROPEFFECT_COPY)
        actions |= Qt::CopyAction;
    if (effect & DROPEFFECT_MOVE)
        actions |= Qt::MoveAction;
    return actions;
}

DROPEFFECT DoDragDrop(QWidget* source, QMimeData* data, DROPEFFECT allowed)
{
    if (!data)
        return DROPEFFECT_NONE;
    if (Handler())
        return Handler()(source, data, allowed);
    if (!source) {
        delete data;
        return DROPEFFECT_NONE;
    }
    const std::unique_ptr<QDrag> drag = std::make_unique<QDrag>(source);
    drag->setMimeData(data);
    const Qt::DropAction done = drag->exec(DropActionsFromEffect(allowed), Qt::CopyAction);
    return DropEffectFromAction(done);
}

void SetDragDropHandler(DragDropHandler handler)
{
    Handler() = std::move(handler);
}
