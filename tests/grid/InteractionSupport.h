#pragma once

#include "grid/CGridCtrl.h"
#include "grid/NotifyReceiver.h"

#include <QPoint>
#include <QWidget>

#include <map>
#include <vector>

class CInPlaceEdit;

// A parent that records the grid's notifications in order and answers each
// code as told: -1 vetoes an edit or refuses its text.
class InteractionParent : public QWidget, public CNotifyReceiver
{
public:
    struct Record
    {
        int code;
        int row;
        int col;
        QString text; // the cell's text while GRIDN_ENDEDIT is asked
    };

    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override;
    void OnControlCommand(UINT id, HWND control) override;

    // The codes received, without the drawing-related ones.
    std::vector<int> Codes() const;

    CGridCtrl* grid = nullptr;
    std::vector<Record> records;
    std::map<int, LRESULT> replies;
    int commands = 0;
};

// An active window holding a 6 x 5 grid (one fixed row and column), rows 20
// and columns 60 pixels, cell texts "r<row>c<col>", the focus on the grid.
struct InteractionGrid
{
    InteractionGrid();
    // The same on a grid of a derived class, sized here.
    explicit InteractionGrid(CGridCtrl* made);
    ~InteractionGrid();

    // The middle of a cell in client coordinates.
    QPoint Centre(int row, int col) const;
    QWidget* Viewport() const { return grid->viewport(); }
    // A move with no button held, as the window system reports hovering.
    void Hover(const QPoint& pos) const;
    CInPlaceEdit* Editor(int row, int col) const;
    // Runs posted calls (the editor types its first character that way).
    static void Flush();

    InteractionParent parent;
    CGridCtrl* grid;
};
