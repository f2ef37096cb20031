#include "monitor/win32/win32_timeline.h"

#include <mmsystem.h>

#include <algorithm>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace kavo::monitor::win32 {
namespace {

constexpr std::int64_t kSpinWindow = 1500;    // µs before a deadline from which the counter is watched
constexpr std::int64_t kSleepMargin = 1000;   // µs a sleep stops short of its deadline
constexpr std::int64_t kStopPoll = 4000;      // µs at most between looks at the stop flag
constexpr UINT kRaisedTick = 1;               // ms

}  // namespace

Win32Timeline::Win32Timeline() {
  ::QueryPerformanceFrequency(&frequency_);
  timer_.reset(::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
  highResolution_ = static_cast<bool>(timer_);
  if (!timer_) timer_.reset(::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
}

Win32Timeline::~Win32Timeline() { PrecisionNeeded(false); }

std::int64_t Win32Timeline::NowMicroseconds() {
  LARGE_INTEGER count;
  ::QueryPerformanceCounter(&count);
  const std::int64_t perSecond = frequency_.QuadPart;
  return count.QuadPart / perSecond * 1000000 + count.QuadPart % perSecond * 1000000 / perSecond;
}

bool Win32Timeline::WaitUntil(std::int64_t deadline, const std::atomic<bool>& stop) {
  for (;;) {
    if (stop) return false;
    const std::int64_t remaining = deadline - NowMicroseconds();
    if (remaining <= 0) return true;
    if (remaining <= kSpinWindow || !timer_) {
      if (remaining > kSpinWindow) {
        ::Sleep(static_cast<DWORD>(std::min(remaining - kSleepMargin, kStopPoll) / 1000));
        continue;
      }
      while (NowMicroseconds() < deadline) YieldProcessor();
      return true;
    }
    const std::int64_t sleep = std::min(remaining - kSleepMargin, kStopPoll);
    LARGE_INTEGER due;
    due.QuadPart = -sleep * 10;  // relative, in 100 ns units
    if (!::SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE)) {
      ::Sleep(static_cast<DWORD>(sleep / 1000));
      continue;
    }
    ::WaitForSingleObject(timer_.get(), INFINITE);
  }
}

void Win32Timeline::PrecisionNeeded(bool needed) {
  if (highResolution_ || needed == tickRaised_) return;
  if (needed) {
    tickRaised_ = ::timeBeginPeriod(kRaisedTick) == TIMERR_NOERROR;
  } else {
    ::timeEndPeriod(kRaisedTick);
    tickRaised_ = false;
  }
}

}  // namespace kavo::monitor::win32
