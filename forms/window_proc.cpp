// The window side of the control tree: window classes and handles, the window procedure,
// and the mouse handling that turns presses and releases into clicks.
#include "forms/control_tree.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "base/gdi.h"
#include "base/text_win.h"

namespace forms {

namespace gdi = ear::gdi;
using ear::Widen;

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
    // Creating the parent's window creates its children's too, this one among them.
    if (hwnd_) return hwnd_;
  } else {
    parentWindow = params.owner;
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
  if (params.style & WS_CHILD) StackAmongSiblings();
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
  for (Control* child : controls_) {
    if (auto* w = dynamic_cast<WinControl*>(child)) w->Handle();
  }
  HandleCreated();
  return hwnd_;
}

void WinControl::StackAmongSiblings() {
  // The system puts a new child window below its siblings; ours stack in creation order,
  // later on top, so the window goes just under the nearest later sibling that has one.
  HWND above = HWND_TOP;
  const std::vector<Control*>& siblings = parent_->controls_;
  auto it = std::find(siblings.begin(), siblings.end(), this);
  if (it != siblings.end()) {
    for (++it; it != siblings.end(); ++it) {
      auto* w = dynamic_cast<WinControl*>(*it);
      if (w && w->hwnd_) {
        above = w->hwnd_;
        break;
      }
    }
  }
  SetWindowPos(hwnd_, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
    ReportError(error);
    return 0;
  }
}

LRESULT WinControl::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) {
  if (standardProc_) return CallWindowProcW(standardProc_, hwnd_, msg, wp, lp);
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

Control* WinControl::GraphicChildAt(int x, int y) const {
  std::vector<HitItem> items;
  items.reserve(controls_.size());
  for (const Control* c : controls_) items.push_back({c->bounds_, !c->IsWindowed(), c->visible_, c->enabled_});
  const std::optional<std::size_t> hit = GraphicAt(items, x, y);
  return hit ? controls_[*hit] : nullptr;
}

void WinControl::PointerCrossed(bool inside) {
  pointerInside_ = inside;
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(hwnd_, &p);
  if (inside) MouseEnter(CurrentShiftState(), p.x, p.y);
  else MouseLeave(CurrentShiftState(), p.x, p.y);
}

namespace {
// The mouse button of a press or release message: 0 left, 1 right, 2 middle.
int ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return 1;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return 2;
    default:
      return 0;
  }
}
}  // namespace

LRESULT WinControl::OnMouseMove(UINT msg, WPARAM wp, LPARAM lp) {
  // A captured control gets the moves outside too: those leave it, and coming back enters.
  RECT r = ClientRect();
  const bool inside = PtInRect(&r, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) != 0;
  if (inside && !pointerInside_) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
    TrackMouseEvent(&tme);
    PointerCrossed(true);
  } else if (!inside && pointerInside_) {
    PointerCrossed(false);
  }
  return DefaultHandler(msg, wp, lp);
}

LRESULT WinControl::OnMouseLeave(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/) {
  if (pointerInside_) PointerCrossed(false);  // else it already left while captured
  return 0;
}

LRESULT WinControl::OnButtonDown(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp), button = ButtonOf(msg);
  const unsigned shift = CurrentShiftState();
  if (button == 0) {
    if (!standardProc_) SetCapture(hwnd_);  // a system class captures for itself
    clickPending_ = clicksFromMouse_;
    pressedGraphic_ = GraphicChildAt(x, y);
  }
  MouseDown(button, shift, x, y);
  return DefaultHandler(msg, wp, lp);
}

LRESULT WinControl::OnButtonUp(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp), button = ButtonOf(msg);
  const unsigned shift = CurrentShiftState();
  if (button == 0) {
    RECT r = ClientRect();
    Control* graphic = std::exchange(pressedGraphic_, nullptr);
    const auto place = [this](const Control* c) -> std::optional<std::size_t> {
      if (!c) return std::nullopt;
      return static_cast<std::size_t>(std::find(controls_.begin(), controls_.end(), c) - controls_.begin());
    };
    const ClickTarget target = ClickOnRelease(
        {std::exchange(clickPending_, false), PtInRect(&r, POINT{x, y}) != 0, place(graphic), place(GraphicChildAt(x, y))});
    if (!standardProc_ && GetCapture() == hwnd_) ReleaseCapture();
    if (target == ClickTarget::Graphic) graphic->Click();
    if (target == ClickTarget::Window) Click();
  }
  MouseUp(button, shift, x, y);
  return DefaultHandler(msg, wp, lp);
}

LRESULT WinControl::OnCaptureChanged(UINT msg, WPARAM wp, LPARAM lp) {
  if (reinterpret_cast<HWND>(lp) != hwnd_) clickPending_ = false;  // the press no longer counts
  return DefaultHandler(msg, wp, lp);
}

namespace {
// One off-screen buffer for every composed paint, at least the size of the screen: its
// memory is paid for once, not again at each screen's first paint. A paint that runs inside
// another gets a buffer of its own.
class PaintBuffer {
 public:
  PaintBuffer(HDC dc, int width, int height) {
    if (busy_) {
      own_.Reset(CreateCompatibleBitmap(dc, width, height));
      bitmap_ = own_.Get();
      return;
    }
    if (!shared_ || width > sharedWidth_ || height > sharedHeight_) {
      sharedWidth_ = std::max({width, sharedWidth_, GetSystemMetrics(SM_CXSCREEN)});
      sharedHeight_ = std::max({height, sharedHeight_, GetSystemMetrics(SM_CYSCREEN)});
      shared_.Reset(CreateCompatibleBitmap(dc, sharedWidth_, sharedHeight_));
    }
    busy_ = lent_ = true;
    bitmap_ = shared_.Get();
  }
  ~PaintBuffer() {
    if (lent_) busy_ = false;
  }
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;
  HBITMAP Get() const { return bitmap_; }

 private:
  static inline gdi::Bitmap shared_;
  static inline int sharedWidth_ = 0, sharedHeight_ = 0;
  static inline bool busy_ = false;
  gdi::Bitmap own_;
  HBITMAP bitmap_ = nullptr;
  bool lent_ = false;
};
}  // namespace

LRESULT WinControl::OnPaint(UINT msg, WPARAM wp, LPARAM lp) {
  if (standardProc_) return DefaultHandler(msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  const RECT& u = ps.rcPaint;
  const bool firstPaint = std::exchange(firstPaint_, false);
  if (u.right > u.left && u.bottom > u.top) {
    // A form whose update rectangle is one opaque picture alone (the backdrop) needs no
    // composing: the picture is copied straight to the window, the one copy it takes. Nor
    // does the first paint of a window just shown: there is nothing on view to flicker.
    if (firstPaint || (dynamic_cast<const TopLevel*>(this) != nullptr && OneGraphicChildAlone(u))) {
      PaintWindow(dc);
    } else {
      PaintComposed(dc, u);
    }
  }
  EndPaint(hwnd_, &ps);
  return 0;
}

void WinControl::PaintComposed(HDC dc, const RECT& update) {
  // Only the update rectangle, composed off-screen and copied in one go: no flicker.
  const int w = update.right - update.left, h = update.bottom - update.top;
  const PaintBuffer pixels(dc, w, h);
  gdi::MemoryDC buffer(dc);
  gdi::Select selected(buffer.Get(), pixels.Get());
  SetViewportOrgEx(buffer.Get(), -update.left, -update.top, nullptr);
  PaintWindow(buffer.Get());
  SetViewportOrgEx(buffer.Get(), 0, 0, nullptr);
  BitBlt(dc, update.left, update.top, w, h, buffer.Get(), 0, 0, SRCCOPY);
}

LRESULT WinControl::OnEraseBackground(UINT msg, WPARAM wp, LPARAM lp) {
  if (standardProc_) return DefaultHandler(msg, wp, lp);
  return 1;  // the paint covers every pixel
}

LRESULT WinControl::OnNcPaint(UINT msg, WPARAM wp, LPARAM lp) {
  // A window whose client area is all of it has no frame to draw: the system's frame
  // painting would only cost time (every child window of a screen gets it on show).
  RECT window, client;
  if (!standardProc_ && GetWindowRect(hwnd_, &window) && GetClientRect(hwnd_, &client) &&
      window.right - window.left == client.right && window.bottom - window.top == client.bottom) {
    return 0;
  }
  return DefaultHandler(msg, wp, lp);
}

LRESULT WinControl::OnKeyUp(UINT msg, WPARAM wp, LPARAM lp) {
  WORD key = static_cast<WORD>(wp);
  KeyUp(key, CurrentShiftState());
  if (key == 0) return 0;  // the handler took it
  return DefaultHandler(msg, key, lp);
}

LRESULT WinControl::OnSetFocus(UINT msg, WPARAM wp, LPARAM lp) {
  if (TopLevel* top = TopLevelAbove()) top->NoteFocus(this);
  const LRESULT r = DefaultHandler(msg, wp, lp);
  DoEnter();
  return r;
}

LRESULT WinControl::OnKillFocus(UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT r = DefaultHandler(msg, wp, lp);
  DoExit();
  return r;
}

LRESULT WinControl::OnEnable(UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT r = DefaultHandler(msg, wp, lp);
  EnabledChanged();
  return r;
}

LRESULT WinControl::OnSize(UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT r = DefaultHandler(msg, wp, lp);
  RECT wr;
  GetWindowRect(hwnd_, &wr);
  const int oldWidth = bounds_.width, oldHeight = bounds_.height;
  bounds_.width = wr.right - wr.left;
  bounds_.height = wr.bottom - wr.top;
  if (bounds_.width != oldWidth || bounds_.height != oldHeight) AnchorChildren(oldWidth, oldHeight);
  Resized();
  return r;
}

LRESULT WinControl::OnCommand(UINT msg, WPARAM wp, LPARAM lp) {
  // Notifications of system-class children go back to the child.
  if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lp)); child && child != this) {
    return child->WndProc(CN_COMMAND, wp, lp);
  }
  return DefaultHandler(msg, wp, lp);
}

LRESULT WinControl::OnControlColor(UINT msg, WPARAM wp, LPARAM lp) {
  // A system-class child (an edit) in its own font colour and colour.
  if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lp))) {
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, ColorToRGB(child->font_.color));
    SetBkColor(dc, ColorToRGB(child->color_));
    return reinterpret_cast<LRESULT>(CachedBrush(ColorToRGB(child->color_)));
  }
  return DefaultHandler(msg, wp, lp);
}

LRESULT WinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: return OnPaint(msg, wp, lp);
    case WM_ERASEBKGND: return OnEraseBackground(msg, wp, lp);
    case WM_NCPAINT: return OnNcPaint(msg, wp, lp);
    case WM_MOUSEMOVE: return OnMouseMove(msg, wp, lp);
    case WM_MOUSELEAVE: return OnMouseLeave(msg, wp, lp);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return OnButtonDown(msg, wp, lp);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return OnButtonUp(msg, wp, lp);
    case WM_CAPTURECHANGED: return OnCaptureChanged(msg, wp, lp);
    case WM_KEYUP:
    case WM_SYSKEYUP: return OnKeyUp(msg, wp, lp);
    case WM_SETFOCUS: return OnSetFocus(msg, wp, lp);
    case WM_KILLFOCUS: return OnKillFocus(msg, wp, lp);
    case WM_ENABLE: return OnEnable(msg, wp, lp);
    case WM_SIZE: return OnSize(msg, wp, lp);
    case WM_COMMAND: return OnCommand(msg, wp, lp);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: return OnControlColor(msg, wp, lp);
    default: return DefaultHandler(msg, wp, lp);
  }
}

}  // namespace forms
