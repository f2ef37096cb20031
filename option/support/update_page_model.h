#pragma once
// The update page (driver download, online help, support form, e-mail request, the versions) and the help
// page with its browser made on demand. Every address goes to the shell or the browser; the program opens
// no connection itself.
#include <array>
#include <string>
#include <string_view>

#include "option/common/help_library_loader.h"
#include "skin/geometry.h"

namespace kavo::option {

// The maker's support site and mailbox: the one place that names them.
struct SupportSite {
  std::string host;     // web host, without scheme
  std::string mailbox;  // e-mail address, without "mailto:"
};
const SupportSite& DefaultSupportSite();

enum class SupportAddress { kDriverDownload, kOnlineHelp, kSupportForm, kMailRequest, kHelpPage };
std::string SupportAddressText(const SupportSite& site, SupportAddress address);

// Handing an address to the user's browser or mail program.
class AddressShell {
 public:
  virtual ~AddressShell() = default;
  // Opens address with the verb "open", shown normally; the outcome is not checked.
  virtual void Open(const std::string& address) = 0;
};

enum class UpdateButton { kUpdate, kHelp, kEmailRequest, kSupportFormUpper, kSupportFormLower };
constexpr int kUpdateButtonCount = 5;

struct UpdateButtonInfo {
  UpdateButton button;
  SupportAddress opens;
  int helpId;
  bool handCursor;
};
// In the order the page creates its buttons.
const std::array<UpdateButtonInfo, kUpdateButtonCount>& UpdateButtons();

// A text the page paints over its background, in page coordinates.
struct PageLabel {
  std::string text;
  skin::Point at;
};

struct UpdatePageView {
  PageLabel program;
  PageLabel firmware;
  skin::Colour colour = 0xF0F0F0;
  int fontHeight = 12, fontWidth = 6;  // Arial, normal weight, transparent background
};

class UpdatePage {
 public:
  UpdatePage(const SupportSite& site, AddressShell& shell) : site_(site), shell_(shell) {}

  // Both texts as the main window makes them (version_text.h); the page shows each after a "V".
  void SetVersions(std::string_view firmwareText, std::string_view programText);
  UpdatePageView View() const;

  void OnButton(UpdateButton button);
  std::string Address(UpdateButton button) const;

  // The five buttons' help texts from the library, in the order of UpdateButtons().
  static std::array<std::string, kUpdateButtonCount> HelpTexts(const HelpLibrary& library);

 private:
  const SupportSite& site_;
  AddressShell& shell_;
  std::string program_ = "V";
  std::string firmware_ = "V";
};

// The embedded browser of the help page.
class HelpBrowser {
 public:
  virtual ~HelpBrowser() = default;
  // Creates the browser control, visible over area of the page; false when it cannot be made.
  virtual bool Create(const skin::Rect& area) = 0;
  virtual void Navigate(const std::string& address) = 0;
};

class HelpPage {
 public:
  enum class Browser { kNotYet, kShowing, kFailed };
  static constexpr skin::Rect kBrowserArea{0, 0, 785, 330};
  // The start button: four pictures of its own, its size taken from the normal one.
  static constexpr int kStartNormal = 211, kStartHover = 208, kStartPressed = 210, kStartDisabled = 209;

  HelpPage(const SupportSite& site, HelpBrowser& browser) : site_(site), browser_(browser) {}

  // The start button: hidden for good, then the browser made and sent to the help address. A browser that
  // cannot be made leaves the page empty.
  void OnStart();
  bool startButtonVisible() const { return browserState_ == Browser::kNotYet; }
  Browser browserState() const { return browserState_; }
  std::string Address() const { return SupportAddressText(site_, SupportAddress::kHelpPage); }

 private:
  const SupportSite& site_;
  HelpBrowser& browser_;
  Browser browserState_ = Browser::kNotYet;
};

}  // namespace kavo::option
