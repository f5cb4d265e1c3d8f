#include "PlainGridShape.h"

QString PlainGridShape::CellText(int row, int col)
{
    return QStringLiteral("Plant.Area%1.Tag%2").arg(row % 97).arg(row * kColumns + col);
}
