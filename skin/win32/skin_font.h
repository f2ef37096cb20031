#pragma once
// The fonts of the skinned windows: one recipe for every typeface, height, width and weight they use.
#include <windows.h>

#include "platform/win32/win32_handles.h"

namespace kavo::skin::win32 {

// width 0 lets the system choose; where the typeface is not installed, the system substitutes one.
inline kavo::win32::UniqueFont SkinFont(int height, int width = 0, int weight = FW_NORMAL,
                                        const char* face = "Arial") {
  return kavo::win32::UniqueFont(::CreateFontA(height, width, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                               DEFAULT_PITCH | FF_DONTCARE, face));
}

}  // namespace kavo::skin::win32
