#pragma once
// Host functions that live outside the dispatcher: the media players and sideways scrolling of the
// window under the pointer.
namespace kavo::monitor {

enum class MediaCommand { PreviousTrack = 33, NextTrack = 34, PlayPause = 35, Stop = 36 };

class MediaPlayers {
 public:
  virtual ~MediaPlayers() = default;
  // mediaOption is the current profile's choice of player.
  virtual void StartOrBringForward(int mediaOption) = 0;
  virtual void Command(int mediaOption, MediaCommand command) = 0;
};

class HorizontalScroller {
 public:
  virtual ~HorizontalScroller() = default;
  // direction +1 right, -1 left; units per step from the current profile.
  virtual void Scroll(int direction, int units) = 0;
};

}  // namespace kavo::monitor
