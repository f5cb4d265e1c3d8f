// A grid on the real X11 clipboard, driven over stdin and stdout by
// clipboard-xcb.sh: it copies cells for xclip to read, then pastes what xclip
// put on the clipboard and prints the cells it wrote.

#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <QWidget>

#include <iostream>
#include <memory>
#include <string>

namespace {

// Three rows (one fixed) and four columns (one fixed); column 2 is hidden.
std::unique_ptr<QWidget> MakeGrid(CGridCtrl** grid)
{
    auto window = std::make_unique<QWidget>();
    *grid = new CGridCtrl(3, 4, 1, 1);
    (*grid)->Create(RECT{0, 0, 300, 100}, window.get(), 1);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            (*grid)->SetItemText(row, col, QStringLiteral("%1%2").arg(row).arg(col));
    (*grid)->SetColumnWidth(2, 0);
    window->show();
    return window;
}

void Paste()
{
    // The news that another program took the clipboard may still be queued.
    QCoreApplication::processEvents();
    CGridCtrl* grid = nullptr;
    const std::unique_ptr<QWidget> window = MakeGrid(&grid);
    grid->SetFocusCell(1, 1);
    grid->OnEditPaste();
    QTextStream out(stdout);
    for (int row = 1; row < 3; ++row)
        for (int col = 1; col < 4; ++col)
            out << row << ',' << col << '=' << grid->GetItemText(row, col) << '\n';
    out << "done" << Qt::endl;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    {
        // The copied text must stay on the clipboard after the grid is gone.
        CGridCtrl* grid = nullptr;
        const std::unique_ptr<QWidget> window = MakeGrid(&grid);
        grid->SetSelectedRange(1, 1, 2, 3);
        grid->OnEditCopy();
    }
    std::cout << "copied" << std::endl;

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        std::string command;
        if (!std::getline(std::cin, command) || command == "quit") {
            QApplication::quit();
            return;
        }
        if (command == "paste")
            Paste();
    });
    return QApplication::exec();
}
