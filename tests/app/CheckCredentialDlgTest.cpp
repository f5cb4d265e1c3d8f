#include "ModalRun.h"
#include "app/CCheckCredentialDlg.h"
#include "platform/MessageBox.h"
#include "platform/Module.h"
#include "res/Resource.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QLineEdit* Edit(CDialog& dialog, UINT id)
{
    return qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
}

UINT FocusId(CDialog& dialog)
{
    const QWidget* focus = QApplication::focusWidget();
    for (UINT id : {IDC_OK, IDC_CANCEL, IDC_USERNAME, IDC_PASSWORD}) {
        if (focus && dialog.GetDlgItem(id) == focus)
            return id;
    }
    return 0;
}

TEST(CheckCredentialDlg, TypedCredentialsComeBackWithOkWhileThePasswordStaysHidden)
{
    CCheckCredentialDlg dialog;
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CDialog)));
    QString shownPassword;
    const int result = RunModal(dialog, [&] {
        ASSERT_EQ(FocusId(dialog), IDC_USERNAME);
        QTest::keyClicks(QApplication::focusWidget(), "operator 7");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(FocusId(dialog), IDC_PASSWORD);
        QTest::keyClicks(QApplication::focusWidget(), "s3cret");
        shownPassword = Edit(dialog, IDC_PASSWORD)->displayText();
        // Return in an edit presses the default button, OK.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_strUserName, "operator 7");
    EXPECT_EQ(dialog.m_strPassword, "s3cret");
    EXPECT_EQ(shownPassword.size(), 6);
    for (QChar c : QStringLiteral("s3cret"))
        EXPECT_FALSE(shownPassword.contains(c)) << shownPassword.toStdString();
}

TEST(CheckCredentialDlg, TabFollowsTheTemplateOrderAndMnemonicsReachTheEdits)
{
    CCheckCredentialDlg dialog;
    std::vector<UINT> visited;
    UINT afterMnemonic = 0;
    RunModal(dialog, [&] {
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.push_back(FocusId(dialog));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
        afterMnemonic = FocusId(dialog);
        dialog.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(visited, (std::vector<UINT>{IDC_PASSWORD, IDC_OK, IDC_CANCEL, IDC_USERNAME}));
    EXPECT_EQ(afterMnemonic, IDC_PASSWORD);
}

TEST(CheckCredentialDlg, CancelEscapeAndTheCloseBoxAllCancelAndKeepNothing)
{
    const std::pair<const char*, std::function<void(CCheckCredentialDlg&)>> ways[] = {
        {"Cancel button", [](CCheckCredentialDlg& d) { QTest::mouseClick(d.GetDlgItem(IDC_CANCEL), Qt::LeftButton); }},
        {"Escape", [](CCheckCredentialDlg&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }},
        {"close box", [](CCheckCredentialDlg& d) { d.close(); }},
    };
    for (const auto& [name, cancel] : ways) {
        CCheckCredentialDlg dialog;
        const int result = RunModal(dialog, [&] {
            Edit(dialog, IDC_USERNAME)->setText("admin");
            Edit(dialog, IDC_PASSWORD)->setText("pw");
            cancel(dialog);
        });
        EXPECT_EQ(result, IDCANCEL) << name;
        EXPECT_TRUE(dialog.m_strUserName.isEmpty()) << name;
        EXPECT_TRUE(dialog.m_strPassword.isEmpty()) << name;
        EXPECT_EQ(dialog.GetDlgItem(IDC_USERNAME), nullptr) << "controls go with the window: " << name;
    }
}

TEST(CheckCredentialDlg, OkWithEmptyFieldsIsAcceptedAsItIs)
{
    CCheckCredentialDlg dialog;
    dialog.m_strUserName = "stale";
    const int result = RunModal(dialog, [&] {
        EXPECT_EQ(Edit(dialog, IDC_USERNAME)->text(), "stale");
        Edit(dialog, IDC_USERNAME)->clear();
        QTest::mouseClick(dialog.GetDlgItem(IDC_OK), Qt::LeftButton);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_strUserName, "");
    EXPECT_EQ(dialog.m_strPassword, "");
}

TEST(CheckCredentialDlg, TheGermanLibraryGivesTheTranslatedTemplate)
{
    HMODULE german = LoadLibraryW(qEnvironmentVariable("QUILLON_BIN_DIR") + "/de/QuillonExt-mui.dll");
    ASSERT_NE(german, nullptr);
    AfxSetResourceHandle(german);
    CCheckCredentialDlg dialog;
    AfxSetResourceHandle(GetExecutableModule());
    QString title, cancel;
    bool hidden = false;
    const int result = RunModal(dialog, [&] {
        title = dialog.windowTitle();
        cancel = dialog.GetDlgItemText(IDC_CANCEL);
        hidden = Edit(dialog, IDC_PASSWORD)->echoMode() == QLineEdit::Password;
        QTest::keyClicks(QApplication::focusWidget(), "benutzer");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_strUserName, "benutzer");
    EXPECT_EQ(title, QStringLiteral("Anmeldedaten prüfen"));
    EXPECT_EQ(cancel, "Abbrechen");
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(FreeLibrary(german));
}

} // namespace
