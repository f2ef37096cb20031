// The skinned window's frame against the real API: window shapes from masks, cut pictures, building,
// painting, dragging by the background, Escape and Enter, and modal end codes.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "skin/win32/cut_picture.h"
#include "skin/win32/window_region.h"
#include "tests/wine/skin_test_support.h"
#include "tests/wine/skin_test_window.h"

namespace kavo::wine_test::skin {
namespace {

using kavo::skin::Rect;
using kavo::skin::win32::ApplyWindowRegion;
using kavo::skin::win32::CutPicture;
using kavo::skin::win32::kDialogTemplate;
using kavo::skin::win32::kEndCancel;
using kavo::skin::win32::kEndOk;
using kavo::skin::win32::kMainWindowTemplate;
using kavo::skin::win32::kPageTemplate;
using kavo::skin::win32::PictureSize;
using kavo::skin::win32::RegionFromMask;
using kavo::win32::UniqueRegion;

constexpr int kWidth = 200;
constexpr int kHeight = 120;

int RegionKind(HRGN region) {
  RECT box{};
  return ::GetRgnBox(region, &box);
}

// ---- shapes from masks

TEST(RegionFromMaskTest, WhiteCornersAreCutAway) {
  const UniqueBitmap mask = CornerMask(40, 30, 5);
  const UniqueRegion region = RegionFromMask(mask.get());
  ASSERT_TRUE(region);
  struct Probe {
    int x, y;
    bool inside;
  };
  for (const Probe probe : {Probe{0, 0, false}, Probe{4, 4, false}, Probe{39, 29, false}, Probe{35, 0, false},
                            Probe{5, 0, true}, Probe{0, 5, true}, Probe{20, 15, true}, Probe{39, 24, true}}) {
    EXPECT_EQ(::PtInRegion(region.get(), probe.x, probe.y) != FALSE, probe.inside) << probe.x << ", " << probe.y;
  }
  RECT box{};
  EXPECT_EQ(::GetRgnBox(region.get(), &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 40);
  EXPECT_EQ(box.bottom, 30);
}

TEST(RegionFromMaskTest, AllWhiteGivesAnEmptyRegionAndNoPictureGivesNone) {
  const UniqueBitmap white = MakePicture(16, 8, [](int, int) { return RGB(255, 255, 255); });
  const UniqueRegion empty = RegionFromMask(white.get());
  ASSERT_TRUE(empty) << "an all-white mask still gives a region: the window vanishes";
  EXPECT_EQ(RegionKind(empty.get()), NULLREGION);
  EXPECT_FALSE(RegionFromMask(nullptr));
}

// More runs than one batch holds: every batch must be united into the shape.
TEST(RegionFromMaskTest, ShapesOfManyBatchesAreUnitedWhole) {
  // Every other pixel black on 120 rows of 50: 25 runs a row, 3000 runs, two batches.
  const UniqueBitmap stripes = MakePicture(50, 120, [](int x, int) { return x % 2 == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255); });
  const UniqueRegion region = RegionFromMask(stripes.get());
  ASSERT_TRUE(region);
  UniqueRegion expected(::CreateRectRgn(0, 0, 0, 0));
  for (int x = 0; x < 50; x += 2) {
    const UniqueRegion column(::CreateRectRgn(x, 0, x + 1, 120));
    ::CombineRgn(expected.get(), expected.get(), column.get(), RGN_OR);
  }
  EXPECT_TRUE(::EqualRgn(region.get(), expected.get()));
  EXPECT_TRUE(::PtInRegion(region.get(), 48, 119)) << "the last batch's runs";
  EXPECT_FALSE(::PtInRegion(region.get(), 49, 119));
}

// ---- cut pictures

TEST(CutPictureTest, HoldsThePartUnderTheRectangle) {
  const UniqueBitmap source = MarkedPicture(60, 40, kNormalMark);
  const UniqueBitmap cut = CutPicture(source.get(), Rect{10, 5, 30, 17});
  ASSERT_TRUE(cut);
  EXPECT_EQ(PictureSize(cut.get()), (kavo::skin::Extent{20, 12}));
  EXPECT_EQ(PixelOf(cut.get(), 0, 0), RGB(10, 5, kNormalMark));
  EXPECT_EQ(PixelOf(cut.get(), 19, 11), RGB(29, 16, kNormalMark));
  EXPECT_EQ(PixelOf(cut.get(), 7, 3), RGB(17, 8, kNormalMark));
}

TEST(CutPictureTest, BeyondTheSourceIsBlack) {
  const UniqueBitmap source = MarkedPicture(60, 40, kNormalMark);
  const UniqueBitmap cut = CutPicture(source.get(), Rect{50, 30, 70, 50});
  ASSERT_TRUE(cut);
  EXPECT_EQ(PixelOf(cut.get(), 9, 9), RGB(59, 39, kNormalMark));
  EXPECT_EQ(PixelOf(cut.get(), 10, 9), RGB(0, 0, 0));
  EXPECT_EQ(PixelOf(cut.get(), 9, 10), RGB(0, 0, 0));
}

TEST(CutPictureTest, NothingFromNoSourceOrAnEmptyRectangle) {
  const UniqueBitmap source = MarkedPicture(60, 40, kNormalMark);
  EXPECT_FALSE(CutPicture(nullptr, Rect{0, 0, 10, 10}));
  EXPECT_FALSE(CutPicture(source.get(), Rect{10, 10, 10, 20})) << "zero wide (the hidden tabs)";
  EXPECT_FALSE(CutPicture(source.get(), Rect{10, 10, 20, 10})) << "zero high";
  EXPECT_FALSE(CutPicture(source.get(), Rect{20, 10, 10, 20})) << "negative";
}

// ---- building and painting

class SkinDialogTest : public ::testing::Test {
 protected:
  void TearDown() override { Pump(50); }
};

TEST_F(SkinDialogTest, TakesTheBackgroundsSizeAndTheMasksShapeAndKeepsOnlyMaskAndBackground) {
  TestWindow dialog(kDialogTemplate, kWidth, kHeight, {{"OK,20,80,50,20,Take it"}});
  ASSERT_TRUE(dialog.Create(nullptr));
  const HWND window = dialog.window();
  RECT bounds{};
  ::GetWindowRect(window, &bounds);
  EXPECT_EQ(bounds.left, 0);
  EXPECT_EQ(bounds.top, 0);
  EXPECT_EQ(bounds.right, kWidth);
  EXPECT_EQ(bounds.bottom, kHeight);
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, kWidth) << "no frame, no caption";

  const UniqueRegion shape(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(window, shape.get()), ERROR);
  EXPECT_FALSE(::PtInRegion(shape.get(), 1, 1));
  EXPECT_FALSE(::PtInRegion(shape.get(), kWidth - 2, kHeight - 2));
  EXPECT_TRUE(::PtInRegion(shape.get(), kWidth / 2, kHeight / 2));

  for (HBITMAP state : dialog.statePictures) {
    EXPECT_EQ(::GetObjectType(state), 0u) << "the whole-window state pictures are let go after building";
  }
  EXPECT_EQ(::GetObjectType(dialog.givenMask), static_cast<DWORD>(OBJ_BITMAP));
  EXPECT_EQ(::GetObjectType(dialog.givenBackground), static_cast<DWORD>(OBJ_BITMAP));
  EXPECT_EQ(dialog.StateSources().normal, nullptr);

  ASSERT_EQ(dialog.buttons.size(), 1u);
  const HWND ok = dialog.buttons[0]->window();
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(::GetDlgCtrlID(ok), 0);
  EXPECT_EQ(dialog.buttons[0]->helpText(), "Take it");
  RECT okBounds{};
  ::GetWindowRect(ok, &okBounds);
  EXPECT_EQ(okBounds.left, 20);
  EXPECT_EQ(okBounds.top, 80);
  EXPECT_EQ(okBounds.right, 70);
  EXPECT_EQ(okBounds.bottom, 100);
  EXPECT_EQ(::GetWindowLongPtrA(ok, GWL_STYLE) & (WS_TABSTOP | WS_BORDER), 0);

  ::DestroyWindow(window);
  EXPECT_EQ(dialog.window(), nullptr);
  EXPECT_EQ(::GetObjectType(dialog.givenMask), 0u) << "pictures go with the window";
  EXPECT_EQ(::GetObjectType(dialog.givenBackground), 0u);
}

// Layout strings are fixed in the program: a broken one must not stop the window or its code, which sets
// up every button it added alike.
TEST_F(SkinDialogTest, ABrokenLayoutGivesAWindowlessButtonAndTheRestIsBuilt) {
  TestWindow dialog(kDialogTemplate, kWidth, kHeight, {{"OK,20,80,50,20,Take it"}, {"no numbers here"}});
  ASSERT_TRUE(dialog.Create(nullptr));
  ASSERT_EQ(dialog.buttons.size(), 2u);
  ASSERT_NE(dialog.buttons[0]->window(), nullptr);
  EXPECT_EQ(::GetParent(dialog.buttons[0]->window()), dialog.window());
  BitmapButton& broken = *dialog.buttons[1];
  EXPECT_EQ(broken.window(), nullptr);
  broken.SetChecked(true);
  broken.SetCaption("Apply");
  broken.SetHelpText("Nothing shows this");
  EXPECT_TRUE(broken.checked()) << "a windowless button keeps what it is given";
  EXPECT_EQ(broken.tooltip(), nullptr);
  int children = 0;
  for (HWND child = ::GetWindow(dialog.window(), GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    ++children;
  }
  EXPECT_EQ(children, 1) << "only the button with a place has a window";
}

TEST_F(SkinDialogTest, PaintsBackgroundTextsAndButtonsInOneGo) {
  TestWindow dialog(kDialogTemplate, kWidth, kHeight, {{"OK,20,80,50,20,"}});
  ASSERT_TRUE(dialog.Create(nullptr));
  const HWND window = dialog.window();
  ::MoveWindow(window, 30, 40, kWidth, kHeight, FALSE);
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  ::UpdateWindow(window);
  Pump(100);
  EXPECT_GT(dialog.paintedTexts, 0);
  EXPECT_EQ(ScreenPixel(window, 100, 30), RGB(100, 30, kBackgroundMark));
  EXPECT_EQ(ScreenPixel(window, 155, 15), dialog.textColour) << "the window's own texts over the background";
  EXPECT_EQ(ScreenPixel(window, 25, 85), RGB(25, 85, kNormalMark)) << "the button's cut-out of the normal picture";
  // The corners are not the window's: whatever lies behind shows there.
  EXPECT_NE(::WindowFromPoint(OnScreen(window, 1, 1)), window);
  EXPECT_EQ(::WindowFromPoint(OnScreen(window, 10, 10)), window);

  // Erasing is reported done and leaves the picture alone: the paint covers everything.
  const kavo::win32::UniqueDC canvas(::CreateCompatibleDC(nullptr));
  const UniqueBitmap picture = MakePicture(kWidth, kHeight, [](int, int) { return RGB(1, 2, 3); });
  const kavo::win32::SelectedObject selected(canvas.get(), picture.get());
  EXPECT_NE(::SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.get()), 0), 0);
  EXPECT_EQ(::GetPixel(canvas.get(), 50, 50), RGB(1, 2, 3));
  ::DestroyWindow(window);
}

// ---- keys

// Counts the key-downs of Escape and Enter this thread takes from its queue, wherever they go after.
class KeyWatch {
 public:
  KeyWatch() : hook_(::SetWindowsHookExA(WH_GETMESSAGE, Watch, nullptr, ::GetCurrentThreadId())) { seen_ = 0; }
  int seen() const { return seen_; }

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_KEYDOWN &&
        (message->wParam == VK_ESCAPE || message->wParam == VK_RETURN)) {
      ++seen_;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline int seen_ = 0;
  kavo::win32::UniqueHook hook_;
};

bool DialogCommand(const ReceivedMessage& message) {
  return message.message == WM_COMMAND && message.lParam == 0 &&
         (LOWORD(message.wParam) == IDOK || LOWORD(message.wParam) == IDCANCEL);
}

TEST_F(SkinDialogTest, EscapeAndEnterDoNotCloseAModalDialog) {
  TestWindow dialog(kDialogTemplate, kWidth, kHeight,
                    {{"OK,20,80,50,20,", kEndOk}, {"Other,100,80,50,20,"}});
  KeyWatch keys;
  std::atomic<bool> openAfterKeys{false};
  std::thread driver([&] {
    HWND window = nullptr;
    for (int i = 0; i < 200 && (window = dialog.shown.load()) == nullptr; ++i) ::Sleep(10);
    ::Sleep(200);
    // A click on a button that does not close gives it the focus, where the dialog manager looks for
    // the keys' meaning.
    const POINT other = OnScreen(window, 120, 90);
    MovePointer(other.x, other.y);
    ::Sleep(100);
    PressLeft();
    ReleaseLeft();
    ::Sleep(200);
    TypeKey(VK_ESCAPE);
    TypeKey(VK_RETURN);
    ::Sleep(400);
    openAfterKeys = ::IsWindowVisible(window) != FALSE;
    const POINT ok = OnScreen(window, 40, 90);
    MovePointer(ok.x, ok.y);
    ::Sleep(100);
    PressLeft();
    ReleaseLeft();
  });
  const INT_PTR code = dialog.RunModal(nullptr);
  driver.join();
  EXPECT_TRUE(openAfterKeys);
  EXPECT_EQ(code, kEndOk);
  EXPECT_EQ(keys.seen(), 2) << "both keys reached the dialog's thread";
  EXPECT_EQ(dialog.clicked, (std::vector<int>{1, 0}));
  for (const auto& message : dialog.received) EXPECT_FALSE(DialogCommand(message)) << "IDOK or IDCANCEL from a key";
}

TEST_F(SkinDialogTest, EscapeAndEnterDoNotReachAModelessWindowsDialogManager) {
  TestWindow dialog(kDialogTemplate, kWidth, kHeight, {{"Other,100,80,50,20,"}});
  ASSERT_TRUE(dialog.Create(nullptr));
  const HWND window = dialog.window();
  ::ShowWindow(window, SW_SHOW);
  ::SetForegroundWindow(window);
  ::SetFocus(dialog.buttons[0]->window());
  Pump(100);
  KeyWatch keys;
  TypeKey(VK_ESCAPE);
  TypeKey(VK_RETURN);
  // The loop a modeless window's owner runs: the dialog manager has its turn before dispatching.
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 2000 && keys.seen() < 2) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!::IsDialogMessageA(window, &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
      }
    }
    ::Sleep(5);
  }
  EXPECT_EQ(keys.seen(), 2);
  EXPECT_TRUE(::IsWindow(window));
  for (const auto& message : dialog.received) EXPECT_FALSE(DialogCommand(message)) << "IDOK or IDCANCEL from a key";
  ::DestroyWindow(window);
}

// ---- modal runs

TEST_F(SkinDialogTest, AModalRunGivesTheEndCodeOfTheButtonThatEndedIt) {
  struct Case {
    int button;
    INT_PTR code;
  };
  for (const Case c : {Case{0, kEndOk}, Case{1, kEndCancel}}) {
    TestWindow dialog(kDialogTemplate, kWidth, kHeight, {{"OK,20,80,50,20,", kEndOk}, {"Cancel,100,80,50,20,", kEndCancel}});
    std::thread driver([&] {
      HWND window = nullptr;
      for (int i = 0; i < 200 && (window = dialog.shown.load()) == nullptr; ++i) ::Sleep(10);
      ::Sleep(200);
      const POINT target = OnScreen(window, c.button == 0 ? 40 : 120, 90);
      MovePointer(target.x, target.y);
      ::Sleep(100);
      PressLeft();
      ReleaseLeft();
    });
    EXPECT_EQ(dialog.RunModal(nullptr), c.code);
    driver.join();
    EXPECT_EQ(dialog.window(), nullptr);
  }
}

TEST_F(SkinDialogTest, ClosingAModalDialogCancelsIt) {
  TestWindow dialog(kDialogTemplate, kWidth, kHeight, {{"OK,20,80,50,20,", kEndOk}});
  dialog.extraBuild = [](TestWindow& self) { ::PostMessageA(self.window(), WM_CLOSE, 0, 0); };
  EXPECT_EQ(dialog.RunModal(nullptr), kEndCancel);
}

// ---- dragging

// Presses the left button at from (screen), moves it by (dx, dy) in steps and lets go, from another
// thread: the window's move runs a loop of its own on the test thread.
void DragOnScreen(POINT from, int dx, int dy, std::atomic<bool>& done) {
  MovePointer(from.x, from.y);
  ::Sleep(100);
  PressLeft();
  ::Sleep(100);
  for (int step = 1; step <= 5; ++step) {
    MovePointer(from.x + dx * step / 5, from.y + dy * step / 5);
    ::Sleep(60);
  }
  ReleaseLeft();
  ::Sleep(100);
  done = true;
}

TEST_F(SkinDialogTest, DraggingTheBackgroundMovesTheDialog) {
  TestWindow dialog(kDialogTemplate, kWidth, kHeight, {{"OK,20,80,50,20,"}});
  ASSERT_TRUE(dialog.Create(nullptr));
  const HWND window = dialog.window();
  ::MoveWindow(window, 50, 60, kWidth, kHeight, FALSE);
  ::ShowWindow(window, SW_SHOW);
  ::SetForegroundWindow(window);
  Pump(100);
  std::atomic<bool> done{false};
  std::thread driver(DragOnScreen, OnScreen(window, 150, 50), 70, 40, std::ref(done));
  PumpUntil([&] { return done.load(); }, 5000);
  driver.join();
  Pump(100);
  RECT bounds{};
  ::GetWindowRect(window, &bounds);
  EXPECT_EQ(bounds.left, 120);
  EXPECT_EQ(bounds.top, 100);
  ::DestroyWindow(window);
}

TEST_F(SkinDialogTest, DraggingAPagesBackgroundMovesTheWindowItSitsIn) {
  TestWindow main(kMainWindowTemplate, kWidth, kHeight);
  ASSERT_TRUE(main.Create(nullptr));
  TestWindow page(kPageTemplate, 100, 60, {{"Button,10,10,30,20,"}});
  ASSERT_TRUE(page.Create(main.window()));
  EXPECT_TRUE(page.IsPage());
  EXPECT_EQ(::GetParent(page.window()), main.window());
  ::MoveWindow(page.window(), 40, 30, 100, 60, FALSE);
  ::ShowWindow(page.window(), SW_SHOW);
  ::MoveWindow(main.window(), 50, 60, kWidth, kHeight, FALSE);
  ::ShowWindow(main.window(), SW_SHOW);
  ::SetForegroundWindow(main.window());
  Pump(100);
  std::atomic<bool> done{false};
  std::thread driver(DragOnScreen, OnScreen(page.window(), 70, 40), -30, 50, std::ref(done));
  PumpUntil([&] { return done.load(); }, 5000);
  driver.join();
  Pump(100);
  RECT bounds{};
  ::GetWindowRect(main.window(), &bounds);
  EXPECT_EQ(bounds.left, 20);
  EXPECT_EQ(bounds.top, 110);
  RECT pageBounds{};
  ::GetWindowRect(page.window(), &pageBounds);
  EXPECT_EQ(pageBounds.left, 60) << "the page moved with its window";
  EXPECT_EQ(pageBounds.top, 140);
  ::DestroyWindow(main.window());
  EXPECT_EQ(page.window(), nullptr) << "a page goes with its window";
}

}  // namespace
}  // namespace kavo::wine_test::skin
