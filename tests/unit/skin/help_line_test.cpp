// The help line's text: buttons set and clear it; edits and sliders take it over only when it changes.
#include "skin/help_line.h"

#include <gtest/gtest.h>

namespace kavo::skin {
namespace {

TEST(HelpLineTest, ButtonsSetAndClearItWhileEditsOnlyReplaceAnotherText) {
  HelpLine line;
  EXPECT_TRUE(line.Offer("edit")) << "an edit takes over an empty line";
  EXPECT_FALSE(line.Offer("edit")) << "moving within the edit tells nobody again";
  line.Enter("button");
  EXPECT_EQ(line.text(), "button");
  EXPECT_TRUE(line.Offer("edit")) << "back on the edit after a button";
  line.Leave();
  EXPECT_EQ(line.text(), "");
  EXPECT_FALSE(line.Offer("")) << "a control without help text leaves an empty line alone";
}

}  // namespace
}  // namespace kavo::skin
