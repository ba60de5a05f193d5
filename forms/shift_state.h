#pragma once
#include <cstdint>

namespace forms {

// Modifier keys and mouse buttons held, as read from the keyboard state table.
enum ShiftState : unsigned {
  ssNone = 0,
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
};

// The Shift, Alt, Ctrl and mouse-button state from a 256-byte keyboard state table.
unsigned ShiftFromKeyboardState(const std::uint8_t* keys);

}  // namespace forms
