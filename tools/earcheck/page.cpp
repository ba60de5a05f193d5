#include "tools/earcheck/page.h"

#include <cstdio>
#include <memory>

#include "base/sjis.h"
#include "tools/earcheck/html_report.h"
#include "tools/earcheck/platform.h"
#include "tools/earcheck/preview.h"

namespace earcheck {

namespace {

void Err(const std::string& sjis) {
  const std::string text = ConsoleFromSjis(sjis);
  std::fwrite(text.data(), 1, text.size(), stderr);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

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
  }
  return true;
}

bool WritePage(const std::string& fullFile, const std::vector<PackageReport>& reports,
               const std::vector<std::string>& skipped) {
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(fullFile.c_str(), "wb"));
  if (!out) {
    Err("earcheck: ページを書けません: " + ConsoleFromNative(fullFile) + "\n");
    return false;
  }
  bool ok = true;
  auto put = [&](const std::string& part) {
    if (std::fwrite(part.data(), 1, part.size(), out.get()) != part.size()) ok = false;
  };
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
  if (std::fclose(out.release()) != 0) ok = false;
  if (!ok) Err("earcheck: ページを最後まで書けませんでした: " + ConsoleFromNative(fullFile) + "\n");
  return ok;
}

}  // namespace earcheck
