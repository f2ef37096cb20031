// The whole mission, end to end: a function given to a mouse button on KavoOption.exe's button assignment
// page with real clicks and keys, handed to KavoMonitor.exe with Apply, written into the simulated mouse,
// and performed when kavo-sim presses the button: keys seen by kavo-input-recorder.exe's low-level hooks, a
// program started, a player's window driven. The function menus are walked with the keyboard along the
// path the portable menu model gives for a command.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "artwork/button_assign_page.h"
#include "artwork/key_shortcut_dialog.h"
#include "artwork/macro_editor.h"
#include "artwork/macro_manager.h"
#include "artwork/main_window.h"
#include "artwork/media_player_dialog.h"
#include "artwork/program_path_dialog.h"
#include "artwork/set_name_dialog.h"
#include "option/assign/button_assign_catalogue.h"
#include "option/assign/button_assign_menu.h"
#include "option/macros/macro_library.h"
#include "option/macros/macro_store.h"
#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "settings/settings_record.h"
#include "platform/win32/module_folder.h"
#include "settings/win32/win32_file_system.h"
#include "tests/wine/input_recording.h"
#include "tests/wine/macro_schedule.h"
#include "tests/wine/option_session.h"
#include "tests/wine/recording_window.h"
#include "tests/wine/temp_folder.h"
#include "tests/wine/window_readback.h"

namespace kavo::wine_test {
namespace {

namespace art = artwork::main_window;
namespace page_art = artwork::button_assign_page;
using option::AssignMenuItem;
using option::AssignMenuItemKind;
using Lines = std::vector<std::string>;

constexpr DWORD kEventTimeoutMs = 5000;
constexpr int kInputFiveSlot = 4;  // the right side button, normal layer
constexpr int kDeviceA = 4, kDeviceK = 14, kDeviceZ = 29;
constexpr std::uint8_t kCtrlMask = 0x04, kShiftMask = 0x02;
constexpr int kNextTrack = 34;
constexpr int kWinampIndex = 3;
constexpr WPARAM kWinampNextTrack = 40048;
const char* const kSlotLayouts[kButtonSlotCount] = {
    page_art::kB1, page_art::kB2,  page_art::kB3,  page_art::kB4,  page_art::kB5,  page_art::kB6,  page_art::kB7,
    page_art::kB8, page_art::kB9, page_art::kB10, page_art::kB11, page_art::kB12, page_art::kB13, page_art::kB14};

// The menu command that gives a slot a catalogue code.
int CommandFor(int code) { return option::FindCatalogueEntry(code)->commandId; }

// The positions among the selectable items (separators are skipped by the keyboard) that lead to a
// command, outermost first.
bool PathTo(const std::vector<AssignMenuItem>& items, int commandId, std::vector<int>& path) {
  int position = 0;
  for (const AssignMenuItem& item : items) {
    if (item.kind == AssignMenuItemKind::kSeparator) continue;
    path.push_back(position++);
    const bool found = item.kind == AssignMenuItemKind::kCommand ? item.commandId == commandId
                                                                 : PathTo(item.items, commandId, path);
    if (found) return true;
    path.pop_back();
  }
  return false;
}

// The keys that walk an open popup menu along a path: the first Down selects the first item, Right opens
// a submenu with its first item selected.
std::string WalkKeys(const std::vector<int>& path) {
  std::string keys;
  for (std::size_t level = 0; level < path.size(); ++level) {
    if (level > 0) keys += "key Right sleep 0.15 ";
    for (int step = 0; step < path[level] + (level == 0 ? 1 : 0); ++step) keys += "key Down sleep 0.1 ";
  }
  return keys;
}

// The open menus (one window per level) in the order they opened.
std::vector<HWND> OpenMenus() {
  std::vector<HWND> menus;
  HWND window = nullptr;
  while ((window = ::FindWindowExA(nullptr, window, MAKEINTATOM(32768), nullptr)) != nullptr) {
    if (::IsWindowVisible(window)) menus.insert(menus.begin(), window);
  }
  return menus;
}

// The screen centre of a layout's control in a window whose client area the layout measures.
POINT InWindow(HWND window, const char* layout, int dx = 0, int dy = 0) {
  const skin::Rect r = LayoutRect(layout);
  POINT point{(r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2 + dy};
  ::ClientToScreen(window, &point);
  return point;
}

void ClickIn(HWND window, const char* layout, int dx = 0, int dy = 0) {
  const POINT at = InWindow(window, layout, dx, dy);
  EXPECT_TRUE(XSession::ClickAt(at.x, at.y)) << layout;
  ::Sleep(250);
}

class AssignEndToEndTest : public OptionSessionTest {
 protected:
  void TearDown() override {
    OptionSessionTest::TearDown();
    if (recorder_) {
      EXPECT_TRUE(recorder_->Stop()) << "the recorder did not end cleanly";
    }
  }

  // The recorder, the service and the configuration program on its button assignment page.
  void StartOnAssignPage() {
    if (HasFatalFailure()) FAIL() << "the program folder is not ready";
    recorder_ = std::make_unique<InputRecorder>(recordings_.File("input.txt"));
    ASSERT_EQ(recorder_->Problem(), "");
    ASSERT_NO_FATAL_FAILURE(StartSystem());
    ASSERT_TRUE(screen().Click(art::kButtonAssign));
    const skin::Rect heading = LayoutRect(page_art::kHeadingNormal);
    ASSERT_TRUE(WaitFor([&] { return screen().PageShows(page_art::kBackgroundPicture, heading); }, kOptionReactionMs))
        << "the page did not show";
    ASSERT_TRUE(screen().MovePointerAway());
  }

  // The macro library as the program keeps it in its folder.
  option::MacroStore& LoadedMacros() {
    macros_ = std::make_unique<option::MacroStore>();
    library_ = std::make_unique<option::MacroStoreLibrary>(*macros_, access_, folder().program());
    library_->Load();
    return *macros_;
  }

  // Opens a slot's function menu with a click on its button and chooses a command with the keys.
  void ChooseInMenu(int slot, int commandId) {
    LoadedMacros();
    option::MacroStorePort& port = *library_;
    std::vector<int> path;
    ASSERT_TRUE(PathTo(option::BuildAssignMenu(slot, MacroKeyInfo{}, port), commandId, path)) << commandId;
    ASSERT_NO_FATAL_FAILURE(OpenMenu(slot));
    ASSERT_TRUE(XSession::XDo(WalkKeys(path) + "key Return"));
    ASSERT_TRUE(WaitFor([] { return OpenMenus().empty(); }, 3000)) << "the menu stayed open";
  }

  void OpenMenu(int slot) {
    const POINT at = screen().PageCentre(kSlotLayouts[slot]);
    ASSERT_TRUE(XSession::ClickAt(at.x, at.y));
    ASSERT_TRUE(WaitFor([] { return !OpenMenus().empty(); }, 3000)) << "no menu for slot " << slot;
    ::Sleep(200);
  }

  void Apply() { ASSERT_NO_FATAL_FAILURE(Click(art::kApply)); }

  // The mouse's button codes of profile 1 reach the codes given (waited for, as Apply works behind).
  bool MouseHolds(const std::vector<int>& codes) {
    return WaitFor([&] { return MouseButtons(0) == codes; }, kOptionReactionMs, 200);
  }
  // Applies, waits until the mouse holds code in a slot of profile 1, and gives the record the service
  // took from the shared block then.
  std::unique_ptr<SettingsRecord> ApplyUntilMouseHolds(int slot, int code) {
    Apply();
    const bool held = WaitFor(
        [&] {
          const auto codes = MouseButtons(0);
          return codes.size() == kButtonSlotCount && codes[slot] == code;
        },
        kOptionReactionMs, 200);
    EXPECT_TRUE(held) << "the mouse did not get code " << code << " in slot " << slot;
    auto block = held ? FetchBlock() : nullptr;
    EXPECT_TRUE(!held || block != nullptr) << "no shared block";
    return block;
  }

  std::size_t Mark() const { return recorder_->Count(); }
  std::vector<RecordedInput> Await(std::size_t mark, std::size_t count) {
    EXPECT_TRUE(recorder_->WaitForCount(mark, count, kEventTimeoutMs))
        << "expected " << count << " events, got " << ::testing::PrintToString(Describe(recorder_->EventsSince(mark)));
    return recorder_->EventsSince(mark);
  }

  TempFolder recordings_;
  std::unique_ptr<InputRecorder> recorder_;
  win32::Win32FileSystem files_;
  IniFileAccess access_{files_};
  std::unique_ptr<option::MacroStore> macros_;
  std::unique_ptr<option::MacroStoreLibrary> library_;
};

TEST_F(AssignEndToEndTest, AShortcutGivenToInputFiveIsTypedWhileTheButtonIsHeld) {
  ASSERT_NO_FATAL_FAILURE(PrepareProfiles(nullptr));
  ASSERT_NO_FATAL_FAILURE(StartOnAssignPage());
  EXPECT_FALSE(XSession::Screenshot("assign-page-right").empty());

  ASSERT_NO_FATAL_FAILURE(ChooseInMenu(kInputFiveSlot, option::kAssignShortcutCommand));
  const HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr) << "no key shortcut dialog";
  ::Sleep(300);
  ClickIn(dialog, artwork::key_shortcut_dialog::kCtrl);
  ASSERT_TRUE(XSession::XDo("key k"));
  ::Sleep(300);
  ClickIn(dialog, artwork::key_shortcut_dialog::kButtonOk);
  ASSERT_TRUE(WaitForNoDialog()) << "the dialog stayed";
  ASSERT_TRUE(screen().MovePointerAway());

  const auto block = ApplyUntilMouseHolds(kInputFiveSlot, kFunctionKeyShortcut);
  ASSERT_NE(block, nullptr);
  const MacroKeyInfo& entry = block->profiles[0].buttons[kInputFiveSlot];
  EXPECT_EQ(entry.eventCount, 1);
  EXPECT_EQ(entry.events[0].key, kDeviceK);
  EXPECT_EQ(entry.events[0].action, kCtrlMask);

  std::size_t mark = Mark();
  folder().SimOk("press 5");
  EXPECT_EQ(Describe(Await(mark, 2)), (Lines{"Ctrl down", "K down"}));
  mark = Mark();
  folder().SimOk("release 5");
  EXPECT_EQ(Describe(Await(mark, 2)), (Lines{"K up", "Ctrl up"}));

  // The other orientation, for the guide.
  const POINT left = screen().PageCentre(page_art::kLeft);
  ASSERT_TRUE(XSession::ClickAt(left.x, left.y));
  ASSERT_TRUE(screen().MovePointerAway());
  ::Sleep(300);
  EXPECT_FALSE(XSession::Screenshot("assign-page-left").empty());
}

TEST_F(AssignEndToEndTest, AMacroRecordedInTheManagerPlaysWithItsDelaysWhenTheButtonIsPressed) {
  ASSERT_NO_FATAL_FAILURE(PrepareProfiles(nullptr));
  ASSERT_NO_FATAL_FAILURE(StartOnAssignPage());

  // The page's "Macro Manager" button; an empty library asks for a first set's name at once.
  const POINT managerButton = screen().PageCentre(page_art::kMacroManager);
  ASSERT_TRUE(XSession::ClickAt(managerButton.x, managerButton.y));
  const HWND manager =
      WaitForWindow([] { return ::FindWindowA(MAKEINTATOM(32770), "Kavo Macro Manager"); }, kOptionReactionMs);
  ASSERT_NE(manager, nullptr) << "no macro manager";
  const HWND setName = WaitForDialog({manager});
  ASSERT_NE(setName, nullptr) << "no set name dialog";
  ::Sleep(200);
  ClickIn(setName, artwork::set_name_dialog::kEditMacroSetName);
  ASSERT_TRUE(XSession::XDo("type --delay 60 Arena"));
  ASSERT_TRUE(XSession::XDo("key Return"));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(setName); }, 3000));

  ClickIn(manager, artwork::macro_manager::kButtonNew);
  ASSERT_TRUE(XSession::XDo("type --delay 60 Burst"));
  ASSERT_TRUE(XSession::XDo("key Return"));
  ::Sleep(300);
  const skin::Rect editor = LayoutRect(artwork::macro_manager::kChildPos);
  ClickIn(manager, artwork::macro_editor::kButtonDelayOnOff, editor.left, editor.top);
  ClickIn(manager, artwork::macro_editor::kButtonStartRecord, editor.left, editor.top);
  ASSERT_TRUE(XSession::XDo("keydown a sleep 0.3 keyup a"));
  ::Sleep(400);
  ClickIn(manager, artwork::macro_editor::kButtonStartRecord, editor.left, editor.top);
  ClickIn(manager, artwork::macro_manager::kButtonOk);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(manager); }, kOptionReactionMs)) << "the manager stayed";
  ASSERT_TRUE(screen().MovePointerAway());

  // OK saved the library: one set with the recorded macro, its hold measured.
  option::MacroStore& saved = LoadedMacros();
  ASSERT_EQ(saved.SetCount(), 1);
  ASSERT_EQ(saved.Set(0)->name, "Arena");
  ASSERT_EQ(saved.Set(0)->macros.size(), 1u);
  const option::Macro burst = *saved.Set(0)->macros[0];  // a copy: the next menu reloads the library
  EXPECT_EQ(FieldText(burst.name), "Burst");
  ASSERT_EQ(burst.eventCount, 2);
  EXPECT_EQ(burst.events[0].key, kDeviceA);
  EXPECT_GE(burst.events[0].delay, 250);

  ASSERT_NO_FATAL_FAILURE(ChooseInMenu(kInputFiveSlot, option::kMacroCommandBase));  // the first set's first macro
  ASSERT_NE(ApplyUntilMouseHolds(kInputFiveSlot, kFunctionMacro), nullptr);

  const std::size_t mark = Mark();
  folder().SimOk("press 5");
  const auto played = Await(mark, 2);
  folder().SimOk("release 5");
  EXPECT_EQ(Describe(played), (Lines{"A down", "A up"}));
  if (played.size() == 2) ExpectOnSchedule(played, {burst.events[0].delay});

  // The menu opened again shows the slot's set and macro in the highlight colour.
  ASSERT_NO_FATAL_FAILURE(OpenMenu(kInputFiveSlot));
  std::vector<int> path;
  option::MacroStorePort& port = *library_;
  ASSERT_TRUE(PathTo(option::BuildAssignMenu(kInputFiveSlot, MacroKeyInfo{}, port), option::kMacroCommandBase, path));
  path.pop_back();  // stop on the set, its submenu open
  ASSERT_TRUE(XSession::XDo(WalkKeys(path) + "key Right"));
  ASSERT_TRUE(WaitFor([] { return OpenMenus().size() == 3; }, 3000));
  ::Sleep(300);
  RECT macroMenu{};
  ::GetWindowRect(OpenMenus().back(), &macroMenu);
  EXPECT_GT(HighlightPixels(macroMenu), 0) << "the macro is not highlighted";
  EXPECT_FALSE(XSession::Screenshot("assign-menu-highlighted-macro").empty());
  ASSERT_TRUE(XSession::XDo("key Escape sleep 0.1 key Escape sleep 0.1 key Escape"));
  EXPECT_TRUE(WaitFor([] { return OpenMenus().empty(); }, 3000));
}

TEST_F(AssignEndToEndTest, QuicklaunchStartsTheChosenProgramWhenTheButtonIsPressed) {
  ASSERT_NO_FATAL_FAILURE(PrepareProfiles(nullptr));
  const std::string program = folder().File("launch-target.exe");
  ASSERT_TRUE(::CopyFileA((win32::ModuleFolder() + "kavo-fake-player.exe").c_str(), program.c_str(), FALSE));
  ASSERT_NO_FATAL_FAILURE(StartOnAssignPage());

  ASSERT_NO_FATAL_FAILURE(ChooseInMenu(kInputFiveSlot, option::kAssignQuicklaunchCommand));
  const HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr) << "no program path dialog";
  ::Sleep(300);
  ClickIn(dialog, artwork::program_path_dialog::kGamingPathToExecuteable);
  ASSERT_TRUE(XSession::XDo("type --delay 30 '" + program + "'"));
  ::Sleep(200);
  ClickIn(dialog, artwork::program_path_dialog::kButtonOk);
  ASSERT_TRUE(WaitForNoDialog()) << "the dialog stayed";
  ASSERT_TRUE(screen().MovePointerAway());

  const auto block = ApplyUntilMouseHolds(kInputFiveSlot, kFunctionQuicklaunch);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(FieldText(block->profiles[0].buttons[kInputFiveSlot].programPath), program);

  folder().SimOk("click 5");
  const std::string marker = program + ".started";
  EXPECT_TRUE(WaitFor([&] { return ::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000, 100))
      << "the program was not started";
}

TEST_F(AssignEndToEndTest, AltlayerSwitchedBackOntoInputFourBringsItsLayerBack) {
  // Input 4 carries the layer; on it, input 1 types Shift+Z.
  ASSERT_NO_FATAL_FAILURE(PrepareProfiles([](int p, ProfileRecord& profile) {
    if (p != 0) return;
    MacroKeyInfo& entry = profile.buttons[7];
    entry.function = kFunctionKeyShortcut;
    entry.eventCount = 1;
    entry.events[0].key = kDeviceZ;
    entry.events[0].action = kShiftMask;
  }));
  ASSERT_NO_FATAL_FAILURE(StartOnAssignPage());
  const std::vector<int> layerOn = {1, 2, 3, 65, 64, 13, 14, 5, 7, 37, 0, 6, 38, 39};
  ASSERT_EQ(MouseButtons(0), layerOn);

  // A plain click on input 4 switches the layer off: its slots are kept aside and become unavailable.
  ASSERT_NO_FATAL_FAILURE(ChooseInMenu(3, CommandFor(kFunctionClick)));
  ASSERT_NO_FATAL_FAILURE(Apply());
  EXPECT_TRUE(MouseHolds({1, 2, 3, 1, 64, 13, 14, 0, 0, 0, 0, 0, 0, 0})) << "layer off";

  ASSERT_NO_FATAL_FAILURE(ChooseInMenu(3, CommandFor(kFunctionAltlayer)));
  ASSERT_NO_FATAL_FAILURE(Apply());
  EXPECT_TRUE(MouseHolds(layerOn)) << "the layer's slots as they were, input 4's own copy unavailable";

  folder().SimOk("press 4");
  std::size_t mark = Mark();
  folder().SimOk("press 1");
  EXPECT_EQ(Describe(Await(mark, 2)), (Lines{"Shift down", "Z down"}));
  mark = Mark();
  folder().SimOk("release 1");
  EXPECT_EQ(Describe(Await(mark, 2)), (Lines{"Z up", "Shift up"}));
  folder().SimOk("release 4");
}

TEST_F(AssignEndToEndTest, TheChosenPlayerReceivesTheMediaFunction) {
  ASSERT_NO_FATAL_FAILURE(PrepareProfiles(nullptr));
  RecordingWindow winamp("Winamp", "Winamp v1.x");
  ASSERT_NO_FATAL_FAILURE(StartOnAssignPage());

  ASSERT_NO_FATAL_FAILURE(ChooseInMenu(kInputFiveSlot, option::kSelectPlayerCommand));
  const HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr) << "no media player dialog";
  ::Sleep(300);
  ClickIn(dialog, artwork::media_player_dialog::kButtonPlay);
  ASSERT_TRUE(WaitFor([] { return !OpenMenus().empty(); }, 3000)) << "no player menu";
  ::Sleep(200);
  std::string keys;
  for (int step = 0; step <= kWinampIndex; ++step) keys += "key Down sleep 0.1 ";
  ASSERT_TRUE(XSession::XDo(keys + "key Return"));
  ASSERT_TRUE(WaitFor([] { return OpenMenus().empty(); }, 3000));
  const POINT rest = InWindow(dialog, artwork::media_player_dialog::kHint);
  XSession::MoveTo(rest.x, rest.y);
  ::Sleep(400);
  EXPECT_FALSE(XSession::Screenshot("assign-media-player-dialog").empty());
  ClickIn(dialog, artwork::media_player_dialog::kButtonOk);
  ASSERT_TRUE(WaitForNoDialog()) << "the dialog stayed";

  ASSERT_NO_FATAL_FAILURE(ChooseInMenu(kInputFiveSlot, CommandFor(kNextTrack)));
  const auto block = ApplyUntilMouseHolds(kInputFiveSlot, kNextTrack);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->profiles[0].MediaOption, kWinampIndex);

  folder().SimOk("click 5");
  ASSERT_TRUE(winamp.WaitFor(WM_COMMAND, 1, 10000)) << "nothing reached the player's window";
  EXPECT_EQ(winamp.Received(WM_COMMAND).front().wParam, kWinampNextTrack);
}

}  // namespace
}  // namespace kavo::wine_test
