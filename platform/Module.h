#pragma once

#include "WinTypes.h"

#include <QString>

// A module as the resource and language code sees it: a file path and, for a
// library loaded with LoadLibraryW, its dlopen handle. The executable's own module
// has no handle: its resources are the ones linked into the program.
struct ModuleRecord
{
    QString path;
    void* library = nullptr;
};
using HMODULE = ModuleRecord*;

// The running executable, its path resolved through /proc/self/exe.
HMODULE GetExecutableModule();
QString GetModuleFileNameW(HMODULE module);

// dlopen of exactly this path (no other file names are tried); null on failure.
HMODULE LoadLibraryW(const QString& path);
BOOL FreeLibrary(HMODULE module);
void* GetProcAddress(HMODULE module, const char* name);

// The module whose resources every later load uses.
HMODULE AfxGetResourceHandle();
void AfxSetResourceHandle(HMODULE module);
