#include "skin/mask_region.h"

namespace kavo::skin {
namespace {

bool IsWhite(const std::uint8_t* pixel) { return pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255; }

}  // namespace

bool IsReadable(const MaskPixels& picture) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  if (picture.width > kMaxMaskSide || picture.height > kMaxMaskSide) return false;
  if (picture.bytesPerPixel != 3 && picture.bytesPerPixel != 4) return false;
  if (picture.data == nullptr) return false;
  // Both sides are bounded, so none of these products overflows.
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * picture.bytesPerPixel;
  if (picture.stride < rowBytes) return false;
  const std::size_t rows = static_cast<std::size_t>(picture.height);
  if (picture.stride > (SIZE_MAX - rowBytes) / rows) return false;
  return picture.size >= picture.stride * (rows - 1) + rowBytes;
}

bool RegionFromMask(const MaskPixels& picture, const RegionBatchSink& sink) {
  if (!IsReadable(picture)) return false;
  std::vector<Rect> batch;
  batch.reserve(kRegionBatchSize);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* row = picture.data + picture.stride * static_cast<std::size_t>(y);
    int x = 0;
    while (x < picture.width) {
      while (x < picture.width && IsWhite(row + static_cast<std::size_t>(x) * picture.bytesPerPixel)) ++x;
      if (x == picture.width) break;
      const int start = x;
      while (x < picture.width && !IsWhite(row + static_cast<std::size_t>(x) * picture.bytesPerPixel)) ++x;
      batch.push_back({start, y, x, y + 1});
      if (batch.size() == kRegionBatchSize) {
        sink(batch);
        batch.clear();
      }
    }
  }
  if (!batch.empty()) sink(batch);
  return true;
}

}  // namespace kavo::skin
