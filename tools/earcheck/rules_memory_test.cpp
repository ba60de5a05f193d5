// earcheck's rules over packages held in memory: no file is read, each case changes one fact
// of a clean package and names the finding it must bring. The pictures' cases loop over the
// launcher's table, so a new row is checked without a new case.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "package/package_pictures.h"
#include "tools/earcheck/findings.h"
#include "tools/earcheck/rules.h"

namespace earcheck {
namespace {

constexpr char kImage[] = "system\\Image\\";

std::string DosHeader() {
  std::string dos(64, '\0');
  dos[0] = 'M';
  dos[1] = 'Z';
  dos[60] = 64;
  return dos;
}

std::string PeHeader(unsigned machine, unsigned subsystem) {
  std::string pe(24 + 72, '\0');
  pe.replace(0, 4, std::string("PE\0\0", 4));
  pe[4] = static_cast<char>(machine & 0xFF);
  pe[5] = static_cast<char>(machine >> 8);
  pe[24] = 0x0B;
  pe[25] = machine == 0x14C ? 0x01 : 0x02;
  pe[24 + 68] = static_cast<char>(subsystem);
  return pe;
}

void SetIni(PackageFacts& p, ear::SettingsFile file, std::string bytes) {
  SettingsFileFacts& f = p.settingsFiles[static_cast<int>(file)];
  f.kind = Kind::File;
  f.read = true;
  f.bytes = std::move(bytes);
}

// A sound package: every picture at the size of its box (a tiled one 64 x 48), decoded.
PackageFacts Clean() {
  PackageFacts p;
  p.nativePath = "/p/L/##TMP##";
  p.folderName = "##TMP##";
  p.exePath = "C:\\L\\ExamAutoRunner.exe";
  SetIni(p, ear::SettingsFile::System,
         "[基本情報]\r\n試験名=模擬\r\n試験画像拡張子=.png\r\nメーカー画像拡張子=.png\r\n級TOP画像拡張子=.jpg\r\n"
         "級名=３級\r\nABB=EAR\r\n開発コード=EAR01\r\n");
  SetIni(p, ear::SettingsFile::Setup, "[基本情報]\r\n受験タイプ=1\r\n部種名称=模擬試験\r\n");
  const ear::PackageSettings settings = SettingsOf(p);
  for (const ear::PackagePicture& row : ear::kPackagePictures) {
    PictureFacts& f = p.pictures[*ear::PictureFileName(row, settings)];
    f.kind = Kind::File;
    const unsigned w = row.box.width ? row.box.width : 64, h = row.box.height ? row.box.height : 48;
    f.probed = row.Probed();
    f.probedWidth = w;
    f.probedHeight = h;
    if (ear::PictureFileName(row, settings)->ends_with(".jpg")) {
      f.jpeg = PictureFacts::Jpeg::Decoded;
      f.jpegWidth = w;
      f.jpegHeight = h;
    }
  }
  p.examProgram = {.looked = true, .kind = Kind::File, .dosHeader = DosHeader(), .peHeader = PeHeader(0x14C, 2)};
  return p;
}

std::vector<std::string> Ids(const PackageReport& r) {
  std::vector<std::string> ids;
  for (const Finding& f : r.findings) ids.push_back(RowOf(f.kind).id);
  return ids;
}

const Finding* Find(const PackageReport& r, FindingKind kind, const std::string& file) {
  for (const Finding& f : r.findings) {
    if (f.kind == kind && f.file == file) return &f;
  }
  return nullptr;
}

TEST(RulesInMemory, ACleanPackageHasOnlyInfos) {
  const PackageReport r = CheckPackage(Clean());
  EXPECT_EQ(Ids(r), (std::vector<std::string>{
                        "shiken-ini-absent", "mode-venue", "exam-name-replaced-by-picture", "grade-replaced-by-picture",
                        "dev-code-used", "exam-type-standard", "exam-program-name", "picture-placed", "picture-placed",
                        "picture-scaled", "picture-scaled", "picture-scaled", "exam-program-machine", "bytes-left"}));
  for (const Finding& f : r.findings) EXPECT_EQ(f.severity, RowOf(f.kind).severity) << f.message;
  EXPECT_TRUE(r.Ok());
  EXPECT_TRUE(r.venueMode);
  EXPECT_EQ(r.examType, "1");
}

// Each picture of the table missing, as a folder, rejected by the probe, and larger than its
// box: the finding's kind follows the row, its words are the row's.
TEST(RulesInMemory, EachPictureOfTheTable) {
  for (const ear::PackagePicture& row : ear::kPackagePictures) {
    SCOPED_TRACE(row.name);
    PackageFacts p = Clean();
    const std::string name = *ear::PictureFileName(row, SettingsOf(p));
    const std::string file = kImage + name;
    const FindingKind missing = row.missing == ear::WhenMissing::ErrorBox    ? FindingKind::PictureMissingErrorBox
                                : row.missing == ear::WhenMissing::HidesText ? FindingKind::PictureMissingTextHidden
                                : row.missing == ear::WhenMissing::Optional  ? FindingKind::PictureMissingOptional
                                                                              : FindingKind::PictureMissingSilent;
    for (const Kind kind : {Kind::Missing, Kind::Folder}) {
      p.pictures[name].kind = kind;
      const PackageReport r = CheckPackage(p);
      const Finding* f = Find(r, missing, file);
      ASSERT_TRUE(f);
      EXPECT_TRUE(f->message.ends_with(row.whenMissing)) << f->message;
      EXPECT_EQ(f->key.has_value(), row.extKey != nullptr);
    }
    p = Clean();
    p.pictures[name].probeFailed = true;
    p.pictures[name].probeError = "probe says no";
    p.pictures[name].jpeg = PictureFacts::Jpeg::DecodeFailed;
    p.pictures[name].jpegMessage = "decoder says no";
    const PackageReport broken = CheckPackage(p);
    if (row.Probed()) {
      ASSERT_TRUE(Find(broken, FindingKind::PictureProbeError, file));
      EXPECT_TRUE(Find(broken, FindingKind::PictureProbeError, file)->message.ends_with("probe says no"));
    } else {
      ASSERT_TRUE(Find(broken, FindingKind::PictureNotJpeg, file));
      EXPECT_TRUE(Find(broken, FindingKind::PictureNotJpeg, file)->message.ends_with(row.whenBroken));
    }
    if (row.Probed()) {  // a probe error is one also without a message of its own
      p.pictures[name].probeError.clear();
      EXPECT_TRUE(Find(CheckPackage(p), FindingKind::PictureProbeError, file));
    }
    p = Clean();
    PictureFacts& big = p.pictures[name];
    big.probedWidth = big.jpegWidth = row.box.width + 1;
    const PackageReport wide = CheckPackage(p);
    const std::string box = std::to_string(row.box.width) + " × " + std::to_string(row.box.height);
    switch (row.placement) {
      case ear::Placement::Tiled:
        EXPECT_EQ(Ids(wide), Ids(CheckPackage(Clean())));  // drawn as a texture: any size
        break;
      case ear::Placement::TopLeftCut:
      case ear::Placement::CentredCut:
        ASSERT_TRUE(Find(wide, FindingKind::PictureCutAtBox, file));
        EXPECT_NE(Find(wide, FindingKind::PictureCutAtBox, file)->message.find(box), std::string::npos);
        break;
      case ear::Placement::KeyedScaled:
        ASSERT_TRUE(Find(wide, FindingKind::PictureScaled, file));
        EXPECT_NE(Find(wide, FindingKind::PictureScaled, file)->message.find("の " + box + " の枠に合わせて"),
                  std::string::npos);
        break;
    }
  }
}

TEST(RulesInMemory, CentringFollowsTheRowsWidths) {
  PackageFacts p = Clean();
  p.pictures["procedure01.jpg"].probedWidth = 640;
  p.pictures["ShikenImage.png"].probedWidth = 219;  // scale 20/20: drawn 219 wide
  const PackageReport r = CheckPackage(p);
  const int registrationLeft = (ear::kRegistrationProcedurePicture.centreOn - 640) / 2;  // 28.5 to even: 28
  EXPECT_NE(Find(r, FindingKind::PicturePlaced, "system\\Image\\procedure01.jpg")
                ->message.find("左端 " + std::to_string(registrationLeft) + " に"),
            std::string::npos);
  const int titleLeft = (ear::kExamNamePicture.centreOn - 219) / 2;  // 214
  EXPECT_NE(Find(r, FindingKind::PictureScaled, "system\\Image\\ShikenImage.png")
                ->message.find("左端は " + std::to_string(titleLeft) + " です。"),
            std::string::npos);
}

TEST(RulesInMemory, SettingsFilesAndValues) {
  struct Case {
    const char* what;
    void (*change)(PackageFacts&);
    FindingKind kind;
    const char* file;
    const char* key;
  };
  const Case cases[] = {
      {"system.ini a folder", [](PackageFacts& p) { p.settingsFiles[0].kind = Kind::Folder; },
       FindingKind::SettingsFileMissing, "system\\system.ini", nullptr},
      {"setup.ini unreadable",
       [](PackageFacts& p) {
         p.settingsFiles[1].read = false;
         p.settingsFiles[1].problem = "denied";
       },
       FindingKind::SettingsFileUnreadable, "system\\1\\setup.ini", nullptr},
      {"UTF-8 with its mark",
       [](PackageFacts& p) { p.settingsFiles[1].bytes = "\xEF\xBB\xBF[x]\r\n"; },
       FindingKind::IniUtf8Bom, "system\\1\\setup.ini", nullptr},
      {"a blank around a value",
       [](PackageFacts& p) { SetIni(p, ear::SettingsFile::Setup, "[基本情報]\r\n受験タイプ=1\r\n部種名称=模擬　\r\n"); },  // a full-width blank stays
       FindingKind::ValueOuterBlank, "system\\1\\setup.ini", "部種名称"},
      {"03 for 3",
       [](PackageFacts& p) { SetIni(p, ear::SettingsFile::Setup, "[基本情報]\r\n受験タイプ=03\r\n部種名称=模擬試験\r\n"); },
       FindingKind::ExamTypeNearThree, "system\\1\\setup.ini", "受験タイプ"},
      {"an extension without its dot, no such file",
       [](PackageFacts& p) {
         SetIni(p, ear::SettingsFile::System, "[基本情報]\r\n試験名=模擬\r\nメーカー画像拡張子=png\r\nABB=EAR\r\n開発コード=E\r\n");
       },
       FindingKind::PictureExtWithoutDot, "system\\system.ini", "メーカー画像拡張子"},
      {"a 部種名称 with a separator",
       [](PackageFacts& p) {
         SetIni(p, ear::SettingsFile::Setup, "[基本情報]\r\n部種名称=..\\x\r\n");
         p.examProgram = {};  // the reader looks for no such program
       },
       FindingKind::ExamKindNameForbiddenChar, "system\\1\\setup.ini", "部種名称"},
      {"no exam program", [](PackageFacts& p) { p.examProgram.kind = Kind::Missing; },
       FindingKind::ExamProgramMissing, "[1]模擬試験.exe", "部種名称"},
      {"an exam program without its PE header", [](PackageFacts& p) { p.examProgram.peHeader.clear(); },
       FindingKind::ExamProgramNotWindows, "[1]模擬試験.exe", nullptr},
      {"the package folder renamed", [](PackageFacts& p) { p.folderName = "pkg"; },
       FindingKind::PackageFolderName, "", nullptr},
      {"too deep for any entry", [](PackageFacts& p) { p.exePath = "C:\\" + std::string(240, 'a') + "\\L\\x.exe"; },
       FindingKind::BytesLeftNone, "", nullptr},
      {"a file deep inside the package", [](PackageFacts& p) { p.longestPathInside = 240; },
       FindingKind::BytesLeftNone, "", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PackageFacts p = Clean();
    c.change(p);
    const PackageReport r = CheckPackage(p);
    const Finding* f = Find(r, c.kind, c.file);
    ASSERT_TRUE(f) << ::testing::PrintToString(Ids(r));
    EXPECT_EQ(f->key, c.key ? std::optional<std::string>(c.key) : std::nullopt);
    EXPECT_EQ(f->severity, RowOf(c.kind).severity);
  }
}

// A picture extension holding a separator leads out of the picture folder: one error on the
// key, saying that the launcher shows the picture as missing, and nothing on a picture, which
// the reader never opens (the facts hold none). A "\"
// that is the second byte of a two-byte character is no separator.
TEST(RulesInMemory, PictureExtensionWithASeparator) {
  struct Case {
    const char* what;
    const char* ext;
    bool separator;
  };
  const Case cases[] = {
      {"\\", ".x\\..\\..\\outside.png", true},
      {"/", ".x/../../outside.png", true},
      {"\\ after 表", ".表\\..\\outside.png", true},
      {"表 alone (0x95 0x5C)", ".表", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PackageFacts p = Clean();
    SetIni(p, ear::SettingsFile::System,
           std::string("[基本情報]\r\n試験名=模擬\r\n試験画像拡張子=") + c.ext + "\r\nABB=EAR\r\n開発コード=E\r\n");
    const PackageReport r = CheckPackage(p);
    std::vector<std::string> onKey;
    for (const Finding& f : r.findings) {
      if (f.key == "試験画像拡張子") onKey.push_back(RowOf(f.kind).id);
    }
    if (c.separator) {
      EXPECT_EQ(onKey, std::vector<std::string>{"picture-ext-separator"});
      const Finding* f = Find(r, FindingKind::PictureExtSeparator, "system\\system.ini");
      ASSERT_TRUE(f);
      EXPECT_EQ(f->severity, Severity::Error);
      EXPECT_TRUE(f->message.starts_with(std::string("値「") + c.ext + "」にフォルダーの区切り")) << f->message;
      // The launcher treats it as a missing picture: the finding says what the candidate then sees.
      EXPECT_NE(f->message.find(std::string("を開かず、画像がないときと同じに表示します: ") +
                                ear::kExamNamePicture.whenMissing),
                std::string::npos)
          << f->message;
      EXPECT_FALSE(r.Ok());
    } else {
      EXPECT_EQ(onKey, std::vector<std::string>{"picture-missing-text-hidden"});  // looked for, as the launcher does
    }
  }
}

// What the hand-over writes into shiken.ini, left there by an earlier candidate: one warning
// a key, in the table's order, and none once the values are gone.
TEST(RulesInMemory, LeftOverCandidateValuesByTheTable) {
  PackageFacts p = Clean();
  SetIni(p, ear::SettingsFile::Shiken, "[受験者情報]\r\n名=太郎\r\n会場コード=12345\r\n");
  std::vector<std::string> keys;
  for (const Finding& f : CheckPackage(p).findings) {
    if (f.kind == FindingKind::CandidateValueLeftOver) keys.push_back(*f.key);
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"会場コード", "名"}));
  SetIni(p, ear::SettingsFile::Shiken, "[受験者情報]\r\n名=\r\n");
  EXPECT_TRUE(Find(CheckPackage(p), FindingKind::CandidateSectionReady, "system\\shiken.ini"));
}

TEST(FindingCatalogue, IdsAreUniqueLowerCaseKebab) {
  std::set<std::string> ids;
  for (const FindingKindRow& row : kFindingKinds) {
    const std::string id = row.id;
    EXPECT_TRUE(ids.insert(id).second) << id;
    EXPECT_TRUE(!id.empty() && id.front() != '-' && id.back() != '-' && id.find("--") == std::string::npos) << id;
    EXPECT_TRUE(std::all_of(id.begin(), id.end(), [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'; }))
        << id;
  }
}

}  // namespace
}  // namespace earcheck
