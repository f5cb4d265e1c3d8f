#pragma once

#include "platform/WinTypes.h"

#include <QString>

class CGridCtrl;
class CGridQuillon;

// What a user does to the watch grid, as real mouse and key events.

// A click on the cell and the text typed into the editor that opens, then Return.
void TypeInto(CGridQuillon& grid, int row, int col, const QString& text);

// The context menu opened with the Menu key on the focus cell and the command
// chosen with Return; false when the menu did not offer it enabled.
bool ChooseFromContextMenu(CGridCtrl& grid, UINT command);
