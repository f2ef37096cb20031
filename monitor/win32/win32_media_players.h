#pragma once
// The media players on Windows: the players' own windows, and their registrations below HKEY_LOCAL_MACHINE,
// read in both views and never asked for more than reading.
#include <windows.h>

#include <string>

#include "monitor/media_players.h"
#include "monitor/win32/win32_clock.h"
#include "settings/win32/win32_registry.h"

namespace kavo::monitor::win32 {

// Top-level windows, their messages and the programs started, for the service window's thread.
class Win32PlayerDesktop final : public PlayerDesktop {
 public:
  explicit Win32PlayerDesktop(HWND serviceWindow) : serviceWindow_(serviceWindow) {}

  DesktopWindow FindTopWindow(const char* className, const char* title) override;
  DesktopWindow NextWindow(DesktopWindow window) override;
  std::string ClassName(DesktopWindow window) override;
  std::string Title(DesktopWindow window) override;
  void Post(DesktopWindow window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void Send(DesktopWindow window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void BringToFront(DesktopWindow window) override;
  void StartProgram(const std::string& commandLine) override;
  std::string ExpandEnvironment(const std::string& text) override;
  DesktopWindow ServiceWindow() override;

 private:
  HWND serviceWindow_;
};

// What the service window hands its media buttons to; call on the service window's thread.
class Win32MediaPlayers final : public MediaPlayers {
 public:
  explicit Win32MediaPlayers(HWND serviceWindow) : desktop_(serviceWindow) {}

  void StartOrBringForward(int mediaOption) override { control_.StartOrBringForward(mediaOption); }
  void Command(int mediaOption, MediaCommand command) override { control_.Command(mediaOption, command); }

 private:
  Win32PlayerDesktop desktop_;
  kavo::win32::Win32Registry registry_{HKEY_LOCAL_MACHINE, kPlayerRegistryValueBytes};
  Win32Clock clock_;
  MediaPlayerControl control_{desktop_, registry_, clock_};
};

}  // namespace kavo::monitor::win32
