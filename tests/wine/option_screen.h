#pragma once
// What KavoOption.exe's main window shows on the screen, compared with what it should show: its own
// pictures (read from the program file as data) and texts drawn the way the window draws them. Every
// third pixel of a rectangle is compared, which is enough to tell pictures and texts apart and fast.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "artwork/main_window.h"
#include "platform/win32/win32_handles.h"
#include "skin/layout.h"
#include "skin/win32/picture_resources.h"
#include "skin/win32/skin_font.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {

using Pixels = std::vector<std::uint32_t>;

inline skin::Rect LayoutRect(const char* layout) { return skin::LayoutBounds(layout); }
inline skin::Rect Offset(skin::Rect r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }
inline std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
// Every third pixel of rectangle r of a device context, r's coordinates shifted by origin.
inline Pixels SamplePixels(HDC dc, POINT origin, const skin::Rect& r) {
  Pixels pixels;
  for (int y = r.top; y < r.bottom; y += 3) {
    for (int x = r.left; x < r.right; x += 3) pixels.push_back(Rgb(::GetPixel(dc, origin.x + x, origin.y + y)));
  }
  return pixels;
}

inline Pixels ScreenPixels(POINT origin, const skin::Rect& r) {
  win32::WindowDC screen(nullptr);
  return SamplePixels(screen.get(), origin, r);
}

// The main window's area on the screen, its top left at origin; pictures come from the program file.
class OptionScreen {
 public:
  OptionScreen(HMODULE program, POINT origin) : program_(program), origin_(origin) {}

  POINT origin() const { return origin_; }

  // The pixels of picture id over rectangle r of the picture.
  Pixels PicturePixels(int id, const skin::Rect& r) const { return Drawn(id, r, [](HDC) {}); }

  // Rectangle r of picture id with text drawn over it as the main window draws its labels: Arial of the
  // given height, transparent, one line, cut with an ellipsis.
  Pixels TextPixels(int id, const skin::Rect& r, const std::string& text, skin::Colour colour, int height,
                    UINT format = DT_LEFT | DT_VCENTER) const {
    return Drawn(id, r, [&](HDC dc) {
      const win32::UniqueFont font = skin::win32::SkinFont(height, 0);
      const win32::SelectedObject selected(dc, font.get());
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, colour);
      RECT area{r.left, r.top, r.right, r.bottom};
      ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
                  format | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    });
  }

  Pixels Shown(const skin::Rect& r) const { return ScreenPixels(origin_, r); }

  // The window shows picture id over the layout's rectangle.
  bool ShowsPicture(int id, const char* layout) const {
    const skin::Rect r = LayoutRect(layout);
    return Shown(r) == PicturePixels(id, r);
  }
  // A button-sized picture of its own shows at the layout's place.
  bool ShowsButtonPicture(int id, const char* layout) const {
    const skin::Rect r = LayoutRect(layout);
    return Shown(r) == PicturePixels(id, skin::Rect{0, 0, r.Width(), r.Height()});
  }
  // The page area shows page picture id over rectangle r of the page.
  bool PageShows(int id, const skin::Rect& r) const {
    const skin::Rect area = LayoutRect(artwork::main_window::kPagePosition);
    return ScreenPixels(origin_, Offset(r, area.left, area.top)) == PicturePixels(id, r);
  }
  // The name label of a slot (0..4) shows text in the colour given.
  bool ShowsName(const char* layout, const std::string& text, skin::Colour colour) const {
    const skin::Rect r = LayoutRect(layout);
    return Shown(r) == TextPixels(artwork::main_window::kNormalPicture, r, text, colour, kNameHeight);
  }
  // The help line shows text.
  bool ShowsHelp(const std::string& text) const {
    return Shown(kHelpLine) == TextPixels(artwork::main_window::kNormalPicture, kHelpLine, text, 0xFFFFFF, kNameHeight);
  }

  POINT Centre(const char* layout) const {
    const skin::Rect r = LayoutRect(layout);
    return POINT{origin_.x + (r.left + r.right) / 2, origin_.y + (r.top + r.bottom) / 2};
  }
  POINT PageCentre(const char* layout) const {
    const skin::Rect page = LayoutRect(artwork::main_window::kPagePosition);
    const skin::Rect r = LayoutRect(layout);
    return POINT{origin_.x + page.left + (r.left + r.right) / 2, origin_.y + page.top + (r.top + r.bottom) / 2};
  }
  bool Click(const char* layout) const {
    const POINT p = Centre(layout);
    return XSession::ClickAt(p.x, p.y);
  }
  // Somewhere on the window's background, over no control.
  bool MovePointerAway() const { return XSession::MoveTo(origin_.x + 300, origin_.y + 40); }

  static constexpr skin::Rect kHelpLine{115, 570, 580, 590};
  static constexpr int kNameHeight = 14;

 private:
  template <typename Draw>
  Pixels Drawn(int id, const skin::Rect& r, Draw draw) const {
    const auto picture = skin::win32::LoadPicture(program_, id);
    if (!picture) return {};
    win32::WindowDC screen(nullptr);
    win32::UniqueDC memory(::CreateCompatibleDC(screen.get()));
    const win32::SelectedObject selected(memory.get(), picture.get());
    draw(memory.get());
    return SamplePixels(memory.get(), POINT{0, 0}, r);
  }

  HMODULE program_;
  POINT origin_;
};

}  // namespace kavo::wine_test
