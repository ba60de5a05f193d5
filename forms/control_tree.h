#pragma once
// The control tree of our small form framework: graphic controls painted by their
// parent, windowed controls that own an HWND and route messages to virtual handlers.
#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/colors_fonts.h"
#include "forms/control_rules.h"
#include "forms/shift_state.h"

namespace forms {

class WinControl;

// The focus hook: the top of a control tree (a form) keeps which of its controls has the
// input focus and shows itself; the controls and the message loop reach it through this,
// without knowing what kind of window it is.
class TopLevel {
 public:
  virtual WinControl* ActiveControl() const = 0;
  // Moves the focus to the control once the window is shown.
  virtual void SetActiveControl(WinControl* control) = 0;
  // The focus has moved to the control (null: the control is gone).
  virtual void NoteFocus(WinControl* control) = 0;
  // Moves the focus to the next (or previous) tab stop.
  virtual void SelectNext(bool forward) = 0;
  virtual void ShowForm() = 0;

 protected:
  ~TopLevel() = default;
};

// The error reporter: where an error that escaped a handler goes (the application object
// sets its error box); the program goes on.
using ErrorReporter = void (*)(const std::exception& error);
void SetErrorReporter(ErrorReporter reporter);
void ReportError(const std::exception& error);

// What every control of a layout row shares. Each control kind takes this first and its
// own Args second; the control tree applies it in one place (Control::Init).
struct ControlArgs {
  std::string name;
  Bounds bounds;
  Align align = Align::None;
  Anchors anchors = akLeft | akTop;
  std::optional<Font> font;    // none: the parent's
  std::optional<Color> color;  // none: the kind's own default
  bool visible = true;
  bool enabled = true;
  int tabOrder = -1;  // windowed controls only; -1: after the siblings created before
  std::function<void()> onClick;
};

// WM_COMMAND of a system-class child, handed back to the child itself.
constexpr UINT CN_COMMAND = WM_APP + 0x111;

// Shift state of the keyboard and mouse now (GetKeyboardState).
unsigned CurrentShiftState();

class Control {
 public:
  Control() = default;
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  std::string name;
  Anchors anchors = akLeft | akTop;

  WinControl* Parent() const { return parent_; }
  virtual void SetParent(WinControl* parent);
  // The top of the tree the control sits in (its form), or null.
  TopLevel* ParentTopLevel() const;
  // The top of the tree above the control, never the control itself, or null.
  TopLevel* TopLevelAbove() const;

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  Bounds GetBounds() const { return bounds_; }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetBounds(const Bounds& b) { SetBounds(b.left, b.top, b.width, b.height); }
  void SetLeft(int v) { SetBounds(v, bounds_.top, bounds_.width, bounds_.height); }
  void SetTop(int v) { SetBounds(bounds_.left, v, bounds_.width, bounds_.height); }
  Align GetAlign() const { return align_; }
  void SetAlign(Align align);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  const Font& GetFont() const { return font_; }
  void SetFont(const Font& font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  Color GetColor() const { return color_; }
  void SetColor(Color color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);

  // Request a repaint; Repaint paints before it returns.
  virtual void Invalidate();
  virtual void Repaint();

  // The click handler.
  std::function<void()> onClick;
  // A click, the one there is, whoever gives it: the mouse (windowed controls on their own
  // clicks, graphic controls when their parent is clicked inside their rectangle) and a
  // dialog key (Enter on the focused button, Escape on a cancel button). The kind's own
  // part comes first (a button hands its modal result to its form), then onClick.
  void Click();
  // onClick alone, none of the click's other steps: what Enter runs where the key rules
  // say so (Enter on a button that no dialog key took, Enter in an edit whose layout row
  // names a button: Application::IsDialogKey).
  void RunClickHandler() const {
    if (onClick) onClick();
  }

  // Graphic controls draw here; the origin is the control's top-left corner.
  virtual void Paint(HDC /*dc*/) {}
  // Whether Paint covers every pixel of r (in its own coordinates) with opaque colour.
  virtual bool PaintsOpaquely(const RECT& /*r*/) const { return false; }
  virtual bool IsWindowed() const { return false; }

 protected:
  // The setters' common step: false for an unchanged value, else the value is stored.
  template <typename T>
  static bool Store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
  }
  // Applies a layout row's common part, then joins the parent; the last step of every
  // kind's constructor, after the kind's own fields are set.
  void Init(WinControl* parent, const ControlArgs& args);
  virtual void FontChanged() { Invalidate(); }
  virtual void ColorChanged() { Invalidate(); }
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();
  virtual void BoundsChanged() { Invalidate(); }
  // The kind's part of a click: before onClick, and after it.
  virtual void Clicking() {}
  virtual void Clicked() {}

  WinControl* parent_ = nullptr;  // not owned
  Bounds bounds_;
  Align align_ = Align::None;
  bool visible_ = true;
  bool enabled_ = true;
  Font font_;
  bool parentFont_ = true;
  Color color_ = clBtnFace;
  bool parentColor_ = false;

  friend class WinControl;
};

class WinControl : public Control {
 public:
  WinControl() = default;
  ~WinControl() override;

  HWND Handle();  // created on demand, parents first
  bool HandleAllocated() const { return hwnd_ != nullptr; }
  static WinControl* FromHandle(HWND hwnd);

  // Children in creation (z) order; not owned.
  const std::vector<Control*>& Controls() const { return controls_; }

  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order);
  bool CanFocus() const;
  virtual void SetFocus();
  bool Focused() const;

  std::string Text() const;
  void SetText(const std::string& text);

  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void Invalidate() override;
  void Repaint() override;
  bool IsWindowed() const override { return true; }
  RECT ClientRect() const { return RECT{0, 0, bounds_.width, bounds_.height}; }

  // Message entry; overrides handle what they need and pass the rest to the base.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  // What the window would do without our handling (DefWindowProc or the standard class).
  LRESULT DefaultHandler(UINT msg, WPARAM wp, LPARAM lp);

  // The dialog-key step: Enter and Escape are offered depth first in child order.
  virtual bool DialogKey(WORD key, unsigned shift);
  // What Enter does while this control has the focus, as its layout row says, when no dialog
  // key took it: the focus moves to this button and its click handler runs (a button names
  // itself). Null: nothing.
  WinControl* EnterClicks() const { return enterClicks_; }

  // The handlers of the control kinds; the window procedure calls them.
  virtual void KeyUp(WORD& /*key*/, unsigned /*shift*/) {}
  virtual void MouseDown(int /*button*/, unsigned /*shift*/, int /*x*/, int /*y*/) {}
  virtual void MouseUp(int /*button*/, unsigned /*shift*/, int /*x*/, int /*y*/) {}
  // The pointer came onto or left the window; x and y are where it is now.
  virtual void MouseEnter(unsigned /*shift*/, int /*x*/, int /*y*/) {}
  virtual void MouseLeave(unsigned /*shift*/, int /*x*/, int /*y*/) {}
  virtual void DoEnter() {}
  virtual void DoExit() {}
  virtual void EnabledChanged() { Invalidate(); }
  virtual void Resized();
  // Default paint: fill with the colour, then the graphic children in z order. The fill is
  // left out where an opaque picture covers the whole part being painted (a full-screen
  // backdrop repaints at the cost of one copy).
  virtual void PaintWindow(HDC dc);
  // The graphic children in z order, each with its top-left corner as the origin.
  void PaintGraphicChildren(HDC dc);

  void InsertControl(Control* child);
  void RemoveControl(Control* child);
  // Lays out children aligned to the top or the client area.
  void RealignControls();
  // Windowed children sorted by tab order.
  std::vector<WinControl*> TabList() const;

 protected:
  struct CreateParams {
    const wchar_t* className = L"EarControl";
    DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    bool standardClass = false;  // a system class such as EDIT, subclassed
    HWND owner = nullptr;        // a top-level window's owner
  };
  virtual void FillCreateParams(CreateParams& params);
  virtual void HandleCreated() {}
  void DestroyHandle();
  void FontChanged() override;
  void ColorChanged() override;

  HWND hwnd_ = nullptr;
  std::vector<Control*> controls_;
  bool tabStop_ = false;
  int tabOrder_ = -1;
  std::string text_;  // the window text (a form's title, a button's or panel's caption)
  // A system class that reports its own clicks (BUTTON) takes none from the mouse.
  bool clicksFromMouse_ = true;
  WinControl* enterClicks_ = nullptr;  // not owned
  // The window was just shown: its next paint replaces nothing on view, so it draws
  // straight to the window, without composing off-screen first.
  bool firstPaint_ = false;

 private:
  static void RegisterClasses();
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // The window procedure's handlers, one a message (or a group of alike ones); each ends
  // with the default handling where the message needs it.
  LRESULT OnPaint(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnEraseBackground(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnNcPaint(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMouseMove(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMouseLeave(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnButtonDown(UINT msg, WPARAM wp, LPARAM lp);
  // The click rule (control_rules.h) on the left button's release.
  LRESULT OnButtonUp(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnCaptureChanged(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnKeyUp(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnSetFocus(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnKillFocus(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnEnable(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnSize(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnCommand(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnControlColor(UINT msg, WPARAM wp, LPARAM lp);
  // The update rectangle painted into the shared off-screen buffer, then copied in one go.
  void PaintComposed(HDC dc, const RECT& update);
  // Graphic child under the pointer when the left button went down (not owned).
  Control* GraphicChildAt(int x, int y) const;
  // The pointer crossed the window's edge: MouseEnter or MouseLeave with where it is now.
  void PointerCrossed(bool inside);
  void AnchorChildren(int oldWidth, int oldHeight);
  // A visible graphic child paints the DC's whole clip box opaquely.
  bool GraphicChildCovers(HDC dc) const;
  // The update rectangle shows one visible graphic child alone, which paints it opaquely.
  bool OneGraphicChildAlone(const RECT& update) const;
  // Puts the new window at its creation-order place among its siblings' windows.
  void StackAmongSiblings();
  WNDPROC standardProc_ = nullptr;
  Control* pressedGraphic_ = nullptr;  // not owned
  bool clickPending_ = false;
  bool pointerInside_ = false;
};

}  // namespace forms
