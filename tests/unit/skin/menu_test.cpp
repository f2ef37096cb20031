#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "skin/menu_item_drawing.h"
#include "skin/menu_items.h"
#include "tests/unit/skin/test_printers.h"

namespace kavo::skin {
namespace {

TEST(SkinMenuItemsTest, AppendsKindsWithPositionsAndWidensToTheLongestText) {
  SkinMenuItems menu;
  EXPECT_EQ(menu.Append(1001, "Click", false, -1, 0), MenuItemKind::kCommand);
  EXPECT_EQ(menu.width(), 40);
  EXPECT_EQ(menu.Append(5000, "Multimedia", true, -1, 0), MenuItemKind::kSubmenu);
  EXPECT_EQ(menu.width(), 80);
  EXPECT_EQ(menu.Append(kMenuSeparatorCommand, "", false, -1, 0), MenuItemKind::kSeparator);
  EXPECT_EQ(menu.Append(1002, "Menu", false, 1, 1), MenuItemKind::kCommand);
  EXPECT_EQ(menu.width(), 80);  // never narrower for a shorter text

  ASSERT_EQ(menu.items().size(), 4u);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(menu.items()[static_cast<std::size_t>(k)].position, k + 1);
  EXPECT_EQ(menu.items()[3].text, "Menu");
  // Each item keeps the kind it was appended as.
  EXPECT_EQ(menu.items()[0].kind, MenuItemKind::kCommand);
  EXPECT_EQ(menu.items()[1].kind, MenuItemKind::kSubmenu);
  EXPECT_EQ(menu.items()[2].kind, MenuItemKind::kSeparator);

  menu.SetWidth(140);
  EXPECT_EQ(menu.width(), 140);
}

TEST(SkinMenuItemsTest, LooksUpMarksByCommand) {
  SkinMenuItems menu;
  menu.Append(3201, "Windows Media Player", false, -1, 1);
  menu.Append(3202, "iTunes", false, 1, 0);
  EXPECT_EQ(menu.Find(3201).highlight, -1);
  EXPECT_EQ(menu.Find(3201).trademark, 1);
  EXPECT_EQ(menu.Find(3202).highlight, 1);
  EXPECT_EQ(menu.Find(3202).trademark, 0);
  // Unknown commands have no marks.
  EXPECT_EQ(menu.Find(9999).highlight, -1);
  EXPECT_EQ(menu.Find(9999).trademark, 0);
}

TEST(SkinMenuItemsTest, WidthStaysWithinBounds) {
  SkinMenuItems menu;
  menu.Append(1001, std::string(100000, 'w'), false, -1, 0);
  EXPECT_EQ(menu.width(), kMaxMenuWidth / kMenuCharacterWidth * kMenuCharacterWidth);
  menu.SetWidth(-5);
  EXPECT_EQ(menu.width(), 0);
  menu.SetWidth(1 << 30);
  EXPECT_EQ(menu.width(), kMaxMenuWidth);
}

struct MeasureCase {
  const char* name;
  unsigned itemId;
  int height;
};
void PrintTo(const MeasureCase& c, std::ostream* out) { *out << c.name; }

class MeasureMenuItemTest : public ::testing::TestWithParam<MeasureCase> {};

TEST_P(MeasureMenuItemTest, EveryItemIsTheMenusWidth) {
  EXPECT_EQ(MeasureMenuItem(GetParam().itemId, 140), (Extent{140, GetParam().height}));
}

INSTANTIATE_TEST_SUITE_P(
    Items, MeasureMenuItemTest,
    ::testing::Values(MeasureCase{"Separator", 0, 5}, MeasureCase{"HiddenItem", 1, 0},
                      MeasureCase{"SeparatorKeepingItsCommand", kMenuSeparatorCommand, 5},
                      MeasureCase{"Command", 1001, 18}, MeasureCase{"Two", 2, 18},
                      MeasureCase{"SubmenuHandle", 0x00A3041Eu, 18}),
    [](const ::testing::TestParamInfo<MeasureCase>& row) { return std::string(row.param.name); });

// A stored item is measured and painted by its kind as well as its id: an item that opens a submenu is a
// full item whatever id it was appended with.
struct StoredItemCase {
  const char* name;
  unsigned commandId;
  bool submenu;
  int height;
  bool line;  // painted as a separator
};
void PrintTo(const StoredItemCase& c, std::ostream* out) { *out << c.name; }

class StoredMenuItemTest : public ::testing::TestWithParam<StoredItemCase> {};

TEST_P(StoredMenuItemTest, MeasuresAndPaintsByKindAndId) {
  const StoredItemCase& c = GetParam();
  SkinMenuItems menu;
  menu.Append(c.commandId, "Left Button", c.submenu, 1, 0);
  const SkinMenuItem& item = menu.items().front();
  EXPECT_EQ(MeasureMenuItem(item, 140), (Extent{140, c.height}));

  const MenuItemPaint paint = PaintMenuItem(MenuPalette{}, item, true);
  ASSERT_EQ(paint.line.has_value(), c.line);
  if (!c.line) {
    EXPECT_EQ(paint.background, 0xDEA035u) << "selected";
    EXPECT_EQ(paint.text, 0xFFBF44u) << "the item's highlight";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Items, StoredMenuItemTest,
    ::testing::Values(StoredItemCase{"Command", 1001, false, 18, false},
                      StoredItemCase{"HiddenCommand", kMenuHiddenItemId, false, 0, false},
                      StoredItemCase{"SeparatorCommand", kMenuSeparatorCommand, false, 5, true},
                      StoredItemCase{"CommandWithSeparatorsId", kMenuSeparatorItemId, false, 5, true},
                      StoredItemCase{"SubmenuWithTheHiddenId", kMenuHiddenItemId, true, 18, false},
                      StoredItemCase{"SubmenuWithSeparatorsId", kMenuSeparatorItemId, true, 18, false},
                      StoredItemCase{"SubmenuWithSeparatorCommand", kMenuSeparatorCommand, true, 18, false},
                      StoredItemCase{"Submenu", 5000, true, 18, false}),
    [](const ::testing::TestParamInfo<StoredItemCase>& row) { return std::string(row.param.name); });

struct PaintCase {
  const char* name;
  unsigned itemId;
  bool selected;
  int highlight;
  Colour background, text;
  bool line;
};
void PrintTo(const PaintCase& c, std::ostream* out) { *out << c.name; }

class PaintMenuItemTest : public ::testing::TestWithParam<PaintCase> {};

TEST_P(PaintMenuItemTest, ChoosesFillTextAndLine) {
  const PaintCase& c = GetParam();
  const MenuItemPaint paint = PaintMenuItem(MenuPalette{}, c.itemId, c.selected, c.highlight);
  EXPECT_EQ(paint.background, c.background);
  EXPECT_EQ(paint.text, c.text);
  ASSERT_EQ(paint.line.has_value(), c.line);
  if (c.line) {
    EXPECT_EQ(*paint.line, 0xDEA035u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Items, PaintMenuItemTest,
    ::testing::Values(PaintCase{"Normal", 1001, false, -1, 0x000000, 0xFFFFFF, false},
                      PaintCase{"Selected", 1001, true, -1, 0xDEA035, 0xFFFFFF, false},
                      PaintCase{"HighlightZeroIsNormal", 1001, false, 0, 0x000000, 0xFFFFFF, false},
                      PaintCase{"Highlighted", 1001, false, 1, 0x000000, 0xFFBF44, false},
                      PaintCase{"HighlightedAndSelected", 1001, true, 1, 0xDEA035, 0xFFBF44, false},
                      PaintCase{"Separator", 0, false, -1, 0x000000, 0xFFFFFF, true},
                      PaintCase{"SeparatorIgnoresSelection", 0, true, 1, 0x000000, 0xFFFFFF, true}),
    [](const ::testing::TestParamInfo<PaintCase>& row) { return std::string(row.param.name); });

// Texts measure 7 pixels per character, 14 high in the item font and 8 high in the trademark font.
class FixedMeasure : public TextMeasure {
 public:
  Extent Measure(std::string_view text, MenuFont font) const override {
    return {static_cast<int>(text.size()) * 7, font == MenuFont::kItem ? 14 : 8};
  }
};

TEST(PlaceMenuItemTest, CentresTheTextAndPutsMarksAfterIt) {
  const FixedMeasure measure;
  const Rect item{0, 18, 140, 36};
  const MenuItemPlacement plain = PlaceMenuItem(item, "VLC", false, false, measure);
  EXPECT_EQ(plain.text, (Point{2, 20}));
  EXPECT_FALSE(plain.trademark);
  EXPECT_FALSE(plain.arrow);

  // "TM" right after the 21-pixel text, its middle on the text's middle (27); the arrow hangs from the
  // item's top right.
  const MenuItemPlacement marked = PlaceMenuItem(item, "VLC", true, true, measure);
  EXPECT_EQ(marked.text, (Point{2, 20}));
  EXPECT_EQ(marked.trademark, (Point{23, 23}));
  EXPECT_EQ(marked.arrow, (Point{121, 9}));
}

TEST(SeparatorLineTest, CrossesTheMiddle) {
  EXPECT_EQ(SeparatorLine({0, 10, 140, 15}), (Rect{0, 12, 140, 13}));
}

TEST(MenuFrameTest, OneAccentRingThenTwoBlackOnes) {
  const auto frame = MenuFrame({0, 0, 100, 60});
  EXPECT_EQ(frame[0].rect, (Rect{0, 0, 100, 60}));
  EXPECT_EQ(frame[0].colour, 0xDEA035u);
  EXPECT_EQ(frame[1].rect, (Rect{1, 1, 99, 59}));
  EXPECT_EQ(frame[1].colour, 0u);
  EXPECT_EQ(frame[2].rect, (Rect{2, 2, 98, 58}));
  EXPECT_EQ(frame[2].colour, 0u);
}

}  // namespace
}  // namespace kavo::skin
