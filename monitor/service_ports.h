#pragma once
// What the service needs of the desktop around it: other programs' windows found by title, the shell, its
// own window's timers and tray icon, the device thread's queue and the shared record block.
#include <cstdint>
#include <string>

#include "settings/record_block.h"
#include "settings/settings_record.h"

namespace kavo::monitor {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // Posts to the top-level window with exactly this title; false when there is none.
  virtual bool PostToWindow(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Restores the window when minimised and brings it to the front, active; false when there is none.
  virtual bool BringToFront(const char* title) = 0;
  virtual bool WindowExists(const char* title) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Starts the program at path without arguments, shown normally; the outcome is not checked.
  virtual void Open(const std::string& path) = 0;
};

// The service window's own resources, and the queue of its device thread.
class ServiceWindow {
 public:
  virtual ~ServiceWindow() = default;
  virtual void StartTimer(int id, int milliseconds) = 0;
  virtual void KillTimer(int id) = 0;
  // While on, every change of the foreground window, in any process, reaches OnForegroundChanged at
  // once; a system without such notifications leaves the game checks to their timer.
  virtual void WatchForeground(bool on) = 0;
  virtual void AddTrayIcon() = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual void PostDeviceCommand(int command) = 0;
  // A menu command to the window itself, as the tray menu sends it.
  virtual void PostCommand(int command) = 0;
  // The window's last active pop-up, restored when minimised, in front.
  virtual void BringPopupForward() = 0;
  // The tray menu at the pointer; the choice comes back as a menu command.
  virtual void ShowTrayMenu() = 0;
  // Ends the service as closing its window does.
  virtual void Close() = 0;
};

// Button functions that hold keys down while their mouse button is held (key shortcuts, volume keys).
// When the mouse goes away, the configuration program applies a change or the service ends, whatever is
// held is let go, so that no key stays stuck down.
class HeldFunctions {
 public:
  virtual ~HeldFunctions() = default;
  virtual void ReleaseHeld() = 0;
  // Stops a playing macro, which lets go of what it holds.
  virtual void StopPlayback() = 0;
};

}  // namespace kavo::monitor
