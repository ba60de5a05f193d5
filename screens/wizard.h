#pragma once
// What the shell and the wizard screens share; the screens never include the shell.
#include "forms/form.h"

// The backdrop screen, the application's main form: set by the shell when it creates
// it, so that the screens can order their windows against it. Not owned.
extern forms::Form* wizardBackdrop;
