#pragma once
// Button pictures are cut out of whole-window pictures: each state of a window (normal, hover, pressed,
// disabled) is one picture of the whole window, and a control shows the part under its rectangle.
#include <windows.h>

#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"

namespace kavo::skin::win32 {

// A new picture of the rectangle's size holding that part of source (window pixels). Nothing for a
// missing source, an empty rectangle or a failure; a rectangle reaching beyond the source is black there.
kavo::win32::UniqueBitmap CutPicture(HBITMAP source, const Rect& rect);

// The size of a picture; zero for none.
Extent PictureSize(HBITMAP picture);

// One WM_PAINT that copies size pixels of picture's top left into the window; only the paint without a
// picture.
void PaintPicture(HWND window, HBITMAP picture, Extent size);

}  // namespace kavo::skin::win32
