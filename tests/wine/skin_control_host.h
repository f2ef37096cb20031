#pragma once
// What the suites of the edit, slider, menu and list controls share: a skinned window to hold the
// controls that records every message of the program's own range it receives (what the controls post to
// their owner), key presses and releases as separate real input, and a look at the pixels of an area.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "skin/skin_messages.h"
#include "skin/win32/picture_resources.h"
#include "skin/win32/skin_dialog.h"
#include "tests/wine/skin_test_support.h"
#include "tests/wine/skin_test_window.h"

namespace kavo::wine_test::skin {

class ControlHost : public TestWindow {
 public:
  ControlHost(int width, int height)
      : TestWindow(kavo::skin::win32::kDialogTemplate, width, height), hostWidth_(width), hostHeight_(height) {}

  // Made, placed at (100, 100) of the screen, shown and in front. False when the window could not be made.
  bool Open() {
    if (!Create(nullptr)) return false;
    ::MoveWindow(window(), 100, 100, hostWidth_, hostHeight_, FALSE);
    ::ShowWindow(window(), SW_SHOW);
    ::SetForegroundWindow(window());
    ::UpdateWindow(window());
    Pump(50);
    return true;
  }
  ~ControlHost() override {
    if (window() != nullptr) ::DestroyWindow(window());
  }

  std::vector<WPARAM> WParams(UINT message) const {
    std::vector<WPARAM> found;
    for (const auto& one : Received(message)) found.push_back(one.wParam);
    return found;
  }
  void Forget() { received.clear(); }

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    // The dialog manager's own DM_ messages are of no interest.
    if (message >= WM_USER + 0x10 && message != kavo::skin::kWmHoverNotify) received.push_back({message, wParam, lParam});
    return TestWindow::OnMessage(message, wParam, lParam);
  }

 private:
  int hostWidth_;
  int hostHeight_;
};

inline void SendKey(WORD key, bool release) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
  ::SendInput(1, &input, sizeof input);
}
inline void PressKey(WORD key) { SendKey(key, false); }
inline void ReleaseKey(WORD key) { SendKey(key, true); }

// A key pressed and released, with the messages it makes handled.
inline void Type(WORD key) {
  TypeKey(key);
  Pump(40);
}

inline void SendWheel(int delta) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  input.mi.mouseData = static_cast<DWORD>(delta);
  ::SendInput(1, &input, sizeof input);
}

// A window's pixels in a rectangle of its client area, as the screen shows them, row by row.
struct Pixels {
  RECT area{};
  std::vector<COLORREF> colours;

  COLORREF At(int x, int y) const {
    const int width = area.right - area.left;
    return colours[static_cast<std::size_t>(y - area.top) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x - area.left)];
  }
  // How many pixels, within columns [left, right) of the area, have colour / any other colour than colour.
  std::size_t Count(COLORREF colour, int left, int right) const { return Tally(colour, left, right, true); }
  std::size_t CountOther(COLORREF colour, int left, int right) const { return Tally(colour, left, right, false); }

 private:
  std::size_t Tally(COLORREF colour, int left, int right, bool same) const {
    std::size_t count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = left; x < right; ++x) count += (At(x, y) == colour) == same;
    }
    return count;
  }
};

// A bitmap's pixels, its top left taken as area's; CLR_INVALID everywhere when it cannot be read.
inline Pixels BitmapPixels(HBITMAP bitmap, const RECT& area) {
  Pixels pixels;
  pixels.area = area;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> raw(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const kavo::win32::UniqueDC dc(::CreateCompatibleDC(nullptr));
  if (bitmap == nullptr ||
      ::GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(height), raw.data(), &info, DIB_RGB_COLORS) != height) {
    pixels.colours.assign(raw.size(), CLR_INVALID);
    return pixels;
  }
  for (const DWORD pixel : raw) pixels.colours.push_back(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
  return pixels;
}

inline Pixels ReadPixels(HWND window, const RECT& area) {
  const UniqueBitmap copy = CaptureClient(window, area);
  return BitmapPixels(copy.get(), area);
}

// The pixels of a picture of this program's resources, width by height from its top left.
inline Pixels PicturePixels(int id, int width, int height) {
  const kavo::win32::UniqueBitmap picture = kavo::skin::win32::LoadPicture(::GetModuleHandleA(nullptr), id);
  return BitmapPixels(picture.get(), RECT{0, 0, width, height});
}

}  // namespace kavo::wine_test::skin
