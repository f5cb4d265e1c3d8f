#include "platform/DialogStyles.h"
#include "platform/DialogTemplate.h"
#include "res/Resource.h"
#include "res/ResourceTables.h"
#include "res/Resources.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <span>

namespace {

struct ExpectedItem
{
    UINT id;
    DialogControlKind kind;
    DWORD style;
    short x, y, cx, cy;
    QString text;
};

std::span<const MenuItemResource> Items(const MenuResource* menu)
{
    return {menu->items, menu->itemCount};
}

void ExpectItems(const DialogTemplate* dialog, const std::vector<ExpectedItem>& expected)
{
    ASSERT_EQ(dialog->itemCount, expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const DialogItemTemplate& item = dialog->items[i];
        const ExpectedItem& want = expected[i];
        EXPECT_EQ(item.id, want.id) << i;
        EXPECT_EQ(item.kind, want.kind) << i;
        EXPECT_EQ(item.style & want.style, want.style) << i;
        EXPECT_EQ(QRect(item.x, item.y, item.cx, item.cy), QRect(want.x, want.y, want.cx, want.cy)) << i;
        EXPECT_EQ(QString::fromUtf16(item.text ? item.text : u""), want.text) << i;
    }
}

HMODULE LoadGerman()
{
    return LoadLibraryW(qEnvironmentVariable("QUILLON_BIN_DIR") + QStringLiteral("/de/QuillonExt-mui.dll"));
}

TEST(Templates, CredentialAndMainWindowTemplatesHoldTheirControlsAndPlaces)
{
    const DialogTemplate* credential = LoadDialogTemplate(GetExecutableModule(), IDD_CHECK_CREDENTIAL);
    ASSERT_NE(credential, nullptr);
    EXPECT_EQ(QRect(credential->x, credential->y, credential->cx, credential->cy), QRect(0, 0, 196, 68));
    EXPECT_EQ(QString::fromUtf16(credential->caption), "Check Credential");
    EXPECT_EQ(QString::fromUtf16(credential->faceName), "MS Shell Dlg");
    EXPECT_EQ(credential->pointSize, 8);
    EXPECT_EQ(credential->style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    ExpectItems(credential,
                {{IDC_OK, DialogControlKind::Button, BS_DEFPUSHBUTTON | WS_TABSTOP, 84, 47, 50, 14, "OK"},
                 {IDC_CANCEL, DialogControlKind::Button, WS_TABSTOP, 139, 47, 50, 14, "Cancel"},
                 {IDC_USERNAME_LABEL, DialogControlKind::Static, SS_RIGHT, 14, 11, 38, 8, "&User Name:"},
                 {IDC_USERNAME, DialogControlKind::Edit, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 60, 9, 129, 13, ""},
                 {IDC_PASSWORD_LABEL, DialogControlKind::Static, SS_RIGHT, 14, 29, 38, 8, "&Password:"},
                 {IDC_PASSWORD, DialogControlKind::Edit, WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 60, 27,
                  129, 13, ""}});

    const DialogTemplate* main = LoadDialogTemplate(GetExecutableModule(), IDD_QUILLONEXT_DIALOG);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(QRect(main->x, main->y, main->cx, main->cy), QRect(0, 0, 125, 73));
    EXPECT_EQ(QString::fromUtf16(main->caption), "Quillon");
    EXPECT_EQ(QString::fromUtf16(main->faceName), "MS Sans Serif");
    EXPECT_EQ(main->style & (WS_THICKFRAME | WS_VISIBLE | WS_SYSMENU), WS_THICKFRAME | WS_VISIBLE | WS_SYSMENU);
    EXPECT_EQ(main->exStyle & WS_EX_APPWINDOW, WS_EX_APPWINDOW);
    ExpectItems(main, {{IDC_CLOSE_BUTTON, DialogControlKind::Button, WS_VISIBLE | WS_TABSTOP, 37, 52, 50, 14, "Close"},
                       {IDC_GRID_PLACEHOLDER, DialogControlKind::Static, 0, 7, 7, 111, 41, "Static"},
                       {IDC_OK, DialogControlKind::Button, WS_DISABLED, 7, 59, 8, 7, "Button1"}});
    EXPECT_EQ(main->items[1].style & WS_VISIBLE, 0u);
    EXPECT_EQ(main->items[2].style & (WS_VISIBLE | WS_TABSTOP), 0u);

    const DialogTemplate* about = LoadDialogTemplate(GetExecutableModule(), IDD_ABOUTBOX);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(QString::fromUtf16(about->caption), "About Quillon");
    EXPECT_EQ(LoadDialogTemplate(GetExecutableModule(), 4242), nullptr);
}

TEST(Templates, GridMenuListsTheCommandsWithTheirSeparators)
{
    const MenuResource* menu = LoadMenuResource(GetExecutableModule(), IDR_GRID_MENU);
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (const MenuItemResource& item : Items(menu))
        items << (item.id ? QString::number(item.id) + ' ' + QString::fromUtf16(item.text) : QStringLiteral("-"));
    EXPECT_EQ(items,
              QStringList({"32776 Sort &Ascending", "32777 Sort &Descending", "-", "32778 &Continuous", "32779 &Toggle",
                           "-", "32780 &Insert Tag or Expression...", "-", "57634 &Copy", "57635 Cu&t", "57637 &Paste",
                           "-", "32781 Insert Copied Cells", "-", "32782 &Insert Line", "32783 D&elete Line"}));
}

TEST(Templates, TheGermanLibraryTranslatesEveryTemplateAndKeepsItsShape)
{
    HMODULE german = LoadGerman();
    ASSERT_NE(german, nullptr);
    HMODULE exe = GetExecutableModule();
    for (UINT id : {IDD_ABOUTBOX, IDD_QUILLONEXT_DIALOG, IDD_CHECK_CREDENTIAL}) {
        const DialogTemplate* english = LoadDialogTemplate(exe, id);
        const DialogTemplate* translated = LoadDialogTemplate(german, id);
        ASSERT_NE(translated, english) << id;
        ASSERT_EQ(translated->itemCount, english->itemCount) << id;
        EXPECT_EQ(translated->style, english->style) << id;
        for (std::size_t i = 0; i < english->itemCount; ++i) {
            EXPECT_EQ(translated->items[i].id, english->items[i].id) << id << ' ' << i;
            EXPECT_EQ(translated->items[i].kind, english->items[i].kind) << id << ' ' << i;
            EXPECT_EQ(translated->items[i].style, english->items[i].style) << id << ' ' << i;
        }
    }
    EXPECT_EQ(QString::fromUtf16(LoadDialogTemplate(german, IDD_CHECK_CREDENTIAL)->caption),
              QStringLiteral("Anmeldedaten prüfen"));
    EXPECT_EQ(QString::fromUtf16(LoadDialogTemplate(german, IDD_QUILLONEXT_DIALOG)->items[0].text),
              QStringLiteral("Schließen"));

    const MenuResource* english = LoadMenuResource(exe, IDR_GRID_MENU);
    const MenuResource* translated = LoadMenuResource(german, IDR_GRID_MENU);
    ASSERT_EQ(translated->itemCount, english->itemCount);
    for (std::size_t i = 0; i < english->itemCount; ++i) {
        EXPECT_EQ(translated->items[i].id, english->items[i].id) << i;
        EXPECT_EQ(translated->items[i].text == nullptr, english->items[i].text == nullptr) << i;
        if (english->items[i].text) {
            EXPECT_NE(QString::fromUtf16(translated->items[i].text), QString::fromUtf16(english->items[i].text)) << i;
        }
    }

    AfxSetResourceHandle(german);
    EXPECT_EQ(LoadDialogTemplate(IDD_CHECK_CREDENTIAL), LoadDialogTemplate(german, IDD_CHECK_CREDENTIAL));
    EXPECT_FALSE(LoadIconResource(IDR_MAINFRAME).isNull());
    AfxSetResourceHandle(exe);
    EXPECT_TRUE(FreeLibrary(german));
}

TEST(Templates, TheIconIsAPictureAtTheUsualSizes)
{
    const QIcon icon = LoadIconResource(GetExecutableModule(), IDR_MAINFRAME);
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48})
        EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size)) << size;
    EXPECT_TRUE(LoadIconResource(GetExecutableModule(), 4242).isNull());
}

TEST(Templates, AnOlderLibraryKeepsItsStringsAndLendsTheProgramsTemplates)
{
    HMODULE old = LoadLibraryW(QCoreApplication::applicationDirPath() + QStringLiteral("/OldLanguage-mui.dll"));
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(LoadResString(old, IDS_HEADER_TAG), QStringLiteral("Étiquette/Expression"));
    EXPECT_EQ(LoadResString(old, IDS_HEADER_VALUE), "");
    EXPECT_EQ(LoadDialogTemplate(old, IDD_CHECK_CREDENTIAL),
              LoadDialogTemplate(GetExecutableModule(), IDD_CHECK_CREDENTIAL));
    EXPECT_EQ(LoadMenuResource(old, IDR_GRID_MENU), LoadMenuResource(GetExecutableModule(), IDR_GRID_MENU));
    EXPECT_FALSE(LoadIconResource(old, IDR_MAINFRAME).isNull());
    EXPECT_TRUE(FreeLibrary(old));
}

} // namespace
