#pragma once

// The tag browser: a modal dialog over the connected runtime's tags.

#include "runtime/VantelToolkit.h"

#if defined(TAGBROWSER_BUILD)
#define TAGBROWSER_API __attribute__((visibility("default")))
#else
#define TAGBROWSER_API
#endif

constexpr int kTagBrowserBufferSize = 2048;

extern "C" {

// Shows the browser; returns nonzero when a tag was picked, its name then fills
// buffer (capacity characters, terminator included). Cancel leaves buffer alone.
TAGBROWSER_API int TagBrowser(VtChar* buffer, int capacity, int a, int b, int c);

} // extern "C"
