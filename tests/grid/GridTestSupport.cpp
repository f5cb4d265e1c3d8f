#include "GridTestSupport.h"

#include <QApplication>

LRESULT RecordingParent::OnNotify(WPARAM wParam, NMHDR* header)
{
    lastId = wParam;
    Record record{header->code, -1, -1, CellSpan()};
    if (header->code == GRIDN_CACHEHINT) {
        record.span = reinterpret_cast<GridSpanNotify*>(header)->cellSpan;
    } else if (header->code == GRIDN_GETDISPINFO) {
        GridItem& item = reinterpret_cast<GridDispInfo*>(header)->item;
        record.row = item.row;
        record.col = item.col;
        if (fillDisplayInfo)
            item.strText = QStringLiteral("r%1c%2").arg(item.row).arg(item.col);
    } else {
        const auto* notify = reinterpret_cast<GridNotify*>(header);
        record.row = notify->iRow;
        record.col = notify->iColumn;
    }
    records.push_back(record);
    return reply;
}

GridFixture::GridFixture(int rows, int cols, int fixedRows, int fixedCols, int width, int height)
    : grid(new CGridCtrl(rows, cols, fixedRows, fixedCols))
{
    parent.resize(width, height);
    grid->Create(RECT{0, 0, width, height}, &parent, 77);
    parent.show();
    QApplication::processEvents();
}

QImage GridFixture::Render()
{
    return grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb ToRgb(COLORREF color)
{
    return qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
}
