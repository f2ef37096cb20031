// A skinned button's hover: when it lights up, announces entering and leaving, and takes or lets go of
// the mouse capture, over sequences of pointer events.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "skin/button_hover.h"

namespace kavo::skin {

void PrintTo(const HoverActions& a, std::ostream* out) {
  *out << "{entered " << a.entered << ", left " << a.left << ", take " << a.takeCapture << ", release "
       << a.releaseCapture << ", redraw " << a.redraw << "}";
}

namespace {

enum class Event { kMove, kGone, kCaptureLost, kFocusLost };

struct Step {
  Event event;
  PointerSituation now;
  HoverActions expected;
};

struct HoverCase {
  const char* name;
  std::vector<Step> steps;
  bool hoveringAfter;
};
void PrintTo(const HoverCase& c, std::ostream* out) { *out << c.name; }

// PointerSituation fields: leftButtonDown, holdsCapture, programActive, hasParent, overThisButton.
constexpr PointerSituation kArrive{false, false, true, true, true};
constexpr PointerSituation kInsideCaptured{false, true, true, true, true};
constexpr PointerSituation kOutsideCaptured{false, true, true, true, false};
constexpr PointerSituation kOutsideFree{false, false, true, true, false};
constexpr PointerSituation kInsidePressingCaptured{true, true, true, true, true};
constexpr PointerSituation kOutsidePressingCaptured{true, true, true, true, false};

// HoverActions fields: entered, left, takeCapture, releaseCapture, redraw.
constexpr HoverActions kNothing{};
constexpr HoverActions kEnter{true, false, true, false, true};
constexpr HoverActions kLeaveAndRelease{false, true, false, true, true};
constexpr HoverActions kLeaveKeepingCapture{false, true, false, false, true};
constexpr HoverActions kRetakeQuietly{false, false, true, false, false};
constexpr HoverActions kRedrawOnly{false, false, false, false, true};

const Step kEnterStep{Event::kMove, kArrive, kEnter};

class ButtonHoverTest : public ::testing::TestWithParam<HoverCase> {};

TEST_P(ButtonHoverTest, EachEventGivesItsActions) {
  ButtonHover hover;
  int index = 0;
  for (const Step& step : GetParam().steps) {
    SCOPED_TRACE(::testing::Message() << "step " << index++);
    HoverActions actions;
    switch (step.event) {
      case Event::kMove: actions = hover.MouseMove(step.now); break;
      case Event::kGone: actions = hover.PointerGone(step.now); break;
      case Event::kCaptureLost: actions = hover.CaptureLost(); break;
      case Event::kFocusLost: actions = hover.FocusLost(step.now); break;
    }
    EXPECT_EQ(actions, step.expected);
  }
  EXPECT_EQ(hover.hovering(), GetParam().hoveringAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, ButtonHoverTest,
    ::testing::Values(
        HoverCase{"ArrivingEntersAndCaptures", {kEnterStep}, true},
        HoverCase{"MovingWithinIsQuiet", {kEnterStep, {Event::kMove, kInsideCaptured, kNothing}}, true},
        HoverCase{"LeavingOntoAnotherWindowLetsGo", {kEnterStep, {Event::kMove, kOutsideCaptured, kLeaveAndRelease}},
                  false},
        HoverCase{"ReenteringAnnouncesAgain",
                  {kEnterStep, {Event::kMove, kOutsideCaptured, kLeaveAndRelease}, kEnterStep},
                  true},
        // The standard button keeps the capture to see the release; coming back while pressing stays dark.
        HoverCase{"LeavingWhilePressingKeepsTheCapture",
                  {kEnterStep,
                   {Event::kMove, kOutsidePressingCaptured, kLeaveKeepingCapture},
                   {Event::kMove, kInsidePressingCaptured, kNothing}},
                  false},
        HoverCase{"PressFromElsewhereDoesNotLightItUp", {{Event::kMove, {true, false, true, true, true}, kNothing}},
                  false},
        HoverCase{"InactiveProgramDoesNotHover", {{Event::kMove, {false, false, false, true, true}, kNothing}}, false},
        HoverCase{"ButtonWithoutParentDoesNotHover", {{Event::kMove, {false, false, true, false, true}, kNothing}},
                  false},
        // After a push button's click the standard release took the capture away: no second "entered".
        HoverCase{"CaptureLossKeepsTheHoverAndTheNextMoveRetakesIt",
                  {kEnterStep, {Event::kCaptureLost, {}, kRedrawOnly}, {Event::kMove, kArrive, kRetakeQuietly}},
                  true},
        HoverCase{"CaptureLossWithoutHoverChangesNothing", {{Event::kCaptureLost, {}, kNothing}}, false},
        HoverCase{"MoveSeenAfterTheCaptureWentEndsTheHover",
                  {kEnterStep, {Event::kCaptureLost, {}, kRedrawOnly}, {Event::kMove, kOutsideFree, kLeaveKeepingCapture}},
                  false},
        HoverCase{"FocusLossEndsTheHover", {kEnterStep, {Event::kFocusLost, kInsideCaptured, kLeaveAndRelease}}, false},
        HoverCase{"FocusLossDuringAPressKeepsTheCapture",
                  {kEnterStep, {Event::kFocusLost, kInsidePressingCaptured, kLeaveKeepingCapture}},
                  false},
        HoverCase{"FocusLossWithoutHoverIsSilent", {{Event::kFocusLost, kInsideCaptured, kNothing}}, false},
        HoverCase{"PointerGoneEndsTheHover", {kEnterStep, {Event::kGone, kOutsideCaptured, kLeaveAndRelease}}, false},
        HoverCase{"PointerGoneWhileStillOverIsIgnored", {kEnterStep, {Event::kGone, kInsideCaptured, kNothing}}, true}),
    [](const ::testing::TestParamInfo<HoverCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kavo::skin
