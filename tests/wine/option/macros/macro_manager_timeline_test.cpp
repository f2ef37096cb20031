// The macro manager's timeline view with the program's pictures, in a host window: the bars it paints
// for a macro, a drag that moves a bar's end into the macro's events, a bar added through the keyboard
// hook, and the notice over a macro the bars cannot hold.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <vector>

#include "option/macros/win32/macro_timeline_view.h"
#include "settings/key_tables.h"
#include "platform/win32/win32_handles.h"
#include "settings/win32/win32_keyboard_layout.h"
#include "tests/wine/timeline_picture.h"
#include "tests/wine/window_readback.h"

namespace kavo::option::win32 {
namespace {

using kavo::wine_test::ClientPicture;
using kavo::wine_test::ListRows;

using View = MacroTimelineView;
using kavo::wine_test::timeline::kBarColour;
using kavo::wine_test::timeline::kUnsetColour;
using kavo::wine_test::timeline::NoticePixels;
using kavo::wine_test::timeline::RowMiddle;
using kavo::wine_test::timeline::XOf;

constexpr char kHostClass[] = "KavoTimelineTestHost";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(window, message, wParam, lParam);
}

Macro MakeMacro(std::vector<MacroEvent> events) {
  Macro macro{};
  for (const MacroEvent& event : events) macro.events[macro.eventCount++] = event;
  return macro;
}

class TimelineViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA host{};
    host.lpfnWndProc = HostProc;
    host.hInstance = ::GetModuleHandleA(nullptr);
    host.lpszClassName = kHostClass;
    ::RegisterClassA(&host);
    host_.reset(::CreateWindowExA(0, kHostClass, "timeline host", WS_POPUP | WS_VISIBLE, 0, 0, 720, 470, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr));
    ASSERT_NE(host_.get(), nullptr);
    view_ = View::Create(host_.get(), {215, 50, 705, 415}, keys_);
    ASSERT_TRUE(view_);
    view_->SetBusyHandler([this](bool busy) { busyCalls_.push_back(busy); });
    ::ShowWindow(view_->window(), SW_SHOW);
  }
  void TearDown() override {
    view_.reset();
    host_.reset();
  }

  void Click(HWND button) {
    ::SendMessageA(view_->window(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  }
  void Mouse(UINT message, int x, int y) {
    ::SendMessageA(view_->window(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
  }

  kavo::win32::Win32KeyboardLayout keys_;
  kavo::win32::UniqueWindow host_;
  std::unique_ptr<View> view_;
  std::vector<bool> busyCalls_;
};

TEST_F(TimelineViewTest, PaintsOneBarPerKeyStrokeWhereItsTimesAre) {
  // A press 0, B press 600, A release 1200, B release 1800: two overlapping bars.
  Macro macro = MakeMacro({{4, kMacroPress, 600}, {5, kMacroPress, 600}, {4, kMacroRelease, 600},
                           {5, kMacroRelease, 0}});
  view_->Show(&macro);
  ASSERT_EQ(view_->timeline().bars().size(), 2u);
  const ClientPicture picture(view_->window());
  // Row 0 carries A from 0 to 1200 ms, row 1 carries B from 600 to 1800 ms.
  EXPECT_EQ(picture.At(XOf(300), RowMiddle(0)), kBarColour);
  EXPECT_EQ(picture.At(XOf(1000), RowMiddle(0)), kBarColour);
  EXPECT_NE(picture.At(XOf(1500), RowMiddle(0)), kBarColour);
  EXPECT_NE(picture.At(XOf(300), RowMiddle(1)), kBarColour);
  EXPECT_EQ(picture.At(XOf(1500), RowMiddle(1)), kBarColour);
  EXPECT_NE(picture.At(XOf(1500), RowMiddle(2)), kBarColour);  // no third bar
}

TEST_F(TimelineViewTest, DraggingABarsEndChangesTheMacro) {
  Macro macro = MakeMacro({{4, kMacroPress, 600}, {4, kMacroRelease, 0}});
  view_->Show(&macro);
  // Grab the release end at 600 ms and pull it to 1500 ms.
  Mouse(WM_LBUTTONDOWN, XOf(600), RowMiddle(0));
  ASSERT_TRUE(view_->timeline().dragging());
  Mouse(WM_MOUSEMOVE, XOf(1000), RowMiddle(0));
  Mouse(WM_LBUTTONUP, XOf(1500), RowMiddle(0));
  EXPECT_FALSE(view_->timeline().dragging());
  ASSERT_EQ(view_->timeline().bars().size(), 1u);
  const KeyBar bar = view_->timeline().bars()[0];
  EXPECT_EQ(bar.press, 0);
  EXPECT_NEAR(bar.release, 1500, kInitialTimelineSpan / View::kBarWidth);

  const ClientPicture picture(view_->window());
  EXPECT_EQ(picture.At(XOf(1300), RowMiddle(0)), kBarColour);

  view_->WriteBack();
  ASSERT_EQ(macro.eventCount, 2);
  EXPECT_EQ(macro.events[0].delay, bar.release);
  EXPECT_EQ(macro.events[1].action, kMacroRelease);
}

TEST_F(TimelineViewTest, MacroTheBarsCannotHoldIsShownWithANoticeAndLeftAsItWas) {
  // A lone Left Button Down after the stroke: the bars would drop it.
  Macro macro = MakeMacro({{4, kMacroPress, 600}, {4, kMacroRelease, 0}, {kMacroLeftButton, kMacroPress, 0}});
  const Macro original = macro;
  view_->Show(&macro);
  ASSERT_EQ(view_->timeline().bars().size(), 1u);
  const ClientPicture shown(view_->window());
  EXPECT_EQ(shown.At(XOf(300), RowMiddle(0)), kBarColour);
  EXPECT_GT(NoticePixels(shown), 20);

  Mouse(WM_LBUTTONDOWN, XOf(600), RowMiddle(0));
  EXPECT_FALSE(view_->timeline().dragging());
  Mouse(WM_LBUTTONUP, XOf(1500), RowMiddle(0));
  Click(view_->addButton());
  EXPECT_FALSE(view_->timeline().waitingForKey());
  EXPECT_TRUE(busyCalls_.empty());
  view_->WriteBack();
  EXPECT_EQ(std::memcmp(&macro, &original, sizeof(Macro)), 0);

  // A macro the bars hold whole shows no notice.
  Macro whole = MakeMacro({{4, kMacroPress, 600}, {4, kMacroRelease, 0}});
  view_->Show(&whole);
  EXPECT_EQ(NoticePixels(ClientPicture(view_->window())), 0);
}

TEST_F(TimelineViewTest, AddedBarWaitsForAKeyWithTheHookInstalled) {
  Macro macro = MakeMacro({{4, kMacroPress, 600}, {4, kMacroRelease, 0}});
  view_->Show(&macro);
  Click(view_->addButton());
  ASSERT_TRUE(view_->timeline().waitingForKey());
  EXPECT_TRUE(KeyboardHookInstalled());
  EXPECT_FALSE(::IsWindowEnabled(view_->window()));
  EXPECT_EQ(busyCalls_, std::vector<bool>{true});
  EXPECT_EQ(ClientPicture(view_->window()).At(XOf(300), RowMiddle(1)), kUnsetColour);

  ::SendMessageA(view_->window(), kWmKeyCaptured, 0xFF, 0);  // no device code: the wait goes on
  EXPECT_TRUE(view_->timeline().waitingForKey());
  ::SendMessageA(view_->window(), kWmKeyCaptured, 'B', 0);
  EXPECT_FALSE(view_->timeline().waitingForKey());
  EXPECT_FALSE(KeyboardHookInstalled());
  EXPECT_TRUE(::IsWindowEnabled(view_->window()));
  EXPECT_EQ(busyCalls_, (std::vector<bool>{true, false}));
  const KeyLookup b = VirtualKeyToDeviceKey(keys_, 'B');
  ASSERT_TRUE(b.found);
  EXPECT_EQ(view_->timeline().bars()[1], (KeyBar{b.code, 0, 600}));
  EXPECT_EQ(ClientPicture(view_->window()).At(XOf(300), RowMiddle(1)), kBarColour);

  view_->WriteBack();
  EXPECT_EQ(macro.eventCount, 4);
}

TEST_F(TimelineViewTest, ZoomButtonsChangeTheSpan) {
  view_->Show(nullptr);
  Click(view_->zoomInButton());
  EXPECT_EQ(view_->timeline().span(), 1500);
  Click(view_->zoomOutButton());
  Click(view_->zoomOutButton());
  EXPECT_EQ(view_->timeline().span(), 6000);
}

}  // namespace
}  // namespace kavo::option::win32
