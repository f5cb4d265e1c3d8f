// With the German language library the tag browser and Qt's own buttons are
// German; without it they stay English.
#include "app/CUiTranslations.h"

#include "platform/Module.h"
#include "runtime/TagBrowserExt.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct BrowserTexts
{
    QString title, status, cancel;
};

// Opens the tag browser as the program does (there is no runtime, so it says
// it could not read the tags) and reads its texts.
BrowserTexts OpenTagBrowser()
{
    BrowserTexts texts;
    QTimer::singleShot(0, [&texts] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no tag browser";
            return;
        }
        texts.title = dialog->windowTitle();
        if (auto* status = dialog->findChild<QLabel*>(QStringLiteral("status")))
            texts.status = status->text();
        if (auto* buttons = dialog->findChild<QDialogButtonBox*>())
            texts.cancel = buttons->button(QDialogButtonBox::Cancel)->text();
        dialog->reject();
    });
    VtChar buffer[kTagBrowserBufferSize] = {};
    TagBrowser(buffer, kTagBrowserBufferSize, 1, 0, 0);
    return texts;
}

TEST(UiTranslations, TheTagBrowserAndQtsButtonsFollowTheGermanLibrary)
{
    ToolkitStartup();
    const BrowserTexts english = OpenTagBrowser();
    EXPECT_EQ(english.title, QStringLiteral("Browse Tags"));
    EXPECT_TRUE(english.status.startsWith(QStringLiteral("The runtime's tags could not be read")))
        << english.status.toStdString();
    EXPECT_EQ(english.cancel, QStringLiteral("Cancel"));

    HMODULE german = LoadLibraryW(qEnvironmentVariable("QUILLON_BIN_DIR") + QStringLiteral("/de/QuillonExt-mui.dll"));
    ASSERT_NE(german, nullptr);
    AfxSetResourceHandle(german);
    {
        CUiTranslations translations;
        translations.Install(QStringLiteral("de-AT"));
        const BrowserTexts deutsch = OpenTagBrowser();
        EXPECT_EQ(deutsch.title, QStringLiteral("Variablen durchsuchen"));
        EXPECT_TRUE(
            deutsch.status.startsWith(QStringLiteral("Die Variablen der Laufzeit konnten nicht gelesen werden")))
            << deutsch.status.toStdString();
        EXPECT_EQ(deutsch.cancel, QStringLiteral("Abbrechen")) << "Qt's own translation, qtbase_de";
        EXPECT_EQ(QCoreApplication::translate("CQuillonExtDlg", "&Close"), QStringLiteral("&Schließen"));
        translations.Remove();
        EXPECT_EQ(OpenTagBrowser().title, QStringLiteral("Browse Tags"));
    }
    AfxSetResourceHandle(GetExecutableModule());
    FreeLibrary(german);
    ToolkitShutdown();
}

} // namespace
