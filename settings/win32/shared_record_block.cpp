#include "settings/win32/shared_record_block.h"

namespace kavo::win32 {

bool SharedRecordBlock::OpenMutex() {
  mutex_ = BlockMutex::Open();
  return mutex_ != nullptr;
}

BlockOpen SharedRecordBlock::OpenBlock() {
  block_ = SharedBlock::Open();
  if (block_) return BlockOpen::kOpened;
  // The mapping may exist while its view cannot be made: that is worth telling the user.
  const UniqueKernelHandle mapping(::OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName));
  return mapping ? BlockOpen::kViewFailed : BlockOpen::kAbsent;
}

}  // namespace kavo::win32
