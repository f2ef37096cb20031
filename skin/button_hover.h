#pragma once
// Whether the pointer rests on a skinned button, decided from what the button's window sees. A hovering
// button holds the mouse capture so that it hears the pointer leave even onto a touching neighbour: the
// neighbour can only take over once the first button has let go, so "left" always comes before the
// neighbour's "entered". Each event says what the window has to do.
namespace kavo::skin {

// What the window knows when a mouse event arrives.
struct PointerSituation {
  bool leftButtonDown = false;
  bool holdsCapture = false;      // this button has the mouse capture
  bool programActive = false;     // the program has an active window
  bool hasParent = false;
  bool overThisButton = false;    // the window under the pointer is this button
};

struct HoverActions {
  bool entered = false;         // announce "entered" (hover notification, help text)
  bool left = false;            // announce "left"
  bool takeCapture = false;     // capture the mouse (and watch for the pointer leaving)
  bool releaseCapture = false;  // let the capture go
  bool redraw = false;
  bool operator==(const HoverActions& other) const {
    return entered == other.entered && left == other.left && takeCapture == other.takeCapture &&
           releaseCapture == other.releaseCapture && redraw == other.redraw;
  }
};

class ButtonHover {
 public:
  // The pointer moved (a mouse-move message reached the button).
  HoverActions MouseMove(const PointerSituation& now);
  // The window system noticed the pointer is gone from the button, e.g. onto a window of another program
  // where the capture does not follow it.
  HoverActions PointerGone(const PointerSituation& now);
  // Another window took the capture. The hover stays (the pointer may still be on the button; the next
  // move takes the capture back or ends the hover), only the look is refreshed.
  HoverActions CaptureLost() const;
  HoverActions FocusLost(const PointerSituation& now);

  bool hovering() const { return hovering_; }

 private:
  HoverActions Leave(const PointerSituation& now);

  bool hovering_ = false;
};

}  // namespace kavo::skin
