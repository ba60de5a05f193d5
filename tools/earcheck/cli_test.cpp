// earcheck's command line read apart from the run, and the reference it prints.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "package/package_pictures.h"
#include "package/package_settings.h"
#include "tools/earcheck/findings.h"
#include "tools/earcheck/options.h"
#include "tools/earcheck/reference.h"

namespace earcheck {
namespace {

using Action = Options::Action;

TEST(EarcheckOptions, ReadLeftToRight) {
  struct Case {
    std::vector<std::string> args;
    Action action;
    std::vector<std::string> paths;
    bool json, preview;
    std::string previewDir, htmlFile, error;
  };
  const Case cases[] = {
      {{"a", "b"}, Action::Check, {"a", "b"}, false, false, "", "", ""},
      {{"--json", "--html", "p.html", "a"}, Action::Check, {"a"}, true, false, "", "p.html", ""},
      {{"--preview", "d", "a"}, Action::Check, {"a"}, false, true, "d", "", ""},
      {{"--", "--json", "-x"}, Action::Check, {"--json", "-x"}, false, false, "", "", ""},
      {{"-"}, Action::Check, {"-"}, false, false, "", "", ""},  // one character: a path
      {{"a", "--help", "--bad"}, Action::Help, {"a"}, false, false, "", "", ""},
      {{"-h"}, Action::Help, {}, false, false, "", "", ""},
      {{"--reference", "--bad"}, Action::Reference, {}, false, false, "", "", ""},
      {{"--screens", "a"}, Action::Screens, {}, false, false, "", "", ""},
      {{"a", "--version"}, Action::Version, {"a"}, false, false, "", "", ""},
      {{"--bad", "--help"}, Action::UsageError, {}, false, false, "", "", "earcheck: 不明なオプションです: --bad\n"},
      {{"a", "--html"}, Action::UsageError, {"a"}, false, false, "", "", "earcheck: --html にはファイルを指定してください。\n"},
      {{"--preview"}, Action::UsageError, {}, false, false, "", "", "earcheck: --preview にはフォルダーを指定してください。\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const Options o = ParseOptions(c.args);
    EXPECT_EQ(o.action, c.action);
    EXPECT_EQ(o.paths, c.paths);
    EXPECT_EQ(o.json, c.json);
    EXPECT_EQ(o.preview, c.preview);
    EXPECT_EQ(o.previewDir, c.previewDir);
    EXPECT_EQ(o.htmlFile, c.htmlFile);
    EXPECT_EQ(o.error, c.error);
  }
  EXPECT_FALSE(ParseOptions({"a"}).anyOption);  // a drop from Explorer: folders alone
  EXPECT_TRUE(ParseOptions({"--json", "a"}).anyOption);
}

std::vector<std::vector<std::string>> Lines(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
      fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    lines.push_back(fields);
  }
  return lines;
}

// Every row of the table and every finding kind, once, in the format the guides read.
TEST(EarcheckReference, EveryKeyPictureAndFindingOnce) {
  const std::string text = ReferenceText();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  std::set<std::string> ini, pictures, findings;
  for (const std::vector<std::string>& f : Lines(text)) {
    ASSERT_FALSE(f.empty());
    if (f[0] == "ini") {
      ASSERT_EQ(f.size(), 4u);
      EXPECT_TRUE(ini.insert(f[1] + "|" + f[2] + "|" + f[3]).second);
    } else if (f[0] == "picture") {
      ASSERT_EQ(f.size(), 3u);
      EXPECT_TRUE(f[1].starts_with("system\\Image\\")) << f[1];
      EXPECT_TRUE(pictures.insert(f[1] + "|" + f[2]).second);
    } else {
      ASSERT_EQ(f[0], "finding");
      ASSERT_EQ(f.size(), 3u);
      EXPECT_TRUE(f[2] == "error" || f[2] == "warning" || f[2] == "info") << f[2];
      EXPECT_TRUE(findings.insert(f[1]).second);
    }
  }
  EXPECT_EQ(ini.size(), std::size(ear::kSettingKeys));
  EXPECT_EQ(pictures.size(), std::size(ear::kPackagePictures));
  EXPECT_EQ(findings.size(), std::size(kFindingKinds));
  for (const char* line : {"ini\tsystem\\system.ini\t基本情報\t試験名\n", "ini\tsystem\\1\\setup.ini\t基本情報\t部種名称\n",
                           "ini\tsystem\\system.ini\t基本情報\t固有キー\n", "ini\tsystem\\shiken.ini\t受験者情報\t名\n",
                           "picture\tsystem\\Image\\bg.jpg\t\n",
                           "picture\tsystem\\Image\\ShikenImage.<ext>\t試験画像拡張子\n",
                           "finding\tpicture-cut-at-box\twarning\n", "finding\tpackage-folder-name\terror\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
}

// The scripts read the table from their copy; EAR_UPDATE_TABLE=1 writes it anew after a row changed.
TEST(EarcheckReference, TheScriptsCopyOfTheTableIsCurrent) {
  const std::string path = std::string(EAR_SOURCE_ROOT) + "/scripts/package_table.json";
  const std::string table = TableJson();
  if (const char* update = std::getenv("EAR_UPDATE_TABLE"); update && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << table;
  }
  std::ifstream in(path, std::ios::binary);
  const std::string copy((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(copy, table) << path << " is out of date: run this test with EAR_UPDATE_TABLE=1";
}

}  // namespace
}  // namespace earcheck
