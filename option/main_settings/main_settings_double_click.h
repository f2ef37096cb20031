#pragma once
// The double-click test area: a picture until the first double click, then an animation played once per
// double click with its sound. A double click is two presses within the system's double-click time
// (as the slider just set it) and close together, measured on a wrapping millisecond clock.
#include <cstdint>
#include <string>

#include "option/main_settings/main_settings_ports.h"

namespace kavo::option {

struct DoubleClickTestView {
  bool showsPicture = true;   // painted until the animation control takes the area over
  bool animationOpen = false; // the animation file opened in the control
  bool playing = false;
};

class DoubleClickTest {
 public:
  // programFolder ends in a backslash. The double-click rectangle is centred on the first press.
  DoubleClickTest(std::string programFolder, DoubleClickMedia& media, DoubleClickTimer& timer, TickClock& clock,
                  int doubleClickWidth = 4, int doubleClickHeight = 4);

  const DoubleClickTestView& View() const { return view_; }
  std::string PicturePath() const { return folder_ + "wave\\double_click.bmp"; }
  std::string AnimationPath() const { return folder_ + "wave\\double_click.avi"; }
  std::string SoundPath() const { return folder_ + "wave\\double_click.wav"; }

  // A press of the left button inside the area; true when it completed a double click.
  bool OnButtonDown(int x, int y);
  // A double click, however detected. A single click does nothing.
  void OnDoubleClick();
  // The animation control reports that playing stopped; a stop while nothing plays (the rewind's own) is
  // ignored, so a rewind never rewinds again.
  void OnAnimationStopped();

 private:
  std::string folder_;
  DoubleClickMedia& media_;
  DoubleClickTimer& timer_;
  TickClock& clock_;
  int halfWidth_;
  int halfHeight_;
  bool created_ = false;
  bool pending_ = false;  // a first press waits for its second
  std::uint32_t firstTime_ = 0;
  int firstX_ = 0;
  int firstY_ = 0;
  DoubleClickTestView view_;
};

}  // namespace kavo::option
