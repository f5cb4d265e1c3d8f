#include "cells/CGridCell.h"
#include "cells/CellsLog.h"
#include "grid/CGridCtrl.h"
#include "grid/GridLog.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>

namespace {

struct Warning
{
    QString category;
    QString text;
};

std::vector<Warning>* g_warnings = nullptr;

void Record(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (g_warnings && type == QtWarningMsg && context.category && QByteArray(context.category).startsWith("quillon."))
        g_warnings->push_back({QString::fromLatin1(context.category), text});
}

// Collects the warnings of the program's categories while it lives; 'rules'
// are the filter rules in force meanwhile.
class WarningCapture
{
public:
    explicit WarningCapture(const QString& rules)
    {
        QLoggingCategory::setFilterRules(rules);
        g_warnings = &warnings;
        m_previous = qInstallMessageHandler(Record);
    }
    ~WarningCapture()
    {
        qInstallMessageHandler(m_previous);
        g_warnings = nullptr;
        QLoggingCategory::setFilterRules(QString());
    }
    WarningCapture(const WarningCapture&) = delete;
    WarningCapture& operator=(const WarningCapture&) = delete;

    std::vector<Warning> warnings;

private:
    QtMessageHandler m_previous = nullptr;
};

// Misuse is refused as before, silently by default and with a warning that
// names the call once the category is switched on.
TEST(GridDiagnostics, MisuseWarnsOnlyWhenSwitchedOn)
{
    CGridCtrl grid(3, 3, 1, 1);
    {
        WarningCapture off{QString()};
        EXPECT_FALSE(lcGrid().isWarningEnabled());
        EXPECT_FALSE(lcCells().isWarningEnabled());
        EXPECT_FALSE(grid.SetItemText(9, 0, QStringLiteral("x")));
        EXPECT_TRUE(off.warnings.empty());
    }

    WarningCapture on{QStringLiteral("quillon.*.warning=true")};
    EXPECT_TRUE(grid.SetItemText(1, 1, QStringLiteral("fine")));
    EXPECT_TRUE(grid.SetItemBkColour(1, 1, RGB(1, 2, 3)));
    EXPECT_TRUE(on.warnings.empty()) << "correct calls stay quiet";

    EXPECT_FALSE(grid.SetItemText(9, 0, QStringLiteral("x")));
    EXPECT_FALSE(grid.SetItemBkColour(0, -1, RGB(1, 2, 3)));
    EXPECT_FALSE(grid.SetCellType(1, 1, RUNTIME_CLASS(CGridCtrl)));
    EXPECT_FALSE(grid.SetItem(nullptr));
    CGridCtrl virtualGrid(3, 3, 0, 0);
    virtualGrid.SetVirtualMode(TRUE);
    virtualGrid.SetRowCount(3);
    virtualGrid.SetColumnCount(3);
    EXPECT_FALSE(virtualGrid.SetItemText(1, 1, QStringLiteral("x")));
    CGridCell orphan;
    EXPECT_FALSE(orphan.Edit(0, 0, CRect(0, 0, 10, 10), CPoint(), IDC_INPLACE_CONTROL, 0));

    ASSERT_EQ(on.warnings.size(), 6u);
    EXPECT_TRUE(on.warnings[0].text.startsWith(QStringLiteral("SetItemText(9, 0)"))) << on.warnings[0].text.toStdString();
    EXPECT_TRUE(on.warnings[1].text.startsWith(QStringLiteral("SetItemBkColour(0, -1)")));
    EXPECT_TRUE(on.warnings[2].text.startsWith(QStringLiteral("SetCellType(1, 1)")));
    EXPECT_TRUE(on.warnings[3].text.startsWith(QStringLiteral("SetItem")));
    EXPECT_TRUE(on.warnings[4].text.contains(QStringLiteral("virtual")));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(on.warnings[static_cast<size_t>(i)].category, QStringLiteral("quillon.grid")) << i;
    EXPECT_EQ(on.warnings[5].category, QStringLiteral("quillon.cells"));
    // Refused calls changed nothing.
    EXPECT_EQ(grid.GetItemText(1, 1), QStringLiteral("fine"));
    EXPECT_STREQ(grid.GetCell(1, 1)->GetRuntimeClass()->m_lpszClassName, "CGridCell");
}

} // namespace
