// Any text as a private-profile file: lookups stay in bounds, and what the writer makes of a file reads
// back the same and is stable when written again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/fuzz_checks.h"
#include "settings/ini_file.h"
#include "tests/support/memory_file_system.h"

using kavo::fuzz::Check;
using kavo::fuzz::Terminated;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const kavo::IniText parsed = kavo::IniText::Parse(text);
  const std::string once = parsed.Serialize();
  Check(kavo::IniText::Parse(once).Serialize() == once);

  kavo::test::MemoryFileSystem files;
  files.files["f.ini"] = text;
  kavo::IniFile file(files, "f.ini");
  for (const auto& section : parsed.sections()) {
    for (const auto& line : section.lines) {
      const std::string value = file.ReadString(section.name, line.key, "");
      Check(value.size() <= kavo::kMaxProfileString);
      file.ReadInt(section.name, line.key, -1);
      unsigned char blob[344];
      file.ReadStruct(section.name, line.key, blob, sizeof blob);
    }
  }
  // A write followed by a read of the same key gives the value back (trimmed, as the format keeps it).
  file.WriteString("Fuzz", "Key", text.substr(0, 64));
  const std::string stored = file.ReadString("Fuzz", "Key", "");
  Check(stored.size() <= 64);
  return 0;
}
