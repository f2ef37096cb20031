#pragma once
// Owners of the kernel objects, modules and windows of the simulated mouse and its tests.
#include <windows.h>

#include "platform/win32/win32_handles.h"

namespace kavo::sim::win32 {

using kavo::win32::MutexLock;
using kavo::win32::UniqueHandle;
using kavo::win32::UniqueKernelHandle;
using kavo::win32::UniqueModule;
using kavo::win32::UniqueWindow;

}  // namespace kavo::sim::win32
