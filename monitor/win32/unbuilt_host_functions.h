#pragma once
// Media players and sideways scrolling get their Windows adapters with the game-profile switching;
// until then their events are received and do nothing, as with no player installed.
#include "monitor/host_functions.h"

namespace kavo::win32 {

class UnbuiltHostFunctions final : public MediaPlayers, public HorizontalScroller {
 public:
  void StartOrBringForward(int) override {}
  void Command(int, MediaCommand) override {}
  void Scroll(int, int) override {}
};

}  // namespace kavo::win32
