#include "skin/win32/skin_menu.h"

#include <algorithm>
#include <string>
#include <utility>

#include "skin/win32/skin_font.h"
#include "platform/win32/solid_fill.h"
#include "platform/win32/window_class.h"

namespace kavo::skin::win32 {

using kavo::win32::ControlWindowProc;
using kavo::win32::FillSolid;
using kavo::win32::RegisterWindowClass;
using kavo::win32::SelectedObject;
using kavo::win32::UniqueFont;
using kavo::win32::UniqueIcon;
using kavo::win32::UniqueWindow;

namespace {

constexpr char kOwnerClass[] = "KavoSkinMenuOwner";


RECT ToRect(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

int Length(std::string_view text) { return static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF)); }

// Text sizes measured in the item's device context with the menu's fonts.
class DeviceTextMeasure : public TextMeasure {
 public:
  DeviceTextMeasure(HDC dc, HFONT item, HFONT trademark) : dc_(dc), item_(item), trademark_(trademark) {}
  Extent Measure(std::string_view text, MenuFont font) const override {
    const SelectedObject selected(dc_, font == MenuFont::kItem ? item_ : trademark_);
    SIZE size{};
    if (!::GetTextExtentPoint32A(dc_, text.data(), Length(text), &size)) return {};
    return {size.cx, size.cy};
  }

 private:
  HDC dc_;
  HFONT item_;
  HFONT trademark_;
};

}  // namespace

SkinMenu::SkinMenu(HFONT font)
    : font_(font),
      menu_(::CreatePopupMenu()),
      // Whatever the system substitutes when the typeface is not installed.
      trademarkFont_(SkinFont(8, 0, FW_NORMAL, "Eurostile")),
      // Drawn only where the program's resources have it.
      arrow_(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kSubmenuArrowIcon),
                                             IMAGE_ICON, 0, 0, 0))) {}

SkinMenu::~SkinMenu() {
  // Submenus are destroyed by their own objects, so they are taken out before this menu goes (destroying a
  // menu destroys the submenus still in it).
  if (menu_) {
    for (int position = ::GetMenuItemCount(menu_.get()) - 1; position >= 0; --position) {
      if (::GetSubMenu(menu_.get(), position) != nullptr) ::RemoveMenu(menu_.get(), static_cast<UINT>(position), MF_BYPOSITION);
    }
  }
}

bool SkinMenu::Append(unsigned commandId, std::string_view text, int highlight, int trademark) {
  return AppendItem(commandId, text, nullptr, highlight, trademark);
}

bool SkinMenu::AppendSubmenu(unsigned commandId, std::string_view text, std::unique_ptr<SkinMenu> submenu,
                             int highlight, int trademark) {
  if (submenu == nullptr || !submenu->menu_) return false;
  return AppendItem(commandId, text, std::move(submenu), highlight, trademark);
}

bool SkinMenu::AppendItem(unsigned commandId, std::string_view text, std::unique_ptr<SkinMenu> submenu,
                          int highlight, int trademark) {
  if (!menu_) return false;
  // Room first: once a submenu is in the menu, nothing may throw and take the submenu's object (and its
  // menu) away while the menu still holds it.
  opensSubmenu_.reserve(opensSubmenu_.size() + 1);
  itemData_.reserve(itemData_.size() + 1);
  submenus_.reserve(submenus_.size() + 1);
  auto data = std::make_unique<Item>(Item{this, items_.items().size()});
  const auto itemData = reinterpret_cast<LPCSTR>(data.get());
  BOOL appended = FALSE;
  switch (items_.Append(commandId, text, submenu != nullptr, highlight, trademark)) {
    case MenuItemKind::kSubmenu:
      appended = ::AppendMenuA(menu_.get(), MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu->menu()),
                               itemData);
      break;
    case MenuItemKind::kSeparator:
      appended = ::AppendMenuA(menu_.get(), MF_OWNERDRAW | MF_SEPARATOR, commandId, itemData);
      break;
    case MenuItemKind::kCommand:
      appended = ::AppendMenuA(menu_.get(), MF_OWNERDRAW, commandId, itemData);
      break;
  }
  // The attributes stay stored either way, so positions keep counting as they were appended.
  opensSubmenu_.push_back(appended && submenu != nullptr);
  if (!appended) return false;
  itemData_.push_back(std::move(data));
  if (submenu != nullptr) submenus_.push_back(std::move(submenu));
  return true;
}

unsigned SkinMenu::Show(HWND owner, POINT screenPoint) {
  if (!menu_ || !RegisterWindowClass(kOwnerClass, ControlWindowProc<SkinMenu>)) return 0;
  // The hidden window owns the popup while it is shown, and so receives its items' measuring and drawing.
  const UniqueWindow drawer(::CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, owner, nullptr,
                                              ::GetModuleHandleA(nullptr), this));
  if (!drawer) return 0;
  const UINT command =
      static_cast<UINT>(::TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                         screenPoint.x, screenPoint.y, 0, drawer.get(), nullptr));
  if (command != 0 && owner != nullptr) ::PostMessageA(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return command;
}

LRESULT SkinMenu::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MEASUREITEM) {
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure.CtlType == ODT_MENU) {
      if (const Item* item = Find(measure.itemData)) {
        const SkinMenuItem& entry = item->menu->items_.items()[item->index];
        const Extent size = MeasureMenuItem(entry, item->menu->width());
        measure.itemWidth = static_cast<UINT>(std::max(size.width, 0));
        measure.itemHeight = static_cast<UINT>(std::max(size.height, 0));
        return TRUE;
      }
    }
  }
  if (message == WM_DRAWITEM) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw.CtlType == ODT_MENU) {
      if (const Item* item = Find(draw.itemData)) {
        item->menu->Draw(*item, draw);
        return TRUE;
      }
    }
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

const SkinMenu::Item* SkinMenu::Find(ULONG_PTR itemData) const {
  for (const auto& item : itemData_) {
    if (reinterpret_cast<ULONG_PTR>(item.get()) == itemData) return item.get();
  }
  for (const auto& submenu : submenus_) {
    if (const Item* item = submenu->Find(itemData)) return item;
  }
  return nullptr;
}

void SkinMenu::Draw(const Item& item, const DRAWITEMSTRUCT& draw) const {
  const SkinMenuItem& entry = items_.items()[item.index];
  const HDC dc = draw.hDC;
  const Rect area{draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom};
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  const MenuItemPaint paint = PaintMenuItem(palette_, entry, selected);

  const int saved = ::SaveDC(dc);
  // An item paints only itself: the arrow icon, placed from the item's top right, reaches above it.
  ::IntersectClipRect(dc, draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom);
  FillSolid(dc, draw.rcItem, paint.background);
  if (paint.line) {
    FillSolid(dc, ToRect(SeparatorLine(area)), *paint.line);
  } else {
    const DeviceTextMeasure measure(dc, font_, trademarkFont_.get());
    const MenuItemPlacement place =
        PlaceMenuItem(area, entry.text, entry.trademark == 1, opensSubmenu_[item.index], measure);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, paint.text);
    {
      const SelectedObject font(dc, font_);
      ::TextOutA(dc, place.text.x, place.text.y, entry.text.data(), Length(entry.text));
    }
    if (place.trademark && trademarkFont_) {
      const SelectedObject font(dc, trademarkFont_.get());
      ::TextOutA(dc, place.trademark->x, place.trademark->y, "TM", 2);
    }
    if (place.arrow && arrow_) ::DrawIconEx(dc, place.arrow->x, place.arrow->y, arrow_.get(), 0, 0, 0, nullptr, DI_NORMAL);
  }
  if (saved != 0) ::RestoreDC(dc, saved);
  // Nothing the menu paints afterwards (its own submenu arrow) may cover the item.
  ::ExcludeClipRect(dc, draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom);
}

}  // namespace kavo::skin::win32
