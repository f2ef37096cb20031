#pragma once
// Owners of the Win32 handles, modules, windows, mapped views, icons and menus; a scoped mutex lock.
#include <windows.h>

#include <utility>

namespace kavo::win32 {

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Traits::Invalid()));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  void reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct FileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { ::CloseHandle(handle); }
};
using UniqueFile = UniqueHandle<HANDLE, FileHandleTraits>;

struct RegistryKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY key) { ::RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;

// Mutexes, events, threads, processes and mappings: null when absent, unlike file handles.
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

struct MappedViewTraits {
  static void* Invalid() { return nullptr; }
  static void Close(void* view) { ::UnmapViewOfFile(view); }
};
using UniqueMappedView = UniqueHandle<void*, MappedViewTraits>;

struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static void Close(HICON icon) { ::DestroyIcon(icon); }
};
using UniqueIcon = UniqueHandle<HICON, IconTraits>;

struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU menu) { ::DestroyMenu(menu); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

// Holds a mutex for one scope. An abandoned mutex is taken as well: its owner died, and whatever it
// guarded is validated by its readers.
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

}  // namespace kavo::win32
