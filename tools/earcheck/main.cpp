// earcheck [--json] [--preview DIR] PATH...: checks exam packages before they ship.
// Exit code 0: no package has an error; 1: some package has one; 2: usage error, a PATH
// that is no package, or a preview that could not be written.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "tools/earcheck/check.h"
#include "tools/earcheck/platform.h"
#include "tools/earcheck/preview.h"
#include "tools/earcheck/report.h"

namespace {

void Err(const std::string& sjis) {
  const std::string text = earcheck::ConsoleFromSjis(sjis);
  std::fwrite(text.data(), 1, text.size(), stderr);
}

void Usage() {
  Err("使い方: earcheck [--json] [--preview DIR] PATH...\n"
      "  PATH  ランチャーのフォルダー（「##TMP##」を含む）か「##TMP##」フォルダー\n"
      "  --json  結果を JSON（UTF-8）で出力します\n"
      "  --preview DIR  タイトル・手順確認・受験者登録の画面を DIR に PNG で書きます\n"
      "                 （DIR\\<n>-title.png など。n は PATH の順番。Windows 版だけ）\n");
}

}  // namespace

int main(int argc, char** argv) {
  earcheck::BinaryStdout();
  bool json = false;
  bool preview = false;
  std::string previewDir;
  std::vector<std::string> paths;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (options && a == "--") {
      options = false;
    } else if (options && a == "--json") {
      json = true;
    } else if (options && a == "--preview") {
      if (i + 1 >= argc) {
        Err("earcheck: --preview にはフォルダーを指定してください。\n");
        Usage();
        return 2;
      }
      previewDir = argv[++i];
      preview = true;
    } else if (options && (a == "--help" || a == "-h")) {
      Usage();
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
  std::optional<earcheck::preview::Session> session;
  if (preview) {
    previewDir = earcheck::FullPath(previewDir);
    const earcheck::Kind kind = earcheck::KindOf(previewDir);
    if (kind != earcheck::Kind::Missing && kind != earcheck::Kind::Folder) {
      Err("earcheck: --preview にはフォルダーを指定してください: " + earcheck::ConsoleFromNative(previewDir) + "\n");
      return 2;
    }
    session.emplace();
  }
  bool previewFailed = false;
  const bool progress = paths.size() > 1 && earcheck::StderrIsTerminal();
  std::vector<earcheck::PackageReport> reports;
  bool notPackage = false;
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
          Err("earcheck: " + earcheck::ConsoleFromNative(p.file) +
              ": 画面の準備がエラーで止まります。受験者にはこのエラーが表示され、画面はこの途中の状態で開きます:\n" +
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
  const std::string out = json ? earcheck::JsonReport(reports) : text;
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  if (notPackage || previewFailed) return 2;
  for (const auto& r : reports) {
    if (!r.Ok()) return 1;
  }
  return 0;
}
