#include "screens/frmJPZZ0010.h"

#include "base/command_line.h"
#include "base/command_line_win.h"
#include "base/module_path.h"
#include "imaging/painting_win.h"
#include "package/ini.h"
#include "package/paths.h"
#include "screens/candidate_folder.h"
#include "screens/coded_message_win.h"
#include "screens/registration_rules.h"
#include "screens/screen_painting.h"
#include "screens/title_rules.h"
#include "screens/wizard.h"

TfrmJPZZ0010* frmJPZZ0010 = nullptr;

namespace {

constexpr char kBasicInfo[] = "基本情報";
constexpr char kNameModeCaption[] =
    "受験者用フォルダーを作成します。姓名を入力し、[OK]ボタンをクリックして下さい。";

}  // namespace

TfrmJPZZ0010::TfrmJPZZ0010(forms::Form* owner)
    : Form(owner, {.name = "frmJPZZ0010", .clientWidth = 697, .clientHeight = 554,
                   .position = forms::Position::ScreenCenter, .color = forms::clBtnFace,
                   .font = {.name = "ＭＳ Ｐゴシック", .height = -12, .charset = SHIFTJIS_CHARSET},
                   .text = "frmJPZZ0010"}) {
  for (forms::Edit* edit : {&SeiEdt, &MeiEdt, &JuBanEdt, &KaiCdEdt}) {
    edit->onKeyDown = [this](forms::WinControl& sender, WORD& key, unsigned shift) { EdtKeyDown(sender, key, shift); };
  }
}

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
  for (forms::Edit* edit : {&SeiEdt, &MeiEdt, &KaiCdEdt, &JuBanEdt}) edit->SetText("");
  ear::PaintBackdrop(TRImg, paths.imageFolder + "bg_main_top.jpg", TRImg.Width(), TRImg.Height());
  ear::CenterImageByFile(*this, TejunImg, paths.imageFolder + "procedure" + "01.jpg");
  if (ear::ModeFromAbb(ear::ReadIniString(paths.systemIni, kBasicInfo, "ABB")) == ear::RegistrationMode::Venue) {
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
  if (ear::IsAlternativeExamType(ear::ReadIniString(paths.setupIni, kBasicInfo, "受験タイプ"))) {
    CRLbl.SetCaption(ear::kCopyrightNotice3);
    BackBtn.SetTop(520);
    OkBtn.SetTop(520);
  }
}

void TfrmJPZZ0010::AfterShow() { ear::ApplyRoundedRegion(Handle()); }

void TfrmJPZZ0010::EdtKeyDown(forms::WinControl& /*sender*/, WORD& key, unsigned /*shift*/) {
  if (key != VK_RETURN) return;
  OkBtn.SetFocus();
  OnButtonClick(&OkBtn);
}

namespace {

forms::Edit& EditFor(TfrmJPZZ0010& screen, ear::RegistrationEdit edit) {
  switch (edit) {
    case ear::RegistrationEdit::SeiEdt: return screen.SeiEdt;
    case ear::RegistrationEdit::MeiEdt: return screen.MeiEdt;
    case ear::RegistrationEdit::KaiCdEdt: return screen.KaiCdEdt;
    default: return screen.JuBanEdt;
  }
}

bool Apply(TfrmJPZZ0010& screen, const ear::CheckResult& result) {
  if (result.ok) return true;
  EditFor(screen, result.focus).SetFocus();
  ear::ShowCodedMessage(&screen, nullptr, result.message, "");
  return false;
}

}  // namespace

bool TfrmJPZZ0010::CheckNames() {
  const ear::PackagePaths paths = ear::PackagePathsFor(ear::ExecutablePath());
  const std::string fileName = ear::ReadIniString(paths.systemIni, kBasicInfo, "ファイル名称");
  const std::string devCode = ear::ReadIniString(paths.systemIni, kBasicInfo, "開発コード");
  const std::string bushu = ear::ReadIniString(paths.setupIni, kBasicInfo, "部種名称");
  const ear::CandidatePathParts parts{paths.parentFolder, ear::FileNameOrDevCode(fileName, devCode), bushu};
  return Apply(*this, ear::CheckNames(SeiEdt.Text(), MeiEdt.Text(), parts));
}

bool TfrmJPZZ0010::CheckVenueCode() { return Apply(*this, ear::CheckVenueCode(KaiCdEdt.Text())); }

bool TfrmJPZZ0010::CheckCandidateNumber() { return Apply(*this, ear::CheckCandidateNumber(JuBanEdt.Text())); }
