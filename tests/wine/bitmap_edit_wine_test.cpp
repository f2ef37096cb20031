// The skinned edit against the real API with real keys: the numeric filter on typing and on pasting, the
// change and Enter notifications, the focus-loss message, its colours and font, and the help line.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "skin/skin_messages.h"
#include "skin/win32/bitmap_edit.h"
#include "skin/win32/help_text.h"
#include "tests/wine/skin_control_host.h"

namespace kavo::wine_test::skin {
namespace {

using kavo::skin::kEditChangedEnter;
using kavo::skin::kWmEditChanged;
using kavo::skin::kWmHelpText;
using kavo::skin::Rect;
using kavo::skin::win32::BitmapEdit;
using kavo::skin::win32::CurrentHelpText;
using kavo::skin::win32::EnterHelpText;
using kavo::skin::win32::SetHelpLineWindow;

constexpr Rect kEditPlace{20, 20, 200, 40};

class BitmapEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.Open());
    edit_ = BitmapEdit::Create(host_.window(), kEditPlace, WS_VISIBLE | ES_AUTOHSCROLL, 4010);
    ASSERT_NE(edit_, nullptr);
    SetHelpLineWindow(host_.window());
    ::SetFocus(edit_->window());
    Pump(50);
    host_.Forget();
  }
  void TearDown() override {
    SetHelpLineWindow(nullptr);
    edit_.reset();
  }

  std::vector<WPARAM> Changes() const { return host_.WParams(kWmEditChanged); }
  // Waits for count change notifications, then a little longer for any beyond them.
  std::vector<WPARAM> ChangesAfter(std::size_t count) {
    PumpUntil([&] { return Changes().size() >= count; }, 2000);
    Pump(100);
    return Changes();
  }

  ControlHost host_{240, 120};
  std::unique_ptr<BitmapEdit> edit_;
};

struct TypingCase {
  const char* name;
  bool numeric;
  std::string shown;
  std::size_t changes;
};

TEST_F(BitmapEditTest, NumericModeTypesOnlyNumbers) {
  // Letters, a blank, digits, a point and a comma, as a user types them.
  const WORD keys[] = {'A', '7', VK_SPACE, '3', VK_OEM_PERIOD, 'B', '5', VK_OEM_COMMA};
  const TypingCase cases[] = {{"numeric", true, "73.5,", 5}, {"plain", false, "a7 3.b5,", 8}};
  for (const TypingCase& c : cases) {
    SCOPED_TRACE(c.name);
    ::SetWindowTextA(edit_->window(), "");
    Pump(50);
    host_.Forget();
    edit_->SetNumeric(c.numeric);
    for (const WORD key : keys) Type(key);
    EXPECT_EQ(edit_->Text(), c.shown);
    EXPECT_EQ(ChangesAfter(c.changes), std::vector<WPARAM>(c.changes, 0)) << "one notification per change";
  }
}

// Puts text on the clipboard as a user's copy would.
bool CopyToClipboard(HWND owner, const std::string& text) {
  if (!::OpenClipboard(owner)) return false;
  ::EmptyClipboard();
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  bool placed = false;
  if (memory != nullptr) {
    if (void* bytes = ::GlobalLock(memory)) {
      std::memcpy(bytes, text.c_str(), text.size() + 1);
      ::GlobalUnlock(memory);
      placed = ::SetClipboardData(CF_TEXT, memory) != nullptr;
    }
    if (!placed) ::GlobalFree(memory);  // the clipboard owns it only once it took it
  }
  ::CloseClipboard();
  return placed;
}

struct PasteCase {
  const char* name;
  bool numeric;
  std::string shown;
  std::size_t changes;
};

TEST_F(BitmapEditTest, PastedTextIsCutBackToItsNumericStart) {
  const PasteCase cases[] = {
      // The correction is a change of its own: announced once for it and once for the paste.
      {"numeric", true, "12", 2},
      {"plain", false, "12a3", 1},
  };
  for (const PasteCase& c : cases) {
    SCOPED_TRACE(c.name);
    ::SetWindowTextA(edit_->window(), "");
    Pump(50);
    host_.Forget();
    edit_->SetNumeric(c.numeric);
    ASSERT_TRUE(CopyToClipboard(host_.window(), "12a3"));
    // What the edit's context menu sends for Paste.
    ::SendMessageA(edit_->window(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit_->Text(), c.shown);
    EXPECT_EQ(ChangesAfter(c.changes), std::vector<WPARAM>(c.changes, 0));
  }
}

TEST_F(BitmapEditTest, EnterIsAnnouncedWhenReleased) {
  edit_->SetNumeric(true);  // Enter passes the numeric filter
  PressKey(VK_RETURN);
  Pump(150);
  EXPECT_TRUE(Changes().empty()) << "nothing on the press";
  ReleaseKey(VK_RETURN);
  EXPECT_EQ(ChangesAfter(1), std::vector<WPARAM>{kEditChangedEnter});
  EXPECT_EQ(edit_->Text(), "") << "Enter types nothing into a one-line edit";
}

TEST_F(BitmapEditTest, LosingTheFocusIsAnnouncedByTheRegisteredMessage) {
  const UINT killFocus = ::RegisterWindowMessageA("BitmapEdit_KillFocus");
  ASSERT_EQ(BitmapEdit::KillFocusMessage(), killFocus);
  ASSERT_EQ(::GetFocus(), edit_->window());
  Pump(50);
  EXPECT_TRUE(host_.Received(killFocus).empty());
  ::SetFocus(host_.window());
  ASSERT_TRUE(PumpUntil([&] { return !host_.Received(killFocus).empty(); }, 2000));
  const auto posted = host_.Received(killFocus);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, 0u);
  EXPECT_EQ(posted[0].lParam, 0);
}

TEST_F(BitmapEditTest, PaintsInItsOwnColoursAndFont) {
  const HWND window = edit_->window();
  // Read well right of any text, inside the frame.
  const auto background = [&] {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(50);
    return ScreenPixel(window, 150, 10);
  };
  EXPECT_EQ(background(), BitmapEdit::kBackgroundColour);
  edit_->SetColours(RGB(200, 0, 0), RGB(30, 160, 240));
  EXPECT_EQ(background(), RGB(30, 160, 240));

  // The text in the text colour: a wide glyph leaves some pixels in the pure colour.
  ::SetWindowTextA(window, "WWW");
  Pump(50);
  const Pixels text = ReadPixels(window, RECT{0, 0, 60, 18});
  EXPECT_GT(text.Count(RGB(200, 0, 0), 0, 60), 0u);

  // Its own font: Arial, 14 high and 6 wide.
  const auto font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
  ASSERT_EQ(font, edit_->font());
  LOGFONTA description{};
  ASSERT_EQ(::GetObjectA(font, sizeof description, &description), static_cast<int>(sizeof description));
  EXPECT_EQ(description.lfHeight, 14);
  EXPECT_EQ(description.lfWidth, 6);
  EXPECT_EQ(description.lfWeight, FW_NORMAL);
  EXPECT_STREQ(description.lfFaceName, "Arial");

  // Erasing draws nothing: whatever is under the edit stays until its paint covers it.
  const kavo::win32::UniqueDC canvas(::CreateCompatibleDC(nullptr));
  const UniqueBitmap picture = MakePicture(40, 20, [](int, int) { return RGB(1, 2, 3); });
  const kavo::win32::SelectedObject selected(canvas.get(), picture.get());
  EXPECT_NE(::SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.get()), 0), 0);
  EXPECT_EQ(::GetPixel(canvas.get(), 10, 10), RGB(1, 2, 3));
}

TEST_F(BitmapEditTest, TakesTheHelpLineWhenTheMouseComesOver) {
  edit_->SetHelpText("Type the polling rate");
  const auto helpPosts = [&] { return host_.WParams(kWmHelpText); };
  MovePointer(900, 900);
  Pump(50);
  host_.Forget();

  MovePointerTo(edit_->window(), 50, 10);
  ASSERT_TRUE(PumpUntil([&] { return !helpPosts().empty(); }, 2000));
  EXPECT_EQ(CurrentHelpText(), "Type the polling rate");
  MovePointerTo(edit_->window(), 60, 10);
  Pump(100);
  EXPECT_EQ(helpPosts(), std::vector<WPARAM>{1}) << "the line already shows the edit's text";

  MovePointer(900, 900);
  Pump(150);
  EXPECT_EQ(helpPosts(), std::vector<WPARAM>{1}) << "leaving the edit tells nobody";
  EXPECT_EQ(CurrentHelpText(), "Type the polling rate") << "the text stays after the mouse left";

  EnterHelpText("A button's help");  // a button took the line meanwhile
  Pump(50);
  host_.Forget();
  MovePointerTo(edit_->window(), 50, 10);
  ASSERT_TRUE(PumpUntil([&] { return !helpPosts().empty(); }, 2000));
  EXPECT_EQ(helpPosts(), std::vector<WPARAM>{1});
  EXPECT_EQ(CurrentHelpText(), "Type the polling rate");
}

}  // namespace
}  // namespace kavo::wine_test::skin
