#include "skin/menu_click_memory.h"

namespace kavo::skin {

bool MenuClickMemory::ClickOpens(WindowId button, std::uint32_t nowMs) {
  const bool closingClick = button != 0 && underCursor_ == button && opener_ == button;
  // Unsigned difference: right across the tick count's wrap.
  if (closingClick && static_cast<std::uint32_t>(nowMs - closedAt_) < kClosingClickMs) {
    opener_ = 0;
    underCursor_ = 0;
    return false;
  }
  opener_ = button;
  underCursor_ = 0;
  return true;
}

}  // namespace kavo::skin
