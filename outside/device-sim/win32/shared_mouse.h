#pragma once
// One simulated mouse shared by every process that uses the same program folder: its memory lives in the
// file "Kelsor.mouse" there, a named mutex serialises every access, and a named auto-reset event wakes
// the listeners when messages wait in the memory's queue.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "outside/device-sim/mouse_memory.h"
#include "platform/win32/win32_handles.h"
#include "settings/win32/win32_file_system.h"

namespace kavo::sim::win32 {

struct SharedMouseNames {
  std::string memoryFile;
  std::string mutex;
  std::string signal;
};

// The names belong to the folder (compared without case, as Windows paths are), so two program folders
// are two mice.
SharedMouseNames NamesForFolder(const std::string& folder);

class SharedMouse {
 public:
  // Opens, creating when needed, the mutex and the event of the mouse in folder (ending in a backslash).
  static std::unique_ptr<SharedMouse> Open(const std::string& folder);

  // One access: takes the mutex, loads the memory (factory defaults when the file is missing or damaged),
  // lets change work on it, replaces the file when something changed and sets the event when messages
  // wait. False when the mutex could not be taken or the file not written.
  bool Access(const std::function<void(MouseMemory&)>& change);

  HANDLE signal() const { return signal_.get(); }

 private:
  SharedMouse() = default;

  std::string memoryFile_;
  kavo::win32::UniqueKernelHandle mutex_;
  kavo::win32::UniqueKernelHandle signal_;
  kavo::win32::Win32FileSystem files_;
};

}  // namespace kavo::sim::win32
