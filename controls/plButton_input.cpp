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

void TplButton::Clicking() {
  pressed_ = false;
  forms::ButtonControl::Clicking();
}

void TplButton::Clicked() { Invalidate(); }

void TplButton::KeyUp(WORD& key, unsigned /*shift*/) {
  if (key == VK_RETURN) {
    pressed_ = false;
    Invalidate();
  }
}

void TplButton::SetPressed(bool value) {
  pressed_ = value;
  Repaint();
}

void TplButton::MouseDown(int button, unsigned /*shift*/, int /*x*/, int /*y*/) {
  if (button != kLeftButton) return;
  if (hasFocus_) SetFocus();
  SetPressed(true);
}

void TplButton::MouseUp(int button, unsigned /*shift*/, int /*x*/, int /*y*/) {
  if (button == kLeftButton) SetPressed(false);
}

void TplButton::MouseEnter(unsigned /*shift*/, int /*x*/, int /*y*/) {
  if (HandleAllocated() && GetCapture() == hwnd_) Repaint();
}

void TplButton::MouseLeave(unsigned /*shift*/, int /*x*/, int /*y*/) { SetPressed(false); }

void TplButton::DoEnter() {
  if (hasFocus_) Invalidate();
}

void TplButton::DoExit() {
  if (hasFocus_) Invalidate();
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
