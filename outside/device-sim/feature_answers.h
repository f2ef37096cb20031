#pragma once
// How the mouse answers the feature reports of its channel.
//
//   id  write (length)                          read (length)
//    4  {4, profile, 0x10 settings | 0x20 buttons}: selects what 6 or 7 read next (3)
//                                               {4, status} (3): 1 ready, 3 busy, 2 refused
//    5  {5, 3, profile}: active profile (3)     {5, 3, active profile} (3)
//    6  {6, 13, profile, 8 settings, sum} (13)  the selected profile, same layout (13)
//    7  {7, 19, profile, 14 codes, sum} (19)    the selected profile, same layout (19)
//    9  {9, 6, 7, 0, 0, 0}: reset request (6)   {9, 6, firmware, 0, 0, 0} (6)
//   11  {11, 3, 0 | 1}: host software running (3)
//
// Lengths are exact. The sum is the 16-bit total of the bytes before it, low byte first. Button codes in
// report 7 travel in the device's order of slots, not in slot order.
#include <cstddef>
#include <cstdint>

#include "outside/device-sim/mouse_memory.h"

namespace kavo::sim {

constexpr std::uint8_t kStatusReady = 1;
constexpr std::uint8_t kStatusRefused = 2;
constexpr std::uint8_t kStatusBusy = 3;

// Slot carried by each button byte of report 7.
constexpr int kDeviceSlotOrder[kButtonSlotCount] = {0, 1, 2, 5, 6, 7, 8, 9, 12, 13, 3, 4, 10, 11};

// Nonzero-style results: true when the mouse took the report (write) or filled the buffer (read). Both
// fail while the mouse is unplugged; an injected failure is used up by any call.
bool AnswerSetFeature(MouseMemory& memory, const std::uint8_t* report, std::size_t length);
// report[0] holds the id on entry; on failure the buffer is left as it was.
bool AnswerGetFeature(MouseMemory& memory, std::uint8_t* report, std::size_t length);

// One process's feature channel. Opening needs the mouse plugged in; a removal ends the channel for good,
// so after the next arrival it must be opened again.
class FeatureChannel {
 public:
  bool Open(const MouseMemory& memory);
  void Close() { open_ = false; }
  bool IsUsable(const MouseMemory& memory) const;

 private:
  bool open_ = false;
  std::uint32_t attachment_ = 0;
};

}  // namespace kavo::sim
