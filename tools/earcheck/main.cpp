// earcheck [--json] [--preview DIR] [--html FILE] PATH...: checks exam packages before they ship.
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
#include "tools/earcheck/page.h"
#include "tools/earcheck/platform.h"
#include "tools/earcheck/preview.h"
#include "tools/earcheck/report.h"

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
      "  --version  earcheck の版を表示します\n");
}

}  // namespace

int main(int argc, char** argv) {
  earcheck::BinaryStdout();
  bool json = false;
  bool preview = false;
  std::string previewDir;
  std::string htmlFile;
  bool anyOption = false;
  std::vector<std::string> paths;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (options && a == "--") {
      options = false;
    } else if (options && (a == "--html" || a == "--preview")) {
      const bool page = a == "--html";
      if (i + 1 >= argc) {
        Err(page ? "earcheck: --html にはファイルを指定してください。\n"
                 : "earcheck: --preview にはフォルダーを指定してください。\n");
        Usage();
        return 2;
      }
      (page ? htmlFile : previewDir) = argv[++i];
      preview |= !page;
      anyOption = true;
    } else if (options && a == "--json") {
      json = true;
      anyOption = true;
    } else if (options && a == "--version") {
      std::fputs("earcheck " EAR_VERSION "\n", stdout);
      return 0;
    } else if (options && (a == "--help" || a == "-h")) {
      Usage(stdout);
      return 0;
    } else if (options && a.size() > 1 && a[0] == '-') {
      Err("earcheck: 不明なオプションです: " + a + "\n");
      Usage();
      return 2;
    } else {
      paths.push_back(a);
    }
  }
  if (preview && !earcheck::preview::Available()) {
    // The screens are painted by the launcher's Windows code; a look-alike would mislead.
    Err("earcheck: --preview は Windows 版（earcheck.exe）だけで使えます。\n");
    return 2;
  }
  if (paths.empty()) {
    Usage();
    return 2;
  }
  // Explorer passes the dropped folders alone, to a console made for this process.
  const bool dropped = !anyOption && earcheck::drop::Dropped();
  const bool html = dropped || !htmlFile.empty();
  if (!htmlFile.empty()) htmlFile = earcheck::FullPath(htmlFile);
  std::optional<earcheck::preview::Session> session;
  if (html && earcheck::preview::Available()) session.emplace();
  if (preview) {
    previewDir = earcheck::FullPath(previewDir);
    const earcheck::Kind kind = earcheck::KindOf(previewDir);
    if (kind != earcheck::Kind::Missing && kind != earcheck::Kind::Folder) {
      Err("earcheck: --preview にはフォルダーを指定してください: " + earcheck::ConsoleFromNative(previewDir) + "\n");
      return 2;
    }
    if (!session) session.emplace();
  }
  bool previewFailed = false;
  const bool progress = paths.size() > 1 && earcheck::StderrIsTerminal();
  std::vector<earcheck::PackageReport> reports;
  bool notPackage = false;
  std::vector<std::string> skipped;
  std::string text;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (progress) {
      std::string line = "[";
      line += std::to_string(i + 1);
      line += '/';
      line += std::to_string(paths.size());
      line += "] ";
      std::fputs(line.c_str(), stderr);
      std::fwrite(paths[i].data(), 1, paths[i].size(), stderr);
      std::fputs("\n", stderr);
    }
    std::optional<earcheck::PackageReport> report = earcheck::CheckPath(paths[i]);
    if (!report) {
      Err("earcheck: ");
      std::fwrite(paths[i].data(), 1, paths[i].size(), stderr);
      Err(" はパッケージではありません（「system」フォルダーがありません）。\n");
      notPackage = true;
      skipped.push_back(paths[i]);
      continue;
    }
    if (preview) {
      const std::string shown = earcheck::ConsoleFromNative(report->nativePath);
      if (earcheck::preview::LauncherFolder(report->nativePath).empty()) {
        // The screens read the package through the launcher's path, "<folder>\##TMP##\...".
        Err("earcheck: --preview はフォルダー名が「##TMP##」のパッケージだけに使えます（画面はその親フォルダーのランチャーから見たとおりに描きます）。プレビューを作りません: " +
            shown + "\n");
        previewFailed = true;
      } else if (earcheck::preview::InsidePackage(previewDir, report->nativePath)) {
        // Writing there would change the package.
        Err("earcheck: --preview のフォルダーがパッケージの中にあるため、プレビューを作りません: " + shown + "\n");
        previewFailed = true;
      } else if (std::string reason; !earcheck::preview::PrepareFolder(previewDir, reason)) {
        Err("earcheck: --preview のフォルダーを作れません: " + earcheck::ConsoleFromNative(previewDir) + "\n" + reason +
            "\n");
        previewFailed = true;
      } else {
        std::vector<std::string> written;
        std::vector<earcheck::preview::Problem> problems;
        if (!earcheck::preview::RenderScreens(report->nativePath, previewDir, static_cast<int>(i + 1), written,
                                              problems)) {
          Err("earcheck: プレビューの画像を書けませんでした: " + earcheck::ConsoleFromNative(previewDir) + "\n");
          previewFailed = true;
        }
        for (const auto& p : problems) {
          Err("earcheck: " + earcheck::ConsoleFromNative(p.file) + ": " + earcheck::preview::kSetUpStopped + "\n" +
              p.message + "\n");
        }
        for (const auto& file : written) Err("プレビュー: " + earcheck::ConsoleFromNative(file) + "\n");
      }
    }
    if (!json) {
      const std::string part = earcheck::TextReport(*report, "");
      // The path goes in the terminal's own form; the rest is converted from Shift-JIS.
      const std::string shown = earcheck::ConsoleFromNative(report->nativePath);
      const std::string body = earcheck::ConsoleFromSjis(part.substr(3));
      text += (text.empty() ? "== " : "\n== ") + shown + body;
    }
    reports.push_back(std::move(*report));
  }
  bool pageFailed = false;
  if (html && !reports.empty()) {
    if (dropped) {
      std::string reason;
      htmlFile = earcheck::drop::NewPageFile(reason);
      if (htmlFile.empty()) Err("earcheck: 一時フォルダーにページを作れません。\n" + reason + "\n");
    }
    pageFailed = htmlFile.empty() || !earcheck::PageFileAllowed(htmlFile, reports) ||
                 !earcheck::WritePage(htmlFile, reports, skipped);
    if (!pageFailed) {
      const std::string line = "ページ: " + earcheck::ConsoleFromNative(htmlFile) + "\n";
      if (dropped) {
        earcheck::drop::Show(line);
        if (!earcheck::drop::OpenPage(htmlFile)) {
          earcheck::drop::Show("ブラウザーで開けませんでした。このファイルを開いてください。\n");
        }
      } else {
        Err(line);
      }
    }
  }
  const std::string out = json ? earcheck::JsonReport(reports) : text;
  if (dropped) {
    // The console closes with the program: the author reads the report first.
    earcheck::drop::Show(out + "\nEnter キーを押すと閉じます。\n");
    earcheck::drop::WaitForEnter();
  } else {
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
  }
  if (notPackage || previewFailed || pageFailed) return 2;
  for (const auto& r : reports) {
    if (!r.Ok()) return 1;
  }
  return 0;
}
