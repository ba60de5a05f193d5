#pragma once
// Top-level forms: show, modal run with a modal result, close.
#include "forms/control_tree.h"

namespace forms {

// Private message that every screen posts to itself at the end of its show handler.
constexpr UINT WM_AFTERSHOW = WM_USER + 0x100;  // 0x500

enum class Position { Designed, ScreenCenter };

// Dialog results as the platform numbers them.
enum : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// A form's design settings; the window text is the form's Text().
struct FormArgs {
  std::string name;
  int clientWidth = 0;
  int clientHeight = 0;
  int left = 0;  // where the window goes when position is Designed
  int top = 0;
  Position position = Position::Designed;
  Color color = clBtnFace;
  Font font;
  std::string text;  // the window text (title)
  bool borderless = true;
};

class Form : public WinControl, public TopLevel {
 public:
  using Args = FormArgs;
  // The owner's window owns ours: it stays above the owner and is modal to it.
  explicit Form(Form* owner = nullptr, const Args& args = {});
  ~Form() override;

  Form* Owner() const { return owner_; }
  Position position = Position::Designed;
  bool borderless = true;

  // The client size; the window has no frame when borderless.
  void SetClientSize(int width, int height) { SetBounds(bounds_.left, bounds_.top, width, height); }

  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // Shows the form and runs a nested message loop until the modal result is non-zero.
  int ShowModal();
  bool IsModal() const { return modal_; }
  void ShowForm() override;
  void HideForm();
  // Where a show puts the form: a centred form to the screen's centre, or, larger than the
  // screen, with its bottom edge in view (CentreOnScreen). A window already there is left alone.
  void PlaceAsShown();
  // A modal form ends with mrCancel; the main form ends the application.
  void Close();

  WinControl* ActiveControl() const override { return activeControl_; }
  void SetActiveControl(WinControl* control) override;
  void NoteFocus(WinControl* control) override { activeControl_ = control; }
  void SelectNext(bool forward) override;

  // Run once when the window is first created, and each time the form is shown.
  virtual void FormCreate() {}
  virtual void FormShow() {}

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void SetParent(WinControl* parent) override;

 protected:
  void FillCreateParams(CreateParams& params) override;
  // Handler of WM_AFTERSHOW.
  virtual void AfterShow() {}
  // A form looks the same disabled (a modal screen disables the others): no repaint.
  void EnabledChanged() override {}

 private:
  void DoShow();
  // After Tab: a centred form larger than the screen moves so that the focused control shows.
  void BringActiveControlIntoView();
  Form* owner_;  // not owned
  int modalResult_ = 0;
  bool modal_ = false;
  bool created_ = false;
  WinControl* activeControl_ = nullptr;  // not owned
};

// The form the control sits in, or null.
Form* ParentForm(const Control& control);

}  // namespace forms
