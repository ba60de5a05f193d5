#include "shell/frmJPZZ0020.h"

#include <memory>
#include <string>
#include <vector>

#include "forms/application.h"
#include "base/text_win.h"
#include "base/module_path.h"
#include "package/package_pictures.h"
#include "package/paths.h"
#include "screens/screen_painting.h"
#include "screens/coded_message_win.h"
#include "screens/registration_ok.h"
#include "screens/wizard.h"
#include "shell/self_removal_win.h"

TfrmJPZZ0020* frmJPZZ0020 = nullptr;

TfrmJPZZ0020::TfrmJPZZ0020(bool debugMode)
    : Form(nullptr, {.name = "frmJPZZ0020", .clientWidth = 624, .clientHeight = 210, .left = 77, .top = 148,
                     .color = forms::clBtnFace,
                     .font = {.name = "ＭＳ Ｐゴシック", .height = -12, .charset = SHIFTJIS_CHARSET},
                     .text = "frmJPZZ0020"}),
      DebugMode(debugMode) {}

void TfrmJPZZ0020::FormCreate() {
  SetTop(0);
  SetLeft(0);
  SetBounds(Left(), Top(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void TfrmJPZZ0020::FormShow() {
  const ear::PackagePaths paths = ear::PackagePathsFor(ear::ExecutablePath());
  ear::PaintBackdrop(Image, ear::PicturePath(paths, ear::kBackdropPicture), Width(), Height());
  PostMessageW(Handle(), forms::WM_AFTERSHOW, 0, 0);
}

void TfrmJPZZ0020::RunSelfRemoval() {
  POINT origin{0, 0};
  ClientToScreen(Handle(), &origin);
  ear::SelfRemovalContext context;
  context.exePath = ear::ExecutablePath();
  context.debugMode = DebugMode;
  context.owner = Handle();
  context.clientLeft = origin.x;
  context.clientTop = origin.y;
  context.clientWidth = Width();
  context.clientHeight = Height();
  context.closeMainForm = [this] { Close(); };
  ear::RunSelfRemoval(context);
}

void TfrmJPZZ0020::WMAfterShow() {
  // The title screen, made here, is released when the handler returns, whichever way out:
  // the backdrop ends it last, after the self-removal.
  std::unique_ptr<ear::WizardScreen> title;
  int result = forms::mrCancel;
  try {
    title = ear::MakeWizardScreen(0, this, {.backdrop = this, .exePath = ear::ExecutablePath(),
                                            .debugMode = DebugMode, .prepareNext = true});
    result = title->ShowModal();
  } catch (const std::exception& error) {
    // A wizard that cannot run ends the program without removing anything.
    forms::App().ShowException(error);
    Close();
    return;
  }
  if (result == forms::mrOk) {
    Close();
    return;
  }
  try {
    RunSelfRemoval();
  } catch (const std::exception& error) {
    ear::ShowCodedMessage(this, ear::kMsgBatchFailed, error.what());
  }
  Close();
}
