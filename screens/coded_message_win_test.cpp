// Coded message boxes as the user sees them: read back from the real box windows.
#include <gtest/gtest.h>

#include "forms/form.h"
#include "screens/coded_message_win.h"
#include "tests/wine/box_watcher.h"

namespace ear {
namespace {

struct Case {
  std::string coded;
  std::string detail;
  int press;
  std::string title;
  std::string text;
  std::vector<int> buttonIds;
  int defaultId;
  bool icon;
};

TEST(CodedMessageBox, ShowsTitleTextButtonsAndDefaultOfTheCode) {
  forms::Form owner;
  owner.SetBounds(0, 0, 200, 100);
  owner.ShowForm();
  const Case cases[] = {
      {"E11バッチファイルの実行に失敗しました。", "", IDOK, "エラー", "バッチファイルの実行に失敗しました。",
       {IDOK}, IDOK, true},
      {"E11受験番号を入力してください。", "詳細", IDOK, "エラー", "受験番号を入力してください。\r\n\r\n詳細",
       {IDOK}, IDOK, true},
      {"Q22続けますか", "", IDNO, "確認", "続けますか", {IDYES, IDNO}, IDNO, true},
      {"W33保存しますか", "", IDCANCEL, "警告", "保存しますか", {IDYES, IDNO, IDCANCEL}, IDCANCEL, true},
      {"e11小文字", "", IDOK, "", "小文字", {IDOK}, IDOK, false},
      {"E1", "", IDOK, "エラー", "", {IDOK}, IDOK, true},
  };
  for (const Case& c : cases) {
    testing_win::BoxWatcher watcher(c.press);
    const int answer = ShowCodedMessage(&owner, c.coded, c.detail);
    const testing_win::BoxInfo box = watcher.get();
    ASSERT_TRUE(box.found) << c.coded;
    EXPECT_EQ(answer, c.press) << c.coded;
    EXPECT_EQ(box.title, c.title) << c.coded;
    // The static control may show the text with its line breaks as they were given.
    EXPECT_EQ(box.text, c.text) << c.coded;
    EXPECT_EQ(box.buttonIds, c.buttonIds) << c.coded;
    EXPECT_EQ(box.defaultId, c.defaultId) << c.coded;
    EXPECT_EQ(box.hasIcon, c.icon) << c.coded;
    EXPECT_EQ(box.owner, owner.Handle()) << c.coded;
  }
}

TEST(CodedMessageBox, InvalidCodeShowsNoBox) {
  testing_win::BoxWatcher watcher(IDOK, 600);
  EXPECT_EQ(ShowCodedMessage(nullptr, "E4はずれ", "detail"), 0);
  EXPECT_FALSE(watcher.get().found);
  EXPECT_EQ(ShowCodedMessage(nullptr, "", ""), 0);
}

TEST(CodedMessageBox, LongDetailIsCutWithinTwoHundredBytesOnACharacterBoundary) {
  testing_win::BoxWatcher watcher(IDOK);
  // 6 + 4 + 189 bytes, then a two-byte character that would end at byte 201.
  ShowCodedMessage(nullptr, "E11バッチ", std::string(189, 'x') + "ソソ");
  const testing_win::BoxInfo box = watcher.get();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text, "バッチ\r\n\r\n" + std::string(189, 'x'));
}

}  // namespace
}  // namespace ear
