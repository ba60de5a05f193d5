#include "forms/shift_state.h"

namespace forms {

unsigned ShiftFromKeyboardState(const std::uint8_t* keys) {
  struct Key { int vk; unsigned flag; };
  // VK_SHIFT, VK_MENU, VK_CONTROL, VK_LBUTTON, VK_RBUTTON, VK_MBUTTON.
  static constexpr Key kKeys[] = {{0x10, ssShift}, {0x12, ssAlt},   {0x11, ssCtrl},
                                  {0x01, ssLeft},  {0x02, ssRight}, {0x04, ssMiddle}};
  unsigned shift = ssNone;
  for (const Key& k : kKeys) {
    if (keys[k.vk] & 0x80) shift |= k.flag;
  }
  return shift;
}

}  // namespace forms
