// The main settings page window against the real API and real X input: a test window holds the page over
// a real working record, with the real confirmation box, double-click time and animation control, and a
// fake main window. What the page shows is read back from the screen (the artwork's pressed and normal
// pictures), the sliders and the value control; what it writes is read from the record.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "artwork/main_settings_page.h"
#include "artwork/message_box_a.h"
#include "option/main_settings/main_settings_controls.h"
#include "option/main_settings/main_settings_page.h"
#include "option/main_settings/win32/main_settings_ports_win32.h"
#include "option/main_settings/win32/main_settings_window.h"
#include "settings/language.h"
#include "settings/settings_record.h"
#include "platform/win32/module_folder.h"
#include "skin/layout.h"
#include "skin/slider_math.h"
#include "skin/win32/help_text.h"
#include "tests/wine/skin_control_host.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {
namespace {

namespace art = artwork::main_settings_page;
using option::HelpLibrary;
using option::MainSettingsPage;
using option::MainSettingsPorts;
using option::MainWindowActions;
using option::win32::MainSettingsWindow;
using option::win32::SkinConfirmation;
using option::win32::Win32DoubleClickTimer;
using option::win32::Win32SystemLanguage;
using skin::ControlHost;
using skin::Pump;
using skin::PumpUntil;

constexpr int kPageLeft = 10, kPageTop = 10;

class FakeMainWindow : public MainWindowActions {
 public:
  void RefreshAll() override {
    calls.push_back("refresh");
    if (page != nullptr) page->Refresh();
  }
  void ReloadHelp() override { calls.push_back("help"); }
  void Apply(int request) override { calls.push_back("apply " + std::to_string(request)); }
  MainSettingsWindow* page = nullptr;
  std::vector<std::string> calls;
};

class FakeHelp : public HelpLibrary {
 public:
  std::string Text(int stringNumber) const override {
    const auto found = texts.find(stringNumber);
    return found != texts.end() ? found->second : std::string();
  }
  std::map<int, std::string> texts;
};

class MainSettingsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDoubleClickTime_ = ::GetDoubleClickTime();
    ResetToDefaults(*record_, kEnglish);
    ResetOSDSetting(osd_);
    ASSERT_TRUE(host_.Open());
    confirmation_.SetOwner(host_.window());
    window_ = std::make_unique<MainSettingsWindow>(::GetModuleHandleA(nullptr), page_, help_, win32::ModuleFolder(),
                                                   kavo::skin::Point{kPageLeft, kPageTop});
    ASSERT_TRUE(window_->Create(host_.window()));
    main_.page = window_.get();
    ::ShowWindow(window_->window(), SW_SHOW);
    window_->Refresh();
    PointerAway();
  }
  void TearDown() override {
    window_.reset();
    ::SetDoubleClickTime(savedDoubleClickTime_);
  }

  ProfileRecord& Active() { return record_->profiles[record_->CurrentProfile]; }
  HWND page() const { return window_->window(); }

  POINT OnScreen(int x, int y) const { return skin::OnScreen(page(), x, y); }
  POINT Centre(const char* layout) const {
    const auto r = kavo::skin::LayoutBounds(layout);
    return OnScreen((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  // A real click (X input) on a point of the page, then the messages it makes handled.
  void ClickAt(POINT at) {
    ASSERT_TRUE(XSession::ClickAt(at.x, at.y));
    Pump(150);
  }
  void ClickWindow(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  // The pointer off the page but still over the test window below it, so no button shows its hover
  // picture: Wine hears of X pointer moves only over its own windows.
  void PointerAway() {
    const POINT below = skin::OnScreen(host_.window(), 400, 332);
    XSession::MoveTo(below.x, below.y);
    Pump(150);
  }

  // Whether the page shows the pressed (true) or normal (false) picture in a layout's rectangle, judged
  // on the pixels where the two pictures differ; nothing when the screen shows neither.
  std::optional<bool> ShownPressed(const char* layout) const {
    const auto r = kavo::skin::LayoutBounds(layout);
    const RECT area{r.left, r.top, r.right, r.bottom};
    const skin::Pixels shown = skin::ReadPixels(page(), area);
    int differing = 0, pressed = 0, normal = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        const COLORREF p = pressedPixels_.At(x, y);
        const COLORREF n = normalPixels_.At(x, y);
        if (p == n) continue;
        ++differing;
        pressed += shown.At(x, y) == p;
        normal += shown.At(x, y) == n;
      }
    }
    if (differing == 0) return std::nullopt;
    if (pressed * 10 >= differing * 9) return true;
    if (normal * 10 >= differing * 9) return false;
    return std::nullopt;
  }

  std::string EditText() const {
    char text[16] = {};
    ::GetWindowTextA(window_->sensitivityEdit()->window(), text, sizeof text);
    return text;
  }
  int SliderValue(int id) const { return window_->slider(id)->value(); }

  // Sends the track the release of a click at its column x, as the mouse would.
  void ClickTrack(int id, int x) {
    ::SendMessageA(window_->slider(id)->window(), WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
    Pump(60);
  }

  UINT savedDoubleClickTime_ = 500;
  std::unique_ptr<SettingsRecord> record_ = std::make_unique<SettingsRecord>();
  OSDSetting osd_{};
  FakeMainWindow main_;
  Win32SystemLanguage language_;
  Win32DoubleClickTimer timer_;
  SkinConfirmation confirmation_{::GetModuleHandleA(nullptr), nullptr};
  MainSettingsPage page_{*record_, osd_, MainSettingsPorts{confirmation_, main_, language_, timer_}};
  FakeHelp help_;
  // The page's whole-window pictures, read once.
  const skin::Pixels pressedPixels_ = skin::PicturePixels(art::kPressedPicture, art::kWidth, art::kHeight);
  const skin::Pixels normalPixels_ = skin::PicturePixels(art::kNormalPicture, art::kWidth, art::kHeight);
  ControlHost host_{800, 340};
  std::unique_ptr<MainSettingsWindow> window_;
};

TEST_F(MainSettingsWindowTest, RefreshShowsTheActiveProfile) {
  record_->CurrentProfile = 2;
  ProfileRecord& profile = Active();
  profile.Sensitivity_X = 4;
  profile.ScrollWheelSpeed = 6;
  profile.TiltSpeed = 3;
  profile.MouseSpeed = 10;  // between the table's values: the middle
  profile.DbleClickSpeed = 500;
  profile.AccelerationFlag = 1;
  profile.ScrollWheelFlag = 1;
  profile.Cpi_X = profile.Cpi_Y = 2;
  window_->Refresh();
  Pump(150);

  EXPECT_EQ(SliderValue(option::kSensitivitySlider), 4);
  EXPECT_EQ(SliderValue(option::kScrollSpeedSlider), 6);
  EXPECT_EQ(SliderValue(option::kTiltSpeedSlider), 3);
  EXPECT_EQ(SliderValue(option::kPointSpeedSlider), 6);
  EXPECT_EQ(SliderValue(option::kDoubleClickSlider), 400);
  EXPECT_EQ(EditText(), "4");
  EXPECT_EQ(ShownPressed(art::kEnableMouseAcceleration), true);
  EXPECT_EQ(ShownPressed(art::kOnePage), true);
  EXPECT_EQ(ShownPressed(art::kNotOnePage), false);
  EXPECT_EQ(ShownPressed(art::kDpi400), false);
  EXPECT_EQ(ShownPressed(art::kDpi800), true);
  EXPECT_EQ(ShownPressed(art::kDpi1600), false);
  // The thumbs stand where their values put them: further right for the larger value.
  RECT low{}, high{};
  ::GetWindowRect(window_->slider(option::kTiltSpeedSlider)->thumb().window(), &low);
  ::GetWindowRect(window_->slider(option::kScrollSpeedSlider)->thumb().window(), &high);
  const auto tilt = kavo::skin::LayoutBounds(art::kTiltSpeed);
  const auto scroll = kavo::skin::LayoutBounds(art::kScrollSpeed);
  EXPECT_LT(low.left - OnScreen(tilt.left, 0).x, high.left - OnScreen(scroll.left, 0).x);
  XSession::Screenshot("option-main-settings");

  // A resolution without a button (from the mouse's own button) leaves the three as they were.
  profile.Cpi_X = profile.Cpi_Y = 3;
  profile.AccelerationFlag = 0;
  window_->Refresh();
  Pump(150);
  EXPECT_EQ(ShownPressed(art::kDpi800), true);
  EXPECT_EQ(ShownPressed(art::kEnableMouseAcceleration), false);
}

TEST_F(MainSettingsWindowTest, TheSensitivitySliderAndTheValueControlMoveTogether) {
  const auto track = kavo::skin::LayoutBounds(art::kSensitivitySlider);
  int seven = -1;
  for (int x = 0; x < track.Width() && seven < 0; ++x) {
    if (kavo::skin::TrackClickValue(track.left + x, track.left, track.right, kavo::skin::SliderRange(1, 10), true) == 7) seven = x;
  }
  ASSERT_GE(seven, 0);
  ClickTrack(option::kSensitivitySlider, seven);
  EXPECT_EQ(Active().Sensitivity_X, 7);
  EXPECT_EQ(Active().Sensitivity_Y, 7);
  EXPECT_EQ(EditText(), "7");
  EXPECT_EQ(SliderValue(option::kSensitivitySlider), 7);

  ClickWindow(window_->decreaseButton());
  EXPECT_EQ(Active().Sensitivity_X, 6);
  EXPECT_EQ(Active().Sensitivity_Y, 6);
  EXPECT_EQ(EditText(), "6");
  EXPECT_EQ(SliderValue(option::kSensitivitySlider), 6);
}

TEST_F(MainSettingsWindowTest, TheValueControlStopsAtItsEnds) {
  struct Case {
    const char* name;
    int start;
    bool increase;
    int expected[3];  // after each of three clicks
  };
  const Case cases[] = {{"Up", 8, true, {9, 10, 10}}, {"Down", 3, false, {2, 1, 1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Active().Sensitivity_X = Active().Sensitivity_Y = c.start;
    window_->Refresh();
    Pump(60);
    for (const int expected : c.expected) {
      ClickWindow(c.increase ? window_->increaseButton() : window_->decreaseButton());
      EXPECT_EQ(Active().Sensitivity_X, expected);
      EXPECT_EQ(Active().Sensitivity_Y, expected);
      EXPECT_EQ(EditText(), std::to_string(expected));
      EXPECT_EQ(SliderValue(option::kSensitivitySlider), expected);
    }
  }
}

TEST_F(MainSettingsWindowTest, TypedTextCountsOnlyItsDigitsAndEnterClampsIt) {
  const HWND edit = window_->sensitivityEdit()->window();
  ClickWindow(edit);
  ASSERT_EQ(::GetFocus(), edit);
  ::SendMessageA(edit, EM_SETSEL, 0, -1);
  for (const WORD key : {WORD{'1'}, WORD{'2'}, WORD{'A'}, WORD{'3'}}) skin::Type(key);
  Pump(100);
  EXPECT_EQ(EditText(), "12") << "two characters at most, and no letters";
  EXPECT_EQ(Active().Sensitivity_X, 10) << "the record holds the range";
  EXPECT_EQ(SliderValue(option::kSensitivitySlider), 10);
  skin::Type(VK_RETURN);
  Pump(100);
  EXPECT_EQ(EditText(), "10");

  ::SendMessageA(edit, EM_SETSEL, 0, -1);
  skin::Type('4');
  Pump(100);
  EXPECT_EQ(Active().Sensitivity_X, 4);
  EXPECT_EQ(Active().Sensitivity_Y, 4);
  EXPECT_EQ(SliderValue(option::kSensitivitySlider), 4);
}

TEST_F(MainSettingsWindowTest, WheelPairAndResolutionButtonsWriteAndShowTheirChoice) {
  struct Case {
    const char* click;
    int scrollWheelFlag;
    int cpi;
  };
  const Case cases[] = {
      {art::kOnePage, 1, 1},  {art::kDpi1600, 1, 4}, {art::kNotOnePage, 0, 4},
      {art::kDpi800, 0, 2},   {art::kDpi400, 0, 1},
  };
  Active().ScrollWheelFlag = 0;
  Active().Cpi_X = Active().Cpi_Y = 1;
  window_->Refresh();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.click);
    ClickAt(Centre(c.click));
    PointerAway();
    EXPECT_EQ(Active().ScrollWheelFlag, c.scrollWheelFlag);
    EXPECT_EQ(Active().Cpi_X, c.cpi);
    EXPECT_EQ(Active().Cpi_Y, c.cpi);
    EXPECT_EQ(ShownPressed(art::kNotOnePage), c.scrollWheelFlag == 0);
    EXPECT_EQ(ShownPressed(art::kOnePage), c.scrollWheelFlag == 1);
    EXPECT_EQ(ShownPressed(art::kDpi400), c.cpi == 1);
    EXPECT_EQ(ShownPressed(art::kDpi800), c.cpi == 2);
    EXPECT_EQ(ShownPressed(art::kDpi1600), c.cpi == 4);
  }
}

TEST_F(MainSettingsWindowTest, TheAccelerationCheckBoxWritesEightOrZero) {
  Active().AccelerationFlag = 0;
  Active().Acceleration = 0;
  window_->Refresh();
  const int expected[][2] = {{1, 8}, {0, 0}, {1, 8}};
  for (const auto& e : expected) {
    ClickAt(Centre(art::kEnableMouseAcceleration));
    PointerAway();
    EXPECT_EQ(Active().AccelerationFlag, e[0]);
    EXPECT_EQ(Active().Acceleration, e[1]);
    EXPECT_EQ(ShownPressed(art::kEnableMouseAcceleration), e[0] == 1);
  }
  // Disabled, the ticked box still shows its pressed picture.
  ::EnableWindow(::ChildWindowFromPoint(page(), POINT{kavo::skin::LayoutBounds(art::kEnableMouseAcceleration).left + 2,
                                                      kavo::skin::LayoutBounds(art::kEnableMouseAcceleration).top + 2}),
                 FALSE);
  Pump(100);
  EXPECT_EQ(ShownPressed(art::kEnableMouseAcceleration), true);
}

TEST_F(MainSettingsWindowTest, TheDoubleClickSliderSetsTheSystemTimeAtOnce) {
  struct Case {
    const char* name;
    int towards;  // screen pixels to drag the thumb by
    int time;
  };
  const Case cases[] = {{"RightEnd", 400, 200}, {"LeftEnd", -400, 900}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RECT thumb{};
    ::GetWindowRect(window_->slider(option::kDoubleClickSlider)->thumb().window(), &thumb);
    const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
    ASSERT_TRUE(XSession::MoveTo(x, y));
    Pump(80);
    ASSERT_TRUE(XSession::XDo("mousedown 1"));
    Pump(80);
    ASSERT_TRUE(XSession::XDo("mousemove " + std::to_string(x + c.towards / 2) + " " + std::to_string(y)));
    Pump(80);
    ASSERT_TRUE(XSession::XDo("mousemove " + std::to_string(x + c.towards) + " " + std::to_string(y)));
    Pump(80);
    ASSERT_TRUE(XSession::XDo("mouseup 1"));
    Pump(150);
    EXPECT_EQ(Active().DbleClickSpeed, c.time);
    EXPECT_EQ(::GetDoubleClickTime(), static_cast<UINT>(c.time));
  }
  PointerAway();
}

TEST_F(MainSettingsWindowTest, ResetAsksAndOnlyOkResetsEveryProfile) {
  for (int p = 0; p < kProfileCount; ++p) {
    record_->profiles[p].Sensitivity_X = record_->profiles[p].Sensitivity_Y = 2 + p;
    record_->profiles[p].DbleClickSpeed = 333;
  }
  record_->CurrentProfile = 3;
  window_->Refresh();
  const auto before = std::make_unique<SettingsRecord>(*record_);

  // The box is worked from another thread while the click's handler runs it on this one.
  const auto resetAnswering = [&](const char* answer) {
    std::thread user([&] {
      HWND box = nullptr;
      for (int i = 0; i < 300 && box == nullptr; ++i) {
        const HWND found = ::FindWindowA(MAKEINTATOM(32770), nullptr);
        if (found != nullptr && found != host_.window() && ::IsWindowVisible(found)) box = found;
        ::Sleep(10);
      }
      if (box == nullptr) return;
      ::Sleep(200);
      const auto r = kavo::skin::LayoutBounds(answer);
      const POINT at = skin::OnScreen(box, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
      XSession::ClickAt(at.x, at.y);
    });
    ASSERT_TRUE(XSession::ClickAt(Centre(art::kButtonReset).x, Centre(art::kButtonReset).y));
    Pump(1500);
    user.join();
    Pump(150);
  };

  resetAnswering(artwork::message_box_a::kButtonCancel);
  EXPECT_EQ(std::memcmp(before.get(), record_.get(), sizeof(SettingsRecord)), 0) << "Cancel changes nothing";
  EXPECT_TRUE(main_.calls.empty());

  resetAnswering(artwork::message_box_a::kButtonOk);
  auto defaults = std::make_unique<SettingsRecord>();
  ResetToDefaults(*defaults, language_.LanguageNumber());
  EXPECT_EQ(record_->CurrentProfile, 0);
  for (int p = 0; p < kProfileCount; ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(std::memcmp(&record_->profiles[p], &defaults->profiles[p], sizeof(ProfileRecord)), 0);
  }
  EXPECT_EQ(main_.calls, (std::vector<std::string>{"refresh", "help", "apply 1"}));
  EXPECT_EQ(EditText(), std::to_string(defaults->profiles[0].Sensitivity_X));
  EXPECT_EQ(SliderValue(option::kSensitivitySlider), defaults->profiles[0].Sensitivity_X);
}

TEST_F(MainSettingsWindowTest, HelpTextsComeFromTheLibraryOrTheLayout) {
  kavo::skin::win32::SetHelpLineWindow(host_.window());
  struct Case {
    const char* name;
    std::map<int, std::string> library;
    std::string shown;
  };
  const Case cases[] = {{"Library", {{option::kHelpReset, "Back to the defaults"}}, "Back to the defaults"},
                        {"LayoutWhenMissing", {}, "Reset"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    help_.texts = c.library;
    window_->ReloadHelpTexts();
    PointerAway();
    ASSERT_TRUE(XSession::MoveTo(Centre(art::kButtonReset).x, Centre(art::kButtonReset).y));
    EXPECT_TRUE(PumpUntil([&] { return kavo::skin::win32::CurrentHelpText() == c.shown; }, 2000))
        << kavo::skin::win32::CurrentHelpText();
  }
  PointerAway();
  kavo::skin::win32::SetHelpLineWindow(nullptr);
}

TEST_F(MainSettingsWindowTest, ADoubleClickOnTheTestAreaPlaysTheAnimationOnce) {
  const HWND area = window_->testArea();
  ASSERT_NE(area, nullptr);
  EXPECT_TRUE(window_->doubleClickTest().View().showsPicture);
  // Before: the picture file, stretched over the area, is on the screen (not the page behind it).
  const auto r = kavo::skin::LayoutBounds(art::kDoubleClickTest);
  const kavo::win32::UniqueBitmap file(static_cast<HBITMAP>(
      ::LoadImageA(nullptr, window_->doubleClickTest().PicturePath().c_str(), IMAGE_BITMAP, r.Width(), r.Height(),
                   LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  ASSERT_TRUE(file);
  const skin::Pixels before = skin::ReadPixels(page(), RECT{r.left, r.top, r.right, r.bottom});
  int same = 0;
  for (int y = 0; y < r.Height(); ++y) {
    for (int x = 0; x < r.Width(); ++x) same += before.At(r.left + x, r.top + y) == skin::PixelOf(file.get(), x, y);
  }
  EXPECT_GE(same * 10, r.Width() * r.Height() * 9) << "the picture file fills the area";

  ClickWindow(area);  // a single click does nothing
  Pump(700);          // well past the double-click time
  EXPECT_EQ(window_->animation(), nullptr);

  RECT bounds{};
  ::GetWindowRect(area, &bounds);
  ASSERT_TRUE(XSession::MoveTo((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2));
  ASSERT_TRUE(XSession::XDo("click --repeat 2 --delay 60 1"));
  ASSERT_TRUE(PumpUntil([&] { return window_->animation() != nullptr; }, 3000));
  const HWND animation = window_->animation();
  char className[32] = {};
  ::GetClassNameA(animation, className, sizeof className);
  EXPECT_STREQ(className, ANIMATE_CLASSA);
  EXPECT_EQ(::GetParent(animation), area);
  EXPECT_TRUE(::IsWindowVisible(animation));
  EXPECT_TRUE(window_->doubleClickTest().View().animationOpen);
  EXPECT_FALSE(window_->doubleClickTest().View().showsPicture);
  // The play ends by itself and the control's stop notice reaches the test, which rewinds.
  EXPECT_TRUE(PumpUntil([&] { return !window_->doubleClickTest().View().playing; }, 5000));
  EXPECT_FALSE(::SendMessageA(animation, ACM_ISPLAYING, 0, 0));

  // Another double click plays again in the same control.
  ASSERT_TRUE(XSession::XDo("click --repeat 2 --delay 60 1"));
  EXPECT_TRUE(PumpUntil([&] { return window_->doubleClickTest().View().playing; }, 3000));
  EXPECT_EQ(window_->animation(), animation);
  EXPECT_TRUE(PumpUntil([&] { return !window_->doubleClickTest().View().playing; }, 5000));
  PointerAway();
}

// The three media files the build makes, in "wave\" beside the programs.
class DoubleClickMediaFiles : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return win32::ModuleFolder() + "wave\\" + name; }
};

TEST_F(DoubleClickMediaFiles, TheAnimationControlOpensTheAnimationAndNothingElse) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_ANIMATE_CLASS};
  ASSERT_TRUE(::InitCommonControlsEx(&controls));
  const kavo::win32::UniqueWindow animation(::CreateWindowExA(0, ANIMATE_CLASSA, "", WS_POPUP, 0, 0, 41, 22, nullptr,
                                                        nullptr, ::GetModuleHandleA(nullptr), nullptr));
  ASSERT_TRUE(animation);
  EXPECT_TRUE(::SendMessageA(animation.get(), ACM_OPENA, 0,
                             reinterpret_cast<LPARAM>(Path("double_click.avi").c_str())));
  // The control fits itself to the frames: the area's size.
  RECT size{};
  ::GetWindowRect(animation.get(), &size);
  EXPECT_EQ(size.right - size.left, 41);
  EXPECT_EQ(size.bottom - size.top, 22);
  EXPECT_FALSE(::SendMessageA(animation.get(), ACM_OPENA, 0,
                              reinterpret_cast<LPARAM>(Path("double_click.wav").c_str())))
      << "a file that is no animation is refused";
}

TEST_F(DoubleClickMediaFiles, ThePictureLoadsAtTheAreasSize) {
  const kavo::win32::UniqueBitmap picture(static_cast<HBITMAP>(::LoadImageA(nullptr, Path("double_click.bmp").c_str(), IMAGE_BITMAP,
                                                               0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  ASSERT_TRUE(picture);
  BITMAP description{};
  ASSERT_EQ(::GetObjectA(picture.get(), sizeof description, &description), static_cast<int>(sizeof description));
  EXPECT_EQ(description.bmWidth % 41, 0);
  EXPECT_EQ(description.bmWidth / 41, description.bmHeight / 22);
  EXPECT_EQ(description.bmHeight % 22, 0);
}

TEST_F(DoubleClickMediaFiles, TheSoundIsAShortMonoClickThatPlays) {
  const std::string path = Path("double_click.wav");
  HMMIO file = ::mmioOpenA(const_cast<char*>(path.c_str()), nullptr, MMIO_READ);
  ASSERT_NE(file, nullptr);
  MMCKINFO riff{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  ASSERT_EQ(::mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
  MMCKINFO chunk{};
  chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
  ASSERT_EQ(::mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
  PCMWAVEFORMAT format{};
  ASSERT_EQ(::mmioRead(file, reinterpret_cast<HPSTR>(&format), sizeof format), static_cast<LONG>(sizeof format));
  ::mmioAscend(file, &chunk, 0);
  chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
  ASSERT_EQ(::mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
  ::mmioClose(file, 0);
  EXPECT_EQ(format.wf.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(format.wf.nChannels, 1);
  EXPECT_EQ(format.wBitsPerSample, 16);
  const double milliseconds = 1000.0 * chunk.cksize / format.wf.nAvgBytesPerSec;
  EXPECT_GE(milliseconds, 40.0);
  EXPECT_LE(milliseconds, 100.0);

  EXPECT_TRUE(::PlaySoundA(path.c_str(), nullptr, SND_ASYNC | SND_NODEFAULT | SND_FILENAME));
  ::Sleep(150);
  ::PlaySoundA(nullptr, nullptr, 0);
}

}  // namespace
}  // namespace kavo::wine_test
