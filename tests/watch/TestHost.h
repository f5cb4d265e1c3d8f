#pragma once

#include "watch/CWatchGridHost.h"

#include <QWidget>

class CGridQuillon;
class FakeRuntime;

// The window around a watch grid in tests: a connection flag the test sets,
// a record of MarkDisconnected, and the application's identity mapping.
class TestHost : public QWidget, public CWatchGridHost
{
public:
    TestHost() = default;

    BOOL IsConnected() const override { return connected; }
    VtHandle GetConnection() const override { return handle; }
    void MarkDisconnected() override;
    QString MapTagText(const QString& text) const override { return text; }

    BOOL connected = TRUE;
    VtHandle handle = nullptr;
    int disconnectedMarks = 0;
};

// An active window with a watch grid laid out as the main window does it:
// header row, four columns, one empty watch row, focus on (1, 0).
struct WatchGridFixture
{
    // runtime == nullptr keeps the grid on the real toolkit.
    explicit WatchGridFixture(const FakeRuntime* runtime);
    ~WatchGridFixture();

    // Types a non-empty text into a cell as the user does (the first key
    // opens the editor) and ends the edit with Return.
    void Type(int row, int col, const QString& text);
    // The text of a Continuous row, committed as typed and its box set as loaded.
    int LoadRow(const QString& text, bool continuous);
    bool IsChecked(int row) const;
    static void Flush();

    TestHost host;
    CGridQuillon* grid;
};
