// The one seam to the operating system. The extractor calls the Windows functions by their own
// names; on Windows they are the real ones, elsewhere they come from our own stand-in, which
// implements exactly the calls and constants the extractor uses.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "platform/posix/win32_standin.h"
#endif
