#pragma once
// Where a form that is placed at the screen's centre goes on the primary screen.

namespace forms {

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};

struct FormPlace {
  int left = 0, top = 0;
  bool operator==(const FormPlace&) const = default;
};

// The primary screen: its size, and its work area (the screen less the task bar).
struct PrimaryScreen {
  int width = 0, height = 0;
  ScreenRect workArea;
};

// A form that fits the screen is centred on it, as ever. One that does not keeps in the work
// area (the screen less the task bar) what the wizard screens need: in each direction, where
// it fits the work area, the screen's centre moved into the area; where it does not, its
// bottom edge, near which the wizard screens have their buttons, on the area's last row, and
// across, centred on the area, so that buttons near both of its sides show.
FormPlace CentreOnScreen(const PrimaryScreen& screen, int formWidth, int formHeight);

// A form that does not fit the screen moves, in a direction where the work area cannot hold
// it and no further than its own edges, the least that brings a control (in the form's client
// coordinates) into the work area: Tab shows what it focuses.
FormPlace BringIntoView(const PrimaryScreen& screen, int formWidth, int formHeight, FormPlace place,
                        const ScreenRect& control);

// A form that does not fit the screen moved up or down by the mouse wheel (pixels > 0: down,
// showing more of its top), where the work area cannot hold its height, no further than its
// own edges.
FormPlace ScrollVertically(const PrimaryScreen& screen, int formWidth, int formHeight, FormPlace place, int pixels);

}  // namespace forms
