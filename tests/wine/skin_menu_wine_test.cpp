// The skinned popup menu and the menu frame hook against the real API: a menu is shown for real and a
// driver thread works it as a user would (keys posted to the menu window, or the pointer), reading what
// the menu window shows meanwhile. Checked: the items' measures and colours, the highlight colour, the
// trademark sign, the frame rings, the command that reaches the owner, and the hook's registry and window
// properties over a menu's life and the hook's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "skin/menu_item_drawing.h"
#include "skin/menu_items.h"
#include "skin/win32/menu_frame_hook.h"
#include "skin/win32/skin_menu.h"
#include "tests/wine/skin_control_host.h"

namespace kavo::wine_test::skin {
namespace {

using kavo::skin::kMenuAccent;
using kavo::skin::kMenuHighlightText;
using kavo::skin::kMenuSeparatorCommand;
using kavo::skin::win32::FramedMenuCount;
using kavo::skin::win32::InstallMenuFrameHook;
using kavo::skin::win32::kMenuOldProcProperty;
using kavo::skin::win32::MenuFrameHook;
using kavo::skin::win32::MenuFrameHookInstalled;
using kavo::skin::win32::RemoveMenuFrameHook;
using kavo::skin::win32::SkinMenu;
using kavo::win32::UniqueDC;
using kavo::win32::UniqueFont;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr UINT kGetMenuOfWindow = 0x01E1;  // MN_GETHMENU

// ---- what the driver thread sees of a shown menu

BOOL CALLBACK CollectVisibleMenu(HWND window, LPARAM list) {
  char name[16] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32768" && ::IsWindowVisible(window)) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

// The visible popup-menu windows of a thread.
std::vector<HWND> VisibleMenuWindows(DWORD thread) {
  std::vector<HWND> found;
  ::EnumThreadWindows(thread, CollectVisibleMenu, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The window showing menu, once it is there; null after ms.
HWND WaitForMenuWindow(DWORD thread, HMENU menu, DWORD ms = 3000) {
  for (DWORD waited = 0; waited < ms; waited += 20) {
    for (const HWND window : VisibleMenuWindows(thread)) {
      DWORD_PTR shown = 0;
      if (::SendMessageTimeoutA(window, kGetMenuOfWindow, 0, 0, SMTO_ABORTIFHUNG, 500, &shown) &&
          reinterpret_cast<HMENU>(shown) == menu) {
        ::Sleep(100);  // painted
        return window;
      }
    }
    ::Sleep(20);
  }
  return nullptr;
}

// Presses a key in the menu; for the arrows, until the item at position is highlighted.
void PressInMenu(HWND menuWindow, WORD key) {
  ::PostMessageA(menuWindow, WM_KEYDOWN, key, 0);
  ::PostMessageA(menuWindow, WM_KEYUP, key, 0xC0000000);
  ::Sleep(60);
}
bool HighlightItem(HWND menuWindow, HMENU menu, int position) {
  for (int presses = 0; presses < 8; ++presses) {
    if (::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE) {
      ::Sleep(100);  // drawn
      return true;
    }
    PressInMenu(menuWindow, VK_DOWN);
  }
  return false;
}

// What a menu window shows, copied out of it (frame included).
UniqueBitmap CaptureWindow(HWND window) {
  RECT bounds{};
  ::GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  UniqueBitmap copy = MakePicture(width, height, [](int, int) { return RGB(1, 2, 3); });
  const HDC dc = ::GetWindowDC(window);
  {
    const UniqueDC target(::CreateCompatibleDC(dc));
    const kavo::win32::SelectedObject selected(target.get(), copy.get());
    ::BitBlt(target.get(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
  }
  ::ReleaseDC(window, dc);
  return copy;
}

// An item's rectangle in its menu window's coordinates.
RECT ItemRect(HWND menuWindow, HMENU menu, int position) {
  RECT item{};
  ::GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &item);
  RECT bounds{};
  ::GetWindowRect(menuWindow, &bounds);
  ::OffsetRect(&item, -bounds.left, -bounds.top);
  return item;
}

// Pixels of colour (or of any other colour) inside a rectangle of a captured picture.
std::size_t CountIn(HBITMAP picture, const RECT& area, COLORREF colour, bool same = true) {
  std::size_t count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += (PixelOf(picture, x, y) == colour) == same;
  }
  return count;
}

// Runs a script on its own thread against the menus the test thread shows; joined when it goes.
class MenuDriver {
 public:
  explicit MenuDriver(std::function<void(DWORD uiThread)> script)
      : thread_([script = std::move(script), ui = ::GetCurrentThreadId()] { script(ui); }) {}
  ~MenuDriver() { thread_.join(); }
  MenuDriver(const MenuDriver&) = delete;
  MenuDriver& operator=(const MenuDriver&) = delete;

 private:
  std::thread thread_;
};

// Samples the hook's registry on the user-interface thread while a menu runs its loop, and removes the
// hook there when asked.
std::atomic<std::size_t> sampledFramed{0};
std::atomic<bool> removeHookNow{false};
void CALLBACK SampleRegistry(HWND, UINT, UINT_PTR, DWORD) {
  sampledFramed = FramedMenuCount();
  if (removeHookNow.exchange(false)) RemoveMenuFrameHook();
}

BOOL CALLBACK CollectThreadWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Windows of a thread, children included, that still carry the frame property.
std::size_t WindowsWithFrameProperty(DWORD thread) {
  std::vector<HWND> windows;
  const WNDENUMPROC collect = CollectThreadWindow;
  ::EnumThreadWindows(thread, collect, reinterpret_cast<LPARAM>(&windows));
  const std::size_t topLevel = windows.size();
  for (std::size_t i = 0; i < topLevel; ++i) ::EnumChildWindows(windows[i], collect, reinterpret_cast<LPARAM>(&windows));
  std::size_t carrying = 0;
  for (const HWND window : windows) carrying += ::GetPropA(window, kMenuOldProcProperty) != nullptr;
  return carrying;
}

class SkinMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.Open());
    ASSERT_TRUE(font_);
    ASSERT_TRUE(hook_.installed());
    host_.Forget();
  }
  void TearDown() override {
    ReleaseLeft();
    if (timer_ != 0) ::KillTimer(nullptr, timer_);
  }
  void SampleWhileShown() { timer_ = ::SetTimer(nullptr, 0, 20, SampleRegistry); }

  std::vector<WPARAM> Commands() const { return host_.WParams(WM_COMMAND); }

  ControlHost host_{200, 100};
  UniqueFont font_{::CreateFontA(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial")};
  MenuFrameHook hook_;
  UINT_PTR timer_ = 0;
  const POINT at_{400, 300};
};

// The positions of the items of the drawing test.
constexpr int kAlpha = 0, kSeparator = 1, kHidden = 2, kBeta = 3, kGamma = 4;

TEST_F(SkinMenuTest, MeasuresAndDrawsItsItemsInTheSkinsColours) {
  SkinMenu menu(font_.get());
  ASSERT_TRUE(menu.Append(10, "Alpha"));
  ASSERT_TRUE(menu.Append(kMenuSeparatorCommand, ""));
  ASSERT_TRUE(menu.Append(1, "Hidden"));
  ASSERT_TRUE(menu.Append(20, "Beta", 1));
  ASSERT_TRUE(menu.Append(30, "Gamma", 0, 1));
  menu.SetWidth(140);

  struct Seen {
    bool shown = false, alphaSelected = false, betaSelected = false;
    RECT items[5]{};
    UniqueBitmap plain, alphaLit, betaLit;
  } seen;
  {
    const MenuDriver driver([&](DWORD ui) {
      const HWND window = WaitForMenuWindow(ui, menu.menu());
      seen.shown = window != nullptr;
      if (window == nullptr) return;
      for (int position = 0; position < 5; ++position) seen.items[position] = ItemRect(window, menu.menu(), position);
      seen.plain = CaptureWindow(window);
      seen.alphaSelected = HighlightItem(window, menu.menu(), kAlpha);
      seen.alphaLit = CaptureWindow(window);
      seen.betaSelected = HighlightItem(window, menu.menu(), kBeta);
      seen.betaLit = CaptureWindow(window);
      PressInMenu(window, VK_ESCAPE);
    });
    EXPECT_EQ(menu.Show(host_.window(), at_), 0u) << "closed without a choice";
  }
  ASSERT_TRUE(seen.shown);
  ASSERT_TRUE(seen.alphaSelected);
  ASSERT_TRUE(seen.betaSelected);

  const auto height = [&](int position) { return seen.items[position].bottom - seen.items[position].top; };
  const auto width = [&](int position) { return seen.items[position].right - seen.items[position].left; };
  EXPECT_EQ(height(kAlpha), 18);
  EXPECT_EQ(height(kSeparator), 5);
  EXPECT_EQ(height(kHidden), 0) << "measured away";
  EXPECT_EQ(height(kBeta), 18);
  for (const int position : {kSeparator, kHidden, kBeta, kGamma}) EXPECT_EQ(width(position), width(kAlpha));
  EXPECT_GE(width(kAlpha), 140);

  // Inside an item, clear of its text: the fill.
  const auto fill = [&](HBITMAP picture, int position) {
    const RECT& item = seen.items[position];
    return PixelOf(picture, item.right - 4, (item.top + item.bottom) / 2);
  };
  const RECT& separator = seen.items[kSeparator];
  const int middle = (separator.left + separator.right) / 2;
  EXPECT_EQ(PixelOf(seen.plain.get(), middle, separator.top + 2), kMenuAccent) << "the separator's line";
  EXPECT_EQ(PixelOf(seen.plain.get(), middle, separator.top), kBlack);
  EXPECT_EQ(PixelOf(seen.plain.get(), middle, separator.bottom - 1), kBlack);

  struct Look {
    const char* name;
    HBITMAP picture;
    int position;
    COLORREF fill;
    bool whiteText;
    bool highlightText;
  };
  const Look looks[] = {
      {"Alpha", seen.plain.get(), kAlpha, kBlack, true, false},
      {"Beta", seen.plain.get(), kBeta, kBlack, false, true},
      {"AlphaSelected", seen.alphaLit.get(), kAlpha, kMenuAccent, true, false},
      {"BetaSelected", seen.betaLit.get(), kBeta, kMenuAccent, false, true},
      {"AlphaAfterwards", seen.betaLit.get(), kAlpha, kBlack, true, false},
  };
  for (const Look& look : looks) {
    SCOPED_TRACE(look.name);
    EXPECT_EQ(fill(look.picture, look.position), look.fill);
    const RECT& item = seen.items[look.position];
    EXPECT_EQ(CountIn(look.picture, item, kWhite) > 0, look.whiteText);
    EXPECT_EQ(CountIn(look.picture, item, kMenuHighlightText) > 0, look.highlightText);
  }

  // "TM" after Gamma's text, nothing after Alpha's. Glyphs this small come out smoothed: anything but the
  // black fill counts.
  const UniqueDC measuring(::CreateCompatibleDC(nullptr));
  const kavo::win32::SelectedObject selected(measuring.get(), font_.get());
  SIZE alphaText{}, gammaText{};
  ::GetTextExtentPoint32A(measuring.get(), "Alpha", 5, &alphaText);
  ::GetTextExtentPoint32A(measuring.get(), "Gamma", 5, &gammaText);
  const auto after = [&](int position, LONG textWidth) {
    const RECT& item = seen.items[position];
    const LONG left = item.left + 2 + textWidth + 3;  // clear of a glyph reaching past its advance
    return CountIn(seen.plain.get(), RECT{left, item.top, left + 16, item.bottom}, kBlack, false);
  };
  EXPECT_GT(after(kGamma, gammaText.cx), 0u);
  EXPECT_EQ(after(kAlpha, alphaText.cx), 0u);

  // The frame: one accent ring, then two black ones, all around.
  BITMAP picture{};
  ::GetObjectA(seen.plain.get(), sizeof picture, &picture);
  const int right = picture.bmWidth - 1, bottom = picture.bmHeight - 1;
  const struct {
    int x, y;
    COLORREF colour;
  } rings[] = {{0, 0, kMenuAccent},         {right, bottom, kMenuAccent}, {right / 2, 0, kMenuAccent},
               {1, 1, kBlack},              {2, 2, kBlack},               {right - 1, bottom - 1, kBlack},
               {right - 2, bottom / 2, kBlack}};
  for (const auto& ring : rings) {
    EXPECT_EQ(PixelOf(seen.plain.get(), ring.x, ring.y), ring.colour) << ring.x << ", " << ring.y;
  }
}

struct ChoiceCase {
  const char* name;
  bool byPointer;
};

TEST_F(SkinMenuTest, TheChosenCommandReachesTheOwner) {
  for (const ChoiceCase& c : {ChoiceCase{"keys", false}, ChoiceCase{"pointer", true}}) {
    SCOPED_TRACE(c.name);
    host_.Forget();
    SkinMenu menu(font_.get());
    menu.Append(3201, "Windows Media Player");
    menu.Append(3202, "iTunes");
    menu.Append(3203, "VLC");
    bool shown = false;
    unsigned chosen = 0;
    {
      const MenuDriver driver([&](DWORD ui) {
        const HWND window = WaitForMenuWindow(ui, menu.menu());
        shown = window != nullptr;
        if (window == nullptr) return;
        if (c.byPointer) {
          RECT item{};
          ::GetMenuItemRect(nullptr, menu.menu(), 1, &item);
          MovePointer((item.left + item.right) / 2, (item.top + item.bottom) / 2);
          ::Sleep(100);
          PressLeft();
          ::Sleep(50);
          ReleaseLeft();
        } else {
          HighlightItem(window, menu.menu(), 1);
          PressInMenu(window, VK_RETURN);
        }
      });
      chosen = menu.Show(host_.window(), at_);
    }
    ASSERT_TRUE(shown);
    EXPECT_EQ(chosen, 3202u);
    ASSERT_TRUE(PumpUntil([&] { return !Commands().empty(); }, 2000));
    Pump(50);
    ASSERT_EQ(Commands(), std::vector<WPARAM>{3202});
    EXPECT_EQ(host_.Received(WM_COMMAND)[0].lParam, 0) << "a menu command, not a control's";
  }
}

TEST_F(SkinMenuTest, EachMenuWindowWearsTheFrameUntilItGoes) {
  SkinMenu menu(font_.get());
  menu.Append(10, "Alpha");
  auto players = std::make_unique<SkinMenu>(font_.get());
  players->Append(3301, "Winamp");
  players->Append(3302, "VLC");
  const HMENU submenu = players->menu();
  ASSERT_TRUE(menu.AppendSubmenu(3300, "Players", std::move(players)));

  // What the driver saw of one menu window.
  struct Framed {
    HWND window = nullptr;
    bool property = false;
    bool subclassed = false;
    COLORREF corner = CLR_INVALID;
  };
  const auto look = [](HWND window) {
    Framed framed;
    framed.window = window;
    if (window == nullptr) return framed;
    const HANDLE oldProc = ::GetPropA(window, kMenuOldProcProperty);
    framed.property = oldProc != nullptr;
    framed.subclassed = oldProc != reinterpret_cast<HANDLE>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
    const UniqueBitmap shown = CaptureWindow(window);
    framed.corner = PixelOf(shown.get(), 0, 0);
    return framed;
  };
  struct Seen {
    Framed root, sub;
    std::size_t framedWithBoth = 0;
    UniqueBitmap rootShown;  // with the submenu's item selected
    RECT alpha{}, players{};
  } seen;
  SampleWhileShown();
  {
    const MenuDriver driver([&](DWORD ui) {
      const HWND root = WaitForMenuWindow(ui, menu.menu());
      if (root == nullptr) return;
      HighlightItem(root, menu.menu(), 1);
      PressInMenu(root, VK_RIGHT);
      const HWND sub = WaitForMenuWindow(ui, submenu);
      ::Sleep(100);  // a sample of the registry with both open
      seen.framedWithBoth = sampledFramed;
      seen.root = look(root);
      seen.sub = look(sub);
      seen.rootShown = CaptureWindow(root);
      seen.alpha = ItemRect(root, menu.menu(), 0);
      seen.players = ItemRect(root, menu.menu(), 1);
      PressInMenu(root, VK_ESCAPE);
      PressInMenu(root, VK_ESCAPE);
    });
    EXPECT_EQ(menu.Show(host_.window(), at_), 0u);
  }
  ASSERT_NE(seen.root.window, nullptr);
  ASSERT_NE(seen.sub.window, nullptr) << "the submenu opened beside its menu";
  EXPECT_NE(seen.root.window, seen.sub.window);
  EXPECT_EQ(seen.framedWithBoth, 2u);
  for (const Framed& framed : {seen.root, seen.sub}) {
    EXPECT_TRUE(framed.property);
    EXPECT_TRUE(framed.subclassed);
    EXPECT_EQ(framed.corner, kMenuAccent);
  }
  // The submenu's arrow (icon 145 of the program's resources) at the item's right, and only inside the
  // item: the item above it stays black there.
  const auto arrowZone = [](const RECT& item) { return RECT{item.right - 19, item.top, item.right - 3, item.bottom}; };
  EXPECT_GT(CountIn(seen.rootShown.get(), arrowZone(seen.players), kMenuAccent, false), 0u);
  EXPECT_EQ(CountIn(seen.rootShown.get(), arrowZone(seen.alpha), kBlack, false), 0u);

  // Closed: both windows took their frames off.
  Pump(50);
  EXPECT_EQ(FramedMenuCount(), 0u);
  EXPECT_EQ(WindowsWithFrameProperty(::GetCurrentThreadId()), 0u);
}

TEST_F(SkinMenuTest, ItemsOpeningSubmenusAreFullItemsWhateverTheirIds) {
  // The ids that hide a command (1) or make it a separator (0, 2048) mean nothing on a submenu's item.
  constexpr unsigned kIds[] = {1, 0, kMenuSeparatorCommand};
  constexpr int kCount = 1 + static_cast<int>(std::size(kIds));
  SkinMenu menu(font_.get());
  ASSERT_TRUE(menu.Append(10, "Alpha"));
  for (const unsigned id : kIds) {
    auto events = std::make_unique<SkinMenu>(font_.get());
    events->Append(3301, "Down");
    ASSERT_TRUE(menu.AppendSubmenu(id, "Button", std::move(events)));
  }
  menu.SetWidth(140);

  struct Seen {
    bool shown = false;
    RECT items[kCount]{};
    UniqueBitmap plain;
  } seen;
  {
    const MenuDriver driver([&](DWORD ui) {
      const HWND window = WaitForMenuWindow(ui, menu.menu());
      seen.shown = window != nullptr;
      if (window == nullptr) return;
      for (int position = 0; position < kCount; ++position) {
        seen.items[position] = ItemRect(window, menu.menu(), position);
      }
      seen.plain = CaptureWindow(window);
      PressInMenu(window, VK_ESCAPE);
    });
    EXPECT_EQ(menu.Show(host_.window(), at_), 0u);
  }
  ASSERT_TRUE(seen.shown);
  for (int position = 1; position < kCount; ++position) {
    SCOPED_TRACE(position);
    const RECT& item = seen.items[position];
    EXPECT_EQ(item.bottom - item.top, 18) << "measured as an item";
    // Clear of the text and the arrow: black fill, no separator's line across the middle.
    EXPECT_EQ(PixelOf(seen.plain.get(), item.right - 30, (item.top + item.bottom) / 2), kBlack);
    EXPECT_GT(CountIn(seen.plain.get(), item, kWhite), 0u) << "its text drawn";
  }
}

TEST_F(SkinMenuTest, RemovingTheHookTakesTheFrameOffAnOpenMenu) {
  SkinMenu menu(font_.get());
  menu.Append(10, "Alpha");
  menu.Append(20, "Beta");
  struct Seen {
    bool shown = false, propertyBefore = false, propertyAfter = true, procedureBack = false;
    std::size_t framedAfter = 99;
  } seen;
  SampleWhileShown();
  {
    const MenuDriver driver([&](DWORD ui) {
      const HWND window = WaitForMenuWindow(ui, menu.menu());
      seen.shown = window != nullptr;
      if (window == nullptr) return;
      const HANDLE oldProc = ::GetPropA(window, kMenuOldProcProperty);
      seen.propertyBefore = oldProc != nullptr;
      removeHookNow = true;
      for (int waited = 0; waited < 100 && removeHookNow; ++waited) ::Sleep(20);
      ::Sleep(60);  // and one more sample
      seen.framedAfter = sampledFramed;
      seen.propertyAfter = ::GetPropA(window, kMenuOldProcProperty) != nullptr;
      seen.procedureBack = reinterpret_cast<HANDLE>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) == oldProc;
      // The menu still works without its frame.
      HighlightItem(window, menu.menu(), 1);
      PressInMenu(window, VK_RETURN);
    });
    EXPECT_EQ(menu.Show(host_.window(), at_), 20u);
  }
  ASSERT_TRUE(seen.shown);
  EXPECT_TRUE(seen.propertyBefore);
  EXPECT_FALSE(seen.propertyAfter);
  EXPECT_TRUE(seen.procedureBack);
  EXPECT_EQ(seen.framedAfter, 0u);
  EXPECT_FALSE(MenuFrameHookInstalled());
  EXPECT_EQ(WindowsWithFrameProperty(::GetCurrentThreadId()), 0u);
}

TEST_F(SkinMenuTest, TheHookIsInstalledOnceAndRemovedByItsInstaller) {
  EXPECT_TRUE(InstallMenuFrameHook()) << "already in place: nothing to do";
  {
    const MenuFrameHook second;
    EXPECT_TRUE(second.installed());
  }
  EXPECT_TRUE(MenuFrameHookInstalled()) << "the second owner did not install it, so it left it";

  // Another thread cannot take it over.
  bool elsewhere = true;
  std::thread([&] { elsewhere = InstallMenuFrameHook(); }).join();
  EXPECT_FALSE(elsewhere);

  // A menu shown and closed, then the hook removed: nothing of it is left.
  SkinMenu menu(font_.get());
  menu.Append(10, "Alpha");
  {
    const MenuDriver driver([&](DWORD ui) {
      if (const HWND window = WaitForMenuWindow(ui, menu.menu())) PressInMenu(window, VK_ESCAPE);
    });
    menu.Show(host_.window(), at_);
  }
  RemoveMenuFrameHook();
  EXPECT_FALSE(MenuFrameHookInstalled());
  EXPECT_EQ(FramedMenuCount(), 0u);
  EXPECT_EQ(WindowsWithFrameProperty(::GetCurrentThreadId()), 0u);
  EXPECT_TRUE(InstallMenuFrameHook()) << "and it can come again";
  RemoveMenuFrameHook();
}

}  // namespace
}  // namespace kavo::wine_test::skin
