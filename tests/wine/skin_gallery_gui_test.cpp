// The skinned controls as a user meets them: skin-gallery.exe driven through the X server with real pointer
// moves, clicks and keys (xdotool), its reactions read from the log it keeps, what it shows compared with
// its pictures, and screenshots kept under build/<preset>/artifacts/ for looking at.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "artwork/gallery.h"
#include "artwork/message_box_a.h"
#include "artwork/message_box_b.h"
#include "artwork/message_box_c.h"
#include "platform/win32/module_folder.h"
#include "platform/win32/win32_handles.h"
#include "skin/layout.h"
#include "skin/win32/picture_resources.h"
#include "tests/support/text_lines.h"
#include "tests/wine/programs.h"
#include "tests/wine/recording_window.h"
#include "tests/wine/temp_folder.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {
namespace {

namespace gallery = artwork::gallery;
constexpr char kGalleryTitle[] = "Kavo skin gallery";
constexpr DWORD kReactionMs = 5000;

skin::Rect LayoutRect(const char* layout) { return skin::LayoutBounds(layout); }

class GalleryTest : public ::testing::Test {
 protected:
  void SetUp() override { StartGallery(); }
  void TearDown() override { CloseGallery(); }

  void StartGallery() {
    ASSERT_FALSE(folder_.path().empty());
    log_ = folder_.File("gallery.log");
    gallery_ = StartProgram(win32::ModuleFolder() + "skin-gallery.exe", "--log \"" + log_ + "\"", folder_.path());
    ASSERT_TRUE(gallery_.handle) << "skin-gallery.exe did not start";
    ASSERT_TRUE(WaitFor([&] { return !TopLevelWindows(gallery_.id, kGalleryTitle).empty(); }, 10000));
    window_ = TopLevelWindows(gallery_.id, kGalleryTitle).front();
    ASSERT_TRUE(WaitForLine("ready"));
    RECT bounds;
    ::GetWindowRect(window_, &bounds);
    origin_ = POINT{bounds.left, bounds.top};
    ASSERT_EQ(bounds.right - bounds.left, gallery::kWidth);
    ASSERT_EQ(bounds.bottom - bounds.top, gallery::kHeight);
    // The window is shown once its first paint is on the screen.
    ASSERT_TRUE(WaitFor(
        [&] {
          return ScreenPixels(LayoutRect(gallery::kHeadingButtons)) ==
                 PicturePixels(gallery::kNormalPicture, LayoutRect(gallery::kHeadingButtons));
        },
        kReactionMs));
    // Start every case with the pointer away from every control, and any button it lit when the window
    // came up under it back to normal.
    ASSERT_TRUE(XSession::MoveTo(origin_.x + gallery::kWidth - 40, origin_.y + gallery::kHeight - 10));
    ASSERT_TRUE(WaitFor(
        [&] {
          return ScreenPixels(LayoutRect(gallery::kPushOne)) ==
                 PicturePixels(gallery::kNormalPicture, LayoutRect(gallery::kPushOne));
        },
        kReactionMs));
  }
  void CloseGallery() {
    if (!gallery_.Running()) return;
    ::PostMessageA(window_, WM_CLOSE, 0, 0);
    if (!gallery_.WaitForExit(5000)) ::TerminateProcess(gallery_.handle.get(), 1);
  }

  // The screen point at the middle of a control of the gallery, or offset from its top left.
  POINT Centre(const char* layout) const {
    const skin::Rect r = LayoutRect(layout);
    return POINT{origin_.x + (r.left + r.right) / 2, origin_.y + (r.top + r.bottom) / 2};
  }
  POINT At(const char* layout, int dx, int dy) const {
    const skin::Rect r = LayoutRect(layout);
    return POINT{origin_.x + r.left + dx, origin_.y + r.top + dy};
  }
  static bool MoveTo(POINT p) { return XSession::MoveTo(p.x, p.y); }
  static bool ClickAt(POINT p) { return XSession::ClickAt(p.x, p.y); }

  std::vector<std::string> Log() const {
    std::ifstream in(log_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
  std::size_t Mark() const { return Log().size(); }
  std::vector<std::string> LogSince(std::size_t mark) const {
    auto lines = Log();
    return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(std::min(mark, lines.size())),
                                    lines.end());
  }
  bool WaitForLine(const std::string& line, std::size_t mark = 0) const {
    return WaitFor(
        [&] {
          const auto lines = LogSince(mark);
          return std::find(lines.begin(), lines.end(), line) != lines.end();
        },
        kReactionMs);
  }
  // Only the log lines that start with prefix.
  std::vector<std::string> LinesStarting(std::size_t mark, const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& line : LogSince(mark)) {
      if (line.rfind(prefix, 0) == 0) found.push_back(line);
    }
    return found;
  }

  // Screen pixels of a rectangle of the gallery, as 0xRRGGBB.
  std::vector<std::uint32_t> ScreenPixels(const skin::Rect& r) const {
    std::vector<std::uint32_t> pixels;
    win32::WindowDC screen(nullptr);
    for (int y = r.top; y < r.bottom; y += 3) {
      for (int x = r.left; x < r.right; x += 3) {
        const COLORREF c = ::GetPixel(screen.get(), origin_.x + x, origin_.y + y);
        pixels.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
      }
    }
    return pixels;
  }
  // The same pixels of one of the gallery's own pictures.
  std::vector<std::uint32_t> PicturePixels(int id, const skin::Rect& r) const {
    std::vector<std::uint32_t> pixels;
    win32::UniqueModule program(::LoadLibraryExA((win32::ModuleFolder() + "skin-gallery.exe").c_str(), nullptr,
                                                 LOAD_LIBRARY_AS_DATAFILE));
    const auto picture = skin::win32::LoadPicture(program.get(), id);
    if (!picture) return pixels;
    win32::WindowDC screen(nullptr);
    win32::UniqueDC memory(::CreateCompatibleDC(screen.get()));
    win32::SelectedObject selected(memory.get(), picture.get());
    for (int y = r.top; y < r.bottom; y += 3) {
      for (int x = r.left; x < r.right; x += 3) {
        const COLORREF c = ::GetPixel(memory.get(), x, y);
        pixels.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
      }
    }
    return pixels;
  }

  // True when window upper lies above lower in the z-order.
  static bool Above(HWND upper, HWND lower) {
    for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
      if (w == lower) return true;
    }
    return false;
  }
  // A shown top-level window of the gallery other than its main one (a message box), or null.
  HWND VisibleWindowBesidesGallery() const {
    for (HWND w : TopLevelWindows(gallery_.id, "")) {
      if (w != window_ && ::IsWindowVisible(w)) return w;
    }
    return nullptr;
  }
  // An edit box lies over a row of the list.
  bool RowEditOpen() const {
    bool open = false;
    ::EnumChildWindows(window_, FindRowEdit, reinterpret_cast<LPARAM>(&open));
    return open;
  }
  static BOOL CALLBACK FindRowEdit(HWND child, LPARAM found) {
    char name[32] = {}, parentName[32] = {};
    ::GetClassNameA(child, name, sizeof name);
    ::GetClassNameA(::GetParent(child), parentName, sizeof parentName);
    if (lstrcmpiA(name, "Edit") == 0 && lstrcmpiA(parentName, "ListBox") == 0 && ::IsWindowVisible(child)) {
      *reinterpret_cast<bool*>(found) = true;
    }
    return TRUE;
  }

  TempFolder folder_;
  std::string log_;
  ChildProcess gallery_;
  HWND window_ = nullptr;
  POINT origin_{};
};

TEST_F(GalleryTest, LooksAsDrawnAndKeepsAScreenshot) {
  EXPECT_EQ(ScreenPixels(LayoutRect(gallery::kPushOne)), PicturePixels(gallery::kNormalPicture, LayoutRect(gallery::kPushOne)));
  EXPECT_EQ(ScreenPixels(LayoutRect(gallery::kToggleDisabled)),
            PicturePixels(gallery::kDisabledPicture, LayoutRect(gallery::kToggleDisabled)))
      << "a disabled toggle shows its disabled picture";
  EXPECT_NE(PicturePixels(gallery::kDisabledPicture, LayoutRect(gallery::kToggleDisabled)),
            PicturePixels(gallery::kNormalPicture, LayoutRect(gallery::kToggleDisabled)))
      << "the disabled picture must differ from the normal one for the check above to mean anything";
  ASSERT_TRUE(MoveTo(Centre(gallery::kPushTwo)));
  ASSERT_TRUE(WaitForLine("hover PUSH_TWO entered"));
  // The redraw follows the notification; wait for it rather than guess how long it takes.
  const auto hover = PicturePixels(gallery::kHoverPicture, LayoutRect(gallery::kPushTwo));
  EXPECT_TRUE(WaitFor([&] { return ScreenPixels(LayoutRect(gallery::kPushTwo)) == hover; }, kReactionMs))
      << "the button under the pointer shows its hover picture";
  EXPECT_FALSE(XSession::Screenshot("gallery").empty());
}

TEST_F(GalleryTest, MovingBetweenNeighbouringButtonsLeavesOneBeforeEnteringTheOther) {
  const std::size_t mark = Mark();
  ASSERT_TRUE(MoveTo(Centre(gallery::kPushOne)));
  ASSERT_TRUE(WaitForLine("hover PUSH_ONE entered", mark));
  // The buttons touch: one step of the pointer crosses from one onto the other.
  const skin::Rect one = LayoutRect(gallery::kPushOne);
  ASSERT_TRUE(MoveTo(At(gallery::kPushOne, one.Width() - 2, one.Height() / 2)));
  ASSERT_TRUE(MoveTo(At(gallery::kPushOne, one.Width() + 2, one.Height() / 2)));
  ASSERT_TRUE(WaitForLine("hover PUSH_TWO entered", mark));
  EXPECT_EQ(LinesStarting(mark, "hover "),
            (std::vector<std::string>{"hover PUSH_ONE entered", "hover PUSH_ONE left", "hover PUSH_TWO entered"}));
  // The help line follows: the first button's text, nothing, the second's.
  EXPECT_EQ(LinesStarting(mark, "help "),
            (std::vector<std::string>{"help 1 The first push button", "help 0 ", "help 1 The second push button"}));
  ASSERT_TRUE(MoveTo(Centre(gallery::kHelpLine)));
  ASSERT_TRUE(WaitForLine("hover PUSH_TWO left", mark));
}

TEST_F(GalleryTest, AToggleClickedTwiceEndsUncheckedAfterTwoCommands) {
  const std::size_t mark = Mark();
  ASSERT_TRUE(ClickAt(Centre(gallery::kToggle)));
  ASSERT_TRUE(WaitForLine("command TOGGLE checked 1", mark));
  const auto pressed = PicturePixels(gallery::kPressedPicture, LayoutRect(gallery::kToggle));
  EXPECT_TRUE(WaitFor([&] { return ScreenPixels(LayoutRect(gallery::kToggle)) == pressed; }, kReactionMs))
      << "a checked toggle shows its pressed picture";
  ASSERT_TRUE(XSession::XDo("click 1"));
  ASSERT_TRUE(WaitForLine("command TOGGLE checked 0", mark));
  EXPECT_EQ(LinesStarting(mark, "command "),
            (std::vector<std::string>{"command TOGGLE checked 1", "command TOGGLE checked 0"}));
  // A click on the disabled one does nothing.
  ASSERT_TRUE(ClickAt(Centre(gallery::kToggleDisabled)));
  ::Sleep(300);
  EXPECT_EQ(LinesStarting(mark, "command ").size(), 2u);
}

TEST_F(GalleryTest, TheSliderThumbDroppedReportsTheRoundedValueAndSnaps) {
  // Range 1..10 with rounding on a 200-pixel track and a 20-pixel thumb, starting at 1 (thumb at the left).
  const skin::Rect track = LayoutRect(gallery::kSlider);
  ASSERT_EQ(track.Width(), 200);
  const std::size_t mark = Mark();
  const POINT grab = At(gallery::kSlider, 10, track.Height() / 2);
  const POINT drop{grab.x + 90, grab.y};
  ASSERT_TRUE(XSession::XDo("mousemove " + std::to_string(grab.x) + " " + std::to_string(grab.y) +
                            " sleep 0.2 mousedown 1 sleep 0.1 mousemove " + std::to_string(grab.x + 40) + " " +
                            std::to_string(grab.y) + " sleep 0.1 mousemove " + std::to_string(drop.x) + " " +
                            std::to_string(drop.y) + " sleep 0.2 mouseup 1"));
  ASSERT_TRUE(WaitForLine("slider 6 thumb 100", mark)) << "left 90 is 5.5, rounded to 6, snapped to left 100";
  const auto moves = LinesStarting(mark, "slider ");
  ASSERT_GE(moves.size(), 2u) << "the drag reports values as the thumb moves";
  EXPECT_EQ(moves.back(), "slider 6 thumb 100");
  // A click at the far right end of the track gives the maximum.
  ASSERT_TRUE(ClickAt(At(gallery::kSlider, track.Width() - 1, track.Height() / 2)));
  ASSERT_TRUE(WaitForLine("slider 10 thumb 180", mark));
}

TEST_F(GalleryTest, AMenuItemChosenReachesTheOwnerAsACommand) {
  const std::size_t mark = Mark();
  ASSERT_TRUE(ClickAt(Centre(gallery::kMenu)));
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menu = ::FindWindowA("#32768", nullptr)) != nullptr && ::IsWindowVisible(menu); },
                      kReactionMs));
  ::Sleep(300);
  RECT bounds;
  ::GetWindowRect(menu, &bounds);
  // Move over the second item so that it shows selected in the screenshot.
  const int itemHeight = 18, frame = 3;
  const POINT second{(bounds.left + bounds.right) / 2, bounds.top + frame + itemHeight + itemHeight / 2};
  ASSERT_TRUE(MoveTo(second));
  ::Sleep(300);
  win32::WindowDC screen(nullptr);
  EXPECT_TRUE(WaitFor([&] { return ::GetPixel(screen.get(), bounds.left, bounds.top) == RGB(53, 160, 222); },
                      kReactionMs))
      << "the skinned frame";
  EXPECT_EQ(::GetPixel(screen.get(), bounds.left + 1, bounds.top + 1), RGB(0, 0, 0));
  EXPECT_FALSE(XSession::Screenshot("gallery-menu").empty());
  ASSERT_TRUE(XSession::XDo("click 1"));
  ASSERT_TRUE(WaitForLine("menu 9002", mark));
  EXPECT_FALSE(::IsWindowVisible(::FindWindowA("#32768", nullptr)));
}

TEST_F(GalleryTest, ARowIsRenamedInPlace) {
  const std::size_t mark = Mark();
  // The second row of the list: double-click opens the edit over it, typing and Enter rename it.
  const POINT row = At(gallery::kList, 60, 2 + 20 + 10);
  ASSERT_TRUE(MoveTo(row));
  ASSERT_TRUE(XSession::XDo("click --repeat 2 --delay 80 1"));
  ASSERT_TRUE(WaitFor([&] { return RowEditOpen(); }, kReactionMs)) << "no edit opened over the row";
  ASSERT_TRUE(XSession::XDo("type --delay 30 'Renamed row'"));
  ASSERT_TRUE(XSession::XDo("key Return"));
  ASSERT_TRUE(WaitForLine("list renamed 1 Renamed row", mark));
  EXPECT_FALSE(XSession::Screenshot("gallery-list").empty());
}

TEST_F(GalleryTest, ClicksOnTheTransparentCornersReachTheWindowBehind) {
  // A window of the test under the whole gallery: made first, so that the gallery started afterwards lies
  // above it.
  CloseGallery();
  RecordingWindow behind("Kavo window behind", "KavoWindowBehind", WS_POPUP);
  ASSERT_NE(behind.window(), nullptr);
  ::SetWindowPos(behind.window(), HWND_BOTTOM, origin_.x - 20, origin_.y - 20, gallery::kWidth + 40,
                 gallery::kHeight + 40, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  ASSERT_NO_FATAL_FAILURE(StartGallery());
  ASSERT_TRUE(Above(window_, behind.window()));
  const POINT corner{origin_.x, origin_.y};
  EXPECT_EQ(::WindowFromPoint(corner), behind.window());
  EXPECT_EQ(::WindowFromPoint(Centre(gallery::kHelpLine)), window_);

  // Inside the shape the gallery takes the click (first: a window clicked comes to the front).
  const std::size_t mark = Mark();
  ASSERT_TRUE(ClickAt(Centre(gallery::kPushOne)));
  ASSERT_TRUE(WaitForLine("command PUSH_ONE", mark));
  EXPECT_EQ(behind.Count(WM_LBUTTONDOWN), 0u);
  ASSERT_TRUE(ClickAt(corner));
  EXPECT_TRUE(behind.WaitFor(WM_LBUTTONUP, 1, kReactionMs)) << "the corner is not part of the gallery's shape";
}

TEST_F(GalleryTest, EachMessageBoxAnswersThroughItsButtonsOnly) {
  struct Case {
    const char* show;
    const char* variant;
    int width, height;
    const char* press;  // the layout string of the box's button to click
    int result;
  };
  for (const Case& c : {Case{gallery::kShowA, "A", artwork::message_box_a::kWidth, artwork::message_box_a::kHeight,
                             artwork::message_box_a::kButtonOk, 1},
                        Case{gallery::kShowB, "B", artwork::message_box_b::kWidth, artwork::message_box_b::kHeight,
                             artwork::message_box_b::kButtonCancel, 2},
                        Case{gallery::kShowC, "C", artwork::message_box_c::kWidth, artwork::message_box_c::kHeight,
                             artwork::message_box_c::kButtonExit, 2}}) {
    SCOPED_TRACE(c.variant);
    const std::size_t mark = Mark();
    ASSERT_TRUE(ClickAt(Centre(c.show)));
    ASSERT_TRUE(WaitForLine(std::string("box ") + c.variant + " shown", mark));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = VisibleWindowBesidesGallery()) != nullptr; }, kReactionMs));
    RECT bounds;
    ::GetWindowRect(box, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, c.width);
    EXPECT_EQ(bounds.bottom - bounds.top, c.height);
    ::Sleep(300);
    EXPECT_FALSE(XSession::Screenshot(std::string("message-box-") + c.variant).empty());
    // Escape and Enter do not close it: only its buttons do.
    ASSERT_TRUE(XSession::XDo("key Escape key Return"));
    ::Sleep(300);
    EXPECT_TRUE(::IsWindowVisible(box));
    const skin::Rect button = LayoutRect(c.press);
    ASSERT_TRUE(ClickAt(POINT{bounds.left + (button.left + button.right) / 2, bounds.top + (button.top + button.bottom) / 2}));
    ASSERT_TRUE(WaitForLine(std::string("box ") + c.variant + " result " + std::to_string(c.result), mark));
  }
}

}  // namespace
}  // namespace kavo::wine_test
