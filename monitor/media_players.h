#pragma once
// The four desktop media players a media button starts or drives: Windows Media Player, iTunes, VLC and
// Winamp. Their programs are found through the registry keys their installers write; a running player is
// driven by the window messages or keys it understands. Window thread only.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "monitor/clock.h"
#include "monitor/host_functions.h"
#include "settings/registry.h"

namespace kavo::monitor {

// Registry values naming a player's program are read up to this many bytes, terminator included.
constexpr std::size_t kPlayerRegistryValueBytes = 260;

// The profile's choice of player (its media option); other values choose none.
constexpr int kPlayerWindowsMedia = 0, kPlayerItunes = 1, kPlayerVlc = 2, kPlayerWinamp = 3;

// A top-level window of the desktop; 0 is none.
using DesktopWindow = std::uintptr_t;

// What the players' control needs of the desktop.
class PlayerDesktop {
 public:
  virtual ~PlayerDesktop() = default;
  // The first top-level window in z-order with this class and title; a null one matches any. 0 when none.
  virtual DesktopWindow FindTopWindow(const char* className, const char* title) = 0;
  // The window after this one in z-order, whatever its class; 0 at the end.
  virtual DesktopWindow NextWindow(DesktopWindow window) = 0;
  virtual std::string ClassName(DesktopWindow window) = 0;
  virtual std::string Title(DesktopWindow window) = 0;
  virtual void Post(DesktopWindow window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Returns once the window has handled the message.
  virtual void Send(DesktopWindow window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Makes the window the foreground one, with the foreground thread's input attached to the service
  // window's thread meanwhile, which Windows requires of a background program.
  virtual void BringToFront(DesktopWindow window) = 0;
  // Starts a program from a command line, shown normally; the outcome is not checked.
  virtual void StartProgram(const std::string& commandLine) = 0;
  // %NAME% replaced by the environment's values; empty when that fails.
  virtual std::string ExpandEnvironment(const std::string& text) = 0;
  // The service's own window, whose default handling passes application commands on to the system.
  virtual DesktopWindow ServiceWindow() = 0;
};

// The program a player's registration names, for it to be started alone. A registered command that begins
// with a double quote names the text up to the next one; any other ends before its arguments: after the
// first ".exe" that ends a word, else before its first double quote (and for VLC its first "--started"),
// spaces around it left out. Each gives nothing when the program's path does not contain the player's name
// in any case, so that no other program is started in its place.
std::string PlayerPathFromVlcCommand(std::string_view command);
std::string PlayerPathFromWinampCommand(std::string_view command);
std::string PlayerPathFromItunesPath(std::string_view path);

// The command line that starts a program alone: its path quoted whole, since Windows would take an
// unquoted path with a space for a shorter program ("C:\Program Files\..." for "C:\Program.exe").
std::string CommandLineOf(std::string_view program);

class MediaPlayerControl final : public MediaPlayers {
 public:
  // The registry is the local machine's, where the players register themselves; it is only read.
  MediaPlayerControl(PlayerDesktop& desktop, RegistryReader& registry, Clock& clock)
      : desktop_(desktop), registry_(registry), clock_(clock) {}

  void StartOrBringForward(int mediaOption) override;
  void Command(int mediaOption, MediaCommand command) override;

 private:
  // The first value of at least `shortest` characters in the views in their order; empty when none is.
  std::string ReadValue(const char* path, const char* name, std::size_t shortest = 1);
  // The default value of the first key, or of the second when the first's is too short to be a command.
  std::string ReadCommand(const char* path, const char* fallbackPath);
  void CommandWindowsMediaPlayer(MediaCommand command);
  void CommandItunes(MediaCommand command);
  void CommandVlc(MediaCommand command);
  void CommandWinamp(MediaCommand command);

  PlayerDesktop& desktop_;
  RegistryReader& registry_;
  Clock& clock_;
  bool winampPlaying_ = false;  // the last play-or-pause sent Winamp its play command
};

}  // namespace kavo::monitor
