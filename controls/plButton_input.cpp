// TplButton's behaviour: its window and rounded region, keys, mouse and focus.
#include "controls/plButton.h"

#include "base/gdi.h"
#include "forms/application.h"

namespace controls {

void TplButton::SetParent(forms::WinControl* parent) {
  forms::WinControl::SetParent(parent);
  if (parent && !captionInitialised_) {
    captionInitialised_ = true;
    captionA_->SetCaption(name);
  }
}

void TplButton::FillCreateParams(CreateParams& params) {
  forms::WinControl::FillCreateParams(params);
  // Our own class, a copy of the framework's control class (same procedure), so that
  // the button's windows can be told apart.
  static const bool registered = [&params] {
    WNDCLASSW wc{};
    if (!GetClassInfoW(GetModuleHandleW(nullptr), params.className, &wc)) return false;
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0;
  }();
  if (registered) params.className = kClassName;
}

void TplButton::HandleCreated() {
  forms::WinControl::HandleCreated();
  // A style set before the window existed still shapes it.
  if (IsRounded(buttonStyle_)) ApplyRegion();
}

void TplButton::ApplyRegion() {
  if (!HandleAllocated()) return;
  const Rect r = RegionRect(Width(), Height());
  gdi::Region rgn(CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, CornerSize, CornerSize));
  if (rgn && SetWindowRgn(hwnd_, rgn.Get(), TRUE)) region_ = rgn.Release();
}

void TplButton::RemoveRegion() {
  if (HandleAllocated()) SetWindowRgn(hwnd_, nullptr, TRUE);
  region_ = nullptr;
}

LRESULT TplButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return 0;
  return forms::WinControl::WndProc(msg, wp, lp);
}

bool TplButton::IsActiveControl() const { return forms::App().ActiveControl() == this; }

bool TplButton::ShowsDisabledLook() const { return DisabledLook(Enabled(), hasFocus_, disableImage_); }

bool TplButton::DialogKey(WORD key, unsigned shift) {
  if (ClicksOnDialogKey(key, shift, IsActiveControl(), cancel_, hasFocus_)) {
    Click();
    return true;
  }
  return forms::WinControl::DialogKey(key, shift);
}

void TplButton::Click() {
  pressed_ = false;
  forms::ButtonControl::Click();
  Invalidate();
}

void TplButton::KeyDown(WORD& key, unsigned shift) {
  forms::WinControl::KeyDown(key, shift);
  if (Enabled() && key == VK_RETURN) {
    key = 0;
    forms::Control::Click();
  }
}

void TplButton::KeyUp(WORD& key, unsigned shift) {
  if (key == VK_RETURN) {
    pressed_ = false;
    Invalidate();
  }
  forms::WinControl::KeyUp(key, shift);
}

void TplButton::MouseDown(int button, unsigned shift, int x, int y) {
  if (button == kLeftButton) {
    if (hasFocus_) SetFocus();
    pressed_ = true;
    Repaint();
  }
  forms::WinControl::MouseDown(button, shift, x, y);
}

void TplButton::MouseUp(int button, unsigned shift, int x, int y) {
  if (button == kLeftButton) {
    pressed_ = false;
    Repaint();
  }
  forms::WinControl::MouseUp(button, shift, x, y);
}

void TplButton::PointerState(unsigned& shift, int& x, int& y) {
  shift = forms::CurrentShiftState();
  POINT p{};
  GetCursorPos(&p);
  if (HandleAllocated()) ScreenToClient(hwnd_, &p);
  x = p.x;
  y = p.y;
}

void TplButton::PointerEntered() {
  forms::WinControl::PointerEntered();
  unsigned shift = 0;
  int x = 0, y = 0;
  PointerState(shift, x, y);
  MouseEnter(shift, x, y);
}

void TplButton::PointerLeft() {
  forms::WinControl::PointerLeft();
  unsigned shift = 0;
  int x = 0, y = 0;
  PointerState(shift, x, y);
  MouseLeave(shift, x, y);
}

void TplButton::MouseEnter(unsigned shift, int x, int y) {
  if (onMouseEnter) onMouseEnter(*this, shift, x, y);
  if (HandleAllocated() && GetCapture() == hwnd_) Repaint();
}

void TplButton::MouseLeave(unsigned shift, int x, int y) {
  if (onMouseLeave) onMouseLeave(*this, shift, x, y);
  pressed_ = false;
  Repaint();
}

void TplButton::DoEnter() {
  if (!hasFocus_) return;
  forms::WinControl::DoEnter();
  Invalidate();
}

void TplButton::DoExit() {
  if (!hasFocus_) return;
  forms::WinControl::DoExit();
  Invalidate();
}

void TplButton::EnabledChanged() {
  forms::WinControl::EnabledChanged();
  Invalidate();
}

void TplButton::ParentColorChanged() {
  forms::WinControl::ParentColorChanged();
  if (ParentColor()) Invalidate();
}

void TplButton::Resized() {
  forms::WinControl::Resized();
  if (IsRounded(buttonStyle_)) ApplyRegion();
  Repaint();
}

}  // namespace controls
