#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "monitor/media_players.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_registry.h"

namespace kavo::monitor {
namespace {

using Log = std::vector<std::string>;

struct FakeWindow {
  std::string className;
  std::string title;
};

// Top-level windows in z-order (topmost first, window n is number n), and every effect noted in order:
// "send iTunes WM_KEYDOWN 17 001D0001", "front VLC media player", "start C:\vlc.exe".
class RecordingDesktop final : public PlayerDesktop {
 public:
  static constexpr DesktopWindow kService = 900;

  explicit RecordingDesktop(Log& log) : log_(log) {}

  DesktopWindow FindTopWindow(const char* className, const char* title) override {
    for (std::size_t i = 0; i < windows.size(); ++i) {
      if ((!className || windows[i].className == className) && (!title || windows[i].title == title)) return i + 1;
    }
    return 0;
  }
  DesktopWindow NextWindow(DesktopWindow window) override {
    if (window < windows.size()) return window + 1;
    return zOrderKeepsChanging && !windows.empty() ? 1 : 0;
  }
  std::string ClassName(DesktopWindow window) override { return At(window).className; }
  std::string Title(DesktopWindow window) override { return At(window).title; }
  void Post(DesktopWindow window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    Note("post", window, message, wParam, lParam);
  }
  void Send(DesktopWindow window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    Note("send", window, message, wParam, lParam);
  }
  void BringToFront(DesktopWindow window) override { log_.push_back("front " + NameOf(window)); }
  void StartProgram(const std::string& commandLine) override { log_.push_back("start " + commandLine); }
  std::string ExpandEnvironment(const std::string& text) override {
    std::string expanded = text;
    for (const auto& [name, value] : environment) {
      const std::string reference = "%" + name + "%";
      for (auto at = expanded.find(reference); at != std::string::npos; at = expanded.find(reference, at + value.size())) {
        expanded.replace(at, reference.size(), value);
      }
    }
    return expanded;
  }
  DesktopWindow ServiceWindow() override { return kService; }

  std::vector<FakeWindow> windows;
  std::map<std::string, std::string> environment;
  bool zOrderKeepsChanging = false;  // the walk past the last window comes back to the first

 private:
  const FakeWindow& At(DesktopWindow window) const {
    static const FakeWindow none;
    return window >= 1 && window <= windows.size() ? windows[window - 1] : none;
  }
  std::string NameOf(DesktopWindow window) const { return window == kService ? "service" : At(window).title; }
  void Note(const char* how, DesktopWindow window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const std::map<unsigned, const char*> names = {
        {0x0100, "WM_KEYDOWN"}, {0x0101, "WM_KEYUP"}, {0x0111, "WM_COMMAND"}, {0x0319, "WM_APPCOMMAND"}};
    const auto name = names.find(message);
    char parameter[32];
    std::snprintf(parameter, sizeof parameter, "%08llX", static_cast<unsigned long long>(lParam));
    log_.push_back(std::string(how) + " " + NameOf(window) + " " +
                   (name != names.end() ? name->second : std::to_string(message)) + " " + std::to_string(wParam) +
                   " " + parameter);
  }

  Log& log_;
};

constexpr char kWmpKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe";
constexpr char kItunesKey[] = "SOFTWARE\\Apple Computer, Inc.\\iPod\\RegisteredApps\\4";
constexpr char kVlcPlayKey[] = "SOFTWARE\\Classes\\Applications\\vlc.exe\\shell\\play\\command";
constexpr char kVlcOpenKey[] = "SOFTWARE\\Classes\\Applications\\vlc.exe\\shell\\open\\command";
constexpr char kWinampKey[] = "SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command";
constexpr char kIcyKey[] = "SOFTWARE\\Classes\\ICY\\shell\\open\\command";

const FakeWindow kWinamp{"Winamp v1.x", "1. Artist - Song - Winamp"};
const FakeWindow kItunes{"iTunes", "iTunes"};
const FakeWindow kVlc{"QWidget", "Song.mp3 - VLC media player"};

class MediaPlayerControlTest : public ::testing::Test {
 protected:
  MediaPlayerControlTest() {
    // Each pause noted with its length, in order with the messages.
    clock.OnSleep([this](int now) {
      log.push_back("pause " + std::to_string(now - lastPause_));
      lastPause_ = now;
    });
  }

  Log log;
  RecordingDesktop desktop{log};
  test::FakeRegistryReader registry{kPlayerRegistryValueBytes};
  test::FakeClock clock;
  MediaPlayerControl players{desktop, registry, clock};

 private:
  int lastPause_ = 0;
};

TEST(PlayerPathTest, PicksTheProgramOutOfTheRegisteredCommand) {
  struct Case {
    const char* name;
    std::string (*parse)(std::string_view);
    std::string command;
    std::string path;
  };
  const Case cases[] = {
      {"VLC: a quoted path with options", PlayerPathFromVlcCommand,
       R"("C:\Program Files\VideoLAN\VLC\vlc.exe" --started-from-file "%1")", R"(C:\Program Files\VideoLAN\VLC\vlc.exe)"},
      {"VLC: unquoted, cut before --started", PlayerPathFromVlcCommand, R"(C:\VLC\vlc.exe --started-from-file "%1")",
       R"(C:\VLC\vlc.exe)"},
      {"VLC: unquoted with a space in the path", PlayerPathFromVlcCommand,
       R"(C:\Program Files\VLC\vlc.exe --started-from-file "%1")", R"(C:\Program Files\VLC\vlc.exe)"},
      {"VLC: unquoted without --started ends before its argument", PlayerPathFromVlcCommand, R"(C:\VLC\vlc.exe "%1")",
       R"(C:\VLC\vlc.exe)"},
      {"VLC: unquoted without the extension, cut before --started", PlayerPathFromVlcCommand,
       R"(C:\VLC\vlc --started-from-file)", R"(C:\VLC\vlc)"},
      {"VLC: an unclosed quote runs to the end; the name in any case", PlayerPathFromVlcCommand,
       R"("C:\VLC\VLC.EXE --open)", R"(C:\VLC\VLC.EXE --open)"},
      {"VLC: spaces before the quote", PlayerPathFromVlcCommand, R"(  "C:\VLC\vlc.exe" "%1")", R"(C:\VLC\vlc.exe)"},
      {"VLC: the name only in the options is refused", PlayerPathFromVlcCommand,
       R"("C:\Players\player.exe" --intf vlc)", ""},
      {"VLC: the name only after --started is refused", PlayerPathFromVlcCommand,
       R"(C:\Players\player --started-from-vlc)", ""},
      {"VLC: nothing registered", PlayerPathFromVlcCommand, "", ""},
      {"Winamp: a quoted path with its argument", PlayerPathFromWinampCommand,
       R"("C:\Program Files\Winamp\winamp.exe" "%1")", R"(C:\Program Files\Winamp\winamp.exe)"},
      {"Winamp: unquoted, the path before its quoted argument", PlayerPathFromWinampCommand,
       R"(C:\Winamp\winamp.exe "%1")", R"(C:\Winamp\winamp.exe)"},
      {"Winamp: unquoted with a space in the path", PlayerPathFromWinampCommand,
       R"(C:\Program Files\Winamp\winamp.exe "%1")", R"(C:\Program Files\Winamp\winamp.exe)"},
      {"Winamp: unquoted, the program ends with its extension", PlayerPathFromWinampCommand,
       R"(C:\Winamp\Winamp.EXE /ADD "%1")", R"(C:\Winamp\Winamp.EXE)"},
      {"Winamp: an extension inside a folder's name does not end it", PlayerPathFromWinampCommand,
       R"(C:\Tools.exe.d\winamp.exe /ADD)", R"(C:\Tools.exe.d\winamp.exe)"},
      {"Winamp: unquoted without an extension or an argument is whole", PlayerPathFromWinampCommand,
       R"(C:\Winamp\winamp)", R"(C:\Winamp\winamp)"},
      {"Winamp: an unclosed quote runs to the end", PlayerPathFromWinampCommand, R"("D:\WINAMP\WINAMP.EXE)",
       R"(D:\WINAMP\WINAMP.EXE)"},
      {"Winamp: the name only in the arguments is refused", PlayerPathFromWinampCommand,
       R"("C:\Tools\player.exe" /skin=winamp)", ""},
      {"Winamp: only spaces", PlayerPathFromWinampCommand, "   ", ""},
      {"iTunes: the path as registered, any case", PlayerPathFromItunesPath, R"(C:\Program Files\ITUNES\itunes.exe)",
       R"(C:\Program Files\ITUNES\itunes.exe)"},
      {"iTunes: a quoted path loses its quotes", PlayerPathFromItunesPath, R"("C:\Program Files\iTunes\iTunes.exe")",
       R"(C:\Program Files\iTunes\iTunes.exe)"},
      {"iTunes: another program is refused", PlayerPathFromItunesPath, R"(C:\Program Files\Music\player.exe)", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.parse(c.command), c.path) << c.name;
  }
}

TEST_F(MediaPlayerControlTest, StartsThePlayerTheRegistryNames) {
  struct Value {
    const char* key;
    const char* name;
    std::string value;
  };
  struct Case {
    const char* name;
    int option;
    std::vector<Value> values;
    std::vector<FakeWindow> windows;
    Log effects;
  };
  const std::string vlcOpen = R"("C:\VLC\vlc.exe" --started-from-file "%1")";
  const Case cases[] = {
      {"WMP: the path with the environment expanded", kPlayerWindowsMedia,
       {{kWmpKey, "", R"(%ProgramFiles%\Windows Media Player\wmplayer.exe)"}}, {},
       {R"(start "C:\Program Files\Windows Media Player\wmplayer.exe")"}},
      {"WMP: a quoted registration is quoted once", kPlayerWindowsMedia,
       {{kWmpKey, "", R"("%ProgramFiles%\Windows Media Player\wmplayer.exe")"}}, {},
       {R"(start "C:\Program Files\Windows Media Player\wmplayer.exe")"}},
      {"WMP: a running one is brought forward instead", kPlayerWindowsMedia,
       {{kWmpKey, "", R"(%ProgramFiles%\Windows Media Player\wmplayer.exe)"}},
       {{"WMPlayerApp", "Windows Media Player"}}, {"front Windows Media Player"}},
      {"WMP: a running one is brought forward without a registered path", kPlayerWindowsMedia, {},
       {{"WMPlayerApp", "Windows Media Player"}}, {"front Windows Media Player"}},
      {"WMP: neither registered nor running", kPlayerWindowsMedia, {}, {}, {}},
      {"iTunes: the registered path", kPlayerItunes, {{kItunesKey, "path", R"(C:\iTunes\iTunes.exe)"}}, {},
       {R"(start "C:\iTunes\iTunes.exe")"}},
      {"iTunes: read from the value named path only", kPlayerItunes, {{kItunesKey, "", R"(C:\iTunes\iTunes.exe)"}}, {},
       {}},
      {"iTunes: a path to another program", kPlayerItunes, {{kItunesKey, "path", R"(C:\Apple\Music.exe)"}}, {}, {}},
      {"VLC: the play command", kPlayerVlc, {{kVlcPlayKey, "", R"(C:\VLC\vlc.exe --started-from-file "%1")"}}, {},
       {R"(start "C:\VLC\vlc.exe")"}},
      {"VLC: ten characters are a command", kPlayerVlc,
       {{kVlcPlayKey, "", R"(C:\vlc.exe)"}, {kVlcOpenKey, "", vlcOpen}}, {}, {R"(start "C:\vlc.exe")"}},
      {"VLC: nine characters fall back to the open command", kPlayerVlc,
       {{kVlcPlayKey, "", R"(C:\vl.vlc)"}, {kVlcOpenKey, "", vlcOpen}}, {}, {R"(start "C:\VLC\vlc.exe")"}},
      {"VLC: no play command falls back to the open command", kPlayerVlc, {{kVlcOpenKey, "", vlcOpen}}, {},
       {R"(start "C:\VLC\vlc.exe")"}},
      {"VLC: another program is not started", kPlayerVlc,
       {{kVlcPlayKey, "", R"("C:\Media\player.exe" --started-from-file "%1")"}}, {}, {}},
      {"Winamp: the file command", kPlayerWinamp,
       {{kWinampKey, "", R"("C:\Winamp\winamp.exe" "%1")"}, {kIcyKey, "", R"("C:\Other\winamp.exe" "%1")"}}, {},
       {R"(start "C:\Winamp\winamp.exe")"}},
      {"Winamp: a short file command falls back to the stream command", kPlayerWinamp,
       {{kWinampKey, "", "\"%1\""}, {kIcyKey, "", R"("C:\Winamp\winamp.exe" "%1")"}}, {},
       {R"(start "C:\Winamp\winamp.exe")"}},
      {"Winamp: another program is not started", kPlayerWinamp, {{kWinampKey, "", R"("C:\Tools\tool.exe" "%1")"}}, {},
       {}},
      {"Winamp: a running one is started again (it keeps to one instance)", kPlayerWinamp,
       {{kWinampKey, "", R"("C:\Winamp\winamp.exe" "%1")"}}, {kWinamp}, {R"(start "C:\Winamp\winamp.exe")"}},
  };
  desktop.environment["ProgramFiles"] = R"(C:\Program Files)";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry.keys.clear();
    for (const Value& v : c.values) registry.keys[RegistryView::Programs64Bit][v.key][v.name] = v.value;
    desktop.windows = c.windows;
    log.clear();
    players.StartOrBringForward(c.option);
    EXPECT_EQ(log, c.effects);
  }
}

TEST_F(MediaPlayerControlTest, AKeyThatCannotBeOpenedIsReadAsEmpty) {
  registry.BlockKey(kVlcPlayKey, RegistryView::Programs64Bit);
  registry.BlockKey(kVlcPlayKey, RegistryView::Programs32Bit);
  registry.keys[RegistryView::Programs64Bit][kVlcOpenKey][""] = R"("C:\VLC\vlc.exe" "%1")";
  players.StartOrBringForward(kPlayerVlc);
  EXPECT_EQ(log, Log{R"(start "C:\VLC\vlc.exe")"});
}

TEST_F(MediaPlayerControlTest, ARegistrationIsLookedForInThe64BitViewThenThe32BitOne) {
  constexpr RegistryView k64 = RegistryView::Programs64Bit, k32 = RegistryView::Programs32Bit;
  struct Value {
    RegistryView view;
    const char* key;
    const char* name;
    std::string value;
  };
  struct Case {
    const char* name;
    int option;
    std::vector<Value> values;
    Log effects;
  };
  const std::string winamp64 = R"("C:\Program Files\Winamp\winamp.exe" "%1")";
  const std::string winamp32 = R"("C:\Program Files (x86)\Winamp\winamp.exe" "%1")";
  const Case cases[] = {
      {"iTunes for 32-bit programs only", kPlayerItunes, {{k32, kItunesKey, "path", R"(C:\iTunes32\iTunes.exe)"}},
       {R"(start "C:\iTunes32\iTunes.exe")"}},
      {"iTunes in both views: the 64-bit one", kPlayerItunes,
       {{k32, kItunesKey, "path", R"(C:\iTunes32\iTunes.exe)"}, {k64, kItunesKey, "path", R"(C:\iTunes\iTunes.exe)"}},
       {R"(start "C:\iTunes\iTunes.exe")"}},
      {"iTunes: a key of the 64-bit view without the value", kPlayerItunes,
       {{k64, kItunesKey, "other", "x"}, {k32, kItunesKey, "path", R"(C:\iTunes32\iTunes.exe)"}},
       {R"(start "C:\iTunes32\iTunes.exe")"}},
      {"iTunes: an empty value counts as none", kPlayerItunes,
       {{k64, kItunesKey, "path", ""}, {k32, kItunesKey, "path", R"(C:\iTunes32\iTunes.exe)"}},
       {R"(start "C:\iTunes32\iTunes.exe")"}},
      {"Winamp: the file command of the 32-bit view before the stream command", kPlayerWinamp,
       {{k32, kWinampKey, "", winamp32}, {k64, kIcyKey, "", winamp64}},
       {R"(start "C:\Program Files (x86)\Winamp\winamp.exe")"}},
      {"Winamp: a short file command in one view, a full one in the other", kPlayerWinamp,
       {{k64, kWinampKey, "", "\"%1\""}, {k32, kWinampKey, "", winamp32}, {k64, kIcyKey, "", winamp64}},
       {R"(start "C:\Program Files (x86)\Winamp\winamp.exe")"}},
      {"Winamp: the stream command of the 32-bit view", kPlayerWinamp, {{k32, kIcyKey, "", winamp32}},
       {R"(start "C:\Program Files (x86)\Winamp\winamp.exe")"}},
      {"WMP for 32-bit programs only", kPlayerWindowsMedia,
       {{k32, kWmpKey, "", R"(C:\Program Files (x86)\Windows Media Player\wmplayer.exe)"}},
       {R"(start "C:\Program Files (x86)\Windows Media Player\wmplayer.exe")"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry.keys.clear();
    for (const Value& v : c.values) registry.keys[v.view][v.key][v.name] = v.value;
    log.clear();
    players.StartOrBringForward(c.option);
    EXPECT_EQ(log, c.effects);
  }
}

TEST_F(MediaPlayerControlTest, A64BitRegistrationIsReadWithoutLookingFurther) {
  registry.keys[RegistryView::Programs64Bit][kVlcPlayKey][""] = R"("C:\VLC\vlc.exe" --started-from-file "%1")";
  players.StartOrBringForward(kPlayerVlc);
  const std::string play = kVlcPlayKey, open = kVlcOpenKey;
  EXPECT_EQ(registry.opened, std::vector<std::string>{"64 " + play});
  registry.opened.clear();
  registry.keys.clear();
  players.StartOrBringForward(kPlayerVlc);
  EXPECT_EQ(registry.opened, (std::vector<std::string>{"64 " + play, "32 " + play, "64 " + open, "32 " + open}));
  EXPECT_EQ(log, Log{R"(start "C:\VLC\vlc.exe")"});
}

TEST_F(MediaPlayerControlTest, AValueTooLongForTheBufferIsNotRead) {
  // Cut short, it could name another program.
  const std::string folder(kPlayerRegistryValueBytes, 'w');
  registry.keys[RegistryView::Programs64Bit][kItunesKey]["path"] = R"(C:\)" + folder + R"(\iTunes.exe)";
  registry.keys[RegistryView::Programs32Bit][kItunesKey]["path"] = R"(C:\iTunes\iTunes.exe)";
  players.StartOrBringForward(kPlayerItunes);
  EXPECT_EQ(log, Log{R"(start "C:\iTunes\iTunes.exe")"});
}

TEST_F(MediaPlayerControlTest, EachPlayerGetsItsMessagesForEachCommand) {
  struct Case {
    const char* name;
    int option;
    MediaCommand command;
    Log effects;
  };
  const std::string vlcFront = "front " + kVlc.title, toVlc = "post " + kVlc.title + " ";
  const std::string toWinamp = "send " + kWinamp.title + " ";
  const Case cases[] = {
      {"WMP next", kPlayerWindowsMedia, MediaCommand::NextTrack, {"post service WM_APPCOMMAND 900 000B0000"}},
      {"WMP previous", kPlayerWindowsMedia, MediaCommand::PreviousTrack, {"post service WM_APPCOMMAND 900 000C0000"}},
      {"WMP play", kPlayerWindowsMedia, MediaCommand::PlayPause, {"post service WM_APPCOMMAND 900 000E0000"}},
      {"WMP stop", kPlayerWindowsMedia, MediaCommand::Stop, {"post service WM_APPCOMMAND 900 000D0000"}},
      {"iTunes next", kPlayerItunes, MediaCommand::NextTrack,
       {"send iTunes WM_KEYDOWN 17 001D0001", "pause 100", "send iTunes WM_KEYDOWN 39 014D0001", "pause 100",
        "send iTunes WM_KEYUP 39 C14D0001", "pause 100", "send iTunes WM_KEYUP 17 C01D0001"}},
      {"iTunes previous", kPlayerItunes, MediaCommand::PreviousTrack,
       {"send iTunes WM_KEYDOWN 17 001D0001", "pause 100", "send iTunes WM_KEYDOWN 37 014B0001", "pause 100",
        "send iTunes WM_KEYUP 37 C14B0001", "pause 100", "send iTunes WM_KEYUP 17 C01D0001"}},
      {"iTunes play", kPlayerItunes, MediaCommand::PlayPause,
       {"post iTunes WM_KEYDOWN 32 00390001", "pause 100", "post iTunes WM_KEYUP 32 C0390001"}},
      {"iTunes stop", kPlayerItunes, MediaCommand::Stop,
       {"post iTunes WM_KEYDOWN 32 00390001", "pause 100", "post iTunes WM_KEYUP 32 C0390001"}},
      {"VLC next", kPlayerVlc, MediaCommand::NextTrack,
       {vlcFront, toVlc + "WM_KEYDOWN 78 00310001", "pause 100",
        toVlc + "WM_KEYUP 78 C0310001"}},
      {"VLC previous", kPlayerVlc, MediaCommand::PreviousTrack,
       {vlcFront, toVlc + "WM_KEYDOWN 80 00190001", "pause 100",
        toVlc + "WM_KEYUP 80 C0190001"}},
      {"VLC play", kPlayerVlc, MediaCommand::PlayPause,
       {vlcFront, toVlc + "WM_KEYDOWN 32 00390001", "pause 100",
        toVlc + "WM_KEYUP 32 C0390001"}},
      {"VLC stop", kPlayerVlc, MediaCommand::Stop,
       {vlcFront, toVlc + "WM_KEYDOWN 83 001F0001", "pause 100",
        toVlc + "WM_KEYUP 83 C01F0001"}},
      {"Winamp next", kPlayerWinamp, MediaCommand::NextTrack, {toWinamp + "WM_COMMAND 40048 00000000"}},
      {"Winamp previous", kPlayerWinamp, MediaCommand::PreviousTrack,
       {toWinamp + "WM_COMMAND 40044 00000000"}},
      {"Winamp stop", kPlayerWinamp, MediaCommand::Stop, {toWinamp + "WM_COMMAND 40047 00000000"}},
      {"no player 4", 4, MediaCommand::PlayPause, {}},
      {"no player -1", -1, MediaCommand::NextTrack, {}},
  };
  // Every player runs, so each command must pick its own.
  desktop.windows = {{"Shell_TrayWnd", ""}, kWinamp, kItunes, kVlc, {"WMPlayerApp", "Windows Media Player"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    players.Command(c.option, c.command);
    EXPECT_EQ(log, c.effects);
  }
}

TEST_F(MediaPlayerControlTest, AnotherChoiceOfPlayerDoesNothingAndReadsNoKey) {
  desktop.windows = {kWinamp, kItunes, kVlc, {"WMPlayerApp", "Windows Media Player"}};
  for (int option : {-1, 4, 255}) {
    players.StartOrBringForward(option);
    for (MediaCommand command :
         {MediaCommand::PreviousTrack, MediaCommand::NextTrack, MediaCommand::PlayPause, MediaCommand::Stop}) {
      players.Command(option, command);
    }
  }
  EXPECT_EQ(log, Log{});
  EXPECT_TRUE(registry.opened.empty()) << "no key opened";
}

TEST_F(MediaPlayerControlTest, AbsentPlayerWindowsAreLeftAlone) {
  struct Case {
    const char* name;
    int option;
    std::vector<FakeWindow> windows;
  };
  const Case cases[] = {
      {"iTunes not running", kPlayerItunes, {kWinamp, kVlc}},
      {"titled iTunes but of another class", kPlayerItunes, {{"Chrome_WidgetWin_1", "iTunes"}}},
      {"of iTunes' class but titled otherwise", kPlayerItunes, {{"iTunes", "MiniPlayer"}}},
      {"Winamp not running", kPlayerWinamp, {kItunes, kVlc}},
      {"VLC not running", kPlayerVlc, {kWinamp, {"QWidget", "Qt Creator"}}},
      {"titled VLC but of another class", kPlayerVlc, {{"QWidget", "Qt Creator"}, {"VLCWindow", "VLC media player"}}},
      {"VLC in the title only in small letters", kPlayerVlc, {{"QWidget", "vlc media player"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.windows = c.windows;
    log.clear();
    players.Command(c.option, MediaCommand::NextTrack);
    players.Command(c.option, MediaCommand::PlayPause);
    EXPECT_EQ(log, Log{});
  }
}

TEST_F(MediaPlayerControlTest, VlcIsTheFirstToolkitWindowTitledSoAfterAnyOther) {
  // The walk starts at the first window of VLC's class and passes windows of other classes below it.
  desktop.windows = {{"Notepad", "notes on VLC"}, {"QWidget", "Qt Creator"}, {"VLCHelper", "VLC helper"},
                     {"QWidget", "Film - VLC media player"}, {"QWidget", "Second - VLC media player"}};
  players.Command(kPlayerVlc, MediaCommand::PlayPause);
  EXPECT_EQ(log, (Log{"front Film - VLC media player", "post Film - VLC media player WM_KEYDOWN 32 00390001",
                      "pause 100", "post Film - VLC media player WM_KEYUP 32 C0390001"}));
}

TEST_F(MediaPlayerControlTest, AWalkThroughAChangingZOrderEnds) {
  desktop.windows = {{"QWidget", "Qt Creator"}, {"Notepad", "notes"}};
  desktop.zOrderKeepsChanging = true;
  players.Command(kPlayerVlc, MediaCommand::NextTrack);
  EXPECT_EQ(log, Log{});
}

TEST_F(MediaPlayerControlTest, WinampPlayAndPauseAlternate) {
  desktop.windows = {kWinamp};
  const std::string to = "send " + kWinamp.title + " WM_COMMAND ";
  players.Command(kPlayerWinamp, MediaCommand::PlayPause);
  players.Command(kPlayerWinamp, MediaCommand::PlayPause);
  players.Command(kPlayerWinamp, MediaCommand::Stop);  // leaves the alternation where it was
  players.Command(kPlayerWinamp, MediaCommand::PlayPause);
  desktop.windows.clear();
  players.Command(kPlayerWinamp, MediaCommand::PlayPause);  // nobody to send it to: not counted
  desktop.windows = {kWinamp};
  players.Command(kPlayerWinamp, MediaCommand::PlayPause);
  EXPECT_EQ(log, (Log{to + "40045 00000000", to + "40046 00000000", to + "40047 00000000", to + "40045 00000000",
                      to + "40046 00000000"}));
}

}  // namespace
}  // namespace kavo::monitor
