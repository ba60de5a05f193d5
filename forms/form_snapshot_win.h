#pragma once
// A form as the screen would show it, painted into memory while its window stays hidden:
// for previews of screens that must not appear on the user's screen.
#include <cstdint>
#include <string>
#include <vector>

#include "forms/form.h"

namespace forms {

struct FormSnapshot {
  int width = 0, height = 0;
  // Rows of blue, green, red, alpha, top row first, width * 4 bytes each. Alpha is 255
  // inside the window's region and 0 outside it (the pixel there is 0 as well).
  std::vector<std::uint8_t> bgra;
  std::uint32_t Pixel(int x, int y) const;  // 0xAARRGGBB
};

// Paints the form's client area (the whole window of a borderless form) with every visible
// child window in its z-order, clipped to each child's window region, and cuts the form's
// own window region out of it. The form's window is created if it has none yet and is never
// shown, moved or activated. The framework's windows paint through PaintWindow; a system
// class (an edit) through WM_PRINTCLIENT, with its client edge drawn here as its own
// non-client painting draws it (the theme's edit frame, else the sunken edge). Nothing has
// the focus: no caret and no focus frame, as before the first control is focused.
FormSnapshot SnapshotForm(Form& form);

// SnapshotForm written as a PNG file (a Shift-JIS path); GDI+ must be started. False when
// the form has no window or the file could not be written.
bool SaveFormPng(Form& form, const std::string& fileName);

}  // namespace forms
