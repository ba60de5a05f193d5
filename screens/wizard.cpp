#include "screens/wizard.h"

#include <utility>

#include "screens/frmJPZZ0010.h"
#include "screens/frmJPZZ0030.h"
#include "screens/frmJPZZ0040.h"

namespace ear {

namespace {

template <class Screen>
std::unique_ptr<WizardScreen> Make(forms::Form* owner, const WizardContext& context) {
  return std::make_unique<Screen>(owner, context);
}

// The same, also setting the screen's program-wide reference, for the screens that keep one.
template <class Screen, Screen*& reference>
std::unique_ptr<WizardScreen> MakeNoted(forms::Form* owner, const WizardContext& context) {
  auto screen = std::make_unique<Screen>(owner, context);
  reference = screen.get();
  return screen;
}

// A row a screen: its name, its name on earcheck's page, how it is made (Make<TNewScreen>
// for a screen without a program-wide reference).
constexpr WizardStep kWizardOrder[] = {
    {"title", "タイトル画面", &MakeNoted<TfrmJPZZ0030, frmJPZZ0030>},
    {"procedure", "手順確認画面", &MakeNoted<TfrmJPZZ0040, frmJPZZ0040>},
    {"registration", "受験者登録画面", &MakeNoted<TfrmJPZZ0010, frmJPZZ0010>},
};

}  // namespace

std::span<const WizardStep> WizardOrder() { return kWizardOrder; }

std::unique_ptr<WizardScreen> MakeWizardScreen(std::size_t step, forms::Form* owner, WizardContext context) {
  context.order = kWizardOrder;
  return MakeScreenAt(step, owner, std::move(context));
}

}  // namespace ear
