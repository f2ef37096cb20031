// The foreground notification of KavoMonitorTimerOnly.exe: it installs nothing, so that the service's
// game checks rest on timer 500 alone, as a measure beside the shipped service.
#include "monitor/win32/foreground_hook.h"

namespace kavo::monitor::win32 {

ForegroundHook::ForegroundHook(std::function<void()>) {}
ForegroundHook::~ForegroundHook() = default;

}  // namespace kavo::monitor::win32
