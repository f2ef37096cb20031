#pragma once
// In-place editing of a skinned list's rows: naming a new row, renaming a row by double-click, and the
// digits-only rename of the selected row. The model decides which edit opens, what happens to the rows
// when it ends and which notification goes to the list's owner; the shell opens the edit box it asks for.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "skin/list_row_style.h"

namespace kavo::skin {

constexpr std::size_t kRowNameLimit = 24;    // characters of a typed row name
constexpr std::size_t kRowDigitsLimit = 20;  // characters of a digits-only rename
// The digits-only edit starts this far right of the picture column's width when the row has a picture.
constexpr int kDigitsEditPictureGap = 5;

struct ListRow {
  std::string text;
  std::uint32_t itemValue = 0;
};

// Port: the rows as the list keeps them.
class ListRows {
 public:
  virtual ~ListRows() = default;
  virtual int Count() const = 0;
  virtual ListRow Row(int index) const = 0;  // 0 <= index < Count()
  virtual int Selected() const = 0;          // -1 when no row is selected
  virtual void Select(int index) = 0;        // -1 selects none
  // Inserts before index; index == Count() appends. Returns the row's index.
  virtual int Insert(int index, const ListRow& row) = 0;
  virtual void Delete(int index) = 0;  // 0 <= index < Count()
};

// The program has at most one in-place edit open: every list's model shares this slot.
class InPlaceEditSlot {
 public:
  bool Taken() const { return holder_ != nullptr; }

 private:
  friend class ListEdit;
  const void* holder_ = nullptr;
};

// The edit box to lay over a row: all of its text selected, the list's font, the focus.
struct EditBox {
  int row = -1;
  std::string text;
  std::size_t limit = kRowNameLimit;
  bool digitsOnly = false;
  int indent = 0;  // pixels from the row's left edge
  bool operator==(const EditBox& other) const {
    return row == other.row && text == other.text && limit == other.limit &&
           digitsOnly == other.digitsOnly && indent == other.indent;
  }
};

// A message to post to the list's owner, wParam = row.
struct ListNotification {
  unsigned message = 0;
  int row = -1;
  bool operator==(const ListNotification& other) const {
    return message == other.message && row == other.row;
  }
};

class ListEdit {
 public:
  ListEdit(ListRows& rows, InPlaceEditSlot& slot) : rows_(rows), slot_(slot) {}
  ~ListEdit();
  ListEdit(const ListEdit&) = delete;
  ListEdit& operator=(const ListEdit&) = delete;

  void SetRenameByDoubleClick(bool enabled) { renameByDoubleClick_ = enabled; }

  // Each opens an edit only when none is open in the program and the row exists; the edit to show.
  std::optional<EditBox> DoubleClick(int rowUnderCursor);
  std::optional<EditBox> StartNewRow();
  std::optional<EditBox> RenameSelectedDigits(int pictureWidth = kListPictureWidth);

  // Enter released in the edit, or the list regaining the focus from it. The text is trimmed and bounded
  // (a digits-only edit keeps its leading digits); an empty result leaves a renamed row as it was and
  // removes a new row. The edit is closed; the notification to post when a row got a text.
  std::optional<ListNotification> Confirm(std::string_view editText);
  // Escape released in the edit: a new row is removed, a renamed row stays; nothing is posted.
  void Cancel();

  bool Editing() const { return editedRow_ >= 0; }
  int editedRow() const { return editedRow_; }
  bool renaming() const { return renaming_; }

 private:
  std::optional<EditBox> Open(int row, std::string text, std::size_t limit, bool digitsOnly, int indent,
                              bool renaming);
  void Close();

  ListRows& rows_;
  InPlaceEditSlot& slot_;
  bool renameByDoubleClick_ = false;
  int editedRow_ = -1;
  bool renaming_ = false;
  std::size_t limit_ = kRowNameLimit;
  bool digitsOnly_ = false;
};

}  // namespace kavo::skin
