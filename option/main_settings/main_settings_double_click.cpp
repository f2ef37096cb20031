#include "option/main_settings/main_settings_double_click.h"

#include <cstdlib>
#include <utility>

namespace kavo::option {

DoubleClickTest::DoubleClickTest(std::string programFolder, DoubleClickMedia& media, DoubleClickTimer& timer,
                                 TickClock& clock, int doubleClickWidth, int doubleClickHeight)
    : folder_(std::move(programFolder)),
      media_(media),
      timer_(timer),
      clock_(clock),
      halfWidth_(doubleClickWidth / 2),
      halfHeight_(doubleClickHeight / 2) {}

bool DoubleClickTest::OnButtonDown(int x, int y) {
  const std::uint32_t now = clock_.NowMilliseconds();
  const int limit = timer_.DoubleClickTime();
  // Unsigned difference: correct across the counter's wrap.
  const std::uint32_t elapsed = now - firstTime_;
  const bool close = std::llabs(static_cast<long long>(x) - firstX_) <= halfWidth_ &&
                     std::llabs(static_cast<long long>(y) - firstY_) <= halfHeight_;
  if (pending_ && limit > 0 && elapsed < static_cast<std::uint32_t>(limit) && close) {
    // The pair is used up: a third press starts a new pair.
    pending_ = false;
    OnDoubleClick();
    return true;
  }
  pending_ = true;
  firstTime_ = now;
  firstX_ = x;
  firstY_ = y;
  return false;
}

void DoubleClickTest::OnDoubleClick() {
  if (!created_) {
    // Only the first double click makes the control; a file that cannot be opened leaves the area empty.
    created_ = true;
    view_.showsPicture = false;
    view_.animationOpen = media_.OpenAnimation(AnimationPath());
  }
  if (view_.animationOpen) {
    media_.PlayAnimationOnce();
    view_.playing = true;
  }
  media_.PlaySound(SoundPath());
}

void DoubleClickTest::OnAnimationStopped() {
  // Only a stop of our play rewinds: the rewind may report a stop of its own.
  if (!view_.animationOpen || !view_.playing) return;
  media_.RewindAnimation();
  view_.playing = false;
}

}  // namespace kavo::option
