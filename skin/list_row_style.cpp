#include "skin/list_row_style.h"

namespace kavo::skin {

RowPaint PaintRow(const ListColours& colours, bool selected, bool disabled) {
  RowPaint paint = selected ? RowPaint{colours.selectedBackground, colours.selectedText}
                            : RowPaint{colours.background, colours.text};
  if (disabled) paint.text = colours.disabledText;
  return paint;
}

RowPlacement PlaceRow(const Rect& row, std::uint32_t itemValue, int pictureWidth, int margin) {
  const unsigned picture = RowPictureId(itemValue);
  RowPlacement placement;
  if (picture == 0) {
    placement.textLeft = row.left + margin;
    return placement;
  }
  if (picture != 1) placement.picture = Point{row.left + margin, row.top + 1};
  placement.textLeft = row.left + pictureWidth + 2 * margin;
  return placement;
}

}  // namespace kavo::skin
