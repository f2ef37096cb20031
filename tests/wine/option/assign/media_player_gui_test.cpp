// The media player dialog with the program's pictures, worked with real X clicks from a second thread
// while the dialog runs modally on the test's: the player menu opened from the player button, a player
// chosen in it, the dialog's three ends, the button's click toggle, and the name the button shows compared
// pixel for pixel with the dialog opened on that player.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "artwork/media_player_dialog.h"
#include "option/assign/win32/media_player_dialog_window.h"
#include "platform/win32/win32_handles.h"
#include "skin/layout.h"
#include "tests/wine/skin_test_support.h"
#include "tests/wine/x_session.h"
#include "tests/wine/window_readback.h"

namespace kavo::wine_test {
namespace {

namespace art = artwork::media_player_dialog;

// Somewhere on screen away from the dialog (which stands at the screen's top left without an owner).

HINSTANCE Module() { return ::GetModuleHandleA(nullptr); }

HWND FindDialog() {
  return WaitForWindow([] {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, MAKEINTATOM(32770), nullptr)) != nullptr) {
      RECT bounds{};
      if (::IsWindowVisible(window) && ::GetWindowRect(window, &bounds) && bounds.right - bounds.left == art::kWidth &&
          bounds.bottom - bounds.top == art::kHeight) {
        return window;
      }
    }
    return HWND{};
  });
}

HWND WaitForMenu() { return WaitForWindow(VisibleMenu, 3000); }

bool WaitForNoMenu(DWORD ms = 3000) {
  return WaitForWindow([] { return VisibleMenu() == nullptr ? ::GetDesktopWindow() : HWND{}; }, ms) != nullptr;
}

RECT Bounds(const char* layout) {
  const kavo::skin::Rect rect = kavo::skin::LayoutBounds(layout);
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

bool ClickLayout(HWND dialog, const char* layout) {
  const RECT rect = Bounds(layout);
  POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ::ClientToScreen(dialog, &point);
  return XSession::ClickAt(point.x, point.y);
}

// Clicks the menu's entry at a position (0 first); its four entries share its client area's height.
bool ClickMenuEntry(HWND menu, int position) {
  RECT client{};
  if (menu == nullptr || !::GetClientRect(menu, &client)) return false;
  const int height = (client.bottom - client.top) / 4;
  POINT point{(client.left + client.right) / 2, client.top + height * position + height / 2};
  ::ClientToScreen(menu, &point);
  return XSession::ClickAt(point.x, point.y);
}

std::vector<COLORREF> ButtonPixelsNow(HWND dialog) {
  const RECT rect = Bounds(art::kButtonPlay);
  const skin::UniqueBitmap copy = skin::CaptureClient(dialog, rect);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < rect.bottom - rect.top; ++y) {
    for (int x = 0; x < rect.right - rect.left; ++x) pixels.push_back(skin::PixelOf(copy.get(), x, y));
  }
  return pixels;
}

// What the screen shows of the player button, pixel by pixel, with the pointer away from it: on the
// dialog's own background (a pointer moved off every window of the program is never seen to leave the
// button), once the button has drawn itself without its hover picture.
std::vector<COLORREF> PlayerButtonPixels(HWND dialog) {
  const RECT hint = Bounds(art::kHint);
  POINT away{(hint.left + hint.right) / 2, (hint.top + hint.bottom) / 2};
  ::ClientToScreen(dialog, &away);
  XSession::MoveTo(away.x, away.y);
  ::Sleep(200);
  std::vector<COLORREF> pixels = ButtonPixelsNow(dialog);
  for (int i = 0; i < 20; ++i) {
    ::Sleep(100);
    std::vector<COLORREF> again = ButtonPixelsNow(dialog);
    if (again == pixels) break;
    pixels = std::move(again);
  }
  return pixels;
}

// What a worked dialog gave, and whether act ended it: the close that ends a run act left open is a cancel,
// so a case that ends with a button expects closedByAct as well as the result.
struct DialogRun {
  std::optional<int> result;
  bool closedByAct = false;
};

// Runs the dialog on this thread from playerIndex while act(dialog) works it from another; whatever act
// leaves open is closed (a cancel), so that the run ends.
DialogRun RunWorkedBy(int playerIndex, const std::function<void(HWND)>& act) {
  DialogRun run;
  std::thread user([&] {
    const HWND dialog = FindDialog();
    ::Sleep(100);
    if (dialog != nullptr) {
      act(dialog);
      run.closedByAct = WaitForWindowGone(dialog);
    }
    if (const HWND menu = VisibleMenu()) ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    if (dialog != nullptr && ::IsWindow(dialog)) ::PostMessageA(dialog, WM_CLOSE, 0, 0);
  });
  kavo::skin::MenuClickMemory menuMemory;
  run.result = option::win32::RunMediaPlayerDialog(Module(), nullptr, playerIndex, menuMemory);
  user.join();
  return run;
}

// The player button's pixels as the dialog opened on an index shows them.
std::vector<COLORREF> ShownFor(int playerIndex) {
  std::vector<COLORREF> pixels;
  RunWorkedBy(playerIndex, [&](HWND dialog) { pixels = PlayerButtonPixels(dialog); });
  return pixels;
}

// Opens the menu, chooses an entry and ends with a button; what the run gave, whether the button ended it
// and what the player button showed just before the end.
struct Worked {
  std::optional<int> result;
  bool closedByAct = false;
  std::vector<COLORREF> shown;
};

Worked ChooseAndEnd(int playerIndex, int entry, const char* endButton, const std::string& screenshots = {}) {
  Worked worked;
  const DialogRun run = RunWorkedBy(playerIndex, [&](HWND dialog) {
    ASSERT_TRUE(ClickLayout(dialog, art::kButtonPlay));
    const HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    if (!screenshots.empty()) {
      ::Sleep(200);
      EXPECT_FALSE(XSession::Screenshot(screenshots + "-menu").empty());
    }
    ASSERT_TRUE(ClickMenuEntry(menu, entry));
    ASSERT_TRUE(WaitForNoMenu());
    worked.shown = PlayerButtonPixels(dialog);
    if (!screenshots.empty()) {
      EXPECT_FALSE(XSession::Screenshot(screenshots + "-dialog").empty());
    }
    ASSERT_TRUE(ClickLayout(dialog, endButton));
  });
  worked.result = run.result;
  worked.closedByAct = run.closedByAct;
  return worked;
}

TEST(MediaPlayerGuiTest, EachPlayerLooksDifferentOnTheButtonAndAnUnknownIndexShowsNoName) {
  const std::vector<COLORREF> blank = ShownFor(7);
  ASSERT_FALSE(blank.empty());
  std::vector<std::vector<COLORREF>> named;
  for (int index = 0; index < 4; ++index) {
    named.push_back(ShownFor(index));
    ASSERT_EQ(named.back().size(), blank.size()) << index;
    EXPECT_NE(named.back(), blank) << index;
    for (int other = 0; other < index; ++other) EXPECT_NE(named[index], named[other]) << index << " " << other;
  }
  // The name is drawn in light grey on the darker picture, so the blank button has none of its lightest.
  const auto lightest = [](const std::vector<COLORREF>& pixels) {
    int best = 0;
    for (const COLORREF pixel : pixels) best = std::max(best, GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel));
    return best;
  };
  EXPECT_GT(lightest(named[2]), lightest(blank));
}

TEST(MediaPlayerGuiTest, VlcChosenInTheMenuIsShownAndOkGivesTwo) {
  const std::vector<COLORREF> vlc = ShownFor(2);
  const Worked worked = ChooseAndEnd(0, 2, art::kButtonOk, "media-player");
  EXPECT_EQ(worked.result, std::optional<int>(2));
  EXPECT_TRUE(worked.closedByAct) << "OK left the dialog open";
  EXPECT_EQ(worked.shown, vlc);
}

TEST(MediaPlayerGuiTest, CancelAndExitGiveNothingAfterAChoice) {
  const std::vector<COLORREF> winamp = ShownFor(3);
  for (const char* end : {art::kButtonCancel, art::kButtonExit}) {
    const Worked worked = ChooseAndEnd(1, 3, end);
    EXPECT_EQ(worked.result, std::nullopt) << end;
    EXPECT_TRUE(worked.closedByAct) << end << " left the dialog open";
    EXPECT_EQ(worked.shown, winamp) << end;
  }
}

TEST(MediaPlayerGuiTest, AnUnknownIndexIsReplacedByTheChoiceAndKeptThroughOkWithout) {
  const std::vector<COLORREF> itunes = ShownFor(1);
  const Worked chosen = ChooseAndEnd(7, 1, art::kButtonOk);
  EXPECT_EQ(chosen.result, std::optional<int>(1));
  EXPECT_TRUE(chosen.closedByAct) << "OK left the dialog open";
  EXPECT_EQ(chosen.shown, itunes);
  const DialogRun kept = RunWorkedBy(7, [](HWND dialog) { ASSERT_TRUE(ClickLayout(dialog, art::kButtonOk)); });
  EXPECT_EQ(kept.result, std::optional<int>(7));
  EXPECT_TRUE(kept.closedByAct) << "OK left the dialog open";
}

TEST(MediaPlayerGuiTest, ClickingThePlayerButtonWhileItsMenuIsOpenOnlyClosesItAndTheNextClickOpensIt) {
  const DialogRun run = RunWorkedBy(0, [](HWND dialog) {
    ASSERT_TRUE(ClickLayout(dialog, art::kButtonPlay));
    ASSERT_NE(WaitForMenu(), nullptr);
    ::Sleep(200);
    ASSERT_TRUE(ClickLayout(dialog, art::kButtonPlay));
    ASSERT_TRUE(WaitForNoMenu());
    ::Sleep(500);
    EXPECT_EQ(VisibleMenu(), nullptr) << "the closing click opened the menu again";
    ASSERT_TRUE(ClickLayout(dialog, art::kButtonPlay));
    const HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr) << "the click after the closing one did not open the menu";
    ASSERT_TRUE(ClickMenuEntry(menu, 3));
    ASSERT_TRUE(WaitForNoMenu());
    ASSERT_TRUE(ClickLayout(dialog, art::kButtonOk));
  });
  EXPECT_EQ(run.result, std::optional<int>(3));
  EXPECT_TRUE(run.closedByAct) << "OK left the dialog open";
}

}  // namespace
}  // namespace kavo::wine_test
