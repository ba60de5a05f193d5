#pragma once
// TplButton: the custom-drawn gradient push button of the wizard screens.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/gdi.h"
#include "controls/plButtonMath.h"
#include "forms/control_tree.h"
#include "forms/standard_controls.h"
#include "forms/picture.h"

namespace controls {

namespace gdi = ear::gdi;

class TplButton;

// The framework's number of the left mouse button in MouseDown and MouseUp.
constexpr int kLeftButton = 0;

// One caption line. Assign takes only another TplBtnCaption: assigning an object of any
// other class is refused at compile time rather than with an error at run time.
class TplBtnCaption {
 public:
  explicit TplBtnCaption(TplButton& owner) : owner_(owner) {}
  TplBtnCaption(const TplBtnCaption&) = delete;
  TplBtnCaption& operator=(const TplBtnCaption&) = delete;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TplBtnAlignment Alignment() const { return alignment_; }
  void SetAlignment(TplBtnAlignment alignment);
  int Left() const { return left_; }
  void SetLeft(int left);
  int Right() const { return right_; }
  void SetRight(int right);

  void Assign(const TplBtnCaption& source);

 private:
  TplButton& owner_;  // not owned
  std::string caption_;
  TplBtnAlignment alignment_ = taCenter;
  int left_ = 0;
  int right_ = 0;
};

// The picture and its placement. Assign, like TplBtnCaption's, takes only its own class.
class TplBtnImage {
 public:
  explicit TplBtnImage(TplButton& owner) : owner_(owner) {}
  TplBtnImage(const TplBtnImage&) = delete;
  TplBtnImage& operator=(const TplBtnImage&) = delete;

  const forms::Picture& Picture() const { return picture_; }
  // Copies the content of the given picture.
  void SetPicture(const forms::Picture& picture);
  int Left() const { return left_; }
  void SetLeft(int left);
  int Top() const { return top_; }
  void SetTop(int top);
  bool TransParent() const { return transParent_; }
  void SetTransParent(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool VertCenter() const { return vertCenter_; }
  void SetVertCenter(bool value);
  bool HorzCenter() const { return horzCenter_; }
  void SetHorzCenter(bool value);

  // Plain field copies: the centring flags stay as the source has them; no repaint.
  void Assign(const TplBtnImage& source);

 private:
  friend class TplButton;
  TplButton& owner_;  // not owned
  forms::Picture picture_;  // owned
  int left_ = 10;
  int top_ = 0;
  bool transParent_ = false;
  bool visible_ = true;
  bool vertCenter_ = true;
  bool horzCenter_ = false;
};

// The button's own design settings, applied through the setters in this order (so
// captionTop turns vertical centring off unless captionVertCenter says otherwise).
// Unset optionals keep the defaults; an unset caption leaves the name as the caption.
struct TplButtonArgs {
  std::optional<std::string> caption;  // CaptionA
  std::optional<std::string> captionB;
  TplButtonStyle buttonStyle = bsNormal;
  bool gradation = true;
  forms::Color gradBegin = 0xFFFFFF;
  forms::Color gradEnd = 0xC0C0C0;
  std::optional<int> captionTop;
  std::optional<bool> captionVertCenter;
  std::optional<int> captionLineSpace;
  TplBtnFrameType flatFrameType = bffFlat;
  bool disableImage = false;
  std::optional<int> imageLeft;  // Image.Left
  std::optional<int> imageTop;   // Image.Top
  bool hasFocus = true;
  int modalResult = 0;
  bool cancel = false;
};

class TplButton : public forms::ButtonControl {
 public:
  static constexpr const wchar_t* kClassName = L"TplButton";

  using Args = TplButtonArgs;
  TplButton();
  TplButton(forms::WinControl* parent, const forms::ControlArgs& control, const Args& args = {});
  ~TplButton() override;

  TplButtonStyle ButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(TplButtonStyle style);
  TplBtnCaption& CaptionA() { return *captionA_; }
  const TplBtnCaption& CaptionA() const { return *captionA_; }
  void SetCaptionA(const TplBtnCaption& source);
  TplBtnCaption& CaptionB() { return *captionB_; }
  const TplBtnCaption& CaptionB() const { return *captionB_; }
  void SetCaptionB(const TplBtnCaption& source);
  int CaptionLineSpace() const { return captionLineSpace_; }
  void SetCaptionLineSpace(int value);
  int CaptionTop() const { return captionTop_; }
  void SetCaptionTop(int value);
  bool CaptionVertCenter() const { return captionVertCenter_; }
  void SetCaptionVertCenter(bool value);
  TplBtnFrameType FlatFrameType() const { return flatFrameType_; }
  void SetFlatFrameType(TplBtnFrameType value);
  bool Gradation() const { return gradation_; }
  void SetGradation(bool value);
  forms::Color GradBeginColor() const { return gradBeginColor_; }
  void SetGradBeginColor(forms::Color value);
  forms::Color GradEndColor() const { return gradEndColor_; }
  void SetGradEndColor(forms::Color value);
  bool HasFocus() const { return hasFocus_; }
  void SetHasFocus(bool value);
  TplBtnImage& Image() { return *image_; }
  const TplBtnImage& Image() const { return *image_; }
  void SetImage(const TplBtnImage& source);
  bool DisableImage() const { return disableImage_; }
  void SetDisableImage(bool value);
  bool Pressed() const { return pressed_; }
  // The rounded region last handed to the window (owned by the window), or null.
  HRGN Region() const { return region_; }

  // The painting steps, in the order PaintButton runs them.
  void PaintButton(HDC dc);
  void PaintGradient(HDC dc);
  void PaintImage(HDC dc);
  void PaintCaption(HDC dc, const TplBtnCaption& caption, int top);
  void PaintFrame(HDC dc);
  void PaintFocusMark(HDC dc);
  // A white 24-bit copy of the icon's size with the icon drawn on it.
  static gdi::Dib IconToBitmap(HICON icon, int width, int height);
  static gdi::Dib GreyedCopy(const gdi::Dib& source);

  void SetParent(forms::WinControl* parent) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool DialogKey(WORD key, unsigned shift) override;
  void KeyUp(WORD& key, unsigned shift) override;
  void MouseDown(int button, unsigned shift, int x, int y) override;
  void MouseUp(int button, unsigned shift, int x, int y) override;
  void MouseEnter(unsigned shift, int x, int y) override;
  void MouseLeave(unsigned shift, int x, int y) override;
  void DoEnter() override;
  void DoExit() override;
  void EnabledChanged() override;
  void Resized() override;
  void PaintWindow(HDC dc) override;

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  void ParentColorChanged() override;
  // A click also lifts the button (Pressed false) before the form's modal result and
  // onClick, and repaints it after.
  void Clicking() override;
  void Clicked() override;

 private:
  friend class TplBtnCaption;
  friend class TplBtnImage;
  void ApplyRegion();
  void RemoveRegion();
  // The pressed look on or off, painted at once.
  void SetPressed(bool value);
  bool ShowsDisabledLook() const;
  bool IsActiveControl() const;

  TplButtonStyle buttonStyle_ = bsNormal;
  std::unique_ptr<TplBtnCaption> captionA_;  // owned
  std::unique_ptr<TplBtnCaption> captionB_;  // owned
  int captionLineSpace_ = 4;
  int captionTop_ = 0;
  bool captionVertCenter_ = true;
  TplBtnFrameType flatFrameType_ = bffFlat;
  bool gradation_ = true;
  forms::Color gradBeginColor_ = 0xFFFFFF;
  forms::Color gradEndColor_ = 0xC0C0C0;
  bool hasFocus_ = true;
  std::unique_ptr<TplBtnImage> image_;  // owned, with its picture
  bool disableImage_ = false;
  RECT faceRect_{};
  HRGN region_ = nullptr;  // owned by the window once handed over
  bool pressed_ = false;
  bool captionInitialised_ = false;
};

}  // namespace controls
