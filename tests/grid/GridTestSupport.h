#pragma once

#include "grid/CGridCtrl.h"
#include "grid/NotifyReceiver.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <vector>

// A parent window that records the grid's notifications and answers them.
class RecordingParent : public QWidget, public CNotifyReceiver
{
public:
    struct Record
    {
        int code;
        int row;
        int col;
        CellSpan span;
    };

    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override;

    std::vector<Record> records;
    WPARAM lastId = 0;
    LRESULT reply = 0;
    // Fills virtual cells: text "r<row>c<col>".
    bool fillDisplayInfo = true;
};

// A created grid of the given size inside a recording parent.
struct GridFixture
{
    GridFixture(int rows, int cols, int fixedRows, int fixedCols, int width = 400, int height = 300);

    QImage Render();
    QRgb Pixel(int x, int y) { return Render().pixel(x, y); }

    RecordingParent parent;
    CGridCtrl* grid;
};

QRgb ToRgb(COLORREF color);
