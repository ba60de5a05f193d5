#pragma once
// The framework's standard controls. Each is declared like a row of a layout table:
// parent, the common part (ControlArgs), then the kind's own Args.
#include <optional>
#include <string>

#include "forms/control_tree.h"

namespace forms {

enum class TextAlign { Left, Center, Right };

// The own settings of a layout row of Label.
struct LabelArgs {
  std::string caption;
  TextAlign alignment = TextAlign::Left;
  bool autoSize = true;
  bool transparent = false;
};

// A graphic label.
class Label : public Control {
 public:
  using Args = LabelArgs;
  Label(WinControl* parent, const ControlArgs& control, const Args& args = {});

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TextAlign alignment = TextAlign::Left;
  bool transparent = false;
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  // Sizes the label to its text; a right-aligned label keeps its right edge.
  void AdjustSize();
  void Paint(HDC dc) override;

 protected:
  void FontChanged() override;

 private:
  std::string caption_;
  bool autoSize_ = true;
};

enum class BevelCut { None, Raised, Lowered };

// The own settings of a layout row of Panel.
struct PanelArgs {
  std::string caption;
  BevelCut bevelOuter = BevelCut::Raised;
};

class Panel : public WinControl {
 public:
  using Args = PanelArgs;
  Panel() = default;
  Panel(WinControl* parent, const ControlArgs& control, const Args& args = {});
  BevelCut bevelOuter = BevelCut::Raised;
  void PaintWindow(HDC dc) override;
};

// A graphic frame (the framework's bevel in its frame shape, lowered); nothing of its own.
class Bevel : public Control {
 public:
  Bevel(WinControl* parent, const ControlArgs& control);
  void Paint(HDC dc) override;
};

// The own settings of a layout row of Edit.
struct EditArgs {
  std::string text;
  int maxLength = 0;    // bytes; 0: no limit
  bool imeOff = false;  // the input method stays off in this edit
  // Enter in this edit moves the focus to this button and runs its click handler.
  WinControl* enterClicks = nullptr;  // not owned
};

// A single-line edit over the system EDIT class.
class Edit : public WinControl {
 public:
  using Args = EditArgs;
  Edit(WinControl* parent, const ControlArgs& control, const Args& args = {});
  int maxLength = 0;
  bool ImeOff() const { return imeOff_; }
  void SetImeOff(bool value);
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;

 private:
  void ApplyIme();
  // Undoes a change that made the text longer than maxLength bytes.
  void KeepWithinMaxLength();
  bool imeOff_ = false;
  std::wstring accepted_;  // the text as it last stood within maxLength
};

// A push button for its form: its click hands its modal result to the form, before
// onClick. Enter on the focused button runs its click handler (WinControl::EnterClicks).
class ButtonControl : public WinControl {
 public:
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }
  // Escape clicks a cancel button wherever the focus is.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }

 protected:
  // The form's modal result becomes the button's, also when it is 0.
  void Clicking() override;
  ButtonControl() {
    tabStop_ = true;
    enterClicks_ = this;
  }
  int modalResult_ = 0;
  bool cancel_ = false;
};

}  // namespace forms
