#pragma once
// The items of a skinned popup menu and their extra marks: highlighted text and a trademark sign after
// the text. The menu is as wide as its widest text at a fixed width per character, or as its owner sets.
#include <string>
#include <string_view>
#include <vector>

namespace kavo::skin {

// Appended with this command id an item becomes a separator (an item opening a submenu never does).
constexpr unsigned kMenuSeparatorCommand = 2048;
constexpr int kMenuCharacterWidth = 8;
constexpr int kMaxMenuWidth = 32767;

enum class MenuItemKind { kCommand, kSeparator, kSubmenu };

struct SkinMenuItem {
  std::string text;
  int position = 0;  // 1 for the first appended item
  unsigned commandId = 0;
  int highlight = -1;  // 1: text in the highlight colour; 0 or -1: normal
  int trademark = 0;   // 1: "TM" after the text
  MenuItemKind kind = MenuItemKind::kCommand;
};

struct MenuItemMarks {
  int highlight = -1;
  int trademark = 0;
};

class SkinMenuItems {
 public:
  // Stores the item and widens the menu to its text; the kind of menu item to append.
  MenuItemKind Append(unsigned commandId, std::string_view text, bool submenu, int highlight, int trademark);
  // The marks of the first item with this command id; an unknown id has none.
  MenuItemMarks Find(unsigned commandId) const;
  void SetWidth(int width);

  int width() const { return width_; }
  const std::vector<SkinMenuItem>& items() const { return items_; }

 private:
  std::vector<SkinMenuItem> items_;
  int width_ = 0;
};

}  // namespace kavo::skin
