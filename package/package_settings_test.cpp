#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "package/package_settings.h"
#include "package/paths.h"
#include "tests/sjis_samples.h"

namespace ear {
namespace {

TEST(PackageSettings, EachKeyReadOnceFromItsFile) {
  const std::map<std::pair<SettingsFile, std::string>, std::string> files = {
      {{SettingsFile::System, "試験名"}, "模擬"}, {{SettingsFile::System, "試験画像拡張子"}, ".png"},
      {{SettingsFile::System, "メーカー画像拡張子"}, ".bmp"}, {{SettingsFile::System, "級TOP画像拡張子"}, ".jpg"},
      {{SettingsFile::System, "級名"}, "３級"}, {{SettingsFile::System, "ABB"}, "EAR"},
      {{SettingsFile::System, "開発コード"}, "EAR01"}, {{SettingsFile::System, "ファイル名称"}, "ABC"},
      {{SettingsFile::Setup, "受験タイプ"}, "3"}, {{SettingsFile::Setup, "部種名称"}, "模擬試験"},
      // Keys of the other file are never taken for these.
      {{SettingsFile::Setup, "ABB"}, "wrong"}, {{SettingsFile::System, "部種名称"}, "wrong"},
  };
  std::vector<std::string> asked;
  const PackageSettings s = ReadPackageSettings([&](SettingsFile file, const char* section, const char* key) {
    EXPECT_STREQ(section, "基本情報") << key;
    asked.push_back(key);
    const auto found = files.find({file, key});
    return found == files.end() ? std::string() : found->second;
  });
  EXPECT_EQ(asked, (std::vector<std::string>{"試験名", "試験画像拡張子", "メーカー画像拡張子", "級TOP画像拡張子", "級名",
                                             "ABB", "開発コード", "ファイル名称", "受験タイプ", "部種名称"}));
  EXPECT_EQ(s.title.examName, "模擬");
  EXPECT_EQ(s.title.examPictureExt, ".png");
  EXPECT_EQ(s.title.makerPictureExt, ".bmp");
  EXPECT_EQ(s.title.gradePictureExt, ".jpg");
  EXPECT_EQ(s.title.gradeName, "３級");
  EXPECT_EQ(s.Mode(), RegistrationMode::Venue);
  EXPECT_EQ(s.Prefix(), "ABC");
  EXPECT_STREQ(s.PrefixKey(), "ファイル名称");
  EXPECT_TRUE(s.AlternativeLayout());
  EXPECT_EQ(s.examKindName, "模擬試験");
}

// The table's files are the ones the launcher's paths name, and every key a screen or the
// hand-over reads or writes has its row: the settings read, and what the hand-over writes.
TEST(PackageSettings, TheTableNamesTheFilesAndKeysTheLauncherUses) {
  const PackagePaths paths = PackagePathsFor("C:\\L\\ExamAutoRunner.exe");
  EXPECT_EQ(SettingsFilePath(paths, SettingsFile::System), paths.systemIni);
  EXPECT_EQ(SettingsFilePath(paths, SettingsFile::Setup), paths.setupIni);
  EXPECT_EQ(SettingsFilePath(paths, SettingsFile::Shiken), paths.shikenIni);
  std::vector<std::string> written;
  for (const SettingKey& row : kSettingKeys) {
    if (row.Read()) {
      PackageSettings s;
      row.field(s) = "x";
      EXPECT_EQ(row.Value(s), "x") << row.key;
      PackageSettings other;
      EXPECT_EQ(row.Value(other), "") << row.key;  // each row its own field
    } else {
      written.push_back(std::string(row.file == SettingsFile::System ? "system:" : "shiken:") + row.section + ":" + row.key);
    }
  }
  EXPECT_EQ(written, (std::vector<std::string>{"system:基本情報:固有キー", "shiken:受験者情報:会場コード",
                                               "shiken:受験者情報:受験番号", "shiken:受験者情報:姓", "shiken:受験者情報:名"}));
}

TEST(PackageSettings, ModeFromAbb) {
  EXPECT_EQ(ModeFromAbb(""), RegistrationMode::Name);
  EXPECT_EQ(ModeFromAbb("EAR"), RegistrationMode::Venue);
  EXPECT_EQ(ModeFromAbb(" "), RegistrationMode::Venue);
}

TEST(PackageSettings, OnlyExactlyThreeIsTheAlternativeExamType) {
  EXPECT_TRUE(IsAlternativeExamType("3"));
  for (const char* other : {"", "03", " 3", "3 ", "33", "\x82\x52" /* ３ */, "1", "3\r"}) {
    EXPECT_FALSE(IsAlternativeExamType(other)) << other;
  }
}

TEST(PackageSettings, FileNameWinsOverDevelopmentCode) {
  EXPECT_EQ(FileNameOrDevCode("ABC", "EAR01"), "ABC");
  EXPECT_EQ(FileNameOrDevCode("", "EAR01"), "EAR01");
  EXPECT_EQ(FileNameOrDevCode("", ""), "");
  EXPECT_EQ(FileNameOrDevCode(" ", "EAR01"), " ");  // a blank is a value
  PackageSettings s;
  s.devCode = "EAR01";
  EXPECT_STREQ(s.PrefixKey(), "開発コード");
}

TEST(PackageSettings, PictureExtensionSeparators) {
  struct Case {
    const char* ext;
    std::size_t at;
  };
  constexpr std::size_t kNone = std::string_view::npos;
  const Case cases[] = {
      {".png", kNone},
      {"", kNone},
      {".x\\..\\..\\..\\usr\\share\\pixmaps\\debian-logo.png", 2},
      {".x/../../logo.png", 2},
      {"\\", 0},
      {"." HYO SO, kNone},                // 0x5C only as second bytes
      {"." HYO "\\..", 3},               // a "\" of its own after one
      {"." SO "/x", 3},
      {".\x95", kNone},                  // a lead byte at the end takes nothing with it
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PictureExtSeparator(c.ext), c.at) << c.ext;
  }
}

}  // namespace
}  // namespace ear
