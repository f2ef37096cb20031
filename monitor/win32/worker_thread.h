#pragma once
// A worker of the service: a thread with its own message queue and no window, fed with thread messages.
#include <windows.h>

#include <functional>

#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

class WorkerThread {
 public:
  using Handler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

  WorkerThread() = default;
  ~WorkerThread() { Stop(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Returns once the thread's queue exists, so that nothing posted right after is lost. stackSize is what
  // is committed at first; the stack still grows to the program's reserve.
  bool Start(Handler handler, SIZE_T stackSize);
  bool Post(UINT message, WPARAM wParam, LPARAM lParam);
  // Posts WM_QUIT and waits for the thread without a time limit; a message being handled finishes first.
  void Stop();
  DWORD id() const { return id_; }

 private:
  static DWORD WINAPI Main(LPVOID self);
  Handler handler_;
  kavo::win32::UniqueKernelHandle thread_;
  kavo::win32::UniqueKernelHandle queueReady_;
  DWORD id_ = 0;
};

}  // namespace kavo::monitor::win32
