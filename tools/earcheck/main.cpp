// earcheck [--json] [--preview DIR] PATH...: checks exam packages before they ship.
// Exit code 0: no package has an error; 1: some package has one; 2: usage error or
// a PATH that is no package.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/earcheck/check.h"
#include "tools/earcheck/platform.h"
#include "tools/earcheck/report.h"

namespace {

void Err(const std::string& sjis) {
  const std::string text = earcheck::ConsoleFromSjis(sjis);
  std::fwrite(text.data(), 1, text.size(), stderr);
}

void Usage() {
  Err("使い方: earcheck [--json] [--preview DIR] PATH...\n"
      "  PATH  ランチャーのフォルダー（「##TMP##」を含む）か「##TMP##」フォルダー\n"
      "  --json  結果を JSON（UTF-8）で出力します\n");
}

}  // namespace

int main(int argc, char** argv) {
  earcheck::BinaryStdout();
  bool json = false;
  bool preview = false;
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
      ++i;
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
  if (preview) {
    // The screens are not part of this build yet; an empty preview would mislead.
    Err("earcheck: --preview はこのビルドでは使えません（画面のプレビューは未実装です）。\n");
    return 2;
  }
  if (paths.empty()) {
    Usage();
    return 2;
  }
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
  if (notPackage) return 2;
  for (const auto& r : reports) {
    if (!r.Ok()) return 1;
  }
  return 0;
}
