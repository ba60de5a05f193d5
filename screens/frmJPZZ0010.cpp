#include "screens/frmJPZZ0010.h"

#include "base/command_line.h"
#include "base/command_line_win.h"
#include "base/module_path.h"
#include "imaging/painting_win.h"
#include "package/package_settings.h"
#include "package/paths.h"
#include "screens/coded_message_win.h"
#include "screens/screen_painting.h"
#include "screens/wizard.h"

TfrmJPZZ0010* frmJPZZ0010 = nullptr;

namespace {

constexpr char kNameModeCaption[] =
    "受験者用フォルダーを作成します。姓名を入力し、[OK]ボタンをクリックして下さい。";

}  // namespace

TfrmJPZZ0010::TfrmJPZZ0010(forms::Form* owner)
    : Form(owner, {.name = "frmJPZZ0010", .clientWidth = 697, .clientHeight = 554,
                   .position = forms::Position::ScreenCenter, .color = forms::clBtnFace,
                   .font = ear::kGothic12,
                   .text = "frmJPZZ0010"}) {}

void TfrmJPZZ0010::FormCreate() { Busy = false; }

void TfrmJPZZ0010::FormShow() {
  if (ear::HasDebugFlag(ear::CommandLineArguments())) DebugMode = true;
  SetupRegistrationScreen();
  PostMessageW(Handle(), forms::WM_AFTERSHOW, 0, 0);
  if (DebugMode) {
    if (wizardBackdrop) wizardBackdrop->HideForm();
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  } else {
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
}

void TfrmJPZZ0010::SetupRegistrationScreen() {
  const ear::PackagePaths paths = ear::PackagePathsFor(ear::ExecutablePath());
  const ear::PackageSettings settings = ear::ReadPackageSettings(paths);
  for (forms::Edit* edit : {&SeiEdt, &MeiEdt, &KaiCdEdt, &JuBanEdt}) edit->SetText("");
  ear::PaintBackdrop(TRImg, paths.imageFolder + "bg_main_top.jpg", TRImg.Width(), TRImg.Height());
  ear::CenterImageByFile(*this, TejunImg, paths.imageFolder + "procedure" + "01.jpg");
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
  if (settings.AlternativeLayout()) {
    CRLbl.SetCaption(ear::kCopyrightNotice3);
    BackBtn.SetTop(520);
    OkBtn.SetTop(520);
  }
}

void TfrmJPZZ0010::AfterShow() { ear::ApplyRoundedRegion(Handle()); }

void TfrmJPZZ0010::ShowCheckResult(const ear::CheckResult& result) {
  forms::Edit* edit = &JuBanEdt;
  if (result.focus == ear::RegistrationEdit::SeiEdt) edit = &SeiEdt;
  if (result.focus == ear::RegistrationEdit::MeiEdt) edit = &MeiEdt;
  if (result.focus == ear::RegistrationEdit::KaiCdEdt) edit = &KaiCdEdt;
  edit->SetFocus();
  ear::ShowCodedMessage(this, result.message, "");
}
