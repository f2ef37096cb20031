#pragma once
// The one access to the shared record block for both programs: the service hands it the mutex and block
// it created; the configuration program opens them when the service has made them.
#include <windows.h>

#include <memory>

#include "settings/record_block.h"
#include "settings/win32/shared_block.h"

namespace kavo::win32 {

// Any program of the user can open the block's mutex, so the service never waits long for it: a copy
// takes microseconds, and a holder that keeps it longer is hung or hostile.
constexpr DWORD kServiceBlockWait = 500;

class SharedRecordBlock final : public OpenableRecordBlock {
 public:
  // The configuration program's side: nothing open yet; every copy waits without limit.
  SharedRecordBlock() = default;
  // The service's side, with what it created.
  SharedRecordBlock(std::unique_ptr<BlockMutex> mutex, std::unique_ptr<SharedBlock> block, DWORD wait)
      : mutex_(std::move(mutex)), block_(std::move(block)), wait_(wait) {}

  bool OpenMutex() override;
  BlockOpen OpenBlock() override;
  bool Publish(const SettingsRecord& record) override {
    return mutex_ && block_ && block_->Publish(*mutex_, record, wait_);
  }
  bool Fetch(SettingsRecord& record) override { return mutex_ && block_ && block_->Fetch(*mutex_, record, wait_); }
  // Unmaps and closes the block, then the mutex; later copies fail quietly.
  void Release() {
    block_.reset();
    mutex_.reset();
  }

 private:
  std::unique_ptr<BlockMutex> mutex_;
  std::unique_ptr<SharedBlock> block_;
  DWORD wait_ = INFINITE;
};

}  // namespace kavo::win32
