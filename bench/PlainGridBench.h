#pragma once

class BenchTable;

// The plain grid's own work beside a peer or a limit: building 100,000 rows
// with SetItemText against a QTableView over a QStandardItemModel, and one
// key typed into an open editor holding 2,000 characters against 2 ms.
class PlainGridBench
{
public:
    static bool Run(BenchTable& lines);
};
