// The skinned message box run for real with the program's pictures: its size, the end code of each
// button in each look, and its message drawn white, centred and wrapped in its area.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "skin/win32/skin_message_box.h"
#include "tests/wine/skin_test_support.h"

namespace kavo::wine_test::skin {
namespace {

using kavo::skin::win32::kEndCancel;
using kavo::skin::win32::kEndOk;
using kavo::skin::win32::MessageBoxLook;
using kavo::skin::win32::SkinMessageBox;

// Runs the box modally on this thread while act(window) works it from another, as a user would.
INT_PTR RunWorkedBy(SkinMessageBox& box, const std::function<void(HWND)>& act) {
  std::thread user([&] {
    HWND window = nullptr;
    for (int i = 0; i < 300; ++i) {
      window = ::FindWindowA(MAKEINTATOM(32770), nullptr);  // the dialog class
      if (window != nullptr && ::IsWindowVisible(window)) break;
      ::Sleep(10);
    }
    ::Sleep(200);
    act(window);
  });
  const INT_PTR code = box.RunModal(nullptr);
  user.join();
  return code;
}

void ClickAt(HWND window, POINT point) {
  MovePointerTo(window, point.x, point.y);
  ::Sleep(150);
  PressLeft();
  ::Sleep(30);
  ReleaseLeft();
}

struct ButtonCase {
  const char* name;
  MessageBoxLook look;
  int height;
  POINT button;  // a point on the button
  INT_PTR code;
};

TEST(SkinMessageBoxTest, EveryLookEndsWithOkOrCancelByItsButtons) {
  const ButtonCase cases[] = {
      {"A_Ok", MessageBoxLook::kA, 245, {100, 212}, kEndOk},
      {"A_Cancel", MessageBoxLook::kA, 245, {186, 212}, kEndCancel},
      {"A_Exit", MessageBoxLook::kA, 245, {287, 14}, kEndCancel},
      {"B_Ok", MessageBoxLook::kB, 215, {100, 182}, kEndOk},
      {"B_Cancel", MessageBoxLook::kB, 215, {186, 182}, kEndCancel},
      {"B_Exit", MessageBoxLook::kB, 215, {287, 14}, kEndCancel},
      {"C_Ok", MessageBoxLook::kC, 215, {100, 182}, kEndOk},
      {"C_Cancel", MessageBoxLook::kC, 215, {186, 182}, kEndCancel},
      {"C_Exit", MessageBoxLook::kC, 215, {287, 14}, kEndCancel},
  };
  for (const ButtonCase& c : cases) {
    SCOPED_TRACE(c.name);
    SkinMessageBox box(::GetModuleHandleA(nullptr), c.look);
    box.SetText("Delete the macro?");
    box.PlaceAt({40, 40});
    RECT bounds{};
    const INT_PTR code = RunWorkedBy(box, [&](HWND window) {
      ::GetWindowRect(window, &bounds);
      ClickAt(window, c.button);
    });
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(bounds.right - bounds.left, 305);
    EXPECT_EQ(bounds.bottom - bounds.top, c.height);
    EXPECT_EQ(bounds.left, 40);
  }
}

// What the message adds to the picture: the pixels of the text area that differ from the box drawn
// without a message, with their bounds and brightest colour.
struct Ink {
  int left = 1000, right = -1, top = 1000, bottom = -1;
  COLORREF brightest = 0;
  int count = 0;
};

Ink InkBetween(HBITMAP plain, HBITMAP written, int width, int height) {
  Ink ink;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF colour = PixelOf(written, x, y);
      if (colour == PixelOf(plain, x, y)) continue;
      ++ink.count;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
      if (GetRValue(colour) + GetGValue(colour) + GetBValue(colour) >
          GetRValue(ink.brightest) + GetGValue(ink.brightest) + GetBValue(ink.brightest)) {
        ink.brightest = colour;
      }
    }
  }
  return ink;
}

TEST(SkinMessageBoxTest, DrawsItsMessageWhiteCentredAndWrappedInItsArea) {
  // The text area and a margin around it, to see that nothing is drawn outside.
  const RECT around{10, 40, 230, 104};
  const int width = around.right - around.left;
  const int height = around.bottom - around.top;
  const auto shot = [&](const std::string& text) {
    SkinMessageBox box(::GetModuleHandleA(nullptr), MessageBoxLook::kB);
    box.SetText(text);
    UniqueBitmap picture;
    RunWorkedBy(box, [&](HWND window) {
      picture = CaptureClient(window, around);
      ClickAt(window, {186, 182});
    });
    return picture;
  };
  const UniqueBitmap plain = shot("");
  const UniqueBitmap shortText = shot("Saved.");
  const UniqueBitmap longText = shot("The profile could not be saved because the folder is not there any more.");
  ASSERT_TRUE(plain && shortText && longText);

  const Ink one = InkBetween(plain.get(), shortText.get(), width, height);
  ASSERT_GT(one.count, 0);
  EXPECT_EQ(one.brightest, RGB(255, 255, 255));
  // In window pixels: within (20, 50)-(220, 94), centred across it, one line from its top.
  EXPECT_GE(one.left + around.left, 20);
  EXPECT_LE(one.right + around.left, 219);
  EXPECT_LE(std::abs((one.left + around.left - 20) - (219 - (one.right + around.left))), 3);
  EXPECT_GE(one.top + around.top, 50);
  EXPECT_LT(one.bottom - one.top, 16);

  const Ink wrapped = InkBetween(plain.get(), longText.get(), width, height);
  EXPECT_GE(wrapped.left + around.left, 20);
  EXPECT_LE(wrapped.right + around.left, 219);
  EXPECT_GT(wrapped.bottom - wrapped.top, 20) << "more than one line";
  EXPECT_LE(wrapped.bottom + around.top, 93) << "clipped to the area";
}

}  // namespace
}  // namespace kavo::wine_test::skin
