#include "option/main_window/main_window_model.h"

#include <utility>

#include "option/common/change_flags.h"
#include "option/profiles/profile_file_dialog.h"
#include "option/profiles/profile_save_target.h"
#include "option/common/version_text.h"
#include "settings/windows_settings.h"

namespace kavo::option {

MainWindowModel::MainWindowModel(MainWindowPorts ports)
    : ports_(std::move(ports)),
      working_(std::make_unique<SettingsRecord>()),
      snapshot_(std::make_unique<SettingsRecord>()),
      keptDoubleClickTime_(ports_.doubleClick.DoubleClickTime()) {
  ClearRecord(*working_);
  ClearRecord(*snapshot_);
  view_.visiblePage = Page::kMainSettings;
  view_.tabPressed = {true, false, false, false, false};
  view_.applyEnabled = true;
  view_.softwareVersion = kSoftwareVersionText;
  view_.firmwareVersion = kUnknownVersionText;
  ShowRecord(*working_, view_);
}

void MainWindowModel::Initialise() {
  ClearRecord(*snapshot_);
  ports_.block.OpenMutex();

  view_.firmwareVersion = FirmwareTextAtStart(ports_.files.ReadFirmwareVersion());
  view_.softwareVersion = kSoftwareVersionText;
  ports_.pages.SetVersions(view_.softwareVersion, view_.firmwareVersion);

  const BlockOpen opened = ports_.block.OpenBlock();
  if (opened == BlockOpen::kViewFailed) ports_.dialogs.ShowError(kMapViewFailedText);
  blockPresent_ = opened == BlockOpen::kOpened;
  // A block whose record cannot be taken is no better than none: the files hold the last saved state.
  const bool fetched = blockPresent_ && ports_.block.Fetch(*snapshot_);
  if (fetched) {
    ClearChangeFlags(*snapshot_);
  } else {
    ClearRecord(*snapshot_);
    ports_.files.ReadAll(*snapshot_);
  }

  ports_.macros.Load();
  ports_.files.ReadOSDSetting(osd_);
  *working_ = *snapshot_;
  ports_.macros.MergeFromProfiles(*working_);
  ports_.macros.Save();

  // The service's record may lag behind the system: the pages show the live Windows values.
  if (fetched && IsProfileIndex(working_->CurrentProfile)) {
    ReadWindowsSettings(ports_.registry, working_->profiles[working_->CurrentProfile]);
  }

  Refresh();
  LoadLanguage();
}

void MainWindowModel::Refresh() {
  ShowRecord(*working_, view_);
  ports_.pages.RefreshMainSettings();
  ports_.pages.RefreshButtonAssign();
}

bool MainWindowModel::SelectPage(Page page) {
  if (page == view_.visiblePage) return false;
  view_.visiblePage = page;
  for (int i = 0; i < kPageCount; ++i) view_.tabPressed[i] = static_cast<int>(page) == i;
  return true;
}

void MainWindowModel::SelectSlot(int slotIndex) {
  if (!IsProfileIndex(slotIndex)) return;
  working_->CurrentProfile = slotIndex;
  Refresh();
}

void MainWindowModel::RunProfileEdit(bool newProfile) {
  if (!IsProfileIndex(working_->CurrentProfile)) return;
  if (ports_.dialogs.EditProfile(*working_, newProfile)) ShowRecord(*working_, view_);
}

void MainWindowModel::CreateProfile() { RunProfileEdit(true); }
void MainWindowModel::EditProfile() { RunProfileEdit(false); }

void MainWindowModel::LoadProfile() {
  const auto path =
      ports_.dialogs.ChooseProfileFile(ProfileFileDialogFor(FileDialogKind::kOpen, ports_.programFolder));
  if (!path) return;
  // A source that cannot be read changes nothing.
  if (ports_.files.ImportProfile(*working_, *path)) Refresh();
}

void MainWindowModel::SaveProfile() {
  const auto path =
      ports_.dialogs.ChooseProfileFile(ProfileFileDialogFor(FileDialogKind::kSave, ports_.programFolder));
  if (!path) return;
  if (const auto slot = SlotOverwrittenBySave(*path)) {
    ports_.dialogs.ShowError(SlotFileRefusalText(*slot));
    return;
  }
  ports_.files.ExportProfile(*working_, *path);
}

void MainWindowModel::ToggleWindowsProfile(int slotIndex) {
  if (!IsProfileIndex(slotIndex)) return;
  if (working_->WindowsProfile == slotIndex) {
    working_->WindowsProfile = -1;
  } else if (ports_.dialogs.ConfirmWindowsProfile()) {
    working_->WindowsProfile = slotIndex;
  } else {
    return;
  }
  ShowRecord(*working_, view_);
}

void MainWindowModel::ChangeLanguage() {
  const int chosen = ports_.dialogs.ChooseLanguage(kLanguageButtonLeft, kLanguageButtonTop - kLanguagePopupHeight);
  if (chosen < 0 || chosen > 9) return;
  working_->QuickHelpLan = chosen;
  view_.language = LanguageButtonPictures(chosen);
  ports_.window.Redraw();
  LoadLanguage();
}

void MainWindowModel::LoadLanguage() {
  ports_.help.Load(EffectiveLanguage(working_->QuickHelpLan));
  ports_.window.ReloadTooltips();
  ports_.pages.ReloadHelpTexts();
}

void MainWindowModel::Minimise() { ports_.window.Minimise(); }

void MainWindowModel::PutBackDoubleClickTime() {
  if (ports_.doubleClick.DoubleClickTime() != keptDoubleClickTime_) {
    ports_.doubleClick.SetDoubleClickTime(keptDoubleClickTime_);
  }
}

void MainWindowModel::Cancel() {
  PutBackDoubleClickTime();
  ports_.window.ReleaseCapture();
  ports_.window.PostClose();
}

void MainWindowModel::Ok() {
  Apply(kApplyChanges);
  ports_.window.PostClose();
}

void MainWindowModel::SetApplyEnabled(bool enabled) {
  view_.applyEnabled = enabled;
  ports_.window.SetApplyEnabled(enabled);
}

bool MainWindowModel::BlockReady() {
  // Started before the service, the program found no block; the service may have made it since.
  if (!blockPresent_) {
    ports_.block.OpenMutex();
    blockPresent_ = ports_.block.OpenBlock() == BlockOpen::kOpened;
  }
  return blockPresent_;
}

void MainWindowModel::Apply(int request) {
  ports_.window.BeginWaitCursor();
  SetApplyEnabled(false);

  ComputeChangeFlags(*snapshot_, *working_);
  if (BlockReady()) ports_.block.Publish(*working_);
  ports_.files.WriteOSDSetting(osd_);
  ports_.files.WriteAll(*working_);
  ports_.macros.Save();
  // The service writes the mouse before the send returns; the wait cursor covers that time.
  ports_.peers.Send(kMonitorWindowTitle, kMsgApplyRecord, static_cast<std::uintptr_t>(request), 0);
  for (const char* title : kNoticeProgramTitles) ports_.peers.Post(title, kMsgApplyRecord, 0, 0);
  // The service has set the applied profile's pointer settings by now.
  keptDoubleClickTime_ = ports_.doubleClick.DoubleClickTime();

  ports_.window.EndWaitCursor();
  ClearChangeFlags(*working_);
  *snapshot_ = *working_;
  SetApplyEnabled(true);
}

bool MainWindowModel::OnMessage(unsigned message) {
  switch (message) {
    case kMsgFreshData: OnFreshData(); return true;
    case kMsgProfileChanged: OnProfileChanged(); return true;
    case kMsgEnableApply: SetApplyEnabled(true); return true;
    case kMsgResolutionChanged: OnResolutionChanged(); return true;
    case kMsgOptionAccepted: return true;
    default: return false;
  }
}

// Each fetch below leaves everything as it was when the block cannot be read: there is nothing new to take.
void MainWindowModel::OnFreshData() {
  view_.firmwareVersion = FirmwareTextAfterRead(ports_.files.ReadFirmwareVersion());
  ports_.window.Redraw();
  const bool fetched = blockPresent_ && ports_.block.Fetch(*snapshot_);
  if (fetched) {
    ClearChangeFlags(*snapshot_);
    *working_ = *snapshot_;
    Refresh();
  }
  ports_.pages.SetVersions(view_.softwareVersion, view_.firmwareVersion);
  if (fetched) {
    ports_.macros.MergeFromProfiles(*working_);
    ports_.macros.Save();
  }
}

void MainWindowModel::OnProfileChanged() {
  if (!blockPresent_ || !ports_.block.Fetch(*snapshot_)) return;
  // Unapplied edits are dropped: the mouse's choice wins, with the pointer settings the service set for it.
  *working_ = *snapshot_;
  keptDoubleClickTime_ = ports_.doubleClick.DoubleClickTime();
  Refresh();
}

void MainWindowModel::OnResolutionChanged() {
  if (!blockPresent_ || !ports_.block.Fetch(*snapshot_)) return;
  const int p = snapshot_->CurrentProfile;
  if (!IsProfileIndex(p)) return;
  // Only what the mouse's own buttons change; every other unapplied edit stays.
  const ProfileRecord& from = snapshot_->profiles[p];
  ProfileRecord& to = working_->profiles[p];
  to.Sensitivity_X = from.Sensitivity_X;
  to.Sensitivity_Y = from.Sensitivity_Y;
  to.Cpi_X = from.Cpi_X;
  to.Cpi_Y = from.Cpi_Y;
  to.PollingRate = from.PollingRate;
  ports_.pages.RefreshMainSettings();
}

}  // namespace kavo::option
