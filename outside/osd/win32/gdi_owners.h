#pragma once
// The owners of the GDI objects and device contexts the notice paints with: the shared ones.
#include <windows.h>

#include "platform/win32/win32_handles.h"

namespace kavo::osd::win32 {

using kavo::win32::PaintScope;
using kavo::win32::SelectedObject;
using kavo::win32::UniqueBrush;
using kavo::win32::UniqueFont;
using kavo::win32::WindowDC;

}  // namespace kavo::osd::win32
