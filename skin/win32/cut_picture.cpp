#include "skin/win32/cut_picture.h"

namespace kavo::skin::win32 {

using kavo::win32::SelectedObject;
using kavo::win32::UniqueBitmap;
using kavo::win32::UniqueDC;

UniqueBitmap CutPicture(HBITMAP source, const Rect& rect) {
  if (source == nullptr || rect.Width() <= 0 || rect.Height() <= 0) return {};
  // A 32-bit section of its own: the cut does not depend on the display's depth and is black (zero)
  // wherever the rectangle leaves the source.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = rect.Width();
  info.bmiHeader.biHeight = -rect.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap cut(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!cut) return {};
  const UniqueDC from(::CreateCompatibleDC(nullptr));
  const UniqueDC to(::CreateCompatibleDC(nullptr));
  if (!from || !to) return {};
  const SelectedObject sourceSelected(from.get(), source);
  const SelectedObject cutSelected(to.get(), cut.get());
  // A picture selected into another device context cannot be selected here.
  if (::GetCurrentObject(from.get(), OBJ_BITMAP) != source) return {};
  if (!::BitBlt(to.get(), 0, 0, rect.Width(), rect.Height(), from.get(), rect.left, rect.top, SRCCOPY)) return {};
  return cut;
}

void PaintPicture(HWND window, HBITMAP picture, Extent size) {
  const kavo::win32::PaintScope paint(window);
  if (paint.dc() == nullptr || picture == nullptr) return;
  const UniqueDC source(::CreateCompatibleDC(paint.dc()));
  if (!source) return;
  const SelectedObject selected(source.get(), picture);
  ::BitBlt(paint.dc(), 0, 0, size.width, size.height, source.get(), 0, 0, SRCCOPY);
}

Extent PictureSize(HBITMAP picture) {
  BITMAP description{};
  if (picture == nullptr || ::GetObjectA(picture, sizeof description, &description) != sizeof description) return {};
  return {description.bmWidth, description.bmHeight < 0 ? -description.bmHeight : description.bmHeight};
}

}  // namespace kavo::skin::win32
