#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "skin/list_edit.h"
#include "skin/skin_messages.h"

namespace kavo::skin {

void PrintTo(const ListNotification& n, std::ostream* out) { *out << "post " << n.message << " row " << n.row; }
bool operator==(const ListRow& a, const ListRow& b) { return a.text == b.text && a.itemValue == b.itemValue; }
void PrintTo(const ListRow& r, std::ostream* out) { *out << "\"" << r.text << "\"/" << std::hex << r.itemValue; }

namespace {

// The list's rows kept as a list box keeps them.
class FakeRows : public ListRows {
 public:
  std::vector<ListRow> rows;
  int selected = -1;

  int Count() const override { return static_cast<int>(rows.size()); }
  ListRow Row(int index) const override { return rows.at(static_cast<std::size_t>(index)); }
  int Selected() const override { return selected; }
  void Select(int index) override { selected = index; }
  int Insert(int index, const ListRow& row) override {
    rows.insert(rows.begin() + index, row);
    return index;
  }
  void Delete(int index) override { rows.erase(rows.begin() + index); }
};

// Row 2 has a picture (low word 0x87); row 1 only a high word, so no picture column.
const std::vector<ListRow> kRows = {{"Alpha", 0x10087}, {"Beta", 0x20000}, {"Gamma", 0x87}};

class ListEditTest : public ::testing::Test {
 protected:
  ListEditTest() {
    rows_.rows = kRows;
    edit_.SetRenameByDoubleClick(true);
  }
  FakeRows rows_;
  InPlaceEditSlot slot_;
  ListEdit edit_{rows_, slot_};
};

enum class Start { kRenameByDoubleClick, kNewRow, kDigitsRename };

struct EndCase {
  const char* name;
  Start start;
  std::string typed;
  std::vector<ListRow> rowsAfter;
  int selectedAfter;
  std::optional<ListNotification> posted;
};
void PrintTo(const EndCase& c, std::ostream* out) { *out << c.name; }

class ListEditEndTest : public ListEditTest, public ::testing::WithParamInterface<EndCase> {
 protected:
  void Begin(Start start) {
    rows_.selected = 2;
    std::optional<EditBox> box;
    switch (start) {
      case Start::kRenameByDoubleClick: box = edit_.DoubleClick(1); break;
      case Start::kNewRow: box = edit_.StartNewRow(); break;
      case Start::kDigitsRename: box = edit_.RenameSelectedDigits(); break;
    }
    ASSERT_TRUE(box);
  }
};

TEST_P(ListEditEndTest, EnterGivesTheRowsAndTheNotification) {
  const EndCase& c = GetParam();
  Begin(c.start);
  EXPECT_EQ(edit_.Confirm(c.typed), c.posted);
  EXPECT_EQ(rows_.rows, c.rowsAfter);
  EXPECT_EQ(rows_.selected, c.selectedAfter);
  EXPECT_FALSE(edit_.Editing());
  EXPECT_FALSE(edit_.renaming());
  EXPECT_FALSE(slot_.Taken());
}

std::vector<ListRow> BetaRenamed(const char* text) {
  return {{"Alpha", 0x10087}, {text, 0x20000}, {"Gamma", 0x87}};
}
std::vector<ListRow> GammaRenamed(const char* text) {
  return {{"Alpha", 0x10087}, {"Beta", 0x20000}, {text, 0x87}};
}
std::vector<ListRow> WithNewRow(const char* text) {
  return {{"Alpha", 0x10087}, {"Beta", 0x20000}, {"Gamma", 0x87}, {text, 0}};
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ListEditEndTest,
    ::testing::Values(
        EndCase{"RenameToSpacesKeepsTheRow", Start::kRenameByDoubleClick, "   ", kRows, 1, std::nullopt},
        EndCase{"RenameToNothingKeepsTheRow", Start::kRenameByDoubleClick, "", kRows, 1, std::nullopt},
        EndCase{"RenameTrimmed", Start::kRenameByDoubleClick, "  Delta \t", BetaRenamed("Delta"), 1,
                ListNotification{kWmListRenamed, 1}},
        EndCase{"RenameToTheSameText", Start::kRenameByDoubleClick, "Beta", kRows, 1,
                ListNotification{kWmListRenamed, 1}},
        EndCase{"RenameCutToTheLimit", Start::kRenameByDoubleClick, "abcdefghijklmnopqrstuvwxyz0123",
                BetaRenamed("abcdefghijklmnopqrstuvwx"), 1, ListNotification{kWmListRenamed, 1}},
        EndCase{"NewRowNamed", Start::kNewRow, "Zeta", WithNewRow("Zeta"), 3, ListNotification{kWmListNewRow, 3}},
        EndCase{"NewRowLeftEmptyDisappears", Start::kNewRow, "  ", kRows, -1, std::nullopt},
        EndCase{"DigitsTrimmed", Start::kDigitsRename, " 250 ", GammaRenamed("250"), 2,
                ListNotification{kWmListRenamed, 2}},
        EndCase{"DigitsKeepTheLeadingRun", Start::kDigitsRename, "12a3", GammaRenamed("12"), 2,
                ListNotification{kWmListRenamed, 2}},
        EndCase{"DigitsWithoutADigitKeepTheRow", Start::kDigitsRename, "ms", kRows, 2, std::nullopt},
        EndCase{"DigitsCutToTheLimit", Start::kDigitsRename, "1234567890123456789012345",
                GammaRenamed("12345678901234567890"), 2, ListNotification{kWmListRenamed, 2}}),
    [](const ::testing::TestParamInfo<EndCase>& row) { return std::string(row.param.name); });

TEST_F(ListEditTest, EscapeRemovesANewRowAndKeepsARenamedOne) {
  ASSERT_TRUE(edit_.StartNewRow());
  EXPECT_EQ(rows_.Count(), 4);
  edit_.Cancel();
  EXPECT_EQ(rows_.rows, kRows);
  EXPECT_FALSE(edit_.Editing());

  ASSERT_TRUE(edit_.DoubleClick(0));
  edit_.Cancel();
  EXPECT_EQ(rows_.rows, kRows);
  EXPECT_FALSE(slot_.Taken());
  // Ended edits report nothing more.
  EXPECT_EQ(edit_.Confirm("late"), std::nullopt);
  EXPECT_EQ(rows_.rows, kRows);
}

TEST_F(ListEditTest, OpensTheEditBoxEachWayAsks) {
  EXPECT_EQ(edit_.DoubleClick(1), (EditBox{1, "Beta", kRowNameLimit, false, 0}));
  EXPECT_TRUE(edit_.renaming());
  edit_.Cancel();

  EXPECT_EQ(edit_.StartNewRow(), (EditBox{3, "", kRowNameLimit, false, 0}));
  EXPECT_EQ(rows_.rows.back(), (ListRow{"", 0}));
  EXPECT_FALSE(edit_.renaming());
  edit_.Cancel();

  // The digits edit starts after the picture column when the row has a picture.
  rows_.selected = 2;
  EXPECT_EQ(edit_.RenameSelectedDigits(), (EditBox{2, "Gamma", kRowDigitsLimit, true, kListPictureWidth + 5}));
  EXPECT_TRUE(edit_.renaming());
  edit_.Cancel();
  rows_.selected = 1;
  EXPECT_EQ(edit_.RenameSelectedDigits(), (EditBox{1, "Beta", kRowDigitsLimit, true, 0}));
}

TEST_F(ListEditTest, TheEditShowsNoMoreThanItAccepts) {
  rows_.rows[0].text = std::string(40, 'x');
  const std::optional<EditBox> box = edit_.DoubleClick(0);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, std::string(kRowNameLimit, 'x'));
}

TEST_F(ListEditTest, OpensNothingWithoutARow) {
  EXPECT_EQ(edit_.DoubleClick(-1), std::nullopt);
  EXPECT_EQ(edit_.DoubleClick(3), std::nullopt);
  rows_.selected = -1;
  EXPECT_EQ(edit_.RenameSelectedDigits(), std::nullopt);
  rows_.selected = 7;
  EXPECT_EQ(edit_.RenameSelectedDigits(), std::nullopt);
  edit_.SetRenameByDoubleClick(false);
  EXPECT_EQ(edit_.DoubleClick(0), std::nullopt);
  EXPECT_FALSE(slot_.Taken());
  EXPECT_EQ(rows_.rows, kRows);
}

TEST_F(ListEditTest, OneEditInTheWholeProgram) {
  FakeRows otherRows;
  otherRows.rows = kRows;
  otherRows.selected = 0;
  ListEdit other(otherRows, slot_);
  other.SetRenameByDoubleClick(true);

  ASSERT_TRUE(edit_.DoubleClick(0));
  // A double-click on another row, of this list or another, opens no second edit.
  EXPECT_EQ(edit_.DoubleClick(2), std::nullopt);
  EXPECT_EQ(edit_.StartNewRow(), std::nullopt);
  EXPECT_EQ(other.DoubleClick(1), std::nullopt);
  EXPECT_EQ(other.RenameSelectedDigits(), std::nullopt);
  EXPECT_EQ(edit_.editedRow(), 0);
  EXPECT_EQ(rows_.rows, kRows);

  EXPECT_EQ(edit_.Confirm("First"), (ListNotification{kWmListRenamed, 0}));
  EXPECT_TRUE(other.DoubleClick(1));
  EXPECT_TRUE(slot_.Taken());
}

TEST_F(ListEditTest, AListGoneWhileEditingFreesTheSlot) {
  {
    FakeRows otherRows;
    otherRows.rows = kRows;
    ListEdit other(otherRows, slot_);
    ASSERT_TRUE(other.StartNewRow());
    EXPECT_TRUE(slot_.Taken());
  }
  EXPECT_FALSE(slot_.Taken());
  EXPECT_TRUE(edit_.DoubleClick(0));
}

TEST_F(ListEditTest, RowsRemovedUnderTheEditAreLeftAlone) {
  ASSERT_TRUE(edit_.DoubleClick(2));
  rows_.rows.resize(1);
  EXPECT_EQ(edit_.Confirm("Omega"), std::nullopt);
  EXPECT_EQ(rows_.rows.size(), 1u);
  EXPECT_FALSE(slot_.Taken());

  ASSERT_TRUE(edit_.StartNewRow());
  rows_.rows.clear();
  edit_.Cancel();
  EXPECT_TRUE(rows_.rows.empty());
  EXPECT_FALSE(slot_.Taken());
}

}  // namespace
}  // namespace kavo::skin
