// The update and help pages and the help libraries: which address each button opens, the version texts,
// the browser made on demand, and which library each language loads with what each control reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "option/common/help_library_loader.h"
#include "option/support/update_page_model.h"
#include "option/common/version_text.h"

namespace kavo::option {
namespace {

class RecordingShell : public AddressShell {
 public:
  std::vector<std::string> opened;
  void Open(const std::string& address) override { opened.push_back(address); }
};

const SupportSite kSite{"support.test", "help@mail.test"};

TEST(UpdatePage, EachButtonOpensItsAddressOnTheConfiguredSite) {
  struct Case {
    UpdateButton button;
    const char* address;
    int helpId;
    bool hand;
  };
  const Case cases[] = {
      {UpdateButton::kUpdate, "http://support.test/Support/VELMAR-Kavo/Driver-Download/", 1042, false},
      {UpdateButton::kHelp, "http://support.test/Support/", 1044, false},
      {UpdateButton::kEmailRequest, "mailto:help@mail.test", 1043, true},
      {UpdateButton::kSupportFormUpper, "http://support.test/Support/Support/Support-Form/", 1045, true},
      {UpdateButton::kSupportFormLower, "mailto:help@mail.test", 1046, true},  // same picture, mail
  };
  ASSERT_EQ(UpdateButtons().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.address);
    RecordingShell shell;
    UpdatePage page(kSite, shell);
    page.OnButton(c.button);
    EXPECT_EQ(shell.opened, std::vector<std::string>{c.address});
    EXPECT_EQ(UpdateButtons()[i].button, c.button);
    EXPECT_EQ(UpdateButtons()[i].helpId, c.helpId);
    EXPECT_EQ(UpdateButtons()[i].handCursor, c.hand);
  }
}

TEST(UpdatePage, TheDefaultSiteIsOneWebHostAndOneMailbox) {
  const SupportSite& site = DefaultSupportSite();
  ASSERT_FALSE(site.host.empty());
  ASSERT_NE(site.mailbox.find('@'), std::string::npos);
  EXPECT_EQ(site.host.find('/'), std::string::npos);
  // Every web address of both pages lies on that host; the mail buttons write to that mailbox.
  for (auto address : {SupportAddress::kDriverDownload, SupportAddress::kOnlineHelp, SupportAddress::kSupportForm,
                       SupportAddress::kHelpPage}) {
    EXPECT_EQ(SupportAddressText(site, address).rfind("http://" + site.host + "/", 0), 0u);
  }
  EXPECT_EQ(SupportAddressText(site, SupportAddress::kMailRequest), "mailto:" + site.mailbox);
}

TEST(UpdatePage, VersionLabelsShowTheTextsHandedOverAfterAV) {
  RecordingShell shell;
  UpdatePage page(kSite, shell);
  struct Case {
    int fw;
    const char* shown;
  };
  // The firmware values at the edges of what the page believes, through the main window's text.
  for (const Case& c : {Case{99, "VN/A"}, Case{100, "V1.00"}, Case{123, "V1.23"}, Case{500, "V5.00"},
                        Case{501, "VN/A"}}) {
    page.SetVersions(FirmwareTextAtStart(c.fw), kSoftwareVersionText);  // a refresh replaces, never appends
    const UpdatePageView view = page.View();
    EXPECT_EQ(view.firmware.text, c.shown) << c.fw;
    EXPECT_EQ(view.program.text, "V1.41");
  }
  const UpdatePageView view = page.View();
  EXPECT_EQ(view.program.at, (skin::Point{146, 182}));
  EXPECT_EQ(view.firmware.at, (skin::Point{163, 209}));
  EXPECT_EQ(view.colour, 0xF0F0F0u);
}

class ScriptedBrowser : public HelpBrowser {
 public:
  bool creates = true;
  std::vector<skin::Rect> created;
  std::vector<std::string> navigated;
  bool Create(const skin::Rect& area) override {
    created.push_back(area);
    return creates;
  }
  void Navigate(const std::string& address) override { navigated.push_back(address); }
};

TEST(HelpPage, StartMakesTheBrowserOnceAndSendsItToTheHelpAddressWithItsPlaceholders) {
  ScriptedBrowser browser;
  HelpPage page(kSite, browser);
  EXPECT_TRUE(page.startButtonVisible());
  EXPECT_TRUE(browser.created.empty());  // nothing until asked

  page.OnStart();
  page.OnStart();
  EXPECT_FALSE(page.startButtonVisible());
  EXPECT_EQ(page.browserState(), HelpPage::Browser::kShowing);
  EXPECT_EQ(browser.created, (std::vector<skin::Rect>{{0, 0, 785, 330}}));
  EXPECT_EQ(browser.navigated,
            std::vector<std::string>{
                "http://support.test/support.php?product=xxx_number&driver=xxx_number&firmware=xxx_number"});
}

TEST(HelpPage, ABrowserThatCannotBeMadeLeavesAnEmptyPageForGood) {
  ScriptedBrowser browser;
  browser.creates = false;
  HelpPage page(kSite, browser);
  page.OnStart();
  EXPECT_FALSE(page.startButtonVisible());
  EXPECT_EQ(page.browserState(), HelpPage::Browser::kFailed);
  EXPECT_TRUE(browser.navigated.empty());
  browser.creates = true;
  page.OnStart();  // the button is gone: no second attempt
  EXPECT_EQ(browser.created.size(), 1u);
  EXPECT_TRUE(browser.navigated.empty());
}

// Libraries on a pretend disk: path to the strings each holds; loads and frees noted in order.
class FakeLibraryFiles : public HelpLibraryFiles {
 public:
  std::map<std::string, std::map<int, std::string>> disk;
  std::vector<std::string> events;
  int alive = 0;

  class Strings : public HelpStrings {
   public:
    Strings(FakeLibraryFiles& owner, std::string path, std::map<int, std::string> texts)
        : owner_(owner), path_(std::move(path)), texts_(std::move(texts)) {
      ++owner_.alive;
    }
    ~Strings() override {
      --owner_.alive;
      owner_.events.push_back("free " + path_);
    }
    std::string Text(int id) const override {
      auto it = texts_.find(id);
      return it == texts_.end() ? std::string() : it->second;
    }

   private:
    FakeLibraryFiles& owner_;
    std::string path_;
    std::map<int, std::string> texts_;
  };

  std::unique_ptr<HelpStrings> Load(const std::string& path) override {
    events.push_back("load " + path);
    auto it = disk.find(path);
    if (it == disk.end()) return nullptr;
    return std::make_unique<Strings>(*this, path, it->second);
  }
};

TEST(HelpLibraryNames, EachLanguageNumberNamesItsLibraryAndOthersGiveEnglish) {
  const std::map<int, std::string> expected = {
      {0, "Danish_help.dll"},  {1, "English_help.dll"}, {2, "Finnish_help.dll"}, {3, "French_help.dll"},
      {4, "German_help.dll"},  {5, "Polish_help.dll"},  {6, "Russian_help.dll"}, {7, "Spanish_help.dll"},
      {8, "Swedish_help.dll"}, {9, "Turkish_help.dll"}, {-1, "English_help.dll"}, {10, "English_help.dll"},
      {1 << 30, "English_help.dll"}};
  for (const auto& [language, file] : expected) {
    EXPECT_EQ(HelpLibraryFileName(language), file) << language;
  }
  EXPECT_EQ(HelpLibraryPath("C:\\Kavo\\", 4), "C:\\Kavo\\help\\German_help.dll");
}

class HelpLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files_.disk["C:\\K\\help\\English_help.dll"] = {{1042, "Get the driver"}, {1044, "Online help"}};
    files_.disk["C:\\K\\help\\German_help.dll"] = {{1042, "Treiber holen"}};
  }
  FakeLibraryFiles files_;
};

TEST_F(HelpLibraryTest, ALanguageChangeFreesTheOldLibraryBeforeLoadingTheNew) {
  CurrentHelpLibrary library(files_, "C:\\K\\");
  EXPECT_FALSE(library.loaded());
  EXPECT_EQ(library.Text(1042), "");

  library.Load(1);
  EXPECT_EQ(library.Text(1042), "Get the driver");
  library.Load(4);
  EXPECT_EQ(library.language(), 4);
  EXPECT_EQ(library.Text(1042), "Treiber holen");
  EXPECT_EQ(library.Text(1044), "");  // a string the library lacks is empty, not English
  EXPECT_EQ(files_.events, (std::vector<std::string>{"load C:\\K\\help\\English_help.dll",
                                                     "free C:\\K\\help\\English_help.dll",
                                                     "load C:\\K\\help\\German_help.dll"}));
  EXPECT_EQ(files_.alive, 1);
  library.Free();
  EXPECT_EQ(files_.alive, 0);
  EXPECT_FALSE(library.loaded());
}

TEST_F(HelpLibraryTest, AMissingLibraryLeavesNoneAndEveryTextEmpty) {
  CurrentHelpLibrary library(files_, "C:\\K\\");
  library.Load(1);
  library.Load(7);  // no Spanish library on this disk
  EXPECT_FALSE(library.loaded());
  EXPECT_EQ(files_.alive, 0);
  for (const std::string& text : UpdatePage::HelpTexts(library)) EXPECT_EQ(text, "");
}

TEST_F(HelpLibraryTest, OutOfRangeLanguagesLoadEnglish) {
  for (int language : {-5, 10, 99}) {
    CurrentHelpLibrary library(files_, "C:\\K\\");
    library.Load(language);
    EXPECT_TRUE(library.loaded()) << language;
    EXPECT_EQ(library.language(), 1);
    EXPECT_EQ(files_.events.back(), "load C:\\K\\help\\English_help.dll");
  }
}

TEST_F(HelpLibraryTest, TextsAreCutToTheirBuffer) {
  files_.disk["C:\\K\\help\\English_help.dll"][1043] = std::string(kHelpTextBuffer + 20, 'w');
  CurrentHelpLibrary library(files_, "C:\\K\\");
  library.Load(1);
  EXPECT_EQ(library.Text(1043).size(), kHelpTextBuffer - 1);
}

TEST_F(HelpLibraryTest, TheUpdatePageReadsItsFiveButtonsTexts) {
  CurrentHelpLibrary library(files_, "C:\\K\\");
  library.Load(1);
  const auto texts = UpdatePage::HelpTexts(library);
  EXPECT_EQ(texts, (std::array<std::string, 5>{"Get the driver", "Online help", "", "", ""}));
}

TEST(HelpStringIds, EveryControlsIdIsListedOnceWithinTheLibraryRange) {
  const std::vector<int>& ids = HelpStringIds();
  EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
  EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
  EXPECT_EQ(ids.front(), 1001);
  EXPECT_EQ(ids.back(), 1049);
  for (const UpdateButtonInfo& info : UpdateButtons()) {
    EXPECT_TRUE(std::binary_search(ids.begin(), ids.end(), info.helpId)) << info.helpId;
  }
  // Numbers no control reads: the library need not hold them.
  for (int unused : {1012, 1015, 1037, 1040}) {
    EXPECT_FALSE(std::binary_search(ids.begin(), ids.end(), unused)) << unused;
  }
  EXPECT_EQ(ids.size(), 45u);
}

}  // namespace
}  // namespace kavo::option
