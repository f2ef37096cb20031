#pragma once
// How the items and the frame of a skinned popup menu are measured and painted: black items with white
// text, the selected item on the accent colour, separators as an accent line, and a frame of one accent
// and two black lines.
#include <array>
#include <optional>
#include <string_view>

#include "skin/geometry.h"
#include "skin/menu_items.h"

namespace kavo::skin {

constexpr int kMenuItemHeightBase = 16;
constexpr int kMenuItemHeight = kMenuItemHeightBase + 2;
constexpr int kMenuSeparatorHeight = 5;
// Item ids as the menu window reports them when measuring and drawing.
constexpr unsigned kMenuSeparatorItemId = 0;
constexpr unsigned kMenuHiddenItemId = 1;  // measured zero high: never shown

// A separator reports id 0; one that kept the id it was appended with (2048) is a separator all the same.
bool IsSeparatorItem(unsigned itemId);

constexpr Colour kMenuAccent = 0xDEA035;
constexpr Colour kMenuHighlightText = 0xFFBF44;
constexpr int kMenuTextLeft = 2;
// The submenu arrow icon's top left relative to the item's top right.
constexpr int kMenuArrowFromRight = 19;
constexpr int kMenuArrowAboveTop = 9;

struct MenuPalette {
  Colour normalBackground = 0x000000;
  Colour selectedBackground = kMenuAccent;
  Colour separator = kMenuAccent;
  Colour normalText = 0xFFFFFF;
  Colour selectedText = 0xFFFFFF;
};

// Width and height of an item by its id: every item is the menu's width; a separator is 5 high, the hidden
// item 0.
Extent MeasureMenuItem(unsigned itemId, int menuWidth);
// The same for a stored item. One that opens a submenu is a full item whatever id it was appended with:
// the system sends no command for it, so its id marks nothing (neither separator nor hidden item).
Extent MeasureMenuItem(const SkinMenuItem& item, int menuWidth);

struct MenuItemPaint {
  Colour background;
  Colour text;
  std::optional<Colour> line;  // separators: a line across the middle
};

// Separators ignore selection; a highlighted item (highlight 1) keeps its colour when selected.
MenuItemPaint PaintMenuItem(const MenuPalette& palette, unsigned itemId, bool selected, int highlight);
// The same for a stored item, with its highlight; one that opens a submenu is never a separator.
MenuItemPaint PaintMenuItem(const MenuPalette& palette, const SkinMenuItem& item, bool selected);

// The one-pixel line of a separator item, across its middle.
Rect SeparatorLine(const Rect& item);

// Port: the size of a text in one of the menu's fonts.
enum class MenuFont { kItem, kTrademark };
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual Extent Measure(std::string_view text, MenuFont font) const = 0;
};

struct MenuItemPlacement {
  Point text;
  std::optional<Point> trademark;  // "TM" right after the text, centred on its middle
  std::optional<Point> arrow;      // submenu arrow icon
};

MenuItemPlacement PlaceMenuItem(const Rect& item, std::string_view text, bool trademark, bool submenu,
                                const TextMeasure& measure);

// The frame drawn instead of the menu window's own: rectangles from the outside in, one pixel wide each.
struct FrameRing {
  Rect rect;
  Colour colour;
};
std::array<FrameRing, 3> MenuFrame(const Rect& window);

}  // namespace kavo::skin
