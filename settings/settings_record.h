#pragma once
// The whole settings state as one plain little-endian record. Its byte image is shared between the two
// programs and its text image is the configuration and profile files, so the layout is fixed to the byte.
#include <cstddef>
#include <cstdint>

namespace kavo {

constexpr int kProfileCount = 5;
constexpr int kButtonSlotCount = 14;      // seven physical inputs in two layers
constexpr int kInputsPerLayer = 7;
constexpr int kMaxMacroEvents = 500;
constexpr int kMaxRepeatCount = 255;   // the most passes the configuration program offers for a macro

enum FunctionCode : std::uint8_t {
  kFunctionNone = 0,
  kFunctionClick = 1,
  kFunctionMenu = 2,
  kFunctionUniversalScroll = 3,
  kFunctionDoubleClick = 4,
  kFunctionKeyShortcut = 5,
  kFunctionQuicklaunch = 15,
  kFunctionMacro = 48,
  kFunctionAltlayer = 65,
};

enum MacroAction : std::uint8_t { kMacroPress = 1, kMacroRelease = 2 };

// The modifier mask a key shortcut stores beside its key: None stands alone and excludes the others.
enum ShortcutMask : std::uint8_t {
  kShortcutNone = 0x01,
  kShortcutShift = 0x02,
  kShortcutCtrl = 0x04,
  kShortcutAlt = 0x08,
  kShortcutWin = 0x10,
};

#pragma pack(push, 1)

struct MacroEvent {
  std::uint8_t key;         // device key code, or 240..244 for the mouse buttons
  std::uint8_t action;      // MacroAction
  std::uint16_t delay;      // milliseconds to wait after the event; 0 plays as 1
};

struct MacroKeyInfo {
  std::uint8_t slot;
  std::uint8_t function;
  char macroSetName[50];
  char macroName[50];
  std::uint8_t padding[2];
  std::int32_t repeatCount;  // 0 or less plays once
  std::uint16_t eventCount;
  MacroEvent events[kMaxMacroEvents];  // for a key shortcut: key code and modifier mask in the first two bytes
  char programPath[262];
};

struct ProfileRecord {
  char ProFileName[250];
  char GameFile0[500];
  char GameFile1[500];
  char GameFile2[500];
  std::uint8_t padding[2];
  // Windows-wide pointer settings, mirrored into the registry.
  std::int32_t DbleClickSpeed;
  std::int32_t ScrollWheelSpeed;
  std::int32_t ScrollWheelFlag;
  std::int32_t MouseSpeed;
  std::int32_t Acceleration;
  std::int32_t AccelerationFlag;
  std::int32_t TiltSpeed;
  std::int32_t MediaOption;
  // The fourteen device fields compared on Apply.
  std::int32_t HDDKeyboard;
  std::int32_t Orientation;
  std::int32_t XYSynchronous;
  std::int32_t Sensitivity_X;
  std::int32_t Sensitivity_Y;
  std::int32_t Cpi_X;
  std::int32_t Cpi_Y;
  std::int32_t XYCpiFlag;
  std::int32_t PollingRate;
  std::int32_t LiftSwitch;
  std::int32_t LiftLevel;
  std::int32_t LightSwitch;
  std::int32_t LightType;
  std::int32_t BTOption;
  MacroKeyInfo buttons[kButtonSlotCount];
};

struct SettingsRecord {
  std::int32_t CurrentProfile;   // 0..4, -1 when none is known
  std::int32_t WindowsProfile;   // profile used while no linked game runs, -1 = none
  std::int32_t QuickHelpLan;     // LanguageNumber
  ProfileRecord profiles[kProfileCount];
  std::int32_t MouseType;
  std::int32_t ButtonChanged[kProfileCount][kButtonSlotCount];
  std::int32_t SettingsChanged[kProfileCount];
  std::int32_t CurrentProfileChanged;
};

struct OSDSetting {
  std::int32_t switches[9];   // belong to the notice programs; carried unchanged
  char mailServer[100];
  std::int32_t mailPort;
  char mailUser[100];
  char mailPassword[100];
  std::int32_t checkInterval;
};

#pragma pack(pop)

static_assert(sizeof(MacroEvent) == 4);
static_assert(offsetof(MacroEvent, action) == 1);
static_assert(offsetof(MacroEvent, delay) == 2);

static_assert(sizeof(MacroKeyInfo) == 2372);
static_assert(offsetof(MacroKeyInfo, function) == 1);
static_assert(offsetof(MacroKeyInfo, macroSetName) == 2);
static_assert(offsetof(MacroKeyInfo, macroName) == 52);
static_assert(offsetof(MacroKeyInfo, padding) == 102);
static_assert(offsetof(MacroKeyInfo, repeatCount) == 104);
static_assert(offsetof(MacroKeyInfo, eventCount) == 108);
static_assert(offsetof(MacroKeyInfo, events) == 110);
static_assert(offsetof(MacroKeyInfo, programPath) == 2110);

static_assert(sizeof(ProfileRecord) == 35048);
static_assert(offsetof(ProfileRecord, GameFile0) == 250);
static_assert(offsetof(ProfileRecord, GameFile1) == 750);
static_assert(offsetof(ProfileRecord, GameFile2) == 1250);
static_assert(offsetof(ProfileRecord, padding) == 1750);
static_assert(offsetof(ProfileRecord, DbleClickSpeed) == 1752);
static_assert(offsetof(ProfileRecord, ScrollWheelSpeed) == 1756);
static_assert(offsetof(ProfileRecord, ScrollWheelFlag) == 1760);
static_assert(offsetof(ProfileRecord, MouseSpeed) == 1764);
static_assert(offsetof(ProfileRecord, Acceleration) == 1768);
static_assert(offsetof(ProfileRecord, AccelerationFlag) == 1772);
static_assert(offsetof(ProfileRecord, TiltSpeed) == 1776);
static_assert(offsetof(ProfileRecord, MediaOption) == 1780);
static_assert(offsetof(ProfileRecord, HDDKeyboard) == 1784);
static_assert(offsetof(ProfileRecord, Orientation) == 1788);
static_assert(offsetof(ProfileRecord, XYSynchronous) == 1792);
static_assert(offsetof(ProfileRecord, Sensitivity_X) == 1796);
static_assert(offsetof(ProfileRecord, Sensitivity_Y) == 1800);
static_assert(offsetof(ProfileRecord, Cpi_X) == 1804);
static_assert(offsetof(ProfileRecord, Cpi_Y) == 1808);
static_assert(offsetof(ProfileRecord, XYCpiFlag) == 1812);
static_assert(offsetof(ProfileRecord, PollingRate) == 1816);
static_assert(offsetof(ProfileRecord, LiftSwitch) == 1820);
static_assert(offsetof(ProfileRecord, LiftLevel) == 1824);
static_assert(offsetof(ProfileRecord, LightSwitch) == 1828);
static_assert(offsetof(ProfileRecord, LightType) == 1832);
static_assert(offsetof(ProfileRecord, BTOption) == 1836);
static_assert(offsetof(ProfileRecord, buttons) == 1840);

static_assert(sizeof(SettingsRecord) == 175560);
static_assert(offsetof(SettingsRecord, WindowsProfile) == 4);
static_assert(offsetof(SettingsRecord, QuickHelpLan) == 8);
static_assert(offsetof(SettingsRecord, profiles) == 12);
static_assert(offsetof(SettingsRecord, MouseType) == 175252);
static_assert(offsetof(SettingsRecord, ButtonChanged) == 175256);
static_assert(offsetof(SettingsRecord, SettingsChanged) == 175536);
static_assert(offsetof(SettingsRecord, CurrentProfileChanged) == 175556);

static_assert(sizeof(OSDSetting) == 344);
static_assert(offsetof(OSDSetting, mailServer) == 36);
static_assert(offsetof(OSDSetting, mailPort) == 136);
static_assert(offsetof(OSDSetting, mailUser) == 140);
static_assert(offsetof(OSDSetting, mailPassword) == 240);
static_assert(offsetof(OSDSetting, checkInterval) == 340);

// Function code each button slot has after a reset, in slot order.
extern const std::uint8_t kDefaultSlotFunctions[kButtonSlotCount];

bool IsProfileIndex(int index);

// The default entry of button slot b: slot number and default function, everything else zero.
void ResetButtonEntry(MacroKeyInfo& entry, int slot);
void ResetProfile(ProfileRecord& profile, int slotIndex);
// Whole record to defaults; MouseType and the change flags are left as they are.
void ResetToDefaults(SettingsRecord& record, int languageNumber);
// CurrentProfile -1, MouseType 0, every other byte zero.
void ClearRecord(SettingsRecord& record);
void ResetOSDSetting(OSDSetting& osd);
void ClearChangeFlags(SettingsRecord& record);
// Used by the device reset: every ButtonChanged byte becomes 1, so those flags hold 0x01010101.
void MarkEverythingChanged(SettingsRecord& record);

// Makes an entry that came from outside safe to use: event count within the event array, names and
// program path terminated. A macro keeps only its presses and releases (the later events move up, the
// places left at the end are cleared) and plays at most kMaxRepeatCount times; a count below 0 becomes 0,
// which plays once as before. True when something had to be changed.
bool SanitizeButtonEntry(MacroKeyInfo& entry);

// Makes a whole record that came from another process safe to act on: profile indices within 0..4 or
// none (-1), the language a known one (else English), the media player one of the four, every text field
// terminated and every button entry safe. True when something had to be changed.
bool SanitizeRecord(SettingsRecord& record);

}  // namespace kavo
