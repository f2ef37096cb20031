#include "skin/menu_item_drawing.h"

namespace kavo::skin {

namespace {

// What the item's id means for a stored item: nothing for one that opens a submenu.
bool IdMarksItem(const SkinMenuItem& item) { return item.kind != MenuItemKind::kSubmenu; }

MenuItemPaint Paint(const MenuPalette& palette, bool separator, bool selected, int highlight) {
  if (separator) return {palette.normalBackground, palette.normalText, palette.separator};
  MenuItemPaint paint = selected ? MenuItemPaint{palette.selectedBackground, palette.selectedText, {}}
                                 : MenuItemPaint{palette.normalBackground, palette.normalText, {}};
  if (highlight == 1) paint.text = kMenuHighlightText;
  return paint;
}

}  // namespace

bool IsSeparatorItem(unsigned itemId) {
  return itemId == kMenuSeparatorItemId || itemId == kMenuSeparatorCommand;
}

Extent MeasureMenuItem(unsigned itemId, int menuWidth) {
  if (IsSeparatorItem(itemId)) return {menuWidth, kMenuSeparatorHeight};
  if (itemId == kMenuHiddenItemId) return {menuWidth, 0};
  return {menuWidth, kMenuItemHeight};
}

Extent MeasureMenuItem(const SkinMenuItem& item, int menuWidth) {
  if (!IdMarksItem(item)) return {menuWidth, kMenuItemHeight};
  return MeasureMenuItem(item.commandId, menuWidth);
}

MenuItemPaint PaintMenuItem(const MenuPalette& palette, unsigned itemId, bool selected, int highlight) {
  return Paint(palette, IsSeparatorItem(itemId), selected, highlight);
}

MenuItemPaint PaintMenuItem(const MenuPalette& palette, const SkinMenuItem& item, bool selected) {
  return Paint(palette, IdMarksItem(item) && IsSeparatorItem(item.commandId), selected, item.highlight);
}

Rect SeparatorLine(const Rect& item) {
  const int y = item.top + item.Height() / 2;
  return {item.left, y, item.right, y + 1};
}

MenuItemPlacement PlaceMenuItem(const Rect& item, std::string_view text, bool trademark, bool submenu,
                                const TextMeasure& measure) {
  const Extent size = measure.Measure(text, MenuFont::kItem);
  MenuItemPlacement placement;
  placement.text = {item.left + kMenuTextLeft, item.top + (item.Height() - size.height) / 2};
  if (trademark) {
    const Extent mark = measure.Measure("TM", MenuFont::kTrademark);
    placement.trademark = Point{placement.text.x + size.width,
                                placement.text.y + size.height / 2 - mark.height / 2};
  }
  if (submenu) placement.arrow = Point{item.right - kMenuArrowFromRight, item.top - kMenuArrowAboveTop};
  return placement;
}

std::array<FrameRing, 3> MenuFrame(const Rect& window) {
  const auto inset = [&window](int by) {
    return Rect{window.left + by, window.top + by, window.right - by, window.bottom - by};
  };
  return {{{inset(0), kMenuAccent}, {inset(1), 0x000000}, {inset(2), 0x000000}}};
}

}  // namespace kavo::skin
