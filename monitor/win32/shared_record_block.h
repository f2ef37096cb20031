#pragma once
// The service's record block: the named mapping and its mutex, when both could be created.
#include <memory>

#include "monitor/service_ports.h"
#include "settings/win32/shared_block.h"

namespace kavo::win32 {

// Any program of the user can open the block's mutex, so the service never waits long for it: a copy
// takes microseconds, and a holder that keeps it longer is hung or hostile.
constexpr DWORD kServiceBlockWait = 500;

class SharedRecordBlock final : public RecordBlock {
 public:
  SharedRecordBlock(std::unique_ptr<BlockMutex> mutex, std::unique_ptr<SharedBlock> block)
      : mutex_(std::move(mutex)), block_(std::move(block)) {}
  bool Publish(const SettingsRecord& record) override {
    return mutex_ && block_ && block_->Publish(*mutex_, record, kServiceBlockWait);
  }
  bool Fetch(SettingsRecord& record) override {
    return mutex_ && block_ && block_->Fetch(*mutex_, record, kServiceBlockWait);
  }
  // Unmaps and closes the block, then the mutex; later copies fail quietly.
  void Release() {
    block_.reset();
    mutex_.reset();
  }

 private:
  std::unique_ptr<BlockMutex> mutex_;
  std::unique_ptr<SharedBlock> block_;
};

}  // namespace kavo::win32
