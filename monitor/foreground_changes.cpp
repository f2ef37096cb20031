#include "monitor/foreground_changes.h"

namespace kavo::monitor {

void ForegroundChanges::Watch(bool on) {
  // Turned on again while on (the console came back), a change still settling keeps its look.
  if (!on) pending_ = false;
  watching_ = on;
}

bool ForegroundChanges::Changed() {
  if (!watching_ || pending_) return false;
  pending_ = true;
  return true;
}

bool ForegroundChanges::Settled() {
  const bool due = watching_ && pending_;
  pending_ = false;
  return due;
}

}  // namespace kavo::monitor
