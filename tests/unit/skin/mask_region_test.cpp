#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "skin/mask_region.h"
#include "tests/unit/skin/test_printers.h"

namespace kavo::skin {
namespace {

// A mask drawn as text: '.' pure white, '#' black, 'n' nearly white (red 254), 'c' a colour. Rows are
// padded to four bytes like a bitmap's, and the padding is black so a scan that strays into it shows.
struct Mask {
  std::vector<std::uint8_t> bytes;
  MaskPixels pixels;

  Mask(const std::vector<std::string>& art, int bytesPerPixel) {
    const int width = art.empty() ? 0 : static_cast<int>(art[0].size());
    const std::size_t stride = (static_cast<std::size_t>(width) * bytesPerPixel + 3) / 4 * 4;
    bytes.assign(stride * art.size(), 0);
    for (std::size_t y = 0; y < art.size(); ++y) {
      for (int x = 0; x < width; ++x) {
        std::uint8_t* p = &bytes[y * stride + static_cast<std::size_t>(x) * bytesPerPixel];
        switch (art[y][x]) {
          case '.': p[0] = p[1] = p[2] = 255; break;
          case 'n': p[0] = p[1] = 255; p[2] = 254; break;
          case 'c': p[0] = 0xDE; p[1] = 0xA0; p[2] = 0x35; break;
          default: break;
        }
        // The unused fourth byte is never part of the colour.
        if (bytesPerPixel == 4) p[3] = 0x5A;
      }
    }
    pixels = {bytes.data(), bytes.size(), width, static_cast<int>(art.size()), bytesPerPixel, stride};
  }
};

struct Scan {
  bool ok = false;
  std::vector<std::vector<Rect>> batches;
  std::vector<Rect> All() const {
    std::vector<Rect> all;
    for (const auto& batch : batches) all.insert(all.end(), batch.begin(), batch.end());
    return all;
  }
};

Scan ScanMask(const MaskPixels& pixels) {
  Scan scan;
  scan.ok = RegionFromMask(pixels, [&scan](const std::vector<Rect>& batch) { scan.batches.push_back(batch); });
  return scan;
}

struct RunCase {
  const char* name;
  std::vector<std::string> art;
  std::vector<Rect> runs;
};
void PrintTo(const RunCase& c, std::ostream* out) { *out << c.name; }

class MaskRunsTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(MaskRunsTest, EveryRowGivesItsNonWhiteRuns) {
  for (const int bytesPerPixel : {3, 4}) {
    SCOPED_TRACE(::testing::Message() << bytesPerPixel << " bytes per pixel");
    const Mask mask(GetParam().art, bytesPerPixel);
    const Scan scan = ScanMask(mask.pixels);
    ASSERT_TRUE(scan.ok);
    EXPECT_EQ(scan.All(), GetParam().runs);
    EXPECT_LE(scan.batches.size(), 1u);  // no empty batches
  }
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskRunsTest,
    ::testing::Values(
        // Transparent corners: the window's shape has them cut away.
        RunCase{"WhiteCorners", {".##.", "####", ".##."}, {{1, 0, 3, 1}, {0, 1, 4, 2}, {1, 2, 3, 3}}},
        RunCase{"AllWhite", {"...", "..."}, {}},
        RunCase{"AllBlack", {"###", "###"}, {{0, 0, 3, 1}, {0, 1, 3, 2}}},
        RunCase{"RunsSplitByWhite", {"#.#.cc"}, {{0, 0, 1, 1}, {2, 0, 3, 1}, {4, 0, 6, 1}}},
        RunCase{"NearlyWhiteIsOpaque", {".n."}, {{1, 0, 2, 1}}},
        RunCase{"RunsAtBothEdges", {"#..#", "....", "c..."}, {{0, 0, 1, 1}, {3, 0, 4, 1}, {0, 2, 1, 3}}},
        RunCase{"OnePixel", {"#"}, {{0, 0, 1, 1}}}),
    [](const ::testing::TestParamInfo<RunCase>& row) { return std::string(row.param.name); });

struct BatchCase {
  const char* name;
  int rows;  // of 50 one-pixel runs each
  std::vector<std::size_t> sizes;
};
void PrintTo(const BatchCase& c, std::ostream* out) { *out << c.name; }

class MaskBatchTest : public ::testing::TestWithParam<BatchCase> {};

TEST_P(MaskBatchTest, HandsOverFullBatchesThenTheRest) {
  std::string stripes;
  for (int k = 0; k < 50; ++k) stripes += "#.";
  const Mask mask(std::vector<std::string>(static_cast<std::size_t>(GetParam().rows), stripes), 3);
  const Scan scan = ScanMask(mask.pixels);
  ASSERT_TRUE(scan.ok);
  std::vector<std::size_t> sizes;
  for (const auto& batch : scan.batches) sizes.push_back(batch.size());
  EXPECT_EQ(sizes, GetParam().sizes);

  // Nothing lost or repeated at a batch boundary: every run in order, row by row.
  const std::vector<Rect> all = scan.All();
  ASSERT_EQ(all.size(), static_cast<std::size_t>(GetParam().rows) * 50);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const int x = static_cast<int>(i % 50) * 2, y = static_cast<int>(i / 50);
    ASSERT_EQ(all[i], (Rect{x, y, x + 1, y + 1})) << "run " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Batches, MaskBatchTest,
    ::testing::Values(BatchCase{"BelowOneBatch", 39, {1950}}, BatchCase{"ExactlyOneBatch", 40, {2000}},
                      BatchCase{"OneBatchAndARest", 41, {2000, 50}},
                      BatchCase{"TwoBatchesAndARest", 81, {2000, 2000, 50}}),
    [](const ::testing::TestParamInfo<BatchCase>& row) { return std::string(row.param.name); });

struct BadPictureCase {
  const char* name;
  void (*spoil)(MaskPixels&);
};
void PrintTo(const BadPictureCase& c, std::ostream* out) { *out << c.name; }

class UnreadableMaskTest : public ::testing::TestWithParam<BadPictureCase> {};

// A picture that cannot be read gives no region at all (the window stays rectangular), not an empty one.
TEST_P(UnreadableMaskTest, GivesNoRegionAndReadsNothing) {
  Mask mask({"##.", "#.#"}, 3);
  ASSERT_TRUE(IsReadable(mask.pixels));
  GetParam().spoil(mask.pixels);
  EXPECT_FALSE(IsReadable(mask.pixels));
  const Scan scan = ScanMask(mask.pixels);
  EXPECT_FALSE(scan.ok);
  EXPECT_TRUE(scan.batches.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, UnreadableMaskTest,
    ::testing::Values(BadPictureCase{"NoPixels", [](MaskPixels& p) { p.data = nullptr; }},
                      BadPictureCase{"NoWidth", [](MaskPixels& p) { p.width = 0; }},
                      BadPictureCase{"NegativeHeight", [](MaskPixels& p) { p.height = -2; }},
                      BadPictureCase{"SixteenBitPixels", [](MaskPixels& p) { p.bytesPerPixel = 2; }},
                      BadPictureCase{"RowsOverlap", [](MaskPixels& p) { p.stride = 8; }},
                      BadPictureCase{"BufferOneByteShort", [](MaskPixels& p) { p.size = p.stride + 9 - 1; }},
                      BadPictureCase{"MoreRowsThanBuffer", [](MaskPixels& p) { p.height = 3; }},
                      BadPictureCase{"WiderThanAnyWindow", [](MaskPixels& p) {
                        p.width = kMaxMaskSide + 1;
                        p.stride = SIZE_MAX / 2;
                        p.size = SIZE_MAX;
                      }}),
    [](const ::testing::TestParamInfo<BadPictureCase>& row) { return std::string(row.param.name); });

TEST(MaskReadableTest, TheLastRowNeedsNoPadding) {
  // Bitmaps may end right after the last pixel: the last row is read without its padding.
  Mask mask({"##.", "#.#"}, 3);
  mask.pixels.size = mask.pixels.stride + 9;
  EXPECT_TRUE(IsReadable(mask.pixels));
  EXPECT_EQ(ScanMask(mask.pixels).All(), (std::vector<Rect>{{0, 0, 2, 1}, {0, 1, 1, 2}, {2, 1, 3, 2}}));
}

}  // namespace
}  // namespace kavo::skin
