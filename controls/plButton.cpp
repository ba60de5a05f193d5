// TplButton's settings: every setter stores its value and repaints when it changed.
#include "controls/plButton.h"

namespace controls {

// ---- TplBtnCaption

void TplBtnCaption::SetCaption(const std::string& caption) {
  if (TplButton::Store(caption_, caption)) owner_.Repaint();
}

void TplBtnCaption::SetAlignment(TplBtnAlignment alignment) {
  if (TplButton::Store(alignment_, alignment)) owner_.Repaint();
}

void TplBtnCaption::SetLeft(int left) {
  if (TplButton::Store(left_, left)) owner_.Repaint();
}

void TplBtnCaption::SetRight(int right) {
  if (TplButton::Store(right_, right)) owner_.Repaint();
}

void TplBtnCaption::Assign(const TplBtnCaption& source) {
  alignment_ = source.alignment_;
  caption_ = source.caption_;
  left_ = source.left_;
  right_ = source.right_;
  owner_.Repaint();
}

// ---- TplBtnImage

void TplBtnImage::SetPicture(const forms::Picture& picture) {
  if (&picture == &picture_) return;
  picture_.Assign(picture);
  owner_.Repaint();
}

void TplBtnImage::SetLeft(int left) {
  if (!TplButton::Store(left_, left)) return;
  horzCenter_ = false;
  owner_.Repaint();
}

void TplBtnImage::SetTop(int top) {
  if (!TplButton::Store(top_, top)) return;
  vertCenter_ = false;
  owner_.Repaint();
}

void TplBtnImage::SetTransParent(bool value) {
  if (TplButton::Store(transParent_, value)) owner_.Repaint();
}

void TplBtnImage::SetVisible(bool value) {
  if (TplButton::Store(visible_, value)) owner_.Repaint();
}

void TplBtnImage::SetVertCenter(bool value) {
  if (TplButton::Store(vertCenter_, value) && value) owner_.Repaint();
}

void TplBtnImage::SetHorzCenter(bool value) {
  if (TplButton::Store(horzCenter_, value) && value) owner_.Repaint();
}

void TplBtnImage::Assign(const TplBtnImage& source) {
  if (&source == this) return;
  picture_.Assign(source.picture_);
  transParent_ = source.transParent_;
  vertCenter_ = source.vertCenter_;
  horzCenter_ = source.horzCenter_;
  top_ = source.top_;
  left_ = source.left_;
  visible_ = source.visible_;
}

// ---- TplButton: properties

TplButton::TplButton() {
  bounds_.width = 75;
  bounds_.height = 26;
  tabStop_ = true;
  color_ = forms::clBtnFace;
  parentColor_ = false;
  captionA_ = std::make_unique<TplBtnCaption>(*this);
  captionB_ = std::make_unique<TplBtnCaption>(*this);
  image_ = std::make_unique<TplBtnImage>(*this);
}

TplButton::TplButton(forms::WinControl* parent, const forms::ControlArgs& control, const Args& args)
    : TplButton() {
  Init(parent, control);
  if (args.caption) captionA_->SetCaption(*args.caption);
  if (args.captionB) captionB_->SetCaption(*args.captionB);
  SetButtonStyle(args.buttonStyle);
  SetGradation(args.gradation);
  SetGradBeginColor(args.gradBegin);
  SetGradEndColor(args.gradEnd);
  if (args.captionTop) SetCaptionTop(*args.captionTop);
  if (args.captionVertCenter) SetCaptionVertCenter(*args.captionVertCenter);
  if (args.captionLineSpace) SetCaptionLineSpace(*args.captionLineSpace);
  SetFlatFrameType(args.flatFrameType);
  if (args.imageLeft) image_->SetLeft(*args.imageLeft);
  if (args.imageTop) image_->SetTop(*args.imageTop);
  SetDisableImage(args.disableImage);
  SetHasFocus(args.hasFocus);
  modalResult_ = args.modalResult;
  cancel_ = args.cancel;
}

TplButton::~TplButton() {
  image_.reset();
  captionA_.reset();
  captionB_.reset();
}

void TplButton::SetButtonStyle(TplButtonStyle style) {
  if (style != buttonStyle_) {
    buttonStyle_ = style;
    if (IsRounded(style)) {
      ApplyRegion();
    } else if (region_) {
      RemoveRegion();
    }
  }
  Repaint();
}

void TplButton::SetCaptionA(const TplBtnCaption& source) {
  captionA_->Assign(source);
  Repaint();
}

void TplButton::SetCaptionB(const TplBtnCaption& source) {
  captionB_->Assign(source);
  Repaint();
}

void TplButton::SetCaptionLineSpace(int value) {
  if (Store(captionLineSpace_, value)) Repaint();
}

void TplButton::SetCaptionTop(int value) {
  if (!Store(captionTop_, value)) return;
  captionVertCenter_ = false;
  Repaint();
}

void TplButton::SetCaptionVertCenter(bool value) {
  if (Store(captionVertCenter_, value) && value) Repaint();
}

void TplButton::SetFlatFrameType(TplBtnFrameType value) {
  if (Store(flatFrameType_, value)) Repaint();
}

void TplButton::SetGradation(bool value) {
  if (!Store(gradation_, value)) return;
  if (value) SetParentColor(false);
  Repaint();
}

void TplButton::SetGradBeginColor(forms::Color value) {
  if (Store(gradBeginColor_, value)) Repaint();
}

void TplButton::SetGradEndColor(forms::Color value) {
  if (Store(gradEndColor_, value)) Repaint();
}

void TplButton::SetHasFocus(bool value) {
  if (Store(hasFocus_, value)) Repaint();
}

void TplButton::SetImage(const TplBtnImage& source) {
  image_->Assign(source);
  Repaint();
}

void TplButton::SetDisableImage(bool value) {
  if (Store(disableImage_, value)) Repaint();
}

}  // namespace controls
