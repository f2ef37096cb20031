// Any file content as a profile file: the loaded profile is always safe to use, and saving and loading it
// again reproduces it byte for byte.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "tests/fuzz/fuzz_checks.h"
#include "settings/ini_file.h"
#include "settings/settings_files.h"
#include "tests/support/fake_registry.h"
#include "tests/support/memory_file_system.h"

using kavo::fuzz::Check;
using kavo::fuzz::Terminated;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kavo::test::MemoryFileSystem files;
  kavo::test::FakeRegistry registry;
  kavo::IniFileAccess access(files);
  kavo::SettingsFiles settings("C:\\Kavo\\", access, files, registry);
  files.files["in.vmp"] = std::string(reinterpret_cast<const char*>(data), size);

  auto profile = std::make_unique<kavo::ProfileRecord>();
  std::memset(profile.get(), 0xCD, sizeof *profile);
  settings.ReadProfile(*profile, "in.vmp");
  Check(Terminated(profile->ProFileName) && Terminated(profile->GameFile0) && Terminated(profile->GameFile1) &&
        Terminated(profile->GameFile2));
  for (const auto& entry : profile->buttons) {
    Check(entry.eventCount <= kavo::kMaxMacroEvents);
    Check(Terminated(entry.macroSetName) && Terminated(entry.macroName) && Terminated(entry.programPath));
  }

  settings.WriteProfile(*profile, "out.vmp");
  auto again = std::make_unique<kavo::ProfileRecord>();
  settings.ReadProfile(*again, "out.vmp");
  // Text fields are stored trimmed, so only what survives trimming is compared for them.
  kavo::ProfileRecord& a = *profile;
  kavo::ProfileRecord& b = *again;
  Check(std::memcmp(&a.padding, &b.padding, sizeof a - offsetof(kavo::ProfileRecord, padding)) == 0);
  return 0;
}
