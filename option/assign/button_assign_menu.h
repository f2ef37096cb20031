#pragma once
// The function menu of a button slot as a tree of items, built from the catalogue and the macro store just
// before it opens, and the click memory that lets a second click on a slot button close its menu.
#include <cstdint>
#include <string>
#include <vector>

#include "option/macros/macro_manager_ports.h"
#include "settings/settings_record.h"

namespace kavo::option {

constexpr int kAssignMenuWidth = 140;
constexpr char kAssignMenuFont[] = "Arial";
constexpr int kAssignMenuFontHeight = 14;
constexpr int kAssignMenuFontWidth = 5;
constexpr int kAssignMenuFontWeight = 400;
constexpr std::uint32_t kAssignMenuHighlightColour = 0xFFBF44;  // a COLORREF: blue FF, green BF, red 44
constexpr int kMaxMenuMacroSets = 100;
constexpr int kMaxMenuMacros = 100;

enum class AssignMenuItemKind { kCommand, kSeparator, kSubmenu };

struct AssignMenuItem {
  AssignMenuItemKind kind = AssignMenuItemKind::kCommand;
  std::string text;         // empty for a separator
  int commandId = 0;        // 0 for separators and submenus
  bool highlighted = false; // drawn in kAssignMenuHighlightColour
  std::vector<AssignMenuItem> items;  // a submenu's items
};

// The top menu's items for slot, whose entry decides the highlighted macro set and macro.
std::vector<AssignMenuItem> BuildAssignMenu(int slot, const MacroKeyInfo& entry, MacroStorePort& store);

}  // namespace kavo::option
