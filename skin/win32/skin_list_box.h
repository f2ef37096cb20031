#pragma once
// SkinListBox: the owner-drawn list of the skinned windows. Rows are 20 pixels high in a light Arial 14/6,
// each with an optional picture (the low 16 bits of the row's item value name a picture resource; 0 none,
// 1 an empty picture column; colour 0x7B00DE of a picture is transparent). Rows can be named in place: a
// new row, a rename by double-click, a digits-only rename of the selected row. An edit box is laid over
// the row; Enter (on release) or a click back into the list confirms, Escape (on release) cancels. The
// owner (the parent) receives, posted:
//   WM_LISTNEWROW  (kWmListNewRow, 1524)  wParam row: a new row got its text
//   WM_LISTRENAMED (kWmListRenamed, 1526) wParam row: a row got a new text
//   WM_LISTCONTEXT (kWmListContext, 1724)            the right button went down on the list
// Only one in-place edit is open in the whole program at a time. The wheel scrolls one line per notch;
// with "arrow keys only" the list answers to no key but Up and Down.
//
// The owner needs to do nothing for the drawing, the row height or the colours: the list takes its
// WM_DRAWITEM, WM_MEASUREITEM and WM_CTLCOLORLISTBOX out of the parent's messages itself (see
// ParentMessages).
//
//   auto list = SkinListBox::Create(dialog, Rect{20, 60, 220, 200});
//   list->AddRow(0x10000 | kMacroPicture, "Fire");
//   list->EnableRenameByDoubleClick(true);
//
// User-interface thread only. The object owns the window.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/list_edit.h"
#include "skin/list_row_style.h"
#include "skin/win32/parent_messages.h"

namespace kavo::skin::win32 {

// The one in-place edit slot of the program, shared by every list.
InPlaceEditSlot& ProgramEditSlot();

class SkinListBox {
 public:
  // Child, visible, vertical scroll bar, notify, owner-drawn rows of their own height (each measured 20
  // high as it is added), strings kept by the list. Owner-drawn fixed rows (LBS_OWNERDRAWFIXED) are 20
  // high as well.
  static constexpr DWORD kDefaultStyle = 0x50200061;
  // A row picture by its id; the list keeps each picture once loaded.
  using PictureSource = std::function<kavo::win32::UniqueBitmap(int pictureId)>;

  // The list at rect (parent's client coordinates); the parent is its owner. Pictures come from the
  // program's resources. Null when the window could not be made.
  static std::unique_ptr<SkinListBox> Create(HWND parent, const Rect& rect, DWORD style = kDefaultStyle);
  ~SkinListBox();
  SkinListBox(const SkinListBox&) = delete;
  SkinListBox& operator=(const SkinListBox&) = delete;

  // The background is also what the list's colour request gets; without one the system's window colour.
  void SetColours(Colour background, Colour selectedBackground);
  void SetTextColours(Colour text, Colour selectedText);
  void SetPictureSource(PictureSource source);

  // The row's index, or -1 when the list refused it. index == the row count appends.
  int AddRow(std::uint32_t itemValue, std::string_view text);
  int InsertRow(int index, std::uint32_t itemValue, std::string_view text);

  void EnableRenameByDoubleClick(bool enabled) { edit_.SetRenameByDoubleClick(enabled); }
  void SetArrowKeysOnly(bool on) { arrowKeysOnly_ = on; }
  // Each opens an edit only when none is open in the program; true when one opened.
  bool StartNewRow();
  bool RenameSelectedDigits();

  HWND window() const { return window_.get(); }
  HFONT font() const { return font_.get(); }
  // The in-place edit box; null when none is open.
  HWND editBox() const { return editBox_.get(); }
  bool Editing() const { return edit_.Editing(); }
  int Count() const;
  std::string RowText(int index) const;
  std::uint32_t RowValue(int index) const;
  int Selected() const;

 private:
  // The rows as the list box keeps them.
  class BoxRows : public ListRows {
   public:
    explicit BoxRows(const SkinListBox& list) : list_(list) {}
    int Count() const override { return list_.Count(); }
    ListRow Row(int index) const override { return {list_.RowText(index), list_.RowValue(index)}; }
    int Selected() const override { return list_.Selected(); }
    void Select(int index) override;
    int Insert(int index, const ListRow& row) override;
    void Delete(int index) override;

   private:
    const SkinListBox& list_;
  };

  SkinListBox();
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
  static LRESULT CALLBACK EditBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> FromParent(UINT message, WPARAM wParam, LPARAM lParam);
  void DrawRow(const DRAWITEMSTRUCT& draw);
  HBITMAP Picture(int pictureId);
  ListColours Colours() const;
  bool Open(const std::optional<EditBox>& box);
  void ScrollIntoView(int row);
  // Ends the in-place edit: confirmed with its text, or cancelled.
  void EndEdit(bool confirmed);
  std::string EditText() const;

  kavo::win32::UniqueWindow window_;
  HWND owner_ = nullptr;
  ParentMessages parentMessages_;
  kavo::win32::UniqueFont font_;
  std::optional<Colour> background_;
  kavo::win32::UniqueBrush backgroundBrush_;
  std::optional<Colour> selectedBackground_;
  std::optional<Colour> text_;
  std::optional<Colour> selectedText_;
  PictureSource pictureSource_;
  std::map<int, kavo::win32::UniqueBitmap> pictures_;
  bool arrowKeysOnly_ = false;
  // Inside the list's own adding of a row: the WM_MEASUREITEM the parent receives now is this list's.
  int measuring_ = 0;
  BoxRows rows_{*this};
  ListEdit edit_;
  kavo::win32::UniqueWindow editBox_;
};

}  // namespace kavo::skin::win32
