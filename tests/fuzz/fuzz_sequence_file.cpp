// Any file content as the macro library's file: what loads is always within the store's bounds, and
// saving and loading it again reproduces it.
#include <cstdint>
#include <cstring>
#include <string>

#include "option/macros/sequence_file.h"
#include "settings/ini_file.h"
#include "tests/fuzz/fuzz_checks.h"
#include "tests/support/memory_file_system.h"

using kavo::fuzz::Check;
using kavo::fuzz::Terminated;

namespace {

void CheckBounded(const kavo::option::MacroStore& store) {
  Check(store.SetCount() <= kavo::option::kMaxLoadedSets);
  for (int s = 0; s < store.SetCount(); ++s) {
    const kavo::option::MacroSet& set = *store.Set(s);
    Check(set.name.size() < kavo::option::kMacroSetNameBytes);
    Check(set.macros.size() <= static_cast<std::size_t>(kavo::option::kMaxLoadedMacros));
    for (const auto& macro : set.macros) {
      Check(Terminated(macro->name));
      Check(macro->eventCount >= 0 && macro->eventCount <= kavo::kMaxMacroEvents);
      Check(macro->repeatCount >= 0 && macro->repeatCount <= kavo::option::kMaxRepeatCount);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kavo::test::MemoryFileSystem files;
  kavo::IniFileAccess access(files);
  kavo::option::SequenceFile file(access);
  files.files["in.dat"] = std::string(reinterpret_cast<const char*>(data), size);

  kavo::option::MacroStore store;
  file.Load(store, "in.dat");
  CheckBounded(store);

  // Sets whose trimmed names clash share a section, so only a library of distinct names survives the trip.
  for (int s = 0; s < store.SetCount(); ++s) {
    for (int t = 0; t < s; ++t) {
      if (kavo::option::SameName(store.Set(s)->name, store.Set(t)->name)) return 0;
    }
  }
  Check(file.Save(store, "out.dat"));
  kavo::option::MacroStore again;
  file.Load(again, "out.dat");
  Check(again.SetCount() == store.SetCount());
  for (int s = 0; s < store.SetCount(); ++s) {
    Check(again.Set(s)->macros.size() == store.Set(s)->macros.size());
    for (std::size_t m = 0; m < store.Set(s)->macros.size(); ++m) {
      Check(std::memcmp(again.Set(s)->macros[m].get(), store.Set(s)->macros[m].get(), sizeof(kavo::option::Macro)) == 0);
    }
  }
  return 0;
}
