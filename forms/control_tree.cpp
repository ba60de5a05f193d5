#include "forms/control_tree.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/gdi.h"
#include "base/text_win.h"

namespace forms {

namespace gdi = ear::gdi;
using ear::Narrow;
using ear::Widen;

namespace {
ErrorReporter errorReporter = nullptr;
}  // namespace

void SetErrorReporter(ErrorReporter reporter) { errorReporter = reporter; }

void ReportError(const std::exception& error) {
  if (errorReporter) errorReporter(error);
}

// ---- Control ----

Control::~Control() {
  if (parent_) parent_->RemoveControl(this);
}

void Control::SetParent(WinControl* parent) {
  if (parent == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void Control::Init(WinControl* parent, const ControlArgs& args) {
  name = args.name;
  bounds_ = args.bounds;
  align_ = args.align;
  anchors = args.anchors;
  visible_ = args.visible;
  enabled_ = args.enabled;
  if (args.color) {
    color_ = *args.color;
    parentColor_ = false;
  }
  if (args.font) {
    font_ = *args.font;
    parentFont_ = false;
  }
  if (args.tabOrder >= 0) {
    if (auto* windowed = dynamic_cast<WinControl*>(this)) windowed->SetTabOrder(args.tabOrder);
  }
  onClick = args.onClick;
  SetParent(parent);
}

void Control::Click() {
  Clicking();
  RunClickHandler();
  Clicked();
}

TopLevel* Control::ParentTopLevel() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (auto* top = dynamic_cast<TopLevel*>(const_cast<Control*>(c))) return top;
  }
  return nullptr;
}

TopLevel* Control::TopLevelAbove() const { return parent_ ? parent_->ParentTopLevel() : nullptr; }

void Control::SetBounds(int left, int top, int width, int height) {
  const Bounds b{left, top, width, height};
  if (b.left == bounds_.left && b.top == bounds_.top && b.width == bounds_.width && b.height == bounds_.height) return;
  Invalidate();  // the old place
  bounds_ = b;
  BoundsChanged();
}

void Control::SetAlign(Align align) {
  align_ = align;
  if (parent_) parent_->RealignControls();
}

void Control::SetVisible(bool visible) {
  if (!Store(visible_, visible)) return;
  Control::Invalidate();  // its rectangle on the parent, shown or hidden
}

void Control::SetEnabled(bool enabled) {
  if (!Store(enabled_, enabled)) return;
  Invalidate();
}

void Control::SetFont(const Font& font) {
  parentFont_ = false;
  if (Store(font_, font)) FontChanged();
}

void Control::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void Control::SetColor(Color color) {
  parentColor_ = false;
  if (Store(color_, color)) ColorChanged();
}

void Control::SetParentColor(bool value) {
  if (Store(parentColor_, value) && value) ParentColorChanged();
}

void Control::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  font_ = parent_->GetFont();
  FontChanged();
}

void Control::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  color_ = parent_->GetColor();
  ColorChanged();
}

void Control::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated()) return;
  RECT r{bounds_.left, bounds_.top, bounds_.left + bounds_.width, bounds_.top + bounds_.height};
  InvalidateRect(parent_->Handle(), &r, FALSE);
}

void Control::Repaint() {
  Invalidate();
  if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->Handle());
}

// ---- WinControl ----

WinControl::~WinControl() {
  // The form must not go on pointing at a control that is gone.
  if (TopLevel* top = TopLevelAbove(); top && top->ActiveControl() == this) {
    top->NoteFocus(nullptr);
  }
  for (Control* child : std::vector<Control*>(controls_)) child->parent_ = nullptr;
  controls_.clear();
  DestroyHandle();
}

void WinControl::InsertControl(Control* child) {
  child->parent_ = this;
  controls_.push_back(child);
  if (child->parentFont_) child->font_ = font_;
  if (child->parentColor_) child->color_ = color_;
  if (auto* w = dynamic_cast<WinControl*>(child)) {
    if (w->tabOrder_ < 0) {
      int order = 0;
      for (Control* c : controls_) {
        if (c != child && c->IsWindowed()) ++order;
      }
      w->tabOrder_ = order;
    }
    if (hwnd_) w->Handle();
  }
  if (child->align_ != Align::None) RealignControls();
  child->Invalidate();
}

void WinControl::RemoveControl(Control* child) {
  if (pressedGraphic_ == child) pressedGraphic_ = nullptr;
  child->Invalidate();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), child), controls_.end());
  child->parent_ = nullptr;
}

void WinControl::RealignControls() {
  std::vector<AlignItem> items;
  items.reserve(controls_.size());
  for (const Control* c : controls_) items.push_back({c->align_, c->Height(), c->visible_});
  const std::vector<std::optional<Bounds>> placed = AlignedBounds(items, bounds_.width, bounds_.height);
  // Top-aligned children first, then the client-aligned ones, as the rule places them.
  for (Align pass : {Align::Top, Align::Client}) {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
      if (items[i].align == pass) controls_[i]->SetBounds(*placed[i]);
    }
  }
}

std::vector<WinControl*> WinControl::TabList() const {
  std::vector<WinControl*> windowed;
  std::vector<int> orders;
  for (Control* c : controls_) {
    if (auto* w = dynamic_cast<WinControl*>(c)) {
      windowed.push_back(w);
      orders.push_back(w->tabOrder_);
    }
  }
  std::vector<WinControl*> list;
  list.reserve(windowed.size());
  for (std::size_t i : TabSequence(orders)) list.push_back(windowed[i]);
  return list;
}

void WinControl::SetTabStop(bool value) {
  tabStop_ = value;
  if (!hwnd_) return;
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void WinControl::SetTabOrder(int order) {
  if (!parent_) {
    tabOrder_ = order;
    return;
  }
  // Keep the sibling orders a permutation: the others close up around the new place.
  std::vector<WinControl*> siblings;
  std::vector<int> orders;
  std::size_t self = 0;
  for (Control* c : parent_->controls_) {
    if (auto* w = dynamic_cast<WinControl*>(c)) {
      if (w == this) self = siblings.size();
      siblings.push_back(w);
      orders.push_back(w->tabOrder_);
    }
  }
  orders = MoveInTabOrder(orders, self, order);
  for (std::size_t i = 0; i < siblings.size(); ++i) siblings[i]->tabOrder_ = orders[i];
}

bool WinControl::CanFocus() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

void WinControl::SetFocus() {
  if (TopLevel* top = TopLevelAbove()) {
    top->SetActiveControl(this);
  } else if (Handle()) {
    ::SetFocus(hwnd_);
  }
}

bool WinControl::Focused() const { return hwnd_ && GetFocus() == hwnd_; }

std::string WinControl::Text() const {
  if (hwnd_ && standardProc_) {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd_, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(std::max(got, 0)));
    return Narrow(buffer);
  }
  return text_;
}

void WinControl::SetText(const std::string& text) {
  text_ = text;
  if (hwnd_) SetWindowTextW(hwnd_, Widen(text).c_str());
  Invalidate();
}

void WinControl::SetBounds(int left, int top, int width, int height) {
  const bool resized = width != bounds_.width || height != bounds_.height;
  const Bounds old = bounds_;
  bounds_ = Bounds{left, top, width, height};
  if (resized) AnchorChildren(old.width, old.height);
  if (hwnd_) {
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (resized) {
    Resized();
  }
}

void WinControl::AnchorChildren(int oldWidth, int oldHeight) {
  const int dw = bounds_.width - oldWidth, dh = bounds_.height - oldHeight;
  for (Control* c : controls_) {
    if (c->align_ == Align::None) c->SetBounds(Anchored(c->bounds_, c->anchors, dw, dh));
  }
}

void WinControl::SetVisible(bool visible) {
  if (!Store(visible_, visible)) return;
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  if (parent_ && align_ != Align::None) parent_->RealignControls();
}

void WinControl::SetEnabled(bool enabled) {
  if (!Store(enabled_, enabled)) return;
  if (hwnd_) {
    EnableWindow(hwnd_, enabled);
  } else {
    EnabledChanged();
  }
}

void WinControl::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void WinControl::Repaint() {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

void WinControl::FontChanged() {
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
  for (Control* child : controls_) child->ParentFontChanged();
  Invalidate();
}

void WinControl::ColorChanged() {
  for (Control* child : controls_) child->ParentColorChanged();
  Invalidate();
}

bool WinControl::DialogKey(WORD key, unsigned shift) {
  for (Control* c : std::vector<Control*>(controls_)) {
    if (auto* w = dynamic_cast<WinControl*>(c); w && w->DialogKey(key, shift)) return true;
  }
  return false;
}

void WinControl::Resized() {
  RealignControls();
}

void WinControl::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  if (!GraphicChildCovers(dc)) FillRect(dc, &r, CachedBrush(ColorToRGB(color_)));
  PaintGraphicChildren(dc);
}

bool WinControl::GraphicChildCovers(HDC dc) const {
  RECT clip;
  if (GetClipBox(dc, &clip) == ERROR) return false;
  for (const Control* c : controls_) {
    if (c->IsWindowed() || !c->visible_) continue;
    RECT own = clip;
    OffsetRect(&own, -c->bounds_.left, -c->bounds_.top);
    if (c->PaintsOpaquely(own)) return true;
  }
  return false;
}

bool WinControl::OneGraphicChildAlone(const RECT& update) const {
  const Control* alone = nullptr;
  for (const Control* c : controls_) {
    if (c->IsWindowed() || !c->visible_) continue;
    const RECT own{c->bounds_.left, c->bounds_.top, c->bounds_.left + c->bounds_.width,
                   c->bounds_.top + c->bounds_.height};
    RECT common;
    if (!IntersectRect(&common, &own, &update)) continue;
    if (alone != nullptr) return false;
    alone = c;
  }
  if (alone == nullptr) return false;
  RECT inChild = update;
  OffsetRect(&inChild, -alone->bounds_.left, -alone->bounds_.top);
  return alone->PaintsOpaquely(inChild);
}

void WinControl::PaintGraphicChildren(HDC dc) {
  for (Control* c : controls_) {
    if (c->IsWindowed() || !c->visible_) continue;
    const RECT own{c->bounds_.left, c->bounds_.top, c->bounds_.left + c->bounds_.width,
                   c->bounds_.top + c->bounds_.height};
    if (!RectVisible(dc, &own)) continue;  // outside the part being painted
    gdi::SavedDC saved(dc);
    POINT origin;
    OffsetViewportOrgEx(dc, c->bounds_.left, c->bounds_.top, &origin);
    IntersectClipRect(dc, 0, 0, c->bounds_.width, c->bounds_.height);
    c->Paint(dc);
  }
}

}  // namespace forms
