#pragma once
// The skin's pictures: PNG data in the program's resources (RCDATA under the picture id), shown as 24-bit
// device-independent bitmaps.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "platform/win32/win32_handles.h"

namespace kavo::skin::win32 {

// The picture with this id from module's resources. A missing or undecodable picture gives an empty
// owner: whatever is cut from it is empty too, and a missing mask leaves its window rectangular.
kavo::win32::UniqueBitmap LoadPicture(HINSTANCE module, int id);

// A 24-bit bottom-up DIB section holding the picture in these PNG bytes; empty when they are not one.
kavo::win32::UniqueBitmap PictureFromPng(const std::uint8_t* data, std::size_t size);

}  // namespace kavo::skin::win32
