#include "option/macro_library.h"

namespace kavo::option {

MacroStoreLibrary::MacroStoreLibrary(MacroStore& store, PrivateProfileAccess& profiles, FileSystem& files,
                                     std::string programFolder)
    : store_(store), file_(profiles), files_(files), folder_(std::move(programFolder)) {}

void MacroStoreLibrary::Load() {
  const std::string path = Path();
  // No file yet (first start, or deleted): an empty library, which the profiles' macros then refill.
  if (!files_.IsReadable(path)) return;
  file_.Load(store_, path);
}

void MacroStoreLibrary::MergeFromProfiles(const SettingsRecord& record) { store_.MergeFromProfiles(record); }

bool MacroStoreLibrary::SaveFile() { return file_.Save(store_, Path()); }

void MacroStoreLibrary::Reload() {
  store_.Clear();
  Load();
}

}  // namespace kavo::option
