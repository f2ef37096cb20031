#include "skin/inflate.h"

#include <array>

namespace kavo::skin {
namespace {

constexpr int kMaxCodeBits = 15;
constexpr int kLiteralLengthCodes = 288;  // 286 in use; the fixed code also names 286 and 287
constexpr int kDistanceCodes = 30;
constexpr int kEndOfBlock = 256;
// Codes up to this long are looked up in one step; longer ones are walked bit by bit.
constexpr int kFastBits = 9;
// No deflate stream expands by more than this: a length-distance pair of two bits gives 258 bytes.
constexpr std::size_t kMaxExpansion = 1032;

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10,  11,  13,  15,  17,  19,  23, 27,
                                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, kDistanceCodes> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, kDistanceCodes> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,
                                                                     6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block lists the lengths of its code-length code.
constexpr std::array<std::uint8_t, 19> kCodeLengthOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Bits are taken from the least significant end of each byte, as deflate packs them. Whole bytes are
// loaded only as needed, so at most the rest of one byte is ever held beyond what was asked for, except
// after a peek.
class BitReader {
 public:
  BitReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Bits(int count, std::uint32_t& value) {
    if (!Fill(count)) return false;
    value = static_cast<std::uint32_t>(buffer_ & ((1u << count) - 1));
    Drop(count);
    return true;
  }

  // Up to count bits without taking them; fewer only at the end of the input.
  int Peek(int count, std::uint32_t& value) {
    Fill(count);
    const int available = held_ < count ? held_ : count;
    value = static_cast<std::uint32_t>(buffer_ & ((1u << available) - 1));
    return available;
  }

  void Drop(int count) {
    buffer_ >>= count;
    held_ -= count;
  }

  // Skips to the next byte boundary and gives back whole bytes still held, for byte-wise reading.
  void AlignToByte() {
    position_ -= static_cast<std::size_t>(held_ / 8);
    buffer_ = 0;
    held_ = 0;
  }

  bool Bytes(std::size_t count, const std::uint8_t*& bytes) {
    if (size_ - position_ < count) return false;
    bytes = data_ + position_;
    position_ += count;
    return true;
  }

  bool AtEnd() const { return position_ == size_ && held_ == 0; }

 private:
  bool Fill(int count) {
    while (held_ < count) {
      if (position_ == size_) return false;
      buffer_ |= static_cast<std::uint64_t>(data_[position_++]) << held_;
      held_ += 8;
    }
    return true;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  std::uint64_t buffer_ = 0;
  int held_ = 0;
};

// A canonical Huffman code: how many codes each length has, the symbols ordered by code, and a table
// that resolves the short codes in one look-up (entry = length << 9 | symbol, 0 for a longer code).
struct HuffmanCode {
  std::array<std::uint16_t, kMaxCodeBits + 1> count{};
  std::array<std::uint16_t, kLiteralLengthCodes> symbol{};
  std::array<std::uint16_t, 1u << kFastBits> fast{};
};

std::uint32_t ReverseBits(std::uint32_t code, int length) {
  std::uint32_t reversed = 0;
  for (int i = 0; i < length; ++i) {
    reversed = (reversed << 1) | (code & 1u);
    code >>= 1;
  }
  return reversed;
}

// Builds the code from each symbol's code length (0 = unused). Returns how many codes are left unused
// out of a complete code: negative when the lengths ask for more codes than exist.
int BuildCode(HuffmanCode& code, const std::uint8_t* lengths, int symbols) {
  code = HuffmanCode{};
  for (int s = 0; s < symbols; ++s) ++code.count[lengths[s]];
  if (code.count[0] == symbols) return 0;  // no codes at all: complete, though nothing decodes
  int left = 1;
  for (int length = 1; length <= kMaxCodeBits; ++length) {
    left = (left << 1) - code.count[length];
    if (left < 0) return left;
  }
  std::array<std::uint16_t, kMaxCodeBits + 2> offset{};
  for (int length = 1; length <= kMaxCodeBits; ++length) offset[length + 1] = offset[length] + code.count[length];
  for (int s = 0; s < symbols; ++s) {
    if (lengths[s] != 0) code.symbol[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);
  }
  // Canonical codes in order: each length's codes follow the previous length's, doubled.
  std::uint32_t next = 0;
  int index = 0;
  for (int length = 1; length <= kFastBits; ++length) {
    for (int k = 0; k < code.count[length]; ++k, ++index, ++next) {
      const std::uint32_t reversed = ReverseBits(next, length);
      const auto entry = static_cast<std::uint16_t>((length << 9) | code.symbol[index]);
      for (std::uint32_t fill = reversed; fill < (1u << kFastBits); fill += 1u << length) code.fast[fill] = entry;
    }
    next <<= 1;
  }
  return left;
}

// Unused codes are allowed only in a code that is a single code of one bit.
bool Acceptable(const HuffmanCode& code, int left) {
  if (left <= 0) return left == 0;
  for (int length = 2; length <= kMaxCodeBits; ++length) {
    if (code.count[length] != 0) return false;
  }
  return true;
}

// The next symbol, or -1 for a code that is not in use or input that ends inside a code.
int Decode(BitReader& in, const HuffmanCode& code) {
  std::uint32_t peeked = 0;
  if (in.Peek(kFastBits, peeked) == kFastBits && code.fast[peeked] != 0) {
    in.Drop(code.fast[peeked] >> 9);
    return code.fast[peeked] & 0x1FF;
  }
  int first = 0, index = 0, value = 0;
  for (int length = 1; length <= kMaxCodeBits; ++length) {
    std::uint32_t bit = 0;
    if (!in.Bits(1, bit)) return -1;
    value |= static_cast<int>(bit);
    const int count = code.count[length];
    if (value - first < count) return code.symbol[index + (value - first)];
    index += count;
    first = (first + count) << 1;
    value <<= 1;
  }
  return -1;
}

class Inflater {
 public:
  Inflater(BitReader& in, std::size_t expectedSize) : in_(in), expected_(expectedSize) { out_.reserve(expectedSize); }

  bool Run() {
    for (;;) {
      std::uint32_t last = 0, type = 0;
      if (!in_.Bits(1, last) || !in_.Bits(2, type)) return false;
      bool ok = false;
      switch (type) {
        case 0: ok = Stored(); break;
        case 1: ok = Fixed(); break;
        case 2: ok = Dynamic(); break;
        default: return false;  // type 3 is reserved
      }
      if (!ok) return false;
      if (last != 0) return true;
    }
  }

  std::vector<std::uint8_t>& Output() { return out_; }

 private:
  std::size_t Room() const { return expected_ - out_.size(); }

  bool Stored() {
    in_.AlignToByte();
    const std::uint8_t* header = nullptr;
    if (!in_.Bytes(4, header)) return false;
    const std::size_t length = header[0] | (header[1] << 8);
    const std::size_t complement = header[2] | (header[3] << 8);
    if ((length ^ 0xFFFFu) != complement) return false;
    const std::uint8_t* bytes = nullptr;
    if (length > Room() || !in_.Bytes(length, bytes)) return false;
    out_.insert(out_.end(), bytes, bytes + length);
    return true;
  }

  bool Fixed() {
    static const auto codes = [] {
      std::array<std::uint8_t, kLiteralLengthCodes> lengths{};
      for (int s = 0; s < kLiteralLengthCodes; ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
      std::array<std::uint8_t, kDistanceCodes> distances{};
      distances.fill(5);
      std::array<HuffmanCode, 2> built{};
      BuildCode(built[0], lengths.data(), kLiteralLengthCodes);
      BuildCode(built[1], distances.data(), kDistanceCodes);  // incomplete: codes 30 and 31 are invalid
      return built;
    }();
    return Codes(codes[0], codes[1]);
  }

  bool Dynamic() {
    std::uint32_t literalCount = 0, distanceCount = 0, lengthCodeCount = 0;
    if (!in_.Bits(5, literalCount) || !in_.Bits(5, distanceCount) || !in_.Bits(4, lengthCodeCount)) return false;
    literalCount += 257;
    distanceCount += 1;
    lengthCodeCount += 4;
    if (literalCount > 286 || distanceCount > kDistanceCodes) return false;

    std::array<std::uint8_t, 19> lengthLengths{};
    for (std::uint32_t k = 0; k < lengthCodeCount; ++k) {
      std::uint32_t length = 0;
      if (!in_.Bits(3, length)) return false;
      lengthLengths[kCodeLengthOrder[k]] = static_cast<std::uint8_t>(length);
    }
    HuffmanCode lengthCode;
    if (BuildCode(lengthCode, lengthLengths.data(), 19) != 0) return false;  // must be complete

    std::array<std::uint8_t, 286 + kDistanceCodes> lengths{};
    const std::uint32_t total = literalCount + distanceCount;
    for (std::uint32_t index = 0; index < total;) {
      const int symbol = Decode(in_, lengthCode);
      if (symbol < 0) return false;
      if (symbol < 16) {
        lengths[index++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      std::uint8_t repeated = 0;
      std::uint32_t times = 0;
      if (symbol == 16) {
        if (index == 0) return false;  // nothing to repeat
        repeated = lengths[index - 1];
        if (!in_.Bits(2, times)) return false;
        times += 3;
      } else if (symbol == 17) {
        if (!in_.Bits(3, times)) return false;
        times += 3;
      } else {
        if (!in_.Bits(7, times)) return false;
        times += 11;
      }
      if (times > total - index) return false;
      while (times-- > 0) lengths[index++] = repeated;
    }
    if (lengths[kEndOfBlock] == 0) return false;  // a block that could never end

    HuffmanCode literals, distances;
    const int literalsLeft = BuildCode(literals, lengths.data(), static_cast<int>(literalCount));
    const int distancesLeft = BuildCode(distances, lengths.data() + literalCount, static_cast<int>(distanceCount));
    if (!Acceptable(literals, literalsLeft) || !Acceptable(distances, distancesLeft)) return false;
    return Codes(literals, distances);
  }

  bool Codes(const HuffmanCode& literals, const HuffmanCode& distances) {
    for (;;) {
      const int symbol = Decode(in_, literals);
      if (symbol < 0) return false;
      if (symbol < 256) {
        if (Room() == 0) return false;
        out_.push_back(static_cast<std::uint8_t>(symbol));
        continue;
      }
      if (symbol == kEndOfBlock) return true;
      const int lengthIndex = symbol - 257;
      if (lengthIndex >= static_cast<int>(kLengthBase.size())) return false;  // 286 and 287
      std::uint32_t extra = 0;
      if (!in_.Bits(kLengthExtra[lengthIndex], extra)) return false;
      const std::size_t length = kLengthBase[lengthIndex] + extra;

      const int distanceIndex = Decode(in_, distances);
      if (distanceIndex < 0 || distanceIndex >= kDistanceCodes) return false;
      if (!in_.Bits(kDistanceExtra[distanceIndex], extra)) return false;
      const std::size_t distance = kDistanceBase[distanceIndex] + extra;
      if (distance > out_.size() || length > Room()) return false;
      // Byte by byte: a copy may overlap what it is writing (a run).
      std::size_t from = out_.size() - distance;
      for (std::size_t k = 0; k < length; ++k) out_.push_back(out_[from++]);
    }
  }

  BitReader& in_;
  std::size_t expected_;
  std::vector<std::uint8_t> out_;
};

std::uint32_t Adler32(const std::vector<std::uint8_t>& bytes) {
  constexpr std::uint32_t kBase = 65521;
  constexpr std::size_t kRun = 5552;  // longest run before the sums could overflow 32 bits
  std::uint32_t a = 1, b = 0;
  for (std::size_t start = 0; start < bytes.size(); start += kRun) {
    const std::size_t end = bytes.size() - start < kRun ? bytes.size() : start + kRun;
    for (std::size_t i = start; i < end; ++i) {
      a += bytes[i];
      b += a;
    }
    a %= kBase;
    b %= kBase;
  }
  return (b << 16) | a;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> InflateZlib(const std::uint8_t* data, std::size_t size,
                                                     std::size_t expectedSize) {
  if (data == nullptr || size < 2 + 4) return std::nullopt;
  if (expectedSize / kMaxExpansion > size) return std::nullopt;  // more than any stream of this size gives
  const unsigned method = data[0] & 0x0Fu, windowBits = data[0] >> 4;
  if (method != 8 || windowBits > 7 || ((data[0] << 8) | data[1]) % 31 != 0) return std::nullopt;
  if ((data[1] & 0x20u) != 0) return std::nullopt;  // preset dictionary

  BitReader in(data + 2, size - 2);
  Inflater inflater(in, expectedSize);
  if (!inflater.Run()) return std::nullopt;
  std::vector<std::uint8_t>& out = inflater.Output();
  if (out.size() != expectedSize) return std::nullopt;

  in.AlignToByte();
  const std::uint8_t* check = nullptr;
  if (!in.Bytes(4, check) || !in.AtEnd()) return std::nullopt;
  const std::uint32_t stored = (std::uint32_t{check[0]} << 24) | (std::uint32_t{check[1]} << 16) |
                               (std::uint32_t{check[2]} << 8) | check[3];
  if (stored != Adler32(out)) return std::nullopt;
  return std::move(out);
}

}  // namespace kavo::skin
