#include "cells/CGridCellTimeStamp.h"
#include "cells/CGridCellVantel.h"
#include "runtime/VantelToolkit.h"

#include <gtest/gtest.h>

namespace {

// The product and time-stamp cells reach the toolkit; these run it without a runtime.
TEST(ProductCell, KindChoosesTheToolkitCheckAndRewritesTheText)
{
    CGridCellVantel cell;
    cell.SetText(QStringLiteral("before"));
    cell.SetCheckKind(1);
    EXPECT_FALSE(cell.CheckText(QStringLiteral("not a number")));
    EXPECT_TRUE(cell.CheckText(QStringLiteral(" 12 ")));
    EXPECT_EQ(cell.GetText(), QStringLiteral("before"));
    EXPECT_FALSE(cell.ValidateEdit(QStringLiteral("x")));
    EXPECT_EQ(cell.GetText(), QStringLiteral("before"));
    EXPECT_TRUE(cell.ValidateEdit(QStringLiteral(" 12 ")));
    EXPECT_EQ(cell.GetText(), QStringLiteral("12"));

    cell.SetCheckKind(7);
    EXPECT_FALSE(cell.CheckText(QStringLiteral("12")));
    EXPECT_FALSE(cell.ValidateEdit(QStringLiteral("12")));
}

// Texts far beyond the buffers reach the toolkit cut short, for every kind
// (run under the address sanitizer, an overrun fails here).
TEST(ProductCell, LongTextsStayWithinTheKindsLimit)
{
    const int limits[] = {1023, 1024, 8191, 1023};
    for (int kind = 0; kind < 4; ++kind) {
        CGridCellVantel cell;
        cell.SetCheckKind(kind);
        const QString text(20000, u'7');
        cell.CheckText(text);
        if (cell.ValidateEdit(text)) {
            EXPECT_LE(cell.GetText().size(), limits[kind]);
        }
    }
}

TEST(TimeStampCell, ReformatsWhatTheToolkitUnderstandsAndKeepsTheOldText)
{
    CGridCellTimeStamp cell;
    cell.SetTimeKind(6);
    cell.SetText(QStringLiteral("07:05:09"));
    const QString first = cell.GetText();
    EXPECT_EQ(first, QStringLiteral("07:05:09"));
    const FILETIME time = cell.GetTime();
    cell.SetText(QStringLiteral("no time"));
    EXPECT_EQ(cell.GetText(), first);
    EXPECT_EQ(cell.GetTime().dwLowDateTime, time.dwLowDateTime);
    cell.SetText(QString());
    EXPECT_EQ(cell.GetText(), QString());

    CGridCellTimeStamp later;
    later.SetText(QStringLiteral("08:00:00"));
    cell.SetText(QStringLiteral("07:00:00"));
    EXPECT_EQ(cell.Compare(&later), -1);
    EXPECT_EQ(later.Compare(&cell), 1);
    EXPECT_EQ(cell.Compare(&cell), 0);
    CGridCellVantel other;
    EXPECT_EQ(cell.Compare(&other), -1);

    cell.SetReformat(FALSE);
    cell.SetText(QStringLiteral("no time"));
    EXPECT_EQ(cell.GetText(), QStringLiteral("no time"));
}

} // namespace
