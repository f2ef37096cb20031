#pragma once
// A skinned window's shape from its mask picture: every pixel that is not pure white belongs to the window.
#include <windows.h>

#include "settings/win32/win32_handles.h"

namespace kavo::skin::win32 {

// The region of mask's non-white pixels in window coordinates. An all-white mask gives an empty region
// (the window vanishes); a missing mask or a failure gives none, and the window keeps its rectangle.
kavo::win32::UniqueRegion RegionFromMask(HBITMAP mask);

// Makes region (a copy of it) the window's shape, redrawn at once. False when the window refused it.
bool ApplyWindowRegion(HWND window, HRGN region);

}  // namespace kavo::skin::win32
