// earcheck [--json] [--preview DIR] [--html FILE] PATH...: checks exam packages before they ship.
// earcheck --reference: lists what the launcher takes from a package and what earcheck reports.
// Exit code 0: no package has an error; 1: some package has one; 2: usage error, a PATH
// that is no package, or a preview or page that could not be written.
// Started for folders dropped onto earcheck.exe, it writes the page into the temp folder,
// opens it, prints the report and waits for Enter before its console closes.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "tools/earcheck/check.h"
#include "tools/earcheck/drop.h"
#include "tools/earcheck/options.h"
#include "tools/earcheck/page.h"
#include "tools/earcheck/platform.h"
#include "tools/earcheck/preview.h"
#include "tools/earcheck/reference.h"
#include "tools/earcheck/report.h"
#include "tools/earcheck/screen_list.h"

namespace {

void Put(std::FILE* to, const std::string& sjis) {
  const std::string text = earcheck::ConsoleFromSjis(sjis);
  std::fwrite(text.data(), 1, text.size(), to);
}

void Err(const std::string& sjis) { Put(stderr, sjis); }

// Asked for, the usage is the output; after a usage error it goes with the error.
void Usage(std::FILE* to = stderr) {
  Put(to, "使い方: earcheck [--json] [--preview DIR] [--html FILE] PATH...\n"
      "  PATH  ランチャーのフォルダー（「##TMP##」を含む）か「##TMP##」フォルダー\n"
      "  --json  結果を JSON（UTF-8）で出力します\n"
      "  --preview DIR  タイトル・手順確認・受験者登録の画面を DIR に PNG で書きます\n"
      "                 （DIR\\<n>-title.png など。n は PATH の順番。Windows 版だけ）\n"
      "  --html FILE  画面と結果を 1 つの HTML ページにして FILE に書きます\n"
      "  --reference  ランチャーがパッケージから読む設定と画像、結果の種類を一覧にします\n"
      "  --version  earcheck の版を表示します\n");
}

void ShowProgress(std::size_t i, std::size_t count, const std::string& path) {
  std::string line = "[";
  line += std::to_string(i + 1);
  line += '/';
  line += std::to_string(count);
  line += "] ";
  std::fputs(line.c_str(), stderr);
  std::fwrite(path.data(), 1, path.size(), stderr);
  std::fputs("\n", stderr);
}

// The package's screens painted into previewDir as "<n>-<screen>.png"; false when they could not be.
bool PreviewPackage(const std::string& previewDir, const earcheck::PackageReport& report, int n) {
  const std::string shown = earcheck::ConsoleFromNative(report.nativePath);
  if (earcheck::preview::LauncherFolder(report.nativePath).empty()) {
    // The screens read the package through the launcher's path, "<folder>\##TMP##\...".
    Err("earcheck: --preview はフォルダー名が「##TMP##」のパッケージだけに使えます（画面はその親フォルダーのランチャーから見たとおりに描きます）。プレビューを作りません: " +
        shown + "\n");
    return false;
  }
  if (earcheck::preview::InsidePackage(previewDir, report.nativePath)) {
    // Writing there would change the package.
    Err("earcheck: --preview のフォルダーがパッケージの中にあるため、プレビューを作りません: " + shown + "\n");
    return false;
  }
  if (std::string reason; !earcheck::preview::PrepareFolder(previewDir, reason)) {
    Err("earcheck: --preview のフォルダーを作れません: " + earcheck::ConsoleFromNative(previewDir) + "\n" + reason + "\n");
    return false;
  }
  bool ok = true;
  std::vector<std::string> written;
  std::vector<earcheck::preview::Problem> problems, unwritten;
  if (!earcheck::preview::RenderScreens(report.nativePath, previewDir, n, written, problems, unwritten)) {
    Err("earcheck: プレビューの画像を書けませんでした: " + earcheck::ConsoleFromNative(previewDir) + "\n");
    ok = false;
  }
  for (const auto& u : unwritten) Err("earcheck: " + earcheck::ConsoleFromNative(u.file) + ": " + u.message + "\n");
  for (const auto& p : problems) {
    Err("earcheck: " + earcheck::ConsoleFromNative(p.file) + ": " + earcheck::preview::kSetUpStopped + "\n" + p.message +
        "\n");
  }
  for (const auto& file : written) Err("プレビュー: " + earcheck::ConsoleFromNative(file) + "\n");
  return ok;
}

// The page over every package checked, into htmlFile or, from a drop, a new file in the temp
// folder, which is then opened; false when it could not be written.
bool WriteHtmlPage(std::string htmlFile, bool dropped, const std::vector<earcheck::PackageReport>& reports,
                   const std::vector<std::string>& skipped) {
  if (dropped) {
    std::string reason;
    htmlFile = earcheck::drop::NewPageFile(reason);
    if (htmlFile.empty()) Err("earcheck: 一時フォルダーにページを作れません。\n" + reason + "\n");
  }
  if (htmlFile.empty() || !earcheck::PageFileAllowed(htmlFile, reports) ||
      !earcheck::WritePage(htmlFile, reports, skipped)) {
    return false;
  }
  const std::string line = "ページ: " + earcheck::ConsoleFromNative(htmlFile) + "\n";
  if (dropped) {
    earcheck::drop::Show(line);
    if (!earcheck::drop::OpenPage(htmlFile)) {
      earcheck::drop::Show("ブラウザーで開けませんでした。このファイルを開いてください。\n");
    }
  } else {
    Err(line);
  }
  return true;
}

struct Checked {
  std::vector<earcheck::PackageReport> reports;
  std::vector<std::string> skipped;  // the paths that are no package
  std::string text;                  // the text report, for the terminal
  bool notPackage = false;
  bool previewFailed = false;
};

// Each path checked in turn, its screens painted with --preview.
Checked CheckPaths(const earcheck::Options& o) {
  Checked c;
  const bool progress = o.paths.size() > 1 && earcheck::StderrIsTerminal();
  for (std::size_t i = 0; i < o.paths.size(); ++i) {
    const std::string& path = o.paths[i];
    if (progress) ShowProgress(i, o.paths.size(), path);
    std::optional<earcheck::PackageReport> report = earcheck::CheckPath(path);
    if (!report) {
      Err("earcheck: ");
      std::fwrite(path.data(), 1, path.size(), stderr);
      Err(" はパッケージではありません（「system」フォルダーがありません）。\n");
      c.notPackage = true;
      c.skipped.push_back(path);
      continue;
    }
    if (o.preview && !PreviewPackage(o.previewDir, *report, static_cast<int>(i + 1))) c.previewFailed = true;
    if (!o.json) {
      const std::string part = earcheck::TextReport(*report, "");
      // The path goes in the terminal's own form; the rest is converted from Shift-JIS.
      const std::string shown = earcheck::ConsoleFromNative(report->nativePath);
      const std::string body = earcheck::ConsoleFromSjis(part.substr(3));
      c.text += (c.text.empty() ? "== " : "\n== ") + shown + body;
    }
    c.reports.push_back(std::move(*report));
  }
  return c;
}

int RunChecks(earcheck::Options o) {
  if (o.preview && !earcheck::preview::Available()) {
    // The screens are painted by the launcher's Windows code; a look-alike would mislead.
    Err("earcheck: --preview は Windows 版（earcheck.exe）だけで使えます。\n");
    return 2;
  }
  if (o.paths.empty()) {
    Usage();
    return 2;
  }
  // Explorer passes the dropped folders alone, to a console made for this process.
  const bool dropped = !o.anyOption && earcheck::drop::Dropped();
  const bool html = dropped || !o.htmlFile.empty();
  if (!o.htmlFile.empty()) o.htmlFile = earcheck::FullPath(o.htmlFile);
  std::optional<earcheck::preview::Session> session;
  if (html && earcheck::preview::Available()) session.emplace();
  if (o.preview) {
    o.previewDir = earcheck::FullPath(o.previewDir);
    const earcheck::Kind kind = earcheck::KindOf(o.previewDir);
    if (kind != earcheck::Kind::Missing && kind != earcheck::Kind::Folder) {
      Err("earcheck: --preview にはフォルダーを指定してください: " + earcheck::ConsoleFromNative(o.previewDir) + "\n");
      return 2;
    }
    if (!session) session.emplace();
  }
  const Checked checked = CheckPaths(o);
  const std::vector<earcheck::PackageReport>& reports = checked.reports;
  const bool pageFailed = html && !reports.empty() && !WriteHtmlPage(o.htmlFile, dropped, reports, checked.skipped);
  const std::string out = o.json ? earcheck::JsonReport(reports) : checked.text;
  if (dropped) {
    // The console closes with the program: the author reads the report first.
    earcheck::drop::Show(out + "\nEnter キーを押すと閉じます。\n");
    earcheck::drop::WaitForEnter();
  } else {
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
  }
  if (checked.notPackage || checked.previewFailed || pageFailed) return 2;
  for (const auto& r : reports) {
    if (!r.Ok()) return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  earcheck::BinaryStdout();
  const earcheck::Options options = earcheck::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  switch (options.action) {
    case earcheck::Options::Action::Help:
      Usage(stdout);
      return 0;
    case earcheck::Options::Action::Version:
      std::fputs("earcheck " EAR_VERSION "\n", stdout);
      return 0;
    case earcheck::Options::Action::Screens:
      return earcheck::PrintScreenList();  // the wizard's screens, for the tests; no package is checked
    case earcheck::Options::Action::Reference:
    {
      // UTF-8 on every system, as the guides that read it are.
      const std::string text = earcheck::Utf8FromSjis(earcheck::ReferenceText());
      std::fwrite(text.data(), 1, text.size(), stdout);
      return 0;
    }
    case earcheck::Options::Action::UsageError:
      Err(options.error);
      Usage();
      return 2;
    case earcheck::Options::Action::Check:
      break;
  }
  return RunChecks(options);
}
