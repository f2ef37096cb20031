// Kelsor.dll: the device library over the simulated mouse. Every call is one access to the shared mouse
// memory; a thread per process delivers the mouse's messages to the registered window.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "outside/device-sim/device_events.h"
#include "outside/device-sim/feature_answers.h"
#include "outside/device-sim/win32/module_of_address.h"
#include "outside/device-sim/win32/shared_mouse.h"
#include "platform/win32/win32_handles.h"

namespace kavo::sim::win32 {
namespace {

DWORD WINAPI MonitorThread(void* parameter);

class DeviceLibrary {
 public:
  int OpenFeatureDevice() {
    std::lock_guard<std::mutex> guard(lock_);
    bool opened = false;
    SharedMouse* mouse = Mouse();
    return mouse && mouse->Access([&](MouseMemory& memory) { opened = channel_.Open(memory); }) && opened;
  }

  void CloseFeatureDevice() {
    std::lock_guard<std::mutex> guard(lock_);
    channel_.Close();
  }

  // One feature exchange on this process's channel. The lock also serialises this process's threads,
  // so each exchange sees the memory the previous one left.
  int Exchange(const std::function<bool(MouseMemory&)>& exchange) {
    std::lock_guard<std::mutex> guard(lock_);
    bool done = false;
    SharedMouse* mouse = Mouse();
    const bool reached =
        mouse && mouse->Access([&](MouseMemory& memory) { done = channel_.IsUsable(memory) && exchange(memory); });
    return reached && done;
  }

  int MousePid() {
    std::lock_guard<std::mutex> guard(lock_);
    int pid = 0;
    SharedMouse* mouse = Mouse();
    if (mouse) mouse->Access([&](MouseMemory& memory) { pid = memory.plugged ? memory.productId : 0; });
    return pid;
  }

  int OpenMonitor(HWND window, UINT eventMessage, UINT presenceMessage) {
    std::lock_guard<std::mutex> guard(lock_);
    SharedMouse* mouse = Mouse();
    const auto handle = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window));
    if (!mouse || !mouse->Access([&](MouseMemory& memory) {
          RegisterListener(memory, ::GetCurrentProcessId(), handle, eventMessage, presenceMessage);
        })) {
      return 0;
    }
    return thread_ || StartThread();
  }

  void CloseMonitor() {
    std::lock_guard<std::mutex> guard(lock_);
    if (thread_) {
      ::SetEvent(stop_.get());
      ::WaitForSingleObject(thread_.get(), INFINITE);
      thread_.reset();
      stop_.reset();
    }
    if (mouse_) mouse_->Access([](MouseMemory& memory) { UnregisterListener(memory, ::GetCurrentProcessId()); });
  }

  // The monitor thread's loop: runs until the stop event is set.
  void Deliver() {
    const HANDLE waits[2] = {stop_.get(), mouse_->signal()};
    bool delivered = PostPending();
    for (;;) {
      // A failed delivery leaves the messages queued; try again soon instead of waiting for the next one.
      const DWORD woken = ::WaitForMultipleObjects(2, waits, FALSE, delivered ? INFINITE : 200);
      if (woken != WAIT_OBJECT_0 + 1 && woken != WAIT_TIMEOUT) return;
      delivered = PostPending();
    }
  }

 private:
  SharedMouse* Mouse() {
    if (!mouse_) {
      const HMODULE self = ModuleOfAddress(reinterpret_cast<const void*>(&MonitorThread));
      if (self) mouse_ = SharedMouse::Open(FolderOfModule(self));
    }
    return mouse_.get();
  }

  bool StartThread() {
    // The thread holds a reference on this library and drops it as it ends, so that the code it runs
    // cannot be unloaded under it.
    HMODULE pinned = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&MonitorThread),
                              &pinned)) {
      return false;
    }
    stop_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (stop_) thread_.reset(::CreateThread(nullptr, 0, MonitorThread, pinned, 0, nullptr));
    if (!thread_) {
      stop_.reset();
      ::FreeLibrary(pinned);
      return false;
    }
    return true;
  }

  bool PostPending() {
    return mouse_->Access([](MouseMemory& memory) {
      if (!memory.listener.registered) return;
      const auto window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(memory.listener.window));
      // Posting while the memory is held keeps the order across every process's delivery thread.
      for (const PendingMessage& message : TakePending(memory)) {
        if (message.kind == MessageKind::kEvent) {
          ::PostMessageA(window, memory.listener.eventMessage, message.eventClass, message.data);
        } else {
          ::PostMessageA(window, memory.listener.presenceMessage, message.data, 0);
        }
      }
    });
  }

  std::mutex lock_;  // guards everything below; the monitor thread only uses mouse_ and stop_
  std::unique_ptr<SharedMouse> mouse_;
  FeatureChannel channel_;
  kavo::win32::UniqueKernelHandle stop_;
  kavo::win32::UniqueKernelHandle thread_;
};

// Destroyed when the library is unloaded, closing its handles. The monitor thread pins the library,
// so by then the thread has ended.
DeviceLibrary g_library;

DWORD WINAPI MonitorThread(void* pinned) {
  g_library.Deliver();
  ::FreeLibraryAndExitThread(static_cast<HMODULE>(pinned), 0);
}

// No exception may cross into the host.
template <typename Call>
int Guarded(Call call) {
  try {
    return call();
  } catch (...) {
    return 0;
  }
}

}  // namespace
}  // namespace kavo::sim::win32

using kavo::sim::win32::g_library;
using kavo::sim::win32::Guarded;

extern "C" {

int __cdecl Open_DevMonitor(HWND window, UINT eventMessage, UINT presenceMessage) {
  return Guarded([&] { return g_library.OpenMonitor(window, eventMessage, presenceMessage); });
}

void __cdecl Close_DevMonitor(void) {
  Guarded([] {
    g_library.CloseMonitor();
    return 1;
  });
}

int __cdecl Open_FeatureDevice(void) {
  return Guarded([] { return g_library.OpenFeatureDevice(); });
}

void __cdecl Close_FeatureDevice(void) {
  Guarded([] {
    g_library.CloseFeatureDevice();
    return 1;
  });
}

int __cdecl SetFeature(unsigned char* buffer, int length) {
  if (buffer == nullptr || length <= 0) return 0;
  return Guarded([&] {
    return g_library.Exchange([&](kavo::sim::MouseMemory& memory) {
      return kavo::sim::AnswerSetFeature(memory, buffer, static_cast<std::size_t>(length));
    });
  });
}

int __cdecl GetFeature(unsigned char* buffer, int length) {
  if (buffer == nullptr || length <= 0) return 0;
  return Guarded([&] {
    return g_library.Exchange([&](kavo::sim::MouseMemory& memory) {
      return kavo::sim::AnswerGetFeature(memory, buffer, static_cast<std::size_t>(length));
    });
  });
}

int __cdecl GetMousePID(void) {
  return Guarded([] { return g_library.MousePid(); });
}

}  // extern "C"
