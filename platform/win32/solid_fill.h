#pragma once
// A rectangle filled with one colour, the brush made and deleted around it.
#include <windows.h>

#include "platform/win32/win32_handles.h"

namespace kavo::win32 {

inline void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const UniqueBrush brush(::CreateSolidBrush(colour));
  if (brush) ::FillRect(dc, &rect, brush.get());
}

}  // namespace kavo::win32
