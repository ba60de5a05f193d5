#pragma once
// The backdrop screen: the application's main form, covering the primary screen.
#include "forms/form.h"
#include "forms/picture.h"

class TfrmJPZZ0020 : public forms::Form {
 public:
  TfrmJPZZ0020();

  forms::Image Image{this, {.name = "Image", .align = forms::Align::Client}};
  bool DebugMode = false;  // read only by the self-removal

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
