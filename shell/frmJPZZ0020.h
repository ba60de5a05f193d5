#pragma once
// The backdrop screen: the application's main form, covering the primary screen.
#include "forms/form.h"
#include "forms/picture.h"

class TfrmJPZZ0020 : public forms::Form {
 public:
  // debugMode: "-debug" on the command line, read once at program start.
  explicit TfrmJPZZ0020(bool debugMode);

  forms::Image Image{this, {.name = "Image", .align = forms::Align::Client}};
  bool DebugMode = false;  // for the self-removal, and handed to the wizard

  void FormCreate() override;
  void FormShow() override;
  // Removes the package and, through the cleanup batch, the launcher; may throw.
  void RunSelfRemoval();

 protected:
  void AfterShow() override { WMAfterShow(); }

 private:
  void WMAfterShow();
};

extern TfrmJPZZ0020* frmJPZZ0020;
