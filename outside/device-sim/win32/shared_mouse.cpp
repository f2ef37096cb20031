#include "outside/device-sim/win32/shared_mouse.h"

#include <cctype>
#include <cstdio>

namespace kavo::sim::win32 {
namespace {

// Long enough for a file replacement under a busy machine; a feature call fails rather than hang.
constexpr DWORD kLockTimeout = 10000;

std::string FolderKey(const std::string& folder) {
  std::uint32_t hash = 2166136261u;
  for (char c : folder) {
    hash ^= static_cast<std::uint8_t>(std::tolower(static_cast<unsigned char>(c == '/' ? '\\' : c)));
    hash *= 16777619u;
  }
  char key[9];
  std::snprintf(key, sizeof key, "%08X", static_cast<unsigned>(hash));
  return key;
}

}  // namespace

SharedMouseNames NamesForFolder(const std::string& folder) {
  const std::string key = FolderKey(folder);
  return SharedMouseNames{folder + "Kelsor.mouse", "Kavo_Simulated_Mouse_" + key + "_Memory",
                          "Kavo_Simulated_Mouse_" + key + "_Messages"};
}

std::unique_ptr<SharedMouse> SharedMouse::Open(const std::string& folder) {
  const SharedMouseNames names = NamesForFolder(folder);
  std::unique_ptr<SharedMouse> mouse(new SharedMouse);
  mouse->memoryFile_ = names.memoryFile;
  mouse->mutex_.reset(::CreateMutexA(nullptr, FALSE, names.mutex.c_str()));
  mouse->signal_.reset(::CreateEventA(nullptr, FALSE, FALSE, names.signal.c_str()));
  if (!mouse->mutex_ || !mouse->signal_) return nullptr;
  return mouse;
}

bool SharedMouse::Access(const std::function<void(MouseMemory&)>& change) {
  kavo::win32::MutexLock lock(mutex_.get(), kLockTimeout);
  if (!lock) return false;
  std::string before;
  if (!files_.Read(memoryFile_, before)) before.clear();
  MouseMemory memory;
  LoadMemory(before, memory);
  change(memory);
  const std::string after = SaveMemory(memory);
  if (after == before) return true;
  if (!files_.Replace(memoryFile_, after)) return false;
  if (memory.pendingCount > 0) ::SetEvent(signal_.get());
  return true;
}

}  // namespace kavo::sim::win32
