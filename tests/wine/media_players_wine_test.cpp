// The media players driven through the real API: windows of this process made with the players' classes
// and titles take the messages, and programs registered under HKEY_LOCAL_MACHINE (of this build's Wine
// prefix, in either of its views, in keys that admit reading only) are started.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "monitor/win32/win32_media_players.h"
#include "platform/win32/module_folder.h"
#include "platform/win32/win32_handles.h"
#include "tests/wine/temp_folder.h"

namespace kavo::wine_test {
namespace {

using monitor::MediaCommand;

struct Received {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool operator==(const Received& other) const {
    return message == other.message && wParam == other.wParam && lParam == other.lParam;
  }
};

std::ostream& operator<<(std::ostream& out, const Received& received) {
  return out << "{" << std::hex << received.message << ", " << std::dec << received.wParam << ", " << std::hex
             << received.lParam << std::dec << "}";
}

// Key message parameters as a 32-bit value, zero-extended as Windows gives them on 64 bit.
LPARAM Bits(DWORD value) { return static_cast<LPARAM>(value); }

void Pump() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
}

// A top-level window of this thread with a player's class and title that keeps the commands and keys it is
// sent or posted. Sent messages arrive at once; posted ones only when the test pumps. Hidden, since Wine
// without a window manager takes seconds to destroy a shown window, and a hidden one can still take the
// foreground.
class PlayerWindow {
 public:
  PlayerWindow(const char* className, const char* title) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &PlayerWindow::Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    ::RegisterClassA(&windowClass);  // fails harmlessly when an earlier window registered it
    window_.reset(::CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr,
                                    windowClass.hInstance, this));
  }
  PlayerWindow(const PlayerWindow&) = delete;
  PlayerWindow& operator=(const PlayerWindow&) = delete;

  HWND get() const { return window_.get(); }
  const std::vector<Received>& received() const { return received_; }
  void Clear() { received_.clear(); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PlayerWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && (message == WM_COMMAND || message == WM_KEYDOWN || message == WM_KEYUP || message == WM_APPCOMMAND)) {
      self->received_.push_back({message, wParam, lParam});
      return message == WM_APPCOMMAND ? TRUE : 0;  // taken here: the system is not to act on it
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }

  std::vector<Received> received_;  // outlives the window, which may still get messages while it goes
  win32::UniqueWindow window_;
};

// The two views of HKEY_LOCAL_MACHINE on 64-bit Windows: the keys of 64-bit programs and those of 32-bit
// programs (Wow6432Node). A player registers in the view of its own kind, whatever the service's is.
constexpr REGSAM kView64 = KEY_WOW64_64KEY, kView32 = KEY_WOW64_32KEY;

bool KeyExists(const std::string& path, REGSAM view) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return false;
  ::RegCloseKey(opened);
  return true;
}

// Keys below HKEY_LOCAL_MACHINE that a test registers a player in, in either view, removed again afterwards.
// Keys present before belong to an installed player, which a test must not remove. What a test stores admits
// everyone to reading only, as the machine's keys admit a user without administrator rights.
class MachineKeys {
 public:
  explicit MachineKeys(std::vector<std::string> keys) : keys_(std::move(keys)) {
    for (const std::string& key : keys_) {
      if (Exists(key)) present_ = key;
    }
  }
  ~MachineKeys() {
    for (const Restricted& restricted : restricted_) {
      HKEY key = nullptr;
      if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, restricted.path.c_str(), 0, WRITE_DAC | restricted.view, &key) ==
          ERROR_SUCCESS) {
        ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION,
                            const_cast<unsigned char*>(restricted.original.data()));
        ::RegCloseKey(key);
      }
    }
    if (!present_.empty()) return;
    for (const std::string& path : keys_) {
      for (REGSAM view : {kView64, kView32}) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) {
          continue;
        }
        ::RegDeleteTreeA(key, nullptr);
        ::RegCloseKey(key);
        ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), view, 0);
      }
    }
  }
  MachineKeys(const MachineKeys&) = delete;
  MachineKeys& operator=(const MachineKeys&) = delete;

  // A key that was there before the test; empty when there was none.
  const std::string& present() const { return present_; }

  // In either view.
  static bool Exists(const std::string& key) { return KeyExists(key, kView64) || KeyExists(key, kView32); }

  // The value in the key of that view, then the key closed to everything but reading.
  bool Store(const std::string& path, const char* name, const std::string& value, REGSAM view) {
    HKEY key = nullptr;
    const REGSAM access = KEY_SET_VALUE | READ_CONTROL | WRITE_DAC | view;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      return false;
    }
    Restricted restricted{path, view, {}};
    DWORD size = 0;
    ::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    restricted.original.resize(size);
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    bool stored = size > 0 &&
                  ::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, restricted.original.data(), &size) ==
                      ERROR_SUCCESS &&
                  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS &&
                  ::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly,
                                                                         nullptr);
    if (stored) {
      stored = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
      ::LocalFree(readOnly);
      restricted_.push_back(std::move(restricted));
    }
    ::RegCloseKey(key);
    return stored;
  }

 private:
  struct Restricted {
    std::string path;
    REGSAM view;
    std::vector<unsigned char> original;  // the access list it had
  };
  std::vector<std::string> keys_;
  std::string present_;
  std::vector<Restricted> restricted_;
};

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Waits for what kavo-fake-player.exe writes when it starts; empty when it did not start in time.
std::string WaitForStart(const std::string& program) {
  const std::string marker = program + ".started";
  for (int waited = 0; waited < 20000; waited += 50) {
    const win32::UniqueFile file(::CreateFileA(marker.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      char text[1024] = {};
      DWORD read = 0;
      ::ReadFile(file.get(), text, sizeof text - 1, &read, nullptr);
      return std::string(text, read);
    }
    ::Sleep(50);
  }
  return std::string();
}

// The program can be removed once it has ended; true when it did in time.
bool WaitForEnd(const std::string& program) {
  for (int waited = 0; waited < 10000; waited += 50) {
    if (::DeleteFileA(program.c_str())) return true;
    ::Sleep(50);
  }
  return false;
}

constexpr char kWmpKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe";

class MediaPlayersWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service.get());
    Pump();
  }

  PlayerWindow service{"KavoMediaTestService", "Kavo media test service"};
  monitor::win32::Win32MediaPlayers players{service.get()};
};

TEST_F(MediaPlayersWineTest, WinampTakesItsCommandsAndPlayAlternatesWithPause) {
  PlayerWindow winamp("Winamp v1.x", "1. Artist - Title - Winamp");
  PlayerWindow other("KavoMediaTestOther", "Winamp v1.x");  // titled like Winamp's class: not Winamp
  ASSERT_TRUE(winamp.get() && other.get());
  for (MediaCommand command : {MediaCommand::NextTrack, MediaCommand::PreviousTrack, MediaCommand::Stop,
                               MediaCommand::PlayPause, MediaCommand::PlayPause}) {
    players.Command(3, command);
  }
  // Sent: each has been handled before the call returned.
  const auto commandOf = [](WPARAM id) { return Received{WM_COMMAND, id, 0}; };
  EXPECT_EQ(winamp.received(), (std::vector<Received>{commandOf(40048), commandOf(40044), commandOf(40047),
                                                      commandOf(40045), commandOf(40046)}));
  Pump();
  EXPECT_EQ(winamp.received().size(), 5u);
  EXPECT_TRUE(other.received().empty());
}

TEST_F(MediaPlayersWineTest, ItunesIsSentCtrlWithAnArrowAndPostedTheSpaceBar) {
  PlayerWindow decoy("KavoMediaTestOther", "iTunes");  // the title alone is not enough
  PlayerWindow itunes("iTunes", "iTunes");
  ASSERT_TRUE(decoy.get() && itunes.get());

  players.Command(1, MediaCommand::NextTrack);
  EXPECT_EQ(itunes.received(), (std::vector<Received>{{WM_KEYDOWN, VK_CONTROL, Bits(0x001D0001)},
                                                      {WM_KEYDOWN, VK_RIGHT, Bits(0x014D0001)},
                                                      {WM_KEYUP, VK_RIGHT, Bits(0xC14D0001)},
                                                      {WM_KEYUP, VK_CONTROL, Bits(0xC01D0001)}}));
  itunes.Clear();
  const DWORD start = ::GetTickCount();
  players.Command(1, MediaCommand::PreviousTrack);
  EXPECT_GE(::GetTickCount() - start, 280u) << "100 ms between the four keys";
  EXPECT_EQ(itunes.received(), (std::vector<Received>{{WM_KEYDOWN, VK_CONTROL, Bits(0x001D0001)},
                                                      {WM_KEYDOWN, VK_LEFT, Bits(0x014B0001)},
                                                      {WM_KEYUP, VK_LEFT, Bits(0xC14B0001)},
                                                      {WM_KEYUP, VK_CONTROL, Bits(0xC01D0001)}}));
  itunes.Clear();
  players.Command(1, MediaCommand::PlayPause);
  players.Command(1, MediaCommand::Stop);
  EXPECT_TRUE(itunes.received().empty()) << "the space bar is posted, not sent";
  Pump();
  const std::vector<Received> space = {{WM_KEYDOWN, VK_SPACE, Bits(0x00390001)}, {WM_KEYUP, VK_SPACE, Bits(0xC0390001)}};
  EXPECT_EQ(itunes.received(), (std::vector<Received>{space[0], space[1], space[0], space[1]}));
  EXPECT_TRUE(decoy.received().empty());
}

TEST_F(MediaPlayersWineTest, VlcIsBroughtForwardAndPostedItsKey) {
  PlayerWindow vlc("QWidget", "Film - VLC media player");
  PlayerWindow helper("QWidget", "Qt helper");  // above VLC's window: the walk goes past it
  PlayerWindow front("KavoMediaTestOther", "in front");
  ASSERT_TRUE(vlc.get() && helper.get() && front.get());
  ::SetForegroundWindow(front.get());
  Pump();
  ASSERT_EQ(::GetForegroundWindow(), front.get());

  players.Command(2, MediaCommand::Stop);
  Pump();
  EXPECT_EQ(::GetForegroundWindow(), vlc.get());
  players.Command(2, MediaCommand::NextTrack);
  players.Command(2, MediaCommand::PreviousTrack);
  players.Command(2, MediaCommand::PlayPause);
  Pump();
  EXPECT_EQ(vlc.received(), (std::vector<Received>{{WM_KEYDOWN, 'S', Bits(0x001F0001)},
                                                   {WM_KEYUP, 'S', Bits(0xC01F0001)},
                                                   {WM_KEYDOWN, 'N', Bits(0x00310001)},
                                                   {WM_KEYUP, 'N', Bits(0xC0310001)},
                                                   {WM_KEYDOWN, 'P', Bits(0x00190001)},
                                                   {WM_KEYUP, 'P', Bits(0xC0190001)},
                                                   {WM_KEYDOWN, VK_SPACE, Bits(0x00390001)},
                                                   {WM_KEYUP, VK_SPACE, Bits(0xC0390001)}}));
  EXPECT_TRUE(helper.received().empty());
  EXPECT_TRUE(front.received().empty());
}

TEST_F(MediaPlayersWineTest, WindowsMediaPlayerCommandsGoToTheServiceWindowAsAppCommands) {
  for (MediaCommand command :
       {MediaCommand::NextTrack, MediaCommand::PreviousTrack, MediaCommand::PlayPause, MediaCommand::Stop}) {
    players.Command(0, command);
  }
  Pump();
  const WPARAM own = reinterpret_cast<WPARAM>(service.get());
  EXPECT_EQ(service.received(), (std::vector<Received>{{WM_APPCOMMAND, own, APPCOMMAND_MEDIA_NEXTTRACK << 16},
                                                       {WM_APPCOMMAND, own, APPCOMMAND_MEDIA_PREVIOUSTRACK << 16},
                                                       {WM_APPCOMMAND, own, APPCOMMAND_MEDIA_PLAY_PAUSE << 16},
                                                       {WM_APPCOMMAND, own, APPCOMMAND_MEDIA_STOP << 16}}));
}

TEST_F(MediaPlayersWineTest, StartsTheProgramRegisteredForEachPlayer) {
  struct Value {
    std::string key;
    const char* name;
    std::string value;  // "{exe}" stands for the program's path, "{other}" for a copy that must not start
    REGSAM view = kView64;
  };
  struct Case {
    const char* name;
    int option;
    std::vector<std::string> keys;  // every key the test or the service may create
    std::string folder, program;    // the folder below the test's, its parts separated by backslashes
    std::vector<Value> values;
  };
  const std::string vlc = "SOFTWARE\\Classes\\Applications\\vlc.exe";
  const std::string winamp = "SOFTWARE\\Classes\\Winamp.File", icy = "SOFTWARE\\Classes\\ICY";
  const std::string apple = "SOFTWARE\\Apple Computer, Inc.";
  // Longer than the settings' registry values, so only a reader of the players' full length finds it.
  const std::string longFolder = "winamp-player-folder-named-long-enough-to-need-more-than-eighty-bytes-in-the-registry";
  const Case cases[] = {
      {"Windows Media Player, its path's environment expanded", 0, {kWmpKey}, "WMP", "wmplayer.exe",
       {{kWmpKey, "", "%KAVO_MEDIA_TEST_FOLDER%\\WMP\\wmplayer.exe"}}},
      {"Windows Media Player registered as a quoted path", 0, {kWmpKey}, "Program Files\\WMP", "wmplayer.exe",
       {{kWmpKey, "", "\"{exe}\""}}},
      {"iTunes", 1, {apple}, "iTunes", "iTunes.exe", {{apple + "\\iPod\\RegisteredApps\\4", "path", "{exe}"}}},
      {"iTunes registered for 32-bit programs only", 1, {apple}, "iTunes32", "iTunes.exe",
       {{apple + "\\iPod\\RegisteredApps\\4", "path", "{exe}", kView32}}},
      {"iTunes registered in both views: the 64-bit programs' first", 1, {apple}, "iTunes64", "iTunes.exe",
       {{apple + "\\iPod\\RegisteredApps\\4", "path", "{other}", kView32},
        {apple + "\\iPod\\RegisteredApps\\4", "path", "{exe}", kView64}}},
      {"VLC, quoted play command", 2, {vlc}, "VideoLAN", "vlc.exe",
       {{vlc + "\\shell\\play\\command", "", "\"{exe}\" --started-from-file \"%1\""}}},
      {"VLC, unquoted open command after a short play command", 2, {vlc}, "VLC2", "VLC.EXE",
       {{vlc + "\\shell\\play\\command", "", "\"%1\""}, {vlc + "\\shell\\open\\command", "", "{exe} --started-from-file"}}},
      {"Winamp, a path longer than eighty bytes", 3, {winamp, icy}, longFolder, "winamp.exe",
       {{winamp + "\\shell\\open\\command", "", "\"{exe}\" \"%1\""}}},
      {"Winamp, the stream command after a short file command", 3, {winamp, icy}, "Winamp", "Winamp.exe",
       {{winamp + "\\shell\\open\\command", "", "x"}, {icy + "\\shell\\open\\command", "", "\"{exe}\" \"%1\""}}},
      {"Winamp, the stream command registered for 32-bit programs only", 3, {winamp, icy}, "Winamp32", "winamp.exe",
       {{icy + "\\shell\\open\\command", "", "\"{exe}\" \"%1\"", kView32}}},
      // Unquoted, such a path would start the program named by its part before the space.
      {"Winamp in a folder with a space, quoted", 3, {winamp, icy}, "Program Files\\Winamp", "winamp.exe",
       {{winamp + "\\shell\\open\\command", "", "\"{exe}\" \"%1\""}}},
      {"Winamp in a folder with a space, unquoted", 3, {winamp, icy}, "Program Files\\Winamp", "winamp.exe",
       {{winamp + "\\shell\\open\\command", "", "{exe} \"%1\""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string withoutSlash = folder.path().substr(0, folder.path().size() - 1);
    ASSERT_TRUE(::SetEnvironmentVariableA("KAVO_MEDIA_TEST_FOLDER", withoutSlash.c_str()));
    std::string programFolder = folder.path();
    for (std::size_t from = 0; from < c.folder.size();) {
      const std::size_t end = std::min(c.folder.find('\\', from), c.folder.size());
      programFolder += c.folder.substr(from, end - from);
      ::CreateDirectoryA(programFolder.c_str(), nullptr);
      programFolder += "\\";
      from = end + 1;
    }
    const std::string player = win32::ModuleFolder() + "kavo-fake-player.exe";
    const std::string program = programFolder + c.program;
    const std::string other = folder.Subfolder("other") + c.program;
    // What an unquoted command line starts when the path has a space after "Program".
    const std::string decoy = folder.File("Program.exe");
    for (const std::string& copy : {program, other, decoy}) {
      ASSERT_TRUE(::CopyFileA(player.c_str(), copy.c_str(), FALSE)) << copy;
    }
    MachineKeys keys(c.keys);
    ASSERT_EQ(keys.present(), "") << "a player is registered in this prefix";
    for (const Value& v : c.values) {
      std::string value = v.value;
      if (const auto at = value.find("{exe}"); at != std::string::npos) value.replace(at, 5, program);
      if (const auto at = value.find("{other}"); at != std::string::npos) value.replace(at, 7, other);
      if (c.folder == longFolder) {
        ASSERT_GT(value.size(), kRegistryValueBytes);
      }
      ASSERT_TRUE(keys.Store(v.key, v.name, value, v.view));
    }

    players.StartOrBringForward(c.option);
    // The path quoted whole and nothing after it: the player opens on its own.
    EXPECT_EQ(WaitForStart(program), "\"" + program + "\"");
    for (const std::string& notStarted : {other, decoy}) {
      EXPECT_FALSE(FileExists(notStarted + ".started")) << notStarted << " was started";
    }
    EXPECT_TRUE(WaitForEnd(program));
  }
  ::SetEnvironmentVariableA("KAVO_MEDIA_TEST_FOLDER", nullptr);
  for (const std::string key : {kWmpKey, "SOFTWARE\\Apple Computer, Inc.", "SOFTWARE\\Classes\\Applications\\vlc.exe",
                                "SOFTWARE\\Classes\\Winamp.File", "SOFTWARE\\Classes\\ICY"}) {
    EXPECT_FALSE(MachineKeys::Exists(key)) << key << " is left behind";
  }
}

TEST_F(MediaPlayersWineTest, ARunningWindowsMediaPlayerIsBroughtForward) {
  MachineKeys keys({kWmpKey});
  ASSERT_EQ(keys.present(), "") << "a player is registered in this prefix";
  PlayerWindow wmp("WMPlayerApp", "Windows Media Player");
  PlayerWindow front("KavoMediaTestOther", "in front");
  ASSERT_TRUE(wmp.get() && front.get());
  ::SetForegroundWindow(front.get());
  Pump();
  ASSERT_EQ(::GetForegroundWindow(), front.get());
  players.StartOrBringForward(0);
  Pump();
  EXPECT_EQ(::GetForegroundWindow(), wmp.get());
  EXPECT_FALSE(MachineKeys::Exists(kWmpKey)) << "looking the player up wrote to the machine's registry";
}

TEST_F(MediaPlayersWineTest, AnotherChoiceOfPlayerLeavesEveryPlayerAlone) {
  PlayerWindow winamp("Winamp v1.x", "Winamp");
  PlayerWindow itunes("iTunes", "iTunes");
  PlayerWindow vlc("QWidget", "VLC media player");
  for (int option : {-1, 4}) {
    players.StartOrBringForward(option);
    for (MediaCommand command :
         {MediaCommand::PreviousTrack, MediaCommand::NextTrack, MediaCommand::PlayPause, MediaCommand::Stop}) {
      players.Command(option, command);
    }
  }
  Pump();
  for (const PlayerWindow* window : {&winamp, &itunes, &vlc, &service}) {
    EXPECT_TRUE(window->received().empty());
  }
}

}  // namespace
}  // namespace kavo::wine_test
