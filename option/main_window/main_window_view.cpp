#include "option/main_window/main_window_view.h"

#include "settings/bounded_text.h"

namespace kavo::option {
namespace {

constexpr LanguagePictures kLanguagePictures[] = {
    {336, 334, 335}, {339, 337, 338}, {342, 340, 341}, {345, 343, 344}, {348, 346, 347},
    {351, 349, 350}, {354, 352, 353}, {357, 355, 358}, {361, 359, 360}, {365, 362, 363},
};
constexpr int kEnglish = 1;

// A name is at most one character shorter than its field, even when the record lacks the terminator.
std::string ProfileName(const ProfileRecord& profile) {
  std::string name = FieldText(profile.ProFileName);
  if (name.size() >= sizeof profile.ProFileName) name.resize(sizeof profile.ProFileName - 1);
  return name;
}

}  // namespace

int EffectiveLanguage(int languageNumber) {
  return languageNumber >= 0 && languageNumber <= 9 ? languageNumber : kEnglish;
}

LanguagePictures LanguageButtonPictures(int languageNumber) {
  return kLanguagePictures[EffectiveLanguage(languageNumber)];
}

void ShowRecord(const SettingsRecord& record, MainWindowView& view) {
  for (int p = 0; p < kProfileCount; ++p) {
    SlotView& slot = view.slots[p];
    const bool active = record.CurrentProfile == p;
    const bool windows = record.WindowsProfile == p;
    slot.pressed = active;
    slot.markerVisible = windows;
    slot.plainButtonVisible = !windows;
    slot.name = ProfileName(record.profiles[p]);
    slot.nameColour = active ? kActiveNameColour : kInactiveNameColour;
  }
  view.language = LanguageButtonPictures(record.QuickHelpLan);
  view.modelBadgeVisible = record.MouseType == kModelBadgeMouseType;
}

}  // namespace kavo::option
