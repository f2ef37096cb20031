#pragma once
// The look the macro manager's two lists share: its macro list and the list editor's key sequence.
#include "skin/geometry.h"
#include "skin/win32/skin_list_box.h"

namespace kavo::option::win32 {

inline void GiveMacroListLook(skin::win32::SkinListBox& list) {
  constexpr skin::Colour kBackground = 0x241F1D;
  constexpr skin::Colour kSelectedBackground = 0x9C5A1E;
  constexpr skin::Colour kText = 0xF0F0F0;
  list.SetColours(kBackground, kSelectedBackground);
  list.SetTextColours(kText, kText);
}

}  // namespace kavo::option::win32
