#include "option/assign/button_assign_altlayer.h"

namespace kavo::option {
namespace {

constexpr int kSide4Slot = 3;
constexpr int kSide5Slot = 4;
constexpr int kSide4AltSlot = kSide4Slot + kInputsPerLayer;  // 10
constexpr int kSide5AltSlot = kSide5Slot + kInputsPerLayer;  // 11

void SetCode(ProfileRecord& profile, int slot, std::uint8_t code, SlotSet& changed) {
  if (profile.buttons[slot].function == code) return;
  profile.buttons[slot].function = code;
  changed.set(static_cast<std::size_t>(slot));
}

}  // namespace

AltlayerState CurrentAltlayer(const ProfileRecord& profile) {
  const bool side4 = profile.buttons[kSide4Slot].function == kFunctionAltlayer;
  const bool side5 = profile.buttons[kSide5Slot].function == kFunctionAltlayer;
  if (side4 && side5) return AltlayerState::kBoth;
  if (side4) return AltlayerState::kInput4;
  if (side5) return AltlayerState::kInput5;
  return AltlayerState::kOff;
}

std::uint8_t AltlayerRules::Saved(int slot) const {
  if (slot < kAltlayerFirstSlot || slot >= kButtonSlotCount) return 0;
  return saved_[static_cast<std::size_t>(slot - kAltlayerFirstSlot)];
}

void AltlayerRules::Save(const ProfileRecord& profile, int slot) {
  saved_[static_cast<std::size_t>(slot - kAltlayerFirstSlot)] = profile.buttons[slot].function;
}

void AltlayerRules::Restore(ProfileRecord& profile, int slot, SlotSet& changed) const {
  const std::uint8_t saved = Saved(slot);
  SetCode(profile, slot, saved != 0 ? saved : kDisabledFunction, changed);
}

SlotSet AltlayerRules::Apply(ProfileRecord& profile, int newCode) {
  SlotSet changed;
  const bool switchedOn = newCode == kFunctionAltlayer;
  switch (CurrentAltlayer(profile)) {
    case AltlayerState::kOff:
      // A layer already off holds zeros, which must not overwrite what was saved when it went off.
      if (profile.buttons[kAltlayerFirstSlot].function != 0) {
        for (int slot = kAltlayerFirstSlot; slot < kButtonSlotCount; ++slot) Save(profile, slot);
      }
      for (int slot = kAltlayerFirstSlot; slot < kButtonSlotCount; ++slot) SetCode(profile, slot, 0, changed);
      break;
    case AltlayerState::kBoth:
      // 0 only marks the slot unavailable (it is never a choice), so it must not replace a saved code.
      for (int slot : {kSide4AltSlot, kSide5AltSlot}) {
        if (profile.buttons[slot].function != 0) Save(profile, slot);
      }
      SetCode(profile, kSide4AltSlot, 0, changed);
      SetCode(profile, kSide5AltSlot, 0, changed);
      break;
    case AltlayerState::kInput4:
    case AltlayerState::kInput5: {
      const bool side4 = CurrentAltlayer(profile) == AltlayerState::kInput4;
      const int own = side4 ? kSide4AltSlot : kSide5AltSlot;
      const int other = side4 ? kSide5AltSlot : kSide4AltSlot;
      SetCode(profile, own, 0, changed);
      if (switchedOn) {
        for (int slot = kAltlayerFirstSlot; slot < kButtonSlotCount; ++slot) {
          if (slot != own) Restore(profile, slot, changed);
        }
      } else if (profile.buttons[other].function == 0) {
        Restore(profile, other, changed);
      }
      break;
    }
  }
  return changed;
}

int HoverPictureIndex(int notifyValue, const ProfileRecord& profile) {
  const int slot = notifyValue - kFirstHoverNotify;
  if (slot < 0 || slot >= kButtonSlotCount) return -1;
  const int input = slot % kInputsPerLayer;
  int group = 0;
  if (slot >= kAltlayerFirstSlot) {
    switch (CurrentAltlayer(profile)) {
      case AltlayerState::kOff: return -1;
      case AltlayerState::kInput4: group = 2; break;
      case AltlayerState::kInput5: group = 4; break;
      case AltlayerState::kBoth: group = 6; break;
    }
  }
  if (profile.Orientation == 1) ++group;
  return kInputsPerLayer * group + input;
}

}  // namespace kavo::option
