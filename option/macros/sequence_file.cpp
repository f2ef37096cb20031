#include "option/macros/sequence_file.h"

#include <algorithm>
#include <cstring>

#include "settings/bounded_text.h"

namespace kavo::option {
namespace {

constexpr char kNumber[] = "number";

std::string IndexKey(int index) { return std::to_string(index); }

void MakeSafe(Macro& macro) {
  TerminateField(macro.name);
  macro.eventCount = std::clamp(macro.eventCount, 0, kMaxMacroEvents);
  macro.repeatCount = std::clamp(macro.repeatCount, 0, kMaxRepeatCount);
}

}  // namespace

FileRead SequenceFile::Load(MacroStore& store, const std::string& path) {
  auto file = profiles_.Open(path);
  const FileRead found = file->Found();
  const int setCount = std::min(file->ReadInt(kSetListSection, kNumber, -1), kMaxLoadedSets);
  if (setCount <= 0) return found;

  const int first = store.SetCount();
  for (int i = 0; i < setCount; ++i) {
    const std::string name = file->ReadString(kSetListSection, IndexKey(i), "");
    // Its section is the list itself: it has no macros, and saving it would overwrite the list.
    if (SameName(name, kSetListSection)) continue;
    store.AppendSet(name);
  }

  for (int i = first; i < store.SetCount(); ++i) {
    MacroSet& set = *store.Set(i);
    const std::string section(TrimmedName(set.name));
    // A set without a name has no section of its own: "" is the file's unheaded start.
    if (section.empty()) continue;
    const int macroCount = std::min(file->ReadInt(section, kNumber, -1), kMaxLoadedMacros);
    for (int j = 0; j < macroCount; ++j) {
      auto macro = std::make_unique<Macro>();
      if (file->ReadStruct(section, IndexKey(j), macro.get(), sizeof *macro)) {
        MakeSafe(*macro);
      } else {
        std::memset(macro.get(), 0, sizeof *macro);
      }
      set.macros.push_back(std::move(macro));
    }
  }
  return found;
}

bool SequenceFile::Save(const MacroStore& store, const std::string& path) {
  auto file = profiles_.OpenEmpty(path);
  file->WriteInt(kSetListSection, kNumber, store.SetCount());
  for (int i = 0; i < store.SetCount(); ++i) file->WriteString(kSetListSection, IndexKey(i), store.Set(i)->name);
  for (int i = 0; i < store.SetCount(); ++i) {
    const MacroSet& set = *store.Set(i);
    const std::string section(TrimmedName(set.name));
    if (section.empty()) continue;  // nowhere to keep its macros, as Load reads none for it
    file->WriteInt(section, kNumber, static_cast<int>(set.macros.size()));
    for (std::size_t j = 0; j < set.macros.size(); ++j) {
      file->WriteStruct(section, IndexKey(static_cast<int>(j)), set.macros[j].get(), sizeof(Macro));
    }
  }
  return file->Commit();
}

}  // namespace kavo::option
