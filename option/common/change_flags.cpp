#include "option/common/change_flags.h"

namespace kavo::option {

void ComputeChangeFlags(const SettingsRecord& snapshot, SettingsRecord& working) {
  for (int p = 0; p < kProfileCount; ++p) {
    int changed = 0;
    for (auto field : kDeviceFields) {
      if (snapshot.profiles[p].*field != working.profiles[p].*field) changed = 1;
    }
    working.SettingsChanged[p] = changed;
  }
  working.CurrentProfileChanged = snapshot.CurrentProfile != working.CurrentProfile ? 1 : 0;
}

}  // namespace kavo::option
