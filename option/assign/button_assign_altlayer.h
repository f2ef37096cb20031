#pragma once
// The Altlayer layer: the second set of seven slots, available only while a side button (slot 3 or 4)
// carries the Altlayer function. Switching the layer off keeps its codes so switching it on again brings
// them back; the memory lasts as long as the program.
#include <array>
#include <bitset>
#include <cstdint>

#include "settings/settings_record.h"

namespace kavo::option {

constexpr int kAltlayerFirstSlot = kInputsPerLayer;  // slot 7
constexpr int kDisabledFunction = 6;
constexpr int kFirstHoverNotify = 200;               // + slot index
constexpr int kHoverPictureCount = 56;               // 8 groups of 7

// Which side buttons carry the Altlayer function.
enum class AltlayerState { kOff, kInput4, kInput5, kBoth };
AltlayerState CurrentAltlayer(const ProfileRecord& profile);

using SlotSet = std::bitset<kButtonSlotCount>;

class AltlayerRules {
 public:
  // After a slot's code changed to newCode: keeps the Altlayer slots consistent with slots 3 and 4. Returns
  // the slots whose code this changed.
  SlotSet Apply(ProfileRecord& profile, int newCode);

  // The code saved for an Altlayer slot (7..13); 0 for any other index.
  std::uint8_t Saved(int slot) const;

 private:
  void Save(const ProfileRecord& profile, int slot);
  void Restore(ProfileRecord& profile, int slot, SlotSet& changed) const;

  std::array<std::uint8_t, kInputsPerLayer> saved_{};
};

// Hover picture for a slot button's notify value (200 + slot): 7 x group + input, the group chosen by layer,
// Altlayer state and orientation. -1 for a value outside 200..213 and for an Altlayer slot while the layer
// is off.
int HoverPictureIndex(int notifyValue, const ProfileRecord& profile);

}  // namespace kavo::option
