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

// Shows the browser over the active connection's runtime; returns nonzero when
// a tag was picked, its name then fills buffer (capacity characters, terminator
// included). Cancel, or a name that would not fit, leaves buffer alone.
// a, b and c are reserved (the program passes 1, 0, 0).
TAGBROWSER_API int TagBrowser(VtChar* buffer, int capacity, int a, int b, int c);

} // extern "C"
