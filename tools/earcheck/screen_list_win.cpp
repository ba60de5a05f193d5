#include "tools/earcheck/screen_list.h"

#include <cstdio>
#include <memory>

#include "screens/wizard.h"
#include "tools/earcheck/platform.h"

namespace earcheck {

std::string ScreenList() {
  std::string out;
  const ear::WizardContext context;  // no package: the screens are made, never set up or shown
  for (std::size_t step = 0; step < ear::WizardOrder().size(); ++step) {
    const std::unique_ptr<ear::WizardScreen> screen = ear::MakeWizardScreen(step, nullptr, context);
    const ear::WizardStep& row = ear::WizardOrder()[step];
    out += std::string(row.name) + '\t' + screen->Text() + '\t' + row.caption + '\t' + std::to_string(screen->Width()) +
           '\t' + std::to_string(screen->Height()) + '\n';
  }
  return out;
}

int PrintScreenList() {
  const std::string text = ConsoleFromSjis(ScreenList());
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

}  // namespace earcheck
