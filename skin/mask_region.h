#pragma once
// The shape of a skinned window from its mask picture: every pixel that is not pure white belongs to the
// window. The picture is scanned row by row into one-pixel-high rectangles, handed over in batches so the
// caller can build the region piecewise without holding every rectangle at once.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "skin/geometry.h"

namespace kavo::skin {

// Rectangles per batch: each batch becomes one region united with the result so far.
constexpr std::size_t kRegionBatchSize = 2000;
// Larger pictures are not masks of a window on a desktop; they are refused rather than scanned.
constexpr int kMaxMaskSide = 16384;

// A picture's pixels as read out of a device-independent bitmap: rows from top to bottom, each pixel
// blue, green, red (plus one unused byte at 32 bits per pixel). Rows may be padded (stride).
struct MaskPixels {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;  // bytes readable at data
  int width = 0;
  int height = 0;
  int bytesPerPixel = 4;   // 3 or 4
  std::size_t stride = 0;  // bytes from the start of one row to the next
};

// True when the description is one the scan can read without leaving the buffer.
bool IsReadable(const MaskPixels& picture);

using RegionBatchSink = std::function<void(const std::vector<Rect>& batch)>;

// Scans the picture and passes its runs of non-white pixels to sink in batches of kRegionBatchSize (the
// last one shorter; no batch is empty). Returns false and passes nothing when the picture cannot be read:
// the window keeps its rectangle. True with no batch means a picture that is white all over: the region
// is empty.
bool RegionFromMask(const MaskPixels& picture, const RegionBatchSink& sink);

}  // namespace kavo::skin
