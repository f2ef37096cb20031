#include "skin/thumb_shape.h"

#include <cstddef>

namespace kavo::skin {

std::vector<std::uint32_t> ThumbShapeMask(const std::vector<std::uint32_t>& pixels, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  if (pixels.size() / static_cast<std::size_t>(width) != static_cast<std::size_t>(height) ||
      pixels.size() % static_cast<std::size_t>(width) != 0) {
    return {};
  }
  constexpr std::uint32_t kColour = 0xFFFFFF;
  const std::uint32_t key = pixels.front() & kColour;
  std::vector<std::uint32_t> mask;
  mask.reserve(pixels.size());
  for (const std::uint32_t pixel : pixels) mask.push_back((pixel & kColour) == key ? kMaskClear : kMaskSolid);
  return mask;
}

}  // namespace kavo::skin
