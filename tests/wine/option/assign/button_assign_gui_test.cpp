// The button assignment page window with the program's pictures over a real working record and macro
// library, worked with real X input from a second thread while the test's thread runs the page (the
// function menu and the dialogs it opens are modal there): a function chosen in a slot's menu, the second
// click that only closes the menu, the orientation backgrounds, the hover pictures, and a key shortcut
// captured by the real key shortcut dialog, also when the menu item is chosen with Return.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "artwork/button_assign_page.h"
#include "artwork/button_assign_page_left.h"
#include "artwork/key_shortcut_dialog.h"
#include "option/assign/button_assign_page.h"
#include "option/macros/macro_library.h"
#include "option/macros/macro_store.h"
#include "option/common/program_path_browse.h"
#include "option/assign/win32/button_assign_page_window.h"
#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "settings/language.h"
#include "settings/settings_record.h"
#include "settings/win32/win32_file_system.h"
#include "settings/win32/win32_keyboard_layout.h"
#include "skin/layout.h"
#include "tests/wine/skin_control_host.h"
#include "tests/wine/temp_folder.h"
#include "tests/wine/x_session.h"
#include "tests/wine/window_readback.h"

namespace kavo::wine_test {
namespace {

namespace art = artwork::button_assign_page;
using option::ButtonAssignPage;
using option::HelpLibrary;
using option::MacroStore;
using option::MacroStoreLibrary;
using option::MacroStorePort;
using option::win32::ButtonAssignPageWindow;
using option::win32::Win32ButtonAssignDialogs;
using skin::ControlHost;
using skin::Pump;
using skin::PumpUntil;

constexpr int kPageLeft = 10, kPageTop = 10;
constexpr int kDeviceA = 4, kDeviceB = 5;  // the device key codes of A and B
constexpr int kSlot = 5;     // wheel up: a slot with a menu and no Altlayer submenu

class FakeHelp : public HelpLibrary {
 public:
  std::string Text(int stringNumber) const override {
    const auto found = texts.find(stringNumber);
    return found != texts.end() ? found->second : std::string();
  }
  std::map<int, std::string> texts;
};

bool WaitForNoMenu(DWORD ms = 3000) {
  return WaitForWindow([] { return VisibleMenu() == nullptr ? ::GetDesktopWindow() : HWND{}; }, ms) != nullptr;
}

HMENU MenuOf(HWND menuWindow) { return reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0)); }

// The screen centre of a menu's item at a position.
std::optional<POINT> ItemCentre(HMENU menu, int position) {
  RECT rect{};
  if (menu == nullptr || !::GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &rect)) return std::nullopt;
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The screen centre of the item of a menu window's menu with a command id.
std::optional<POINT> CommandCentre(HWND menuWindow, unsigned commandId) {
  const HMENU menu = MenuOf(menuWindow);
  for (int position = 0; menu != nullptr && position < ::GetMenuItemCount(menu); ++position) {
    if (::GetMenuItemID(menu, position) == commandId) return ItemCentre(menu, position);
  }
  return std::nullopt;
}

// How many pixels of a menu item show the highlight text colour; -1 when the item has no place.
int ItemHighlightPixels(HMENU menu, int position) {
  RECT rect{};
  if (!::GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &rect)) return -1;
  return HighlightPixels(rect);
}

HWND FindKeyShortcutDialog() {
  return WaitForWindow([] {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, MAKEINTATOM(32770), nullptr)) != nullptr) {
      RECT bounds{};
      if (::IsWindowVisible(window) && ::GetWindowRect(window, &bounds) &&
          bounds.right - bounds.left == artwork::key_shortcut_dialog::kWidth &&
          bounds.bottom - bounds.top == artwork::key_shortcut_dialog::kHeight) {
        return window;
      }
    }
    return HWND{};
  });
}

class ButtonAssignGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetToDefaults(*record_, kEnglish);
    ASSERT_GE(record_->CurrentProfile, 0);
    ASSERT_TRUE(host_.Open());
    dialogs_.SetOwner(host_.window());
    window_ = std::make_unique<ButtonAssignPageWindow>(::GetModuleHandleA(nullptr), page_, menus_, help_,
                                                       kavo::skin::Point{kPageLeft, kPageTop});
    ASSERT_TRUE(window_->Create(host_.window()));
    ::ShowWindow(window_->window(), SW_SHOW);
    window_->Refresh();
    PointerAway();
  }
  void TearDown() override {
    if (const HWND menu = VisibleMenu()) ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump(50);
    window_.reset();
  }

  ProfileRecord& Active() { return record_->profiles[record_->CurrentProfile]; }
  HWND page() const { return window_->window(); }

  POINT Centre(const char* layout) const {
    const auto r = kavo::skin::LayoutBounds(layout);
    return skin::OnScreen(page(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  POINT SlotCentre(int slot) const {
    RECT r{};
    ::GetWindowRect(window_->slotButton(slot)->window(), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // Clicks the slot and waits for its function menu: the menu's window, or null when none showed.
  HWND ClickSlotForMenu(int slot) const {
    if (!XSession::ClickAt(SlotCentre(slot).x, SlotCentre(slot).y)) return nullptr;
    const HWND menu = WaitForWindow(VisibleMenu, 3000);
    if (menu != nullptr) ::Sleep(150);  // its items are placed before they are measured
    return menu;
  }
  // The screen centre of a command in the slot's menu, opened with a click; none when either did not show.
  std::optional<POINT> SlotMenuCommand(int slot, unsigned command) const {
    const HWND menu = ClickSlotForMenu(slot);
    return menu != nullptr ? CommandCentre(menu, command) : std::nullopt;
  }
  // The pointer on the test window below the page, where nothing lights up.
  void PointerAway() {
    const POINT below = skin::OnScreen(host_.window(), 400, 334);
    XSession::MoveTo(below.x, below.y);
    Pump(200);
  }

  // Runs act on a second thread while this one handles the page's messages (and any menu or dialog the
  // page runs modally); whatever act leaves open is closed so that the page returns.
  void WorkedBy(const std::function<void()>& act) {
    std::atomic<bool> done{false};
    std::thread user([&] {
      act();
      if (const HWND menu = VisibleMenu()) ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      done = true;
    });
    const bool finished = PumpUntil([&] { return done.load(); }, 60000);
    user.join();
    ASSERT_TRUE(finished);
    Pump(150);
  }

  // Of the pixels where a hover picture differs from the page background it stands on, the share the
  // screen shows as the hover picture does.
  double ShareShownAsHover(int hover, int background, const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    const skin::Pixels picture = skin::PicturePixels(hover, width, height);
    const skin::Pixels page = skin::PicturePixels(background, art::kWidth, art::kHeight);
    const skin::UniqueBitmap shown = skin::CaptureClient(this->page(), area);
    int differing = 0, same = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (picture.At(x, y) == page.At(area.left + x, area.top + y)) continue;
        ++differing;
        if (skin::PixelOf(shown.get(), x, y) == picture.At(x, y)) ++same;
      }
    }
    return differing > 0 ? static_cast<double>(same) / differing : 0.0;
  }

  // Of the pixels of a page rectangle where two page pictures differ, the share the screen shows as the
  // first shows them.
  double ShareShownAsFirstOf(int first, int second, const RECT& area) {
    const skin::Pixels one = skin::PicturePixels(first, art::kWidth, art::kHeight);
    const skin::Pixels other = skin::PicturePixels(second, art::kWidth, art::kHeight);
    const skin::UniqueBitmap shown = skin::CaptureClient(page(), area);
    int differing = 0, same = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if (one.At(x, y) == other.At(x, y)) continue;
        ++differing;
        if (skin::PixelOf(shown.get(), x - area.left, y - area.top) == one.At(x, y)) ++same;
      }
    }
    return differing > 0 ? static_cast<double>(same) / differing : 0.0;
  }

  std::vector<int> VisibleHoverPictures() const {
    std::vector<int> shown;
    for (int index = 0; index < option::kHoverPictureCount; ++index) {
      if (::IsWindowVisible(window_->hoverPicture(index))) shown.push_back(index);
    }
    return shown;
  }

  std::unique_ptr<SettingsRecord> record_ = std::make_unique<SettingsRecord>();
  win32::Win32KeyboardLayout layout_;
  TempFolder folder_;
  win32::Win32FileSystem files_;
  IniFileAccess access_{files_};
  MacroStore store_;
  MacroStoreLibrary library_{store_, access_, folder_.path()};
  MacroStorePort& port_ = library_;
  kavo::skin::MenuClickMemory menus_;
  Win32ButtonAssignDialogs dialogs_{::GetModuleHandleA(nullptr), library_, menus_};
  ButtonAssignPage page_{*record_, layout_, port_, dialogs_};
  FakeHelp help_;
  ControlHost host_{800, 344};
  std::unique_ptr<ButtonAssignPageWindow> window_;
};

constexpr RECT kNormalFigure{191, 40, 350, 215};
constexpr RECT kAltlayerFigure{582, 40, 741, 215};

TEST_F(ButtonAssignGuiTest, APlainFunctionChosenInTheMenuReplacesTheSlotsMacroAndMarksItChanged) {
  MacroKeyInfo& entry = Active().buttons[kSlot];
  entry.function = kFunctionMacro;
  CopyBounded(entry.macroSetName, "Raid");
  CopyBounded(entry.macroName, "Pull");
  entry.eventCount = 2;
  entry.repeatCount = 3;
  entry.events[1].key = 9;
  window_->Refresh();
  ASSERT_EQ(page_.View().slots[kSlot].label, "Pull");
  const int profile = record_->CurrentProfile;
  WorkedBy([&] {
    const std::optional<POINT> item = SlotMenuCommand(kSlot, 1007);  // IE Forward
    ASSERT_TRUE(item.has_value());
    ASSERT_TRUE(XSession::ClickAt(item->x, item->y));
    ASSERT_TRUE(WaitForNoMenu());
  });
  EXPECT_EQ(entry.function, 7);
  EXPECT_EQ(entry.slot, kSlot) << "the slot index is never written";
  EXPECT_EQ(std::string(entry.macroSetName), "");
  EXPECT_EQ(std::string(entry.macroName), "");
  EXPECT_EQ(entry.eventCount, 0);
  EXPECT_EQ(entry.repeatCount, 0);
  EXPECT_EQ(entry.events[1].key, 0);
  EXPECT_EQ(record_->ButtonChanged[profile][kSlot], 1);
  for (int other = 0; other < kButtonSlotCount; ++other) {
    if (other != kSlot) {
      EXPECT_EQ(record_->ButtonChanged[profile][other], 0) << other;
    }
  }
  EXPECT_EQ(page_.View().slots[kSlot].label, "IE Forward");
  EXPECT_FALSE(window_->slotButton(kSlot)->checked()) << "the button shows unpressed once the menu is gone";
}

TEST_F(ButtonAssignGuiTest, ASecondClickOnTheOpenMenusButtonOnlyClosesItAndTheNextClickOpensIt) {
  const MacroKeyInfo before = Active().buttons[kSlot];
  bool reopened = true, openedAgain = false, pressedWhileOpen = false;
  WorkedBy([&] {
    const POINT at = SlotCentre(kSlot);
    ASSERT_TRUE(XSession::ClickAt(at.x, at.y));
    ASSERT_NE(WaitForWindow(VisibleMenu, 3000), nullptr);
    ::Sleep(200);
    pressedWhileOpen = window_->slotButton(kSlot)->checked();
    ASSERT_TRUE(XSession::ClickAt(at.x, at.y));
    ASSERT_TRUE(WaitForNoMenu());
    ::Sleep(600);
    reopened = VisibleMenu() != nullptr;
    ASSERT_TRUE(XSession::ClickAt(at.x, at.y));
    openedAgain = WaitForWindow(VisibleMenu, 3000) != nullptr;
    if (const HWND menu = VisibleMenu()) ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitForNoMenu());
  });
  EXPECT_TRUE(pressedWhileOpen) << "the slot button shows pressed while its menu is open";
  EXPECT_FALSE(reopened) << "the closing click opened the menu again";
  EXPECT_TRUE(openedAgain) << "the click after the closing one did not open the menu";
  EXPECT_EQ(std::memcmp(&before, &Active().buttons[kSlot], sizeof before), 0);
  EXPECT_EQ(record_->ButtonChanged[record_->CurrentProfile][kSlot], 0);
}

TEST_F(ButtonAssignGuiTest, AQuicklaunchSlotsTooltipHoldsTheWholePathAndItsLabelTheFileName) {
  const std::string path = "\\\\server\\share\\tools\\app.exe";
  help_.texts[option::win32::kNormalSlotHelp] = "Click to assign a function";
  window_->ReloadHelpTexts();
  Active().buttons[kSlot].function = kFunctionQuicklaunch;
  CopyBounded(Active().buttons[kSlot].programPath, path);
  window_->Refresh();
  const kavo::skin::win32::BitmapButton& button = *window_->slotButton(kSlot);
  ASSERT_NE(button.tooltip(), nullptr);
  EXPECT_EQ(TooltipText(button.tooltip(), button.window()), path);
  EXPECT_EQ(page_.View().slots[kSlot].label, "app.exe");
  EXPECT_EQ(button.helpText(), "Click to assign a function") << "the help line keeps the slot's help";

  // Another function gives the tooltip back its help text.
  Active().buttons[kSlot].function = kFunctionClick;
  window_->Refresh();
  EXPECT_EQ(TooltipText(button.tooltip(), button.window()), "Click to assign a function");
}

TEST_F(ButtonAssignGuiTest, SlotsWithoutAMenuOpenNone) {
  // Slots 0 and 1, and an Altlayer slot while no side button carries Altlayer[+].
  Active().buttons[3].function = kFunctionClick;
  for (int slot = option::kAltlayerFirstSlot; slot < kButtonSlotCount; ++slot) Active().buttons[slot].function = kFunctionNone;
  window_->Refresh();
  for (const int slot : {0, 1, 9}) {
    SCOPED_TRACE(slot);
    bool opened = true;
    WorkedBy([&] {
      ASSERT_TRUE(XSession::ClickAt(SlotCentre(slot).x, SlotCentre(slot).y));
      opened = WaitForWindow(VisibleMenu, 800) != nullptr;
    });
    EXPECT_FALSE(opened);
  }
}

TEST_F(ButtonAssignGuiTest, TheOrientationButtonsSwitchTheBackgroundAndThePressedButton) {
  const int right = art::kBackgroundPicture, left = artwork::button_assign_page_left::kBackgroundPicture;
  Active().Orientation = 0;
  window_->Refresh();
  Pump(200);
  EXPECT_GT(ShareShownAsFirstOf(right, left, kNormalFigure), 0.95);
  EXPECT_FALSE(XSession::Screenshot("button-assign-right").empty());

  struct Step {
    const char* button;  // the orientation button clicked
    int orientation;
    int shown, hidden;       // the background pictures expected in front and not
    const char* screenshot;  // null: none
  };
  const Step steps[] = {{art::kLeft, 1, left, right, "button-assign-left"}, {art::kRight, 0, right, left, nullptr}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.button);
    WorkedBy([&] { ASSERT_TRUE(XSession::ClickAt(Centre(step.button).x, Centre(step.button).y)); });
    PointerAway();
    EXPECT_EQ(Active().Orientation, step.orientation);
    EXPECT_EQ(window_->shownBackground(), step.orientation);
    EXPECT_EQ(window_->leftButton()->checked(), step.orientation == 1);
    EXPECT_EQ(window_->rightButton()->checked(), step.orientation == 0);
    EXPECT_GT(ShareShownAsFirstOf(step.shown, step.hidden, kNormalFigure), 0.95);
    EXPECT_GT(ShareShownAsFirstOf(step.shown, step.hidden, kAltlayerFigure), 0.95);
    if (step.screenshot != nullptr) {
      EXPECT_FALSE(XSession::Screenshot(step.screenshot).empty());
    }
  }
}

TEST_F(ButtonAssignGuiTest, PointingAtASlotShowsItsHoverPictureAndLeavingHidesIt) {
  // The default profile: Altlayer[+] on input 4 (slot 3) only, right-handed.
  struct Case {
    const char* name;
    int orientation;
    int slot;
    int picture;
    RECT place;
  };
  const Case cases[] = {
      {"wheel button, right-handed", 0, 2, 2, kNormalFigure},
      {"wheel button, left-handed", 1, 2, 9, kNormalFigure},
      {"Altlayer copy of the right button, layer on input 4", 0, 8, 15, kAltlayerFigure},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Active().Orientation = c.orientation;
    window_->Refresh();
    EXPECT_TRUE(VisibleHoverPictures().empty());
    XSession::MoveTo(SlotCentre(c.slot).x, SlotCentre(c.slot).y);
    EXPECT_TRUE(PumpUntil([&] { return !VisibleHoverPictures().empty(); }, 2000));
    EXPECT_EQ(VisibleHoverPictures(), std::vector<int>{c.picture});
    Pump(150);
    const int background = c.orientation == 1 ? artwork::button_assign_page_left::kBackgroundPicture : art::kBackgroundPicture;
    EXPECT_GT(ShareShownAsHover(art::kMouseHover0 + c.picture, background, c.place), 0.95);
    PointerAway();
    EXPECT_TRUE(PumpUntil([&] { return VisibleHoverPictures().empty(); }, 2000));
  }
}

TEST_F(ButtonAssignGuiTest, AssignAShortcutTakesTheKeyFromTheShortcutDialogAndTheSlotShowsIt) {
  const int profile = record_->CurrentProfile;
  const skin::UniqueBitmap labelBefore = skin::CaptureClient(window_->slotButton(kSlot)->window(), RECT{0, 0, 159, 19});
  bool dialogSeen = false;
  WorkedBy([&] {
    const std::optional<POINT> item = SlotMenuCommand(kSlot, 1005);  // Assign a Shortcut
    ASSERT_TRUE(item.has_value());
    ASSERT_TRUE(XSession::ClickAt(item->x, item->y));
    const HWND dialog = FindKeyShortcutDialog();
    ASSERT_NE(dialog, nullptr);
    dialogSeen = true;
    ::Sleep(300);
    const auto click = [&](const char* layout) {
      const auto r = kavo::skin::LayoutBounds(layout);
      RECT bounds{};
      ::GetWindowRect(dialog, &bounds);
      ASSERT_TRUE(XSession::ClickAt(bounds.left + (r.left + r.right) / 2, bounds.top + (r.top + r.bottom) / 2));
      ::Sleep(150);
    };
    click(artwork::key_shortcut_dialog::kCtrl);
    ASSERT_TRUE(XSession::XDo("key a"));
    ::Sleep(300);
    click(artwork::key_shortcut_dialog::kButtonOk);
    WaitForWindow([&] { return ::IsWindow(dialog) ? HWND{} : ::GetDesktopWindow(); }, 3000);
  });
  EXPECT_TRUE(dialogSeen);
  const MacroKeyInfo& entry = Active().buttons[kSlot];
  EXPECT_EQ(entry.function, kFunctionKeyShortcut);
  EXPECT_EQ(entry.eventCount, 1);
  EXPECT_EQ(entry.events[0].key, kDeviceA);
  EXPECT_EQ(entry.events[0].action, 0x04);  // Ctrl
  EXPECT_EQ(record_->ButtonChanged[profile][kSlot], 1);
  EXPECT_EQ(page_.View().slots[kSlot].label, "Ctrl+A");
  PointerAway();
  const skin::UniqueBitmap labelAfter = skin::CaptureClient(window_->slotButton(kSlot)->window(), RECT{0, 0, 159, 19});
  int differing = 0;
  for (int y = 0; y < 19; ++y) {
    for (int x = 0; x < 159; ++x) {
      if (skin::PixelOf(labelBefore.get(), x, y) != skin::PixelOf(labelAfter.get(), x, y)) ++differing;
    }
  }
  EXPECT_GT(differing, 20) << "the slot button still shows its old label";
}

// Return chooses Assign a Shortcut and is still down while the dialog opens: the dialog leaves it alone,
// the system sees it come up, and the key pressed next is the shortcut.
TEST_F(ButtonAssignGuiTest, TheReturnThatChoseAssignAShortcutIsNotCapturedAndComesUp) {
  std::string shownAfterReturn = "?", shownAfterB = "?";
  bool returnDownAfter = true;
  WorkedBy([&] {
    const std::optional<POINT> item = SlotMenuCommand(kSlot, 1005);  // Assign a Shortcut
    ASSERT_TRUE(item.has_value());
    ASSERT_TRUE(XSession::MoveTo(item->x, item->y));
    ::Sleep(200);
    ASSERT_TRUE(XSession::XDo("keydown Return"));
    const HWND dialog = FindKeyShortcutDialog();
    ::Sleep(300);
    ASSERT_TRUE(XSession::XDo("keyup Return"));
    ASSERT_NE(dialog, nullptr);
    const HWND display = ::GetDlgItem(dialog, option::kDialogEditId);
    const auto shown = [display] {
      char text[64] = {};
      ::GetWindowTextA(display, text, sizeof text);
      return std::string(text);
    };
    ::Sleep(400);
    shownAfterReturn = shown();
    returnDownAfter = (::GetAsyncKeyState(VK_RETURN) & 0x8000) != 0;
    ASSERT_TRUE(XSession::XDo("key b"));
    for (int i = 0; i < 100 && shownAfterB != "B"; ++i) {
      ::Sleep(20);
      shownAfterB = shown();
    }
    const auto r = kavo::skin::LayoutBounds(artwork::key_shortcut_dialog::kButtonOk);
    RECT bounds{};
    ::GetWindowRect(dialog, &bounds);
    ASSERT_TRUE(XSession::ClickAt(bounds.left + (r.left + r.right) / 2, bounds.top + (r.top + r.bottom) / 2));
    WaitForWindow([&] { return ::IsWindow(dialog) ? HWND{} : ::GetDesktopWindow(); }, 3000);
  });
  EXPECT_EQ(shownAfterReturn, "") << "the Return that chose the command was captured";
  EXPECT_FALSE(returnDownAfter) << "the system still holds Return down";
  EXPECT_EQ(shownAfterB, "B");
  const MacroKeyInfo& entry = Active().buttons[kSlot];
  EXPECT_EQ(entry.function, kFunctionKeyShortcut);
  EXPECT_EQ(entry.events[0].key, kDeviceB);
}

TEST_F(ButtonAssignGuiTest, TheMacroSubmenuHighlightsTheSlotsMacro) {
  // A store with two sets; the slot holds the second set's second macro.
  for (const char* set : {"Arena", "Raid"}) {
    const int index = store_.AddSet(set);
    ASSERT_GE(index, 0);
    for (const char* macro : {"Heal", "Pull"}) ASSERT_GE(store_.AddMacro(index, macro), 0);
  }
  MacroKeyInfo& entry = Active().buttons[kSlot];
  entry.function = kFunctionMacro;
  CopyBounded(entry.macroSetName, "raid");
  CopyBounded(entry.macroName, "PULL");
  window_->Refresh();
  int shownPull = -1, shownHeal = -1, shownRaid = -1, shownArena = -1;
  WorkedBy([&] {
    const HWND menu = ClickSlotForMenu(kSlot);
    ASSERT_NE(menu, nullptr);
    // The macro submenu first, then its Raid set (after Create New Macro, a separator and the first set).
    const HMENU top = MenuOf(menu);
    const HMENU macroMenu = ::GetSubMenu(top, 0);
    ASSERT_NE(macroMenu, nullptr);
    ASSERT_EQ(::GetMenuItemCount(macroMenu), 4);
    const std::optional<POINT> macros = ItemCentre(top, 0);
    ASSERT_TRUE(macros.has_value());
    ASSERT_TRUE(XSession::ClickAt(macros->x, macros->y));
    ::Sleep(400);
    const std::optional<POINT> raid = ItemCentre(macroMenu, 3);
    ASSERT_TRUE(raid.has_value());
    ASSERT_TRUE(XSession::ClickAt(raid->x, raid->y));
    ::Sleep(500);
    const HMENU raidMenu = ::GetSubMenu(macroMenu, 3);
    ASSERT_NE(raidMenu, nullptr);
    ASSERT_EQ(::GetMenuItemCount(raidMenu), 4);  // Edit Macro..., a separator, Heal, Pull
    EXPECT_EQ(::GetMenuItemID(raidMenu, 0), 11101u);
    EXPECT_EQ(::GetMenuItemID(raidMenu, 3), 1201u);
    // The pointer rests on the Raid item of the macro menu; the Raid submenu's items are not selected.
    shownPull = ItemHighlightPixels(raidMenu, 3);
    shownHeal = ItemHighlightPixels(raidMenu, 2);
    shownRaid = ItemHighlightPixels(macroMenu, 3);
    shownArena = ItemHighlightPixels(macroMenu, 2);
    // Items, submenu items included, are 18 pixels high and separators 5.
    for (const auto& [menuOf, position, height] : {std::tuple{top, 0, 18}, std::tuple{top, 4, 5}, std::tuple{top, 5, 18},
                                                   std::tuple{macroMenu, 3, 18}, std::tuple{macroMenu, 1, 5}}) {
      RECT item{};
      EXPECT_TRUE(::GetMenuItemRect(nullptr, menuOf, static_cast<UINT>(position), &item));
      EXPECT_EQ(item.bottom - item.top, height) << position;
    }
    EXPECT_FALSE(XSession::Screenshot("button-assign-menu").empty());
    ASSERT_TRUE(XSession::XDo("key Escape sleep 0.2 key Escape sleep 0.2 key Escape"));
    ASSERT_TRUE(WaitForNoMenu());
  });
  EXPECT_GT(shownPull, 10) << "the slot's macro is not drawn highlighted";
  EXPECT_EQ(shownHeal, 0) << "another macro is drawn highlighted";
  EXPECT_GT(shownRaid, 10) << "the slot's macro set is not drawn highlighted";
  EXPECT_EQ(shownArena, 0) << "another set is drawn highlighted";
  EXPECT_EQ(entry.function, kFunctionMacro) << "closing the menu changes nothing";
}

}  // namespace
}  // namespace kavo::wine_test
