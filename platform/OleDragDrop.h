#pragma once

#include "WinTypes.h"

#include <Qt>

#include <functional>

class QMimeData;
class QWidget;

// Drop effects as OLE numbers them.
using DROPEFFECT = DWORD;
constexpr DROPEFFECT DROPEFFECT_NONE = 0;
constexpr DROPEFFECT DROPEFFECT_COPY = 1;
constexpr DROPEFFECT DROPEFFECT_MOVE = 2;

DROPEFFECT DropEffectFromAction(Qt::DropAction action);
Qt::DropActions DropActionsFromEffect(DROPEFFECT effect);

// Runs a drag of data (ownership passes) from source until it is dropped or
// abandoned, and answers what the drop target did. The drag is a modal loop,
// so tests replace it with a handler of their own; null restores the real one.
using DragDropHandler = std::function<DROPEFFECT(QWidget* source, QMimeData* data, DROPEFFECT allowed)>;
DROPEFFECT DoDragDrop(QWidget* source, QMimeData* data, DROPEFFECT allowed);
void SetDragDropHandler(DragDropHandler handler);
