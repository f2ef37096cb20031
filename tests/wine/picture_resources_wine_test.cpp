// The skin's pictures as the programs get them: PNG resources rendered by the artwork generator, linked
// into this test program through the gallery's resource script, loaded as DIB sections by LoadPicture.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "artwork/gallery.h"
#include "artwork/icons.h"
#include "artwork/message_box_a.h"
#include "artwork/message_box_b.h"
#include "artwork/message_box_c.h"
#include "platform/win32/win32_handles.h"
#include "skin/layout.h"
#include "skin/png_picture.h"
#include "skin/win32/picture_resources.h"

namespace kavo::skin::win32 {
namespace {

using kavo::win32::SelectedObject;
using kavo::win32::UniqueBitmap;
using kavo::win32::UniqueDC;
using kavo::win32::UniqueIcon;

HINSTANCE Module() { return ::GetModuleHandleA(nullptr); }

// The raw bytes of an RCDATA resource of this program.
std::vector<std::uint8_t> ResourceBytes(int id) {
  HRSRC resource = ::FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));
  if (resource == nullptr) return {};
  const auto* data = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(Module(), resource)));
  return data != nullptr ? std::vector<std::uint8_t>(data, data + ::SizeofResource(Module(), resource))
                         : std::vector<std::uint8_t>();
}

BITMAP Describe(HBITMAP bitmap) {
  BITMAP description{};
  ::GetObjectA(bitmap, sizeof(description), &description);
  return description;
}

// Reads pixels of a bitmap through GDI, as painting sees them.
class PixelReader {
 public:
  explicit PixelReader(HBITMAP bitmap) : dc_(::CreateCompatibleDC(nullptr)), selected_(dc_.get(), bitmap) {}
  COLORREF At(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }

 private:
  UniqueDC dc_;
  SelectedObject selected_;
};

// ---- every picture of every window

struct WindowPictures {
  const char* window;
  int width, height;
  std::vector<int> ids;  // mask, background, normal, hover, pressed, disabled
};
void PrintTo(const WindowPictures& w, std::ostream* out) { *out << w.window; }

#define KAVO_WINDOW_PICTURES(name)                                                                             \
  WindowPictures {                                                                                             \
    #name, artwork::name::kWidth, artwork::name::kHeight, {                                                    \
      artwork::name::kMaskPicture, artwork::name::kBackgroundPicture, artwork::name::kNormalPicture,           \
          artwork::name::kHoverPicture, artwork::name::kPressedPicture, artwork::name::kDisabledPicture        \
    }                                                                                                          \
  }

class WindowPicturesTest : public ::testing::TestWithParam<WindowPictures> {};

TEST_P(WindowPicturesTest, EachLoadsAsA24BitBitmapOfTheWindowsSize) {
  for (const int id : GetParam().ids) {
    SCOPED_TRACE(::testing::Message() << "picture " << id);
    const UniqueBitmap picture = LoadPicture(Module(), id);
    ASSERT_TRUE(picture);
    const BITMAP description = Describe(picture.get());
    EXPECT_EQ(description.bmWidth, GetParam().width);
    EXPECT_EQ(description.bmHeight, GetParam().height);
    EXPECT_EQ(description.bmBitsPixel, 24);
  }
}

TEST_P(WindowPicturesTest, MaskIsWhiteInTheRoundedCornersAndBlackInside) {
  const int w = GetParam().width, h = GetParam().height;
  const UniqueBitmap mask = LoadPicture(Module(), GetParam().ids[0]);
  ASSERT_TRUE(mask);
  const PixelReader pixels(mask.get());
  for (const POINT corner : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}}) {
    EXPECT_EQ(pixels.At(corner.x, corner.y), RGB(255, 255, 255)) << corner.x << ", " << corner.y;
  }
  for (const POINT inside : {POINT{w / 2, h / 2}, POINT{w / 2, 0}, POINT{0, h / 2}, POINT{w - 1, h / 2}, POINT{w / 2, h - 1}}) {
    EXPECT_EQ(pixels.At(inside.x, inside.y), RGB(0, 0, 0)) << inside.x << ", " << inside.y;
  }
}

TEST_P(WindowPicturesTest, HoverAndPressedDifferFromNormal) {
  const std::vector<int>& ids = GetParam().ids;
  const std::vector<std::uint8_t> normal = ResourceBytes(ids[2]);
  ASSERT_FALSE(normal.empty());
  EXPECT_NE(ResourceBytes(ids[3]), normal);
  EXPECT_NE(ResourceBytes(ids[4]), normal);
  EXPECT_NE(ResourceBytes(ids[3]), ResourceBytes(ids[4]));
}

INSTANTIATE_TEST_SUITE_P(Artwork, WindowPicturesTest,
                         ::testing::Values(KAVO_WINDOW_PICTURES(gallery), KAVO_WINDOW_PICTURES(message_box_a),
                                           KAVO_WINDOW_PICTURES(message_box_b), KAVO_WINDOW_PICTURES(message_box_c)));

// ---- the pixels

TEST(PictureResourcesTest, PaintsExactlyTheDecodedPng) {
  for (const int id : {artwork::gallery::kNormalPicture, artwork::gallery::kHoverPicture, artwork::gallery::kThumbPicture}) {
    SCOPED_TRACE(::testing::Message() << "picture " << id);
    const std::vector<std::uint8_t> png = ResourceBytes(id);
    const std::optional<DibPicture> decoded = DecodePng(png.data(), png.size());
    ASSERT_TRUE(decoded.has_value());
    const UniqueBitmap picture = LoadPicture(Module(), id);
    ASSERT_TRUE(picture);

    DIBSECTION section{};
    ASSERT_EQ(::GetObjectA(picture.get(), sizeof(section), &section), static_cast<int>(sizeof(section)));
    ASSERT_GT(section.dsBmih.biHeight, 0) << "bottom-up rows";
    ASSERT_EQ(static_cast<std::size_t>(section.dsBm.bmWidthBytes), decoded->stride);
    EXPECT_EQ(std::memcmp(section.dsBm.bmBits, decoded->bits.data(), decoded->bits.size()), 0);

    // And through GDI, top row to bottom row: a picture shown upside down would fail here.
    const PixelReader pixels(picture.get());
    for (int y = 0; y < decoded->height; y += 7) {
      for (int x = 0; x < decoded->width; x += 13) {
        ASSERT_EQ(pixels.At(x, y), decoded->PixelAt(x, y)) << x << ", " << y;
      }
    }
  }
}

TEST(PictureResourcesTest, TheTitleStripIsLighterThanTheHelpLineUnderIt) {
  // Orientation against the artwork itself: the title strip at the top, the dark help strip near the bottom.
  const UniqueBitmap picture = LoadPicture(Module(), artwork::gallery::kNormalPicture);
  ASSERT_TRUE(picture);
  const PixelReader pixels(picture.get());
  const auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
  const auto help = ParseLayout(artwork::gallery::kHelpLine);
  ASSERT_TRUE(help.has_value());
  EXPECT_GT(brightness(pixels.At(300, 6)), brightness(pixels.At(300, (help->top + help->bottom) / 2)));
}

TEST(PictureResourcesTest, ThumbIsSurroundedByItsKeyColourAndRowPicturesByTheirs) {
  const UniqueBitmap thumb = LoadPicture(Module(), artwork::gallery::kThumbPicture);
  ASSERT_TRUE(thumb);
  EXPECT_EQ(Describe(thumb.get()).bmWidth, 20);
  EXPECT_EQ(Describe(thumb.get()).bmHeight, 20);
  const PixelReader thumbPixels(thumb.get());
  const COLORREF key = thumbPixels.At(0, 0);
  EXPECT_EQ(key, RGB(255, 0, 255));
  EXPECT_EQ(thumbPixels.At(19, 19), key);
  EXPECT_NE(thumbPixels.At(10, 10), key);

  for (const int id : {artwork::gallery::kKeyRowPicture, artwork::gallery::kClockRowPicture}) {
    const UniqueBitmap row = LoadPicture(Module(), id);
    ASSERT_TRUE(row) << id;
    EXPECT_EQ(Describe(row.get()).bmWidth, 17);
    EXPECT_EQ(Describe(row.get()).bmHeight, 16);
    const PixelReader rowPixels(row.get());
    EXPECT_EQ(rowPixels.At(0, 0), COLORREF{0x7B00DE}) << id;
    EXPECT_NE(rowPixels.At(8, 8), COLORREF{0x7B00DE}) << id;
  }
}

// ---- pictures that are not there

TEST(PictureResourcesTest, MissingOrDamagedPicturesGiveNoBitmap) {
  EXPECT_FALSE(LoadPicture(Module(), 899)) << "no such picture";
  EXPECT_FALSE(LoadPicture(Module(), 0));
  EXPECT_FALSE(LoadPicture(Module(), 0x10000 + artwork::gallery::kMaskPicture)) << "not a resource number";
  EXPECT_FALSE(LoadPicture(Module(), artwork::kSubmenuArrowIcon)) << "an icon, not a picture";

  std::vector<std::uint8_t> png = ResourceBytes(artwork::gallery::kMaskPicture);
  ASSERT_FALSE(png.empty());
  EXPECT_TRUE(PictureFromPng(png.data(), png.size()));
  EXPECT_FALSE(PictureFromPng(png.data(), png.size() - 1)) << "cut short";
  png[png.size() / 2] ^= 0x40;
  EXPECT_FALSE(PictureFromPng(png.data(), png.size())) << "a changed byte";
  EXPECT_FALSE(PictureFromPng(nullptr, 0));
}

// ---- generated headers against the toolkit's reading of layout strings

TEST(ArtworkHeadersTest, LayoutStringsParseToRectanglesInsideTheirWindow) {
  struct Layouts {
    const char* window;
    int width, height;
    std::vector<const char*> layouts;
  };
  namespace gallery = artwork::gallery;
  namespace box_a = artwork::message_box_a;
  namespace box_c = artwork::message_box_c;
  const std::vector<Layouts> windows = {
      {"gallery", gallery::kWidth, gallery::kHeight,
       {gallery::kPushOne, gallery::kPushTwo, gallery::kToggle, gallery::kToggleDisabled, gallery::kSlider,
        gallery::kSliderValue, gallery::kEdit, gallery::kList, gallery::kMenu, gallery::kShowA, gallery::kShowB,
        gallery::kShowC, gallery::kHelpLine, gallery::kButtonExit}},
      {"message box A", box_a::kWidth, box_a::kHeight, {box_a::kButtonOk, box_a::kButtonCancel, box_a::kButtonExit, box_a::kMessage}},
      {"message box C", box_c::kWidth, box_c::kHeight, {box_c::kButtonOk, box_c::kButtonCancel, box_c::kButtonExit, box_c::kMessage}},
  };
  for (const Layouts& window : windows) {
    for (const char* layout : window.layouts) {
      const std::optional<LayoutEntry> entry = ParseLayout(layout);
      ASSERT_TRUE(entry.has_value()) << window.window << ": " << layout;
      EXPECT_GE(entry->left, 0) << layout;
      EXPECT_GE(entry->top, 0) << layout;
      EXPECT_LE(entry->right, window.width) << layout;
      EXPECT_LE(entry->bottom, window.height) << layout;
    }
  }
  // The message area the message box draws into is the one its pictures keep plain.
  const std::optional<LayoutEntry> message = ParseLayout(box_a::kMessage);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->Bounds(), (Rect{20, 50, 220, 94}));
}

// ---- the icon and the cursor

TEST(ArtworkIconsTest, SubmenuArrowAndHandCursorLoad) {
  const UniqueIcon arrow(static_cast<HICON>(
      ::LoadImageA(Module(), MAKEINTRESOURCEA(artwork::kSubmenuArrowIcon), IMAGE_ICON, 0, 0, 0)));
  ASSERT_TRUE(arrow);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(arrow.get(), &info));
  const UniqueBitmap arrowMask(info.hbmMask), arrowColour(info.hbmColor);
  EXPECT_TRUE(info.fIcon);
  ASSERT_TRUE(arrowColour);
  EXPECT_EQ(Describe(arrowColour.get()).bmWidth, 32);
  // Menus draw it 19 pixels left of an item's right edge and 9 above its top: the arrow must lie in the
  // rows of an 18-pixel item (9 to 26) and in the 19 columns left of its edge.
  const HDC screen = ::GetDC(nullptr);
  const UniqueDC canvas(::CreateCompatibleDC(screen));
  const UniqueBitmap black(::CreateCompatibleBitmap(screen, 32, 32));
  ::ReleaseDC(nullptr, screen);
  const SelectedObject drawing(canvas.get(), black.get());
  RECT all{0, 0, 32, 32};
  ::FillRect(canvas.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::DrawIconEx(canvas.get(), 0, 0, arrow.get(), 0, 0, 0, nullptr, DI_NORMAL);
  int inside = 0, outside = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (::GetPixel(canvas.get(), x, y) == RGB(0, 0, 0)) continue;
      (y >= 9 && y < 27 && x < 19 ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 10);
  EXPECT_EQ(outside, 0);

  // Shared: the system keeps a loaded cursor as long as the program runs.
  HCURSOR hand = static_cast<HCURSOR>(
      ::LoadImageA(Module(), MAKEINTRESOURCEA(artwork::kHandCursor), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  ASSERT_NE(hand, nullptr);
  ICONINFO cursor{};
  ASSERT_TRUE(::GetIconInfo(hand, &cursor));
  const UniqueBitmap cursorMask(cursor.hbmMask), cursorColour(cursor.hbmColor);
  EXPECT_FALSE(cursor.fIcon);
  EXPECT_EQ(cursor.xHotspot, static_cast<DWORD>(artwork::kHandCursorHotspotX));
  EXPECT_EQ(cursor.yHotspot, static_cast<DWORD>(artwork::kHandCursorHotspotY));
}

}  // namespace
}  // namespace kavo::skin::win32
