#pragma once
// What the skinned-window suites share: pictures made in code, pixels read back from pictures and from
// windows, the test thread's message pump, and real input (SendInput) for the pointer and the keys.
//
// The whole-window pictures say where each pixel came from: red is x, green is y and blue names the
// picture (background, normal, hover, pressed, disabled), so one pixel read from a drawn button tells
// which state picture it shows and whether it was cut at the right place. Windows stay below 256 pixels.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "skin/win32/skin_dialog.h"

namespace kavo::wine_test::skin {

using kavo::win32::UniqueBitmap;

// Blue of each whole-window picture.
enum PictureMark : BYTE { kBackgroundMark = 10, kNormalMark = 60, kHoverMark = 110, kPressedMark = 160, kDisabledMark = 210 };

// A 24-bit bottom-up picture like those the program loads, each pixel coloured by colour(x, y).
inline UniqueBitmap MakePicture(int width, int height, const std::function<COLORREF(int, int)>& colour) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap picture(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture) return picture;
  const int stride = (width * 3 + 3) / 4 * 4;
  auto* bytes = static_cast<BYTE*>(bits);
  for (int y = 0; y < height; ++y) {
    BYTE* row = bytes + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      row[x * 3 + 0] = GetBValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetRValue(c);
    }
  }
  return picture;
}

inline UniqueBitmap MarkedPicture(int width, int height, BYTE mark) {
  return MakePicture(width, height, [mark](int x, int y) { return RGB(x, y, mark); });
}

// A mask: black with pure white squares of corner pixels at the four corners (none for corner 0).
inline UniqueBitmap CornerMask(int width, int height, int corner) {
  return MakePicture(width, height, [=](int x, int y) {
    const bool cornerX = x < corner || x >= width - corner;
    const bool cornerY = y < corner || y >= height - corner;
    return cornerX && cornerY ? RGB(255, 255, 255) : RGB(0, 0, 0);
  });
}

// The six pictures of a test window of this size with 4-pixel transparent corners.
inline kavo::skin::win32::WindowPictures MarkedWindowPictures(int width, int height) {
  kavo::skin::win32::WindowPictures pictures;
  pictures.mask = CornerMask(width, height, 4);
  pictures.background = MarkedPicture(width, height, kBackgroundMark);
  pictures.normal = MarkedPicture(width, height, kNormalMark);
  pictures.hover = MarkedPicture(width, height, kHoverMark);
  pictures.pressed = MarkedPicture(width, height, kPressedMark);
  pictures.disabled = MarkedPicture(width, height, kDisabledMark);
  return pictures;
}

// The colour of one pixel of a picture; CLR_INVALID when it cannot be read.
inline COLORREF PixelOf(HBITMAP picture, int x, int y) {
  BITMAP description{};
  if (::GetObjectA(picture, sizeof description, &description) != sizeof description) return CLR_INVALID;
  const int width = description.bmWidth;
  const int height = description.bmHeight;
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row y is line y
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const kavo::win32::UniqueDC dc(::CreateCompatibleDC(nullptr));
  if (::GetDIBits(dc.get(), picture, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) != height) {
    return CLR_INVALID;
  }
  const DWORD pixel = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// Handles what is waiting for this thread, for about ms milliseconds.
inline void Pump(DWORD ms) {
  const DWORD start = ::GetTickCount();
  do {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    ::Sleep(5);
  } while (::GetTickCount() - start < ms);
}

// Pumps until done() holds; false when it did not within ms.
template <typename Condition>
bool PumpUntil(Condition done, DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start >= ms) return false;
    Pump(10);
  }
  return true;
}

// The colour a window shows at a point of its client area, read from the screen.
inline COLORREF ScreenPixel(HWND window, int x, int y) {
  POINT point{x, y};
  ::ClientToScreen(window, &point);
  ::GdiFlush();
  const HDC screen = ::GetDC(nullptr);
  const COLORREF colour = ::GetPixel(screen, point.x, point.y);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

// What the screen shows of a window's client rectangle, copied into a picture of its own.
inline UniqueBitmap CaptureClient(HWND window, const RECT& area) {
  const POINT origin = [&] {
    POINT point{area.left, area.top};
    ::ClientToScreen(window, &point);
    return point;
  }();
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  UniqueBitmap copy = MakePicture(width, height, [](int, int) { return RGB(0, 0, 0); });
  ::GdiFlush();
  const HDC screen = ::GetDC(nullptr);
  {
    const kavo::win32::UniqueDC target(::CreateCompatibleDC(screen));
    const kavo::win32::SelectedObject selected(target.get(), copy.get());
    ::BitBlt(target.get(), 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  }
  ::ReleaseDC(nullptr, screen);
  return copy;
}

// Real input, as the mouse and keyboard give it. Moves put the pointer on a screen point.
inline void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
}
inline void MovePointer(int x, int y) {
  ::SetCursorPos(x, y);
  SendMouse(MOUSEEVENTF_MOVE);  // a move of nothing: the window under the pointer hears of it
}
inline void MovePointerTo(HWND window, int x, int y) {
  POINT point{x, y};
  ::ClientToScreen(window, &point);
  MovePointer(point.x, point.y);
}
inline void PressLeft() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
inline void ReleaseLeft() { SendMouse(MOUSEEVENTF_LEFTUP); }
inline void TypeKey(WORD key) {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof inputs[0]);
}

}  // namespace kavo::wine_test::skin
