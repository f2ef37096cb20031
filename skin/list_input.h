#pragma once
// What the skinned list does with keys and the wheel before the list box sees them: with "arrow keys
// only" on, the list answers to nothing but Up and Down; the wheel moves it one line per notch.
namespace kavo::skin {

enum class KeyStroke {
  kPress,      // key down, auto-repeat included
  kRelease,    // key up
  kCharacter,  // the character a press produced
};

// True when the stroke reaches the list. Up and Down pass as presses and releases; every other key is
// swallowed, and so are characters (Up and Down make none): a swallowed press must not still type into the
// list's search by its first letter.
bool ArrowKeysOnlyPasses(KeyStroke stroke, unsigned virtualKey);

enum class WheelDirection { kLineUp, kLineDown };

struct WheelScroll {
  WheelDirection direction = WheelDirection::kLineDown;
  int lines = 1;
  bool operator==(const WheelScroll& other) const {
    return direction == other.direction && lines == other.lines;
  }
};

// The lines a wheel turn of delta scrolls (120 a notch): down for a negative or zero delta, up otherwise,
// one line per whole notch and at least one, so a fine-grained wheel still moves the list.
WheelScroll WheelLines(int delta);

}  // namespace kavo::skin
