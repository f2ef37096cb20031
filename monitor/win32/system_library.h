#pragma once
// Windows' own libraries that the service loads at run time, taken from the system folder only. The ordinary
// search looks in the program's folder first, which a user may write to: a library of the same name put
// there would run inside the service.
#include <windows.h>

#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

// The loader's search of the system folder alone where the system knows it, else the full path. Null when
// the system has no library of that name.
kavo::win32::UniqueModule LoadSystemLibrary(const char* name);

// By the full path in the system folder: for systems whose loader has no search of the system folder alone.
kavo::win32::UniqueModule LoadSystemLibraryByPath(const char* name);

}  // namespace kavo::monitor::win32
