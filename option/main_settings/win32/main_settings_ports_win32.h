#pragma once
// The main settings page's ports on the real system: the skinned confirmation box, the system's language,
// its double-click time and tick counter, and the double-click test's animation control and sound.
#include <windows.h>

#include <cstdint>
#include <string>

#include "option/common/win32/win32_tick_clock.h"
#include "option/main_settings/main_settings_ports.h"
#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"

namespace kavo::option::win32 {

// The question look of the skinned message box, without text: its artwork asks. Centred over its owner.
class SkinConfirmation : public ConfirmationQuestion {
 public:
  SkinConfirmation(HINSTANCE module, HWND owner) : module_(module), owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  bool Confirm() override;

 private:
  HINSTANCE module_;
  HWND owner_;
};

class Win32SystemLanguage : public SystemLanguage {
 public:
  int LanguageNumber() const override;
};

class Win32DoubleClickTimer : public DoubleClickTimer {
 public:
  void SetDoubleClickTime(int milliseconds) override;
  int DoubleClickTime() const override;
};

// The animation control over the test area (a child of the area, so clicks fall through to it: the
// control is transparent to hits) and the sound. The control goes with this object or with the area.
class Win32DoubleClickMedia : public DoubleClickMedia {
 public:
  explicit Win32DoubleClickMedia(HWND area = nullptr) : area_(area) {}
  ~Win32DoubleClickMedia() override;
  Win32DoubleClickMedia(const Win32DoubleClickMedia&) = delete;
  Win32DoubleClickMedia& operator=(const Win32DoubleClickMedia&) = delete;

  void SetArea(HWND area) { area_ = area; }
  bool OpenAnimation(const std::string& path) override;
  void PlayAnimationOnce() override;
  void RewindAnimation() override;
  void PlaySound(const std::string& path) override;

  HWND animation() const { return animation_.get(); }
  // The area's own child window was destroyed with it: let go without destroying it again.
  void AreaGone() { static_cast<void>(animation_.release()); }

 private:
  HWND area_;
  kavo::win32::UniqueWindow animation_;
};

}  // namespace kavo::option::win32
