// PNG pictures and the zlib streams inside them. Fixtures written by other encoders (Python's zlib with
// chosen block types and filters, and Pillow as the artwork generator uses it; see
// data/png/make_png_fixtures.py) show one test pattern that is computed here again; hand-built streams
// and files cover the edges and every kind of damage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "skin/inflate.h"
#include "skin/png_picture.h"

namespace kavo::skin {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFixture(const std::string& name) {
  std::ifstream file(std::string(KAVO_TEST_DATA) + "/png/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The fixtures' test pattern, as red, green and blue.
Colour Pattern(int x, int y) {
  const Colour red = (x * 29 + y * 7) & 255, green = (x * 3 + y * 53 + 17) & 255, blue = (x * y * 5 + 101) & 255;
  return red | (green << 8) | (blue << 16);
}

// Few values per channel, so that the Paeth filter's ties come up often.
Colour Grain(int x, int y) {
  const Colour red = (x * 5 + y * 3 + (x * y) % 7) % 5 * 10, green = (x * 2 + y * 7 + (x + y) % 3) % 5 * 10 + 3;
  const Colour blue = (x * x + y * 4) % 5 * 10 + 7;
  return red | (green << 8) | (blue << 16);
}

std::uint32_t Adler32(const Bytes& bytes) {
  std::uint32_t a = 1, b = 0;
  for (const std::uint8_t byte : bytes) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutBigEndian(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// ---- deflate streams made by hand

// Writes bits from the least significant end of each byte, as deflate reads them. Huffman codes go most
// significant bit first.
class DeflateWriter {
 public:
  DeflateWriter& Bits(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1u);
    return *this;
  }
  DeflateWriter& Code(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1u);
    return *this;
  }
  DeflateWriter& BlockHeader(bool last, int type) { return Bits(last ? 1 : 0, 1).Bits(static_cast<std::uint32_t>(type), 2); }

  // Fixed-code symbols.
  DeflateWriter& Literal(int symbol) {
    if (symbol < 144) return Code(0x30u + symbol, 8);
    if (symbol < 256) return Code(0x190u + (symbol - 144), 9);
    if (symbol < 280) return Code(static_cast<std::uint32_t>(symbol - 256), 7);
    return Code(0xC0u + (symbol - 280), 8);
  }
  DeflateWriter& EndOfBlock() { return Literal(256); }
  // A copy: length symbol with its extra bits, distance code with its extra bits.
  DeflateWriter& Copy(int lengthSymbol, std::uint32_t lengthExtra, int lengthExtraBits, int distanceCode,
                      std::uint32_t distanceExtra, int distanceExtraBits) {
    Literal(lengthSymbol).Bits(lengthExtra, lengthExtraBits);
    return Code(static_cast<std::uint32_t>(distanceCode), 5).Bits(distanceExtra, distanceExtraBits);
  }

  DeflateWriter& Stored(bool last, const Bytes& content) {
    BlockHeader(last, 0);
    AlignToByte();
    const auto length = static_cast<std::uint16_t>(content.size());
    for (const std::uint16_t half : {length, static_cast<std::uint16_t>(~length)}) {
      bytes_.push_back(static_cast<std::uint8_t>(half & 0xFF));
      bytes_.push_back(static_cast<std::uint8_t>(half >> 8));
    }
    bytes_.insert(bytes_.end(), content.begin(), content.end());
    return *this;
  }

  void AlignToByte() { used_ = 8; }

  // The stream wrapped as zlib: header, deflate data, the Adler-32 of content.
  Bytes Zlib(const Bytes& content) const {
    Bytes out = {0x78, 0x01};
    out.insert(out.end(), bytes_.begin(), bytes_.end());
    PutBigEndian(out, Adler32(content));
    return out;
  }

 private:
  void Bit(std::uint32_t bit) {
    if (used_ == 8) {
      bytes_.push_back(0);
      used_ = 0;
    }
    bytes_.back() |= static_cast<std::uint8_t>(bit << used_++);
  }

  Bytes bytes_;
  int used_ = 8;
};

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A dynamic block's header. Its code-length code gives each of lengthSymbols two bits (canonical codes
// in symbol order); entries are code-length symbols with their extra bits.
struct LengthEntry {
  int symbol;
  std::uint32_t extra = 0;
};

DeflateWriter& DynamicHeader(DeflateWriter& out, int literalCount, int distanceCount, const std::vector<LengthEntry>& lengths,
                             std::vector<int> lengthSymbols = {1, 2, 16, 18}) {
  std::sort(lengthSymbols.begin(), lengthSymbols.end());
  out.BlockHeader(true, 2).Bits(static_cast<std::uint32_t>(literalCount - 257), 5);
  out.Bits(static_cast<std::uint32_t>(distanceCount - 1), 5).Bits(19 - 4, 4);
  for (const int symbol : {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15}) {
    out.Bits(std::count(lengthSymbols.begin(), lengthSymbols.end(), symbol) != 0 ? 2 : 0, 3);
  }
  for (const LengthEntry& entry : lengths) {
    const auto code = std::find(lengthSymbols.begin(), lengthSymbols.end(), entry.symbol) - lengthSymbols.begin();
    out.Code(static_cast<std::uint32_t>(code), 2);
    if (entry.symbol == 16) out.Bits(entry.extra, 2);
    if (entry.symbol == 17) out.Bits(entry.extra, 3);
    if (entry.symbol == 18) out.Bits(entry.extra, 7);
  }
  return out;
}

// Lengths of a literal code with 'A' (code 0) and end-of-block (code 1), one bit each, and one distance
// code of one bit: 65 zeros, 'A', 138 + 52 zeros, end of block, the distance.
std::vector<LengthEntry> LiteralAAndEnd() {
  return {{18, 65 - 11}, {1}, {18, 138 - 11}, {18, 52 - 11}, {1}, {1}};
}

struct InflateCase {
  const char* name;
  std::function<Bytes()> stream;
  std::size_t expectedSize;
  Bytes expected;  // empty when the stream must be refused
};
void PrintTo(const InflateCase& c, std::ostream* out) { *out << c.name; }

Bytes Repeated(const std::string& unit, std::size_t size) {
  Bytes out;
  while (out.size() < size) out.push_back(static_cast<std::uint8_t>(unit[out.size() % unit.size()]));
  return out;
}

Bytes Window() {
  Bytes window(32768);
  for (std::size_t i = 0; i < window.size(); ++i) window[i] = static_cast<std::uint8_t>(i * 7 % 251);
  return window;
}

// The window followed by a copy of its first four bytes.
Bytes WindowAndItsStart() {
  Bytes content = Window();
  const Bytes start(content.begin(), content.begin() + 4);
  content.insert(content.end(), start.begin(), start.end());
  return content;
}

std::vector<InflateCase> GoodStreams() {
  return {
      {"fixed block: literals, then a run copying over itself (length 258, distance 2)",
       [] { return DeflateWriter().BlockHeader(true, 1).Literal('a').Literal('b').Copy(285, 0, 0, 1, 0, 0).EndOfBlock().Zlib(Repeated("ab", 260)); },
       260, Repeated("ab", 260)},
      {"a copy from the farthest distance, 32768 bytes back",
       [] {
         const Bytes window = Window();
         DeflateWriter out;
         out.Stored(false, Bytes(window.begin(), window.begin() + 32768 / 2));
         out.Stored(false, Bytes(window.begin() + 32768 / 2, window.end()));
         // Length 4 is symbol 258; distance 32768 is code 29 with 13 extra bits of 8191.
         out.BlockHeader(true, 1).Copy(258, 0, 0, 29, 8191, 13).EndOfBlock();
         return out.Zlib(WindowAndItsStart());
       },
       32772, WindowAndItsStart()},
      {"stored blocks in a row, one of them empty",
       [] { return DeflateWriter().Stored(false, Text("stored ")).Stored(false, {}).Stored(true, Text("blocks")).Zlib(Text("stored blocks")); },
       13, Text("stored blocks")},
      {"dynamic block with a single one-bit distance code",
       [] {
         DeflateWriter out;
         DynamicHeader(out, 257, 1, LiteralAAndEnd());
         out.Code(0, 1).Code(0, 1).Code(1, 1);  // 'A', 'A', end of block
         return out.Zlib(Text("AA"));
       },
       2, Text("AA")},
  };
}

class InflateGoodTest : public ::testing::TestWithParam<InflateCase> {};

TEST_P(InflateGoodTest, GivesTheContent) {
  const Bytes stream = GetParam().stream();
  const std::optional<Bytes> out = InflateZlib(stream.data(), stream.size(), GetParam().expectedSize);
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(*out, GetParam().expected);
}

TEST_P(InflateGoodTest, RefusesAnotherSizeACutOffStreamOrTrailingBytes) {
  const Bytes stream = GetParam().stream();
  const std::size_t size = GetParam().expectedSize;
  EXPECT_FALSE(InflateZlib(stream.data(), stream.size(), size + 1)) << "less output than expected";
  if (size > 0) {
    EXPECT_FALSE(InflateZlib(stream.data(), stream.size(), size - 1)) << "more output than expected";
  }
  // Every cut of a short stream; of a long one, a sample and the last bytes.
  const std::size_t step = stream.size() > 1000 ? 61 : 1;
  for (std::size_t cut = 0; cut < stream.size(); cut += cut + 16 >= stream.size() ? 1 : step) {
    ASSERT_FALSE(InflateZlib(stream.data(), cut, size)) << "cut after " << cut << " bytes";
  }
  Bytes longer = stream;
  longer.push_back(0);
  EXPECT_FALSE(InflateZlib(longer.data(), longer.size(), size)) << "a byte after the check value";
}

INSTANTIATE_TEST_SUITE_P(Streams, InflateGoodTest, ::testing::ValuesIn(GoodStreams()));

Bytes WithHeader(std::uint8_t cmf, std::uint8_t flg) {
  Bytes stream = DeflateWriter().Stored(true, Text("x")).Zlib(Text("x"));
  stream[0] = cmf;
  stream[1] = flg;
  return stream;
}

std::vector<InflateCase> BadStreams() {
  const auto a = [] { return DeflateWriter().BlockHeader(true, 1).Literal('a'); };
  return {
      // Each header but the third has valid check bits: (CMF * 256 + FLG) % 31 == 0.
      {"compression method 7", [] { return WithHeader(0x77, 0x09); }, 1, {}},
      {"a window larger than 32 KiB", [] { return WithHeader(0x88, 0x1C); }, 1, {}},
      {"header check bits wrong", [] { return WithHeader(0x78, 0x02); }, 1, {}},
      {"preset dictionary", [] { return WithHeader(0x78, 0x20); }, 1, {}},
      {"reserved block type 3", [] { return DeflateWriter().BlockHeader(true, 3).Bits(0, 13).Zlib({}); }, 0, {}},
      {"stored length and its complement disagree",
       [] {
         Bytes s = DeflateWriter().Stored(true, Text("abc")).Zlib(Text("abc"));
         s[5] ^= 0x01;  // one byte of the complement
         return s;
       },
       3, {}},
      {"stored block longer than the data",
       [] {
         Bytes s = DeflateWriter().Stored(true, Text("abc")).Zlib(Text("abc"));
         s[3] = 200;  // length 200, complement fixed to match
         s[5] = static_cast<std::uint8_t>(~200);
         return s;
       },
       200, {}},
      {"a copy reaching before the start", [a] { return a().Copy(257, 0, 0, 1, 0, 0).EndOfBlock().Zlib(Text("aaaa")); }, 4, {}},
      {"distance code 30", [a] { return a().Copy(257, 0, 0, 30, 0, 0).EndOfBlock().Zlib(Text("aaaa")); }, 4, {}},
      {"length symbol 286", [a] { return a().Literal(286).Code(0, 5).EndOfBlock().Zlib(Text("aaaa")); }, 4, {}},
      {"check value wrong",
       [] {
         Bytes s = DeflateWriter().Stored(true, Text("abc")).Zlib(Text("abc"));
         s.back() ^= 0x10;
         return s;
       },
       3, {}},
      {"no final block", [] { return DeflateWriter().Stored(false, Text("abc")).Zlib(Text("abc")); }, 3, {}},
      {"more length codes than a block has room for (288 literal, 32 distance)",
       [] {
         DeflateWriter out;
         DynamicHeader(out, 288, 32, {{18, 138 - 11}, {18, 138 - 11}, {18, 44 - 11}});
         return out.Zlib({});
       },
       0, {}},
      {"incomplete code-length code",
       [] {
         DeflateWriter out;
         DynamicHeader(out, 257, 1, LiteralAAndEnd(), {1, 2, 18});  // three codes of two bits
         out.Code(0, 1).Code(0, 1).Code(1, 1);
         return out.Zlib(Text("AA"));
       },
       2, {}},
      {"repeat of a previous length with none before",
       [] {
         DeflateWriter out;
         std::vector<LengthEntry> lengths = LiteralAAndEnd();
         lengths.front() = {18, 62 - 11};
         lengths.insert(lengths.begin(), LengthEntry{16, 0});  // three repeats, then 62 zeros
         DynamicHeader(out, 257, 1, lengths);
         out.Code(0, 1).Code(0, 1).Code(1, 1);
         return out.Zlib(Text("AA"));
       },
       2, {}},
      {"zeros beyond the last length",
       [] {
         DeflateWriter out;
         std::vector<LengthEntry> lengths = LiteralAAndEnd();
         lengths.back() = {18, 0};  // eleven zeros where one length is left
         DynamicHeader(out, 257, 1, lengths);
         out.Code(1, 1);  // end of block
         return out.Zlib({});
       },
       0, {}},
      {"no end-of-block code",
       [] {
         DeflateWriter out;
         DynamicHeader(out, 257, 1, {{18, 65 - 11}, {1}, {1}, {18, 138 - 11}, {18, 52 - 11}, {1}});
         out.Code(0, 1).Code(0, 1);
         return out.Zlib(Text("AA"));
       },
       2, {}},
      {"more codes than lengths allow",
       [] {
         DeflateWriter out;
         DynamicHeader(out, 257, 1, {{18, 65 - 11}, {1}, {1}, {18, 138 - 11}, {18, 51 - 11}, {1}, {1}});
         out.Code(0, 1).Code(0, 1).Code(1, 1);
         return out.Zlib(Text("AA"));
       },
       2, {}},
      {"an incomplete literal code of more than one code",
       [] {
         DeflateWriter out;
         // 'A' two bits (code 10), end of block one bit (code 0); code 11 unused.
         DynamicHeader(out, 257, 1, {{18, 65 - 11}, {2}, {18, 138 - 11}, {18, 52 - 11}, {1}, {1}});
         out.Code(2, 2).Code(2, 2).Code(0, 1);
         return out.Zlib(Text("AA"));
       },
       2, {}},
  };
}

class InflateBadTest : public ::testing::TestWithParam<InflateCase> {};

TEST_P(InflateBadTest, IsRefused) {
  const Bytes stream = GetParam().stream();
  EXPECT_FALSE(InflateZlib(stream.data(), stream.size(), GetParam().expectedSize));
}

INSTANTIATE_TEST_SUITE_P(Streams, InflateBadTest, ::testing::ValuesIn(BadStreams()));

TEST(InflateTest, RefusesAnExpectedSizeNoStreamOfThisLengthCanReach) {
  const Bytes stream = DeflateWriter().BlockHeader(true, 1).Literal('a').Copy(285, 0, 0, 0, 0, 0).EndOfBlock().Zlib(Repeated("a", 259));
  ASSERT_TRUE(InflateZlib(stream.data(), stream.size(), 259));
  EXPECT_FALSE(InflateZlib(stream.data(), stream.size(), std::size_t{1} << 40)) << "nothing is allocated for it";
}

// ---- PNG files written by other encoders

struct FixtureCase {
  const char* file;
  int width, height;
  Colour (*pixel)(int x, int y) = Pattern;
};
void PrintTo(const FixtureCase& c, std::ostream* out) { *out << c.file; }

class PngFixtureTest : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(PngFixtureTest, DecodesToItsPattern) {
  const Bytes file = ReadFixture(GetParam().file);
  ASSERT_FALSE(file.empty()) << "fixture missing";
  const std::optional<DibPicture> picture = DecodePng(file.data(), file.size());
  ASSERT_TRUE(picture.has_value());
  ASSERT_EQ(picture->width, GetParam().width);
  ASSERT_EQ(picture->height, GetParam().height);
  for (int y = 0; y < picture->height; ++y) {
    for (int x = 0; x < picture->width; ++x) {
      ASSERT_EQ(picture->PixelAt(x, y), GetParam().pixel(x, y)) << "at " << x << ", " << y;
    }
  }
}

TEST_P(PngFixtureTest, RefusesTheFileCutShortAnywhere) {
  const Bytes file = ReadFixture(GetParam().file);
  for (std::size_t cut = 0; cut < file.size(); ++cut) {
    ASSERT_FALSE(DecodePng(file.data(), cut)) << "cut after " << cut << " bytes";
  }
}

TEST_P(PngFixtureTest, RefusesAnyChangedByte) {
  // Every byte after the signature is covered by a chunk's CRC, a length or the CRC itself.
  const Bytes file = ReadFixture(GetParam().file);
  for (std::size_t at = 8; at < file.size(); at += 3) {
    Bytes changed = file;
    changed[at] ^= 0x04;
    ASSERT_FALSE(DecodePng(changed.data(), changed.size())) << "byte " << at << " changed";
  }
}

INSTANTIATE_TEST_SUITE_P(Files, PngFixtureTest,
                         ::testing::Values(FixtureCase{"filters_rgb.png", 11, 5},     // fixed code, filters 0-4
                                           FixtureCase{"filters_rgba.png", 7, 5},     // the same with alpha
                                           FixtureCase{"stored_rgb.png", 11, 5},      // stored block
                                           FixtureCase{"dynamic_rgb.png", 48, 40},    // dynamic code
                                           FixtureCase{"fast_rgb.png", 48, 40},       // zlib level 1, Paeth only
                                           FixtureCase{"split_idat_rgb.png", 48, 40}, // 37-byte IDATs, chunks to skip
                                           FixtureCase{"paeth_ties_rgb.png", 16, 16, Grain},  // Paeth only
                                           FixtureCase{"pillow_rgb.png", 48, 40},     // as the generator writes
                                           FixtureCase{"pillow_rgba.png", 48, 40}));

TEST(Crc32Test, MatchesTheStandardCheckValue) {
  const Bytes digits = Text("123456789");
  EXPECT_EQ(Crc32(digits.data(), digits.size()), 0xCBF43926u);
}

// ---- PNG files made here

struct Chunk {
  std::string type;
  Bytes body;
};

Bytes Header(std::uint32_t width, std::uint32_t height, std::uint8_t colourType = 2) {
  Bytes body;
  PutBigEndian(body, width);
  PutBigEndian(body, height);
  body.insert(body.end(), {8, colourType, 0, 0, 0});
  return body;
}

// Rows of unfiltered RGB pixels, pixel value = the row-major index of the byte, in one stored block.
Bytes RawRows(int width, int height, std::uint8_t filter = 0) {
  Bytes rows;
  int k = 0;
  for (int y = 0; y < height; ++y) {
    rows.push_back(filter);
    for (int i = 0; i < width * 3; ++i) rows.push_back(static_cast<std::uint8_t>(++k));
  }
  return DeflateWriter().Stored(true, rows).Zlib(rows);
}

Bytes Png(const std::vector<Chunk>& chunks) {
  Bytes file = {137, 80, 78, 71, 13, 10, 26, 10};
  for (const Chunk& chunk : chunks) {
    PutBigEndian(file, static_cast<std::uint32_t>(chunk.body.size()));
    Bytes typed(chunk.type.begin(), chunk.type.end());
    typed.insert(typed.end(), chunk.body.begin(), chunk.body.end());
    file.insert(file.end(), typed.begin(), typed.end());
    PutBigEndian(file, Crc32(typed.data(), typed.size()));
  }
  return file;
}

Bytes SimplePng(int width, int height) {
  return Png({{"IHDR", Header(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height))},
              {"IDAT", RawRows(width, height)},
              {"IEND", {}}});
}

TEST(PngLayoutTest, RowsRunBottomUpPaddedWithZerosToFourBytes) {
  for (int width = 1; width <= 5; ++width) {
    SCOPED_TRACE(::testing::Message() << "width " << width);
    const int height = 3;
    const Bytes file = SimplePng(width, height);
    const std::optional<DibPicture> picture = DecodePng(file.data(), file.size());
    ASSERT_TRUE(picture.has_value());
    const std::size_t stride = picture->stride;
    EXPECT_EQ(stride % 4, 0u);
    EXPECT_GE(stride, static_cast<std::size_t>(width) * 3);
    EXPECT_LT(stride, static_cast<std::size_t>(width) * 3 + 4);
    ASSERT_EQ(picture->bits.size(), stride * height);
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* row = picture->bits.data() + (height - 1 - y) * stride;  // the top row comes last
      for (int x = 0; x < width; ++x) {
        const int red = y * width * 3 + x * 3 + 1;  // the value RawRows gave this pixel's red byte
        EXPECT_EQ(row[x * 3 + 2], red & 0xFF);
        EXPECT_EQ(row[x * 3 + 1], (red + 1) & 0xFF);
        EXPECT_EQ(row[x * 3 + 0], (red + 2) & 0xFF);
      }
      for (std::size_t pad = static_cast<std::size_t>(width) * 3; pad < stride; ++pad) EXPECT_EQ(row[pad], 0);
    }
  }
}

TEST(PngLayoutTest, PixelAtOutsideThePictureIsNoColour) {
  const Bytes file = SimplePng(2, 2);
  const std::optional<DibPicture> picture = DecodePng(file.data(), file.size());
  ASSERT_TRUE(picture.has_value());
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {2, 0}, {0, 2}}) {
    EXPECT_EQ(picture->PixelAt(x, y), 0xFFFFFFFFu) << x << ", " << y;
  }
}

TEST(PngLayoutTest, TakesTheLargestPictureAllowed) {
  // 16384 x 1024 pixels: the side and pixel limits exactly, a 48 MiB picture of one repeated row.
  const std::uint32_t width = kMaxPictureSide, height = static_cast<std::uint32_t>(kMaxPicturePixels / kMaxPictureSide);
  Bytes row(1 + width * 3, 0x5A);
  row[0] = 0;
  Bytes rows;
  for (std::uint32_t y = 0; y < height; ++y) rows.insert(rows.end(), row.begin(), row.end());
  DeflateWriter stream;
  for (std::size_t start = 0; start < rows.size(); start += 65535) {
    const std::size_t end = std::min(rows.size(), start + 65535);
    stream.Stored(end == rows.size(), Bytes(rows.begin() + static_cast<std::ptrdiff_t>(start), rows.begin() + static_cast<std::ptrdiff_t>(end)));
  }
  const Bytes file = Png({{"IHDR", Header(width, height)}, {"IDAT", stream.Zlib(rows)}, {"IEND", {}}});
  const std::optional<DibPicture> picture = DecodePng(file.data(), file.size());
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->PixelAt(kMaxPictureSide - 1, static_cast<int>(height) - 1), 0x5A5A5Au);
}

struct BadPngCase {
  const char* name;
  std::function<Bytes()> file;
};
void PrintTo(const BadPngCase& c, std::ostream* out) { *out << c.name; }

Bytes HeaderWith(std::size_t at, std::uint8_t value) {
  Bytes header = Header(4, 3);
  header[at] = value;
  return header;
}

Bytes HeaderSized(std::uint32_t width, std::uint32_t height) {
  return Png({{"IHDR", Header(width, height)}, {"IDAT", RawRows(4, 3)}, {"IEND", {}}});
}

std::vector<BadPngCase> BadPngs() {
  const auto idat = [] { return Chunk{"IDAT", RawRows(4, 3)}; };
  const auto ihdr = [] { return Chunk{"IHDR", Header(4, 3)}; };
  const Chunk iend{"IEND", {}};
  return {
      {"no PNG signature", [] { Bytes f = SimplePng(4, 3); f[1] = 'J'; return f; }},
      {"header's CRC wrong", [] { Bytes f = SimplePng(4, 3); f[8 + 8 + 13] ^= 1; return f; }},
      {"data's CRC wrong", [] { Bytes f = SimplePng(4, 3); f[8 + 25 + 8 + 10] ^= 1; return f; }},
      {"width 0", [] { return HeaderSized(0, 3); }},
      {"height 0", [] { return HeaderSized(4, 0); }},
      {"wider than the side limit", [] { return HeaderSized(kMaxPictureSide + 1, 1); }},
      {"more pixels than the limit", [] { return HeaderSized(kMaxPictureSide, kMaxPicturePixels / kMaxPictureSide + 1); }},
      {"width of 2^31 and more", [] { return HeaderSized(0x80000004u, 3); }},
      {"data for a wider picture", [] { return HeaderSized(3, 3); }},
      {"data for fewer rows", [] { return HeaderSized(4, 4); }},
      {"data for more rows", [] { return HeaderSized(4, 2); }},
      {"16 bits per channel", [ihdr, idat, iend] { return Png({{"IHDR", HeaderWith(8, 16)}, idat(), iend}); }},
      {"grey pixels", [idat, iend] { return Png({{"IHDR", HeaderWith(9, 0)}, idat(), iend}); }},
      {"palette pixels", [idat, iend] { return Png({{"IHDR", HeaderWith(9, 3)}, idat(), iend}); }},
      {"grey with alpha", [idat, iend] { return Png({{"IHDR", HeaderWith(9, 4)}, idat(), iend}); }},
      {"compression method 1", [idat, iend] { return Png({{"IHDR", HeaderWith(10, 1)}, idat(), iend}); }},
      {"filter method 1", [idat, iend] { return Png({{"IHDR", HeaderWith(11, 1)}, idat(), iend}); }},
      {"interlaced", [idat, iend] { return Png({{"IHDR", HeaderWith(12, 1)}, idat(), iend}); }},
      {"header of 14 bytes", [idat, iend] { Bytes h = Header(4, 3); h.push_back(0); return Png({{"IHDR", h}, idat(), iend}); }},
      {"row filter 5", [ihdr, iend] { return Png({ihdr(), {"IDAT", RawRows(4, 3, 5)}, iend}); }},
      {"data before the header", [ihdr, idat, iend] { return Png({idat(), ihdr(), iend}); }},
      {"a chunk before the header", [ihdr, idat, iend] { return Png({{"tEXt", Text("a\0b")}, ihdr(), idat(), iend}); }},
      {"no data", [ihdr, iend] { return Png({ihdr(), iend}); }},
      {"a second header", [ihdr, idat, iend] { return Png({ihdr(), ihdr(), idat(), iend}); }},
      {"data in two runs",
       [ihdr, iend] {
         const Bytes stream = RawRows(4, 3);
         const Bytes first(stream.begin(), stream.begin() + 10), second(stream.begin() + 10, stream.end());
         return Png({ihdr(), {"IDAT", first}, {"tEXt", Text("a")}, {"IDAT", second}, iend});
       }},
      {"an unknown critical chunk", [ihdr, idat, iend] { return Png({ihdr(), {"CRIT", Text("x")}, idat(), iend}); }},
      {"a chunk type that is not letters", [ihdr, idat, iend] { return Png({ihdr(), {"1ext", Text("x")}, idat(), iend}); }},
      {"an end chunk with data", [ihdr, idat] { return Png({ihdr(), idat(), {"IEND", Text("x")}}); }},
      {"no end chunk", [ihdr, idat] { return Png({ihdr(), idat()}); }},
      {"a chunk longer than the file",
       [] {
         Bytes f = SimplePng(4, 3);
         f[8 + 25 + 0] = 0x7F;  // the data chunk's length: 0x7F0000xx
         return f;
       }},
      {"a chunk length of 2^31 and more",
       [] {
         Bytes f = SimplePng(4, 3);
         f[8 + 25 + 0] = 0xFF;
         return f;
       }},
  };
}

class PngBadTest : public ::testing::TestWithParam<BadPngCase> {};

TEST_P(PngBadTest, IsRefused) {
  const Bytes file = GetParam().file();
  EXPECT_FALSE(DecodePng(file.data(), file.size()));
}

INSTANTIATE_TEST_SUITE_P(Files, PngBadTest, ::testing::ValuesIn(BadPngs()));

TEST(PngChunkTest, SkipsAncillaryChunksAndThePalette) {
  const Bytes rows = RawRows(4, 3);
  const Bytes file = Png({{"IHDR", Header(4, 3)},
                          {"PLTE", Bytes(9, 1)},
                          {"tEXt", Text("Comment")},
                          {"IDAT", rows},
                          {"zzZz", Text("private")},
                          {"IEND", {}}});
  const std::optional<DibPicture> picture = DecodePng(file.data(), file.size());
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->PixelAt(0, 0), 0x030201u);
}

TEST(PngChunkTest, ReadsNothingAfterTheEnd) {
  Bytes file = SimplePng(4, 3);
  file.insert(file.end(), {1, 2, 3});
  EXPECT_TRUE(DecodePng(file.data(), file.size()));
}

}  // namespace
}  // namespace kavo::skin
