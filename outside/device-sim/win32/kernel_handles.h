#pragma once
// Owners of the kernel objects, modules and windows of the simulated mouse and its tests.
#include <windows.h>

#include "settings/win32/win32_handles.h"

namespace kavo::sim::win32 {

using kavo::win32::UniqueHandle;

// Mutexes, events, threads and processes: null when absent, unlike file handles.
struct KernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE handle) { ::CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

struct ModuleTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Close(HMODULE module) { ::FreeLibrary(module); }
};
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;

struct WindowTraits {
  static HWND Invalid() { return nullptr; }
  static void Close(HWND window) { ::DestroyWindow(window); }
};
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;

// Holds a mutex for one scope. An abandoned mutex is taken as well: its owner died between two whole
// file replacements, so what it guarded is intact.
class MutexLock {
 public:
  MutexLock(HANDLE mutex, DWORD milliseconds) : mutex_(mutex) {
    const DWORD result = ::WaitForSingleObject(mutex, milliseconds);
    held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  }
  ~MutexLock() {
    if (held_) ::ReleaseMutex(mutex_);
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

  explicit operator bool() const { return held_; }

 private:
  HANDLE mutex_;
  bool held_ = false;
};

}  // namespace kavo::sim::win32
