#pragma once
// SkinMenu: a popup menu drawn in the skin's colours: black items with white text, the selected item on
// the accent colour, separators as an accent line, highlighted texts in light blue, a small "TM" after a
// trademark's text and the arrow icon (resource 145) on items that open a submenu. With the frame hook
// installed (menu_frame_hook.h) its window wears the skinned frame as well.
//
// The menu measures and draws its items itself, through a hidden window that owns it while it is shown:
// the owner only receives the chosen command, as WM_COMMAND (posted, as the standard popup tracking does).
//
//   SkinMenu menu(font);
//   menu.Append(3201, "Windows Media Player", 0, 1);
//   menu.Append(kMenuSeparatorCommand, "");
//   auto more = std::make_unique<SkinMenu>(font);
//   more->Append(3301, "VLC");
//   menu.AppendSubmenu(3300, "More players", std::move(more));
//   menu.SetWidth(140);
//   menu.Show(page, cursorOnScreen);
//
// User-interface thread only. A menu lives for one popup: built, shown, destroyed.
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/win32/window_class.h"
#include "platform/win32/win32_handles.h"
#include "skin/menu_item_drawing.h"
#include "skin/menu_items.h"

namespace kavo::skin::win32 {

constexpr int kSubmenuArrowIcon = 145;

class SkinMenu {
 public:
  // An empty menu whose item texts are drawn in font, which its creator keeps for as long as the menu lives.
  explicit SkinMenu(HFONT font);
  ~SkinMenu();
  SkinMenu(const SkinMenu&) = delete;
  SkinMenu& operator=(const SkinMenu&) = delete;

  // An owner-drawn command; command id kMenuSeparatorCommand (2048) makes a separator and 1 an item that is
  // measured zero high, so never seen. highlight 1 shows the text in the highlight colour, trademark 1 puts
  // "TM" after it. The menu widens to 8 pixels per character of the text. False when the menu refused it.
  bool Append(unsigned commandId, std::string_view text, int highlight = 0, int trademark = 0);
  // An item that opens submenu beside it; the menu keeps the submenu. Choosing it sends no command, so
  // commandId only names it: no id makes it a separator or hides it.
  bool AppendSubmenu(unsigned commandId, std::string_view text, std::unique_ptr<SkinMenu> submenu,
                     int highlight = 0, int trademark = 0);
  void SetWidth(int width) { items_.SetWidth(width); }

  // Shows the menu with its top-left corner at a screen point and waits for the user. The chosen command is
  // posted to owner as WM_COMMAND (low word the command, lParam 0) and returned; 0 when nothing was chosen.
  unsigned Show(HWND owner, POINT screenPoint);

  HMENU menu() const { return menu_.get(); }
  const SkinMenuItems& items() const { return items_; }
  int width() const { return items_.width(); }

 private:
  struct Item {
    SkinMenu* menu;
    std::size_t index;  // in items_.items()
  };

  template <typename Control>
  friend LRESULT CALLBACK kavo::win32::ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The messages of the hidden window that owns the popup while it is shown: its items' measuring and
  // drawing. The window belongs to Show, so its end needs nothing here.
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void WindowGone() {}
  bool AppendItem(unsigned commandId, std::string_view text, std::unique_ptr<SkinMenu> submenu, int highlight,
                  int trademark);
  // The item of this menu or one of its submenus that item data names; null for anything else.
  const Item* Find(ULONG_PTR itemData) const;
  void Draw(const Item& item, const DRAWITEMSTRUCT& draw) const;

  HFONT font_;
  MenuPalette palette_;
  SkinMenuItems items_;
  kavo::win32::UniqueMenu menu_;
  kavo::win32::UniqueFont trademarkFont_;
  kavo::win32::UniqueIcon arrow_;
  std::vector<std::unique_ptr<Item>> itemData_;  // what each menu item carries as its item data
  std::vector<std::unique_ptr<SkinMenu>> submenus_;
  std::vector<bool> opensSubmenu_;  // per item
};

}  // namespace kavo::skin::win32
