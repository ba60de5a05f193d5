#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "base/module_path.h"
#include "base/system_error.h"
#include "base/text_win.h"
#include "forms/form_snapshot_win.h"
#include "imaging/gdiplus_win.h"
#include "imaging/png_file_win.h"
#include "package/paths.h"
#include "screens/frmJPZZ0010.h"
#include "screens/frmJPZZ0030.h"
#include "screens/frmJPZZ0040.h"
#include "tools/earcheck/preview.h"

namespace earcheck::preview {

namespace {

constexpr char kPackageName[] = "##TMP##";

// Whether `path` is `folder` or lies inside it; letter case ignored as Windows does.
bool Inside(const std::string& path, const std::string& folder) {
  const std::wstring p = ear::Widen(path), f = ear::Widen(folder);
  if (p.size() < f.size()) return false;
  if (CompareStringOrdinal(p.c_str(), static_cast<int>(f.size()), f.c_str(), static_cast<int>(f.size()), TRUE) !=
      CSTR_EQUAL) {
    return false;
  }
  return p.size() == f.size() || p[f.size()] == L'\\';
}

// A screen as it stands after its show handler: the window is created (never shown), the
// create and show set-up run, and WM_AFTERSHOW, which the show handler posts last, rounds
// the corners. A set-up that throws ends there, as the launcher's does: the screen opens
// with what was done and keeps its square corners; `problem` gets the error's text.
template <typename Screen>
void SetUp(Screen& screen, void (Screen::*setup)(), std::string& problem) {
  screen.Handle();
  bool completed = false;
  try {
    screen.FormCreate();
    (screen.*setup)();
    completed = true;
  } catch (const std::exception& error) {
    problem = error.what();
  }
  if (completed) SendMessageW(screen.Handle(), forms::WM_AFTERSHOW, 0, 0);
}

// One screen, made anew and held in its program-wide reference while it is set up, as its
// creator does (the title screen centres its pictures on the screen held there).
template <typename Screen, typename Use>
void OneScreen(Screen*& held, void (Screen::*setup)(), const char* name, Use& use) {
  auto screen = std::make_unique<Screen>(nullptr);
  held = screen.get();
  std::string problem;
  SetUp(*screen, setup, problem);
  use(name, static_cast<forms::Form&>(*screen), problem);
  held = nullptr;
}

// Sets up the package's three screens in turn and hands each to `use(name, form, problem)`.
template <typename Use>
void EachScreen(const std::string& packageNativePath, Use use) {
  const std::string stem = packageNativePath.substr(0, packageNativePath.size() - (sizeof kPackageName - 1));
  // The launcher that would lie beside this package: the screens find it through its path.
  const ear::ExecutablePathOverride launcher(stem + "ExamAutoRunner.exe");
  OneScreen(frmJPZZ0030, &TfrmJPZZ0030::SetupTitleScreen, "title", use);
  OneScreen(frmJPZZ0040, &TfrmJPZZ0040::SetupProcedureScreen, "procedure", use);
  OneScreen(frmJPZZ0010, &TfrmJPZZ0010::SetupRegistrationScreen, "registration", use);
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

bool InsidePackage(const std::string& fullDir, const std::string& packageNativePath) {
  return Inside(fullDir, packageNativePath);
}

bool RenderScreens(const std::string& packageNativePath, const std::string& nativeDir, int n,
                   std::vector<std::string>& written, std::vector<Problem>& problems) {
  bool ok = true;
  EachScreen(packageNativePath, [&](const char* screen, forms::Form& form, const std::string& problem) {
    const std::string file = ear::JoinPath(nativeDir, std::to_string(n) + "-" + screen + ".png");
    if (!problem.empty()) problems.push_back({file, problem});
    if (forms::SaveFormPng(form, file)) {
      written.push_back(file);
    } else {
      ok = false;
    }
  });
  return ok;
}

bool PaintScreens(const std::string& packageNativePath, std::vector<Painted>& painted) {
  bool ok = true;
  EachScreen(packageNativePath, [&](const char* screen, forms::Form& form, const std::string& problem) {
    const forms::FormSnapshot shot = forms::SnapshotForm(form);
    Painted p{screen, {}, problem};
    if (shot.bgra.empty() ||
        !ear::gdiplus::EncodePng(shot.width, shot.height, shot.width * 4, shot.bgra.data(), p.png)) {
      p.png.clear();
      ok = false;
    }
    painted.push_back(std::move(p));
  });
  return ok;
}

}  // namespace earcheck::preview
