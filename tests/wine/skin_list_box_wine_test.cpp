// The skinned list against the real API, worked with the real pointer and keys: its rows' look with
// pictures and colours, in-place editing to its ends (Enter, Escape, a click back into the list), one edit
// in the whole program, the wheel, the arrow-keys-only filter and the context notification.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/list_row_style.h"
#include "skin/skin_messages.h"
#include "skin/win32/skin_list_box.h"
#include "tests/wine/skin_control_host.h"

namespace kavo::wine_test::skin {
namespace {

using kavo::skin::kListPictureTransparent;
using kavo::skin::kWmListContext;
using kavo::skin::kWmListNewRow;
using kavo::skin::kWmListRenamed;
using kavo::skin::Rect;
using kavo::skin::win32::SkinListBox;

constexpr Rect kListPlace{20, 20, 220, 160};  // seven rows of 20
constexpr int kPictureId = 300;
constexpr COLORREF kPictureColour = RGB(0, 255, 0);
constexpr COLORREF kBackground = RGB(16, 32, 64);
constexpr COLORREF kSelectedBackground = RGB(255, 160, 0);
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr COLORREF kSelectedText = RGB(0, 0, 0);

// The row picture: its left half in the transparent colour, its right half green.
UniqueBitmap RowPicture(int id) {
  if (id != kPictureId) return UniqueBitmap();
  return MakePicture(16, 16, [](int x, int) { return x < 8 ? kListPictureTransparent : kPictureColour; });
}

RECT RowRect(HWND list, int row) {
  RECT rect{};
  ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  return rect;
}

RECT PlaceInParent(HWND window) {
  RECT bounds{};
  ::GetWindowRect(window, &bounds);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

class SkinListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.Open());
    list_ = MakeList(kListPlace);
    ASSERT_NE(list_, nullptr);
    ASSERT_EQ(list_->AddRow(0, "Alpha"), 0);
    ASSERT_EQ(list_->AddRow(0x10000 | kPictureId, "Beta"), 1);
    ASSERT_EQ(list_->AddRow(1, "Gamma"), 2);
    list_->EnableRenameByDoubleClick(true);
    ::SetFocus(list_->window());
    MovePointer(900, 900);
    Pump(80);
    host_.Forget();
  }
  void TearDown() override {
    ReleaseLeft();
    list_.reset();
  }

  std::unique_ptr<SkinListBox> MakeList(const Rect& place) {
    auto list = SkinListBox::Create(host_.window(), place);
    if (list == nullptr) return list;
    list->SetPictureSource(RowPicture);
    list->SetColours(kBackground, kSelectedBackground);
    list->SetTextColours(kText, kSelectedText);
    return list;
  }

  // A real double click in the middle of a row.
  void DoubleClickRow(const SkinListBox& list, int row) {
    const RECT rect = RowRect(list.window(), row);
    MovePointerTo(list.window(), 120, (rect.top + rect.bottom) / 2);
    Pump(40);
    for (int click = 0; click < 2; ++click) {
      PressLeft();
      ReleaseLeft();
    }
    Pump(150);
  }
  void ClickRow(const SkinListBox& list, int row) {
    const RECT rect = RowRect(list.window(), row);
    MovePointerTo(list.window(), 120, (rect.top + rect.bottom) / 2);
    Pump(40);
    PressLeft();
    ReleaseLeft();
    Pump(150);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (int row = 0; row < list_->Count(); ++row) texts.push_back(list_->RowText(row));
    return texts;
  }
  // The list notifications posted to the owner, as (message, row).
  std::vector<std::pair<UINT, WPARAM>> Notifications() {
    Pump(150);
    std::vector<std::pair<UINT, WPARAM>> seen;
    for (const auto& one : host_.received) {
      if (one.message == kWmListNewRow || one.message == kWmListRenamed) seen.emplace_back(one.message, one.wParam);
    }
    return seen;
  }

  ControlHost host_{260, 200};
  std::unique_ptr<SkinListBox> list_;
};

TEST_F(SkinListBoxTest, DrawsRowsWithPicturesInItsColours) {
  const HWND list = list_->window();
  const auto font = reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0));
  LOGFONTA description{};
  ASSERT_EQ(::GetObjectA(font, sizeof description, &description), static_cast<int>(sizeof description));
  EXPECT_EQ(description.lfHeight, 14);
  EXPECT_EQ(description.lfWidth, 6);
  EXPECT_EQ(description.lfWeight, FW_LIGHT);
  EXPECT_STREQ(description.lfFaceName, "Arial");

  ::SendMessageA(list, LB_SETCURSEL, 2, 0);
  ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Pump(80);
  const Pixels shown = ReadPixels(list, RECT{0, 0, 190, 80});
  // Beta's picture at (2, top + 1): the transparent half shows the background, the other half is drawn.
  const int betaTop = RowRect(list, 1).top;
  EXPECT_EQ(shown.At(2 + 3, betaTop + 1 + 8), kBackground);
  EXPECT_EQ(shown.At(2 + 12, betaTop + 1 + 8), kPictureColour);
  EXPECT_EQ(shown.At(2 + 12, betaTop), kBackground) << "one pixel below the row's top";

  struct RowLook {
    const char* name;
    int row;
    COLORREF fill;
    COLORREF text;
    int textLeft;  // picture width 17 plus two margins of 2 where there is a picture column
  };
  const RowLook looks[] = {{"NoPicture", 0, kBackground, kText, 2},
                           {"Picture", 1, kBackground, kText, 21},
                           {"EmptyPictureColumnSelected", 2, kSelectedBackground, kSelectedText, 21}};
  for (const RowLook& look : looks) {
    SCOPED_TRACE(look.name);
    const RECT row = RowRect(list, look.row);
    const Pixels rowPixels = ReadPixels(list, RECT{0, row.top, 190, row.bottom});
    EXPECT_EQ(rowPixels.At(180, row.top + 10), look.fill);
    const int pictureEnd = look.row == 1 ? 2 + 16 : 0;
    // Between picture and text nothing but the fill; the text starts where it should, in its colour.
    EXPECT_EQ(rowPixels.CountOther(look.fill, pictureEnd, look.textLeft), 0u);
    EXPECT_GT(rowPixels.CountOther(look.fill, look.textLeft, look.textLeft + 4), 0u);
    EXPECT_GT(rowPixels.Count(look.text, look.textLeft, 120), 0u);
  }
  // Below the last row the list shows its background: its colour request is answered with the brush.
  EXPECT_EQ(shown.At(100, 70), kBackground);
}

TEST_F(SkinListBoxTest, RowsAreTwentyHighInEitherOwnerDrawnStyle) {
  struct StyleCase {
    const char* name;
    DWORD style;
    int clientHeight;  // of a list made 144 high
  };
  const StyleCase cases[] = {
      // Rows of their own height, each measured as it is added; the list keeps the height it was given.
      {"Variable", SkinListBox::kDefaultStyle, 144},
      // Fixed rows: the list fits whole rows into its height, and must do so for rows of 20 (144 is whole
      // rows of the 16 the list starts with).
      {"Fixed", (SkinListBox::kDefaultStyle & ~LBS_OWNERDRAWVARIABLE) | LBS_OWNERDRAWFIXED, 140},
  };
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto list = SkinListBox::Create(host_.window(), Rect{20, 20, 220, 164}, c.style);
    ASSERT_NE(list, nullptr);
    list->AddRow(0, "One");
    list->InsertRow(0, 0, "Two");
    list->AddRow(0, "Three");
    for (int row = 0; row < 3; ++row) EXPECT_EQ(RowRect(list->window(), row).bottom - RowRect(list->window(), row).top, 20);
    RECT client{};
    ::GetClientRect(list->window(), &client);
    EXPECT_EQ(client.bottom, c.clientHeight);
  }
}

enum class Start { kDoubleClick, kNewRow, kDigits };
enum class End { kEnter, kEscape, kClickList };

struct EditCase {
  const char* name;
  Start start;
  const char* typed;  // replaces the edit's text; null: left as it opened
  End end;
  std::vector<std::string> rows;
  std::vector<std::pair<UINT, WPARAM>> notified;
  int selected;
};

TEST_F(SkinListBoxTest, EditsARowInPlaceUntilEnterEscapeOrAClickBack) {
  const EditCase cases[] = {
      {"RenameToBlanksKeepsTheRow", Start::kDoubleClick, "   ", End::kEnter, {"Alpha", "Beta", "Gamma"}, {}, 1},
      // Typed without Shift: lower case.
      {"Rename", Start::kDoubleClick, " delta ", End::kEnter, {"Alpha", "delta", "Gamma"}, {{kWmListRenamed, 1}}, 1},
      {"RenameCancelled", Start::kDoubleClick, "delta", End::kEscape, {"Alpha", "Beta", "Gamma"}, {}, 1},
      // The click back selects the row it lands on, after the confirmation.
      {"RenameByClickingBack", Start::kDoubleClick, "delta", End::kClickList, {"Alpha", "delta", "Gamma"},
       {{kWmListRenamed, 1}}, 0},
      {"NewRow", Start::kNewRow, "epsilon", End::kEnter, {"Alpha", "Beta", "Gamma", "epsilon"}, {{kWmListNewRow, 3}}, 3},
      {"NewRowEscaped", Start::kNewRow, "epsilon", End::kEscape, {"Alpha", "Beta", "Gamma"}, {}, -1},
      {"NewRowLeftEmpty", Start::kNewRow, nullptr, End::kEnter, {"Alpha", "Beta", "Gamma"}, {}, -1},
      // The digits-only box refuses the letter as it is typed.
      {"DigitsRename", Start::kDigits, "42x7", End::kEnter, {"Alpha", "427", "Gamma"}, {{kWmListRenamed, 1}}, 1},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.name);
    while (list_->Count() > 0) ::SendMessageA(list_->window(), LB_DELETESTRING, 0, 0);
    list_->AddRow(0, "Alpha");
    list_->AddRow(0x10000 | kPictureId, "Beta");
    list_->AddRow(1, "Gamma");
    ::SendMessageA(list_->window(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SetFocus(list_->window());
    Pump(50);
    host_.Forget();

    int row = 1;
    std::string opened = "Beta";
    int indent = 0;
    switch (c.start) {
      case Start::kDoubleClick:
        DoubleClickRow(*list_, 1);
        break;
      case Start::kNewRow:
        ASSERT_TRUE(list_->StartNewRow());
        row = 3;
        opened = "";
        break;
      case Start::kDigits:
        ::SendMessageA(list_->window(), LB_SETCURSEL, 1, 0);
        ASSERT_TRUE(list_->RenameSelectedDigits());
        indent = 17 + 5;  // after the picture column
        break;
    }
    const HWND edit = list_->editBox();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(list_->Editing());
    // Laid exactly over the row, the row's text all selected, the list's font, the focus.
    RECT expected = RowRect(list_->window(), row);
    expected.left += indent;
    const RECT placed = PlaceInParent(edit);
    EXPECT_EQ(placed.left, expected.left);
    EXPECT_EQ(placed.top, expected.top);
    EXPECT_EQ(placed.right, expected.right);
    EXPECT_EQ(placed.bottom, expected.bottom);
    char text[64] = {};
    ::GetWindowTextA(edit, text, sizeof text);
    EXPECT_EQ(std::string(text), opened);
    DWORD selectionStart = 99, selectionEnd = 99;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), reinterpret_cast<LPARAM>(&selectionEnd));
    EXPECT_EQ(selectionStart, 0u);
    EXPECT_EQ(selectionEnd, opened.size());
    EXPECT_EQ(::SendMessageA(edit, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(list_->font()));
    EXPECT_EQ(::GetFocus(), edit);

    if (c.typed != nullptr) {
      ::SetWindowTextA(edit, "");
      for (const char* key = c.typed; *key != '\0'; ++key) {
        Type(*key == ' ' ? VK_SPACE : static_cast<WORD>(std::toupper(static_cast<unsigned char>(*key))));
      }
    }
    switch (c.end) {
      case End::kEnter:
        PressKey(VK_RETURN);
        Pump(80);
        EXPECT_TRUE(list_->Editing()) << "not on the press";
        ReleaseKey(VK_RETURN);
        break;
      case End::kEscape:
        Type(VK_ESCAPE);
        break;
      case End::kClickList:
        ClickRow(*list_, 0);
        break;
    }
    Pump(100);
    EXPECT_FALSE(list_->Editing());
    EXPECT_EQ(list_->editBox(), nullptr);
    EXPECT_EQ(::FindWindowExA(list_->window(), nullptr, "Edit", nullptr), nullptr) << "the edit box is gone";
    EXPECT_EQ(Texts(), c.rows);
    EXPECT_EQ(Notifications(), c.notified);
    EXPECT_EQ(list_->Selected(), c.selected);
    if (c.rows.size() > 1) {
      EXPECT_EQ(list_->RowValue(1), 0x10000u | kPictureId) << "a renamed row keeps its item value";
    }
  }
}

TEST_F(SkinListBoxTest, OnlyOneRowIsEditedInTheWholeProgram) {
  auto other = MakeList(Rect{20, 170, 220, 190});
  ASSERT_NE(other, nullptr);
  other->AddRow(0, "Other");
  other->EnableRenameByDoubleClick(true);

  DoubleClickRow(*list_, 0);
  const HWND first = list_->editBox();
  ASSERT_NE(first, nullptr);

  // Another list: it takes the focus, but the first edit stays open and no second one opens.
  DoubleClickRow(*other, 0);
  EXPECT_EQ(other->editBox(), nullptr);
  EXPECT_FALSE(other->StartNewRow());
  EXPECT_EQ(other->Count(), 1);
  EXPECT_EQ(list_->editBox(), first);
  // The same list, double-clicked on another row without taking the focus back: no second edit either.
  const RECT third = RowRect(list_->window(), 2);
  ::SendMessageA(list_->window(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, (third.top + third.bottom) / 2));
  EXPECT_EQ(list_->editBox(), first);
  EXPECT_EQ(::FindWindowExA(list_->window(), first, "Edit", nullptr), nullptr);

  // Once it ends, the other list can edit.
  ::SetFocus(first);
  Type(VK_ESCAPE);
  EXPECT_EQ(list_->editBox(), nullptr);
  DoubleClickRow(*other, 0);
  EXPECT_NE(other->editBox(), nullptr);
  Type(VK_ESCAPE);
  EXPECT_EQ(other->editBox(), nullptr);
  EXPECT_EQ(Notifications(), (std::vector<std::pair<UINT, WPARAM>>{}));
}

TEST_F(SkinListBoxTest, AListDestroyedWhileEditingFreesTheProgramsEdit) {
  auto other = MakeList(Rect{20, 170, 220, 190});
  ASSERT_NE(other, nullptr);
  other->AddRow(0, "Other");
  ASSERT_TRUE(other->StartNewRow());
  ::DestroyWindow(other->window());  // gone with its page, say
  EXPECT_EQ(other->window(), nullptr);
  EXPECT_FALSE(other->Editing());
  EXPECT_TRUE(list_->StartNewRow());
  Type(VK_ESCAPE);
}

TEST_F(SkinListBoxTest, TheWheelScrollsOneLinePerNotch) {
  for (int row = 3; row < 20; ++row) list_->AddRow(0, "Row " + std::to_string(row));
  const HWND list = list_->window();
  struct WheelCase {
    int delta;
    int top;  // after the turn, from a top row of 5
  };
  for (const WheelCase& c : {WheelCase{-120, 6}, WheelCase{0, 6}, WheelCase{120, 4}, WheelCase{-360, 8},
                             WheelCase{60, 4}}) {
    ::SendMessageA(list, LB_SETTOPINDEX, 5, 0);
    ::SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.delta)), 0);
    EXPECT_EQ(::SendMessageA(list, LB_GETTOPINDEX, 0, 0), c.top) << c.delta;
  }
  // A real notch, with the pointer over the list that has the focus.
  ::SendMessageA(list, LB_SETTOPINDEX, 5, 0);
  MovePointerTo(list, 100, 50);
  Pump(40);
  SendWheel(-WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return ::SendMessageA(list, LB_GETTOPINDEX, 0, 0) != 5; }, 2000));
  EXPECT_EQ(::SendMessageA(list, LB_GETTOPINDEX, 0, 0), 6);
}

TEST_F(SkinListBoxTest, ArrowKeysOnlyLetsNothingButUpAndDownThrough) {
  list_->AddRow(0, "Zulu");
  struct KeyCase {
    WORD key;
    int selectedOn;   // with the filter, from row 1
    int selectedOff;  // without it
  };
  const KeyCase cases[] = {{VK_DOWN, 2, 2}, {VK_UP, 0, 0}, {VK_END, 1, 3}, {VK_HOME, 1, 0}, {'Z', 1, 3}};
  for (const bool on : {true, false}) {
    list_->SetArrowKeysOnly(on);
    for (const KeyCase& c : cases) {
      ::SendMessageA(list_->window(), LB_SETCURSEL, 1, 0);
      ::SetFocus(list_->window());
      Type(c.key);
      EXPECT_EQ(list_->Selected(), on ? c.selectedOn : c.selectedOff) << "key " << c.key << (on ? " filtered" : "");
    }
  }
}

TEST_F(SkinListBoxTest, TheRightButtonAsksTheOwnerForAContextMenu) {
  MovePointerTo(list_->window(), 100, 30);
  Pump(40);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return !host_.Received(kWmListContext).empty(); }, 2000));
  SendMouse(MOUSEEVENTF_RIGHTUP);
  Pump(100);
  const auto posted = host_.Received(kWmListContext);
  ASSERT_EQ(posted.size(), 1u) << "on the press only";
  EXPECT_EQ(posted[0].wParam, 0u);
  EXPECT_EQ(posted[0].lParam, 0);
}

}  // namespace
}  // namespace kavo::wine_test::skin
