#pragma once
// The keys that are already down when key capture begins: mostly the Return or Space that chose the command
// starting it. They belong to what the user did before, so capture leaves them alone until they come up,
// and lets their release through so that the system sees them come up. A key pressed after the start is
// the user's stroke.
#include <bitset>
#include <functional>

namespace kavo::option {

// What capture does with one key message.
enum class StartKeyVerdict {
  kCapture,  // the user's stroke: take it, and keep it from every other program
  kIgnore,   // a repeated press of a key held since the start: neither taken nor passed on
  kPassOn,   // the release of a key held since the start: not taken, passed on to the system
};

class KeysDownAtStart {
 public:
  // Whether a virtual key (1 to 255) is down at this moment.
  using KeyDown = std::function<bool(int virtualKey)>;

  // Notes every key keyDown reports down now; the keys noted at an earlier start are forgotten.
  void Start(const KeyDown& keyDown);
  // A key message of the capture; a held key is forgotten with its release.
  StartKeyVerdict OnKey(int virtualKey, bool released);
  // Forgets the noted keys keyDown reports up; true once none is left, for a command that waits for them.
  bool AllUp(const KeyDown& keyDown);

 private:
  static constexpr int kKeyCount = 256;
  std::bitset<kKeyCount> held_;
};

}  // namespace kavo::option
