#include "monitor/win32/worker_thread.h"

namespace kavo::monitor::win32 {

bool WorkerThread::Start(Handler handler, SIZE_T stackSize) {
  handler_ = std::move(handler);
  queueReady_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!queueReady_) return false;
  thread_.reset(::CreateThread(nullptr, stackSize, &WorkerThread::Main, this, 0, &id_));
  if (!thread_) return false;
  ::WaitForSingleObject(queueReady_.get(), INFINITE);
  return true;
}

bool WorkerThread::Post(UINT message, WPARAM wParam, LPARAM lParam) {
  return thread_ && ::PostThreadMessageA(id_, message, wParam, lParam);
}

void WorkerThread::Stop() {
  if (!thread_) return;
  ::PostThreadMessageA(id_, WM_QUIT, 0, 0);
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
  id_ = 0;
}

DWORD WINAPI WorkerThread::Main(LPVOID parameter) {
  auto* self = static_cast<WorkerThread*>(parameter);
  MSG message;
  ::PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue
  ::SetEvent(self->queueReady_.get());
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    try {
      self->handler_(message.message, message.wParam, message.lParam);
    } catch (...) {
      // Nothing may cross the thread's boundary; the command is lost, the worker goes on.
    }
  }
  return 0;
}

}  // namespace kavo::monitor::win32
