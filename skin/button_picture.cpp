#include "skin/button_picture.h"

namespace kavo::skin {

ButtonPicture ChooseButtonPicture(const ButtonLook& look) {
  if (look.toggle) {
    if (look.disabled) return ButtonPicture::kDisabled;
    if (look.checked) return ButtonPicture::kPressed;
    return look.hovering ? ButtonPicture::kHover : ButtonPicture::kNormal;
  }
  // A checked push button keeps looking pressed when disabled: it marks a choice (the visible page's
  // tab, the active profile slot) that must stay visible while the window is busy.
  if (look.checked || look.held) return ButtonPicture::kPressed;
  if (look.hovering) return ButtonPicture::kHover;
  if (look.disabled) return ButtonPicture::kDisabled;
  return ButtonPicture::kNormal;
}

}  // namespace kavo::skin
