#pragma once
// A skinned window's shape from its mask picture: every pixel that is not pure white belongs to the window.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"

namespace kavo::skin::win32 {

// The region of mask's non-white pixels in window coordinates. An all-white mask gives an empty region
// (the window vanishes); a missing mask or a failure gives none, and the window keeps its rectangle.
kavo::win32::UniqueRegion RegionFromMask(HBITMAP mask);
// The same for mask pixels already read: 32-bit 0x00RRGGBB, top row first, size.width per row.
kavo::win32::UniqueRegion RegionFromMaskPixels(const std::vector<std::uint32_t>& pixels, const Extent& size);

// A picture's pixels as 32-bit 0x00RRGGBB, top row first, whatever its depth and direction; empty when
// it cannot be read.
std::vector<std::uint32_t> ReadPicturePixels(HBITMAP picture, const Extent& size);

// Makes region (a copy of it) the window's shape, redrawn at once. False when the window refused it.
bool ApplyWindowRegion(HWND window, HRGN region);

}  // namespace kavo::skin::win32
