// The main settings page: what its controls show for a profile, what each action writes back, the Reset
// of all settings, and the double-click test area.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "option/main_settings/main_settings_controls.h"
#include "option/main_settings/main_settings_double_click.h"
#include "option/main_settings/main_settings_help.h"
#include "option/main_settings/main_settings_page.h"
#include "settings/language.h"
#include "settings/settings_record.h"
#include "settings/windows_settings.h"
#include "tests/support/fake_double_click_timer.h"
#include "tests/support/fake_registry.h"

namespace kavo::option {
namespace {

class FakeConfirmation final : public ConfirmationQuestion {
 public:
  bool Confirm() override {
    ++asked;
    return answer;
  }
  bool answer = true;
  int asked = 0;
};

class FakeMainWindow final : public MainWindowActions {
 public:
  void RefreshAll() override { calls.push_back("refresh"); }
  void ReloadHelp() override { calls.push_back("help"); }
  void Apply(int request) override { calls.push_back("apply " + std::to_string(request)); }
  std::vector<std::string> calls;
};

class FakeLanguage final : public SystemLanguage {
 public:
  int LanguageNumber() const override { return number; }
  int number = kGerman;
};

// The record is large; the fixture keeps it on the heap with a profile other than the first active, so a
// page that edits the wrong profile shows.
class MainSettingsPageTest : public ::testing::Test {
 protected:
  MainSettingsPageTest() : record_(std::make_unique<SettingsRecord>()) {
    ClearRecord(*record_);
    ResetToDefaults(*record_, kEnglish);
    ResetOSDSetting(osd_);
    record_->CurrentProfile = 2;
  }

  ProfileRecord& Active() { return record_->profiles[2]; }

  MainSettingsPage& Page() {
    if (!page_) page_ = std::make_unique<MainSettingsPage>(*record_, osd_, MainSettingsPorts{confirm_, window_, language_, timer_});
    return *page_;
  }

  // A byte copy of the whole record, to show that nothing in it changed.
  std::unique_ptr<SettingsRecord> Copy() const {
    auto copy = std::make_unique<SettingsRecord>();
    std::memcpy(copy.get(), record_.get(), sizeof(SettingsRecord));
    return copy;
  }
  bool SameAs(const SettingsRecord& other) const {
    return std::memcmp(record_.get(), &other, sizeof(SettingsRecord)) == 0;
  }

  std::unique_ptr<SettingsRecord> record_;
  OSDSetting osd_{};
  FakeConfirmation confirm_;
  FakeMainWindow window_;
  FakeLanguage language_;
  test::FakeDoubleClickTimer timer_;
  std::unique_ptr<MainSettingsPage> page_;
};

// --- Pointer speed ---------------------------------------------------------------------------------

TEST(PointerSpeedTable, EveryPositionShowsAgainWhatItWrites) {
  int previous = 0;
  for (int position = 1; position <= 11; ++position) {
    const int speed = PointerSpeedForPosition(position);
    EXPECT_GT(speed, previous) << "position " << position;
    EXPECT_GE(speed, 1);
    EXPECT_LE(speed, 20);
    EXPECT_EQ(PositionForPointerSpeed(speed), position) << "speed " << speed;
    previous = speed;
  }
}

TEST(PointerSpeedTable, StoredSpeedsShowTheirPosition) {
  struct Case {
    int stored;
    int shown;
  };
  const Case cases[] = {
      {0, 1}, {1, 1}, {2, 2}, {3, 2}, {8, 5}, {9, 5}, {10, 6}, {11, 6}, {12, 7},
      {13, 7}, {18, 10}, {19, 10}, {20, 11}, {21, 6}, {-1, 6}, {1000, 6},
  };
  for (const Case& c : cases) EXPECT_EQ(PositionForPointerSpeed(c.stored), c.shown) << "stored " << c.stored;
}

TEST(PointerSpeedTable, PositionsOffTheSliderWriteTen) {
  for (int position : {0, -1, 12, 1000}) EXPECT_EQ(PointerSpeedForPosition(position), 10) << position;
  EXPECT_EQ(PointerSpeedForPosition(1), 1);
  EXPECT_EQ(PointerSpeedForPosition(11), 20);
}

TEST_F(MainSettingsPageTest, StoredSpeedTenIsKeptUntilTheSliderMoves) {
  Active().MouseSpeed = 10;
  Page().Refresh();
  EXPECT_EQ(Page().View().pointSpeed, 6);
  EXPECT_EQ(Active().MouseSpeed, 10);  // showing it does not write it

  Page().OnSliderPos(6, kPointSpeedSlider);
  EXPECT_EQ(Active().MouseSpeed, 11);
  Page().OnSliderPos(11, kPointSpeedSlider);
  EXPECT_EQ(Active().MouseSpeed, 20);
  EXPECT_EQ(Page().View().pointSpeed, 11);
}

// --- Double-click speed ----------------------------------------------------------------------------

TEST_F(MainSettingsPageTest, DoubleClickSliderWritesTheTimeAndSetsItAtOnce) {
  struct Case {
    int position;
    int time;
    int shown;
  };
  const Case cases[] = {
      {700, 200, 700},  // right end: shortest time
      {0, 900, 0},      // left end
      {400, 500, 400},
      {800, 200, 700},  // a stray position is held to the slider's range
      {-50, 900, 0},
  };
  Page().Refresh();
  for (const Case& c : cases) {
    const int setsBefore = timer_.sets;
    Page().OnSliderPos(c.position, kDoubleClickSlider);
    EXPECT_EQ(Active().DbleClickSpeed, c.time) << c.position;
    EXPECT_EQ(timer_.time, c.time) << c.position;
    EXPECT_EQ(timer_.sets, setsBefore + 1) << c.position;
    EXPECT_EQ(Page().View().doubleClick, c.shown) << c.position;
  }
}

TEST_F(MainSettingsPageTest, RefreshShowsTheTimeFromTheRightAndTouchesNotTheSystem) {
  struct Case {
    int stored;
    int shown;
  };
  const Case cases[] = {{500, 400}, {200, 700}, {900, 0}, {100, 700}, {2000, 0}, {-2147483647 - 1, 700}};
  for (const Case& c : cases) {
    Active().DbleClickSpeed = c.stored;
    Page().Refresh();
    EXPECT_EQ(Page().View().doubleClick, c.shown) << c.stored;
  }
  EXPECT_EQ(timer_.sets, 0);
}

// --- Sensitivity slider and value control ----------------------------------------------------------

TEST_F(MainSettingsPageTest, SensitivitySliderMovesBothAxesAndTheValueControl) {
  Page().Refresh();
  Page().OnSliderPos(7, kSensitivitySlider);
  EXPECT_EQ(Active().Sensitivity_X, 7);
  EXPECT_EQ(Active().Sensitivity_Y, 7);
  EXPECT_EQ(Page().View().sensitivity, 7);
  EXPECT_EQ(Page().View().sensitivityText, "7");
  EXPECT_EQ(Page().SensitivityValue().value(), 7);
  // Other profiles are untouched.
  EXPECT_EQ(record_->profiles[0].Sensitivity_X, 5);
}

TEST_F(MainSettingsPageTest, SensitivitySliderAtTheStoredValueLeavesAnUnevenPairAlone) {
  Active().Sensitivity_X = 4;
  Active().Sensitivity_Y = 9;
  Page().Refresh();
  Page().OnSliderPos(4, kSensitivitySlider);
  EXPECT_EQ(Active().Sensitivity_Y, 9);
  Page().OnValueControlChanged(4, kSensitivityValueControlId);
  EXPECT_EQ(Active().Sensitivity_Y, 9);
}

TEST_F(MainSettingsPageTest, ValueControlMovesBothAxesAndTheSlider) {
  Page().Refresh();
  Page().OnSensitivityTextChanged("7");
  EXPECT_EQ(Active().Sensitivity_X, 7);
  EXPECT_EQ(Active().Sensitivity_Y, 7);
  EXPECT_EQ(Page().View().sensitivity, 7);

  Page().OnValueControlChanged(3, kSensitivityValueControlId);
  EXPECT_EQ(Active().Sensitivity_X, 3);
  EXPECT_EQ(Page().View().sensitivity, 3);

  Page().OnValueControlChanged(8, kSensitivitySlider);  // not the value control's id
  EXPECT_EQ(Active().Sensitivity_X, 3);
}

TEST_F(MainSettingsPageTest, ValueControlButtonsStepWithinTheRange) {
  struct Case {
    int start;
    bool increase;
    int result;
  };
  const Case cases[] = {{5, true, 6}, {9, true, 10}, {10, true, 10}, {5, false, 4}, {2, false, 1}, {1, false, 1}};
  for (const Case& c : cases) {
    Active().Sensitivity_X = Active().Sensitivity_Y = c.start;
    Page().Refresh();
    if (c.increase) {
      Page().OnSensitivityIncrease();
    } else {
      Page().OnSensitivityDecrease();
    }
    EXPECT_EQ(Active().Sensitivity_X, c.result) << c.start << (c.increase ? " +" : " -");
    EXPECT_EQ(Active().Sensitivity_Y, c.result);
    EXPECT_EQ(Page().View().sensitivity, c.result);
    EXPECT_EQ(Page().View().sensitivityText, std::to_string(c.result));
  }
}

TEST_F(MainSettingsPageTest, TypedTextAndEnter) {
  struct Case {
    const char* typed;
    int storedAfterTyping;  // from 5
    const char* textAfterEnter;
    int storedAfterEnter;
  };
  const Case cases[] = {
      {"8", 8, "8", 8},
      {"12", 10, "10", 10},  // the record never leaves 1..10; Enter rewrites the text
      {"0", 5, "1", 1},      // below the minimum: not reported until Enter clamps it
      {"", 5, "1", 1},
      {"1.", 1, "1", 1},     // only digits count
      {"0,3", 3, "3", 3},
      {"99999999999999", 10, "10", 10},
  };
  for (const Case& c : cases) {
    Active().Sensitivity_X = Active().Sensitivity_Y = 5;
    Page().Refresh();
    Page().OnSensitivityTextChanged(c.typed);
    EXPECT_EQ(Active().Sensitivity_X, c.storedAfterTyping) << '"' << c.typed << '"';
    EXPECT_EQ(Page().View().sensitivity, c.storedAfterTyping) << '"' << c.typed << '"';
    EXPECT_EQ(Page().View().sensitivityText, c.typed);  // left as typed
    Page().OnSensitivityEnter();
    EXPECT_EQ(Page().View().sensitivityText, c.textAfterEnter) << '"' << c.typed << '"';
    EXPECT_EQ(Active().Sensitivity_X, c.storedAfterEnter) << '"' << c.typed << '"';
    EXPECT_EQ(Active().Sensitivity_Y, c.storedAfterEnter) << '"' << c.typed << '"';
  }
}

TEST(ValueControl, TextLimitIsTheDigitsOfTheMaximumAndTheStartIsTheMinimum) {
  EXPECT_EQ(ValueControl(1, 10, 1).TextLimit(), 2u);
  EXPECT_EQ(ValueControl(1, 9, 1).TextLimit(), 1u);
  EXPECT_EQ(ValueControl(0, 700, 5).TextLimit(), 3u);
  ValueControl control(3, 40, 5);
  EXPECT_EQ(control.text(), "3");
  EXPECT_EQ(control.Increase(), 8);
  control.SetValue(99);
  EXPECT_EQ(control.text(), "40");
  EXPECT_EQ(control.TextChanged("2"), std::nullopt);
  EXPECT_EQ(control.EnterPressed(), 3);
}

TEST_F(MainSettingsPageTest, RefreshClampsAStoredSensitivityIntoTheControls) {
  Active().Sensitivity_X = -1;  // a profile file without the key
  Page().Refresh();
  EXPECT_EQ(Page().View().sensitivity, 1);
  EXPECT_EQ(Page().View().sensitivityText, "1");
  EXPECT_EQ(Active().Sensitivity_X, -1);
  // The control at 1 differs from what is stored, so choosing it writes it.
  Page().OnSliderPos(1, kSensitivitySlider);
  EXPECT_EQ(Active().Sensitivity_X, 1);
  EXPECT_EQ(Active().Sensitivity_Y, 1);
}

// --- Wheel, tilt, acceleration, resolution ---------------------------------------------------------

TEST_F(MainSettingsPageTest, WheelAndTiltSlidersWriteTheirPositionWithinRange) {
  struct Case {
    int slider;
    int position;
    int stored;
  };
  const Case cases[] = {
      {kScrollSpeedSlider, 7, 7}, {kScrollSpeedSlider, 0, 1}, {kScrollSpeedSlider, 11, 10},
      {kTiltSpeedSlider, 2, 2},   {kTiltSpeedSlider, 10, 10},
  };
  for (const Case& c : cases) {
    Page().OnSliderPos(c.position, c.slider);
    const int stored = c.slider == kScrollSpeedSlider ? Active().ScrollWheelSpeed : Active().TiltSpeed;
    EXPECT_EQ(stored, c.stored) << c.slider << " " << c.position;
    EXPECT_EQ(Page().View().SliderValue(c.slider), c.stored);
  }
  auto before = Copy();
  Page().OnSliderPos(5, 305);  // not a slider of this page
  EXPECT_TRUE(SameAs(*before));
}

TEST_F(MainSettingsPageTest, WheelPairShowsAndWritesTheFlag) {
  struct Case {
    int stored;
    bool notOnePage;
    bool onePage;
  };
  const Case cases[] = {{0, true, false}, {1, false, true}, {-1, false, false}};
  for (const Case& c : cases) {
    Active().ScrollWheelFlag = c.stored;
    Page().Refresh();
    EXPECT_EQ(Page().View().notOnePagePressed, c.notOnePage) << c.stored;
    EXPECT_EQ(Page().View().onePagePressed, c.onePage) << c.stored;
  }
  Active().ScrollWheelSpeed = 7;
  Page().OnOnePage();
  EXPECT_EQ(Active().ScrollWheelFlag, 1);
  EXPECT_EQ(Active().ScrollWheelSpeed, 7);  // kept while one page is chosen
  EXPECT_TRUE(Page().View().onePagePressed);
  EXPECT_FALSE(Page().View().notOnePagePressed);
  Page().OnNotOnePage();
  EXPECT_EQ(Active().ScrollWheelFlag, 0);
  EXPECT_TRUE(Page().View().notOnePagePressed);
  EXPECT_FALSE(Page().View().onePagePressed);
}

std::vector<std::string> AccelerationValues(const test::FakeRegistry& registry) {
  const auto& mouse = registry.keys.at("Control Panel\\Mouse");
  return {mouse.at("MouseSpeed"), mouse.at("MouseThreshold1"), mouse.at("MouseThreshold2")};
}

TEST_F(MainSettingsPageTest, AccelerationBoxWritesRowEightOrNothingAndApplyTurnsItIntoWindowsValues) {
  Active().Acceleration = 15;
  Active().AccelerationFlag = 1;
  Page().Refresh();
  EXPECT_TRUE(Page().View().accelerationChecked);

  Page().OnAcceleration(false);
  EXPECT_EQ(Active().AccelerationFlag, 0);
  EXPECT_EQ(Active().Acceleration, 0);
  EXPECT_FALSE(Page().View().accelerationChecked);
  test::FakeRegistry off;
  ASSERT_EQ(WriteWindowsSettings(off, Active()), 1);
  EXPECT_EQ(AccelerationValues(off), (std::vector<std::string>{"0", "0", "0"}));

  Page().OnAcceleration(true);
  EXPECT_EQ(Active().AccelerationFlag, 1);
  EXPECT_EQ(Active().Acceleration, 8);
  EXPECT_TRUE(Page().View().accelerationChecked);
  test::FakeRegistry on;
  ASSERT_EQ(WriteWindowsSettings(on, Active()), 1);
  EXPECT_EQ(AccelerationValues(on), (std::vector<std::string>{"1", "6", "0"}));

  // And back: those Windows values read as row 8, ticked.
  ProfileRecord read = Active();
  read.Acceleration = 0;
  read.AccelerationFlag = 0;
  ASSERT_EQ(ReadWindowsSettings(on, read), 1);
  EXPECT_EQ(read.Acceleration, 8);
  EXPECT_EQ(read.AccelerationFlag, 1);
}

TEST_F(MainSettingsPageTest, ResolutionButtonsWriteBothAxesAndPressOne) {
  struct Case {
    Resolution button;
    int code;
    std::array<bool, 3> pressed;
  };
  const Case cases[] = {
      {Resolution::k400, 1, {true, false, false}},
      {Resolution::k1600, 4, {false, false, true}},
      {Resolution::k800, 2, {false, true, false}},
  };
  for (const Case& c : cases) {
    Active().Cpi_Y = 3;
    Page().OnResolution(c.button);
    EXPECT_EQ(Active().Cpi_X, c.code);
    EXPECT_EQ(Active().Cpi_Y, c.code);
    EXPECT_EQ(Page().View().resolutionPressed, c.pressed) << c.code;
  }
}

TEST_F(MainSettingsPageTest, RefreshWithAResolutionWithoutButtonLeavesTheButtons) {
  Active().Cpi_X = 4;
  Page().Refresh();
  const std::array<bool, 3> sixteen{false, false, true};
  EXPECT_EQ(Page().View().resolutionPressed, sixteen);
  for (int code : {3, 0, -1, 8}) {
    Active().Cpi_X = code;
    Page().Refresh();
    EXPECT_EQ(Page().View().resolutionPressed, sixteen) << code;
  }
  Active().Cpi_X = 1;
  Page().Refresh();
  EXPECT_EQ(Page().View().resolutionPressed, (std::array<bool, 3>{true, false, false}));
}

TEST_F(MainSettingsPageTest, WithoutAnActiveProfileNothingIsWritten) {
  record_->CurrentProfile = -1;
  auto before = Copy();
  Page().Refresh();
  Page().OnSliderPos(7, kSensitivitySlider);
  Page().OnSliderPos(3, kPointSpeedSlider);
  Page().OnSliderPos(700, kDoubleClickSlider);
  Page().OnSensitivityIncrease();
  Page().OnOnePage();
  Page().OnResolution(Resolution::k400);
  Page().OnAcceleration(true);
  EXPECT_TRUE(SameAs(*before));
  EXPECT_EQ(timer_.sets, 0);
}

// --- Reset of all settings -------------------------------------------------------------------------

TEST_F(MainSettingsPageTest, ResetCancelledChangesNothing) {
  Active().Sensitivity_X = 9;
  record_->profiles[4].MouseSpeed = 3;
  osd_.mailPort = 995;
  Page().Refresh();
  auto before = Copy();
  confirm_.answer = false;
  EXPECT_FALSE(Page().OnReset());
  EXPECT_EQ(confirm_.asked, 1);
  EXPECT_TRUE(SameAs(*before));
  EXPECT_EQ(osd_.mailPort, 995);
  EXPECT_TRUE(window_.calls.empty());
  EXPECT_EQ(Page().View().sensitivity, 9);
}

TEST_F(MainSettingsPageTest, ResetConfirmedRestoresEveryProfileMarksAllAndAppliesAsReset) {
  for (ProfileRecord& profile : record_->profiles) {
    profile.Sensitivity_X = 9;
    profile.MouseSpeed = 3;
    profile.buttons[3].function = kFunctionMacro;
    std::strcpy(profile.ProFileName, "Mine");
  }
  record_->WindowsProfile = 1;
  record_->QuickHelpLan = kFrench;
  record_->MouseType = 1;
  osd_.mailPort = 995;
  std::strcpy(osd_.mailUser, "someone");
  Page().Refresh();

  EXPECT_TRUE(Page().OnReset());

  EXPECT_EQ(confirm_.asked, 1);
  EXPECT_EQ(record_->CurrentProfile, 0);
  EXPECT_EQ(record_->WindowsProfile, -1);
  EXPECT_EQ(record_->QuickHelpLan, kGerman);  // the system's language
  EXPECT_EQ(record_->MouseType, 1);           // not a setting
  for (int p = 0; p < kProfileCount; ++p) {
    ProfileRecord expected;
    ResetProfile(expected, p);
    EXPECT_EQ(std::memcmp(&record_->profiles[p], &expected, sizeof expected), 0) << "profile " << p;
    EXPECT_EQ(record_->SettingsChanged[p], 1);
    for (int b = 0; b < kButtonSlotCount; ++b) EXPECT_EQ(record_->ButtonChanged[p][b], 0x01010101);
  }
  EXPECT_EQ(record_->CurrentProfileChanged, 1);
  OSDSetting defaults;
  ResetOSDSetting(defaults);
  EXPECT_EQ(std::memcmp(&osd_, &defaults, sizeof defaults), 0);
  // Refresh and the new language's help before the Apply that asks for the device reset.
  EXPECT_EQ(window_.calls, (std::vector<std::string>{"refresh", "help", "apply 1"}));
  EXPECT_EQ(Page().View().sensitivity, 5);
  EXPECT_EQ(Page().View().pointSpeed, PositionForPointerSpeed(11));
}

// --- Slider definitions and help ------------------------------------------------------------------

TEST(MainSettingsSliders, RangesRoundingAndPictures) {
  struct Case {
    int id;
    int minimum;
    int maximum;
    bool rounding;
    int thumb;
  };
  const Case cases[] = {
      {300, 1, 10, true, 253}, {301, 1, 10, true, 253}, {302, 1, 10, true, 253},
      {303, 1, 11, true, 253}, {304, 0, 700, false, 252},
  };
  for (const Case& c : cases) {
    const SliderSetup* setup = FindSlider(c.id);
    ASSERT_NE(setup, nullptr) << c.id;
    EXPECT_EQ(setup->minimum, c.minimum) << c.id;
    EXPECT_EQ(setup->maximum, c.maximum) << c.id;
    EXPECT_EQ(setup->rounding, c.rounding) << c.id;
    EXPECT_EQ(setup->thumbPicture, c.thumb) << c.id;
  }
  EXPECT_EQ(FindSlider(299), nullptr);
  EXPECT_EQ(FindSlider(400), nullptr);
}

class NumberedHelp final : public HelpLibrary {
 public:
  std::string Text(int stringNumber) const override { return "#" + std::to_string(stringNumber); }
};

TEST(MainSettingsHelp, EachControlGetsItsStringNumber) {
  const MainSettingsHelpTexts texts = LoadMainSettingsHelp(NumberedHelp());
  const std::map<std::string, std::string> got = {
      {"sensitivity slider", texts.sensitivitySlider}, {"sensitivity value", texts.sensitivityValue},
      {"resolution", texts.resolution},                {"scroll speed", texts.scrollSpeed},
      {"one page", texts.onePage},                     {"point speed", texts.pointSpeed},
      {"acceleration", texts.acceleration},            {"tilt speed", texts.tiltSpeed},
      {"double click", texts.doubleClick},             {"reset", texts.reset},
  };
  const std::map<std::string, std::string> expected = {
      {"sensitivity slider", "#1004"}, {"sensitivity value", "#1005"}, {"resolution", "#1006"},
      {"scroll speed", "#1007"},       {"one page", "#1008"},          {"point speed", "#1009"},
      {"acceleration", "#1010"},       {"tilt speed", "#1011"},        {"double click", "#1013"},
      {"reset", "#1014"},
  };
  EXPECT_EQ(got, expected);
}

// --- Double-click test area ------------------------------------------------------------------------

class FakeTicks final : public TickClock {
 public:
  std::uint32_t NowMilliseconds() const override { return now; }
  std::uint32_t now = 1000;
};

class FakeMedia final : public DoubleClickMedia {
 public:
  bool OpenAnimation(const std::string& path) override {
    calls.push_back("open " + path);
    return opens;
  }
  void PlayAnimationOnce() override { calls.push_back("play"); }
  void RewindAnimation() override { calls.push_back("rewind"); }
  void PlaySound(const std::string& path) override { calls.push_back("sound " + path); }
  bool opens = true;
  std::vector<std::string> calls;
};

class DoubleClickTestArea : public ::testing::Test {
 protected:
  DoubleClickTestArea() : area_("C:\\Kavo\\", media_, timer_, ticks_) { timer_.time = 300; }

  // Two presses, the second `gap` ms after the first, `dx` pixels to the right.
  bool Pair(std::uint32_t gap, int dx = 0) {
    EXPECT_FALSE(area_.OnButtonDown(10, 10));
    ticks_.now += gap;
    return area_.OnButtonDown(10 + dx, 10);
  }

  FakeMedia media_;
  test::FakeDoubleClickTimer timer_;
  FakeTicks ticks_;
  DoubleClickTest area_;
};

TEST_F(DoubleClickTestArea, TwoPressesCountWithinTheTimeAndTheRectangle) {
  struct Case {
    std::uint32_t gap;
    int dx;
    bool doubleClick;
  };
  const Case cases[] = {{0, 0, true}, {299, 0, true}, {300, 0, false}, {5000, 0, false},
                        {100, 2, true}, {100, 3, false}, {100, -2, true}};
  for (const Case& c : cases) {
    ticks_.now += 10000;  // well apart from the previous case
    EXPECT_EQ(Pair(c.gap, c.dx), c.doubleClick) << "gap " << c.gap << " dx " << c.dx;
  }
}

TEST_F(DoubleClickTestArea, TheSliderTimeDecidesAndTheClockMayWrap) {
  ticks_.now = 0xFFFFFF00u;
  EXPECT_TRUE(Pair(0x100));  // 256 ms across the wrap
  timer_.time = 200;         // as the slider's right end sets it
  ticks_.now += 10000;
  EXPECT_FALSE(Pair(250));
}

TEST_F(DoubleClickTestArea, AThirdPressStartsANewPair) {
  EXPECT_TRUE(Pair(50));
  ticks_.now += 50;
  EXPECT_FALSE(area_.OnButtonDown(10, 10));
  ticks_.now += 50;
  EXPECT_TRUE(area_.OnButtonDown(10, 10));
}

TEST_F(DoubleClickTestArea, FirstDoubleClickOpensTheAnimationThenEachPlaysOnceWithSound) {
  EXPECT_TRUE(area_.View().showsPicture);
  area_.OnButtonDown(10, 10);  // a single click does nothing
  EXPECT_TRUE(media_.calls.empty());

  area_.OnDoubleClick();
  EXPECT_FALSE(area_.View().showsPicture);
  EXPECT_TRUE(area_.View().playing);
  area_.OnAnimationStopped();
  EXPECT_FALSE(area_.View().playing);
  area_.OnDoubleClick();
  EXPECT_EQ(media_.calls, (std::vector<std::string>{
                              "open C:\\Kavo\\wave\\double_click.avi",
                              "play",
                              "sound C:\\Kavo\\wave\\double_click.wav",
                              "rewind",
                              "play",
                              "sound C:\\Kavo\\wave\\double_click.wav",
                          }));
  EXPECT_EQ(area_.PicturePath(), "C:\\Kavo\\wave\\double_click.bmp");
}

TEST_F(DoubleClickTestArea, OnlyTheStopOfAPlayRewinds) {
  // Stops the control may report: before anything was opened, after a play, and again for the rewind.
  area_.OnAnimationStopped();
  area_.OnDoubleClick();
  area_.OnAnimationStopped();
  area_.OnAnimationStopped();
  area_.OnDoubleClick();
  area_.OnDoubleClick();  // a second double click while the first still plays plays again
  area_.OnAnimationStopped();
  area_.OnAnimationStopped();
  const auto rewinds = std::count(media_.calls.begin(), media_.calls.end(), "rewind");
  const auto plays = std::count(media_.calls.begin(), media_.calls.end(), "play");
  EXPECT_EQ(plays, 3);
  EXPECT_EQ(rewinds, 2);
  EXPECT_FALSE(area_.View().playing);
}

TEST_F(DoubleClickTestArea, AMissingAnimationLeavesTheAreaEmptyButTheSoundPlays) {
  media_.opens = false;
  area_.OnDoubleClick();
  area_.OnAnimationStopped();
  area_.OnDoubleClick();
  EXPECT_FALSE(area_.View().showsPicture);
  EXPECT_FALSE(area_.View().animationOpen);
  EXPECT_FALSE(area_.View().playing);
  EXPECT_EQ(media_.calls, (std::vector<std::string>{
                              "open C:\\Kavo\\wave\\double_click.avi",
                              "sound C:\\Kavo\\wave\\double_click.wav",
                              "sound C:\\Kavo\\wave\\double_click.wav",
                          }));
}

}  // namespace
}  // namespace kavo::option
