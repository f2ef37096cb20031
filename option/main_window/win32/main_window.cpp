#include "option/main_window/win32/main_window.h"

#include <windowsx.h>

#include <utility>

#include "artwork/advanced_page.h"
#include "artwork/main_window.h"
#include "option/profiles/win32/profile_dialogs.h"
#include "option/common/win32/program_file_dialog.h"
#include "platform/win32/module_folder.h"
#include "skin/layout.h"
#include "skin/skin_messages.h"
#include "skin/win32/skin_font.h"
#include "skin/win32/help_text.h"
#include "skin/win32/picture_resources.h"

namespace kavo::option::win32 {
namespace {

namespace art = artwork::main_window;
namespace skinw = skin::win32;
using kavo::win32::SelectedObject;
using kavo::win32::UniqueDC;
using kavo::win32::UniqueFont;

constexpr std::array<const char*, kPageCount> kTabs = {art::kMain, art::kButtonAssign, art::kAdvanced, art::kUpdate,
                                                       art::kHelp};
constexpr std::array<const char*, kProfileCount> kSlots = {art::kProfile1, art::kProfile2, art::kProfile3,
                                                           art::kProfile4, art::kProfile5};
constexpr std::array<const char*, kProfileCount> kWindowsProfiles = {
    art::kWindowsProfile1, art::kWindowsProfile2, art::kWindowsProfile3, art::kWindowsProfile4, art::kWindowsProfile5};
constexpr std::array<const char*, kProfileCount> kNames = {art::kProfile1Name, art::kProfile2Name, art::kProfile3Name,
                                                           art::kProfile4Name, art::kProfile5Name};
// The model badge and the help line have no layout string of their own.
constexpr RECT kBadgeArea{7, 34, 178, 79};
constexpr RECT kHelpLine{115, 570, 580, 590};
constexpr COLORREF kVersionColour = RGB(255, 255, 255);
constexpr int kProgramIcon = 1;  // resources/kavo_option.rc

RECT ToRect(const skin::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The profile name under a point of the window, or -1.
int NameAt(POINT point) {
  for (int p = 0; p < kProfileCount; ++p) {
    const RECT area = ToRect(skin::LayoutBounds(kNames[p]));
    if (::PtInRect(&area, point)) return p;
  }
  return -1;
}

void DrawLine(HDC dc, const std::string& text, RECT area, UINT format) {
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : SkinDialog(instance, kMainWindowTemplate),
      programFolder_(kavo::win32::ModuleFolder()),
      help_(helpFiles_, programFolder_),
      confirmation_(instance, nullptr) {
  model_ = std::make_unique<MainWindowModel>(MainWindowPorts{block_, settings_.settings, settings_.registry,
                                                             macroMerges_, help_, peers_, *this, *this, *this,
                                                             doubleClickTimer_,
                                                             programFolder_});
  mainSettingsModel_ = std::make_unique<MainSettingsPage>(
      model_->Working(), model_->Osd(), MainSettingsPorts{confirmation_, *this, systemLanguage_, doubleClickTimer_});
  assignDialogs_ = std::make_unique<Win32ButtonAssignDialogs>(instance, macros_, assignMenus_);
  buttonAssignModel_ =
      std::make_unique<ButtonAssignPage>(model_->Working(), keyboardLayout_, macros_, *assignDialogs_,
                                         &macroMerges_);
}

// The window ends while every part of it is here, so that leaving puts back what was only tried.
MainWindow::~MainWindow() { End(skinw::kEndCancel); }

void MainWindow::OnBuild() {
  // The taskbar offers minimise and close for it.
  ::SetWindowLongPtrA(window(), GWL_STYLE, ::GetWindowLongPtrA(window(), GWL_STYLE) | WS_SYSMENU | WS_MINIMIZEBOX);
  // The program's own icon at both sizes; shared icons belong to the system and are never destroyed.
  for (const auto& [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
    const int size = ::GetSystemMetrics(metric);
    const HANDLE icon = ::LoadImageA(instance(), MAKEINTRESOURCEA(kProgramIcon), IMAGE_ICON, size, size, LR_SHARED);
    ::SendMessageA(window(), WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }
  skinw::SetHelpLineWindow(window());
  confirmation_.SetOwner(window());
  assignDialogs_->SetOwner(window());

  SetPictures(skinw::LoadWindowPictures(instance(), art::kWindowPictures));
  PlaceAt(skin::Point{(::GetSystemMetrics(SM_CXSCREEN) - art::kWidth) / 2,
                      (::GetSystemMetrics(SM_CYSCREEN) - art::kHeight) / 2});
  badge_ = skinw::LoadPicture(instance(), art::kModelBadge);
  nameFont_ = skinw::SkinFont(14, 0);
  versionFont_ = skinw::SkinFont(14, 6);

  BuildControls();
  BuildPages();
  model_->Initialise();
  ShowView();
  // Last: other programs find the window by this title, and it should be whole when they do.
  ::SetWindowTextA(window(), kOptionWindowTitle);
}

void MainWindow::BuildControls() {
  // helpId 0: a control without a tooltip in the help library.
  const auto button = [this](const char* layout, int helpId, std::function<void()> onClick) -> skinw::BitmapButton& {
    skinw::BitmapButton& made = AddButton(layout, std::move(onClick));
    made.SetHandCursor(true);
    if (helpId != 0) tooltips_.push_back(Tooltip{&made, layout, helpId});
    return made;
  };
  constexpr std::array<int, kPageCount> kTabHelp = {help_id::kMainTab, help_id::kButtonAssignTab, 0,
                                                    help_id::kUpdateTab, 0};
  button(art::kMin, help_id::kMinimize, [this] { model_->Minimise(); });
  button(art::kExit, help_id::kExit, [this] { model_->Cancel(); });
  for (int i = 0; i < kPageCount; ++i) {
    tabs_[i] = &button(kTabs[i], kTabHelp[i], [this, i] {
      model_->SelectPage(static_cast<Page>(i));
      ShowView();
    });
  }
  button(art::kCreate, help_id::kCreate, [this] {
    model_->CreateProfile();
    ShowView();
  });
  button(art::kLoad, help_id::kLoad, [this] {
    model_->LoadProfile();
    ShowView();
  });
  button(art::kSave, help_id::kSave, [this] { model_->SaveProfile(); });
  button(art::kEdit, help_id::kEdit, [this] {
    model_->EditProfile();
    ShowView();
  });
  for (int p = 0; p < kProfileCount; ++p) {
    slots_[p] = &button(kSlots[p], help_id::kProfileSlot1 + p, [this, p] {
      model_->SelectSlot(p);
      ShowView();
    });
    slots_[p]->SetToggleMode(true);
  }
  // A marker stands where its slot's plain button stands; only one of the two shows.
  for (int p = 0; p < kProfileCount; ++p) {
    const auto toggle = [this, p] {
      model_->ToggleWindowsProfile(p);
      ShowView();
    };
    windowsButtons_[p] = &button(kWindowsProfiles[p], help_id::kWindowsProfile, toggle);
    markers_[p] = &button(kWindowsProfiles[p], help_id::kWindowsProfileMarker, toggle);
    markers_[p]->SetPictures(skinw::ButtonPictures{skinw::LoadPicture(instance(), art::kWindowsMarkerNormal),
                                                   skinw::LoadPicture(instance(), art::kWindowsMarkerHover),
                                                   skinw::LoadPicture(instance(), art::kWindowsMarkerPressed),
                                                   skinw::LoadPicture(instance(), art::kWindowsMarkerNormal)});
  }
  language_ = &button(art::kButtonLanguage, help_id::kLanguage, [this] {
    model_->ChangeLanguage();
    ShowView();
  });
  ok_ = &button(art::kOk, help_id::kOk, [this] { model_->Ok(); });
  apply_ = &button(art::kApply, help_id::kApply, [this] { model_->Apply(kApplyChanges); });
  button(art::kCancel, help_id::kCancel, [this] { model_->Cancel(); });
}

void MainWindow::BuildPages() {
  const skin::Rect area = skin::LayoutBounds(art::kPagePosition);
  const skin::Point at{area.left, area.top};
  const skin::Extent size{area.Width(), area.Height()};
  namespace adv = artwork::advanced_page;
  skinw::WindowPictureIds advanced;
  advanced.mask = adv::kMaskPicture;
  advanced.background = adv::kBackgroundPicture;
  auto mainSettings =
      std::make_unique<MainSettingsWindow>(instance(), *mainSettingsModel_, help_, programFolder_, at);
  auto buttonAssign =
      std::make_unique<ButtonAssignPageWindow>(instance(), *buttonAssignModel_, assignMenus_, help_, at);
  auto update = std::make_unique<UpdatePageWindow>(instance(), shell_, help_, at);
  mainSettings_ = mainSettings.get();
  buttonAssign_ = buttonAssign.get();
  update_ = update.get();
  // In the order of the tabs.
  pages_ = {std::move(mainSettings), std::move(buttonAssign),
            std::make_unique<OptionPage>(instance(), skinw::kAdvancedPageTemplate, advanced, at, size),
            std::move(update), std::make_unique<HelpPageWindow>(instance(), at)};
  for (auto& page : pages_) page->Create(window());
}

void MainWindow::ShowView() {
  const MainWindowView& view = model_->View();
  for (int i = 0; i < kPageCount; ++i) {
    tabs_[i]->SetChecked(view.tabPressed[i]);
    if (pages_[i] && pages_[i]->window()) {
      ::ShowWindow(pages_[i]->window(), view.visiblePage == static_cast<Page>(i) ? SW_SHOW : SW_HIDE);
    }
  }
  for (int p = 0; p < kProfileCount; ++p) {
    const SlotView& slot = view.slots[p];
    slots_[p]->SetChecked(slot.pressed);
    ::ShowWindow(markers_[p]->window(), slot.markerVisible ? SW_SHOW : SW_HIDE);
    ::ShowWindow(windowsButtons_[p]->window(), slot.plainButtonVisible ? SW_SHOW : SW_HIDE);
    InvalidateLayout(kNames[p]);
  }
  ShowLanguagePictures(view.language.normal);
  ::EnableWindow(ok_->window(), view.applyEnabled);
  ::EnableWindow(apply_->window(), view.applyEnabled);
  ::InvalidateRect(window(), &kBadgeArea, FALSE);
}

void MainWindow::ShowLanguagePictures(int normalPicture) {
  if (normalPicture == languageShown_) return;
  const LanguagePictures& pictures = model_->View().language;
  language_->SetPictures(skinw::ButtonPictures{
      skinw::LoadPicture(instance(), pictures.normal), skinw::LoadPicture(instance(), pictures.hover),
      skinw::LoadPicture(instance(), pictures.pressed), skinw::LoadPicture(instance(), pictures.normal)});
  languageShown_ = normalPicture;
}

void MainWindow::InvalidateLayout(const char* layout) {
  const RECT area = ToRect(skin::LayoutBounds(layout));
  ::InvalidateRect(window(), &area, FALSE);
}

void MainWindow::PaintTexts(HDC dc) {
  const MainWindowView& view = model_->View();
  ::SetBkMode(dc, TRANSPARENT);
  if (view.modelBadgeVisible && badge_) {
    const UniqueDC source(::CreateCompatibleDC(dc));
    if (source) {
      const SelectedObject selected(source.get(), badge_.get());
      ::BitBlt(dc, kBadgeArea.left, kBadgeArea.top, kBadgeArea.right - kBadgeArea.left,
               kBadgeArea.bottom - kBadgeArea.top, source.get(), 0, 0, SRCCOPY);
    }
  }
  {
    const SelectedObject font(dc, versionFont_.get());
    ::SetTextColor(dc, kVersionColour);
    const skin::Rect software = skin::LayoutBounds(art::kSoftwareVersion);
    const skin::Rect firmware = skin::LayoutBounds(art::kFirmwareVersion);
    ::TextOutA(dc, software.left, software.top, view.softwareVersion.c_str(),
               static_cast<int>(view.softwareVersion.size()));
    ::TextOutA(dc, firmware.left, firmware.top, view.firmwareVersion.c_str(),
               static_cast<int>(view.firmwareVersion.size()));
  }
  const SelectedObject font(dc, nameFont_.get());
  for (int p = 0; p < kProfileCount; ++p) {
    ::SetTextColor(dc, view.slots[p].nameColour);
    DrawLine(dc, view.slots[p].name, ToRect(skin::LayoutBounds(kNames[p])), DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
  }
  ::SetTextColor(dc, kVersionColour);
  DrawLine(dc, skinw::CurrentHelpText(), kHelpLine, DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
}

std::optional<LRESULT> MainWindow::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  if (message == skin::kWmHelpText) {
    ::InvalidateRect(window(), &kHelpLine, FALSE);
    return 0;
  }
  if (message == WM_MOUSEMOVE) {
    ShowNameHelp(NameAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
    return std::nullopt;
  }
  if (message == WM_MOUSELEAVE) {
    ShowNameHelp(-1);
    return std::nullopt;
  }
  if (model_->OnMessage(message)) {
    ShowView();
    return 0;
  }
  return std::nullopt;
}

void MainWindow::ShowNameHelp(int name) {
  if (name == hoveredName_) return;
  // A control entered on the way out may have put its own text up already; that one stays.
  if (hoveredName_ >= 0 && skinw::CurrentHelpText() == nameHelp_[static_cast<std::size_t>(hoveredName_)]) {
    skinw::LeaveHelpText();
  }
  hoveredName_ = name;
  if (name < 0) return;
  skinw::EnterHelpText(nameHelp_[static_cast<std::size_t>(name)]);
  // Told when the pointer leaves the window or goes onto a control.
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window(), 0};
  ::TrackMouseEvent(&track);
}

void MainWindow::OnDestroy() {
  // Whatever closed the window (Cancel, Alt+F4, the service), a double-click time not applied goes back.
  model_->PutBackDoubleClickTime();
  macros_.Clear();
  help_.Free();
  if (skinw::HelpLineWindow() == window()) skinw::SetHelpLineWindow(nullptr);
}

void MainWindow::RefreshMainSettings() {
  if (mainSettings_ != nullptr) mainSettings_->Refresh();
}

void MainWindow::RefreshButtonAssign() {
  if (buttonAssign_ != nullptr) buttonAssign_->Refresh();
}

void MainWindow::ReloadHelpTexts() {
  if (mainSettings_ != nullptr) mainSettings_->ReloadHelpTexts();
  if (buttonAssign_ != nullptr) buttonAssign_->ReloadHelpTexts();
  if (update_ != nullptr) update_->ReloadHelpTexts();
}

void MainWindow::SetVersions(const std::string& software, const std::string& firmware) {
  if (update_ != nullptr) update_->SetVersions(software, firmware);
}

void MainWindow::RefreshAll() {
  model_->Refresh();
  Redraw();
}

void MainWindow::ReloadHelp() { model_->LoadLanguage(); }

void MainWindow::Apply(int request) { model_->Apply(request); }

bool MainWindow::EditProfile(SettingsRecord& record, bool newProfile) {
  if (record.CurrentProfile < 0 || record.CurrentProfile >= kProfileCount) return false;
  Win32ProgramFileDialog files(window());
  return RunProfileEdit(instance(), window(), record.profiles[record.CurrentProfile], newProfile, files);
}

bool MainWindow::ConfirmWindowsProfile() {
  WindowsProfileDialog dialog(instance());
  return dialog.Ask(window());
}

int MainWindow::ChooseLanguage(int left, int top) {
  RECT frame{};
  ::GetWindowRect(window(), &frame);
  LanguagePopup popup(instance());
  return popup.Choose(window(), POINT{frame.left + left, frame.top + top});
}

std::optional<std::string> MainWindow::ChooseProfileFile(const ProfileFileDialog& dialog) {
  return RunFileDialog(window(), dialog);
}

void MainWindow::ShowError(const std::string& text) {
  // The skinned boxes' artwork carries their own questions; an error takes the system's plain box.
  ::MessageBoxA(window(), text.c_str(), kOptionWindowTitle, MB_OK | MB_ICONERROR);
}

void MainWindow::BeginWaitCursor() { ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT))); }

void MainWindow::EndWaitCursor() { ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))); }

void MainWindow::SetApplyEnabled(bool enabled) {
  for (skinw::BitmapButton* button : {ok_, apply_}) {
    ::EnableWindow(button->window(), enabled);
    ::UpdateWindow(button->window());
  }
}

void MainWindow::Redraw() {
  ShowView();
  ::RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void MainWindow::ReloadTooltips() {
  // A control whose text the library lacks keeps its layout's own.
  for (const Tooltip& tip : tooltips_) {
    const std::string text = help_.Text(tip.helpId);
    tip.button->SetHelpText(text.empty() ? skin::LayoutText(tip.layout) : text);
  }
  for (int p = 0; p < kProfileCount; ++p) {
    const std::string text = help_.Text(help_id::kProfileName1 + p);
    nameHelp_[static_cast<std::size_t>(p)] = text.empty() ? std::string(skin::LayoutText(kNames[p])) : text;
  }
}

void MainWindow::Minimise() { ::ShowWindow(window(), SW_MINIMIZE); }

void MainWindow::ReleaseCapture() {
  if (::GetCapture() != window()) return;
  ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  ::ReleaseCapture();
}

void MainWindow::PostClose() { ::PostMessageA(window(), WM_CLOSE, 0, 0); }

}  // namespace kavo::option::win32
