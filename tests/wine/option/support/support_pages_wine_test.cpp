// The update and help pages with the program's own pictures, as children of a window of the test, worked
// through the X server with real pointer moves, clicks and keys (xdotool). The update page's shell only
// records what it is given: no test opens a web or mail address. The real shell is tried once with an
// address scheme registered for the test alone. The help page's browser goes to a closed port on this
// machine, never to the support site.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "artwork/help_page.h"
#include "artwork/update_page.h"
#include "option/support/update_page_model.h"
#include "option/support/win32/support_pages.h"
#include "platform/win32/win32_handles.h"
#include "skin/layout.h"
#include "skin/win32/help_text.h"
#include "skin/win32/picture_resources.h"
#include "tests/wine/programs.h"
#include "tests/wine/skin_test_support.h"
#include "tests/wine/temp_folder.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {
namespace {

using option::SupportAddress;
using option::UpdateButton;
using wine_test::skin::Pump;
using wine_test::skin::PumpUntil;

namespace updateArt = artwork::update_page;
namespace helpArt = artwork::help_page;

constexpr DWORD kReactionMs = 5000;
constexpr POINT kPageAt{6, 4};  // the page's place in the host window

class RecordingShell : public option::AddressShell {
 public:
  void Open(const std::string& address) override { opened.push_back(address); }
  std::vector<std::string> opened;
};

// A help library that names each text after its id and the library's language.
class FakeHelp : public option::HelpLibrary {
 public:
  std::string Text(int id) const override { return language + " text " + std::to_string(id); }
  std::string language = "first";
};

using kavo::skin::LayoutBounds;

// The top-level window the pages sit in, as the main window holds them.
class HostWindow {
 public:
  HostWindow() {
    window_.reset(::CreateWindowExA(0, "STATIC", "pages host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 800,
                                    345, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
  }
  HWND get() const { return window_.get(); }

 private:
  win32::UniqueWindow window_;
};

std::vector<HWND> VisibleChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child)) children.push_back(child);
  }
  return children;
}

std::vector<HWND> VisibleTopLevelWindows() {
  std::vector<HWND> visible;
  for (HWND window : TopLevelWindows(::GetCurrentProcessId(), "")) {
    if (::IsWindowVisible(window)) visible.push_back(window);
  }
  return visible;
}

// Screen point of a page's client point.
POINT OnScreen(HWND page, int x, int y) {
  POINT point{x, y};
  ::ClientToScreen(page, &point);
  return point;
}

// Moves the real pointer there and lets the windows hear of it.
bool PointAt(HWND page, const kavo::skin::Rect& r) {
  const POINT centre = OnScreen(page, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  if (!XSession::MoveTo(centre.x, centre.y)) return false;
  Pump(150);
  return true;
}

bool ClickAt(HWND page, const kavo::skin::Rect& r) {
  if (!PointAt(page, r) || !XSession::XDo("click 1")) return false;
  Pump(150);
  return true;
}

// Moves the pointer onto a bare part of the page, so that no button is left lit: outside the program's
// windows Wine hears of no move at all.
void PointerAway(HWND page) {
  const POINT bare = OnScreen(page, 760, 40);
  XSession::MoveTo(bare.x, bare.y);
  Pump(150);
}

class SupportPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(host_.get(), nullptr);
    kavo::skin::win32::SetHelpLineWindow(host_.get());
  }
  void TearDown() override {
    kavo::skin::win32::SetHelpLineWindow(nullptr);
  }

  // Presses Escape and Enter with the keyboard focus on the page.
  void TypeEscapeAndEnter(HWND page) {
    ::SetForegroundWindow(host_.get());
    ::SetFocus(page);
    Pump(100);
    ASSERT_TRUE(XSession::XDo("key Escape"));
    Pump(150);
    ASSERT_TRUE(XSession::XDo("key Return"));
    Pump(300);
  }

  HINSTANCE instance_ = ::GetModuleHandleA(nullptr);
  option::win32::OleThread ole_;
  HostWindow host_;
};

// ---- the update page

class UpdatePageTest : public SupportPagesTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(SupportPagesTest::SetUp());
    page_ = std::make_unique<option::win32::UpdatePageWindow>(instance_, shell_, help_,
                                                              kavo::skin::Point{kPageAt.x, kPageAt.y});
    ASSERT_TRUE(page_->Create(host_.get()));
    ::ShowWindow(page_->window(), SW_SHOW);
    ::UpdateWindow(page_->window());
    Pump(200);
  }
  void TearDown() override {
    if (page_ != nullptr && page_->window() != nullptr) PointerAway(page_->window());
    page_.reset();
    SupportPagesTest::TearDown();
  }

  // How many pixels of a page rectangle the screen shows otherwise than the background picture has them,
  // and whether one of them has the version texts' colour.
  struct TextPixels {
    int differing = 0;
    bool textColour = false;
  };
  TextPixels TextPixelsIn(const kavo::skin::Rect& r) {
    Pump(200);
    const win32::UniqueBitmap background = kavo::skin::win32::LoadPicture(instance_, updateArt::kBackgroundPicture);
    const RECT area{r.left, r.top, r.right, r.bottom};
    const win32::UniqueBitmap shown = skin::CaptureClient(page_->window(), area);
    TextPixels result;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        const COLORREF seen = skin::PixelOf(shown.get(), x - r.left, y - r.top);
        if (seen != skin::PixelOf(background.get(), x, y)) ++result.differing;
        if (seen == RGB(0xF0, 0xF0, 0xF0)) result.textColour = true;
      }
    }
    return result;
  }

  RecordingShell shell_;
  FakeHelp help_;
  std::unique_ptr<option::win32::UpdatePageWindow> page_;
};

TEST_F(UpdatePageTest, EachButtonShowsItsHelpTextAndCursorAndOpensItsAddress) {
  struct Case {
    const char* layout;
    SupportAddress opens;
    int helpId;
    bool hand;
  };
  // Both support-form buttons carry the same name: only their places tell them apart.
  const Case cases[] = {
      {updateArt::kButtonUpdate, SupportAddress::kDriverDownload, 1042, false},
      {updateArt::kButtonHelp, SupportAddress::kOnlineHelp, 1044, false},
      {updateArt::kButtonEmailRequest, SupportAddress::kMailRequest, 1043, true},
      {updateArt::kSupportForm, SupportAddress::kSupportForm, 1045, true},
      {updateArt::kSupportMail, SupportAddress::kMailRequest, 1046, true},
  };
  const HCURSOR hand = ::LoadCursorA(instance_, MAKEINTRESOURCEA(kavo::skin::win32::kHandCursorId));
  ASSERT_NE(hand, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    const kavo::skin::Rect bounds = LayoutBounds(c.layout);
    ASSERT_TRUE(PointAt(page_->window(), bounds));
    EXPECT_TRUE(PumpUntil([&] { return kavo::skin::win32::CurrentHelpText() == help_.Text(c.helpId); }, kReactionMs))
        << "help text shown: " << kavo::skin::win32::CurrentHelpText();
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    ASSERT_TRUE(::GetCursorInfo(&cursor));
    EXPECT_EQ(cursor.hCursor == hand, c.hand);

    shell_.opened.clear();
    ASSERT_TRUE(XSession::XDo("click 1"));
    ASSERT_TRUE(PumpUntil([&] { return !shell_.opened.empty(); }, kReactionMs)) << "the click opened nothing";
    Pump(200);
    ASSERT_EQ(shell_.opened.size(), 1u);
    EXPECT_EQ(shell_.opened[0], option::SupportAddressText(option::DefaultSupportSite(), c.opens));
    PointerAway(page_->window());
  }
}

TEST_F(UpdatePageTest, UpperSupportFormOpensTheFormAndLowerWritesAnEmail) {
  ASSERT_TRUE(ClickAt(page_->window(), LayoutBounds(updateArt::kSupportForm)));
  ASSERT_TRUE(ClickAt(page_->window(), LayoutBounds(updateArt::kSupportMail)));
  ASSERT_TRUE(PumpUntil([&] { return shell_.opened.size() == 2; }, kReactionMs));
  EXPECT_EQ(shell_.opened[0].rfind("http://", 0), 0u) << shell_.opened[0];
  EXPECT_NE(shell_.opened[0].find("/Support-Form/"), std::string::npos) << shell_.opened[0];
  EXPECT_EQ(shell_.opened[1].rfind("mailto:", 0), 0u) << shell_.opened[1];
}

TEST_F(UpdatePageTest, ReloadedHelpTextsComeFromTheLibraryNowHeld) {
  const kavo::skin::Rect update = LayoutBounds(updateArt::kButtonUpdate);
  ASSERT_TRUE(PointAt(page_->window(), update));
  EXPECT_TRUE(PumpUntil([&] { return kavo::skin::win32::CurrentHelpText() == "first text 1042"; }, kReactionMs));
  PointerAway(page_->window());

  help_.language = "second";
  page_->ReloadHelpTexts();
  ASSERT_TRUE(PointAt(page_->window(), update));
  EXPECT_TRUE(PumpUntil([&] { return kavo::skin::win32::CurrentHelpText() == "second text 1042"; }, kReactionMs))
      << "help text shown: " << kavo::skin::win32::CurrentHelpText();
}

TEST_F(UpdatePageTest, VersionsArePaintedAfterAVInTheTextColourAndRepainted) {
  const kavo::skin::Rect program = LayoutBounds(updateArt::kProgramVersion);
  const kavo::skin::Rect firmware = LayoutBounds(updateArt::kFirmwareVersion);
  // Before any version: a lone "V" at each place.
  const TextPixels programBefore = TextPixelsIn(program);
  const TextPixels firmwareBefore = TextPixelsIn(firmware);
  EXPECT_GT(programBefore.differing, 0);
  EXPECT_TRUE(programBefore.textColour);
  EXPECT_GT(firmwareBefore.differing, 0);

  page_->SetVersions("1.41", "N/A");
  const TextPixels programAfter = TextPixelsIn(program);
  const TextPixels firmwareAfter = TextPixelsIn(firmware);
  EXPECT_GT(programAfter.differing, programBefore.differing * 2);
  EXPECT_GT(firmwareAfter.differing, firmwareBefore.differing * 2);
  EXPECT_TRUE(programAfter.textColour);
  EXPECT_TRUE(firmwareAfter.textColour);
  // Drawn transparently and only there: the rows between the two texts stay background.
  EXPECT_EQ(TextPixelsIn({program.left, program.bottom + 1, program.right, firmware.top - 1}).differing, 0);
  XSession::Screenshot("option-update-page");

  // A shorter text takes the place of the longer one: nothing of the old text is left.
  page_->SetVersions("1.41", "");
  EXPECT_EQ(TextPixelsIn(firmware).differing, firmwareBefore.differing);
}

TEST_F(UpdatePageTest, EscapeAndEnterCloseNothing) {
  ASSERT_NO_FATAL_FAILURE(TypeEscapeAndEnter(page_->window()));
  EXPECT_TRUE(::IsWindow(page_->window()));
  EXPECT_TRUE(::IsWindowVisible(page_->window()));
  EXPECT_TRUE(shell_.opened.empty());
}

// ---- the shell

// An address scheme of the test's own whose open command writes the address it was given into a file.
// Registered in the merged classes root: Wine 8's shell does not look under HKCU\Software\Classes for a
// scheme's command.
class PrivateScheme {
 public:
  PrivateScheme(const std::string& scheme, const std::string& command) : path_(scheme) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, (path_ + "\\shell\\open\\command").c_str(), 0, nullptr, 0, KEY_WRITE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return;
    }
    const win32::UniqueRegistryKey commandKey(key);
    ok_ = ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                           static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
    HKEY top = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, path_.c_str(), 0, KEY_WRITE, &top) == ERROR_SUCCESS) {
      const win32::UniqueRegistryKey topKey(top);
      const char description[] = "URL:kavo test";
      ::RegSetValueExA(top, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(description), sizeof description);
      ::RegSetValueExA(top, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    }
  }
  ~PrivateScheme() { ::RegDeleteTreeA(HKEY_CLASSES_ROOT, path_.c_str()); }
  PrivateScheme(const PrivateScheme&) = delete;
  PrivateScheme& operator=(const PrivateScheme&) = delete;
  bool ok() const { return ok_; }

 private:
  std::string path_;
  bool ok_ = false;
};

std::string ReadFileText(const std::string& path) {
  const win32::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  char buffer[256] = {};
  DWORD read = 0;
  ::ReadFile(file.get(), buffer, sizeof buffer - 1, &read, nullptr);
  return std::string(buffer, read);
}

TEST(ShellAddressesTest, OpensAnAddressWithTheProgramRegisteredForItsScheme) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const std::string written = folder.File("opened.txt");
  char system[MAX_PATH + 1] = {};
  ASSERT_GT(::GetSystemDirectoryA(system, MAX_PATH), 0u);
  {
    const PrivateScheme scheme("kavotest", std::string(system) + "\\cmd.exe /c \"echo %1>" + written + "\"");
    ASSERT_TRUE(scheme.ok());
    option::win32::ShellAddresses shell;
    shell.Open("kavotest:abc");
    EXPECT_TRUE(WaitFor([&] { return ReadFileText(written).find("kavotest:abc") != std::string::npos; }, 15000))
        << "written: " << ReadFileText(written);
  }
  HKEY gone = nullptr;
  EXPECT_NE(::RegOpenKeyExA(HKEY_CLASSES_ROOT, "kavotest", 0, KEY_READ, &gone), ERROR_SUCCESS);
  if (gone != nullptr) ::RegCloseKey(gone);
}

// ---- the help page

class HelpPageTest : public SupportPagesTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(SupportPagesTest::SetUp());
    page_ = std::make_unique<option::win32::HelpPageWindow>(instance_, kClosedPort,
                                                            kavo::skin::Point{kPageAt.x, kPageAt.y});
    ASSERT_TRUE(page_->Create(host_.get()));
    ::ShowWindow(page_->window(), SW_SHOW);
    ::UpdateWindow(page_->window());
    Pump(200);
    const std::vector<HWND> children = VisibleChildren(page_->window());
    ASSERT_EQ(children.size(), 1u) << "the start button alone";
    start_ = children.front();
  }
  void TearDown() override {
    if (page_ != nullptr && page_->window() != nullptr) PointerAway(page_->window());
    page_.reset();
    SupportPagesTest::TearDown();
  }

  // The discard port of this machine, where nothing listens.
  inline static const option::SupportSite kClosedPort{"127.0.0.1:9", "nobody@localhost"};
  std::unique_ptr<option::win32::HelpPageWindow> page_;
  HWND start_ = nullptr;
};

TEST_F(HelpPageTest, StartButtonTakesItsPicturesSizeAndTheLayoutsSentence) {
  RECT bounds{};
  ::GetWindowRect(start_, &bounds);
  ::MapWindowPoints(nullptr, page_->window(), reinterpret_cast<POINT*>(&bounds), 2);
  const kavo::skin::Rect layout = LayoutBounds(helpArt::kButton1);
  EXPECT_EQ(bounds.left, layout.left);
  EXPECT_EQ(bounds.top, layout.top);
  const kavo::skin::Extent picture = [&] {
    const win32::UniqueBitmap normal = kavo::skin::win32::LoadPicture(instance_, helpArt::kStartNormalPicture);
    BITMAP description{};
    ::GetObjectA(normal.get(), sizeof description, &description);
    return kavo::skin::Extent{description.bmWidth, description.bmHeight};
  }();
  EXPECT_EQ(picture.width, 179);
  EXPECT_EQ(bounds.right - bounds.left, picture.width);
  EXPECT_EQ(bounds.bottom - bounds.top, picture.height);
  // The button shows its own normal picture, not a cut of the page's background.
  const win32::UniqueBitmap normal = kavo::skin::win32::LoadPicture(instance_, helpArt::kStartNormalPicture);
  EXPECT_EQ(skin::ScreenPixel(start_, picture.width / 2, picture.height / 2),
            skin::PixelOf(normal.get(), picture.width / 2, picture.height / 2));

  ASSERT_TRUE(PointAt(page_->window(), {bounds.left, bounds.top, bounds.right, bounds.bottom}));
  const std::string sentence = kavo::skin::ParseLayout(helpArt::kButton1)->text;
  EXPECT_FALSE(sentence.empty());
  EXPECT_TRUE(PumpUntil([&] { return kavo::skin::win32::CurrentHelpText() == sentence; }, kReactionMs))
      << "help text shown: " << kavo::skin::win32::CurrentHelpText();
  XSession::Screenshot("option-help-page");
}

TEST_F(HelpPageTest, StartHidesTheButtonForGoodAndLeavesABrowserOrAnEmptyPageWithoutHanging) {
  const std::vector<HWND> windowsBefore = VisibleTopLevelWindows();
  RECT bounds{};
  ::GetWindowRect(start_, &bounds);
  ::MapWindowPoints(nullptr, page_->window(), reinterpret_cast<POINT*>(&bounds), 2);
  const kavo::skin::Rect button{bounds.left, bounds.top, bounds.right, bounds.bottom};

  const DWORD clicked = ::GetTickCount();
  ASSERT_TRUE(ClickAt(page_->window(), button));
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(start_); }, kReactionMs)) << "the start button stayed";
  Pump(1000);
  EXPECT_LT(::GetTickCount() - clicked, 8000u) << "the page was held up";

  // Whatever the browser did, the page still answers at once.
  DWORD_PTR answer = 0;
  EXPECT_NE(::SendMessageTimeoutA(page_->window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0);
  // No installer, no message box: nothing new on the screen.
  EXPECT_EQ(VisibleTopLevelWindows(), windowsBefore);

  const std::vector<HWND> children = VisibleChildren(page_->window());
  if (children.empty()) {
    std::printf("[   INFO   ] no browser control here: the help page stays empty\n");
  } else {
    ASSERT_EQ(children.size(), 1u);
    RECT area{};
    ::GetWindowRect(children.front(), &area);
    ::MapWindowPoints(nullptr, page_->window(), reinterpret_cast<POINT*>(&area), 2);
    char name[64] = {};
    ::GetClassNameA(children.front(), name, sizeof name);
    std::printf("[   INFO   ] browser control \"%s\" at %ld,%ld-%ld,%ld\n", name, area.left, area.top, area.right,
                area.bottom);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right, 785);
    EXPECT_EQ(area.bottom, 330);
  }
  XSession::Screenshot("option-help-page-started");

  // The button's place takes no more clicks: it stays hidden.
  ASSERT_TRUE(ClickAt(page_->window(), button));
  Pump(300);
  EXPECT_FALSE(::IsWindowVisible(start_));

  // The page goes with its browser, and the thread goes on.
  page_.reset();
  Pump(300);
  EXPECT_NE(::SendMessageTimeoutA(host_.get(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0);
}

TEST_F(HelpPageTest, EscapeAndEnterCloseNothing) {
  ASSERT_NO_FATAL_FAILURE(TypeEscapeAndEnter(page_->window()));
  EXPECT_TRUE(::IsWindow(page_->window()));
  EXPECT_TRUE(::IsWindowVisible(start_));
}

}  // namespace
}  // namespace kavo::wine_test
