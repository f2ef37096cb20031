#include "option/profiles/profile_save_target.h"

#include <cctype>

#include "settings/file_system.h"
#include "settings/settings_record.h"

namespace kavo::option {

namespace {

// File names on Windows compare without regard to case.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string SlotBaseName(int slotIndex) { return "Default" + std::to_string(slotIndex); }

}  // namespace

std::optional<int> SlotOverwrittenBySave(std::string_view targetPath) {
  // Windows drops trailing dots and spaces from a name, so "Default0.vmp." opens "Default0.vmp".
  while (!targetPath.empty() && (targetPath.back() == '.' || targetPath.back() == ' ')) targetPath.remove_suffix(1);
  const std::string baseName = BaseNameWithoutExtension(targetPath);
  for (int slot = 0; slot < kProfileCount; ++slot) {
    if (SameName(baseName, SlotBaseName(slot))) return slot;
  }
  return std::nullopt;
}

std::string SlotFileRefusalText(int slotIndex) {
  return "\"" + SlotBaseName(slotIndex) + ".vmp\" holds profile slot " + std::to_string(slotIndex + 1) +
         ". Save the profile under another name.";
}

}  // namespace kavo::option
