#include "skin/win32/hover_help.h"

#include "skin/win32/help_text.h"

namespace kavo::skin::win32 {

void HoverHelp::MouseMoved(HWND window) {
  if (!armed_) {
    TRACKMOUSEEVENT tracking{};
    tracking.cbSize = sizeof tracking;
    tracking.dwFlags = TME_LEAVE;
    tracking.hwndTrack = window;
    armed_ = ::TrackMouseEvent(&tracking) != FALSE;
  }
  OfferHelpText(text_);
}

}  // namespace kavo::skin::win32
