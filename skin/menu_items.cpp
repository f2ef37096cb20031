#include "skin/menu_items.h"

#include <algorithm>

namespace kavo::skin {

MenuItemKind SkinMenuItems::Append(unsigned commandId, std::string_view text, bool submenu, int highlight,
                                   int trademark) {
  MenuItemKind kind = commandId == kMenuSeparatorCommand ? MenuItemKind::kSeparator : MenuItemKind::kCommand;
  if (submenu) kind = MenuItemKind::kSubmenu;
  items_.push_back({std::string(text), static_cast<int>(items_.size()) + 1, commandId, highlight, trademark, kind});
  // Counted before multiplying: a very long text cannot overflow the width.
  const std::size_t characters = std::min<std::size_t>(text.size(), kMaxMenuWidth / kMenuCharacterWidth);
  width_ = std::max(width_, static_cast<int>(characters) * kMenuCharacterWidth);
  return kind;
}

MenuItemMarks SkinMenuItems::Find(unsigned commandId) const {
  for (const SkinMenuItem& item : items_) {
    if (item.commandId == commandId) return {item.highlight, item.trademark};
  }
  return {};
}

void SkinMenuItems::SetWidth(int width) { width_ = std::clamp(width, 0, kMaxMenuWidth); }

}  // namespace kavo::skin
