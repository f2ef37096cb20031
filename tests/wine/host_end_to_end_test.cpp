// KavoMonitor.exe with the simulated mouse, for the host functions that look at other programs: the game
// in front takes its profile (in the mouse too), a tilt scrolls the window under the pointer, and media
// buttons drive a player or start it from its registration.
#include <gtest/gtest.h>
#include <windows.h>
#include <windowsx.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/bounded_text.h"
#include "platform/win32/module_folder.h"
#include "tests/wine/foreground_switch.h"
#include "tests/wine/recording_window.h"
#include "tests/wine/service_session.h"

namespace kavo::wine_test {
namespace {

constexpr char kOptionTitle[] = "VELMAR Kavo Mouse Option";
constexpr UINT kFreshData = 1254, kProfileChanged = 1255;
constexpr std::uint8_t kTiltLeft = 9, kTiltRight = 10, kPlayerStart = 32, kNextTrack = 34, kPlayPause = 35;

class HostEndToEndTest : public ServiceSessionTest {
 protected:
  // The profile files the service loads: defaults, with what edit asks for; profile 0 current and for
  // Windows.
  void WriteProfiles(const std::function<void(int, ProfileRecord&)>& edit) {
    for (int p = 0; p < kProfileCount; ++p) {
      auto record = NewRecord();
      ResetProfile(record->profiles[p], p);
      edit(p, record->profiles[p]);
      ASSERT_EQ(folder().settings().WriteProfile(record->profiles[p], folder().settings().SlotPath(p)), 1);
    }
    WriteConfigInt("CurrentProfile", 0);
    WriteConfigInt("WindowsProfile", 0);
  }
  // Input k of profile 0 in the mouse carries the function code.
  void SetMouseButton(int input, std::uint8_t code) {
    ChangeMouse([&](sim::MouseMemory& memory) { memory.profiles[0].buttons[input - 1] = code; });
  }
  // Starts the service and waits until it has read the mouse.
  void StartAndRead(RecordingWindow& option) {
    StartService();
    ASSERT_TRUE(option.WaitFor(kFreshData, 1, kReadTimeoutMs)) << "the first read never finished";
  }
  std::string Active() { return folder().DumpLine(0); }
  void Click(int input) { folder().SimOk("click " + std::to_string(input)); }
  // Puts the pointer at the point and waits until it stays there: moves the service injected for an earlier
  // click may still be on their way and would otherwise carry it back.
  static void MovePointer(POINT to) {
    int steady = 0;
    for (int round = 0; round < 100 && steady < 5; ++round) {
      POINT now;
      ::GetCursorPos(&now);
      if (now.x == to.x && now.y == to.y) {
        ++steady;
      } else {
        steady = 0;
        ::SetCursorPos(to.x, to.y);
      }
      ::Sleep(50);
    }
    ASSERT_EQ(steady, 5) << "the pointer did not stay at " << to.x << "," << to.y;
  }
};

TEST_F(HostEndToEndTest, TheGameInFrontTakesItsProfileAndLeavingItBringsBackTheProfileForWindows) {
  MakeFolder(false);
  WriteProfiles([](int p, ProfileRecord& profile) {
    if (p == 2) CopyBounded(profile.GameFile1, "  C:\\Games\\Shooter\\SHOOTER.exe ");
  });
  auto option = std::make_unique<RecordingWindow>(kOptionTitle);
  StartAndRead(*option);
  ASSERT_EQ(Active(), "active 0");

  const std::string game = folder().File("shooter.exe");
  ASSERT_TRUE(::CopyFileA((win32::ModuleFolder() + "kavo-foreground-standin.exe").c_str(), game.c_str(), FALSE));
  ChildProcess shooter = StartProgram(game, "", folder().program());
  ASSERT_TRUE(shooter.handle);
  EXPECT_TRUE(WaitFor([&] { return Active() == "active 2"; }, 15000, 250)) << "the mouse never took the game's profile";
  EXPECT_TRUE(option->WaitFor(kProfileChanged, 1, 5000));
  auto published = FetchBlock();
  ASSERT_NE(published, nullptr);
  EXPECT_EQ(+published->CurrentProfile, 2);
  EXPECT_EQ(folder().ConfigInt("CurrentProfile", -1), 0) << "a game's profile is not saved as the current one";

  // The game ends while the configuration program is open: the game's profile stays.
  for (HWND window : TopLevelWindows(shooter.id, "Kavo game stand-in")) ::PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(shooter.WaitForExit(10000));
  ::Sleep(5000);  // two and a half looks at the foreground
  EXPECT_EQ(Active(), "active 2");

  // Once it is closed, the profile for Windows comes back.
  option.reset();
  EXPECT_TRUE(WaitFor([&] { return Active() == "active 0"; }, 15000, 250));
}

// Each window brought to the front moves the mouse to its profile at once, well before timer 500's next
// look could: "game.exe" to its profile, a plain window back to the profile for Windows. Six switches
// in a row within a second each, which the timer's looks two seconds apart would meet only by chance.
TEST_F(HostEndToEndTest, TheMouseFollowsEachWindowBroughtToTheFrontAtOnce) {
  constexpr int kWindowsProfile = 1, kGameProfile = 2;
  constexpr DWORD kAtOnceMs = 1000;
  MakeFolder(false);
  WriteProfiles([](int p, ProfileRecord& profile) {
    if (p == kGameProfile) CopyBounded(profile.GameFile0, "C:\\Games\\Arena\\game.exe");
  });
  WriteConfigInt("WindowsProfile", kWindowsProfile);
  {
    // Open, the configuration program would keep the profile for Windows from coming back.
    RecordingWindow option(kOptionTitle);
    StartAndRead(option);
  }
  RecordingWindow plain("Kavo plain window", "KavoPlainWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(plain.window(), nullptr);
  const std::string game = folder().File("game.exe");
  ASSERT_TRUE(::CopyFileA((win32::ModuleFolder() + "kavo-foreground-standin.exe").c_str(), game.c_str(), FALSE));
  ChildProcess arena = StartProgram(game, "", folder().program());
  ASSERT_TRUE(arena.handle);
  HWND gameWindow = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        const auto found = TopLevelWindows(arena.id, "Kavo game stand-in");
        gameWindow = found.empty() ? nullptr : found.front();
        return gameWindow != nullptr;
      },
      10000));
  ASSERT_TRUE(WaitFor([&] { return Active() == "active 2"; }, 15000, 100)) << "the game started in front";

  struct Switch {
    const char* what;
    HWND window;
    std::string active;
  };
  const Switch switches[] = {
      {"a plain window", plain.window(), "active 1"}, {"the game", gameWindow, "active 2"},
      {"a plain window", plain.window(), "active 1"}, {"the game", gameWindow, "active 2"},
      {"a plain window", plain.window(), "active 1"}, {"the game", gameWindow, "active 2"},
  };
  for (const Switch& s : switches) {
    SCOPED_TRACE(s.what);
    ::Sleep(700);  // the device thread rests half a second after each profile it writes
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(BringToFront(s.window));
    ASSERT_TRUE(WaitFor([&] { return Active() == s.active; }, 5000, 20)) << "the mouse never followed";
    EXPECT_LT(::GetTickCount() - start, kAtOnceMs) << "followed only at the timer's look";
  }
  auto published = FetchBlock();
  ASSERT_NE(published, nullptr);
  EXPECT_EQ(+published->CurrentProfile, kGameProfile);
  for (HWND window : TopLevelWindows(arena.id, "Kavo game stand-in")) ::PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(arena.WaitForExit(10000));
}

TEST_F(HostEndToEndTest, TiltsScrollTheWindowUnderThePointer) {
  MakeFolder(false);
  WriteProfiles([](int, ProfileRecord& profile) { profile.TiltSpeed = 3; });
  SetMouseButton(4, kTiltLeft);
  SetMouseButton(5, kTiltRight);
  RecordingWindow option(kOptionTitle);
  RecordingWindow target("Kavo wide document", "KavoWideDocument", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VISIBLE);
  ASSERT_NE(target.window(), nullptr);
  ::SetWindowPos(target.window(), HWND_TOPMOST, 300, 300, 400, 300, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  RECT client;
  ::GetWindowRect(target.window(), &client);
  const POINT pointer{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
  MovePointer(pointer);
  ASSERT_EQ(::WindowFromPoint(pointer), target.window());
  StartAndRead(option);

  struct Case {
    int input;
    WPARAM code;
  };
  for (const Case& c : {Case{5, SB_LINERIGHT}, Case{4, SB_LINELEFT}}) {
    SCOPED_TRACE(c.input);
    const std::size_t before = target.Count(WM_HSCROLL);
    Click(c.input);
    ASSERT_TRUE(target.WaitFor(WM_HSCROLL, before + 3, 10000)) << "three steps, as the profile's tilt speed says";
    const auto received = target.Received(WM_HSCROLL);
    for (std::size_t i = before; i < received.size(); ++i) EXPECT_EQ(LOWORD(received[i].wParam), c.code);
  }
  POINT now;
  ::GetCursorPos(&now);
  EXPECT_EQ(now.x, pointer.x);
  EXPECT_EQ(now.y, pointer.y);
}

// A spreadsheet is scrolled by clicks on its bar's arrows, a document through the bar beside it; the
// pointer ends where it was.
TEST_F(HostEndToEndTest, TiltsClickASpreadsheetsArrowsAndDriveADocumentsSiblingBar) {
  MakeFolder(false);
  WriteProfiles([](int, ProfileRecord& profile) { profile.TiltSpeed = 2; });
  SetMouseButton(5, kTiltRight);
  RecordingWindow option(kOptionTitle);
  RecordingWindow sheet("Kavo sheet", "EXCEL7", WS_POPUP | WS_HSCROLL | WS_VISIBLE);
  RecordingWindow frame("Kavo document", "KavoDocumentFrame", WS_POPUP | WS_VISIBLE);
  ASSERT_TRUE(sheet.window() && frame.window());
  ::SetWindowPos(sheet.window(), HWND_TOPMOST, 100, 100, 300, 200, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  ::SetWindowPos(frame.window(), HWND_TOPMOST, 500, 100, 300, 240, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  // The document's page and the bar below it, both children of the frame.
  WNDCLASSA pageClass{};
  pageClass.lpfnWndProc = ::DefWindowProcA;
  pageClass.hInstance = ::GetModuleHandleA(nullptr);
  pageClass.lpszClassName = "_WwG";
  ::RegisterClassA(&pageClass);
  win32::UniqueWindow page(::CreateWindowExA(0, "_WwG", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 220, frame.window(),
                                             nullptr, pageClass.hInstance, nullptr));
  win32::UniqueWindow bar(::CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 220, 300, 20,
                                            frame.window(), nullptr, ::GetModuleHandleA(nullptr), nullptr));
  ASSERT_TRUE(page && bar);
  StartAndRead(option);

  const POINT overSheet{250, 200};
  MovePointer(overSheet);
  Click(5);
  ASSERT_TRUE(sheet.WaitFor(WM_LBUTTONUP, 2, 10000)) << "two clicks, as the profile's tilt speed says";
  for (const auto& click : sheet.Received(WM_LBUTTONDOWN)) {
    RECT window;
    ::GetWindowRect(sheet.window(), &window);
    POINT at{GET_X_LPARAM(click.lParam), GET_Y_LPARAM(click.lParam)};
    ::ClientToScreen(sheet.window(), &at);
    EXPECT_EQ(at.x, window.right - 5) << "on the right arrow";
    EXPECT_EQ(at.y, window.top + 5);
  }
  POINT now;
  ::GetCursorPos(&now);
  EXPECT_EQ(now.x, overSheet.x);
  EXPECT_EQ(now.y, overSheet.y);

  // Only once the sheet's clicks are over: the service's move back could otherwise overtake this one.
  ::Sleep(300);
  MovePointer(POINT{650, 200});  // over the page
  Click(5);
  ASSERT_TRUE(frame.WaitFor(WM_HSCROLL, 2, 10000));
  for (const auto& scroll : frame.Received(WM_HSCROLL)) {
    EXPECT_EQ(LOWORD(scroll.wParam), SB_LINERIGHT);
    EXPECT_EQ(reinterpret_cast<HWND>(scroll.lParam), bar.get()) << "driven through the parent, naming the bar";
  }
}

TEST_F(HostEndToEndTest, MediaButtonsDriveWinamp) {
  MakeFolder(false);
  WriteProfiles([](int, ProfileRecord& profile) { profile.MediaOption = 3; });
  SetMouseButton(4, kNextTrack);
  SetMouseButton(5, kPlayPause);
  RecordingWindow option(kOptionTitle);
  RecordingWindow winamp("Winamp", "Winamp v1.x");
  StartAndRead(option);
  Click(4);
  Click(5);
  Click(5);
  ASSERT_TRUE(winamp.WaitFor(WM_COMMAND, 3, 10000));
  std::vector<WPARAM> commands;
  for (const auto& received : winamp.Received(WM_COMMAND)) commands.push_back(received.wParam);
  EXPECT_EQ(commands, (std::vector<WPARAM>{40048, 40045, 40046})) << "next, then play and pause by turns";
}

TEST_F(HostEndToEndTest, OpenPlayerStartsTheRegisteredProgram) {
  constexpr char kKey[] = "SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command";
  HKEY existing = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &existing) == ERROR_SUCCESS) {
    ::RegCloseKey(existing);
    GTEST_SKIP() << "a player is registered in this prefix; it is not ours to change";
  }
  MakeFolder(false);
  WriteProfiles([](int, ProfileRecord& profile) { profile.MediaOption = 3; });
  SetMouseButton(4, kPlayerStart);
  const std::string player = folder().File("winamp.exe");
  ASSERT_TRUE(::CopyFileA((win32::ModuleFolder() + "kavo-fake-player.exe").c_str(), player.c_str(), FALSE));
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::string command = "\"" + player + "\" \"%1\"";
  ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
  ::RegCloseKey(key);
  struct RemoveKey {
    ~RemoveKey() { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Winamp.File"); }
  } removeKey;

  RecordingWindow option(kOptionTitle);
  StartAndRead(option);
  Click(4);
  const std::string marker = player + ".started";
  EXPECT_TRUE(WaitFor([&] { return ::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000, 100))
      << "the registered player was not started";
}

}  // namespace
}  // namespace kavo::wine_test
