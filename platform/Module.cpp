#include "Module.h"

#include <QFileInfo>

#include <dlfcn.h>

namespace {
HMODULE g_resourceHandle = nullptr;
}

HMODULE GetExecutableModule()
{
    static ModuleRecord executable{QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath(), nullptr};
    return &executable;
}

QString GetModuleFileNameW(HMODULE module)
{
    return module ? module->path : QString();
}

HMODULE LoadLibraryW(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    // A path with a slash makes dlopen take exactly that file, never a search.
    const QString exact = path.contains(u'/') ? path : QStringLiteral("./") + path;
    void* handle = dlopen(QFile::encodeName(exact).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    return new ModuleRecord{path, handle};
}

BOOL FreeLibrary(HMODULE module)
{
    if (!module || !module->library)
        return FALSE;
    const bool ok = dlclose(module->library) == 0;
    delete module;
    return ok ? TRUE : FALSE;
}

void* GetProcAddress(HMODULE module, const char* name)
{
    return module && module->library ? dlsym(module->library, name) : nullptr;
}

HMODULE AfxGetResourceHandle()
{
    return g_resourceHandle;
}

void AfxSetResourceHandle(HMODULE module)
{
    g_resourceHandle = module;
}
