#include "ModalRun.h"
#include "app/CAboutDlg.h"
#include "app/CCheckCredentialDlg.h"
#include "platform/MessageBox.h"
#include "platform/Module.h"
#include "res/Resource.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Pictures of the dialogs as they open, kept beside the test program for a look.
QString Picture(CDialog& dialog, const QString& name)
{
    const QString folder = QCoreApplication::applicationDirPath() + "/pictures/";
    QDir().mkpath(folder);
    const QString file = folder + name + ".png";
    return dialog.grab().save(file) ? file : QString();
}

TEST(DialogPictures, AboutBoxShowsIconNameVersionAndPurpose)
{
    CAboutDlg dialog;
    QString version, file;
    bool hasIcon = false;
    const int result = RunModal(dialog, [&] {
        version = dialog.GetDlgItemText(IDC_ABOUT_VERSION);
        const auto* icon = qobject_cast<QLabel*>(dialog.GetDlgItem(IDC_ABOUT_ICON));
        hasIcon = icon && !icon->pixmap().isNull();
        file = Picture(dialog, "about-en");
        dialog.GetDlgItem(IDC_OK)->setFocus();
        QTest::keyClick(dialog.GetDlgItem(IDC_OK), Qt::Key_Return);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(version, QStringLiteral("Quillon, Version " QUILLON_VERSION));
    EXPECT_TRUE(hasIcon);
    EXPECT_FALSE(file.isEmpty());
}

TEST(DialogPictures, DialogsInBothLanguages)
{
    HMODULE german = LoadLibraryW(qEnvironmentVariable("QUILLON_BIN_DIR") + "/de/QuillonExt-mui.dll");
    ASSERT_NE(german, nullptr);
    for (HMODULE module : {GetExecutableModule(), german}) {
        const QString language = module == german ? "de" : "en";
        AfxSetResourceHandle(module);
        CCheckCredentialDlg credential;
        CAboutDlg about;
        AfxSetResourceHandle(GetExecutableModule());
        QString credentialFile, aboutFile;
        RunModal(credential, [&] {
            QTest::keyClicks(credential.GetDlgItem(IDC_USERNAME), "operator");
            QTest::keyClicks(credential.GetDlgItem(IDC_PASSWORD), "secret");
            credentialFile = Picture(credential, "credential-" + language);
        });
        RunModal(about, [&] { aboutFile = Picture(about, "about-" + language); });
        EXPECT_FALSE(credentialFile.isEmpty()) << language.toStdString();
        EXPECT_FALSE(aboutFile.isEmpty()) << language.toStdString();
    }
    EXPECT_TRUE(FreeLibrary(german));
}

} // namespace
