#include "screens/frmJPZZ0040.h"

#include "base/module_path.h"
#include "imaging/painting_win.h"
#include "package/package_settings.h"
#include "package/paths.h"
#include "screens/font_families.h"
#include "screens/frmJPZZ0010.h"
#include "screens/screen_painting.h"
#include "screens/wizard.h"

TfrmJPZZ0040* frmJPZZ0040 = nullptr;


void TfrmJPZZ0040::SetupProcedureScreen() {
  const ear::PackagePaths paths = ear::PackagePathsFor(ear::ExecutablePath());
  // 1. Header band.
  ear::PaintBackdrop(TRImg, paths.imageFolder + "bg_main_top.jpg", TRImg.Width(), TRImg.Height());
  // 2. The procedure picture at its own size from the top-left corner; the control cuts it.
  TejunImg.picture.LoadFromFile(paths.imageFolder + "bg_procedure.jpg");
  // 3. Title font.
  forms::Font font = TitleLbl.GetFont();
  font.name = ear::ScreenFontName();
  TitleLbl.SetFont(font);
  // 4. Exam type.
  if (ear::ReadPackageSettings(paths).AlternativeLayout()) {
    CRLbl.SetCaption(ear::kCopyrightNotice3);
    CRLbl.SetTop(664);
    BackBtn.SetTop(655);
    NextBtn.SetTop(655);
  }
}

void TfrmJPZZ0040::FormShow() {
  SetupProcedureScreen();
  PostMessageW(Handle(), forms::WM_AFTERSHOW, 0, 0);
}

void TfrmJPZZ0040::AfterShow() { ear::ApplyRoundedRegion(Handle()); }

void TfrmJPZZ0040::NextBtnClick() { OpenNextScreen(*this, frmJPZZ0010); }
