// The picture a skinned button shows for each combination of mode, checked, disabled, held and hover.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "skin/button_picture.h"

namespace kavo::skin {

void PrintTo(ButtonPicture picture, std::ostream* out) {
  static const char* const kNames[] = {"normal", "hover", "pressed", "disabled"};
  *out << kNames[static_cast<int>(picture)];
}

namespace {

struct PictureCase {
  const char* name;
  ButtonLook look;
  ButtonPicture shown;
};
void PrintTo(const PictureCase& c, std::ostream* out) { *out << c.name; }

class ButtonPictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(ButtonPictureTest, ShowsThePictureOfItsState) {
  EXPECT_EQ(ChooseButtonPicture(GetParam().look), GetParam().shown);
}

// ButtonLook fields in order: toggle, checked, disabled, held, hovering.
INSTANTIATE_TEST_SUITE_P(
    Toggle, ButtonPictureTest,
    ::testing::Values(
        PictureCase{"Resting", {true, false, false, false, false}, ButtonPicture::kNormal},
        PictureCase{"Hovered", {true, false, false, false, true}, ButtonPicture::kHover},
        // Held down is not a look of its own for a toggle: the click's flip shows instead.
        PictureCase{"HeldShowsNoPress", {true, false, false, true, false}, ButtonPicture::kNormal},
        PictureCase{"CheckedHoveredStaysPressed", {true, true, false, false, true}, ButtonPicture::kPressed},
        PictureCase{"Checked", {true, true, false, false, false}, ButtonPicture::kPressed},
        PictureCase{"DisabledUnchecked", {true, false, true, false, false}, ButtonPicture::kDisabled},
        PictureCase{"DisabledChecked", {true, true, true, false, false}, ButtonPicture::kDisabled},
        PictureCase{"DisabledWhileHovered", {true, false, true, false, true}, ButtonPicture::kDisabled}),
    [](const ::testing::TestParamInfo<PictureCase>& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Push, ButtonPictureTest,
    ::testing::Values(
        PictureCase{"Resting", {false, false, false, false, false}, ButtonPicture::kNormal},
        PictureCase{"Hovered", {false, false, false, false, true}, ButtonPicture::kHover},
        PictureCase{"HeldWhileHovered", {false, false, false, true, true}, ButtonPicture::kPressed},
        PictureCase{"HeldAfterThePointerLeft", {false, false, false, true, false}, ButtonPicture::kPressed},
        PictureCase{"CheckedHovered", {false, true, false, false, true}, ButtonPicture::kPressed},
        PictureCase{"Disabled", {false, false, true, false, false}, ButtonPicture::kDisabled},
        PictureCase{"DisabledChecked", {false, true, true, false, false}, ButtonPicture::kPressed},
        // Disabled under a resting pointer (Apply while it runs): the hover outranks the disabled look.
        PictureCase{"DisabledWhileHovered", {false, false, true, false, true}, ButtonPicture::kHover}),
    [](const ::testing::TestParamInfo<PictureCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kavo::skin
