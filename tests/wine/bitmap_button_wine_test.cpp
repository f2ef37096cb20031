// The skinned button against the real API, worked with real input: the picture it shows in each state,
// toggle and push clicks, hover notifications and the help line, activation, the hand cursor, caption,
// tooltip and pictures of its own.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include <string>
#include <vector>

#include "skin/skin_messages.h"
#include "skin/win32/bitmap_button.h"
#include "skin/win32/help_text.h"
#include "tests/wine/recording_window.h"
#include "tests/wine/skin_test_support.h"
#include "tests/wine/skin_test_window.h"
#include "tests/wine/window_readback.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test::skin {
namespace {

using kavo::skin::kWmHelpText;
using kavo::skin::kWmHoverNotify;
using kavo::skin::win32::ButtonPictures;
using kavo::skin::win32::CurrentHelpText;
using kavo::skin::win32::kDialogTemplate;
using kavo::skin::win32::kMainWindowTemplate;
using kavo::skin::win32::kPageTemplate;
using kavo::skin::win32::SetHelpLineWindow;

constexpr int kWidth = 200;
constexpr int kHeight = 120;
// Buttons of the test window: two push buttons side by side, a toggle and one without help text.
constexpr int kA = 0, kB = 1, kToggle = 2, kPlain = 3;
const std::vector<ButtonSpec> kButtons = {{"A,10,40,50,30,Help of A"},
                                          {"B,60,40,50,30,Help of B"},
                                          {"Toggle,130,40,50,30,Help of toggle"},
                                          {"Plain,130,80,50,30,"}};
constexpr POINT kCentre[] = {{35, 55}, {85, 55}, {155, 55}, {155, 95}};
constexpr POINT kBackground{100, 100};

class BitmapButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.extraBuild = [](TestWindow& self) {
      self.buttons[kToggle]->SetToggleMode(true);
      self.buttons[kA]->SetNotifyValue(7);
      self.buttons[kB]->SetNotifyValue(8);
    };
    ASSERT_TRUE(window_.Create(nullptr));
    ::MoveWindow(window(), 100, 100, kWidth, kHeight, FALSE);
    ::ShowWindow(window(), SW_SHOW);
    ::SetForegroundWindow(window());
    PointerAway();
  }
  void TearDown() override {
    ReleaseLeft();
    SetHelpLineWindow(nullptr);
    if (window() != nullptr) ::DestroyWindow(window());
    Pump(50);
  }

  HWND window() const { return window_.window(); }
  BitmapButton& button(int index) { return *window_.buttons[static_cast<std::size_t>(index)]; }

  // Puts the pointer on a client point of the window and lets the window take the news.
  void PointAt(POINT point) {
    MovePointerTo(window(), point.x, point.y);
    Pump(60);
  }
  bool HoverOn(int index) {
    PointAt(kCentre[index]);
    return PumpUntil([&] { return button(index).hovering(); }, 2000);
  }
  // The pointer far from every window.
  void PointerAway() {
    MovePointer(900, 900);
    PumpUntil([&] {
      for (const BitmapButton* one : window_.buttons) {
        if (one->hovering()) return false;
      }
      return true;
    }, 2000);
    Pump(50);
  }
  void ClickHere(DWORD holdMs = 30) {
    PressLeft();
    Pump(holdMs);
    ReleaseLeft();
    Pump(60);
  }
  // The blue of what the window shows at a client point: which picture is drawn there.
  COLORREF Shown(POINT point) { return ScreenPixel(window(), point.x, point.y); }

  std::vector<ReceivedMessage> Clicks() const {
    std::vector<ReceivedMessage> clicks;
    for (const auto& command : window_.Received(WM_COMMAND)) {
      if (HIWORD(command.wParam) == BN_CLICKED) clicks.push_back(command);
    }
    return clicks;
  }

  TestWindow window_{kDialogTemplate, kWidth, kHeight, kButtons};
};

struct LookCase {
  const char* name;
  int button;
  bool checked;
  bool disabled;
  bool pointerOver;
  bool heldDown;
  BYTE shows;
};

TEST_F(BitmapButtonTest, ShowsThePictureOfItsStateOnScreen) {
  const LookCase cases[] = {
      {"PushResting", kA, false, false, false, false, kNormalMark},
      {"PushUnderThePointer", kA, false, false, true, false, kHoverMark},
      {"PushHeldDown", kA, false, false, true, true, kPressedMark},
      {"PushChecked", kA, true, false, false, false, kPressedMark},
      {"PushDisabled", kA, false, true, false, false, kDisabledMark},
      {"PushDisabledChecked", kA, true, true, false, false, kPressedMark},
      {"ToggleResting", kToggle, false, false, false, false, kNormalMark},
      {"ToggleUnderThePointer", kToggle, false, false, true, false, kHoverMark},
      {"ToggleChecked", kToggle, true, false, false, false, kPressedMark},
      {"ToggleCheckedUnderThePointer", kToggle, true, false, true, false, kPressedMark},
      {"ToggleDisabled", kToggle, false, true, false, false, kDisabledMark},
      {"ToggleDisabledChecked", kToggle, true, true, false, false, kDisabledMark},
  };
  for (const LookCase& c : cases) {
    SCOPED_TRACE(c.name);
    BitmapButton& shown = button(c.button);
    shown.SetChecked(c.checked);
    ::EnableWindow(shown.window(), c.disabled ? FALSE : TRUE);
    if (c.pointerOver) {
      ASSERT_TRUE(HoverOn(c.button));
    }
    if (c.heldDown) {
      PressLeft();
      Pump(100);
    }
    ::UpdateWindow(window());
    Pump(50);
    // One pixel off the centre: red and green tell that the cut-out sits where the button does.
    const POINT probe{kCentre[c.button].x + 3, kCentre[c.button].y + 2};
    EXPECT_EQ(Shown(probe), RGB(probe.x, probe.y, c.shows));
    if (c.heldDown) ReleaseLeft();
    PointerAway();
    shown.SetChecked(false);
    ::EnableWindow(shown.window(), TRUE);
  }
}

TEST_F(BitmapButtonTest, AToggleClickedTwiceEndsUncheckedAfterTwoCommandsCarryingItsHandle) {
  // Apart and as a double click: a quick second click is a click of its own.
  for (const DWORD pause : {700u, 40u}) {
    SCOPED_TRACE(::testing::Message() << pause << " ms between the clicks");
    window_.received.clear();
    window_.clicked.clear();
    BitmapButton& toggle = button(kToggle);
    // The parent hears of the click after the flip.
    std::vector<bool> seenChecked;
    window_.OnClick(toggle, [&] { seenChecked.push_back(toggle.checked()); });
    ASSERT_TRUE(HoverOn(kToggle));
    ClickHere();
    EXPECT_TRUE(toggle.checked());
    EXPECT_EQ(Shown(kCentre[kToggle]), RGB(kCentre[kToggle].x, kCentre[kToggle].y, kPressedMark));
    Pump(pause);
    ClickHere();
    EXPECT_FALSE(toggle.checked());
    const auto clicks = Clicks();
    ASSERT_EQ(clicks.size(), 2u);
    for (const auto& click : clicks) {
      EXPECT_EQ(LOWORD(click.wParam), 0) << "control id 0";
      EXPECT_EQ(click.lParam, reinterpret_cast<LPARAM>(toggle.window()));
    }
    EXPECT_EQ(seenChecked, (std::vector<bool>{true, false}));
    EXPECT_EQ(window_.Received(WM_COMMAND).size(), 2u) << "no double-click notification";
    window_.OnClick(toggle, {});
    PointerAway();
  }
}

TEST_F(BitmapButtonTest, APushButtonClicksWhenReleasedOverIt) {
  struct Gesture {
    const char* name;
    bool releaseElsewhere;
    bool twice;
    std::size_t clicks;
  };
  for (const Gesture g : {Gesture{"Click", false, false, 1}, Gesture{"DraggedOff", true, false, 0},
                          Gesture{"DoubleClick", false, true, 2}}) {
    SCOPED_TRACE(g.name);
    window_.received.clear();
    window_.clicked.clear();
    ASSERT_TRUE(HoverOn(kA));
    PressLeft();
    Pump(40);
    if (g.releaseElsewhere) PointAt(kBackground);
    ReleaseLeft();
    Pump(40);
    if (g.twice) ClickHere();
    Pump(60);
    const auto clicks = Clicks();
    EXPECT_EQ(clicks.size(), g.clicks);
    for (const auto& click : clicks) EXPECT_EQ(click.lParam, reinterpret_cast<LPARAM>(button(kA).window()));
    EXPECT_EQ(window_.clicked, std::vector<int>(g.clicks, kA));
    EXPECT_FALSE(button(kA).checked()) << "a push button does not toggle";
    if (!g.releaseElsewhere) {
      // The standard release let the capture go; the pointer still rests on the button, which takes it
      // back, so that a move onto a neighbour is still seen here first.
      EXPECT_TRUE(button(kA).hovering());
      EXPECT_EQ(::GetCapture(), button(kA).window());
    }
    PointerAway();
  }
}

TEST_F(BitmapButtonTest, MovingOntoATouchingNeighbourLeavesTheFirstBeforeEnteringTheSecond) {
  RecordingWindow line("Kavo help line");
  ASSERT_NE(line.window(), nullptr);
  SetHelpLineWindow(line.window());

  ASSERT_TRUE(HoverOn(kA));
  EXPECT_EQ(::GetCapture(), button(kA).window()) << "a hovering button holds the capture";
  EXPECT_EQ(CurrentHelpText(), "Help of A");
  ASSERT_TRUE(HoverOn(kB));
  EXPECT_FALSE(button(kA).hovering());
  EXPECT_EQ(CurrentHelpText(), "Help of B");
  PointerAway();
  EXPECT_EQ(CurrentHelpText(), "");
  EXPECT_EQ(::GetCapture(), nullptr);

  std::vector<std::pair<WPARAM, LPARAM>> hover;
  for (const auto& message : window_.Received(kWmHoverNotify)) hover.emplace_back(message.wParam, message.lParam);
  const std::vector<std::pair<WPARAM, LPARAM>> expected{{1, 7}, {0, 7}, {1, 8}, {0, 8}};
  EXPECT_EQ(hover, expected);
  ASSERT_TRUE(line.WaitFor(kWmHelpText, 4, 2000));
  std::vector<WPARAM> help;
  for (const auto& message : line.Received(kWmHelpText)) help.push_back(message.wParam);
  EXPECT_EQ(help, (std::vector<WPARAM>{1, 0, 1, 0}));
}

// The same through the X server, as xdotool drives the gallery: Wine's own event handling takes part.
// After a click's standard release the capture is gone and no move follows under X; the button takes
// the capture back by itself, or the neighbour would hear of the pointer before the button did.
TEST_F(BitmapButtonTest, UnderRealXInputAClickedButtonStillLeavesBeforeItsNeighbourEnters) {
  const POINT a = OnScreen(window(), kCentre[kA].x, kCentre[kA].y);
  const POINT b = OnScreen(window(), kCentre[kB].x, kCentre[kB].y);
  const POINT background = OnScreen(window(), kBackground.x, kBackground.y);
  ASSERT_TRUE(XSession::MoveTo(background.x, background.y));
  Pump(100);
  // One command, as a scripted user moves and clicks at once.
  ASSERT_TRUE(XSession::XDo("mousemove " + std::to_string(a.x) + " " + std::to_string(a.y) + " click 1"));
  ASSERT_TRUE(PumpUntil([&] { return Clicks().size() == 1; }, 2000));
  Pump(200);
  EXPECT_EQ(::GetCapture(), button(kA).window());
  ASSERT_TRUE(XSession::MoveTo(b.x, b.y));
  ASSERT_TRUE(PumpUntil([&] { return button(kB).hovering(); }, 2000));
  Pump(100);
  std::vector<std::pair<WPARAM, LPARAM>> hover;
  for (const auto& message : window_.Received(kWmHoverNotify)) hover.emplace_back(message.wParam, message.lParam);
  const std::vector<std::pair<WPARAM, LPARAM>> expected{{1, 7}, {0, 7}, {1, 8}};
  EXPECT_EQ(hover, expected);
}

TEST_F(BitmapButtonTest, LosingTheFocusEndsTheHover) {
  ASSERT_TRUE(HoverOn(kA));
  ::SetFocus(button(kA).window());
  window_.received.clear();
  ::SetFocus(window());
  EXPECT_FALSE(button(kA).hovering());
  EXPECT_NE(::GetCapture(), button(kA).window()) << "the capture served only the hover";
  Pump(50);
  // The pointer still rests on the button: the next move may light it up again, but after the "left".
  const auto hover = window_.Received(kWmHoverNotify);
  ASSERT_FALSE(hover.empty());
  EXPECT_EQ(hover[0].wParam, 0u);
  EXPECT_EQ(hover[0].lParam, 7);
}

TEST_F(BitmapButtonTest, APressActivatesTheWindowTheButtonSitsIn) {
  TestWindow other(kDialogTemplate, 60, 60);
  ASSERT_TRUE(other.Create(nullptr));
  ::MoveWindow(other.window(), 400, 100, 60, 60, FALSE);
  ::ShowWindow(other.window(), SW_SHOW);
  TestWindow main(kMainWindowTemplate, kWidth, kHeight);
  ASSERT_TRUE(main.Create(nullptr));
  TestWindow page(kPageTemplate, 100, 60, {{"Page button,10,10,30,20,"}});
  ASSERT_TRUE(page.Create(main.window()));
  ::MoveWindow(main.window(), 100, 300, kWidth, kHeight, FALSE);
  ::ShowWindow(page.window(), SW_SHOW);
  ::ShowWindow(main.window(), SW_SHOW);

  // Posted presses, which (unlike a real click) do not activate anything by themselves.
  struct Press {
    const char* name;
    HWND button;
    HWND activated;
  };
  for (const Press p : {Press{"DialogButton", button(kA).window(), window()},
                        Press{"PageButton", page.buttons[0]->window(), main.window()}}) {
    SCOPED_TRACE(p.name);
    ::SetActiveWindow(other.window());
    ASSERT_EQ(::GetActiveWindow(), other.window());
    ::PostMessageA(p.button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageA(p.button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump(100);
    EXPECT_EQ(::GetActiveWindow(), p.activated);
  }
  ::DestroyWindow(main.window());
  ::DestroyWindow(other.window());
}

TEST_F(BitmapButtonTest, ShowsTheProgramsHandCursorOnlyWhenAsked) {
  // The suite carries the program's pictures and cursors, the hand among them.
  const HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kavo::skin::win32::kHandCursorId));
  ASSERT_NE(hand, nullptr);
  const HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  const HWND a = button(kA).window();
  const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  ::SetCursor(arrow);
  button(kA).SetHandCursor(false);
  ::SendMessageA(a, WM_SETCURSOR, reinterpret_cast<WPARAM>(a), overClient);
  EXPECT_NE(::GetCursor(), hand);
  button(kA).SetHandCursor(true);
  EXPECT_TRUE(::SendMessageA(a, WM_SETCURSOR, reinterpret_cast<WPARAM>(a), overClient));
  EXPECT_EQ(::GetCursor(), hand);
  ::SetCursor(arrow);
  ::SendMessageA(a, WM_SETCURSOR, reinterpret_cast<WPARAM>(a), MAKELPARAM(HTBORDER, WM_MOUSEMOVE));
  EXPECT_NE(::GetCursor(), hand) << "only over the client area";
}

// Light pixels of the caption on a black button: its columns and rows.
struct Ink {
  int left = 1000, right = -1, top = 1000, bottom = -1;
  COLORREF brightest = 0;
};

Ink InkOf(HBITMAP picture, int width, int height) {
  Ink ink;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF colour = PixelOf(picture, x, y);
      if (GetRValue(colour) < 0x60) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
      if (GetRValue(colour) > GetRValue(ink.brightest)) ink.brightest = colour;
    }
  }
  return ink;
}

TEST_F(BitmapButtonTest, DrawsItsCaptionAndTrademarkOverThePicture) {
  constexpr int kW = 120, kH = 30;
  const std::unique_ptr<BitmapButton> made = BitmapButton::Create(window(), kavo::skin::Rect{10, 80, 10 + kW, 80 + kH});
  ASSERT_TRUE(made);
  BitmapButton& captioned = *made;
  const auto black = [] { return MakePicture(kW, kH, [](int, int) { return RGB(0, 0, 0); }); };
  captioned.SetPictures(ButtonPictures{black(), black(), black(), black()});
  const RECT area{10, 80, 10 + kW, 80 + kH};
  const auto inkNow = [&] {
    ::InvalidateRect(captioned.window(), nullptr, FALSE);
    ::UpdateWindow(captioned.window());
    Pump(50);
    const UniqueBitmap shot = CaptureClient(window(), area);
    return InkOf(shot.get(), kW, kH);
  };

  EXPECT_EQ(inkNow().right, -1) << "no caption, nothing over the picture";
  captioned.SetCaption("Apply");
  const Ink caption = inkNow();
  ASSERT_GE(caption.right, 0);
  EXPECT_EQ(caption.brightest, RGB(0xE0, 0xE0, 0xE0));
  EXPECT_GE(caption.left, 5);
  EXPECT_LE(caption.left, 7);
  EXPECT_LE(std::abs((caption.top + caption.bottom) - (kH - 1)), 4) << "vertically centred";
  EXPECT_LT(caption.bottom - caption.top, 14);
  captioned.SetTrademark(true);
  const Ink marked = inkNow();
  EXPECT_GT(marked.right, caption.right + 3) << "TM after the caption";
  EXPECT_EQ(marked.left, caption.left);
  EXPECT_GE(marked.top, caption.top - 1) << "TM starts at the caption's top";
}

RECT ToolRect(HWND tooltip, HWND tool) {
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = tool;
  info.uId = 0;
  ::SendMessageA(tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info));
  return info.rect;
}

TEST_F(BitmapButtonTest, PicturesOfItsOwnGiveTheButtonTheirSizeWhereItStands) {
  const std::unique_ptr<BitmapButton> made =
      BitmapButton::Create(window(), kavo::skin::LayoutEntry{"button language", 20, 80, 60, 110, "", 0});
  ASSERT_TRUE(made);
  BitmapButton& language = *made;
  language.SetHelpText("Select language");
  const auto marked = [](BYTE mark) { return MarkedPicture(32, 17, mark); };
  language.SetPictures(ButtonPictures{marked(kNormalMark), marked(kHoverMark), marked(kPressedMark), marked(kDisabledMark)});
  RECT bounds{};
  ::GetWindowRect(language.window(), &bounds);
  ::MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ(bounds.left, 20);
  EXPECT_EQ(bounds.top, 80);
  EXPECT_EQ(bounds.right, 52);
  EXPECT_EQ(bounds.bottom, 97);
  const RECT area = ToolRect(language.tooltip(), language.window());
  EXPECT_EQ(area.right, 32) << "the tooltip's area follows the size";
  EXPECT_EQ(area.bottom, 17);
  ::UpdateWindow(window());
  Pump(50);
  EXPECT_EQ(Shown({30, 90}), RGB(10, 10, kNormalMark)) << "its own picture, from its top left";
}

// Whether the tooltip stays hidden cannot be seen here: under Wine a tooltip does not show for relayed
// moves or TTM_POPUP even when active. What it holds can.
TEST_F(BitmapButtonTest, TheTooltipHoldsTheHelpTextForTheButtonsArea) {
  EXPECT_EQ(button(kPlain).tooltip(), nullptr) << "made only for a help text";
  const HWND tooltip = button(kA).tooltip();
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(::SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(TooltipText(tooltip, button(kA).window()), "Help of A");
  const RECT area = ToolRect(tooltip, button(kA).window());
  EXPECT_EQ(area.right - area.left, 50);
  EXPECT_EQ(area.bottom - area.top, 30);
  button(kA).SetHelpText("Another text, longer than before");
  EXPECT_EQ(button(kA).tooltip(), tooltip) << "one tooltip for the button's life";
  EXPECT_EQ(::SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(TooltipText(tooltip, button(kA).window()), "Another text, longer than before");
  ASSERT_TRUE(HoverOn(kA));
  EXPECT_EQ(CurrentHelpText(), "Another text, longer than before");
  ::DestroyWindow(button(kA).window());
  EXPECT_FALSE(::IsWindow(tooltip)) << "the tooltip goes with its button";
}

TEST_F(BitmapButtonTest, ATooltipTextOfItsOwnTakesTheHelpTextsPlaceInTheTooltipOnly) {
  const std::string path = "\\\\server\\share\\tools\\app.exe";
  button(kA).SetTooltipText(path);
  const HWND tooltip = button(kA).tooltip();
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(TooltipText(tooltip, button(kA).window()), path);
  ASSERT_TRUE(HoverOn(kA));
  EXPECT_EQ(CurrentHelpText(), "Help of A") << "the help line keeps the help text";
  button(kA).SetHelpText("Help changed");
  EXPECT_EQ(TooltipText(tooltip, button(kA).window()), path) << "a new help text leaves the tooltip's own";
  button(kA).SetTooltipText("");
  EXPECT_EQ(TooltipText(tooltip, button(kA).window()), "Help changed");
  EXPECT_EQ(button(kA).tooltip(), tooltip);

  // A button without a help text gets a tooltip for a text of its own.
  button(kPlain).SetTooltipText(path);
  ASSERT_NE(button(kPlain).tooltip(), nullptr);
  EXPECT_EQ(TooltipText(button(kPlain).tooltip(), button(kPlain).window()), path);
}

TEST_F(BitmapButtonTest, AButtonDestroyedUnderThePointerTakesItsHelpTextAlong) {
  ASSERT_TRUE(HoverOn(kB));
  EXPECT_EQ(CurrentHelpText(), "Help of B");
  ::DestroyWindow(button(kB).window());
  EXPECT_EQ(button(kB).window(), nullptr);
  EXPECT_EQ(CurrentHelpText(), "");
}

}  // namespace
}  // namespace kavo::wine_test::skin
