#include "skin/win32/picture_resources.h"

#include <cstring>
#include <optional>

#include "skin/png_picture.h"

namespace kavo::skin::win32 {

using kavo::win32::UniqueBitmap;

UniqueBitmap PictureFromPng(const std::uint8_t* data, std::size_t size) {
  const std::optional<DibPicture> picture = DecodePng(data, size);
  if (!picture) return UniqueBitmap();

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture->width;
  info.bmiHeader.biHeight = picture->height;  // positive: bottom-up rows, as decoded
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return UniqueBitmap();
  // A 24-bit DIB section's rows are padded to four bytes, like the decoded rows.
  std::memcpy(bits, picture->bits.data(), picture->bits.size());
  return bitmap;
}

UniqueBitmap LoadPicture(HINSTANCE module, int id) {
  if (id <= 0 || id > 0xFFFF) return UniqueBitmap();  // not a resource number
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (resource == nullptr) return UniqueBitmap();
  const DWORD size = ::SizeofResource(module, resource);
  HGLOBAL loaded = ::LoadResource(module, resource);  // module memory: nothing to free
  const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (data == nullptr || size == 0) return UniqueBitmap();
  return PictureFromPng(static_cast<const std::uint8_t*>(data), size);
}

}  // namespace kavo::skin::win32
