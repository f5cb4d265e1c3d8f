#pragma once

// The shape of the program's dialog templates and menu: ids, kinds, styles,
// order and positions. A language supplies its texts, and a wider layout where
// its words run longer, so that no translation can lose or renumber a control.

#include "Resource.h"
#include "ResourceTables.h"

#include "platform/DialogStyles.h"
#include "res/QuillonIcon.h"

#include <array>

namespace templates {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kModalDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;

struct AboutTexts
{
    const char16_t* caption;
    const char16_t* version; // "%s" stands for the program's version
    const char16_t* description;
    short width; // the description's line decides it
};

constexpr std::array<DialogItemTemplate, 4> AboutItems(const AboutTexts& t)
{
    return {{
        {IDC_ABOUT_ICON, DialogControlKind::Static, kChild | SS_ICON, 0, 10, 10, 21, 20, nullptr},
        {IDC_ABOUT_VERSION, DialogControlKind::Static, kChild | SS_LEFT | SS_NOPREFIX, 0, 42, 10, 150, 8, t.version},
        {IDC_STATIC, DialogControlKind::Static, kChild | SS_LEFT | SS_NOPREFIX, 0, 42, 24, short(t.width - 50), 8,
         t.description},
        {IDC_OK, DialogControlKind::Button, kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, short(t.width - 57),
         41, 50, 14, u"OK"},
    }};
}

template <std::size_t N>
constexpr DialogTemplate AboutDialog(const AboutTexts& t, const std::array<DialogItemTemplate, N>& items)
{
    return {IDD_ABOUTBOX, kModalDialog, 0, 0, 0, t.width, 62, t.caption, 8, u"MS Shell Dlg", items.data(), N};
}

// The hidden, disabled button 1 is what Return falls to when no other button
// has the focus, so Return never ends the main window.
constexpr std::array<DialogItemTemplate, 3> MainItems(const char16_t* close)
{
    return {{
        {IDC_CLOSE_BUTTON, DialogControlKind::Button, kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 37, 52, 50, 14, close},
        {IDC_GRID_PLACEHOLDER, DialogControlKind::Static, WS_CHILD | SS_LEFT, 0, 7, 7, 111, 41, u"Static"},
        {IDC_OK, DialogControlKind::Button, WS_CHILD | WS_DISABLED | BS_PUSHBUTTON, 0, 7, 59, 8, 7, u"Button1"},
    }};
}

template <std::size_t N>
constexpr DialogTemplate MainDialog(const char16_t* caption, const std::array<DialogItemTemplate, N>& items)
{
    return {IDD_QUILLONEXT_DIALOG,
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE | DS_SETFONT | DS_CENTER,
            WS_EX_APPWINDOW,
            0,
            0,
            125,
            73,
            caption,
            8,
            u"MS Sans Serif",
            items.data(),
            N};
}

struct CredentialTexts
{
    const char16_t* caption;
    const char16_t* cancel;
    const char16_t* userName;
    const char16_t* password;
    short labelLeft; // the labels end at 52 either way
};

constexpr std::array<DialogItemTemplate, 6> CredentialItems(const CredentialTexts& t)
{
    const short labelWidth = short(52 - t.labelLeft);
    return {{
        {IDC_OK, DialogControlKind::Button, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 84, 47, 50, 14, u"OK"},
        {IDC_CANCEL, DialogControlKind::Button, kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 139, 47, 50, 14, t.cancel},
        {IDC_USERNAME_LABEL, DialogControlKind::Static, kChild | SS_RIGHT, 0, t.labelLeft, 11, labelWidth, 8,
         t.userName},
        {IDC_USERNAME, DialogControlKind::Edit, kChild | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0, 60, 9, 129, 13,
         nullptr},
        {IDC_PASSWORD_LABEL, DialogControlKind::Static, kChild | SS_RIGHT, 0, t.labelLeft, 29, labelWidth, 8,
         t.password},
        {IDC_PASSWORD, DialogControlKind::Edit, kChild | WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0, 60,
         27, 129, 13, nullptr},
    }};
}

template <std::size_t N>
constexpr DialogTemplate CredentialDialog(const CredentialTexts& t, const std::array<DialogItemTemplate, N>& items)
{
    return {IDD_CHECK_CREDENTIAL, kModalDialog, 0, 0, 0, 196, 68, t.caption, 8, u"MS Shell Dlg", items.data(), N};
}

struct GridMenuTexts
{
    const char16_t* popup;
    const char16_t* sortAscending;
    const char16_t* sortDescending;
    const char16_t* continuous;
    const char16_t* toggle;
    const char16_t* insertTag;
    const char16_t* copy;
    const char16_t* cut;
    const char16_t* paste;
    const char16_t* insertCopiedCells;
    const char16_t* insertLine;
    const char16_t* deleteLine;
};

constexpr MenuItemResource kSeparator = {0, nullptr};

constexpr std::array<MenuItemResource, 16> GridMenuItems(const GridMenuTexts& t)
{
    return {{
        {ID_SORT_ASCENDING, t.sortAscending},
        {ID_SORT_DESCENDING, t.sortDescending},
        kSeparator,
        {ID_CONTINUOUS, t.continuous},
        {ID_TOGGLE, t.toggle},
        kSeparator,
        {ID_INSERT_TAG, t.insertTag},
        kSeparator,
        {ID_EDIT_COPY, t.copy},
        {ID_EDIT_CUT, t.cut},
        {ID_EDIT_PASTE, t.paste},
        kSeparator,
        {ID_INSERT_COPIED_CELLS, t.insertCopiedCells},
        kSeparator,
        {ID_INSERT_LINE, t.insertLine},
        {ID_DELETE_LINE, t.deleteLine},
    }};
}

template <std::size_t N>
constexpr MenuResource GridMenu(const GridMenuTexts& t, const std::array<MenuItemResource, N>& items)
{
    return {IDR_GRID_MENU, t.popup, items.data(), N};
}

// Every language carries the same icon.
inline constexpr IconResource kIcons[] = {
    {IDR_MAINFRAME, kQuillonIconPng, kQuillonIconPngSize},
};

template <std::size_t S, std::size_t D, std::size_t M, std::size_t I>
constexpr ResourceTables TablesOf(const StringResource (&strings)[S], const DialogTemplate (&dialogs)[D],
                                  const MenuResource (&menus)[M], const IconResource (&icons)[I])
{
    return {sizeof(ResourceTables), strings, S, dialogs, D, menus, M, icons, I, nullptr, 0};
}

template <std::size_t S, std::size_t D, std::size_t M, std::size_t I, std::size_t T>
constexpr ResourceTables TablesOf(const StringResource (&strings)[S], const DialogTemplate (&dialogs)[D],
                                  const MenuResource (&menus)[M], const IconResource (&icons)[I],
                                  const TranslationResource (&translations)[T])
{
    return {sizeof(ResourceTables), strings, S, dialogs, D, menus, M, icons, I, translations, T};
}

} // namespace templates
