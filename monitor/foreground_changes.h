#pragma once
// The system's notifications of a new foreground window, turned into looks at the game in front. The
// first notification of a burst starts a short settle timer and the look runs when it fires, so that the
// several changes of one switch (a window minimised, its successor activated, a game replacing its
// launcher) are decided once, on the window that ended up in front, and never start a profile switch for
// a window that was in front for a few milliseconds only.
namespace kavo::monitor {

class ForegroundChanges {
 public:
  // Notifications count only while the looks run at all (the mouse is present).
  void Watch(bool on);
  // A notification: true when the settle timer must be started (the first one since the last look).
  bool Changed();
  // The settle timer fired: true when a look is due (none ran since the notifications).
  bool Settled();
  // A look ran, whatever asked for it: every notification before it is decided.
  void Checked() { pending_ = false; }

 private:
  bool watching_ = false;
  bool pending_ = false;
};

}  // namespace kavo::monitor
