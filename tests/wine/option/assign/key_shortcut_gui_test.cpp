// The key shortcut dialog run for real with the program's pictures, on the test's main thread, worked from a
// second thread with real X input: keys pressed through xdotool reach it only through its keyboard hook, its
// toggles are clicked, and it ends through its buttons. A window of another thread of the test stands for
// every other program: no key may reach it and Alt+Tab may not bring it to front while the dialog is open.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "artwork/key_shortcut_dialog.h"
#include "option/assign/win32/key_shortcut_window.h"
#include "settings/bounded_text.h"
#include "skin/layout.h"
#include "tests/wine/skin_test_support.h"
#include "tests/wine/window_readback.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {
namespace {

namespace art = artwork::key_shortcut_dialog;

// Device key codes the captured keys must come out as.
constexpr int kDeviceA = 4, kDeviceB = 5, kDeviceF5 = 62;

HWND WaitForDialog() {
  for (int i = 0; i < 500; ++i) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, MAKEINTATOM(32770), nullptr)) != nullptr) {
      RECT bounds{};
      if (::IsWindowVisible(window) && ::GetWindowRect(window, &bounds) && bounds.right - bounds.left == art::kWidth) {
        return window;
      }
    }
    ::Sleep(10);
  }
  return nullptr;
}

// What a worked dialog gave, and whether act ended it: the close that ends a run act left open gives what
// Cancel gives, so a case that ends with a button expects closedByAct as well.
struct ShortcutRun {
  bool ok = false;
  bool closedByAct = false;
};

// Runs the dialog on this thread while act(dialog) works it from another; whatever act leaves open is
// closed so that the run ends.
ShortcutRun RunWorkedBy(MacroKeyInfo& entry, const std::function<void(HWND)>& act) {
  ShortcutRun run;
  std::thread user([&] {
    const HWND dialog = WaitForDialog();
    ::Sleep(150);
    if (dialog != nullptr) {
      act(dialog);
      run.closedByAct = WaitForWindowGone(dialog);
    }
    if (dialog != nullptr && ::IsWindow(dialog)) ::PostMessageA(dialog, WM_CLOSE, 0, 0);
  });
  run.ok = option::win32::RunKeyShortcut(::GetModuleHandleA(nullptr), nullptr, entry);
  user.join();
  return run;
}

POINT OnScreen(HWND dialog, const char* layout) {
  const auto entry = kavo::skin::ParseLayout(layout);
  RECT bounds{};
  ::GetWindowRect(dialog, &bounds);
  if (!entry) return {-1, -1};
  return {bounds.left + (entry->left + entry->right) / 2, bounds.top + (entry->top + entry->bottom) / 2};
}

void ClickAt(HWND dialog, const char* layout) {
  const POINT at = OnScreen(dialog, layout);
  ASSERT_TRUE(XSession::ClickAt(at.x, at.y)) << layout;
  ::Sleep(150);
}

HWND ControlAt(HWND dialog, const char* layout) {
  const auto entry = kavo::skin::ParseLayout(layout);
  if (!entry) return nullptr;
  const POINT centre{(entry->left + entry->right) / 2, (entry->top + entry->bottom) / 2};
  const HWND control = ::ChildWindowFromPointEx(dialog, centre, CWP_SKIPINVISIBLE);
  return control == dialog ? nullptr : control;
}

std::string KeyDisplayText(HWND dialog) {
  const HWND field = ControlAt(dialog, art::kKeyDisplay);
  char text[64] = {};
  if (field != nullptr) ::GetWindowTextA(field, text, sizeof text);
  return text;
}

// The key display shows expected, waited for; what it shows last otherwise.
std::string WaitForKeyText(HWND dialog, const std::string& expected) {
  std::string shown;
  for (int i = 0; i < 150; ++i) {
    shown = KeyDisplayText(dialog);
    if (shown == expected) break;
    ::Sleep(20);
  }
  return shown;
}

// Which of the modifier toggles (flag order) can be clicked.
std::vector<bool> TogglesEnabled(HWND dialog) {
  std::vector<bool> enabled;
  for (const char* layout : {art::kNone, art::kShift, art::kCtrl, art::kAlt, art::kWin}) {
    const HWND toggle = ControlAt(dialog, layout);
    enabled.push_back(toggle != nullptr && ::IsWindowEnabled(toggle) != FALSE);
  }
  return enabled;
}

// The key display shows its text white on its near-black ground (a disabled edit would draw it grey).
void ExpectWhiteOnDark(HWND dialog) {
  const auto field = kavo::skin::ParseLayout(art::kKeyDisplay);
  ASSERT_TRUE(field.has_value());
  EXPECT_EQ(skin::ScreenPixel(dialog, field->left + 2, field->top + 2), RGB(0x0B, 0x0B, 0x0B));
  bool white = false;
  for (int x = field->left; x < field->right && !white; ++x) {
    for (int y = field->top; y < field->bottom && !white; ++y) {
      white = skin::ScreenPixel(dialog, x, y) == RGB(255, 255, 255);
    }
  }
  EXPECT_TRUE(white);
}

MacroKeyInfo ShortcutEntry(int key, int mask) {
  MacroKeyInfo entry{};
  entry.slot = 4;
  entry.function = kFunctionKeyShortcut;
  entry.eventCount = 1;
  entry.events[0].key = static_cast<std::uint8_t>(key);
  entry.events[0].action = static_cast<std::uint8_t>(mask);
  return entry;
}

TEST(KeyShortcutGuiTest, CapturesTheLastKeyAndStoresItWithTheCheckedModifiers) {
  MacroKeyInfo entry = ShortcutEntry(0, 0);
  CopyBounded(entry.macroSetName, "Old set");
  CopyBounded(entry.macroName, "Old macro");
  entry.eventCount = 7;
  std::vector<std::string> shown;
  std::string screenshot;
  const ShortcutRun run = RunWorkedBy(entry, [&](HWND dialog) {
    shown.push_back(KeyDisplayText(dialog));
    ClickAt(dialog, art::kCtrl);
    ClickAt(dialog, art::kShift);
    struct Step {
      const char* keys;
      const char* text;
    };
    // Presses and releases alike: the last key event wins, a modifier key being a key like any other.
    const Step steps[] = {
        {"keydown ctrl key a keyup ctrl", "Left Control"},
        {"keydown ctrl keyup ctrl key F5", "F5"},
        {"keydown shift keyup shift key a", "A"},
    };
    for (const Step& step : steps) {
      ASSERT_TRUE(XSession::XDo(step.keys));
      shown.push_back(WaitForKeyText(dialog, step.text));
    }
    // Somewhere quiet, so that no button lights up in the picture.
    XSession::MoveTo(OnScreen(dialog, art::kHint).x, OnScreen(dialog, art::kHint).y);
    ::Sleep(200);
    ExpectWhiteOnDark(dialog);
    screenshot = XSession::Screenshot("key-shortcut-dialog");
    ClickAt(dialog, art::kButtonOk);
  });
  EXPECT_TRUE(run.ok);
  EXPECT_TRUE(run.closedByAct) << "OK left the dialog open";
  EXPECT_EQ(shown, (std::vector<std::string>{"", "Left Control", "F5", "A"}));
  EXPECT_EQ(entry.events[0].key, kDeviceA);
  EXPECT_EQ(entry.events[0].action, 0x06);  // Shift and Ctrl
  EXPECT_EQ(entry.eventCount, 1);
  EXPECT_EQ(FieldText(entry.macroSetName), "");
  EXPECT_EQ(FieldText(entry.macroName), "");
  EXPECT_EQ(entry.function, kFunctionKeyShortcut);
  EXPECT_FALSE(screenshot.empty());
}

TEST(KeyShortcutGuiTest, NoneLocksTheOtherModifiersAndStandsAloneInTheMask) {
  struct Case {
    const char* name;
    int startMask;
    std::vector<bool> enabledAtStart;
    std::vector<const char*> clicks;
    std::vector<bool> enabledAtEnd;
    int mask;
  };
  const std::vector<bool> all = {true, true, true, true, true}, noneOnly = {true, false, false, false, false};
  const Case cases[] = {
      // Ctrl is clicked while locked: it stays out of the mask.
      {"Shift, then None, then the locked Ctrl", 0, all, {art::kShift, art::kNone, art::kCtrl}, noneOnly, 0x01},
      {"None taken back, then Alt", 0x01, noneOnly, {art::kNone, art::kAlt}, all, 0x08},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MacroKeyInfo entry = ShortcutEntry(kDeviceB, c.startMask);
    std::vector<bool> enabledAtStart, enabledAtEnd;
    const ShortcutRun run = RunWorkedBy(entry, [&](HWND dialog) {
      enabledAtStart = TogglesEnabled(dialog);
      for (const char* click : c.clicks) ClickAt(dialog, click);
      enabledAtEnd = TogglesEnabled(dialog);
      ClickAt(dialog, art::kButtonOk);
    });
    EXPECT_TRUE(run.ok);
    EXPECT_TRUE(run.closedByAct) << "OK left the dialog open";
    EXPECT_EQ(enabledAtStart, c.enabledAtStart);
    EXPECT_EQ(enabledAtEnd, c.enabledAtEnd);
    EXPECT_EQ(entry.events[0].key, kDeviceB);
    EXPECT_EQ(entry.events[0].action, c.mask);
  }
}

// A top-level window on a thread of its own, standing for another program: it notes every key message and
// every activation it receives.
class Witness {
 public:
  Witness() {
    thread_ = std::thread([this] { Run(); });
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return started_; });
  }
  ~Witness() {
    ::PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }
  Witness(const Witness&) = delete;
  Witness& operator=(const Witness&) = delete;

  HWND window() const { return window_; }
  int keys() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return keys_;
  }
  int activations() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return activations_;
  }
  // Clicked by the user, so that it is in front and the X keyboard focus (which follows the pointer on a
  // display without a window manager) is on it.
  bool ComeToFront() const {
    RECT bounds{};
    ::GetWindowRect(window_, &bounds);
    if (!XSession::ClickAt((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2)) return false;
    ::SendMessageA(window_, kComeToFront, 0, 0);
    return true;
  }

 private:
  static constexpr UINT kComeToFront = WM_APP + 1;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      ::SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<Witness*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr) {
      switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP: {
          std::lock_guard<std::mutex> lock(self->mutex_);
          ++self->keys_;
          return 0;
        }
        case WM_ACTIVATE:
          if (LOWORD(wParam) != WA_INACTIVE) {
            std::lock_guard<std::mutex> lock(self->mutex_);
            ++self->activations_;
          }
          break;
        case kComeToFront:
          ::SetForegroundWindow(window);
          ::SetFocus(window);
          return 0;
        case WM_CLOSE:
          ::DestroyWindow(window);
          return 0;
        case WM_DESTROY:
          ::PostQuitMessage(0);
          return 0;
        default:
          break;
      }
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }

  void Run() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KavoKeyShortcutWitness";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassA(&windowClass);  // fails harmlessly for a second witness
    const HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          520, 300, 320, 200, nullptr, nullptr, windowClass.hInstance, this);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      window_ = window;
      started_ = true;
    }
    changed_.notify_all();
    if (window == nullptr) return;
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }

  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool started_ = false;
  HWND window_ = nullptr;
  int keys_ = 0;
  int activations_ = 0;
};

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 20) {
    if (done()) return true;
    ::Sleep(20);
  }
  return done();
}

TEST(KeyShortcutGuiTest, KeysReachNoOtherWindowWhileTheDialogIsOpen) {
  Witness witness;
  ASSERT_NE(witness.window(), nullptr);
  // Without the dialog the witness does hear keys: what follows could fail.
  ASSERT_TRUE(witness.ComeToFront());
  ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == witness.window(); }, 2000));
  ASSERT_TRUE(XSession::XDo("key c"));
  ASSERT_TRUE(WaitUntil([&] { return witness.keys() >= 2; }, 2000)) << "the witness heard no key without the dialog";

  MacroKeyInfo entry = ShortcutEntry(0, 0);
  int keysBefore = 0, activationsBefore = 0;
  bool dialogInFront = false;
  std::string afterAltTab, afterB;
  int keysWhileOpen = -1, activationsAfterAltTab = -1;
  const ShortcutRun run = RunWorkedBy(entry, [&](HWND dialog) {
    dialogInFront = WaitUntil([&] { return ::GetForegroundWindow() == dialog; }, 2000);
    keysBefore = witness.keys();
    activationsBefore = witness.activations();
    const POINT hint = OnScreen(dialog, art::kHint);
    ASSERT_TRUE(XSession::MoveTo(hint.x, hint.y));
    ASSERT_TRUE(XSession::XDo("keydown alt key Tab keyup alt"));
    afterAltTab = WaitForKeyText(dialog, "Left Alt");
    ::Sleep(300);
    activationsAfterAltTab = witness.activations() - activationsBefore;
    // Even with the witness in front the keys go to the dialog alone.
    ASSERT_TRUE(witness.ComeToFront());
    WaitUntil([&] { return ::GetForegroundWindow() == witness.window(); }, 2000);
    ASSERT_TRUE(XSession::XDo("key b"));
    afterB = WaitForKeyText(dialog, "B");
    ::Sleep(300);
    keysWhileOpen = witness.keys() - keysBefore;
    ClickAt(dialog, art::kButtonOk);
  });
  EXPECT_TRUE(dialogInFront);
  EXPECT_EQ(afterAltTab, "Left Alt");
  EXPECT_EQ(activationsAfterAltTab, 0) << "Alt+Tab brought another window to front";
  EXPECT_EQ(afterB, "B");
  EXPECT_EQ(keysWhileOpen, 0) << "a key reached another window";
  EXPECT_TRUE(run.ok);
  EXPECT_TRUE(run.closedByAct) << "OK left the dialog open";
  EXPECT_EQ(entry.events[0].key, kDeviceB);

  // The hook went with the dialog: the witness hears keys again.
  ASSERT_TRUE(witness.ComeToFront());
  const int keysAfter = witness.keys();
  ASSERT_TRUE(XSession::XDo("key c"));
  EXPECT_TRUE(WaitUntil([&] { return witness.keys() >= keysAfter + 2; }, 2000));
}

TEST(KeyShortcutGuiTest, CancelExitAndCloseLeaveTheEntryAfterKeysAndClicks) {
  struct Case {
    const char* name;
    std::function<void(HWND)> end;
  };
  const Case cases[] = {
      {"Cancel", [](HWND dialog) { ClickAt(dialog, art::kButtonCancel); }},
      {"Exit", [](HWND dialog) { ClickAt(dialog, art::kButtonExit); }},
      {"close request", [](HWND dialog) { ::PostMessageA(dialog, WM_CLOSE, 0, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MacroKeyInfo original = ShortcutEntry(kDeviceF5, 0x04);
    CopyBounded(original.programPath, "C:\\Tools\\run.exe");
    MacroKeyInfo entry = original;
    std::string shown;
    const ShortcutRun run = RunWorkedBy(entry, [&](HWND dialog) {
      ClickAt(dialog, art::kNone);
      ASSERT_TRUE(XSession::XDo("key a"));
      shown = WaitForKeyText(dialog, "A");
      c.end(dialog);
    });
    EXPECT_FALSE(run.ok);
    EXPECT_TRUE(run.closedByAct) << "the end left the dialog open";
    EXPECT_EQ(shown, "A");
    EXPECT_EQ(std::memcmp(&entry, &original, sizeof entry), 0);
  }
}

}  // namespace
}  // namespace kavo::wine_test
