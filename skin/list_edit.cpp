#include "skin/list_edit.h"

#include <utility>

#include "skin/skin_messages.h"
#include "settings/trimmed_text.h"

namespace kavo::skin {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";


std::string_view LeadingDigits(std::string_view text) {
  const std::size_t end = text.find_first_not_of("0123456789");
  return end == std::string_view::npos ? text : text.substr(0, end);
}

}  // namespace

ListEdit::~ListEdit() { Close(); }

std::optional<EditBox> ListEdit::Open(int row, std::string text, std::size_t limit, bool digitsOnly,
                                      int indent, bool renaming) {
  slot_.holder_ = this;
  editedRow_ = row;
  renaming_ = renaming;
  limit_ = limit;
  digitsOnly_ = digitsOnly;
  // The box shows no more than it will accept, so what the user confirms is what the row gets.
  if (text.size() > limit) text.resize(limit);
  return EditBox{row, std::move(text), limit, digitsOnly, indent};
}

void ListEdit::Close() {
  if (slot_.holder_ == this) slot_.holder_ = nullptr;
  editedRow_ = -1;
  renaming_ = false;
}

std::optional<EditBox> ListEdit::DoubleClick(int rowUnderCursor) {
  if (!renameByDoubleClick_ || slot_.Taken()) return std::nullopt;
  if (rowUnderCursor < 0 || rowUnderCursor >= rows_.Count()) return std::nullopt;
  return Open(rowUnderCursor, rows_.Row(rowUnderCursor).text, kRowNameLimit, false, 0, true);
}

std::optional<EditBox> ListEdit::StartNewRow() {
  if (slot_.Taken()) return std::nullopt;
  const int row = rows_.Insert(rows_.Count(), ListRow{});
  return Open(row, std::string(), kRowNameLimit, false, 0, false);
}

std::optional<EditBox> ListEdit::RenameSelectedDigits(int pictureWidth) {
  if (slot_.Taken()) return std::nullopt;
  const int row = rows_.Selected();
  if (row < 0 || row >= rows_.Count()) return std::nullopt;
  const ListRow current = rows_.Row(row);
  const int indent = RowPictureId(current.itemValue) != 0 ? pictureWidth + kDigitsEditPictureGap : 0;
  return Open(row, current.text, kRowDigitsLimit, true, indent, true);
}

std::optional<ListNotification> ListEdit::Confirm(std::string_view editText) {
  if (!Editing()) return std::nullopt;
  const int row = editedRow_;
  const bool renaming = renaming_;
  Close();
  // The owner may have changed the rows meanwhile; a row that is gone is left alone.
  if (row >= rows_.Count()) return std::nullopt;

  std::string_view text = TrimmedText(editText, kBlanks);
  if (text.size() > limit_) text = TrimmedText(text.substr(0, limit_), kBlanks);
  if (digitsOnly_) text = LeadingDigits(text);

  const ListRow old = rows_.Row(row);
  if (!renaming || !text.empty()) rows_.Delete(row);
  int placed = row;
  if (!text.empty()) placed = rows_.Insert(row, ListRow{std::string(text), old.itemValue});
  rows_.Select(placed < rows_.Count() ? placed : -1);
  if (text.empty()) return std::nullopt;
  return ListNotification{renaming ? kWmListRenamed : kWmListNewRow, placed};
}

void ListEdit::Cancel() {
  if (!Editing()) return;
  const int row = editedRow_;
  const bool renaming = renaming_;
  Close();
  if (!renaming && row < rows_.Count()) rows_.Delete(row);
}

}  // namespace kavo::skin
