#pragma once
// The skin's pictures are stored as PNG files (8-bit RGB, not interlaced) and shown as 24-bit
// device-independent bitmaps. This decodes that kind of PNG (and 8-bit RGBA, whose alpha is dropped)
// into a bitmap's pixel layout. Everything in the file is checked: a picture that is damaged, too large
// or of another kind gives nothing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "skin/geometry.h"

namespace kavo::skin {

// Larger pictures are not a window's artwork; they are refused before anything is allocated.
constexpr int kMaxPictureSide = 16384;
constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 24;

// Pixels as a 24-bit bottom-up DIB wants them: rows from the bottom of the picture to the top, each
// pixel blue, green, red, each row padded with zeros to a multiple of four bytes.
struct DibPicture {
  int width = 0;
  int height = 0;
  std::size_t stride = 0;  // bytes per row, padding included
  std::vector<std::uint8_t> bits;

  // The colour at (x, y) counted from the picture's top-left corner, as a Windows colour value.
  Colour PixelAt(int x, int y) const;
};

std::optional<DibPicture> DecodePng(const std::uint8_t* data, std::size_t size);

// The CRC-32 that guards every PNG chunk (polynomial 0xEDB88320, as in zlib).
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size);

}  // namespace kavo::skin
