#pragma once
// The mouse's seven physical inputs and its connection, and what they make it do and report.
//
// Input k (1..7) goes through slot k-1 of the active profile, or slot k-1+7 while another held input's
// normal-layer code is Altlayer (65). While another held input's normal-layer code is a Dualwheel code
// (66..69), the wheel inputs 6 (up) and 7 (down) step sensitivity, profile, resolution or volume instead.
// A release goes through the slot its press used, with the code that slot had then.
#include "outside/device-sim/mouse_memory.h"

namespace kavo::sim {

constexpr std::uint8_t kFunctionTiltLeft = 9;
constexpr std::uint8_t kFunctionTiltRight = 10;
constexpr std::uint8_t kFunctionProfileCycle = 16;
constexpr std::uint8_t kFunctionProfileUp = 17;
constexpr std::uint8_t kFunctionProfileDown = 18;
constexpr std::uint8_t kFunctionDpiCycle = 20;
constexpr std::uint8_t kFunctionDpiUp = 21;
constexpr std::uint8_t kFunctionDpiDown = 22;
constexpr std::uint8_t kFunctionFirstMedia = 32;
constexpr std::uint8_t kFunctionMute = 37;
constexpr std::uint8_t kFunctionVolumeUp = 38;
constexpr std::uint8_t kFunctionVolumeDown = 39;
constexpr std::uint8_t kFunctionDualwheelSensitivity = 66;
constexpr std::uint8_t kFunctionDualwheelProfile = 67;
constexpr std::uint8_t kFunctionDualwheelDpi = 68;
constexpr std::uint8_t kFunctionDualwheelVolume = 69;

constexpr int kInputWheelUp = 6;
constexpr int kInputWheelDown = 7;

enum class InputResult {
  kDone,  // taken (a press of a held input or a release of a free one changes nothing)
  kNoSuchInput,
  kUnplugged,  // a mouse without power does nothing
};

InputResult PressInput(MouseMemory& memory, int input);
InputResult ReleaseInput(MouseMemory& memory, int input);

// Arrival and removal. Each changes the state only once; a removal lets go of every held input and forgets
// the report selection, as a power loss does.
void Plug(MouseMemory& memory);
void Unplug(MouseMemory& memory);

}  // namespace kavo::sim
