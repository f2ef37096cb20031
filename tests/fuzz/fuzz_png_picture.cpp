// Any bytes as a skin picture. The first byte chooses what the rest is: a PNG file as it comes, a PNG
// file whose chunk CRCs are put right first (so that mutations reach the header, the chunk order and the
// compressed data instead of failing the CRC), or a zlib stream with the size it must inflate to.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "skin/inflate.h"
#include "skin/png_picture.h"
#include "tests/fuzz/fuzz_checks.h"

using kavo::fuzz::Check;

namespace {

std::uint32_t ReadBigEndian(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

void RepairCrcs(std::vector<std::uint8_t>& file) {
  std::size_t position = 8;
  while (file.size() >= position + 12) {
    const std::uint32_t length = ReadBigEndian(&file[position]);
    if (length > file.size() - position - 12) return;
    const std::uint32_t crc = kavo::skin::Crc32(&file[position + 4], std::size_t{length} + 4);
    for (int k = 0; k < 4; ++k) file[position + 8 + length + k] = static_cast<std::uint8_t>(crc >> (24 - 8 * k));
    position += 12 + std::size_t{length};
  }
}

void CheckPicture(const std::optional<kavo::skin::DibPicture>& picture) {
  if (!picture) return;
  Check(picture->width >= 1 && picture->width <= kavo::skin::kMaxPictureSide);
  Check(picture->height >= 1 && picture->height <= kavo::skin::kMaxPictureSide);
  Check(std::uint64_t(picture->width) * picture->height <= kavo::skin::kMaxPicturePixels);
  Check(picture->stride % 4 == 0 && picture->stride >= std::size_t(picture->width) * 3 &&
        picture->stride < std::size_t(picture->width) * 3 + 4);
  Check(picture->bits.size() == picture->stride * std::size_t(picture->height));
  Check(picture->PixelAt(picture->width - 1, 0) != 0xFFFFFFFFu);
  Check(picture->PixelAt(picture->width, 0) == 0xFFFFFFFFu);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t mode = data[0] % 3;
  std::vector<std::uint8_t> rest(data + 1, data + size);
  if (mode == 0) {
    CheckPicture(kavo::skin::DecodePng(rest.data(), rest.size()));
  } else if (mode == 1) {
    RepairCrcs(rest);
    CheckPicture(kavo::skin::DecodePng(rest.data(), rest.size()));
  } else if (rest.size() >= 3) {
    const std::size_t expected = (std::size_t{rest[0]} << 16) | (std::size_t{rest[1]} << 8) | rest[2];
    const std::optional<std::vector<std::uint8_t>> out = kavo::skin::InflateZlib(rest.data() + 3, rest.size() - 3, expected);
    Check(!out || out->size() == expected);
  }
  return 0;
}
