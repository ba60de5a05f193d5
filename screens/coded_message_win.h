#pragma once
#include <string>

namespace forms {
class Form;
}

namespace ear {

// The single-panel text of a status bar; only the fallback of a coded message uses it.
class StatusBar {
 public:
  virtual ~StatusBar() = default;
  virtual void SetSimpleText(const std::string& text) = 0;
};

// Shows a coded message box owned by OwnerForm; returns the box's answer, or 0 when
// the code is not valid (then the whole text goes to the status bar, if one is given).
int ShowCodedMessage(forms::Form* OwnerForm, StatusBar* StatusBar, const std::string& CodedMessage,
                     const std::string& Detail);

}  // namespace ear
