#include "screens/frmJPZZ0030.h"

#include "imaging/painting_geometry.h"
#include "imaging/painting_win.h"
#include "screens/font_families.h"
#include "screens/screen_painting.h"
#include "screens/title_rules.h"

TfrmJPZZ0030* frmJPZZ0030 = nullptr;

namespace {

void SetFontName(forms::Control& control, const std::string& name) {
  forms::Font font = control.GetFont();
  font.name = name;
  control.SetFont(font);
}

}  // namespace

void TfrmJPZZ0030::SetupTitleScreen() {
  const ear::PackagePaths& paths = Paths();
  const ear::PackageSettings settings = ear::ReadPackageSettings(paths);
  const ear::TitleTexts& title = settings.title;

  // 1. Header band.
  PaintHeaderBand(TRImg);

  // 2. Fonts; the moves come first, so the right-aligned grade label keeps the right
  // edge of its new left edge through the font change.
  const std::string fontName = ear::ScreenFontName();
  if (fontName == "メイリオ") {
    KyuName1Lbl.SetBounds(289, 254, KyuName1Lbl.Width(), KyuName1Lbl.Height());
    KyuLbl2Lbl.SetBounds(327, 274, KyuLbl2Lbl.Width(), KyuLbl2Lbl.Height());
  } else {
    KyuName1Lbl.SetBounds(295, 261, KyuName1Lbl.Width(), KyuName1Lbl.Height());
    KyuLbl2Lbl.SetBounds(326, 276, KyuLbl2Lbl.Width(), KyuLbl2Lbl.Height());
  }
  for (forms::Control* label : {static_cast<forms::Control*>(&ShikenNameLbl), static_cast<forms::Control*>(&KyuName1Lbl),
                                static_cast<forms::Control*>(&KyuLbl2Lbl), static_cast<forms::Control*>(&FileNameLbl)}) {
    SetFontName(*label, fontName);
  }

  // 3. Exam name, as a picture or as text; X is where it starts.
  const int centringWidth = Width();
  int x = 0;
  if (!title.examPictureExt.empty()) {
    x = ear::DrawKeyedPicture(Image1, paths, ear::kExamNamePicture, settings, 0, centringWidth);
    ShikenNameLbl.Hide();
  } else {
    ShikenNameLbl.SetCaption(title.examName);
    ShikenNameLbl.SetAutoSize(true);
    ShikenNameLbl.SetLeft(ear::ClampToInt(ear::CenteredLeft(Width(), ShikenNameLbl.Width())));
    x = ShikenNameLbl.Left();
  }

  // 4. Maker logo where the exam name starts (the label's client X used as a bitmap X).
  if (!title.makerPictureExt.empty()) {
    ear::DrawKeyedPicture(Image1, paths, ear::kMakerPicture, settings, x, centringWidth);
  }

  // 5. Grade.
  if (!title.gradePictureExt.empty()) {
    ear::DrawKeyedPicture(Image1, paths, ear::kGradePicture, settings, 0, centringWidth);
    KyuName1Lbl.Hide();
    KyuLbl2Lbl.Hide();
  } else {
    const ear::GradeSplit grade = ear::SplitGradeName(title.gradeName);
    KyuName1Lbl.SetCaption(grade.first);
    KyuLbl2Lbl.SetCaption(grade.rest);
  }

  // 6. File name or development code.
  FileNameLbl.SetCaption(std::string(settings.Prefix()));

  // 7. Exam type.
  if (ApplyExamType(settings.examType, CRLbl, {{NextBtn, 468}})) {
    RenImg.Hide();
  } else {
    Ren2Img.Hide();
  }
}
