#pragma once
// A settings record with every stored field set to a different value, all seventy button entries full,
// chosen so that a write followed by a read must give it back to the byte.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "settings/bounded_text.h"
#include "settings/language.h"
#include "settings/settings_record.h"

namespace kavo::wine_test {

constexpr int kFullRecordCurrentProfile = 2;

inline void FillFullRecord(SettingsRecord& record) {
  ClearRecord(record);
  record.CurrentProfile = kFullRecordCurrentProfile;
  record.WindowsProfile = 4;
  record.QuickHelpLan = kGerman;
  record.MouseType = 7;

  std::uint32_t seed = 0x2545F491u;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };

  static constexpr std::int32_t ProfileRecord::*kIntegers[] = {
      &ProfileRecord::DbleClickSpeed, &ProfileRecord::ScrollWheelSpeed, &ProfileRecord::ScrollWheelFlag,
      &ProfileRecord::MouseSpeed,     &ProfileRecord::Acceleration,     &ProfileRecord::AccelerationFlag,
      &ProfileRecord::TiltSpeed,      &ProfileRecord::MediaOption,      &ProfileRecord::HDDKeyboard,
      &ProfileRecord::Orientation,    &ProfileRecord::XYSynchronous,    &ProfileRecord::Sensitivity_X,
      &ProfileRecord::Sensitivity_Y,  &ProfileRecord::Cpi_X,            &ProfileRecord::Cpi_Y,
      &ProfileRecord::XYCpiFlag,      &ProfileRecord::PollingRate,      &ProfileRecord::LiftSwitch,
      &ProfileRecord::LiftLevel,      &ProfileRecord::LightSwitch,      &ProfileRecord::LightType,
      &ProfileRecord::BTOption,
  };

  for (int p = 0; p < kProfileCount; ++p) {
    ProfileRecord& profile = record.profiles[p];
    const std::string number = std::to_string(p + 1);
    CopyBounded(profile.ProFileName, "Profile " + number + " ; aim=fast \"sniper\" mode");
    CopyBounded(profile.GameFile0, "C:\\Games\\Title " + number + "\\bin\\game.exe");
    CopyBounded(profile.GameFile1, "D:\\" + std::string(492, static_cast<char>('a' + p)) + ".exe");  // full field
    CopyBounded(profile.GameFile2, p % 2 ? "" : "E:\\Steam\\steamapps\\common\\x" + number + ".exe");

    int i = 0;
    for (auto field : kIntegers) {
      profile.*field = (i % 2 ? -1 : 1) * ((p + 1) * 1000 + i * 37);
      ++i;
    }
    if (p == 4) {
      profile.Cpi_X = INT_MIN;
      profile.Cpi_Y = INT_MAX;
      profile.PollingRate = -1;
      profile.LiftLevel = 0;
    }

    for (int b = 0; b < kButtonSlotCount; ++b) {
      MacroKeyInfo& entry = profile.buttons[b];
      // Every byte, also those after the names' terminators, carries something: the whole entry is stored.
      auto* bytes = reinterpret_cast<unsigned char*>(&entry);
      for (std::size_t k = 0; k < sizeof entry; ++k) bytes[k] = static_cast<unsigned char>(next());
      entry.slot = static_cast<std::uint8_t>(b);
      entry.function = static_cast<std::uint8_t>((p * kButtonSlotCount + b) * 13 % 70);
      std::snprintf(entry.macroSetName, sizeof entry.macroSetName, "Set %d of profile %d", b, p);
      std::snprintf(entry.macroName, sizeof entry.macroName, "Macro \"%d.%d\" = combo", p, b);
      std::snprintf(entry.programPath, sizeof entry.programPath, "C:\\Program Files\\Tool %d-%d\\run me.exe", p, b);
      entry.eventCount = static_cast<std::uint16_t>(b == 13 ? kMaxMacroEvents : (p * kButtonSlotCount + b) * 7);
      if (entry.function == kFunctionMacro) {
        // A macro as the configuration program makes one: presses and releases, at most 255 passes.
        entry.repeatCount = static_cast<std::int32_t>(next() % (kMaxRepeatCount + 1));
        for (int e = 0; e < entry.eventCount; ++e) entry.events[e].action = next() % 2 ? kMacroPress : kMacroRelease;
      }
    }
  }

  // The active profile's Windows-wide fields come back from the registry on reading: they must be values
  // the registry mirror can give back unchanged.
  ProfileRecord& current = record.profiles[kFullRecordCurrentProfile];
  current.DbleClickSpeed = 432;
  current.ScrollWheelSpeed = 7;
  current.ScrollWheelFlag = 0;
  current.MouseSpeed = 14;
  current.Acceleration = 12;
  current.AccelerationFlag = 1;
  current.TiltSpeed = 5;
}

}  // namespace kavo::wine_test
