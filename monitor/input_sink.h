#pragma once
// Synthetic input into the running system: keys and mouse buttons, not aimed at any window.
namespace kavo::monitor {

enum class MouseButton { Left, Right, Middle, X1, X2 };

class InputSink {
 public:
  virtual ~InputSink() = default;
  // scanCode goes with the key as given; extended marks keys of the extended set (media keys).
  virtual void Key(int virtualKey, int scanCode, bool up, bool extended) = 0;
  virtual void Button(MouseButton button, bool up) = 0;
};

}  // namespace kavo::monitor
