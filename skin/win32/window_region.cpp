#include "skin/win32/window_region.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "skin/mask_region.h"
#include "skin/win32/cut_picture.h"

namespace kavo::skin::win32 {

using kavo::win32::UniqueDC;
using kavo::win32::UniqueRegion;

namespace {

UniqueRegion RegionOfRects(const std::vector<Rect>& rects) {
  std::vector<std::uint8_t> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATAHEADER header{};
  header.dwSize = sizeof header;
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(rects.size());
  header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  RECT bounds{rects.front().left, rects.front().top, rects.front().right, rects.front().bottom};
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const RECT rect{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
    bounds.left = rect.left < bounds.left ? rect.left : bounds.left;
    bounds.top = rect.top < bounds.top ? rect.top : bounds.top;
    bounds.right = rect.right > bounds.right ? rect.right : bounds.right;
    bounds.bottom = rect.bottom > bounds.bottom ? rect.bottom : bounds.bottom;
    std::memcpy(buffer.data() + sizeof header + i * sizeof rect, &rect, sizeof rect);
  }
  header.rcBound = bounds;
  std::memcpy(buffer.data(), &header, sizeof header);
  return UniqueRegion(
      ::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), reinterpret_cast<const RGNDATA*>(buffer.data())));
}

}  // namespace

std::vector<std::uint32_t> ReadPicturePixels(HBITMAP picture, const Extent& size) {
  if (picture == nullptr || size.width <= 0 || size.height <= 0) return {};
  // The pixel count in a 32-bit size_t would wrap for a large picture, and GetDIBits would write past the
  // buffer made for the wrapped count.
  if (static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height) >
      static_cast<std::uint64_t>(std::numeric_limits<std::size_t>::max() / sizeof(std::uint32_t))) {
    return {};
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = -size.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
  const UniqueDC dc(::CreateCompatibleDC(nullptr));
  if (!dc || ::GetDIBits(dc.get(), picture, 0, static_cast<UINT>(size.height), pixels.data(), &info,
                         DIB_RGB_COLORS) != size.height) {
    return {};
  }
  return pixels;
}

UniqueRegion RegionFromMask(HBITMAP mask) {
  const Extent size = PictureSize(mask);
  if (size.width <= 0 || size.height <= 0 || size.width > kMaxMaskSide || size.height > kMaxMaskSide) return {};
  return RegionFromMaskPixels(ReadPicturePixels(mask, size), size);
}

UniqueRegion RegionFromMaskPixels(const std::vector<std::uint32_t>& pixels, const Extent& size) {
  if (size.width <= 0 || size.height <= 0 ||
      pixels.size() != static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height)) {
    return {};
  }
  UniqueRegion shape(::CreateRectRgn(0, 0, 0, 0));
  if (!shape) return {};
  bool failed = false;
  const MaskPixels picture{reinterpret_cast<const std::uint8_t*>(pixels.data()), pixels.size() * 4, size.width,
                           size.height, 4, static_cast<std::size_t>(size.width) * 4};
  const bool scanned = skin::RegionFromMask(picture, [&](const std::vector<Rect>& batch) {
    if (failed) return;
    const UniqueRegion piece = RegionOfRects(batch);
    failed = !piece || ::CombineRgn(shape.get(), shape.get(), piece.get(), RGN_OR) == ERROR;
  });
  if (!scanned || failed) return {};
  return shape;
}

bool ApplyWindowRegion(HWND window, HRGN region) {
  if (window == nullptr || region == nullptr) return false;
  UniqueRegion copy(::CreateRectRgn(0, 0, 0, 0));
  if (!copy || ::CombineRgn(copy.get(), region, nullptr, RGN_COPY) == ERROR) return false;
  if (!::SetWindowRgn(window, copy.get(), TRUE)) return false;
  // The window owns its region from now on.
  static_cast<void>(copy.release());
  return true;
}

}  // namespace kavo::skin::win32
