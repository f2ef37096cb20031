#include "monitor/media_players.h"
#include "settings/trimmed_text.h"

#include <algorithm>
#include <cctype>

namespace kavo::monitor {
namespace {

constexpr unsigned kKeyDown = 0x0100, kKeyUp = 0x0101, kCommand = 0x0111, kAppCommand = 0x0319;
constexpr int kKeyPause = 100;  // ms between the messages of one key, so the player sees it held

constexpr char kWmpAppPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe";
constexpr char kWmpTitle[] = "Windows Media Player";
constexpr char kItunesApps[] = "SOFTWARE\\Apple Computer, Inc.\\iPod\\RegisteredApps\\4";
constexpr char kItunesWindow[] = "iTunes";
constexpr char kVlcPlay[] = "SOFTWARE\\Classes\\Applications\\vlc.exe\\shell\\play\\command";
constexpr char kVlcOpen[] = "SOFTWARE\\Classes\\Applications\\vlc.exe\\shell\\open\\command";
constexpr char kVlcClass[] = "QWidget";
constexpr char kWinampFile[] = "SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command";
constexpr char kWinampStream[] = "SOFTWARE\\Classes\\ICY\\shell\\open\\command";
constexpr char kWinampClass[] = "Winamp v1.x";

// A registry command shorter than this cannot name a program; the player's other key is tried.
constexpr std::size_t kShortestCommand = 10;
// Windows reordered during the walk could otherwise keep it going.
constexpr int kMostWindowsWalked = 4096;

// Application commands of the system, carried in the high word.
constexpr std::intptr_t kAppNextTrack = 11, kAppPreviousTrack = 12, kAppStop = 13, kAppPlayPause = 14;

constexpr int kWinampPrevious = 40044, kWinampPlay = 40045, kWinampPause = 40046, kWinampStop = 40047,
              kWinampNext = 40048;

constexpr int kVirtualControl = 17, kVirtualSpace = 32, kVirtualLeft = 37, kVirtualRight = 39;
constexpr int kScanControl = 0x1D, kScanSpace = 0x39;
// The arrows are extended keys (bit 24).
constexpr int kScanLeftExtended = 0x14B, kScanRightExtended = 0x14D;

// Key message parameters: one repeat and the scan code; a release also has the previous-state and
// transition bits.
std::intptr_t PressParameter(int scan) { return static_cast<std::intptr_t>(static_cast<std::uint32_t>(scan) << 16 | 1); }
std::intptr_t ReleaseParameter(int scan) {
  return static_cast<std::intptr_t>(0xC0000000u | static_cast<std::uint32_t>(scan) << 16 | 1);
}

bool ContainsIgnoringCase(std::string_view text, std::string_view name) {
  const auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  return std::search(text.begin(), text.end(), name.begin(), name.end(), same) != text.end();
}

std::string Named(std::string_view path, std::string_view name) {
  return ContainsIgnoringCase(path, name) ? std::string(path) : std::string();
}

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// Command strings are trimmed of spaces and tabs only.
std::string_view Trimmed(std::string_view text) { return TrimmedText(text, " \t"); }

// Where the first ".exe" that ends a word ends; npos when there is none.
std::size_t EndOfProgramName(std::string_view command) {
  constexpr std::string_view kExtension = ".exe";
  for (std::size_t at = 0; at + kExtension.size() <= command.size(); ++at) {
    if (!ContainsIgnoringCase(command.substr(at, kExtension.size()), kExtension)) continue;
    const std::size_t end = at + kExtension.size();
    if (end == command.size() || IsSpace(command[end]) || command[end] == '"') return end;
  }
  return std::string_view::npos;
}

std::string_view ProgramOfCommand(std::string_view command, std::string_view argumentsMark = {}) {
  command = Trimmed(command);
  if (!command.empty() && command.front() == '"') {
    const std::string_view quoted = command.substr(1);
    return quoted.substr(0, quoted.find('"'));
  }
  std::size_t end = std::min(command.find('"'), EndOfProgramName(command));
  if (!argumentsMark.empty()) end = std::min(end, command.find(argumentsMark));
  return Trimmed(command.substr(0, end));
}

}  // namespace

std::string PlayerPathFromVlcCommand(std::string_view command) {
  return Named(ProgramOfCommand(command, "--started"), "vlc");
}

std::string PlayerPathFromWinampCommand(std::string_view command) {
  return Named(ProgramOfCommand(command), "winamp");
}

std::string PlayerPathFromItunesPath(std::string_view path) { return Named(ProgramOfCommand(path), "itunes"); }

std::string CommandLineOf(std::string_view program) { return "\"" + std::string(program) + "\""; }

std::string MediaPlayerControl::ReadValue(const char* path, const char* name, std::size_t shortest) {
  for (const RegistryView view : kRegistrationViews) {
    std::string value;
    const auto key = registry_.OpenForReading(path, view);
    if (key && key->ReadString(name, value) && value.size() >= shortest) return value;
  }
  return std::string();
}

std::string MediaPlayerControl::ReadCommand(const char* path, const char* fallbackPath) {
  std::string command = ReadValue(path, "", kShortestCommand);
  if (command.empty()) command = ReadValue(fallbackPath, "");
  return command;
}

void MediaPlayerControl::StartOrBringForward(int mediaOption) {
  std::string path;
  switch (mediaOption) {
    case kPlayerWindowsMedia: {
      // The one player brought forward when running; the others keep to a single instance themselves.
      path = ProgramOfCommand(desktop_.ExpandEnvironment(ReadValue(kWmpAppPath, "")));
      if (const DesktopWindow window = desktop_.FindTopWindow(nullptr, kWmpTitle)) {
        desktop_.BringToFront(window);
        return;
      }
      break;
    }
    case kPlayerItunes:
      path = PlayerPathFromItunesPath(ReadValue(kItunesApps, "path"));
      break;
    case kPlayerVlc:
      path = PlayerPathFromVlcCommand(ReadCommand(kVlcPlay, kVlcOpen));
      break;
    case kPlayerWinamp:
      path = PlayerPathFromWinampCommand(ReadCommand(kWinampFile, kWinampStream));
      break;
    default:
      return;
  }
  if (!path.empty()) desktop_.StartProgram(CommandLineOf(path));
}

void MediaPlayerControl::Command(int mediaOption, MediaCommand command) {
  switch (mediaOption) {
    case kPlayerWindowsMedia:
      CommandWindowsMediaPlayer(command);
      break;
    case kPlayerItunes:
      CommandItunes(command);
      break;
    case kPlayerVlc:
      CommandVlc(command);
      break;
    case kPlayerWinamp:
      CommandWinamp(command);
      break;
    default:
      break;
  }
}

void MediaPlayerControl::CommandWindowsMediaPlayer(MediaCommand command) {
  std::intptr_t appCommand = 0;
  switch (command) {
    case MediaCommand::NextTrack: appCommand = kAppNextTrack; break;
    case MediaCommand::PreviousTrack: appCommand = kAppPreviousTrack; break;
    case MediaCommand::PlayPause: appCommand = kAppPlayPause; break;
    case MediaCommand::Stop: appCommand = kAppStop; break;
    default: return;
  }
  // Posted to our own window: its default handling hands the command to whichever player takes it.
  const DesktopWindow own = desktop_.ServiceWindow();
  desktop_.Post(own, kAppCommand, own, appCommand << 16);
}

void MediaPlayerControl::CommandItunes(MediaCommand command) {
  const DesktopWindow window = desktop_.FindTopWindow(kItunesWindow, kItunesWindow);
  if (!window) return;
  if (command == MediaCommand::NextTrack || command == MediaCommand::PreviousTrack) {
    // Ctrl with an arrow changes the track in iTunes; sent, so each key is taken before the next.
    const bool next = command == MediaCommand::NextTrack;
    const int arrow = next ? kVirtualRight : kVirtualLeft;
    const int arrowScan = next ? kScanRightExtended : kScanLeftExtended;
    desktop_.Send(window, kKeyDown, kVirtualControl, PressParameter(kScanControl));
    clock_.Sleep(kKeyPause);
    desktop_.Send(window, kKeyDown, arrow, PressParameter(arrowScan));
    clock_.Sleep(kKeyPause);
    desktop_.Send(window, kKeyUp, arrow, ReleaseParameter(arrowScan));
    clock_.Sleep(kKeyPause);
    desktop_.Send(window, kKeyUp, kVirtualControl, ReleaseParameter(kScanControl));
  } else if (command == MediaCommand::PlayPause || command == MediaCommand::Stop) {
    // Stop pauses as well: the space bar is the one key iTunes takes for either.
    desktop_.Post(window, kKeyDown, kVirtualSpace, PressParameter(kScanSpace));
    clock_.Sleep(kKeyPause);
    desktop_.Post(window, kKeyUp, kVirtualSpace, ReleaseParameter(kScanSpace));
  }
}

void MediaPlayerControl::CommandVlc(MediaCommand command) {
  int key = 0, scan = 0;
  switch (command) {
    case MediaCommand::NextTrack: key = 'N', scan = 0x31; break;
    case MediaCommand::PreviousTrack: key = 'P', scan = 0x19; break;
    case MediaCommand::PlayPause: key = kVirtualSpace, scan = kScanSpace; break;
    case MediaCommand::Stop: key = 'S', scan = 0x1F; break;
    default: return;
  }
  // VLC's windows share their toolkit's class with other programs' windows: its main one is known by the
  // title, and the walk goes on through the z-order past windows of any class.
  DesktopWindow window = 0;
  DesktopWindow candidate = desktop_.FindTopWindow(kVlcClass, nullptr);
  for (int walked = 0; candidate && walked < kMostWindowsWalked; ++walked) {
    if (desktop_.Title(candidate).find("VLC") != std::string::npos && desktop_.ClassName(candidate) == kVlcClass) {
      window = candidate;
      break;
    }
    candidate = desktop_.NextWindow(candidate);
  }
  if (!window) return;
  // VLC takes its hot keys only in the foreground.
  desktop_.BringToFront(window);
  desktop_.Post(window, kKeyDown, static_cast<std::uintptr_t>(key), PressParameter(scan));
  clock_.Sleep(kKeyPause);
  desktop_.Post(window, kKeyUp, static_cast<std::uintptr_t>(key), ReleaseParameter(scan));
}

void MediaPlayerControl::CommandWinamp(MediaCommand command) {
  const DesktopWindow window = desktop_.FindTopWindow(kWinampClass, nullptr);
  if (!window) return;
  int id = 0;
  switch (command) {
    case MediaCommand::NextTrack: id = kWinampNext; break;
    case MediaCommand::PreviousTrack: id = kWinampPrevious; break;
    case MediaCommand::Stop: id = kWinampStop; break;
    case MediaCommand::PlayPause:
      // Winamp's play restarts the track when it is already playing, so presses alternate with pause.
      id = winampPlaying_ ? kWinampPause : kWinampPlay;
      winampPlaying_ = !winampPlaying_;
      break;
    default: return;
  }
  desktop_.Send(window, kCommand, static_cast<std::uintptr_t>(id), 0);
}

}  // namespace kavo::monitor
