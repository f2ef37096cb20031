#include "settings/win32/shared_block.h"

#include <cstring>

#include "settings/win32/user_only_security.h"

namespace kavo::win32 {

std::unique_ptr<BlockMutex> BlockMutex::Create(Created& outcome) {
  outcome = Created::Failed;
  bool existed = false;
  HANDLE mutex = CreateForCurrentUser([&](SECURITY_ATTRIBUTES* security) {
    HANDLE created = ::CreateMutexA(security, FALSE, kBlockMutexName);
    existed = created && ::GetLastError() == ERROR_ALREADY_EXISTS;
    return created;
  });
  if (!mutex) return nullptr;
  if (existed) {
    ::CloseHandle(mutex);
    outcome = Created::AlreadyExisted;
    return nullptr;
  }
  outcome = Created::New;
  return std::unique_ptr<BlockMutex>(new BlockMutex(mutex));
}

std::unique_ptr<BlockMutex> BlockMutex::Open() {
  HANDLE mutex = ::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kBlockMutexName);
  return mutex ? std::unique_ptr<BlockMutex>(new BlockMutex(mutex)) : nullptr;
}

SharedBlock::SharedBlock(UniqueKernelHandle mapping, UniqueMappedView view)
    : mapping_(std::move(mapping)), view_(std::move(view)) {}

std::unique_ptr<SharedBlock> SharedBlock::Create() {
  UniqueKernelHandle mapping(CreateForCurrentUser([](SECURITY_ATTRIBUTES* security) {
    return ::CreateFileMappingA(INVALID_HANDLE_VALUE, security, PAGE_READWRITE, 0, sizeof(SettingsRecord),
                                kSharedBlockName);
  }));
  if (!mapping) return nullptr;
  UniqueMappedView view(::MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SettingsRecord)));
  if (!view) return nullptr;
  return std::unique_ptr<SharedBlock>(new SharedBlock(std::move(mapping), std::move(view)));
}

std::unique_ptr<SharedBlock> SharedBlock::Open() {
  UniqueKernelHandle mapping(::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kSharedBlockName));
  if (!mapping) return nullptr;
  UniqueMappedView view(::MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SettingsRecord)));
  if (!view) return nullptr;
  return std::unique_ptr<SharedBlock>(new SharedBlock(std::move(mapping), std::move(view)));
}

bool SharedBlock::Publish(BlockMutex& mutex, const SettingsRecord& record, DWORD wait) {
  MutexLock hold(mutex.handle(), wait);
  if (!hold) return false;
  std::memcpy(view_.get(), &record, sizeof record);
  return true;
}

bool SharedBlock::Fetch(BlockMutex& mutex, SettingsRecord& record, DWORD wait) {
  {
    MutexLock hold(mutex.handle(), wait);
    if (!hold) return false;
    std::memcpy(&record, view_.get(), sizeof record);
  }
  SanitizeRecord(record);
  return true;
}

}  // namespace kavo::win32
