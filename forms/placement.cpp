#include "forms/placement.h"

#include <algorithm>

namespace forms {

namespace {
// One direction of a form that does not fit the screen: where it fits the work area, the
// screen's centre moved into it; else centred on it, or with its far edge on the area's.
int InWorkArea(int centred, int size, int from, int to, bool farEdge) {
  if (size <= to - from) return std::clamp(centred, from, to - size);
  return farEdge ? to - size : from + (to - from - size) / 2;
}
}  // namespace

FormPlace CentreOnScreen(const PrimaryScreen& screen, int formWidth, int formHeight) {
  const ScreenRect& work = screen.workArea;
  // Division truncates, as the centred placement always has.
  FormPlace place{(screen.width - formWidth) / 2, (screen.height - formHeight) / 2};
  if (formWidth <= screen.width && formHeight <= screen.height) return place;
  place.left = InWorkArea(place.left, formWidth, work.left, work.right, false);
  place.top = InWorkArea(place.top, formHeight, work.top, work.bottom, true);
  return place;
}

namespace {
// One direction: the form at `at`, `size` long, in an area [from, to); the span [begin, end).
int Scrolled(int at, int size, int from, int to, int begin, int end) {
  if (at + begin < from) at = from - begin;
  else if (at + end > to) at = to - end;
  // Never past the form's own edges: the area then shows as much of the form as it holds.
  return std::clamp(at, std::min(to - size, from), std::max(to - size, from));
}
}  // namespace

FormPlace BringIntoView(const PrimaryScreen& screen, int formWidth, int formHeight, FormPlace place,
                        const ScreenRect& control) {
  if (formWidth <= screen.width && formHeight <= screen.height) return place;
  const ScreenRect& work = screen.workArea;
  if (formWidth > work.right - work.left)
    place.left = Scrolled(place.left, formWidth, work.left, work.right, control.left, control.right);
  if (formHeight > work.bottom - work.top)
    place.top = Scrolled(place.top, formHeight, work.top, work.bottom, control.top, control.bottom);
  return place;
}

FormPlace ScrollVertically(const PrimaryScreen& screen, int formWidth, int formHeight, FormPlace place, int pixels) {
  const ScreenRect& work = screen.workArea;
  if ((formWidth <= screen.width && formHeight <= screen.height) || formHeight <= work.bottom - work.top) return place;
  place.top = std::clamp(place.top + pixels, work.bottom - formHeight, work.top);
  return place;
}

}  // namespace forms
