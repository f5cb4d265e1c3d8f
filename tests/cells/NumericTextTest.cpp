#include "cells/NumericText.h"
#include "platform/VirtualKeys.h"

#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(NumericTextTest, IntegerTextAcceptsOnlyAMinusAndDigits)
{
    int value = -1;
    EXPECT_TRUE(ParseIntegerText(QStringLiteral("  -0 \t"), &value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(ParseIntegerText(QStringLiteral("99999999999"), &value));
    EXPECT_EQ(value, 2147483647) << "saturates instead of overflowing";
    for (const char* refused : {"+5", "--5", "- 5", "0x1F", "   ", "5 5"})
        EXPECT_FALSE(ParseIntegerText(QString::fromLatin1(refused), &value)) << refused;
}

TEST(NumericTextTest, RealTextIgnoresTheLocalesDecimalComma)
{
    double value = 0.0;
    EXPECT_TRUE(ParseRealText(QStringLiteral("-2.5e3"), &value));
    EXPECT_EQ(value, -2500.0);
    EXPECT_TRUE(ParseRealText(QStringLiteral("."), &value));
    EXPECT_EQ(value, 0.0);
    for (const char* refused : {"2,5", "0x10", "e5", "1.5.5", "1-2-"})
        EXPECT_FALSE(ParseRealText(QString::fromLatin1(refused), &value)) << refused;
}

TEST(VirtualKeysTest, QtKeysBecomeWindowsKeyCodes)
{
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Backtab), VK_TAB);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Enter), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_F2), 113u);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_PageUp), 33u);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Down), 40u);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Delete), 46u);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Q), UINT('Q'));
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Eacute), 0u);

    const QKeyEvent controlReturn(QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(TypedCharacters(&controlReturn), QStringLiteral("\n"));
    const QKeyEvent deleteKey(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    EXPECT_TRUE(TypedCharacters(&deleteKey).isEmpty());
}

// A widget that asks for the key state while it handles a key.
class KeyStateProbe : public QWidget
{
public:
    void keyPressEvent(QKeyEvent*) override { controlDown = GetKeyState(VK_CONTROL) < 0; }
    bool controlDown = false;
};

TEST(VirtualKeysTest, KeyStateFollowsTheModifiersOfRealEvents)
{
    KeyStateProbe probe;
    QTest::keyClick(&probe, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_TRUE(probe.controlDown);
    QTest::keyClick(&probe, Qt::Key_Left);
    EXPECT_FALSE(probe.controlDown);
}

} // namespace
