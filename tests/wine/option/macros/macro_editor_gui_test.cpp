// The macro editor run for real with the program's pictures in a host window on the test's main thread,
// worked from a second thread with real X input: keys reach it only through the keyboard hook while it
// records, its context menu is driven with the keyboard, and its delay rows are edited in place.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "artwork/macro_editor.h"
#include "option/common/win32/keyboard_hook.h"
#include "option/macros/win32/macro_editor_window.h"
#include "skin/layout.h"
#include "tests/support/recording_macro_editor_host.h"
#include "tests/wine/window_readback.h"
#include "tests/wine/skin_control_host.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {
namespace {

namespace art = artwork::macro_editor;
using option::Macro;
using option::win32::MacroEditorWindow;

constexpr int kDeviceA = 4;
constexpr int kRowHeight = 20;

using test::RecordingMacroEditorHost;

MacroEvent Event(int key, int action, int delay = 0) {
  MacroEvent event{};
  event.key = static_cast<std::uint8_t>(key);
  event.action = static_cast<std::uint8_t>(action);
  event.delay = static_cast<std::uint16_t>(delay);
  return event;
}

Macro MacroOf(const std::vector<MacroEvent>& events) {
  Macro macro{};
  std::strcpy(macro.name, "Test");
  macro.eventCount = static_cast<int>(events.size());
  for (std::size_t i = 0; i < events.size(); ++i) macro.events[i] = events[i];
  return macro;
}

// The editor in a host window, shown and in front, while act(editor window) works it from another thread.
void RunWorkedBy(Macro& macro, RecordingMacroEditorHost& manager, const std::function<void(HWND)>& act) {
  skin::ControlHost host(art::kWidth, art::kHeight);
  ASSERT_TRUE(host.Open());
  MacroEditorWindow editor(::GetModuleHandleA(nullptr), manager, kavo::skin::Point{0, 0});
  ASSERT_TRUE(editor.Create(host.window()));
  editor.SetMacro(&macro);
  ::ShowWindow(editor.window(), SW_SHOW);
  ::SetForegroundWindow(host.window());
  std::atomic<bool> done{false};
  const HWND window = editor.window();
  std::thread user([&] {
    ::Sleep(200);
    act(window);
    done = true;
  });
  while (!done) skin::Pump(20);
  user.join();
  editor.WriteBack();
  EXPECT_FALSE(option::win32::KeyboardHookInstalled());
}

POINT OnScreen(HWND editor, const char* layout) {
  const auto entry = kavo::skin::ParseLayout(layout);
  RECT bounds{};
  ::GetWindowRect(editor, &bounds);
  if (!entry) return {-1, -1};
  return {bounds.left + (entry->left + entry->right) / 2, bounds.top + (entry->top + entry->bottom) / 2};
}

POINT RowOnScreen(HWND editor, int row) {
  const auto list = kavo::skin::ParseLayout(art::kButtonListKeySequence);
  RECT bounds{};
  ::GetWindowRect(editor, &bounds);
  return {bounds.left + list->left + 60, bounds.top + list->top + row * kRowHeight + kRowHeight / 2};
}

void Click(POINT at, int button = 1) {
  ASSERT_TRUE(XSession::ClickAt(at.x, at.y, button));
  ::Sleep(250);
}

HWND List(HWND editor) { return ::GetDlgItem(editor, option::win32::kKeySequenceListId); }

// The list's rows, read through the editor's thread.
std::vector<std::string> Rows(HWND editor) { return ListRows(List(editor)); }

// Waits until the list holds count rows; the rows it holds last.
std::vector<std::string> WaitForRows(HWND editor, std::size_t count) {
  std::vector<std::string> rows;
  for (int i = 0; i < 150; ++i) {
    rows = Rows(editor);
    if (rows.size() == count) break;
    ::Sleep(20);
  }
  return rows;
}

TEST(MacroEditorGuiTest, RecordsKeysWithTheMeasuredDelay) {
  Macro macro = MacroOf({Event(5, 1), Event(5, 2)});
  RecordingMacroEditorHost manager;
  std::vector<std::string> rows;
  std::string screenshot;
  bool hookedWhileRecording = false;
  RunWorkedBy(macro, manager, [&](HWND editor) {
    Click(OnScreen(editor, art::kButtonDelayOnOff));
    Click(OnScreen(editor, art::kButtonStartRecord));
    hookedWhileRecording = option::win32::KeyboardHookInstalled();
    ASSERT_TRUE(XSession::XDo("keydown a sleep 0.3 keyup a"));
    rows = WaitForRows(editor, 3);
    XSession::MoveTo(OnScreen(editor, art::kMenuHint).x, OnScreen(editor, art::kMenuHint).y);
    ::Sleep(200);
    screenshot = XSession::Screenshot("macro-editor-recording");
    Click(OnScreen(editor, art::kButtonStartRecord));
  });
  EXPECT_TRUE(hookedWhileRecording);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], "A Press");
  EXPECT_EQ(rows[2], "A Release");
  // The delay is what the hook saw between the two keys: xdotool's 300 ms plus the way through X and Wine.
  const int shown = std::atoi(rows[1].c_str());
  EXPECT_GE(shown, 250) << rows[1];
  EXPECT_LE(shown, 700) << rows[1];
  EXPECT_EQ(rows[1], std::to_string(shown) + " ms");
  ASSERT_EQ(macro.eventCount, 2);
  EXPECT_EQ(int{macro.events[0].key}, kDeviceA);
  EXPECT_EQ(int{macro.events[0].action}, 1);
  EXPECT_EQ(int{macro.events[0].delay}, shown);
  EXPECT_EQ(int{macro.events[1].action}, 2);
  EXPECT_EQ(int{macro.events[1].delay}, 0);
  EXPECT_EQ(manager.enables, (std::vector<bool>{false, true}));
  EXPECT_FALSE(screenshot.empty());
}

TEST(MacroEditorGuiTest, HoldingAKeyRecordsOnePress) {
  Macro macro = MacroOf({});
  RecordingMacroEditorHost manager;
  std::vector<std::string> rows;
  RunWorkedBy(macro, manager, [&](HWND editor) {
    Click(OnScreen(editor, art::kButtonStartRecord));
    // Auto-repeat may be off in the X server: repeat the press as a held key would.
    ASSERT_TRUE(XSession::XDo("keydown a sleep 0.2 keydown a sleep 0.2 keydown a sleep 0.2 keydown a sleep 0.4 keyup a"));
    rows = WaitForRows(editor, 2);
    ::Sleep(300);
    rows = Rows(editor);
    Click(OnScreen(editor, art::kButtonStartRecord));
  });
  EXPECT_EQ(rows, (std::vector<std::string>{"A Press", "A Release"}));
  EXPECT_EQ(macro.eventCount, 2);
}

// The Return that chooses Start Record from the menu is down when recording starts: it is no key stroke of
// the macro, and its release still reaches the system.
TEST(MacroEditorGuiTest, RecordingChosenWithReturnRecordsOnlyTheKeysPressedAfter) {
  Macro macro = MacroOf({Event(kDeviceA, 1), Event(kDeviceA, 2)});
  RecordingMacroEditorHost manager;
  std::vector<std::string> rows;
  bool recording = false, returnDownAfter = true;
  RunWorkedBy(macro, manager, [&](HWND editor) {
    Click(RowOnScreen(editor, 1));
    Click(RowOnScreen(editor, 1), 3);
    // Start Record after (second item).
    ASSERT_TRUE(XSession::XDo("key Down sleep 0.1 key Down sleep 0.1 key Return"));
    ::Sleep(400);
    recording = option::win32::KeyboardHookInstalled();
    returnDownAfter = (::GetAsyncKeyState(VK_RETURN) & 0x8000) != 0;
    ASSERT_TRUE(XSession::XDo("key b"));
    rows = WaitForRows(editor, 4);
    ::Sleep(300);
    rows = Rows(editor);
    Click(OnScreen(editor, art::kButtonStartRecord));
  });
  EXPECT_TRUE(recording);
  EXPECT_FALSE(returnDownAfter) << "the system still holds Return down";
  EXPECT_EQ(rows, (std::vector<std::string>{"A Press", "A Release", "B Press", "B Release"}));
  EXPECT_EQ(macro.eventCount, 4);
}

TEST(MacroEditorGuiTest, ContextMenuInsertsAMouseButtonEventBeforeTheSelectedRow) {
  Macro macro = MacroOf({Event(kDeviceA, 1), Event(kDeviceA, 2)});
  RecordingMacroEditorHost manager;
  std::vector<std::string> rows;
  RunWorkedBy(macro, manager, [&](HWND editor) {
    Click(RowOnScreen(editor, 1));
    Click(RowOnScreen(editor, 1), 3);
    // Insert Mouse Event (fourth item), Left Button, Click.
    ASSERT_TRUE(XSession::XDo("key Down sleep 0.1 key Down sleep 0.1 key Down sleep 0.1 key Down sleep 0.1 key Right "
                              "sleep 0.2 key Right sleep 0.2 key Down sleep 0.1 key Down sleep 0.1 key Return"));
    rows = WaitForRows(editor, 4);
  });
  EXPECT_EQ(rows, (std::vector<std::string>{"A Press", "Left Button Press", "Left Button Release", "A Release"}));
  ASSERT_EQ(macro.eventCount, 4);
  EXPECT_EQ(int{macro.events[1].key}, 240);
  EXPECT_EQ(int{macro.events[2].key}, 240);
  EXPECT_EQ(int{macro.events[2].action}, 2);
}

// An item of a shown menu on the screen, once the menu's window is there; empty when it never is.
RECT ShownItem(HMENU menu, int position) {
  RECT item{};
  for (int i = 0; i < 150; ++i) {
    if (::GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &item) && item.right > item.left) return item;
    ::Sleep(20);
  }
  return RECT{};
}

POINT Middle(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

TEST(MacroEditorGuiTest, ContextMenuSubmenusOpenUnderThePointer) {
  constexpr UINT kGetMenuOfWindow = 0x01E1;  // MN_GETHMENU
  Macro macro = MacroOf({Event(kDeviceA, 1), Event(kDeviceA, 2)});
  RecordingMacroEditorHost manager;
  std::vector<std::string> rows;
  int insertHeight = -1, buttonHeight = -1;
  RunWorkedBy(macro, manager, [&](HWND editor) {
    Click(RowOnScreen(editor, 1));
    Click(RowOnScreen(editor, 1), 3);
    const HWND shown = WaitForWindow(VisibleMenu);
    ASSERT_NE(shown, nullptr);
    const auto root = reinterpret_cast<HMENU>(::SendMessageA(shown, kGetMenuOfWindow, 0, 0));
    // Insert Mouse Event (fourth item), Right Button, Click: each submenu opened by a click on its item.
    const RECT insert = ShownItem(root, 3);
    insertHeight = insert.bottom - insert.top;
    Click(Middle(insert));
    const HMENU mouse = ::GetSubMenu(root, 3);
    const RECT button = ShownItem(mouse, 1);
    buttonHeight = button.bottom - button.top;
    Click(Middle(button));
    Click(Middle(ShownItem(::GetSubMenu(mouse, 1), 2)));
    rows = WaitForRows(editor, 4);
  });
  EXPECT_EQ(insertHeight, 18) << "a submenu's item is shown";
  EXPECT_EQ(buttonHeight, 18);
  EXPECT_EQ(rows, (std::vector<std::string>{"A Press", "Right Button Press", "Right Button Release", "A Release"}));
  ASSERT_EQ(macro.eventCount, 4);
  EXPECT_EQ(int{macro.events[1].key}, 241);
  EXPECT_EQ(int{macro.events[2].key}, 241);
  EXPECT_EQ(int{macro.events[2].action}, 2);
}

TEST(MacroEditorGuiTest, EditDelayInPlaceClampsTheTypedValue) {
  Macro macro = MacroOf({Event(kDeviceA, 1, 300), Event(kDeviceA, 2)});
  RecordingMacroEditorHost manager;
  std::vector<std::string> before, after;
  RunWorkedBy(macro, manager, [&](HWND editor) {
    before = Rows(editor);
    Click(RowOnScreen(editor, 1));
    Click(RowOnScreen(editor, 1), 3);
    // Edit Delay (fifth item), then a new value over the selected text.
    ASSERT_TRUE(XSession::XDo("key Down sleep 0.1 key Down sleep 0.1 key Down sleep 0.1 key Down sleep 0.1 key Down "
                              "sleep 0.1 key Return"));
    ::Sleep(300);
    ASSERT_TRUE(XSession::XDo("type 70000"));
    ::Sleep(100);
    ASSERT_TRUE(XSession::XDo("key Return"));
    for (int i = 0; i < 100; ++i) {
      after = Rows(editor);
      if (after.size() == 3 && after[1] != "300 ms") break;
      ::Sleep(20);
    }
  });
  EXPECT_EQ(before, (std::vector<std::string>{"A Press", "300 ms", "A Release"}));
  EXPECT_EQ(after, (std::vector<std::string>{"A Press", "65535 ms", "A Release"}));
  EXPECT_EQ(int{macro.events[0].delay}, 65535);
}

}  // namespace
}  // namespace kavo::wine_test
