#pragma once
// Synthetic key presses into the running system, by virtual-key code.
namespace kavo {

class KeyInput {
 public:
  virtual ~KeyInput() = default;
  virtual void KeyDown(int virtualKey) = 0;
  virtual void KeyUp(int virtualKey) = 0;
};

}  // namespace kavo
