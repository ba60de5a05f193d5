#include "forms/control_tree.h"

namespace forms {

unsigned CurrentShiftState() {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  return ShiftFromKeyboardState(keys);
}

}  // namespace forms
