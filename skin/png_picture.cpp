#include "skin/png_picture.h"

#include <array>
#include <cstdlib>

#include "skin/inflate.h"

namespace kavo::skin {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFFu;
constexpr std::size_t kChunkOverhead = 12;  // length, type, CRC

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

std::uint32_t ReadBigEndian(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

bool IsType(const std::uint8_t* type, const char* name) {
  return type[0] == name[0] && type[1] == name[1] && type[2] == name[2] && type[3] == name[3];
}

bool IsLetter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

struct Header {
  int width = 0;
  int height = 0;
  int channels = 0;  // bytes per pixel: 3 for RGB, 4 for RGBA
};

std::optional<Header> ReadHeader(const std::uint8_t* data, std::uint32_t length) {
  if (length != 13) return std::nullopt;
  const std::uint32_t width = ReadBigEndian(data), height = ReadBigEndian(data + 4);
  if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) return std::nullopt;
  if (std::uint64_t{width} * height > kMaxPicturePixels) return std::nullopt;
  const std::uint8_t bitDepth = data[8], colourType = data[9];
  const std::uint8_t compression = data[10], filter = data[11], interlace = data[12];
  if (bitDepth != 8 || (colourType != 2 && colourType != 6)) return std::nullopt;
  if (compression != 0 || filter != 0 || interlace != 0) return std::nullopt;
  return Header{static_cast<int>(width), static_cast<int>(height), colourType == 2 ? 3 : 4};
}

int Paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up), toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return left;
  return toUp <= toUpLeft ? up : upLeft;
}

// Undoes each row's filter in place; every row starts with its filter type.
bool Unfilter(std::vector<std::uint8_t>& rows, const Header& header) {
  const std::size_t rowBytes = static_cast<std::size_t>(header.width) * header.channels;
  const std::size_t bpp = static_cast<std::size_t>(header.channels);
  const std::uint8_t* previous = nullptr;  // the row above, already unfiltered; none above the first
  for (int y = 0; y < header.height; ++y) {
    std::uint8_t* row = rows.data() + static_cast<std::size_t>(y) * (rowBytes + 1);
    const std::uint8_t filter = row[0];
    std::uint8_t* current = row + 1;
    for (std::size_t i = 0; i < rowBytes; ++i) {
      const int left = i >= bpp ? current[i - bpp] : 0;
      const int up = previous != nullptr ? previous[i] : 0;
      const int upLeft = previous != nullptr && i >= bpp ? previous[i - bpp] : 0;
      int predicted = 0;
      switch (filter) {
        case 0: predicted = 0; break;
        case 1: predicted = left; break;
        case 2: predicted = up; break;
        case 3: predicted = (left + up) / 2; break;
        case 4: predicted = Paeth(left, up, upLeft); break;
        default: return false;
      }
      current[i] = static_cast<std::uint8_t>(current[i] + predicted);
    }
    previous = current;
  }
  return true;
}

DibPicture ToDib(const std::vector<std::uint8_t>& rows, const Header& header) {
  DibPicture picture;
  picture.width = header.width;
  picture.height = header.height;
  picture.stride = (static_cast<std::size_t>(header.width) * 3 + 3) / 4 * 4;
  picture.bits.assign(picture.stride * static_cast<std::size_t>(header.height), 0);
  const std::size_t rowBytes = static_cast<std::size_t>(header.width) * header.channels;
  for (int y = 0; y < header.height; ++y) {
    const std::uint8_t* source = rows.data() + static_cast<std::size_t>(y) * (rowBytes + 1) + 1;
    std::uint8_t* target = picture.bits.data() + static_cast<std::size_t>(header.height - 1 - y) * picture.stride;
    for (int x = 0; x < header.width; ++x, source += header.channels, target += 3) {
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
    }
  }
  return picture;
}

}  // namespace

Colour DibPicture::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFFu;  // no colour, like CLR_INVALID
  const std::uint8_t* p = bits.data() + static_cast<std::size_t>(height - 1 - y) * stride + static_cast<std::size_t>(x) * 3;
  return Colour{p[2]} | (Colour{p[1]} << 8) | (Colour{p[0]} << 16);
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) c = kCrcTable[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::optional<DibPicture> DecodePng(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < kSignature.size()) return std::nullopt;
  for (std::size_t i = 0; i < kSignature.size(); ++i) {
    if (data[i] != kSignature[i]) return std::nullopt;
  }

  std::optional<Header> header;
  std::vector<std::uint8_t> compressed;
  enum class Idat { kNotYet, kReading, kDone } idat = Idat::kNotYet;
  std::size_t position = kSignature.size();
  for (;;) {
    if (size - position < kChunkOverhead) return std::nullopt;  // cut off before IEND
    const std::uint8_t* chunk = data + position;
    const std::uint32_t length = ReadBigEndian(chunk);
    if (length > kMaxChunkLength || length > size - position - kChunkOverhead) return std::nullopt;
    const std::uint8_t* type = chunk + 4;
    const std::uint8_t* body = chunk + 8;
    if (!IsLetter(type[0]) || !IsLetter(type[1]) || !IsLetter(type[2]) || !IsLetter(type[3])) return std::nullopt;
    if (Crc32(type, std::size_t{length} + 4) != ReadBigEndian(body + length)) return std::nullopt;
    position += kChunkOverhead + length;

    if (!header) {
      if (!IsType(type, "IHDR")) return std::nullopt;  // the header comes first
      header = ReadHeader(body, length);
      if (!header) return std::nullopt;
      continue;
    }
    if (IsType(type, "IDAT")) {
      if (idat == Idat::kDone) return std::nullopt;  // the picture's data is one run of chunks
      idat = Idat::kReading;
      compressed.insert(compressed.end(), body, body + length);
      continue;
    }
    if (idat == Idat::kReading) idat = Idat::kDone;
    if (IsType(type, "IEND")) {
      if (length != 0) return std::nullopt;
      break;
    }
    // A palette is only a suggestion for true-colour pictures; any other chunk that a reader must
    // understand (upper-case first letter), a second header among them, is one this reader does not.
    if ((type[0] & 0x20u) == 0 && !IsType(type, "PLTE")) return std::nullopt;
  }
  if (idat == Idat::kNotYet) return std::nullopt;

  const std::size_t rowBytes = static_cast<std::size_t>(header->width) * header->channels;
  std::optional<std::vector<std::uint8_t>> rows =
      InflateZlib(compressed.data(), compressed.size(), (rowBytes + 1) * static_cast<std::size_t>(header->height));
  if (!rows || !Unfilter(*rows, *header)) return std::nullopt;
  return ToDib(*rows, *header);
}

}  // namespace kavo::skin
