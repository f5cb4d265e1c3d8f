#include "EditorTestSupport.h"

#include "cells/CInPlaceEdit.h"
#include "grid/GridDefs.h"
#include "platform/VirtualKeys.h"

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const CRect kCell(10, 20, 90, 40);

class InPlaceEditTest : public ::testing::Test
{
protected:
    // Opens an editor on the host; single-line unless asked otherwise.
    CInPlaceEdit* Open(const QString& text, UINT firstChar, int kind = CInPlaceEdit::AnyText, int limit = -1,
                       BOOL multiLine = FALSE, const CRect& rect = kCell)
    {
        CInPlaceEdit* edit =
            CInPlaceEdit::Open(&fixture.host, rect, 0, 8, 3, 2, text, firstChar, limit, text, multiLine);
        edit->SetInputKind(kind);
        editor = edit;
        Flush();
        return edit;
    }

    void Type(const QString& keys)
    {
        for (const QChar c : keys)
            QTest::keyClick(editor.data(), c.toLatin1());
    }

    QString Text() const { return editor ? editor->toPlainText() : QString(); }

    // The text the editor reports when Return ends it.
    QString EndedText()
    {
        QTest::keyClick(editor.data(), Qt::Key_Return);
        Flush();
        EXPECT_EQ(fixture.host.reports.size(), 1u);
        return fixture.host.reports.empty() ? QString() : fixture.host.reports.back().text;
    }

    HostFixture fixture;
    QPointer<CInPlaceEdit> editor;
};

TEST_F(InPlaceEditTest, IntegerKindRefusesWhatCannotBecomeANumber)
{
    Open(QString(), VK_LBUTTON, CInPlaceEdit::Integer);
    Type(QStringLiteral("1-a"));
    EXPECT_EQ(Text(), QStringLiteral("1"));
    Type(QStringLiteral(" 2"));
    EXPECT_EQ(Text(), QStringLiteral("1 ")) << "a blank may end a number, no digit may follow it";
    EXPECT_EQ(EndedText(), QStringLiteral("1")) << "the reported number is trimmed";
}

TEST_F(InPlaceEditTest, IntegerKindEndsALoneMinusAsZeroAndKeepsNegativeNumbers)
{
    Open(QString(), VK_LBUTTON, CInPlaceEdit::Integer);
    Type(QStringLiteral("-"));
    EXPECT_EQ(EndedText(), QStringLiteral("0"));

    fixture.host.reports.clear();
    Open(QString(), VK_LBUTTON, CInPlaceEdit::Integer);
    Type(QStringLiteral("-12"));
    EXPECT_EQ(EndedText(), QStringLiteral("-12"));
}

TEST_F(InPlaceEditTest, BooleanKindTakesOnlyZeroAndOne)
{
    Open(QString(), VK_LBUTTON, CInPlaceEdit::Boolean);
    Type(QStringLiteral("2"));
    EXPECT_EQ(Text(), QString());
    Type(QStringLiteral("-1"));
    EXPECT_EQ(Text(), QStringLiteral("-"));
    QTest::keyClick(editor.data(), Qt::Key_Backspace);
    Type(QStringLiteral("1"));
    EXPECT_EQ(Text(), QStringLiteral("1"));
    Type(QStringLiteral("0"));
    EXPECT_EQ(Text(), QStringLiteral("1")) << "10 is not a boolean";
}

TEST_F(InPlaceEditTest, RealKindAcceptsPartlyTypedNumbers)
{
    Open(QString(), VK_LBUTTON, CInPlaceEdit::Real);
    Type(QStringLiteral("1.5e-"));
    EXPECT_EQ(Text(), QStringLiteral("1.5e-"));
    Type(QStringLiteral("e-x3"));
    EXPECT_EQ(Text(), QStringLiteral("1.5e-3")) << "a second exponent or minus, or a letter, is refused";

    QTest::keyClick(editor.data(), Qt::Key_A, Qt::ControlModifier);
    Type(QStringLiteral(".."));
    EXPECT_EQ(Text(), QStringLiteral(".")) << "two decimal points are refused";
}

TEST_F(InPlaceEditTest, NumericKindsEndEmptyTextAsZero)
{
    Open(QString(), VK_LBUTTON, CInPlaceEdit::Real);
    EXPECT_EQ(EndedText(), QStringLiteral("0.000000"));

    fixture.host.reports.clear();
    Open(QStringLiteral("7"), VK_LBUTTON, CInPlaceEdit::Boolean);
    QTest::keyClick(editor.data(), Qt::Key_Backspace);
    EXPECT_EQ(EndedText(), QStringLiteral("0"));
}

TEST_F(InPlaceEditTest, FirstCharacterReplacesTheTextOrKeepsIt)
{
    Open(QStringLiteral("old"), 'n');
    EXPECT_EQ(Text(), QStringLiteral("n"));

    Open(QStringLiteral("old"), VK_BACK);
    EXPECT_EQ(Text(), QStringLiteral("ol"));

    Open(QStringLiteral("old"), VK_LBUTTON);
    Type(QStringLiteral("er"));
    EXPECT_EQ(Text(), QStringLiteral("older")) << "a click puts the caret at the end";
}

TEST_F(InPlaceEditTest, KeysArrivingBeforeTheFirstCharacterKeepTheirOrder)
{
    // A fast typist's second key can reach the editor before the posted first one.
    editor = CInPlaceEdit::Open(&fixture.host, kCell, 0, 8, 3, 2, QStringLiteral("old"), 'P', -1, QStringLiteral("old"),
                                FALSE);
    Type(QStringLiteral("lant"));
    Flush();
    EXPECT_EQ(Text(), QStringLiteral("Plant"));
}

TEST_F(InPlaceEditTest, FirstCharacterObeysTheInputKindSetAfterOpening)
{
    Open(QStringLiteral("5"), 'x', CInPlaceEdit::Integer);
    EXPECT_EQ(Text(), QStringLiteral("5"));
}

TEST_F(InPlaceEditTest, ExitKeysReportTheirKeyFromControlEightAndClose)
{
    struct Case
    {
        int qtKey;
        UINT exitKey;
    };
    for (const Case c : {Case{Qt::Key_Return, VK_RETURN}, Case{Qt::Key_Tab, VK_TAB}, Case{Qt::Key_Down, VK_DOWN},
                         Case{Qt::Key_PageUp, VK_PRIOR}}) {
        fixture.host.reports.clear();
        Open(QStringLiteral("abc"), 'x');
        QTest::keyClick(editor.data(), Qt::Key(c.qtKey));
        Flush();
        ASSERT_EQ(fixture.host.reports.size(), 1u) << c.exitKey;
        const RecordingHost::Report& report = fixture.host.reports[0];
        EXPECT_EQ(report.id, 8u);
        EXPECT_EQ(report.code, GRIDN_ENDEDIT);
        EXPECT_EQ(report.mask, GRIDIF_TEXT | GRIDIF_PARAM);
        EXPECT_EQ(report.row, 3);
        EXPECT_EQ(report.col, 2);
        EXPECT_EQ(report.text, QStringLiteral("x"));
        EXPECT_EQ(report.exitKey, c.exitKey);
        EXPECT_TRUE(report.hadFocus) << "the window has the keyboard back when it hears of the end";
        EXPECT_TRUE(editor.isNull()) << "the editor deletes itself";
    }
}

TEST_F(InPlaceEditTest, EscapeReportsTheInitialText)
{
    CInPlaceEdit* edit = CInPlaceEdit::Open(&fixture.host, kCell, 0, 8, 0, 0, QStringLiteral("1.5"), 'x', -1,
                                            QStringLiteral("1.5 V"), FALSE);
    editor = edit;
    Flush();
    Type(QStringLiteral("yz"));
    QTest::keyClick(edit, Qt::Key_Escape);
    Flush();
    ASSERT_EQ(fixture.host.reports.size(), 1u);
    EXPECT_EQ(fixture.host.reports[0].text, QStringLiteral("1.5"));
    EXPECT_EQ(fixture.host.reports[0].exitKey, VK_ESCAPE);
}

TEST_F(InPlaceEditTest, UnchangedShownTextReportsTheStoredText)
{
    editor = CInPlaceEdit::Open(&fixture.host, kCell, 0, 8, 0, 0, QStringLiteral("1.5"), VK_LBUTTON, -1,
                                QStringLiteral("1.5 V"), FALSE);
    EXPECT_EQ(EndedText(), QStringLiteral("1.5"));
}

TEST_F(InPlaceEditTest, ArrowsMoveTheCaretWhenTheEditBeganWithAClick)
{
    Open(QStringLiteral("abc"), VK_LBUTTON);
    QTest::keyClick(editor.data(), Qt::Key_Left);
    Type(QStringLiteral("X"));
    EXPECT_EQ(Text(), QStringLiteral("abXc"));
    EXPECT_TRUE(fixture.host.reports.empty());

    QTest::keyClick(editor.data(), Qt::Key_Left, Qt::ControlModifier);
    Flush();
    ASSERT_EQ(fixture.host.reports.size(), 1u) << "Ctrl with an arrow ends the edit";
    EXPECT_EQ(fixture.host.reports[0].exitKey, VK_LEFT);
}

TEST_F(InPlaceEditTest, PageKeysEndAMultiLineEditBegunWithAClick)
{
    Open(QStringLiteral("abc"), VK_LBUTTON, CInPlaceEdit::AnyText, -1, TRUE);
    QTest::keyClick(editor.data(), Qt::Key_Down);
    EXPECT_TRUE(fixture.host.reports.empty());
    QTest::keyClick(editor.data(), Qt::Key_PageDown);
    Flush();
    ASSERT_EQ(fixture.host.reports.size(), 1u);
    EXPECT_EQ(fixture.host.reports[0].exitKey, VK_NEXT);
}

TEST_F(InPlaceEditTest, LosingTheFocusEndsTheEditWithoutAKey)
{
    QWidget other(&fixture.host);
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    Open(QStringLiteral("abc"), 'q');
    other.setFocus();
    Flush();
    ASSERT_EQ(fixture.host.reports.size(), 1u);
    EXPECT_EQ(fixture.host.reports[0].text, QStringLiteral("q"));
    EXPECT_EQ(fixture.host.reports[0].exitKey, 0u);
    EXPECT_TRUE(editor.isNull());
}

TEST_F(InPlaceEditTest, ReplyTwoKeepsTheEditorOpenWithItsText)
{
    fixture.host.reply = 2;
    Open(QStringLiteral("abc"), 'q');
    QTest::keyClick(editor.data(), Qt::Key_Return);
    Flush();
    ASSERT_FALSE(editor.isNull());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(Text(), QStringLiteral("q"));

    fixture.host.reply = 0;
    editor->EndEdit();
    Flush();
    EXPECT_EQ(fixture.host.reports.size(), 2u);
    EXPECT_TRUE(editor.isNull());
}

TEST_F(InPlaceEditTest, AnEndWithinTheReportIsNotReportedAgain)
{
    Open(QStringLiteral("abc"), 'q');
    fixture.host.onReport = [this] {
        if (editor)
            editor->EndEdit();
    };
    QTest::keyClick(editor.data(), Qt::Key_Return);
    Flush();
    EXPECT_EQ(fixture.host.reports.size(), 1u);
}

TEST_F(InPlaceEditTest, AReceiverThatDeletesTheEditorIsSafe)
{
    Open(QStringLiteral("abc"), 'q');
    fixture.host.onReport = [this] { delete editor.data(); };
    QTest::keyClick(editor.data(), Qt::Key_Return);
    Flush();
    EXPECT_EQ(fixture.host.reports.size(), 1u);
}

TEST_F(InPlaceEditTest, RefusedCharactersAreNeitherTypedNorPasted)
{
    Open(QStringLiteral("ab"), VK_LBUTTON);
    editor->SetRefusedChars(QStringLiteral("*|"));
    Type(QStringLiteral("c*d"));
    EXPECT_EQ(Text(), QStringLiteral("abcd"));

    QGuiApplication::clipboard()->setText(QStringLiteral("x|y"));
    editor->paste();
    EXPECT_EQ(Text(), QStringLiteral("abcd"));
    QGuiApplication::clipboard()->setText(QStringLiteral("xy"));
    QTest::keyClick(editor.data(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), QStringLiteral("abcdxy"));
}

TEST_F(InPlaceEditTest, NumericPasteIsJudgedAlone)
{
    Open(QStringLiteral("1"), VK_LBUTTON, CInPlaceEdit::Integer);
    QGuiApplication::clipboard()->setText(QStringLiteral("2x"));
    editor->paste();
    EXPECT_EQ(Text(), QStringLiteral("1"));
    QGuiApplication::clipboard()->setText(QStringLiteral("23"));
    editor->paste();
    EXPECT_EQ(Text(), QStringLiteral("123"));
}

TEST_F(InPlaceEditTest, TextLimitBoundsTypingAndPasting)
{
    Open(QString(), VK_LBUTTON, CInPlaceEdit::AnyText, 10);
    Type(QStringLiteral("0123456789AB"));
    EXPECT_EQ(Text(), QStringLiteral("0123456789"));

    Open(QString(), VK_LBUTTON, CInPlaceEdit::AnyText, 10);
    QGuiApplication::clipboard()->setText(QString(100000, u'z'));
    editor->paste();
    EXPECT_EQ(Text().size(), 10);

    Open(QString(), VK_LBUTTON, CInPlaceEdit::AnyText, -1);
    editor->paste();
    EXPECT_EQ(Text().size(), 32767) << "without a limit the edit control's own limit applies";
}

TEST_F(InPlaceEditTest, SingleLinePasteStopsAtTheLineBreak)
{
    Open(QString(), VK_LBUTTON);
    QGuiApplication::clipboard()->setText(QStringLiteral("first\r\nsecond"));
    editor->paste();
    EXPECT_EQ(Text(), QStringLiteral("first"));
}

TEST_F(InPlaceEditTest, TypingWidensWithinTheWindowAndTheScreen)
{
    Open(QString(), VK_LBUTTON);
    const int start = editor->width();
    Type(QStringLiteral("a somewhat longer text"));
    EXPECT_GT(editor->width(), start);
    EXPECT_LE(editor->geometry().right() + 1, fixture.host.width());
    Type(QString(60, u'w'));
    EXPECT_EQ(editor->geometry().right() + 1, fixture.host.width()) << "stops at the window's edge";
}

TEST_F(InPlaceEditTest, TypingStopsWideningEightPixelsFromTheScreenEdge)
{
    const int screenRight = QGuiApplication::primaryScreen()->geometry().width();
    fixture.host.setGeometry(screenRight - 300, 100, 400, 300);
    Open(QString(), VK_LBUTTON);
    Type(QString(80, u'w'));
    const int right = editor->mapToGlobal(QPoint(editor->width(), 0)).x();
    EXPECT_EQ(right, screenRight - 8);
}

TEST_F(InPlaceEditTest, MultiLineEditGrowsDownwardsWithItsLines)
{
    const CRect narrow(10, 20, 60, 40);
    Open(QString(), VK_LBUTTON, CInPlaceEdit::AnyText, -1, TRUE, narrow);
    const int start = editor->height();
    Type(QStringLiteral("one two three four five six seven eight nine ten eleven twelve"));
    Type(QString(40, u'w'));
    EXPECT_GT(editor->height(), start);
    EXPECT_LE(editor->geometry().bottom() + 1, fixture.host.height());
}

// An editor already as wide as the window skips measuring the text's width,
// but still follows its lines: it grows by a line and shrinks back as
// characters come and go, and keeps its right edge at the window's.
TEST_F(InPlaceEditTest, LongMultiLineTextAtTheWindowEdgeFollowsItsLines)
{
    QString text;
    while (text.size() < 600)
        text += QStringLiteral("Plant.Area%1.Tag%2 + ").arg(text.size() % 7).arg(text.size());
    fixture.host.resize(400, 600);
    Open(text, VK_LBUTTON, CInPlaceEdit::AnyText, -1, TRUE);
    const QRect start = editor->geometry();
    ASSERT_EQ(start.right() + 1, fixture.host.width());
    Type(QString(80, u'w'));
    EXPECT_GT(editor->height(), start.height());
    EXPECT_EQ(editor->geometry().right(), start.right());
    for (int i = 0; i < 80; ++i)
        QTest::keyClick(editor.data(), Qt::Key_Backspace);
    EXPECT_EQ(Text(), text);
    EXPECT_EQ(editor->geometry(), start);
}

} // namespace
