#include "screens/frmJPZZ0010.h"

#include "screens/coded_message_win.h"
#include "screens/screen_painting.h"

TfrmJPZZ0010* frmJPZZ0010 = nullptr;

namespace {

constexpr char kNameModeCaption[] =
    "受験者用フォルダーを作成します。姓名を入力し、[OK]ボタンをクリックして下さい。";

}  // namespace

TfrmJPZZ0010::TfrmJPZZ0010(forms::Form* owner, const ear::WizardContext& context)
    : WizardScreen(owner, {.name = "frmJPZZ0010", .clientWidth = 697, .clientHeight = 554,
                   .position = forms::Position::ScreenCenter, .color = forms::clBtnFace,
                   .font = ear::kGothic12,
                   .text = "frmJPZZ0010"}, context) {
  DebugMode = context.debugMode;
}

void TfrmJPZZ0010::FormCreate() { Busy = false; }

void TfrmJPZZ0010::PlaceWindow() {
  if (DebugMode) HideBackdrop();
  SetTopmost(!DebugMode);
}

void TfrmJPZZ0010::SetupRegistrationScreen() {
  const ear::PackagePaths& paths = Paths();
  const ear::PackageSettings settings = ear::ReadPackageSettings(paths);
  for (forms::Edit* edit : {&SeiEdt, &MeiEdt, &KaiCdEdt, &JuBanEdt}) edit->SetText("");
  PaintHeaderBand(TRImg);
  ear::CenterImageByFile(*this, TejunImg, ear::PicturePath(paths, ear::kRegistrationProcedurePicture));
  if (settings.Mode() == ear::RegistrationMode::Venue) {
    for (forms::Control* c : std::initializer_list<forms::Control*>{&SeiLbl, &SeiEdt, &MeiLbl, &MeiEdt, &Bevel1,
                                                                    &MidashiLbl}) {
      c->Hide();
    }
    KaiCdEdt.SetFocus();
  } else {
    MidashiLbl.SetCaption(kNameModeCaption);
    MidashiLbl.SetLeft(117);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&KaiCdEdt, &JuBanEdt, &MongonImg, &MidashiImg}) {
      c->Hide();
    }
    SeiEdt.SetFocus();
  }
  ApplyExamType(settings.examType, CRLbl, {{BackBtn, 520}, {OkBtn, 520}});
}


void TfrmJPZZ0010::ShowCheckResult(const ear::CheckResult& result) {
  forms::Edit* edit = &JuBanEdt;
  if (result.focus == ear::RegistrationEdit::SeiEdt) edit = &SeiEdt;
  if (result.focus == ear::RegistrationEdit::MeiEdt) edit = &MeiEdt;
  if (result.focus == ear::RegistrationEdit::KaiCdEdt) edit = &KaiCdEdt;
  edit->SetFocus();
  ear::ShowCodedMessage(this, result.message, "");
}
