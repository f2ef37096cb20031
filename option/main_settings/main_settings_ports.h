#pragma once
// What the main settings page needs from outside itself: a question to the user, the main window it
// lives in, the system's double-click time, the clock and the media of the double-click test.
#include <cstdint>
#include <string>

#include "option/common/help_library.h"
#include "option/common/tick_clock.h"

namespace kavo::option {

// The skinned confirmation box whose artwork carries the question; true for OK, false for Cancel or the
// close mark.
class ConfirmationQuestion {
 public:
  virtual ~ConfirmationQuestion() = default;
  virtual bool Confirm() = 0;
};

// The main window that holds the working record.
class MainWindowActions {
 public:
  virtual ~MainWindowActions() = default;
  // Refresh every part of the main window from the working record (this page included).
  virtual void RefreshAll() = 0;
  // Load the help library of the working record's language and reload every help text.
  virtual void ReloadHelp() = 0;
  // Apply: 0 for ordinary changes, 1 asks the service for a device reset instead.
  virtual void Apply(int request) = 0;
};

// The language of the system, as a LanguageNumber.
class SystemLanguage {
 public:
  virtual ~SystemLanguage() = default;
  virtual int LanguageNumber() const = 0;
};

// The running system's double-click time, which the slider sets at once so the test area can be tried.
class DoubleClickTimer {
 public:
  virtual ~DoubleClickTimer() = default;
  virtual void SetDoubleClickTime(int milliseconds) = 0;
  virtual int DoubleClickTime() const = 0;
};


// The test area's animation control and sound.
class DoubleClickMedia {
 public:
  virtual ~DoubleClickMedia() = default;
  // Create the animation control over the area and open the file in it; false when it cannot be opened.
  virtual bool OpenAnimation(const std::string& path) = 0;
  // Play once from the first to the last frame; the control reports when it stops.
  virtual void PlayAnimationOnce() = 0;
  virtual void RewindAnimation() = 0;
  // Asynchronously, no default sound, not interrupting a sound already playing.
  virtual void PlaySound(const std::string& path) = 0;
};


}  // namespace kavo::option
