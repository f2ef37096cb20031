#pragma once
// Decompression of zlib streams (deflate data with its two-byte header and Adler-32 check), as PNG
// pictures carry them. The caller knows how many bytes must come out; anything else is an error.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kavo::skin {

// The bytes of one complete zlib stream of exactly expectedSize bytes: stored, fixed and dynamic Huffman
// blocks, back-references up to 32768 bytes. Nothing for a header that is not deflate with a 32 KiB or
// smaller window, a preset dictionary, an invalid block or code, a back-reference before the start, more
// or less output than expected, a wrong check value, or bytes after the stream.
std::optional<std::vector<std::uint8_t>> InflateZlib(const std::uint8_t* data, std::size_t size,
                                                     std::size_t expectedSize);

}  // namespace kavo::skin
