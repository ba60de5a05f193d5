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
// with what was done and keeps its square corners.
template <typename Screen>
bool Render(Screen& screen, void (Screen::*setup)(), const std::string& file, std::vector<std::string>& written,
            std::vector<Problem>& problems) {
  screen.Handle();
  bool completed = false;
  try {
    screen.FormCreate();
    (screen.*setup)();
    completed = true;
  } catch (const std::exception& error) {
    problems.push_back({file, error.what()});
  }
  if (completed) SendMessageW(screen.Handle(), forms::WM_AFTERSHOW, 0, 0);
  if (!forms::SaveFormPng(screen, file)) return false;
  written.push_back(file);
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

bool InsidePackage(const std::string& fullDir, const std::string& packageNativePath) {
  return Inside(fullDir, packageNativePath);
}

bool RenderScreens(const std::string& packageNativePath, const std::string& nativeDir, int n,
                   std::vector<std::string>& written, std::vector<Problem>& problems) {
  const std::string stem = packageNativePath.substr(0, packageNativePath.size() - (sizeof kPackageName - 1));
  // The launcher that would lie beside this package: the screens find it through its path.
  const ear::ExecutablePathOverride launcher(stem + "ExamAutoRunner.exe");
  auto file = [&](const char* screen) { return ear::JoinPath(nativeDir, std::to_string(n) + "-" + screen + ".png"); };
  bool ok = true;
  // Each screen is held in its program-wide reference while it is set up, as its creator
  // does (the title screen centres its pictures on the screen held there).
  {
    auto title = std::make_unique<TfrmJPZZ0030>(nullptr);
    frmJPZZ0030 = title.get();
    ok &= Render(*title, &TfrmJPZZ0030::SetupTitleScreen, file("title"), written, problems);
    frmJPZZ0030 = nullptr;
  }
  {
    auto procedure = std::make_unique<TfrmJPZZ0040>(nullptr);
    frmJPZZ0040 = procedure.get();
    ok &= Render(*procedure, &TfrmJPZZ0040::SetupProcedureScreen, file("procedure"), written, problems);
    frmJPZZ0040 = nullptr;
  }
  {
    auto registration = std::make_unique<TfrmJPZZ0010>(nullptr);
    frmJPZZ0010 = registration.get();
    ok &= Render(*registration, &TfrmJPZZ0010::SetupRegistrationScreen, file("registration"), written, problems);
    frmJPZZ0010 = nullptr;
  }
  return ok;
}

}  // namespace earcheck::preview
