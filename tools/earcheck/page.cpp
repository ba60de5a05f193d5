#include "tools/earcheck/page.h"

#include <cstdio>

#include "base/sjis.h"
#include "tools/earcheck/html_report.h"
#include "tools/earcheck/output_file.h"
#include "tools/earcheck/platform.h"
#include "tools/earcheck/preview.h"

namespace earcheck {

namespace {

void Err(const std::string& sjis) {
  const std::string text = ConsoleFromSjis(sjis);
  std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace

bool PageFileAllowed(const std::string& fullFile, const std::vector<PackageReport>& reports) {
  if (KindOf(fullFile) == Kind::Folder) {
    Err("earcheck: --html にはファイルを指定してください: " + ConsoleFromNative(fullFile) + "\n");
    return false;
  }
  // On Windows a "\" that is the second byte of a two-byte character does not end the folder.
  const std::size_t cut = NativeSeparator() == '\\' ? ear::LastSeparator(fullFile) : fullFile.rfind('/');
  const std::string folder = fullFile.substr(0, cut);
  for (const PackageReport& r : reports) {
    if (preview::InsidePackage(folder, r.nativePath)) {
      Err("earcheck: --html のファイルがパッケージの中にあるため、ページを作りません: " +
          ConsoleFromNative(r.nativePath) + "\n");
      return false;
    }
    // The folder may be outside while the file is one of the package's, through a link.
    if (IsPackageFile(fullFile, r.nativePath)) {
      Err("earcheck: --html のファイルはパッケージのファイル（そのリンクかハードリンク）であるため、ページを作りません: " +
          ConsoleFromNative(fullFile) + "\n");
      return false;
    }
  }
  return true;
}

bool WritePage(const std::string& fullFile, const std::vector<PackageReport>& reports,
               const std::vector<std::string>& skipped) {
  OutputFile out(fullFile);
  if (!out.Ok()) {
    Err("earcheck: ページを書けません: " + ConsoleFromNative(fullFile) + "\n" + out.Reason() + "\n");
    return false;
  }
  bool ok = true;
  auto put = [&](const std::string& part) { out.Write(part); };
  put(html::Head(reports, skipped));
  for (std::size_t i = 0; i < reports.size(); ++i) {
    // Painted and dropped package by package: a run over many packages never holds them all.
    std::vector<preview::Painted> screens;
    if (preview::Available() && !preview::PaintScreens(reports[i].nativePath, screens)) {
      Err("earcheck: プレビューの画像を作れませんでした: " + ConsoleFromNative(reports[i].nativePath) + "\n");
      ok = false;
    }
    put(html::Card(reports[i], static_cast<int>(i + 1), screens));
  }
  put(html::Tail());
  // A page that stops half-way is never left: the old file (or none) stays.
  if (!out.Commit()) {
    Err("earcheck: ページを最後まで書けませんでした。書きかけのページは残していません: " + ConsoleFromNative(fullFile) +
        "\n" + out.Reason() + "\n");
    return false;
  }
  return ok;
}

}  // namespace earcheck
