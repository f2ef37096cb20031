#include "option/profiles/win32/profile_dialogs.h"

#include <array>
#include <memory>
#include <string_view>

#include "artwork/profile_edit_dialog.h"
#include "artwork/program_path_dialog.h"
#include "option/profiles/profile_edit_dialog.h"
#include "option/assign/program_path_dialog.h"
#include "skin/layout.h"
#include "skin/win32/bitmap_edit.h"
#include "skin/win32/skin_dialog.h"

namespace kavo::option::win32 {

namespace {

namespace skinw = skin::win32;
namespace edit_art = artwork::profile_edit_dialog;
namespace path_art = artwork::program_path_dialog;

skinw::WindowPictureIds PictureIds(const DialogPictures& pictures) {
  return {pictures.mask, pictures.background, pictures.normal, pictures.hover, pictures.pressed, pictures.disabled};
}

// A dialog edit field at its layout string's place, white on black, taking at most limit characters as
// typed or pasted. Null when the layout is broken or the window could not be made.
std::unique_ptr<skinw::BitmapEdit> MakeField(HWND dialog, std::string_view layout, std::size_t limit,
                                             std::string_view text) {
  const std::optional<skin::LayoutEntry> entry = skin::ParseLayout(layout);
  if (!entry) return nullptr;
  std::unique_ptr<skinw::BitmapEdit> field =
      skinw::BitmapEdit::Create(dialog, entry->Bounds(), kDialogEditStyle, kDialogEditId);
  if (!field) return nullptr;
  field->SetColours(kDialogEditText, kDialogEditBackground);
  ::SendMessageA(field->window(), EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
  const std::string shown(text);
  ::SetWindowTextA(field->window(), shown.c_str());
  return field;
}

// Shows the model's text in a field; the change this makes comes back as an edit change the model
// already holds.
void Show(const skinw::BitmapEdit* field, const std::string& text) {
  if (field != nullptr) ::SetWindowTextA(field->window(), text.c_str());
}

// Runs the file dialog with the skinned dialog disabled, so that its buttons cannot start a second one,
// and gives the skinned dialog the activation back afterwards.
class BrowseOver {
 public:
  explicit BrowseOver(HWND dialog) : dialog_(dialog) { ::EnableWindow(dialog_, FALSE); }
  ~BrowseOver() {
    ::EnableWindow(dialog_, TRUE);
    ::SetActiveWindow(dialog_);
  }
  BrowseOver(const BrowseOver&) = delete;
  BrowseOver& operator=(const BrowseOver&) = delete;

 private:
  HWND dialog_;
};

class ProfileEditWindow : public skinw::SkinDialog {
 public:
  ProfileEditWindow(HINSTANCE instance, ProfileEditDialog& model)
      : SkinDialog(instance, skinw::kDialogTemplate), model_(model) {}

 protected:
  void OnBuild() override {
    SetPictures(skinw::LoadWindowPictures(instance(), PictureIds(kProfileEditPictures)));
    static constexpr std::array<const char*, kProfileEditFieldCount> kFields = {edit_art::kEditProfileName,
                                                                                 edit_art::kPath0, edit_art::kPath1,
                                                                                 edit_art::kPath2};
    for (int i = 0; i < kProfileEditFieldCount; ++i) {
      const auto field = static_cast<ProfileEditField>(i);
      fields_[static_cast<std::size_t>(i)] =
          MakeField(window(), kFields[static_cast<std::size_t>(i)], ProfileEditDialog::EditLimit(field), model_.Text(field));
    }
    AddButton(edit_art::kBrowse0, [this] { Command(ProfileEditCommand::kBrowse0); });
    AddButton(edit_art::kBrowse1, [this] { Command(ProfileEditCommand::kBrowse1); });
    AddButton(edit_art::kBrowse2, [this] { Command(ProfileEditCommand::kBrowse2); });
    AddButton(edit_art::kButtonOk, [this] { Command(ProfileEditCommand::kOk); });
    AddButton(edit_art::kButtonCancel, [this] { Command(ProfileEditCommand::kCancel); });
    AddButton(edit_art::kButtonExit, [this] { Command(ProfileEditCommand::kExit); });
  }

  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
      for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i] && reinterpret_cast<HWND>(lParam) == fields_[i]->window()) {
          Changed(static_cast<ProfileEditField>(i), *fields_[i]);
          return 0;
        }
      }
    }
    return std::nullopt;
  }

  void OnDestroy() override {
    for (auto& field : fields_) field.reset();
  }

 private:
  void Changed(ProfileEditField field, const skinw::BitmapEdit& edit) {
    const std::string text = edit.Text();
    if (text == model_.Text(field)) return;
    // A text the model will not keep is taken back out of the field.
    if (!model_.SetText(field, text)) Show(&edit, model_.Text(field));
  }

  void Command(ProfileEditCommand command) {
    const bool browse = command != ProfileEditCommand::kOk && command != ProfileEditCommand::kCancel &&
                        command != ProfileEditCommand::kExit;
    ProfileEditStep step;
    if (browse) {
      const BrowseOver over(window());
      step = model_.OnCommand(command);
    } else {
      step = model_.OnCommand(command);
    }
    if (step.changedField) {
      Show(fields_[static_cast<std::size_t>(*step.changedField)].get(), model_.Text(*step.changedField));
    }
    if (step.endCode) End(*step.endCode);
  }

  ProfileEditDialog& model_;
  std::array<std::unique_ptr<skinw::BitmapEdit>, kProfileEditFieldCount> fields_;
};

class ProgramPathWindow : public skinw::SkinDialog {
 public:
  ProgramPathWindow(HINSTANCE instance, ProgramPathDialog& model)
      : SkinDialog(instance, skinw::kDialogTemplate), model_(model) {}

 protected:
  void OnBuild() override {
    SetPictures(skinw::LoadWindowPictures(instance(), PictureIds(kProgramPathPictures)));
    field_ = MakeField(window(), path_art::kGamingPathToExecuteable, ProgramPathDialog::EditLimit(), model_.Text());
    AddButton(path_art::kBrowser1, [this] { Command(ProgramPathCommand::kBrowse); });
    AddButton(path_art::kButtonOk, [this] { Command(ProgramPathCommand::kOk); });
    AddButton(path_art::kButtonCancel, [this] { Command(ProgramPathCommand::kCancel); });
    AddButton(path_art::kButtonExit, [this] { Command(ProgramPathCommand::kExit); });
  }

  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && field_ &&
        reinterpret_cast<HWND>(lParam) == field_->window()) {
      const std::string text = field_->Text();
      if (text != model_.Text() && !model_.SetText(text)) Show(field_.get(), model_.Text());
      return 0;
    }
    return std::nullopt;
  }

  void OnDestroy() override { field_.reset(); }

 private:
  void Command(ProgramPathCommand command) {
    ProgramPathStep step;
    if (command == ProgramPathCommand::kBrowse) {
      const BrowseOver over(window());
      step = model_.OnCommand(command);
    } else {
      step = model_.OnCommand(command);
    }
    if (step.fieldChanged) Show(field_.get(), model_.Text());
    if (step.endCode) End(*step.endCode);
  }

  ProgramPathDialog& model_;
  std::unique_ptr<skinw::BitmapEdit> field_;
};

}  // namespace

bool RunProfileEdit(HINSTANCE instance, HWND owner, ProfileRecord& record, bool newProfile, ProgramFileDialog& files) {
  ProfileEditDialog model(record, newProfile, files);
  ProfileEditWindow window(instance, model);
  window.PlaceAt(skinw::CentredOverWindow(owner, kProfileEditPictures.size));
  return window.RunModal(owner) == kDialogOk;
}

std::optional<std::string> RunProgramPath(HINSTANCE instance, HWND owner, const std::string& initial,
                                          ProgramFileDialog& files) {
  ProgramPathDialog model(initial, files);
  ProgramPathWindow window(instance, model);
  window.PlaceAt(skinw::CentredOverWindow(owner, kProgramPathPictures.size));
  if (window.RunModal(owner) != kDialogOk) return std::nullopt;
  return model.path();
}

}  // namespace kavo::option::win32
