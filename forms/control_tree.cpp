#include "forms/control_tree.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "forms/application.h"
#include "forms/form.h"
#include "base/gdi.h"
#include "base/text_win.h"

namespace forms {

namespace gdi = ear::gdi;
using ear::Narrow;
using ear::Widen;

COLORREF ColorToRGB(Color color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

HFONT FontHandle(const Font& font) {
  using Key = std::tuple<std::string, int, bool, BYTE>;
  static std::map<Key, HFONT> cache;  // lives for the whole run
  const Key key{font.name, font.height, font.bold, font.charset};
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  HFONT handle = CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             font.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, Widen(font.name).c_str());
  cache.emplace(key, handle);
  return handle;
}

unsigned CurrentShiftState() {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  auto down = [&](int vk) { return (keys[vk] & 0x80) != 0; };
  unsigned shift = ssNone;
  if (down(VK_SHIFT)) shift |= ssShift;
  if (down(VK_MENU)) shift |= ssAlt;
  if (down(VK_CONTROL)) shift |= ssCtrl;
  if (down(VK_LBUTTON)) shift |= ssLeft;
  if (down(VK_RBUTTON)) shift |= ssRight;
  if (down(VK_MBUTTON)) shift |= ssMiddle;
  return shift;
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
  if (onClick) onClick();
}

Form* Control::ParentForm() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (auto* form = dynamic_cast<Form*>(const_cast<Control*>(c))) return form;
  }
  return nullptr;
}

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
  if (visible_ == visible) return;
  visible_ = visible;
  if (parent_ && parent_->HandleAllocated()) {
    RECT r{bounds_.left, bounds_.top, bounds_.left + bounds_.width, bounds_.top + bounds_.height};
    InvalidateRect(parent_->Handle(), &r, FALSE);
  }
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Invalidate();
}

void Control::SetFont(const Font& font) {
  parentFont_ = false;
  if (font == font_) return;
  font_ = font;
  FontChanged();
}

void Control::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void Control::SetColor(Color color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

void Control::SetParentColor(bool value) {
  if (parentColor_ == value) return;
  parentColor_ = value;
  if (value) ParentColorChanged();
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

namespace {
HINSTANCE Instance() { return GetModuleHandleW(nullptr); }
}  // namespace

void WinControl::RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const wchar_t* name : {L"EarControl", L"EarForm"}) {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &WinControl::StaticWndProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(Instance(), L"MAINICON");
    wc.lpszClassName = name;
    RegisterClassW(&wc);
  }
}

WinControl::~WinControl() {
  // The form must not go on pointing at a control that is gone.
  if (Form* form = ParentForm(); form && form != static_cast<Control*>(this) && form->ActiveControl() == this) {
    form->NoteFocus(nullptr);
  }
  for (Control* child : std::vector<Control*>(controls_)) child->parent_ = nullptr;
  controls_.clear();
  DestroyHandle();
}

WinControl* WinControl::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (proc != &WinControl::StaticWndProc) return nullptr;
  return reinterpret_cast<WinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void WinControl::FillCreateParams(CreateParams& params) {
  if (tabStop_) params.style |= WS_TABSTOP;
}

HWND WinControl::Handle() {
  if (hwnd_) return hwnd_;
  RegisterClasses();
  CreateParams params;
  FillCreateParams(params);
  HWND parentWindow = nullptr;
  if (params.style & WS_CHILD) {
    if (!parent_) return nullptr;
    parentWindow = parent_->Handle();
  } else if (auto* form = dynamic_cast<Form*>(this); form && form->Owner()) {
    parentWindow = form->Owner()->Handle();
  }
  if (visible_ && (params.style & WS_CHILD)) params.style |= WS_VISIBLE;
  if (!enabled_) params.style |= WS_DISABLED;
  hwnd_ = CreateWindowExW(params.exStyle, params.className, Widen(text_).c_str(), params.style, bounds_.left,
                          bounds_.top, bounds_.width, bounds_.height, parentWindow, nullptr, Instance(),
                          params.standardClass ? nullptr : this);
  if (!hwnd_) return nullptr;
  if (params.standardClass) {
    // A system class runs through our procedure too, then through its own.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    standardProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinControl::StaticWndProc)));
  }
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
  for (Control* child : controls_) {
    if (auto* w = dynamic_cast<WinControl*>(child)) w->Handle();
  }
  HandleCreated();
  return hwnd_;
}

void WinControl::DestroyHandle() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  hwnd_ = nullptr;
  SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  DestroyWindow(h);
}

LRESULT CALLBACK WinControl::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* created = static_cast<WinControl*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (created) {
      created->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
  }
  auto* self = reinterpret_cast<WinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    LRESULT r = self->DefaultHandler(msg, wp, lp);
    self->hwnd_ = nullptr;
    return r;
  }
  try {
    return self->WndProc(msg, wp, lp);
  } catch (const std::exception& error) {
    App().ShowException(error);
    return 0;
  }
}

LRESULT WinControl::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) {
  if (standardProc_) return CallWindowProcW(standardProc_, hwnd_, msg, wp, lp);
  return DefWindowProcW(hwnd_, msg, wp, lp);
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
  int top = 0;
  for (Control* c : controls_) {
    if (c->align_ == Align::Top) {
      c->SetBounds(0, top, bounds_.width, c->Height());
      if (c->visible_) top += c->Height();
    }
  }
  for (Control* c : controls_) {
    if (c->align_ == Align::Client) c->SetBounds(0, top, bounds_.width, std::max(0, bounds_.height - top));
  }
}

std::vector<WinControl*> WinControl::TabList() const {
  std::vector<WinControl*> list;
  for (Control* c : controls_) {
    if (auto* w = dynamic_cast<WinControl*>(c)) list.push_back(w);
  }
  std::stable_sort(list.begin(), list.end(),
                   [](const WinControl* a, const WinControl* b) { return a->tabOrder_ < b->tabOrder_; });
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
  // Keep the sibling orders a permutation: shift the others around the new place.
  std::vector<WinControl*> list = parent_->TabList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
  for (int i = 0; i < static_cast<int>(list.size()); ++i) list[i]->tabOrder_ = i;
}

bool WinControl::CanFocus() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
    if (dynamic_cast<const Form*>(c)) break;
  }
  return true;
}

void WinControl::SetFocus() {
  Form* form = ParentForm();
  if (form && form != this) {
    form->SetActiveControl(this);
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
    if (c->align_ != Align::None) continue;
    Bounds b = c->bounds_;
    if (c->anchors & akRight) {
      if (c->anchors & akLeft) b.width += dw;
      else b.left += dw;
    }
    if (c->anchors & akBottom) {
      if (c->anchors & akTop) b.height += dh;
      else b.top += dh;
    }
    c->SetBounds(b);
  }
}

Control* WinControl::GraphicChildAt(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    const Control* c = *it;
    if (c->IsWindowed() || !c->visible_ || !c->enabled_) continue;
    const Bounds& b = c->bounds_;
    if (x >= b.left && x < b.left + b.width && y >= b.top && y < b.top + b.height) return *it;
  }
  return nullptr;
}

void WinControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  if (parent_ && align_ != Align::None) parent_->RealignControls();
}

void WinControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
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

void WinControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  font_ = parent_->GetFont();
  FontChanged();
}

void WinControl::ColorChanged() {
  for (Control* child : controls_) child->ParentColorChanged();
  Invalidate();
}

void WinControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  color_ = parent_->GetColor();
  ColorChanged();
}

bool WinControl::DialogKey(WORD key, unsigned shift) {
  for (Control* c : std::vector<Control*>(controls_)) {
    if (auto* w = dynamic_cast<WinControl*>(c); w && w->DialogKey(key, shift)) return true;
  }
  return false;
}

void WinControl::KeyDown(WORD& key, unsigned shift) {
  if (onKeyDown) onKeyDown(*this, key, shift);
}

void WinControl::KeyUp(WORD& key, unsigned shift) {
  if (onKeyUp) onKeyUp(*this, key, shift);
}

void WinControl::KeyPress(char& key) {
  if (onKeyPress) onKeyPress(*this, key);
}

void WinControl::MouseDown(int button, unsigned shift, int x, int y) {
  if (onMouseDown) onMouseDown(*this, button, shift, x, y);
}

void WinControl::MouseUp(int button, unsigned shift, int x, int y) {
  if (onMouseUp) onMouseUp(*this, button, shift, x, y);
}

void WinControl::MouseMove(unsigned shift, int x, int y) {
  if (onMouseMove) onMouseMove(*this, shift, x, y);
}

void WinControl::DoEnter() {
  if (onEnter) onEnter(*this);
}

void WinControl::DoExit() {
  if (onExit) onExit(*this);
}

void WinControl::Resized() {
  RealignControls();
  if (onResize) onResize(*this);
}

void WinControl::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  FillRect(dc, &r, CachedBrush(ColorToRGB(color_)));
  PaintGraphicChildren(dc);
}

void WinControl::PaintGraphicChildren(HDC dc) {
  for (Control* c : controls_) {
    if (c->IsWindowed() || !c->visible_) continue;
    gdi::SavedDC saved(dc);
    POINT origin;
    OffsetViewportOrgEx(dc, c->bounds_.left, c->bounds_.top, &origin);
    IntersectClipRect(dc, 0, 0, c->bounds_.width, c->bounds_.height);
    c->Paint(dc);
  }
}

LRESULT WinControl::HandleMouse(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  const unsigned shift = CurrentShiftState();
  switch (msg) {
    case WM_MOUSEMOVE: {
      // A captured control gets the moves outside too: those leave it, and coming back enters.
      RECT r = ClientRect();
      const bool inside = PtInRect(&r, POINT{x, y}) != 0;
      if (inside && !pointerInside_) {
        pointerInside_ = true;
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&tme);
        PointerEntered();
      } else if (!inside && pointerInside_) {
        pointerInside_ = false;
        PointerLeft();
      }
      MouseMove(shift, x, y);
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!standardProc_) SetCapture(hwnd_);  // a system class captures for itself
      clickPending_ = clicksFromMouse_;
      pressedGraphic_ = GraphicChildAt(x, y);
      MouseDown(0, shift, x, y);
      if (msg == WM_LBUTTONDBLCLK && onDblClick) onDblClick(*this);
      break;
    case WM_RBUTTONDOWN:
      MouseDown(1, shift, x, y);
      break;
    case WM_MBUTTONDOWN:
      MouseDown(2, shift, x, y);
      break;
    case WM_LBUTTONUP: {
      // Click rule: a press on the control and the release inside it.
      RECT r = ClientRect();
      const bool click = clickPending_ && PtInRect(&r, POINT{x, y});
      Control* graphic = std::exchange(pressedGraphic_, nullptr);
      clickPending_ = false;
      if (!standardProc_ && GetCapture() == hwnd_) ReleaseCapture();
      // A graphic control takes the click pressed and released inside its rectangle.
      if (click && graphic && GraphicChildAt(x, y) == graphic) {
        graphic->Click();
      } else if (click && !graphic) {
        Click();
      }
      MouseUp(0, shift, x, y);
      break;
    }
    case WM_RBUTTONUP:
      MouseUp(1, shift, x, y);
      break;
    case WM_MBUTTONUP:
      MouseUp(2, shift, x, y);
      break;
  }
  return DefaultHandler(msg, wp, lp);
}

LRESULT WinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      if (standardProc_) return DefaultHandler(msg, wp, lp);
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      // Composed off-screen, copied in one go: no flicker.
      RECT r = ClientRect();
      gdi::MemoryDC buffer(dc);
      gdi::Bitmap bitmap(CreateCompatibleBitmap(dc, std::max<int>(r.right, 1), std::max<int>(r.bottom, 1)));
      {
        gdi::Select selected(buffer.Get(), bitmap.Get());
        PaintWindow(buffer.Get());
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, buffer.Get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
      }
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      if (standardProc_) break;
      return 1;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return HandleMouse(msg, wp, lp);
    case WM_MOUSELEAVE:
      if (!pointerInside_) return 0;  // already left while captured
      pointerInside_ = false;
      PointerLeft();
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd_) clickPending_ = false;
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = static_cast<WORD>(wp);
      KeyDown(key, CurrentShiftState());
      if (key == 0) return 0;
      return DefaultHandler(msg, key, lp);
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(wp);
      KeyUp(key, CurrentShiftState());
      if (key == 0) return 0;
      return DefaultHandler(msg, key, lp);
    }
    case WM_CHAR: {
      if (wp < 0x80) {
        char c = static_cast<char>(wp);
        KeyPress(c);
        if (c == 0) return 0;
        return DefaultHandler(msg, static_cast<unsigned char>(c), lp);
      }
      break;
    }
    case WM_SETFOCUS: {
      if (Form* form = ParentForm(); form && form != this) form->NoteFocus(this);
      LRESULT r = DefaultHandler(msg, wp, lp);
      DoEnter();
      return r;
    }
    case WM_KILLFOCUS: {
      LRESULT r = DefaultHandler(msg, wp, lp);
      DoExit();
      return r;
    }
    case WM_ENABLE: {
      LRESULT r = DefaultHandler(msg, wp, lp);
      EnabledChanged();
      return r;
    }
    case WM_SIZE: {
      LRESULT r = DefaultHandler(msg, wp, lp);
      RECT wr;
      GetWindowRect(hwnd_, &wr);
      const int oldWidth = bounds_.width, oldHeight = bounds_.height;
      bounds_.width = wr.right - wr.left;
      bounds_.height = wr.bottom - wr.top;
      if (bounds_.width != oldWidth || bounds_.height != oldHeight) AnchorChildren(oldWidth, oldHeight);
      Resized();
      return r;
    }
    case WM_COMMAND:
      // Notifications of system-class children go back to the child.
      if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lp)); child && child != this) {
        return child->WndProc(CN_COMMAND, wp, lp);
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lp))) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, ColorToRGB(child->font_.color));
        SetBkColor(dc, ColorToRGB(child->color_));
        return reinterpret_cast<LRESULT>(CachedBrush(ColorToRGB(child->color_)));
      }
      break;
  }
  return DefaultHandler(msg, wp, lp);
}

}  // namespace forms
