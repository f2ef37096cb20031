#include "skin/button_hover.h"

namespace kavo::skin {

HoverActions ButtonHover::MouseMove(const PointerSituation& now) {
  HoverActions actions;
  // A press that began elsewhere and is dragged over the button does not light it up.
  if (now.leftButtonDown && !hovering_) return actions;
  if (!now.holdsCapture && now.programActive && now.hasParent && now.overThisButton) {
    // Only a change is announced: after a capture loss the button takes the capture back quietly.
    if (!hovering_) {
      hovering_ = true;
      actions.entered = true;
      actions.redraw = true;
    }
    actions.takeCapture = true;
    return actions;
  }
  if (!now.overThisButton) return Leave(now);
  return actions;
}

HoverActions ButtonHover::PointerGone(const PointerSituation& now) {
  if (now.overThisButton) return {};
  return Leave(now);
}

HoverActions ButtonHover::CaptureLost() const {
  HoverActions actions;
  actions.redraw = hovering_;
  return actions;
}

HoverActions ButtonHover::FocusLost(const PointerSituation& now) {
  if (!hovering_) return {};
  // The capture only served the hover; a press in progress keeps it for the standard button.
  HoverActions actions;
  hovering_ = false;
  actions.left = true;
  actions.redraw = true;
  actions.releaseCapture = now.holdsCapture && !now.leftButtonDown;
  return actions;
}

HoverActions ButtonHover::Leave(const PointerSituation& now) {
  HoverActions actions;
  if (hovering_) {
    hovering_ = false;
    actions.left = true;
    actions.redraw = true;
  }
  // With the left button down the standard button still needs the capture to see the release.
  actions.releaseCapture = now.holdsCapture && !now.leftButtonDown;
  return actions;
}

}  // namespace kavo::skin
