#pragma once
// The settings record shared between the service and the configuration program, as both reach it: whole
// copies into and out of the named block under its mutex. The service creates the block; the
// configuration program opens it when the service has made it.
#include "settings/settings_record.h"

namespace kavo {

class RecordBlock {
 public:
  virtual ~RecordBlock() = default;
  // False (and nothing copied) when there is no block or mutex, or the mutex could not be taken.
  virtual bool Publish(const SettingsRecord& record) = 0;
  // The fetched record is already made safe to act on.
  virtual bool Fetch(SettingsRecord& record) = 0;
};

enum class BlockOpen { kAbsent, kOpened, kViewFailed };

// The configuration program's side: the service's block and mutex, opened (never created) when needed.
class OpenableRecordBlock : public RecordBlock {
 public:
  // False when the service is not running.
  virtual bool OpenMutex() = 0;
  virtual BlockOpen OpenBlock() = 0;
};

}  // namespace kavo
