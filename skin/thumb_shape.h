#pragma once
// The shape of a slider thumb: its picture without every pixel of the colour of its top-left pixel, so a
// round thumb drawn on a flat backdrop shows only the round part.
#include <cstdint>
#include <vector>

namespace kavo::skin {

constexpr std::uint32_t kMaskClear = 0xFFFFFF;  // not part of the window
constexpr std::uint32_t kMaskSolid = 0x000000;

// pixels: width x height, rows from the top, 0x..RRGGBB (the top byte is ignored). Gives the mask the
// window shapes are made from: kMaskClear where the thumb is transparent, kMaskSolid elsewhere. Nothing
// when the sizes do not describe the pixels.
std::vector<std::uint32_t> ThumbShapeMask(const std::vector<std::uint32_t>& pixels, int width, int height);

}  // namespace kavo::skin
