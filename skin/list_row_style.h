#pragma once
// How a row of the skinned list is drawn: its colours and where its picture and text go.
#include <cstdint>
#include <optional>

#include "skin/geometry.h"

namespace kavo::skin {

constexpr int kListRowHeight = 20;
constexpr int kListPictureWidth = 17;
constexpr int kListMargin = 2;  // left of the picture and between picture and text
// Pixels of a row picture in this colour are not drawn.
constexpr Colour kListPictureTransparent = 0x7B00DE;

// The picture resource of a row: the low 16 bits of its item value. 0 means no picture column, 1 a
// column kept empty.
constexpr unsigned RowPictureId(std::uint32_t itemValue) { return itemValue & 0xFFFFu; }

// The list's colours; the shell fills in the system colours where the owner set none.
struct ListColours {
  Colour background = 0xFFFFFF;
  Colour text = 0x000000;
  Colour selectedBackground = 0x000000;
  Colour selectedText = 0xFFFFFF;
  Colour disabledText = 0x808080;  // the system's button-shadow colour
};

struct RowPaint {
  Colour background;
  Colour text;
};

// Selection chooses the fill and text colour; a disabled row's text is always the disabled colour.
RowPaint PaintRow(const ListColours& colours, bool selected, bool disabled);

struct RowPlacement {
  std::optional<Point> picture;  // top left of the picture; none when there is nothing to draw
  int textLeft = 0;
};

RowPlacement PlaceRow(const Rect& row, std::uint32_t itemValue, int pictureWidth = kListPictureWidth,
                      int margin = kListMargin);

}  // namespace kavo::skin
