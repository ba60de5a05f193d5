#include <gtest/gtest.h>

#include <set>
#include <string>

#include "package/package_pictures.h"
#include "package/paths.h"

namespace ear {
namespace {

TEST(PackagePictures, FileNamesFromTheRowAndItsKey) {
  PackageSettings s;
  s.title.examPictureExt = ".png";
  s.title.makerPictureExt = "bmp";  // no dot: appended all the same
  struct Case { const PackagePicture& row; std::optional<std::string> name; };
  const Case cases[] = {
      {kBackdropPicture, "bg.jpg"}, {kProcedurePicture, "bg_procedure.jpg"},
      {kExamNamePicture, "ShikenImage.png"}, {kMakerPicture, "MakerImagebmp"},
      {kGradePicture, std::nullopt},  // an empty value: the launcher does not look for it
  };
  for (const Case& c : cases) EXPECT_EQ(PictureFileName(c.row, s), c.name) << c.row.name;
  const PackagePaths paths = PackagePathsFor("C:\\L\\ExamAutoRunner.exe");
  EXPECT_EQ(PicturePath(paths, kExamNamePicture, s), "C:\\L\\##TMP##\\system\\Image\\ShikenImage.png");
  EXPECT_EQ(PicturePath(paths, kHeaderBandPicture), "C:\\L\\##TMP##\\system\\Image\\bg_main_top.jpg");
}

// What the rows promise of themselves: one row a file, an extension key that the launcher
// reads, a box for every picture drawn into one, and a width to centre on where it is centred.
TEST(PackagePictures, EveryRowIsComplete) {
  std::set<std::string> names;
  for (const PackagePicture& row : kPackagePictures) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(names.insert(row.name).second);
    if (row.extKey) {
      EXPECT_TRUE(row.extKey->Read());
      EXPECT_EQ(row.extKey->file, SettingsFile::System);
    }
    EXPECT_NE(row.takers, 0u);
    EXPECT_STRNE(row.control, "");
    EXPECT_STRNE(row.whenMissing, "");
    EXPECT_STRNE(row.whenBroken, "");
    const bool boxed = row.placement != Placement::Tiled;
    EXPECT_EQ(boxed, row.box.width > 0 && row.box.height > 0);
    const bool centred = row.placement == Placement::CentredCut || row.placement == Placement::KeyedScaled;
    EXPECT_EQ(centred, row.centreOn > 0);
    EXPECT_EQ(row.Probed(), centred);
  }
}

}  // namespace
}  // namespace ear
