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

void WizardScreen::AfterShow() { ApplyRoundedRegion(Handle()); }

void WizardScreen::PaintHeaderBand(forms::Image& band) {
  PaintBackdrop(band, paths_.imageFolder + "bg_main_top.jpg", band.Width(), band.Height());
}

bool WizardScreen::ApplyExamType(const PackageSettings& settings, forms::Label& footer,
                                 std::initializer_list<Move> moves) {
  if (!settings.AlternativeLayout()) return false;
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
  try {
    const std::unique_ptr<WizardScreen> next = MakeScreenAt(context_.step + 1, nullptr, context_);
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
