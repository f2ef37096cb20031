#include "option/support/update_page_model.h"

namespace kavo::option {

const SupportSite& DefaultSupportSite() {
  static const SupportSite site{"www.velmar.example", "support@velmar.example"};
  return site;
}

std::string SupportAddressText(const SupportSite& site, SupportAddress address) {
  const std::string web = "http://" + site.host;
  switch (address) {
    case SupportAddress::kDriverDownload: return web + "/Support/VELMAR-Kavo/Driver-Download/";
    case SupportAddress::kOnlineHelp: return web + "/Support/";
    case SupportAddress::kSupportForm: return web + "/Support/Support/Support-Form/";
    case SupportAddress::kMailRequest: return "mailto:" + site.mailbox;
    // The site fills in the numbers itself: the query carries the placeholders as they are.
    case SupportAddress::kHelpPage:
      return web + "/support.php?product=xxx_number&driver=xxx_number&firmware=xxx_number";
  }
  return {};
}

const std::array<UpdateButtonInfo, kUpdateButtonCount>& UpdateButtons() {
  // The two support-form buttons share one picture name; the lower one writes an e-mail instead.
  static const std::array<UpdateButtonInfo, kUpdateButtonCount> buttons{{
      {UpdateButton::kUpdate, SupportAddress::kDriverDownload, help_id::kUpdate, false},
      {UpdateButton::kHelp, SupportAddress::kOnlineHelp, help_id::kOnlineHelp, false},
      {UpdateButton::kEmailRequest, SupportAddress::kMailRequest, help_id::kEmailRequest, true},
      {UpdateButton::kSupportFormUpper, SupportAddress::kSupportForm, help_id::kSupportForm, true},
      {UpdateButton::kSupportFormLower, SupportAddress::kMailRequest, help_id::kSupportMail, true},
  }};
  return buttons;
}

void UpdatePage::SetVersions(std::string_view firmwareText, std::string_view programText) {
  firmware_ = "V" + std::string(firmwareText);
  program_ = "V" + std::string(programText);
}

UpdatePageView UpdatePage::View() const {
  UpdatePageView view;
  view.program = {program_, {146, 182}};
  view.firmware = {firmware_, {163, 209}};
  return view;
}

std::string UpdatePage::Address(UpdateButton button) const {
  for (const UpdateButtonInfo& info : UpdateButtons()) {
    if (info.button == button) return SupportAddressText(site_, info.opens);
  }
  return {};
}

void UpdatePage::OnButton(UpdateButton button) {
  const std::string address = Address(button);
  if (!address.empty()) shell_.Open(address);
}

std::array<std::string, kUpdateButtonCount> UpdatePage::HelpTexts(const HelpLibrary& library) {
  std::array<std::string, kUpdateButtonCount> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = library.Text(UpdateButtons()[i].helpId);
  return texts;
}

void HelpPage::OnStart() {
  if (browserState_ != Browser::kNotYet) return;
  // The button goes first, so a browser that fails leaves an empty page rather than a dead button.
  browserState_ = Browser::kFailed;
  if (!browser_.Create(kBrowserArea)) return;
  browserState_ = Browser::kShowing;
  browser_.Navigate(Address());
}

}  // namespace kavo::option
