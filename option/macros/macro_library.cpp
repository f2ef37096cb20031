#include "option/macros/macro_library.h"

namespace kavo::option {

MacroStoreLibrary::MacroStoreLibrary(MacroStore& store, PrivateProfileAccess& profiles, std::string programFolder)
    : store_(store), file_(profiles), folder_(std::move(programFolder)) {}

void MacroStoreLibrary::Load() {
  // No file yet (first start, or deleted): an empty library, which the profiles' macros then refill.
  fileUnread_ = file_.Load(store_, Path()) == FileRead::kUnreadable;
}

void MacroStoreLibrary::MergeFromProfiles(const SettingsRecord& record) { store_.MergeFromProfiles(record); }

bool MacroStoreLibrary::SaveFile() { return !fileUnread_ && file_.Save(store_, Path()); }

void MacroStoreLibrary::Reload() {
  store_.Clear();
  Load();
}

}  // namespace kavo::option
