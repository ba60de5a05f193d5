#pragma once
// The first screen of the wizard, created with the backdrop screen as its owner.
#include <memory>

#include "forms/form.h"

std::unique_ptr<forms::Form> CreateTitleScreen(forms::Form* owner);
