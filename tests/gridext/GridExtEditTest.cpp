#include "ProductGridSupport.h"

#include "cells/CGridCellVantel.h"
#include "cells/CInPlaceEdit.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

void Click(InteractionGrid& f, int row, int col)
{
    QTest::mouseClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(row, col));
    InteractionGrid::Flush();
}

// Types text on the focused grid (the first letter opens the editor) and
// returns the editor on (row, col).
CInPlaceEdit* TypeInto(InteractionGrid& f, int row, int col, const QString& text)
{
    QTest::keyClicks(f.grid, text.left(1));
    InteractionGrid::Flush();
    CInPlaceEdit* editor = f.Editor(row, col);
    if (editor && text.size() > 1)
        QTest::keyClicks(editor, text.mid(1));
    return editor;
}

void PressReturn(CInPlaceEdit* editor)
{
    QTest::keyClick(editor, Qt::Key_Return);
    InteractionGrid::Flush();
}

// Click on the product cell, type "abc" into it and press Return: the number
// check refuses it.
CInPlaceEdit* RefuseAnEdit(ProductGrid& f)
{
    Click(f, 2, 2);
    CInPlaceEdit* editor = TypeInto(f, 2, 2, QStringLiteral("abc"));
    if (!editor)
        return nullptr;
    PressReturn(editor);
    return f.Editor(2, 2);
}

TEST(ProductGridEditing, ARefusedTextReopensTheEditorUntilAnAcceptedOne)
{
    ProductGrid f;
    CInPlaceEdit* reopened = RefuseAnEdit(f);
    ASSERT_NE(reopened, nullptr) << "the editor is open again on the refused cell";
    EXPECT_EQ(reopened->toPlainText(), QStringLiteral("abc"));
    EXPECT_EQ(reopened->textCursor().selectedText(), QStringLiteral("abc")) << "all of it selected";
    EXPECT_TRUE(reopened->hasFocus());
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(2, 2)) << "Return did not move on";
    EXPECT_TRUE(f.Probe()->IsReEditPending());
    EXPECT_EQ(ProductGrid::RefusalMessages(), 1);

    // Typing replaces the selected text; an accepted number moves on as Return does.
    QTest::keyClicks(reopened, QStringLiteral("42"));
    PressReturn(reopened);
    EXPECT_EQ(f.Editor(2, 2), nullptr);
    EXPECT_EQ(f.grid->GetItemText(2, 2), QStringLiteral("42"));
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(3, 2));
    EXPECT_FALSE(f.Probe()->IsReEditPending());
}

TEST(ProductGridEditing, AClickElsewhereAfterARefusalOnlyReturnsToTheRefusedCell)
{
    ProductGrid f;
    ASSERT_NE(RefuseAnEdit(f), nullptr);
    f.parent.records.clear();

    Click(f, 4, 4);
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(2, 2));
    EXPECT_FALSE(f.grid->IsCellSelected(4, 4));
    CInPlaceEdit* editor = f.Editor(2, 2);
    ASSERT_NE(editor, nullptr) << "the refused text is still being edited";
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(ProductGrid::RefusalMessages(), 2) << "the click judged the text once, not twice";
    EXPECT_FALSE(f.Probe()->IsReEditPending()) << "the press took the user back and cleared the flag";
}

TEST(ProductGridEditing, TheTextIsCheckedAsItIsTypedAndStandardCellsAlwaysPass)
{
    ProductGrid f;
    Click(f, 2, 2);
    CInPlaceEdit* editor = TypeInto(f, 2, 2, QStringLiteral("1"));
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(f.Probe()->IsReEditPending());
    QTest::keyClicks(editor, QStringLiteral("x"));
    EXPECT_TRUE(f.Probe()->IsReEditPending()) << "'1x' is no number";
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_FALSE(f.Probe()->IsReEditPending());
    EXPECT_EQ(ProductGrid::RefusalMessages(), 0) << "the check while typing is quiet";
    QTest::keyClick(editor, Qt::Key_Escape);
    InteractionGrid::Flush();

    Click(f, 1, 3);
    f.Probe()->SetReEditPending(TRUE);
    editor = TypeInto(f, 1, 3, QStringLiteral("no number"));
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(f.Probe()->IsReEditPending());
    PressReturn(editor);
    EXPECT_EQ(f.grid->GetItemText(1, 3), QStringLiteral("no number"));
    EXPECT_FALSE(f.Probe()->IsReEditPending());
}

TEST(ProductGridEditing, DoubleClickingAnEmptyProductCellOpensTheTagBrowser)
{
    ProductGrid f;
    f.grid->SetItemText(2, 2, QString());
    bool browserShown = false;
    // Cancels the browser from inside its modal loop; cancelling leaves the
    // cell as it was.
    QTimer cancel;
    cancel.setSingleShot(true);
    cancel.setInterval(10);
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            browserShown = true;
            dialog->reject();
        }
    });
    cancel.start();
    QTest::mouseDClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(2, 2));
    InteractionGrid::Flush();
    EXPECT_TRUE(browserShown);
    EXPECT_EQ(f.Probe()->GetRightClickCell(), CCellID(2, 2));
    EXPECT_EQ(f.grid->GetItemText(2, 2), QString());
    EXPECT_EQ(f.Editor(2, 2), nullptr) << "the double click's editor closed before browsing";
}

} // namespace
