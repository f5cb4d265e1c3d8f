#pragma once

#include "app/WatchListFile.h"
#include "watch/CWatchGridHost.h"

#include <QWidget>

#include <vector>

class CGridQuillon;

// A window holding a watch grid set up as the main window sets it up (four
// columns, one header row, the empty entry row), connected to whatever the
// toolkit's active connection is.
class BenchHost : public QWidget, public CWatchGridHost
{
public:
    BenchHost();

    BOOL IsConnected() const override { return TRUE; }
    VtHandle GetConnection() const override { return m_connection; }
    void MarkDisconnected() override {}
    QString MapTagText(const QString& text) const override { return text; }

    void SetConnection(VtHandle handle) { m_connection = handle; }
    CGridQuillon& Grid() { return *m_grid; }
    // The main window's steps for each row of a loaded list.
    void Load(const std::vector<WatchListRow>& rows);

private:
    // A child window: the host deletes it.
    CGridQuillon* m_grid;
    VtHandle m_connection = nullptr;
};
