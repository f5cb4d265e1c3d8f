#pragma once

#include "trend/CTrendWindow.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <vector>

class CGridQuillon;

// Connects the watch grid to the trend window: Ctrl+T on the grid and the
// window menu's Trend item open it with the chosen Continuous rows (or add
// them to the open one), and every refresh tick feeds it what the rows show.
// The grid knows nothing of the trend.
class CTrendController : public QObject
{
    Q_OBJECT

public:
    CTrendController(CGridQuillon& grid, QWidget* owner);
    ~CTrendController() override;

    void OnTrendCommand();
    // After a refresh tick; while disconnected every line has a gap.
    void OnTick(bool connected);
    // With the main window: keeps the trend's placement.
    void Close();

    CTrendWindow* Window() const { return m_window; }
    // The selected Continuous rows, or all of them when one cell or none is selected.
    QStringList ChosenLabels() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int FindRow(const QString& label, size_t series);

    CGridQuillon& m_grid;
    QWidget* m_owner;
    QPointer<CTrendWindow> m_window;
    // The row each series was last found in: rows move when sorted or inserted.
    std::vector<int> m_rows;
};
