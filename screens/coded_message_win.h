#pragma once
#include <string>

namespace forms {
class Form;
}

namespace ear {

// Shows a coded message box owned by OwnerForm; returns the box's answer, or 0 (and no
// box) when the code is not valid.
int ShowCodedMessage(forms::Form* OwnerForm, const std::string& CodedMessage, const std::string& Detail);

}  // namespace ear
