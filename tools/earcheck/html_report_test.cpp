#include "tools/earcheck/html_report.h"

#include <gtest/gtest.h>

#include <string>

namespace earcheck::html {
namespace {

// The page is UTF-8; this file's plain literals are Shift-JIS.
std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(HtmlReport, EscapeLeavesNoMarkupFromAValue) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"\"><img src=x onerror=alert(1)>", "&quot;&gt;&lt;img src=x onerror=alert(1)&gt;"},
      {"a'b&c", "a&#39;b&amp;c"},
      {"&lt;", "&amp;lt;"},
      {"tab\tline\nend", "tab\tline\nend"},
      {std::string("nul\0bell\x07" "cr\r" "del\x7f", 16), "nul\\x00bell\\x07cr\\x0Ddel\\x7F"},
      {U8(u8"試験名「ＥＡＲ」"), U8(u8"試験名「ＥＡＲ」")},
  };
  for (const Case& c : cases) EXPECT_EQ(Escape(c.in), c.out) << c.in;
}

TEST(HtmlReport, Base64) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},
                        {"foo", "Zm9v"},  {"foob", "Zm9vYg=="},  {"foobar", "Zm9vYmFy"},
                        {std::string("\xff\xfe\x00", 3), "//4A"}};
  for (const Case& c : cases) EXPECT_EQ(Base64(c.in), c.out) << c.in;
}

PackageReport Hostile() {
  PackageReport r;
  r.nativePath = "/tmp/<b>pkg</b>/##TMP##";
  r.venueMode = true;
  r.examType = "<script>alert(1)</script>";
  r.findings = {
      {Severity::Error, "system\\system.ini", std::string("試験名"),
       "値「\"><img src=x onerror=alert(1)>」は…\r\n次の行"},
      {Severity::Warning, "", std::nullopt, "<iframe src=//x>"},
      {Severity::Info, "a&b.ini", std::nullopt, "情報"},
  };
  return r;
}

TEST(HtmlReport, ValuesFromThePackageShowAsTextInTheSummaryAndTheCard) {
  const std::vector<PackageReport> reports = {Hostile()};
  const std::string page = Head(reports, {"/tmp/<svg onload=x>"}) + Card(reports[0], 1, {}) + Tail();
  for (const char* tag : {"<script", "<img", "<iframe", "<b>", "<svg"}) EXPECT_EQ(page.find(tag), std::string::npos) << tag;
  EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(page.find(U8(u8"値「&quot;&gt;&lt;img src=x onerror=alert(1)&gt;」は…\n次の行")), std::string::npos);
  EXPECT_NE(page.find("/tmp/&lt;b&gt;pkg&lt;/b&gt;/##TMP##"), std::string::npos);
  EXPECT_NE(page.find("&lt;svg onload=x&gt;"), std::string::npos);
  // Nothing is loaded or run from outside: the policy allows the page's own pictures only.
  EXPECT_NE(page.find("default-src 'none'; img-src data:;"), std::string::npos);
  EXPECT_EQ(Count(page, "src=\"http"), 0u);
}

TEST(HtmlReport, SummaryRowsLinkToTheirCardsWithTheReportsWords) {
  PackageReport good;
  good.nativePath = "/p/one/##TMP##";
  good.examType = "3";
  good.findings = {{Severity::Warning, "x", std::nullopt, "w"}};
  const std::vector<PackageReport> reports = {good, Hostile()};
  const std::string head = Head(reports, {});
  EXPECT_EQ(Count(head, "href=\"#p1\""), 2u);
  EXPECT_EQ(Count(head, "href=\"#p2\""), 2u);
  EXPECT_NE(head.find(U8(u8"<td class=\"verdict\">配布できます</td>")), std::string::npos);
  EXPECT_NE(head.find(U8(u8"<td class=\"verdict\">このままでは配布できません</td>")), std::string::npos);
  EXPECT_NE(head.find(U8(u8"氏名モード（姓と名）")), std::string::npos);
  EXPECT_NE(head.find(U8(u8"「3」（受験タイプ 3 のレイアウト）")), std::string::npos);
  const std::string card = Card(reports[1], 2, {});
  EXPECT_EQ(card.rfind("<section class=\"card\" id=\"p2\">", 0), 0u);
  EXPECT_NE(card.find(U8(u8"結果: エラー 1 件、警告 1 件、情報 1 件（このままでは配布できません）")), std::string::npos);
  // Findings in the report's order, each with its severity's class.
  const std::size_t e = card.find("<tr class=\"error\">"), w = card.find("<tr class=\"warning\">"),
                    i = card.find("<tr class=\"info\">");
  EXPECT_TRUE(e < w && w < i) << card;
}

TEST(HtmlReport, CardShowsEachScreenAtItsSizeOrSaysWhyNot) {
  // A PNG signature and header of 647 x 501; the browser tests decode real ones.
  std::string png = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x02\x87\0\0\x01\xf5", 24) + "rest";
  const std::vector<preview::Painted> screens = {{"title", "タイトル画面", png, ""},
                                                 {"procedure", "手順確認画面", "", ""},
                                                 {"registration", "受験者登録画面", png, "<b>stopped</b>\r\nhere"}};
  const std::string card = Card(Hostile(), 1, screens);
  EXPECT_EQ(Count(card, "<img "), 2u);
  EXPECT_NE(card.find("width=\"647\" height=\"501\" src=\"data:image/png;base64," + Base64(png) + "\""),
            std::string::npos);
  EXPECT_NE(card.find(U8(u8"この画面を描けませんでした。")), std::string::npos);
  EXPECT_NE(card.find("&lt;b&gt;stopped&lt;/b&gt;\nhere"), std::string::npos);
  EXPECT_NE(card.find(U8(u8"<figcaption>手順確認画面</figcaption>")), std::string::npos);
  EXPECT_EQ(card.find(U8(u8"画面のプレビューはありません")), std::string::npos);
  EXPECT_NE(Card(Hostile(), 1, {}).find(U8(u8"画面のプレビューはありません: 画面は Windows 版（earcheck.exe）")),
            std::string::npos);
}

}  // namespace
}  // namespace earcheck::html
