#pragma once
// Owners of the Win32 handles, modules, windows, mapped views, icons, menus, GDI objects, memory device
// contexts and hooks; a scoped GDI selection and a scoped mutex lock.
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
  // Hands the handle to whoever takes ownership of it (SetWindowRgn takes the region it is given).
  [[nodiscard]] Handle release() { return std::exchange(handle_, Traits::Invalid()); }
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

struct FindHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { ::FindClose(handle); }
};
using UniqueFind = UniqueHandle<HANDLE, FindHandleTraits>;

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

// Bitmaps, regions, fonts, brushes and pens.
template <typename Object>
struct GdiObjectTraits {
  static Object Invalid() { return nullptr; }
  static void Close(Object object) { ::DeleteObject(object); }
};
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectTraits<HRGN>>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<HPEN, GdiObjectTraits<HPEN>>;

// Memory device contexts from CreateCompatibleDC.
struct MemoryDcTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC dc) { ::DeleteDC(dc); }
};
using UniqueDC = UniqueHandle<HDC, MemoryDcTraits>;

struct HookTraits {
  static HHOOK Invalid() { return nullptr; }
  static void Close(HHOOK hook) { ::UnhookWindowsHookEx(hook); }
};
using UniqueHook = UniqueHandle<HHOOK, HookTraits>;

struct WinEventHookTraits {
  static HWINEVENTHOOK Invalid() { return nullptr; }
  static void Close(HWINEVENTHOOK hook) { ::UnhookWinEvent(hook); }
};
using UniqueWinEventHook = UniqueHandle<HWINEVENTHOOK, WinEventHookTraits>;

// A window's device context from GetDC, released to its window.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDC() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects a GDI object into a device context for one scope and puts the previous one back, so that the
// object can be deleted afterwards (a selected object cannot be).
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// One WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintScope() { ::EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

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
