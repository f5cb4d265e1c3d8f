#pragma once

#include "app/WatchListFile.h"

#include <QStandardItemModel>
#include <QTableView>

#include <functional>
#include <vector>

// What a Qt developer would use in place of the grid: a QTableView over a
// QStandardItemModel of four columns, shown in a window of the grid's size,
// with the code such a developer writes for loading a list and for copying
// and pasting cells as text.
class PeerTable
{
public:
    // The view sees the model once its cells are made: filling a shown model
    // cell by cell costs the view far more than the model.
    explicit PeerTable(int rows = 0, const std::function<QString(int row, int col)>& text = {});
    PeerTable(const PeerTable&) = delete;
    PeerTable& operator=(const PeerTable&) = delete;

    QStandardItemModel& Model() { return m_model; }
    QTableView& View() { return m_view; }
    // A watch row each: the text, empty value and quality, a check box.
    void Load(const std::vector<WatchListRow>& rows);
    // Every cell as tab-separated fields and CR LF lines onto the clipboard.
    void ExportToClipboard() const;
    // The clipboard's text into the cells from the first row on.
    void ImportFromClipboard();

private:
    QStandardItemModel m_model;
    QTableView m_view;
};
