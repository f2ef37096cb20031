// Any bytes as the shared block another process published: once sanitised, the record is safe to act on,
// and sanitising it again changes nothing.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "tests/fuzz/fuzz_checks.h"
#include "settings/settings_record.h"

using kavo::fuzz::Check;
using kavo::fuzz::Terminated;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto record = std::make_unique<kavo::SettingsRecord>();
  std::memset(record.get(), 0, sizeof *record);
  // The input fills the block from its start and repeats, so that short inputs reach every field.
  auto* bytes = reinterpret_cast<std::uint8_t*>(record.get());
  for (std::size_t i = 0; size && i < sizeof *record; ++i) bytes[i] = data[i % size];

  kavo::SanitizeRecord(*record);
  Check(record->CurrentProfile >= -1 && record->CurrentProfile <= 4);
  Check(record->WindowsProfile >= -1 && record->WindowsProfile <= 4);
  Check(record->QuickHelpLan >= 0 && record->QuickHelpLan <= 9);
  for (const auto& profile : record->profiles) {
    Check(Terminated(profile.ProFileName) && Terminated(profile.GameFile0) && Terminated(profile.GameFile1) &&
          Terminated(profile.GameFile2));
    Check(profile.MediaOption >= 0 && profile.MediaOption <= 3);
    for (const auto& entry : profile.buttons) {
      Check(entry.eventCount <= kavo::kMaxMacroEvents);
      Check(Terminated(entry.macroSetName) && Terminated(entry.macroName) && Terminated(entry.programPath));
    }
  }
  Check(!kavo::SanitizeRecord(*record));
  return 0;
}
