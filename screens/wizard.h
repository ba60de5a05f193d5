#pragma once
// The wizard's order of screens: title, procedure, registration. The one place that knows
// them all; the launcher, earcheck's preview and the tests ask it.
#include <cstddef>
#include <memory>
#include <span>

#include "screens/wizard_screen.h"

namespace ear {

// Title, procedure, registration.
std::span<const WizardStep> WizardOrder();

// The screen at `step` of the order, owned by `owner` (the backdrop for the first, none for
// the others), with the context's step set to it.
std::unique_ptr<WizardScreen> MakeWizardScreen(std::size_t step, forms::Form* owner, WizardContext context);

}  // namespace ear
