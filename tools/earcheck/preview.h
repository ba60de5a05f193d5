#pragma once
// --preview DIR: the package's wizard screens (title, procedure, registration), painted by
// the launcher's own screen code into PNG files, without any window appearing on the screen.
// Windows build only; natively Available() is false and nothing else may be called.
#include <string>
#include <vector>

namespace earcheck::preview {

bool Available();

// What a screen whose set-up stops with an error shows, said before the error's text.
inline constexpr char kSetUpStopped[] =
    "画面の準備がエラーで止まります。受験者にはこのエラーが表示され、画面はこの途中の状態で開きます:";

// What the preview needs for the whole run (GDI+); one, made before the first package.
class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

 private:
  void* state_;
};

// Makes DIR (one level) if it is missing, once the packages are known not to hold it; false
// with the system's reason when it cannot, or when DIR names a file.
bool PrepareFolder(const std::string& nativeDir, std::string& reason);

// The launcher's folder for a package, with its trailing separator: the parent of a folder
// named "##TMP##". Empty for a package folder of any other name: no launcher would find it.
std::string LauncherFolder(const std::string& packageNativePath);

// Whether the full path `fullDir` is the package folder or lies in it (the preview would
// change the package), by the folders' identity: links and other spellings of a path
// inside the package count. A DIR not yet made is judged by the folder it would be made in.
bool InsidePackage(const std::string& fullDir, const std::string& packageNativePath);

// The wizard's screens of the package in `packageNativePath` (its full "...\##TMP##" path;
// false for any other), in the wizard's order, as
// DIR\<n>-title.png, DIR\<n>-procedure.png and DIR\<n>-registration.png. Each screen runs its
// set-up as it does when shown; a set-up that stops with an error leaves the screen as it
// stands then (the launcher opens it so) and adds the file and the error's text to
// `problems`. `written` gets the files' paths. Each file is written whole and renamed over the
// old one (tools/earcheck/output_file.h). False when a file could not be written: `unwritten`
// gets it with the reason. When one of the files is, links followed, a file of the package,
// none is painted or written.
struct Problem {
  std::string file;     // the PNG file of the screen
  std::string message;  // the error's text, as the launcher's error box shows it
};
bool RenderScreens(const std::string& packageNativePath, const std::string& nativeDir, int n,
                   std::vector<std::string>& written, std::vector<Problem>& problems,
                   std::vector<Problem>& unwritten);

// The same screens painted into memory, in that order, for the report page. False when
// one could not be encoded (its `png` stays empty).
struct Painted {
  const char* screen;   // "title", "procedure", "registration"
  const char* caption;  // the screen's name on the report page
  std::string png;      // the PNG file's bytes
  std::string problem;  // the error its set-up stopped with, as the error box shows it; empty: none
};
bool PaintScreens(const std::string& packageNativePath, std::vector<Painted>& painted);

}  // namespace earcheck::preview
