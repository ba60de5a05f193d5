#pragma once
// What every screen of the wizard does alike on show. A screen derives from WizardScreen
// and is handed a WizardContext; it never reaches the shell, the backdrop or another
// screen by a program-wide reference, nor the wizard's order (screens/wizard.h), which the
// context carries: the order includes the screens, so the screens cannot include it.
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "forms/form.h"
#include "forms/picture.h"
#include "forms/standard_controls.h"
#include "package/package_settings.h"
#include "package/paths.h"

namespace ear {

class WizardScreen;
struct WizardContext;

// One screen of the wizard's order.
struct WizardStep {
  const char* name;     // the screen's name in earcheck's preview files ("title" ...)
  const char* caption;  // and in its report page
  // Makes the screen (and sets its program-wide reference, where it keeps one).
  std::unique_ptr<WizardScreen> (*make)(forms::Form* owner, const WizardContext& context);
};

// What the shell hands the wizard, and the wizard each screen.
struct WizardContext {
  forms::Form* backdrop = nullptr;  // the backdrop screen, not owned; none in earcheck's preview
  std::string exePath;              // the launcher that runs the wizard
  bool debugMode = false;           // "-debug" on the command line, read once by the shell
  // Each screen makes the next one while the loop is idle, ready for its "次へ >"; only the
  // launcher asks for it.
  bool prepareNext = false;
  std::size_t step = 0;             // the screen's place in the order; set by the wizard
  std::span<const WizardStep> order;  // the wizard's order; set by the wizard
};

class WizardScreen : public forms::Form {
 public:
  WizardScreen(forms::Form* owner, const forms::FormArgs& args, const WizardContext& context)
      : Form(owner, args), context_(context), paths_(PackagePathsFor(context.exePath)) {}
  ~WizardScreen() override;

  const WizardContext& Context() const { return context_; }
  // The package's paths, all from the context's exePath.
  const PackagePaths& Paths() const { return paths_; }

  // The screen's own set-up steps, run on every show (and by earcheck's preview); an error
  // stops them, and the show with them, where it is thrown.
  virtual void SetUp() = 0;

  // Set-up, WM_AFTERSHOW posted for the rounded region, then the screen's window band.
  void FormShow() final;

  // What the first show's set-up can have done ahead, while the screen before is on view,
  // changing nothing that shows: pictures decoded ahead (Picture::PrepareFile). Nothing by
  // default.
  virtual void Prepare() {}

 protected:
  // Where the screen's window goes among the others once it is set up; nothing by default.
  virtual void PlaceWindow() {}

  // The header band every screen has: the package's bg_main_top.jpg on the panel's picture.
  void PaintHeaderBand(forms::Image& band);

  // The alternative exam type ("受験タイプ" 3): the footer's second copyright notice and the
  // screen's own moves. True when they were applied.
  struct Move {
    forms::Control& control;
    int top;
  };
  bool ApplyExamType(std::string_view examType, forms::Label& footer, std::initializer_list<Move> moves);

  // The window bands: this screen topmost, or in the ordinary band; the backdrop's.
  void SetTopmost(bool topmost);
  void PutBackdropJustBelow();
  void HideBackdrop();

  // NextBtnClick of every screen but the last: hides this screen and runs the next one in
  // the order, made anew with no owner and released when its loop ends. Back (7) shows this
  // screen again; any other result, 2 also when opening failed, ends this screen with it.
  // With prepareNext, the next one was made while this screen waited on view, each time it
  // was shown: a fresh one for every show; what fails there is dropped unseen and fails
  // again here, when the error is due.
  void OpenNextScreen();

  // The rounded region; then, with prepareNext, the next screen made when the loop idles.
  void AfterShow() final;

 private:
  // One slice of making the next screen: made; its windows, placed; its Prepare. True while
  // more is left.
  bool PrepareNextScreen();

  WizardContext context_;
  PackagePaths paths_;
  std::unique_ptr<WizardScreen> next_;  // made ahead for the next "次へ >"
};

// The screen at `step` of the context's order, with the context's step set to it.
std::unique_ptr<WizardScreen> MakeScreenAt(std::size_t step, forms::Form* owner, WizardContext context);

}  // namespace ear
