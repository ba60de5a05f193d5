#include "screens/wizard_screen.h"

#include <exception>
#include <stdexcept>

#include "forms/application.h"
#include "imaging/painting_win.h"
#include "screens/artwork.h"
#include "screens/screen_painting.h"

namespace ear {

namespace {

constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE;

}  // namespace

std::unique_ptr<WizardScreen> MakeScreenAt(std::size_t step, forms::Form* owner, WizardContext context) {
  if (step >= context.order.size()) throw std::out_of_range("no wizard screen after the last");
  context.step = step;
  return context.order[step].make(owner, context);
}

void WizardScreen::FormShow() {
  SetUp();
  PostMessageW(Handle(), forms::WM_AFTERSHOW, 0, 0);
  PlaceWindow();
}

WizardScreen::~WizardScreen() { forms::App().CancelIdle(this); }

void WizardScreen::AfterShow() {
  ApplyRoundedRegion(Handle());
  if (context_.prepareNext && !next_ && context_.step + 1 < context_.order.size()) {
    forms::App().CancelIdle(this);
    forms::App().WhenIdle(this, [this] { return PrepareNextScreen(); });
  }
}

bool WizardScreen::PrepareNextScreen() {
  try {
    if (!next_) {
      next_ = MakeScreenAt(context_.step + 1, nullptr, context_);
      return true;
    }
    if (!next_->HandleAllocated()) {
      next_->Handle();
      next_->PlaceAsShown();
      return true;
    }
    next_->Prepare();
  } catch (const std::exception&) {
    next_.reset();  // OpenNextScreen makes it again and reports the error then
  }
  return false;
}

void WizardScreen::PaintHeaderBand(forms::Image& band) {
  PaintBackdrop(band, PicturePath(paths_, kHeaderBandPicture), band.Width(), band.Height());
}

bool WizardScreen::ApplyExamType(std::string_view examType, forms::Label& footer,
                                 std::initializer_list<Move> moves) {
  if (!IsAlternativeExamType(examType)) return false;
  footer.SetCaption(kCopyrightNotice3);
  for (const Move& move : moves) move.control.SetTop(move.top);
  return true;
}

void WizardScreen::SetTopmost(bool topmost) {
  SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlace);
}

void WizardScreen::PutBackdropJustBelow() {
  // Through the topmost band and back: the backdrop ends at the top of the ordinary windows.
  if (context_.backdrop) SetWindowPos(context_.backdrop->Handle(), HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
  SetTopmost(true);
  if (context_.backdrop) SetWindowPos(context_.backdrop->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlace);
  SetTopmost(true);
}

void WizardScreen::HideBackdrop() {
  if (context_.backdrop) context_.backdrop->HideForm();
}

void WizardScreen::OpenNextScreen() {
  int result = forms::mrCancel;
  HideForm();
  forms::App().CancelIdle(this);
  try {
    std::unique_ptr<WizardScreen> next = std::move(next_);
    if (!next) next = MakeScreenAt(context_.step + 1, nullptr, context_);
    result = next->ShowModal();
  } catch (const std::exception& error) {
    forms::App().ShowException(error);
  }
  if (result == forms::mrNo) {
    ShowForm();
  } else {
    SetModalResult(result);
  }
}

}  // namespace ear
