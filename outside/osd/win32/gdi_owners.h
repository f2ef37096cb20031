#pragma once
// Owners of the GDI objects and device contexts the notice paints with.
#include <windows.h>

#include "settings/win32/win32_handles.h"

namespace kavo::osd::win32 {

template <typename Object>
struct GdiObjectTraits {
  static Object Invalid() { return nullptr; }
  static void Close(Object object) { ::DeleteObject(object); }
};
using UniqueFont = kavo::win32::UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBrush = kavo::win32::UniqueHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;

// The device context of a window's client area, released at the end of the scope.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// One WM_PAINT: BeginPaint and EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintScope() { ::EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context for one scope; the previous one is put back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_) ::SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace kavo::osd::win32
