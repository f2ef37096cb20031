#pragma once
// SkinMessageBox: the small skinned message box of the configuration program, 305 pixels wide, with a
// white message over its picture and OK, Cancel and a close mark. OK ends it with kEndOk; Cancel and the
// close mark with kEndCancel. Three looks exist (A with its question in its picture, B a question, C a
// warning); the callers choose.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/win32/skin_dialog.h"

namespace kavo::skin::win32 {

enum class MessageBoxLook { kA, kB, kC };

class SkinMessageBox : public SkinDialog {
 public:
  // The pictures come from module's resources.
  SkinMessageBox(HINSTANCE module, MessageBoxLook look);

  void SetText(std::string_view text);
  const std::string& text() const { return text_; }

  // The area the message is centred and wrapped in (window pixels).
  Rect TextArea() const { return textArea_; }

 protected:
  void OnBuild() override;
  void PaintTexts(HDC dc) override;

 private:
  MessageBoxLook look_;
  std::string text_;
  Rect textArea_;
  kavo::win32::UniqueFont font_;
};

}  // namespace kavo::skin::win32
