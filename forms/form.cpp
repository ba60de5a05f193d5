#include "forms/form.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "forms/application.h"
#include "forms/placement.h"

namespace forms {

namespace {
// A plain function: a lambda has no stdcall conversion in the 32-bit build.
BOOL CALLBACK CollectEnabledWindow(HWND hwnd, LPARAM lp) {
  auto* list = reinterpret_cast<std::vector<HWND>*>(lp);
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) list->push_back(hwnd);
  return TRUE;
}
}  // namespace

Form::Form(Form* owner, const Args& args) : owner_(owner) {
  visible_ = false;
  tabStop_ = false;
  name = args.name;
  bounds_ = Bounds{args.left, args.top, args.clientWidth, args.clientHeight};
  position = args.position;
  color_ = args.color;
  font_ = args.font;
  text_ = args.text;
  borderless = args.borderless;
}

Form::~Form() { DestroyHandle(); }

void Form::SetParent(WinControl* parent) {
  // Forms are top-level windows; they have an owner, never a parent.
  (void)parent;
}

void Form::FillCreateParams(CreateParams& params) {
  params.className = L"EarForm";
  params.style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (!borderless) params.style |= WS_CAPTION | WS_SYSMENU;
  if (owner_) params.owner = owner_->Handle();
}

Form* ParentForm(const Control& control) { return dynamic_cast<Form*>(control.ParentTopLevel()); }

void Form::DoShow() {
  if (!created_) {
    created_ = true;
    FormCreate();
  }
  PlaceAsShown();
  // A show handler that throws stops there; the form still opens.
  try {
    FormShow();
  } catch (const std::exception& error) {
    App().ShowException(error);
  }
}

namespace {
PrimaryScreen ThePrimaryScreen() {
  PrimaryScreen screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), {}};
  RECT work{0, 0, screen.width, screen.height};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);  // on failure the whole screen
  screen.workArea = {work.left, work.top, work.right, work.bottom};
  return screen;
}
}  // namespace

void Form::PlaceAsShown() {
  if (position != Position::ScreenCenter) return;
  const FormPlace place = CentreOnScreen(ThePrimaryScreen(), Width(), Height());
  const int left = place.left, top = place.top;
  RECT r{};
  if (hwnd_ && GetWindowRect(hwnd_, &r) && r.left == left && r.top == top && Left() == left && Top() == top) return;
  SetBounds(left, top, Width(), Height());
}

void Form::BringActiveControlIntoView() {
  if (position != Position::ScreenCenter || !activeControl_ || !hwnd_ || !activeControl_->HandleAllocated()) return;
  RECT r{};
  GetWindowRect(activeControl_->Handle(), &r);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  const FormPlace place =
      BringIntoView(ThePrimaryScreen(), Width(), Height(), {Left(), Top()}, {r.left, r.top, r.right, r.bottom});
  if (place.left != Left() || place.top != Top()) SetBounds(place.left, place.top, Width(), Height());
}

void Form::ShowForm() {
  Handle();
  DoShow();
  visible_ = true;
  firstPaint_ = !IsWindowVisible(hwnd_);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  if (!activeControl_) SelectNext(true);
  else if (activeControl_->CanFocus()) activeControl_->SetFocus();
  UpdateWindow(hwnd_);
}

void Form::HideForm() {
  visible_ = false;
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

int Form::ShowModal() {
  modalResult_ = mrNone;
  // Every other window of the application waits while the form runs.
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
  HWND self = Handle();
  disabled.erase(std::remove(disabled.begin(), disabled.end(), self), disabled.end());
  for (HWND h : disabled) EnableWindow(h, FALSE);
  modal_ = true;
  try {
    ShowForm();
    while (modalResult_ == mrNone && !App().Terminated()) App().HandleMessage();
  } catch (...) {
    modal_ = false;
    for (HWND h : disabled) EnableWindow(h, TRUE);
    HideForm();
    throw;
  }
  modal_ = false;
  // Re-enable before hiding, so that activation passes back to the owner.
  for (HWND h : disabled) EnableWindow(h, TRUE);
  HideForm();
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  return modalResult_;
}

void Form::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
  } else if (App().MainForm() == this) {
    HideForm();
    DestroyHandle();
    App().Terminate();
  } else {
    HideForm();
  }
}

void Form::SetActiveControl(WinControl* control) {
  activeControl_ = control;
  if (control && hwnd_ && IsWindowVisible(hwnd_) && !control->Focused() && control->CanFocus()) {
    ::SetFocus(control->Handle());
  }
}

namespace {
// Depth first in tab order: the order in which Tab visits the controls.
void CollectTabStops(const WinControl& parent, std::vector<WinControl*>& out) {
  for (WinControl* c : parent.TabList()) {
    if (c->TabStop() && c->CanFocus()) out.push_back(c);
    CollectTabStops(*c, out);
  }
}
}  // namespace

void Form::SelectNext(bool forward) {
  std::vector<WinControl*> stops;
  CollectTabStops(*this, stops);
  const auto it = std::find(stops.begin(), stops.end(), activeControl_);
  const std::optional<std::size_t> current =
      it == stops.end() ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(it - stops.begin()));
  if (const std::optional<std::size_t> next = NextTabStop(stops.size(), current, forward)) {
    stops[*next]->SetFocus();
    BringActiveControlIntoView();
  }
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_AFTERSHOW:
      AfterShow();
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_MOUSEWHEEL:
      // The wheel shows the rest of a centred form that the screen cannot hold.
      if (position == Position::ScreenCenter) {
        const FormPlace place = ScrollVertically(ThePrimaryScreen(), Width(), Height(), {Left(), Top()},
                                                 GET_WHEEL_DELTA_WPARAM(wp));
        if (place.top != Top()) SetBounds(place.left, place.top, Width(), Height());
        return 0;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) {
        DefaultHandler(msg, wp, lp);
        if (activeControl_ && activeControl_->CanFocus()) {
          ::SetFocus(activeControl_->Handle());
        }
        return 0;
      }
      break;
  }
  return WinControl::WndProc(msg, wp, lp);
}

}  // namespace forms
