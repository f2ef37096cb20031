// The picture slider against the real API, worked with the real pointer: the track and thumb windows and
// their pictures, clicks on the track, dragging and dropping the thumb with and without rounding, values
// set from outside and the help line.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "skin/skin_messages.h"
#include "skin/win32/click_slider.h"
#include "skin/win32/help_text.h"
#include "tests/wine/skin_control_host.h"

namespace kavo::wine_test::skin {
namespace {

using kavo::skin::kWmHelpText;
using kavo::skin::kWmSliderPos;
using kavo::skin::Rect;
using kavo::skin::win32::CclickHSlider;
using kavo::skin::win32::CPHSlider;
using kavo::skin::win32::CurrentHelpText;
using kavo::skin::win32::SetHelpLineWindow;

// A 200-pixel track on the page; the thumb is 20 x 12, so its left edge travels 180 pixels.
constexpr Rect kTrack{50, 40, 250, 52};
constexpr int kNotify = 7;
constexpr int kThumbWidth = 20, kThumbHeight = 12;
constexpr COLORREF kBackdrop = RGB(255, 0, 255);  // the thumb picture's corners: not part of the thumb
constexpr COLORREF kThumbBody = RGB(40, 90, 200);

UniqueBitmap ThumbPicture() {
  return MakePicture(kThumbWidth, kThumbHeight, [](int x, int y) {
    const bool corner = (x < 3 || x >= kThumbWidth - 3) && (y < 3 || y >= kThumbHeight - 3);
    return corner ? kBackdrop : kThumbBody;
  });
}

// A window's left and top in its parent.
POINT PlaceInParent(HWND window) {
  RECT bounds{};
  ::GetWindowRect(window, &bounds);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
  return {bounds.left, bounds.top};
}

class SliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.Open());
    slider_ = CclickHSlider::Create(host_.window(), kTrack, ThumbPicture(), kNotify);
    ASSERT_NE(slider_, nullptr);
    slider_->SetBackground(host_.givenBackground);
    slider_->SetRange(1, 10);
    slider_->SetValue(1);
    SetHelpLineWindow(host_.window());
    MovePointer(900, 900);
    Pump(80);
    host_.Forget();
  }
  void TearDown() override {
    ReleaseLeft();
    SetHelpLineWindow(nullptr);
    slider_.reset();
  }

  HWND track() const { return slider_->window(); }
  HWND thumb() const { return slider_->thumb().window(); }
  int ThumbLeft() const { return PlaceInParent(thumb()).x; }
  // Values of the WM_SLIDERPOS the page received, each checked for the track's notify value.
  std::vector<int> Reported() const {
    std::vector<int> values;
    for (const auto& one : host_.Received(kWmSliderPos)) {
      EXPECT_EQ(one.lParam, kNotify);
      values.push_back(static_cast<int>(one.wParam));
    }
    return values;
  }
  std::vector<int> ReportedAfter(std::size_t count) {
    PumpUntil([&] { return Reported().size() >= count; }, 2000);
    Pump(100);
    return Reported();
  }
  void ClickTrackAt(int x) {
    MovePointerTo(track(), x, 6);
    Pump(40);
    PressLeft();
    Pump(40);
    ReleaseLeft();
  }

  ControlHost host_{300, 100};
  std::unique_ptr<CclickHSlider> slider_;
};

TEST(SliderCreationTest, NeedsTheThumbPicture) {
  ControlHost host(300, 100);
  ASSERT_TRUE(host.Open());
  EXPECT_EQ(CclickHSlider::Create(host.window(), kTrack, UniqueBitmap(), kNotify), nullptr);
  EXPECT_EQ(CclickHSlider::Create(host.window(), kTrack, ::GetModuleHandleA(nullptr), 65000, kNotify), nullptr)
      << "no picture of that id in the program";
  EXPECT_EQ(::FindWindowExA(host.window(), nullptr, "KavoSliderTrack", nullptr), nullptr) << "and no window is left";
  EXPECT_EQ(CPHSlider::Create(host.window(), UniqueBitmap(), 0, 0, 200, kNotify, true), nullptr);
}

TEST_F(SliderTest, TrackAndThumbAreWindowsOfThePage) {
  EXPECT_EQ(::GetParent(track()), host_.window());
  EXPECT_EQ(::GetDlgCtrlID(track()), kNotify) << "the notify value is the track's id";
  EXPECT_TRUE(::IsWindowVisible(track()));
  EXPECT_EQ(PlaceInParent(track()).x, kTrack.left);
  EXPECT_EQ(PlaceInParent(track()).y, kTrack.top);

  EXPECT_EQ(::GetParent(thumb()), track());
  RECT thumbBounds{};
  ::GetWindowRect(thumb(), &thumbBounds);
  EXPECT_EQ(thumbBounds.right - thumbBounds.left, kThumbWidth) << "the picture's size";
  EXPECT_EQ(thumbBounds.bottom - thumbBounds.top, kThumbHeight);
  EXPECT_EQ(PlaceInParent(thumb()).y, 0) << "on the track's top row";

  // Shaped: the backdrop-coloured corners are not the thumb's.
  const kavo::win32::UniqueRegion shape(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(thumb(), shape.get()), ERROR);
  EXPECT_FALSE(::PtInRegion(shape.get(), 0, 0));
  EXPECT_FALSE(::PtInRegion(shape.get(), kThumbWidth - 1, kThumbHeight - 1));
  EXPECT_TRUE(::PtInRegion(shape.get(), 3, 0));
  EXPECT_TRUE(::PtInRegion(shape.get(), kThumbWidth / 2, kThumbHeight / 2));

  // On screen: the page's picture under the track, the thumb's picture over it.
  Pump(50);
  EXPECT_EQ(ScreenPixel(track(), 150, 5), RGB(kTrack.left + 150, kTrack.top + 5, kBackgroundMark));
  EXPECT_EQ(ScreenPixel(thumb(), kThumbWidth / 2, kThumbHeight / 2), kThumbBody);
  EXPECT_EQ(ScreenPixel(track(), 0, 0), RGB(kTrack.left, kTrack.top, kBackgroundMark)) << "a clear corner";
}

struct ClickCase {
  const char* name;
  bool rounding;
  int startValue;  // keeps the thumb away from the click
  int x;           // in the track
  int value;
};

TEST_F(SliderTest, AClickOnTheTrackMapsTheWholeWidthOntoTheRange) {
  const ClickCase cases[] = {
      {"FarRightRounded", true, 1, 199, 10},    // 1 + 199 * 9 / 200 = 9.955
      {"FarRightTruncated", false, 1, 199, 9},  // the track's own width would be needed for 10
      {"MiddleRounded", true, 1, 100, 6},       // 5.5
      {"MiddleTruncated", false, 1, 100, 5},
      {"FirstPixel", true, 10, 0, 1},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    slider_->SetRounding(c.rounding);
    slider_->SetValue(c.startValue);
    Pump(50);
    host_.Forget();
    ClickTrackAt(c.x);
    EXPECT_EQ(ReportedAfter(1), std::vector<int>{c.value});
    EXPECT_EQ(slider_->value(), c.value);
    EXPECT_EQ(ThumbLeft(), (c.value - 1) * 180 / 9) << "the thumb is put at the value's place";
  }
}

TEST_F(SliderTest, AReleaseLeftOfTheTrackGivesTheMinimum) {
  slider_->SetValue(6);
  // A button released outside the track can only come while the track holds the mouse.
  ::SendMessageA(track(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-5), 6));
  EXPECT_EQ(ReportedAfter(1), std::vector<int>{1});
  EXPECT_EQ(slider_->value(), 1);
}

struct DropCase {
  const char* name;
  bool rounding;
  int moveBy;
  std::vector<int> reported;  // while dragging, then the drop
  int leftAfterDrop;
};

TEST_F(SliderTest, DraggingReportsEachMoveAndTheDrop) {
  const DropCase cases[] = {
      // Drag values drop remainders: 1 + 30 * 9 / 180 = 2.5 -> 2, 60 -> 4, 90 -> 5; dropped at 90 that is 5.5.
      {"RoundedAndSnapped", true, 90, {2, 4, 5, 6}, 100},
      {"TruncatedWhereItLies", false, 90, {2, 4, 5, 5}, 90},
      {"HeldAtTheRightEnd", true, 300, {2, 4, 10, 10}, 180},
  };
  for (const DropCase& c : cases) {
    SCOPED_TRACE(c.name);
    slider_->SetRounding(c.rounding);
    slider_->SetValue(1);
    Pump(50);
    host_.Forget();
    const POINT grip = OnScreen(thumb(), 10, 6);
    MovePointer(grip.x, grip.y);
    Pump(40);
    PressLeft();
    Pump(40);
    EXPECT_TRUE(slider_->thumb().dragging());
    for (const int by : {30, 60, c.moveBy}) {
      MovePointer(grip.x + by, grip.y + 15);  // off the track: the capture keeps the drag
      Pump(40);
    }
    ReleaseLeft();
    EXPECT_EQ(ReportedAfter(c.reported.size()), c.reported);
    EXPECT_FALSE(slider_->thumb().dragging());
    EXPECT_EQ(slider_->value(), c.reported.back());
    EXPECT_EQ(ThumbLeft(), c.leftAfterDrop);
    EXPECT_EQ(::GetCapture(), nullptr);
  }
}

TEST_F(SliderTest, ADragWhoseCaptureIsTakenEndsWhereTheThumbIs) {
  const POINT grip = OnScreen(thumb(), 10, 6);
  MovePointer(grip.x, grip.y);
  Pump(40);
  PressLeft();
  Pump(40);
  MovePointer(grip.x + 60, grip.y);
  Pump(60);
  ASSERT_TRUE(slider_->thumb().dragging());
  ::SetCapture(host_.window());  // another window takes the mouse
  Pump(40);
  EXPECT_FALSE(slider_->thumb().dragging());
  EXPECT_EQ(ReportedAfter(2), (std::vector<int>{4, 4}));
  ReleaseLeft();
  ::ReleaseCapture();
  Pump(60);
  EXPECT_EQ(Reported().size(), 2u) << "the release afterwards belongs to no drag";
}

TEST_F(SliderTest, AValueSetFromOutsideIsClampedAndPlacedWithoutNotice) {
  struct Case {
    int set;
    int value;
    int left;
  };
  for (const Case& c : {Case{99, 10, 180}, Case{-4, 1, 0}, Case{4, 4, 60}}) {
    slider_->SetValue(c.set);
    EXPECT_EQ(slider_->value(), c.value) << c.set;
    EXPECT_EQ(ThumbLeft(), c.left) << c.set;
  }
  Pump(100);
  EXPECT_TRUE(Reported().empty());
}

TEST_F(SliderTest, TakesTheHelpLineWhenTheMouseComesOver) {
  slider_->SetHelpText("Drag to set the sensitivity");
  MovePointerTo(track(), 150, 6);
  ASSERT_TRUE(PumpUntil([&] { return !host_.Received(kWmHelpText).empty(); }, 2000));
  EXPECT_EQ(host_.WParams(kWmHelpText), std::vector<WPARAM>{1});
  EXPECT_EQ(CurrentHelpText(), "Drag to set the sensitivity");
}

}  // namespace
}  // namespace kavo::wine_test::skin
