#pragma once
// The time line on the performance counter. A wait sleeps on a high-resolution waitable timer until
// about a millisecond before its deadline and finishes on the counter, so a delay lasts its length
// instead of a multiple of the 15.6 ms scheduler tick. Where the system has no high-resolution timer,
// the tick is raised to 1 ms while precision is needed.
#include <windows.h>

#include "monitor/timeline.h"
#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

class Win32Timeline final : public Timeline {
 public:
  Win32Timeline();
  ~Win32Timeline() override;
  Win32Timeline(const Win32Timeline&) = delete;
  Win32Timeline& operator=(const Win32Timeline&) = delete;

  std::int64_t NowMicroseconds() override;
  bool WaitUntil(std::int64_t deadlineMicroseconds, const std::atomic<bool>& stop) override;
  void PrecisionNeeded(bool needed) override;

 private:
  LARGE_INTEGER frequency_{};
  kavo::win32::UniqueKernelHandle timer_;
  bool highResolution_ = false;
  bool tickRaised_ = false;
};

}  // namespace kavo::monitor::win32
