#pragma once

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

}  // namespace forms
