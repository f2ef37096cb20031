#pragma once
// What the main window's controls show, derived from the working record and the window's own state.
#include <array>
#include <cstdint>
#include <string>

#include "settings/settings_record.h"
#include "skin/geometry.h"

namespace kavo::option {

enum class Page { kMainSettings, kButtonAssign, kAdvanced, kUpdate, kHelp };
constexpr int kPageCount = 5;

constexpr skin::Colour kActiveNameColour = 0xFFFFFF;
constexpr skin::Colour kInactiveNameColour = 0x737373;
constexpr int kModelBadgeMouseType = 1;
// The language popup opens this far above the language button's top, at the button's left edge.
constexpr int kLanguageButtonLeft = 12;
constexpr int kLanguageButtonTop = 570;
constexpr int kLanguagePopupHeight = 177;

struct LanguagePictures {
  int normal;
  int hover;
  int pressed;
};

// The language button's pictures for a language number; any number outside 0..9 shows English.
LanguagePictures LanguageButtonPictures(int languageNumber);
// The language a number stands for: itself when 0..9, else English.
int EffectiveLanguage(int languageNumber);

struct SlotView {
  bool pressed;            // the slot button of the active profile
  bool markerVisible;      // the Windows-profile marker, on the Windows profile's slot only
  bool plainButtonVisible; // the plain Windows-profile button, hidden where the marker shows
  std::string name;
  skin::Colour nameColour;
};

struct MainWindowView {
  std::array<SlotView, kProfileCount> slots;
  LanguagePictures language;
  bool modelBadgeVisible;
  Page visiblePage;
  std::array<bool, kPageCount> tabPressed;
  bool applyEnabled;  // OK and Apply
  std::string softwareVersion;
  std::string firmwareVersion;
};

// The parts of the view that follow from the record alone: slots, names, language and badge.
void ShowRecord(const SettingsRecord& record, MainWindowView& view);

}  // namespace kavo::option
