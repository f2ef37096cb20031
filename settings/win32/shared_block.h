#pragma once
// The settings record shared between the service and the configuration program: a named mapping of its
// byte image and the named mutex that every whole copy into or out of it holds.
#include <windows.h>

#include <memory>

#include "settings/settings_record.h"
#include "platform/win32/win32_handles.h"

namespace kavo::win32 {

constexpr char kSharedBlockName[] = "VELMAR_Kavo_Mouse_Share_Data";
constexpr char kBlockMutexName[] = "Velmar_Kavo_Mouse_Mutex_Object";

class BlockMutex {
 public:
  enum class Created { New, AlreadyExisted, Failed };
  // The service's side: a mutex without an initial owner, for the current user only.
  static std::unique_ptr<BlockMutex> Create(Created& outcome);
  // The configuration program's side; null while no service runs.
  static std::unique_ptr<BlockMutex> Open();
  HANDLE handle() const { return mutex_.get(); }

 private:
  explicit BlockMutex(HANDLE mutex) : mutex_(mutex) {}
  UniqueKernelHandle mutex_;
};

class SharedBlock {
 public:
  // The service's side: a paging-file mapping of the record's size, for the current user only.
  static std::unique_ptr<SharedBlock> Create();
  static std::unique_ptr<SharedBlock> Open();

  // Whole copies, each holding the mutex for its duration; false (and nothing copied) when the mutex
  // could not be taken within wait milliseconds. A fetched record is made safe before anyone acts on it.
  bool Publish(BlockMutex& mutex, const SettingsRecord& record, DWORD wait = INFINITE);
  bool Fetch(BlockMutex& mutex, SettingsRecord& record, DWORD wait = INFINITE);

 private:
  SharedBlock(UniqueKernelHandle mapping, UniqueMappedView view);
  UniqueKernelHandle mapping_;
  UniqueMappedView view_;
};

}  // namespace kavo::win32
