#include "skin/win32/skin_message_box.h"

#include <optional>

#include "artwork/message_box_a.h"
#include "artwork/message_box_b.h"
#include "artwork/message_box_c.h"
#include "skin/layout.h"
#include "skin/win32/skin_font.h"

namespace kavo::skin::win32 {

using kavo::win32::SelectedObject;
using kavo::win32::UniqueFont;

namespace {

struct Look {
  WindowPictureIds pictures;
  const char* message;
  const char* ok;
  const char* cancel;
  const char* exit;
};

Look LookOf(MessageBoxLook look) {
  namespace a = kavo::artwork::message_box_a;
  namespace b = kavo::artwork::message_box_b;
  namespace c = kavo::artwork::message_box_c;
  switch (look) {
    case MessageBoxLook::kB:
      return {{b::kMaskPicture, b::kBackgroundPicture, b::kNormalPicture, b::kHoverPicture, b::kPressedPicture,
               b::kDisabledPicture},
              b::kMessage, b::kButtonOk, b::kButtonCancel, b::kButtonExit};
    case MessageBoxLook::kC:
      return {{c::kMaskPicture, c::kBackgroundPicture, c::kNormalPicture, c::kHoverPicture, c::kPressedPicture,
               c::kDisabledPicture},
              c::kMessage, c::kButtonOk, c::kButtonCancel, c::kButtonExit};
    case MessageBoxLook::kA: break;
  }
  return {{a::kMaskPicture, a::kBackgroundPicture, a::kNormalPicture, a::kHoverPicture, a::kPressedPicture,
           a::kDisabledPicture},
          a::kMessage, a::kButtonOk, a::kButtonCancel, a::kButtonExit};
}

constexpr COLORREF kTextColour = RGB(255, 255, 255);

}  // namespace

SkinMessageBox::SkinMessageBox(HINSTANCE module, MessageBoxLook look)
    : SkinDialog(module, kMessageBoxTemplate), look_(look) {
  const std::optional<LayoutEntry> area = ParseLayout(LookOf(look_).message);
  if (area) textArea_ = area->Bounds();
}

void SkinMessageBox::SetText(std::string_view text) {
  text_ = text;
  if (window() != nullptr) {
    const RECT area{textArea_.left, textArea_.top, textArea_.right, textArea_.bottom};
    ::InvalidateRect(window(), &area, FALSE);
  }
}

void SkinMessageBox::OnBuild() {
  const Look look = LookOf(look_);
  SetPictures(LoadWindowPictures(instance(), look.pictures));
  AddButton(look.ok, [this] { End(kEndOk); });
  AddButton(look.cancel, [this] { End(kEndCancel); });
  AddButton(look.exit, [this] { End(kEndCancel); });
  if (!font_) {
    font_ = SkinFont(14);
  }
}

void SkinMessageBox::PaintTexts(HDC dc) {
  if (text_.empty()) return;
  const SelectedObject font(dc, font_.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kTextColour);
  RECT area{textArea_.left, textArea_.top, textArea_.right, textArea_.bottom};
  ::DrawTextA(dc, text_.data(), static_cast<int>(text_.size()), &area, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace kavo::skin::win32
