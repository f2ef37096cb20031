#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "skin/list_row_style.h"
#include "tests/unit/skin/test_printers.h"

namespace kavo::skin {
namespace {

constexpr ListColours kColours{0x111111, 0x222222, 0x333333, 0x444444, 0x555555};

struct PaintCase {
  const char* name;
  bool selected, disabled;
  Colour background, text;
};
void PrintTo(const PaintCase& c, std::ostream* out) { *out << c.name; }

class PaintRowTest : public ::testing::TestWithParam<PaintCase> {};

TEST_P(PaintRowTest, SelectionFillsAndDisablingGreysTheText) {
  const PaintCase& c = GetParam();
  const RowPaint paint = PaintRow(kColours, c.selected, c.disabled);
  EXPECT_EQ(paint.background, c.background);
  EXPECT_EQ(paint.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    States, PaintRowTest,
    ::testing::Values(PaintCase{"Plain", false, false, 0x111111, 0x222222},
                      PaintCase{"Selected", true, false, 0x333333, 0x444444},
                      PaintCase{"Disabled", false, true, 0x111111, 0x555555},
                      PaintCase{"SelectedAndDisabled", true, true, 0x333333, 0x555555}),
    [](const ::testing::TestParamInfo<PaintCase>& row) { return std::string(row.param.name); });

struct PlaceCase {
  const char* name;
  std::uint32_t itemValue;
  std::optional<Point> picture;
  int textLeft;
};
void PrintTo(const PlaceCase& c, std::ostream* out) { *out << c.name; }

class PlaceRowTest : public ::testing::TestWithParam<PlaceCase> {};

// A row at (10, 40): the picture column is 17 wide with 2 pixels on either side.
TEST_P(PlaceRowTest, PutsPictureAndTextInTheirColumns) {
  const PlaceCase& c = GetParam();
  const RowPlacement placement = PlaceRow({10, 40, 210, 60}, c.itemValue);
  EXPECT_EQ(placement.picture, c.picture);
  EXPECT_EQ(placement.textLeft, c.textLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlaceRowTest,
    ::testing::Values(PlaceCase{"NoPictureColumn", 0, std::nullopt, 12},
                      PlaceCase{"ColumnKeptEmpty", 1, std::nullopt, 31},
                      PlaceCase{"Picture", 0x87, Point{12, 41}, 31},
                      PlaceCase{"HighWordIsNoPicture", 0x50000, std::nullopt, 12},
                      PlaceCase{"PictureUnderAHighWord", 0x30087, Point{12, 41}, 31}),
    [](const ::testing::TestParamInfo<PlaceCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kavo::skin
