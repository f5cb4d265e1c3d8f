#pragma once

#include "WinTypes.h"

#include <QString>

#include <functional>

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Every message box of the program goes through here. The default shows a modal
// QMessageBox; tests install a handler that records the text and answers.
using MessageBoxHandler = std::function<int(const QString& text, const QString& caption, UINT type)>;

int AfxMessageBox(const QString& text, UINT type = MB_OK | MB_ICONERROR);
// Returns the handler that was installed before; an empty handler restores the default.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The application's name, the caption of its message boxes.
void AfxSetAppName(const QString& name);
QString AfxGetAppName();
