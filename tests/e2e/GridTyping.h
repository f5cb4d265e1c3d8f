#pragma once

#include <QString>

class CGridQuillon;

// A click on the cell and the text typed into the editor that opens, then Return.
void TypeInto(CGridQuillon& grid, int row, int col, const QString& text);
