#pragma once
// The click that closes a popup menu by landing on the button that opened it must not open the menu
// again: it only closes it. The memory knows the button that opened the menu, the window under the
// cursor when it closed, and when. A click on that same button soon after (the system may deliver the
// closing press to the button, or swallow it) is the closing click; any later or other click opens.
#include <cstdint>

namespace kavo::skin {

class MenuClickMemory {
 public:
  using WindowId = std::uintptr_t;  // a window handle's value; 0 for none
  static constexpr std::uint32_t kClosingClickMs = 400;

  // A click on button at nowMs (a millisecond tick count, which may wrap): true when the menu is to
  // open (the button is then remembered as its opener); false for the click that closed the menu, which
  // forgets both windows so that the next click opens it.
  bool ClickOpens(WindowId button, std::uint32_t nowMs);
  // The menu has closed at atMs with underCursor under the cursor, chosen telling whether an item was
  // chosen. A menu left without a choice was closed by a press (or Escape); a choice, made with a click
  // or a key, closes nothing the next click could be taken for, wherever the pointer rests.
  void MenuClosed(WindowId underCursor, std::uint32_t atMs, bool chosen) {
    underCursor_ = chosen ? 0 : underCursor;
    closedAt_ = atMs;
  }

  WindowId opener() const { return opener_; }
  WindowId underCursor() const { return underCursor_; }

 private:
  WindowId opener_ = 0;
  WindowId underCursor_ = 0;
  std::uint32_t closedAt_ = 0;
};

}  // namespace kavo::skin
