#pragma once
// A skinned window for the suites: marked pictures of its size (see skin_test_support.h), buttons from
// layout strings, a square of its own "text" painted over the background, and a record of the hover
// notifications, commands and keys it receives. Its members are read by the test thread that runs it.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "skin/skin_messages.h"
#include "skin/win32/skin_dialog.h"
#include "tests/wine/skin_test_support.h"

namespace kavo::wine_test::skin {

using kavo::skin::win32::BitmapButton;
using kavo::skin::win32::SkinDialog;

struct ButtonSpec {
  std::string layout;
  INT_PTR endCode = 0;  // a click ends the window with this code; 0: it only counts
};

struct ReceivedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class TestWindow : public SkinDialog {
 public:
  TestWindow(int templateId, int width, int height, std::vector<ButtonSpec> specs = {})
      : SkinDialog(::GetModuleHandleA(nullptr), templateId), width_(width), height_(height), specs_(std::move(specs)) {}

  // Runs at the end of building, for what a test adds itself.
  std::function<void(TestWindow&)> extraBuild;
  // The square painted as the window's own text.
  RECT textSquare{150, 10, 160, 20};
  COLORREF textColour = RGB(250, 240, 5);

  std::vector<BitmapButton*> buttons;
  std::vector<int> clicked;  // indexes of buttons whose handler ran, in order
  std::vector<ReceivedMessage> received;
  std::vector<HBITMAP> statePictures;  // as given to the window, to see them released
  HBITMAP givenMask = nullptr;
  HBITMAP givenBackground = nullptr;
  int paintedTexts = 0;
  std::atomic<HWND> shown{nullptr};  // the window, for a driver thread

  std::vector<ReceivedMessage> Received(UINT message) const {
    std::vector<ReceivedMessage> found;
    for (const auto& one : received) {
      if (one.message == message) found.push_back(one);
    }
    return found;
  }

  using SkinDialog::OnClick;
  using SkinDialog::StateSources;

 protected:
  void OnBuild() override {
    auto pictures = MarkedWindowPictures(width_, height_);
    givenMask = pictures.mask.get();
    givenBackground = pictures.background.get();
    statePictures = {pictures.normal.get(), pictures.hover.get(), pictures.pressed.get(), pictures.disabled.get()};
    SetPictures(std::move(pictures));
    for (std::size_t i = 0; i < specs_.size(); ++i) {
      const INT_PTR code = specs_[i].endCode;
      buttons.push_back(&AddButton(specs_[i].layout, [this, i, code] {
        clicked.push_back(static_cast<int>(i));
        if (code != 0) End(code);
      }));
    }
    if (extraBuild) extraBuild(*this);
    shown = window();
  }

  void PaintTexts(HDC dc) override {
    ++paintedTexts;
    const kavo::win32::UniqueBrush brush(::CreateSolidBrush(textColour));
    ::FillRect(dc, &textSquare, brush.get());
  }

  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kavo::skin::kWmHoverNotify || message == WM_COMMAND || message == WM_KEYDOWN ||
        message == WM_KEYUP || message == WM_SYSKEYUP) {
      received.push_back({message, wParam, lParam});
    }
    return std::nullopt;
  }

 private:
  int width_;
  int height_;
  std::vector<ButtonSpec> specs_;
};

// A screen point of a window's client point.
inline POINT OnScreen(HWND window, int x, int y) {
  POINT point{x, y};
  ::ClientToScreen(window, &point);
  return point;
}

}  // namespace kavo::wine_test::skin
