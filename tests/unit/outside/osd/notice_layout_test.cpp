#include <gtest/gtest.h>

#include <ostream>

#include "outside/osd/notice_layout.h"
#include "tests/unit/skin/test_printers.h"

namespace kavo::osd {
namespace {

struct LayoutCase {
  const char* name;
  Rect workArea;
  Extent text;
  Rect notice;
};
// Test names and failure messages show the case by name, not as raw bytes.
void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }


class NoticeRectTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(NoticeRectTest, SitsAtTheBottomRightOfTheWorkArea) {
  const LayoutCase& c = GetParam();
  EXPECT_EQ(NoticeRect(c.workArea, c.text), c.notice);
}

INSTANTIATE_TEST_SUITE_P(
    Places, NoticeRectTest,
    ::testing::Values(
        // Taskbar at the bottom: a short text gets the minimum width; 16 pixels from both edges.
        LayoutCase{"ShortText", {0, 0, 1280, 984}, {100, 20}, {1064, 920, 1264, 968}},
        LayoutCase{"PaddedText", {0, 0, 1280, 984}, {300, 26}, {920, 914, 1264, 968}},
        LayoutCase{"LongTextAtMaximum", {0, 0, 1280, 984}, {1000, 26}, {704, 914, 1264, 968}},
        // The taskbar elsewhere moves the work area's edges, and the notice with them.
        LayoutCase{"TaskbarLeft", {60, 0, 1280, 1024}, {300, 26}, {920, 954, 1264, 1008}},
        LayoutCase{"TaskbarRight", {0, 0, 1220, 1024}, {300, 26}, {860, 954, 1204, 1008}},
        LayoutCase{"TaskbarTop", {0, 40, 1280, 1024}, {300, 26}, {920, 954, 1264, 1008}},
        // Too small for the notice and its margin: it fills what there is and stays inside.
        LayoutCase{"TinyArea", {100, 100, 250, 140}, {300, 26}, {100, 100, 250, 140}},
        LayoutCase{"NoRoomForMargin", {0, 0, 210, 50}, {10, 10}, {0, 0, 200, 38}},
        LayoutCase{"EmptyArea", {5, 5, 5, 5}, {300, 26}, {5, 5, 5, 5}},
        LayoutCase{"NegativeExtent", {0, 0, 1280, 984}, {-50, -9}, {1064, 940, 1264, 968}}),
    [](const ::testing::TestParamInfo<LayoutCase>& row) { return std::string(row.param.name); });

TEST(NoticeRectTest, StaysInsideEveryWorkArea) {
  const Rect areas[] = {{0, 0, 1280, 984}, {-1920, -200, 0, 880}, {0, 0, 640, 480}, {300, 300, 420, 330}};
  const Extent texts[] = {{0, 0}, {150, 22}, {600, 30}, {5000, 5000}};
  for (const Rect& area : areas) {
    for (const Extent& text : texts) {
      const Rect notice = NoticeRect(area, text);
      SCOPED_TRACE(::testing::Message() << "area " << ::testing::PrintToString(area) << " text " << text.width << "x" << text.height);
      EXPECT_GE(notice.left, area.left);
      EXPECT_GE(notice.top, area.top);
      EXPECT_LE(notice.right, area.right);
      EXPECT_LE(notice.bottom, area.bottom);
      EXPECT_LE(notice.Width(), kMaxWidth);
      EXPECT_GT(notice.Width(), 0);
      EXPECT_GT(notice.Height(), 0);
    }
  }
}

TEST(TextRectTest, KeepsThePaddingAndNeverTurnsInsideOut) {
  EXPECT_EQ(TextRect({344, 54}), (Rect{22, 14, 322, 40}));
  const Rect tiny = TextRect({10, 10});
  EXPECT_GE(tiny.Width(), 0);
  EXPECT_GE(tiny.Height(), 0);
}

}  // namespace
}  // namespace kavo::osd
