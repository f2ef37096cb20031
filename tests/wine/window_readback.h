#pragma once
// Reading back what a window of the test shows without the screen: its client area painted through
// WM_PRINTCLIENT into a bitmap, the rows of a list box, the open popup menu, a window awaited or awaited gone,
// the text a tooltip holds for a tool window.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace kavo::wine_test {

// The client area painted into a 32-bit top-down bitmap. The window must answer WM_PRINTCLIENT.
class ClientPicture {
 public:
  explicit ClientPicture(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const win32::UniqueDC dc(::CreateCompatibleDC(nullptr));
    const win32::UniqueBitmap bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap || bits == nullptr) return;
    const win32::SelectedObject selected(dc.get(), bitmap.get());
    ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    ::GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(pixels, pixels + static_cast<std::size_t>(width_) * height_);
  }

  // 0x00RRGGBB; 0xFFFFFFFF outside the picture or when it could not be made.
  std::uint32_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || pixels_.empty()) return 0xFFFFFFFF;
    return pixels_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// The first window found() gives within ms milliseconds, or null.
template <typename Found>
HWND WaitForWindow(Found found, DWORD ms = 5000) {
  for (DWORD waited = 0; waited < ms; waited += 10) {
    if (const HWND window = found()) return window;
    ::Sleep(10);
  }
  return nullptr;
}

// How many pixels of a screen rectangle show the skinned menus' highlight text colour (red 44, green BF,
// blue FF), with the anti-aliased edges of the letters.
inline int HighlightPixels(const RECT& area) {
  const win32::WindowDC screen(nullptr);
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF pixel = ::GetPixel(screen.get(), x, y);
      if (GetRValue(pixel) < 0x60 && GetGValue(pixel) >= 0xA8 && GetGValue(pixel) <= 0xD0 && GetBValue(pixel) >= 0xF0) {
        ++count;
      }
    }
  }
  return count;
}

// Whether window was destroyed or hidden within ms milliseconds. A modal dialog that ends is hidden at once
// and destroyed only when its loop returns, so hidden counts as gone.
inline bool WaitForWindowGone(HWND window, DWORD ms = 2000) {
  for (DWORD waited = 0;; waited += 10) {
    if (!::IsWindow(window) || !::IsWindowVisible(window)) return true;
    if (waited >= ms) return false;
    ::Sleep(10);
  }
}

// The popup menu window on the screen, or null.
inline HWND VisibleMenu() {
  const HWND menu = ::FindWindowA(MAKEINTATOM(32768), nullptr);
  return menu != nullptr && ::IsWindowVisible(menu) ? menu : nullptr;
}

// The texts of a list box's rows; a row longer than 127 characters reads as empty.
inline std::vector<std::string> ListRows(HWND list) {
  std::vector<std::string> rows;
  const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[128] = {};
    if (::SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < static_cast<LRESULT>(sizeof text)) {
      ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    }
    rows.emplace_back(text);
  }
  return rows;
}

// The text tooltip holds for the tool that is the whole of window tool.
inline std::string TooltipText(HWND tooltip, HWND tool) {
  char text[512] = {};
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = tool;
  info.uId = 0;
  info.lpszText = text;
  ::SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
  return text;
}

}  // namespace kavo::wine_test
