#include "screens/wizard.h"

#include <exception>
#include <stdexcept>

#include "forms/application.h"
#include "imaging/painting_win.h"
#include "screens/artwork.h"
#include "screens/frmJPZZ0010.h"
#include "screens/frmJPZZ0030.h"
#include "screens/frmJPZZ0040.h"
#include "screens/screen_painting.h"

namespace ear {

namespace {

template <class Screen, Screen*& reference>
std::unique_ptr<WizardScreen> Make(forms::Form* owner, const WizardContext& context) {
  auto screen = std::make_unique<Screen>(owner, context);
  reference = screen.get();
  return screen;
}

constexpr WizardStep kWizardOrder[] = {
    {"title", "タイトル画面", &Make<TfrmJPZZ0030, frmJPZZ0030>},
    {"procedure", "手順確認画面", &Make<TfrmJPZZ0040, frmJPZZ0040>},
    {"registration", "受験者登録画面", &Make<TfrmJPZZ0010, frmJPZZ0010>},
};

constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE;

}  // namespace

std::span<const WizardStep> WizardOrder() { return kWizardOrder; }

std::unique_ptr<WizardScreen> MakeWizardScreen(std::size_t step, forms::Form* owner, WizardContext context) {
  if (step >= std::size(kWizardOrder)) throw std::out_of_range("no wizard screen after the last");
  context.step = step;
  return kWizardOrder[step].make(owner, context);
}

void WizardScreen::FormShow() {
  SetUp();
  PostMessageW(Handle(), forms::WM_AFTERSHOW, 0, 0);
  PlaceWindow();
}

void WizardScreen::AfterShow() { ApplyRoundedRegion(Handle()); }

void WizardScreen::PaintHeaderBand(forms::Image& band) {
  PaintBackdrop(band, context_.paths.imageFolder + "bg_main_top.jpg", band.Width(), band.Height());
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
    const std::unique_ptr<WizardScreen> next = MakeWizardScreen(context_.step + 1, nullptr, context_);
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
