#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "skin/thumb_shape.h"

namespace kavo::skin {
namespace {

constexpr std::uint32_t C = kMaskClear, S = kMaskSolid;

struct ShapeCase {
  const char* name;
  std::vector<std::uint32_t> pixels;
  int width;
  int height;
  std::vector<std::uint32_t> mask;
};
void PrintTo(const ShapeCase& c, std::ostream* out) { *out << c.name; }

class ThumbShapeTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ThumbShapeTest, ClearsEveryPixelOfTheTopLeftColour) {
  const ShapeCase& c = GetParam();
  EXPECT_EQ(ThumbShapeMask(c.pixels, c.width, c.height), c.mask);
}

constexpr std::uint32_t kMagenta = 0xFF00FF, kGrey = 0x808080, kWhite = 0xFFFFFF;

INSTANTIATE_TEST_SUITE_P(
    Pictures, ThumbShapeTest,
    ::testing::Values(
        // A round thumb on magenta: the corners go, and so does the magenta hole in its middle row.
        ShapeCase{"CornersAndHole",
                  {kMagenta, kGrey, kMagenta,  //
                   kGrey, kMagenta, kGrey,     //
                   kMagenta, kGrey, kMagenta},
                  3, 3,
                  {C, S, C,  //
                   S, C, S,  //
                   C, S, C}},
        // White is solid unless it is the backdrop: the key is the corner's colour, not white.
        ShapeCase{"WhiteThumbOnGrey", {kGrey, kWhite, kWhite, kGrey}, 4, 1, {C, S, S, C}},
        // Only the colour counts, not the unused top byte a 32-bit read leaves there.
        ShapeCase{"TopByteIgnored", {0xFF808080, 0x00808080, 0x12808081}, 3, 1, {C, C, S}},
        ShapeCase{"OnePixel", {kGrey}, 1, 1, {C}},
        ShapeCase{"AllBackdrop", {kGrey, kGrey}, 1, 2, {C, C}},
        ShapeCase{"NoPixels", {}, 0, 0, {}},
        ShapeCase{"TooFewPixels", {kGrey, kGrey, kGrey}, 2, 2, {}},
        ShapeCase{"TooManyPixels", {kGrey, kGrey, kGrey, kGrey, kGrey}, 2, 2, {}},
        ShapeCase{"NegativeSize", {kGrey}, -1, -1, {}}),
    [](const ::testing::TestParamInfo<ShapeCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kavo::skin
