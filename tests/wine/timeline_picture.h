#pragma once
// Where the macro timeline view paints, for the tests that read its pixels: a bar's row and time, the
// bar colours, and the notice it shows over a macro its bars cannot hold.
#include <cstdint>

#include "option/macros/macro_timeline.h"
#include "option/macros/win32/macro_timeline_view.h"
#include "tests/wine/window_readback.h"

namespace kavo::wine_test::timeline {

using View = option::win32::MacroTimelineView;

constexpr std::uint32_t kBarColour = 0x2D8CDC;    // RGB(45, 140, 220)
constexpr std::uint32_t kUnsetColour = 0xE6A028;  // RGB(230, 160, 40), also the notice's text

inline int RowMiddle(int row) { return View::kRowTop + row * View::kRowHeight + View::kRowHeight / 2; }
// The view's x of a time in the initial 3000 ms window.
inline int XOf(int time) { return View::kBarLeft + time * View::kBarWidth / option::kInitialTimelineSpan; }

// Pixels of the notice colour in the strip beside the add and delete buttons.
inline int NoticePixels(const ClientPicture& picture) {
  int count = 0;
  for (int y = 330; y < 350; ++y) {
    for (int x = 70; x < 480; ++x) count += picture.At(x, y) == kUnsetColour ? 1 : 0;
  }
  return count;
}

}  // namespace kavo::wine_test::timeline
