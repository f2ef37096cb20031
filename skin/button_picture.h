#pragma once
// Which of its four state pictures a skinned button shows. A toggle button (check box or radio) shows
// its checked state as pressed and only hovers while unchecked; a push button shows the press under the
// pointer, and a push button that is checked stays pressed even when disabled (a tab of the visible page).
namespace kavo::skin {

enum class ButtonPicture { kNormal, kHover, kPressed, kDisabled };

struct ButtonLook {
  bool toggle = false;    // a click flips the checked state
  bool checked = false;
  bool disabled = false;
  bool held = false;      // the left button is down on it (the standard button's pushed state)
  bool hovering = false;  // the pointer rests on it
};

ButtonPicture ChooseButtonPicture(const ButtonLook& look);

}  // namespace kavo::skin
