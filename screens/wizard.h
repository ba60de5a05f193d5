#pragma once
// What the shell and the wizard screens share; the screens never include the shell.
#include <exception>
#include <memory>

#include "forms/application.h"
#include "forms/form.h"

// The backdrop screen, the application's main form: set by the shell when it creates
// it, so that the screens can order their windows against it. Not owned.
extern forms::Form* wizardBackdrop;

// One step forward in the wizard: hides `from`, runs a fresh `Next` owned by the application
// (no owner window) and releases it whether or not its loop ended normally. Back (7) shows
// `from` again; any other result, 2 also when opening failed, ends `from` with it.
template <class Next>
void OpenNextScreen(forms::Form& from, Next*& reference) {
  int result = forms::mrCancel;
  from.HideForm();
  try {
    auto next = std::make_unique<Next>(nullptr);
    reference = next.get();
    result = next->ShowModal();
  } catch (const std::exception& error) {
    forms::App().ShowException(error);
  }
  if (result == forms::mrNo) {
    from.ShowForm();
  } else {
    from.SetModalResult(result);
  }
}
