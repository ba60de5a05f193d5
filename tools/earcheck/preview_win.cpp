#include <windows.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/handle.h"
#include "base/sjis.h"
#include "base/system_error.h"
#include "base/text_win.h"
#include "forms/form_snapshot_win.h"
#include "imaging/gdiplus_win.h"
#include "imaging/png_file_win.h"
#include "package/paths.h"
#include "screens/wizard.h"
#include "tools/earcheck/output_file.h"
#include "tools/earcheck/preview.h"

namespace earcheck::preview {

namespace {

constexpr char kPackageName[] = "##TMP##";

// Whether `path` is `folder` or lies inside it; letter case ignored as Windows does.
bool Inside(const std::string& path, const std::string& folder) {
  const std::wstring p = ear::Widen(path, ear::kFileSystemCodePage), f = ear::Widen(folder, ear::kFileSystemCodePage);
  if (p.size() < f.size()) return false;
  if (CompareStringOrdinal(p.c_str(), static_cast<int>(f.size()), f.c_str(), static_cast<int>(f.size()), TRUE) !=
      CSTR_EQUAL) {
    return false;
  }
  return p.size() == f.size() || p[f.size()] == L'\\';
}

// A folder as the file system knows it, whatever path reaches it: volume and file index.
struct FolderId {
  DWORD volume = 0, high = 0, low = 0;
  bool operator==(const FolderId&) const = default;
};

ear::FileHandle OpenFolder(const std::wstring& path) {
  // Backup semantics open a folder; links are followed to what they name.
  return ear::FileHandle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::optional<FolderId> IdOf(const ear::FileHandle& h) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!h || !GetFileInformationByHandle(h.Get(), &info)) return std::nullopt;
  return FolderId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// The path with links resolved, as the system names the open folder; `path` when it cannot.
std::wstring FinalPath(const ear::FileHandle& h, const std::wstring& path) {
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(h.Get(), final.data(), static_cast<DWORD>(final.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) return path;
    if (n < final.size()) {
      final.resize(n);
      return final;
    }
    final.resize(n);
  }
}

// A screen as it stands after its show handler: the window is created (never shown), the
// create and show set-up run, and WM_AFTERSHOW, which the show handler posts last, rounds
// the corners. A set-up that throws ends there, as the launcher's does: the screen opens
// with what was done and keeps its square corners; `problem` gets the error's text.
void SetUp(ear::WizardScreen& screen, std::string& problem) {
  screen.Handle();
  bool completed = false;
  try {
    screen.FormCreate();
    screen.SetUp();
    completed = true;
  } catch (const std::exception& error) {
    problem = error.what();
  }
  if (completed) SendMessageW(screen.Handle(), forms::WM_AFTERSHOW, 0, 0);
}

// Sets up the package's screens in the wizard's order, each made anew, and hands each to
// `use(step, form, problem)`; false, and no screen, when the folder is no `##TMP##` beside
// a launcher folder.
template <typename Use>
bool EachScreen(const std::string& packageNativePath, Use use) {
  const std::string stem = LauncherFolder(packageNativePath);
  if (stem.empty()) return false;
  // The launcher that would lie beside this package, with no backdrop and no "-debug".
  const std::string exePath = stem + "ExamAutoRunner.exe";
  const ear::WizardContext context{.exePath = exePath};
  for (std::size_t step = 0; step < ear::WizardOrder().size(); ++step) {
    const std::unique_ptr<ear::WizardScreen> screen = ear::MakeWizardScreen(step, nullptr, context);
    std::string problem;
    SetUp(*screen, problem);
    use(ear::WizardOrder()[step], static_cast<forms::Form&>(*screen), problem);
  }
  return true;
}

}  // namespace

bool Available() { return true; }

Session::Session() : state_(new ear::gdiplus::Session) {}
Session::~Session() { delete static_cast<ear::gdiplus::Session*>(state_); }

bool PrepareFolder(const std::string& nativeDir, std::string& reason) {
  const DWORD a = GetFileAttributesA(nativeDir.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) {
    if (CreateDirectoryA(nativeDir.c_str(), nullptr)) return true;
    reason = ear::SystemMessage(GetLastError());
    return false;
  }
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
    reason = "フォルダーではありません。";
    return false;
  }
  return true;
}

std::string LauncherFolder(const std::string& packageNativePath) {
  const std::size_t cut = ear::LastSeparator(packageNativePath);
  if (cut == std::string::npos) return {};
  const std::wstring name = ear::Widen(std::string_view(packageNativePath).substr(cut + 1), ear::kFileSystemCodePage);
  const std::wstring expected = ear::Widen(kPackageName, ear::kFileSystemCodePage);
  // The launcher names the package folder in its path; the file system ignores letter case.
  if (CompareStringOrdinal(name.c_str(), static_cast<int>(name.size()), expected.c_str(),
                           static_cast<int>(expected.size()), TRUE) != CSTR_EQUAL) {
    return {};
  }
  return packageNativePath.substr(0, cut + 1);
}

bool InsidePackage(const std::string& fullDir, const std::string& packageNativePath) {
  // A path through the package's own name stays refused, also where a link in it leads out.
  if (Inside(fullDir, packageNativePath)) return true;
  const std::optional<FolderId> package = IdOf(OpenFolder(ear::Widen(packageNativePath, ear::kFileSystemCodePage)));
  if (!package) return false;
  // DIR may not exist yet: what it would be made in is the nearest folder that does.
  std::wstring path = ear::Widen(fullDir, ear::kFileSystemCodePage);
  ear::FileHandle folder = OpenFolder(path);
  while (!folder) {
    const std::size_t up = path.find_last_of(L'\\');
    if (up == std::wstring::npos) return false;
    const std::wstring parent = path.substr(0, up > 0 && path[up - 1] == L':' ? up + 1 : up);  // "C:\" stays
    if (parent == path) return false;
    path = parent;
    folder = OpenFolder(path);
  }
  // Its real path, links resolved, walked up to the drive: any of these may be the package.
  path = FinalPath(folder, path);
  for (;;) {
    if (IdOf(OpenFolder(path)) == package) return true;
    const std::size_t up = path.find_last_of(L'\\');
    if (up == std::wstring::npos) return false;
    path.resize(up);
    if (path.size() < 3 || path.back() == L':') return false;
  }
}

bool RenderScreens(const std::string& packageNativePath, const std::string& nativeDir, int n,
                   std::vector<std::string>& written, std::vector<Problem>& problems,
                   std::vector<Problem>& unwritten) {
  auto fileOf = [&](const ear::WizardStep& step) {
    return ear::JoinPath(nativeDir, std::to_string(n) + "-" + step.name + ".png");
  };
  // Checked before anything is painted: a file of the package, through a link, is never replaced.
  for (const ear::WizardStep& step : ear::WizardOrder()) {
    if (IsPackageFile(fileOf(step), packageNativePath)) {
      unwritten.push_back({fileOf(step), "パッケージのファイル（そのリンクかハードリンク）であるため、書きません。"});
    }
  }
  if (!unwritten.empty()) return false;
  bool ok = true;
  const bool made = EachScreen(packageNativePath, [&](const ear::WizardStep& step, forms::Form& form,
                                                     const std::string& problem) {
    const std::string file = fileOf(step);
    if (!problem.empty()) problems.push_back({file, problem});
    const forms::FormSnapshot shot = forms::SnapshotForm(form);
    std::string png, reason;
    if (shot.bgra.empty() ||
        !ear::gdiplus::EncodePng(shot.width, shot.height, shot.width * 4, shot.bgra.data(), png)) {
      unwritten.push_back({file, "画像を作れませんでした。"});
      ok = false;
    } else if (!WriteWholeFile(file, png, reason)) {
      unwritten.push_back({file, reason});
      ok = false;
    } else {
      written.push_back(file);
    }
  });
  return made && ok;
}

bool PaintScreens(const std::string& packageNativePath, std::vector<Painted>& painted) {
  bool ok = true;
  const bool made = EachScreen(packageNativePath, [&](const ear::WizardStep& step, forms::Form& form,
                                                     const std::string& problem) {
    const forms::FormSnapshot shot = forms::SnapshotForm(form);
    Painted p{step.name, step.caption, {}, problem};
    if (shot.bgra.empty() ||
        !ear::gdiplus::EncodePng(shot.width, shot.height, shot.width * 4, shot.bgra.data(), p.png)) {
      p.png.clear();
      ok = false;
    }
    painted.push_back(std::move(p));
  });
  return made && ok;
}

}  // namespace earcheck::preview
