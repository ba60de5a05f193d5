#include "screens/frmJPZZ0040.h"

#include "screens/font_families.h"

TfrmJPZZ0040* frmJPZZ0040 = nullptr;

void TfrmJPZZ0040::SetupProcedureScreen() {
  const ear::PackagePaths& paths = Paths();
  // 1. Header band.
  PaintHeaderBand(TRImg);
  // 2. The procedure picture at its own size from the top-left corner; the control cuts it.
  TejunImg.picture.LoadFromFile(ProcedurePicture());
  // 3. Title font.
  forms::Font font = TitleLbl.GetFont();
  font.name = ear::ScreenFontName();
  TitleLbl.SetFont(font);
  // 4. Exam type.
  ApplyExamType(ear::ReadExamType(paths), CRLbl, {{CRLbl, 664}, {BackBtn, 655}, {NextBtn, 655}});
}

void TfrmJPZZ0040::Prepare() { TejunImg.picture.PrepareFile(ProcedurePicture()); }

std::string TfrmJPZZ0040::ProcedurePicture() const { return ear::PicturePath(Paths(), ear::kProcedurePicture); }
