#include "monitor/win32/foreground_hook.h"

#include <mutex>
#include <utility>
#include <vector>

namespace kavo::monitor::win32 {
namespace {

// The notification names its hook only: each installed hook with its owner.
std::mutex& OwnersLock() {
  static std::mutex lock;
  return lock;
}
std::vector<std::pair<HWINEVENTHOOK, ForegroundHook*>>& Owners() {
  static std::vector<std::pair<HWINEVENTHOOK, ForegroundHook*>> owners;
  return owners;
}

}  // namespace

void CALLBACK ForegroundHook::OnEvent(HWINEVENTHOOK hook, DWORD event, HWND, LONG object, LONG, DWORD, DWORD) {
  if (event != EVENT_SYSTEM_FOREGROUND || object != OBJID_WINDOW) return;
  ForegroundHook* owner = nullptr;
  {
    std::lock_guard<std::mutex> lock(OwnersLock());
    for (const auto& [installed, who] : Owners()) {
      if (installed == hook) owner = who;
    }
  }
  // Delivered on the owner's own thread, which alone removes it: it is still there.
  if (owner && owner->changed_) owner->changed_();
}

ForegroundHook::ForegroundHook(std::function<void()> changed) : changed_(std::move(changed)) {
  hook_.reset(::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &ForegroundHook::OnEvent, 0,
                                0, WINEVENT_OUTOFCONTEXT));
  if (!hook_) return;
  std::lock_guard<std::mutex> lock(OwnersLock());
  Owners().emplace_back(hook_.get(), this);
}

ForegroundHook::~ForegroundHook() {
  if (!hook_) return;
  {
    std::lock_guard<std::mutex> lock(OwnersLock());
    auto& owners = Owners();
    for (auto it = owners.begin(); it != owners.end(); ++it) {
      if (it->second == this) {
        owners.erase(it);
        break;
      }
    }
  }
  hook_.reset();
}

}  // namespace kavo::monitor::win32
