#include "forms/standard_controls.h"

#include <imm.h>

#include <algorithm>

#include "forms/form.h"
#include "base/gdi.h"
#include "base/text_win.h"

namespace forms {

namespace gdi = ear::gdi;

namespace {

// Captions are CP932 bytes; drawn wide so the machine's ANSI code page never reads them.
void DrawTextBytes(HDC dc, const std::string& text, RECT& r, UINT format) {
  const std::wstring wide = ear::Widen(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, format);
}

UINT DrawTextFormat(TextAlign alignment) {
  // Texts come from the package as they are: "&" is no accelerator mark.
  UINT format = DT_NOPREFIX | DT_EXPANDTABS;
  if (alignment == TextAlign::Center) format |= DT_CENTER;
  if (alignment == TextAlign::Right) format |= DT_RIGHT;
  return format;
}
}  // namespace

// ---- Label ----

Label::Label(WinControl* parent, const ControlArgs& control, const Args& args) {
  caption_ = args.caption;
  alignment = args.alignment;
  transparent = args.transparent;
  autoSize_ = args.autoSize;
  Init(parent, control);
  AdjustSize();
}

void Label::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  AdjustSize();
  Invalidate();
}

void Label::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustSize();
}

void Label::FontChanged() {
  AdjustSize();
  Invalidate();
}

void Label::AdjustSize() {
  if (!autoSize_) return;
  const gdi::WindowDC screen;
  HDC dc = screen.Get();
  RECT r{0, 0, 0, 0};
  {
    gdi::Select font(dc, FontHandle(font_));
    DrawTextBytes(dc, caption_.empty() ? " " : caption_, r, DrawTextFormat(TextAlign::Left) | DT_CALCRECT);
  }
  const int width = caption_.empty() ? 0 : r.right;
  // A right-aligned label grows to the left: its right edge stays.
  const int left = alignment == TextAlign::Right ? bounds_.left + bounds_.width - width : bounds_.left;
  SetBounds(left, bounds_.top, width, r.bottom);
}

void Label::Paint(HDC dc) {
  RECT r{0, 0, bounds_.width, bounds_.height};
  if (!transparent) FillRect(dc, &r, CachedBrush(ColorToRGB(color_)));
  gdi::Select font(dc, FontHandle(font_));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(enabled_ ? font_.color : clBtnShadow));
  DrawTextBytes(dc, caption_, r, DrawTextFormat(alignment));
}

// ---- Panel ----

Panel::Panel(WinControl* parent, const ControlArgs& control, const Args& args) {
  text_ = args.caption;
  bevelOuter = args.bevelOuter;
  Init(parent, control);
}

void Panel::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  FillRect(dc, &r, CachedBrush(ColorToRGB(color_)));
  if (bevelOuter != BevelCut::None) {
    DrawEdge(dc, &r, bevelOuter == BevelCut::Raised ? BDR_RAISEDOUTER : BDR_SUNKENOUTER, BF_RECT);
  }
  if (!text_.empty()) {
    gdi::Select font(dc, FontHandle(font_));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(font_.color));
    DrawTextBytes(dc, text_, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  PaintGraphicChildren(dc);
}

// ---- Bevel ----

Bevel::Bevel(WinControl* parent, const ControlArgs& control) { Init(parent, control); }

void Bevel::Paint(HDC dc) {
  RECT r{0, 0, bounds_.width, bounds_.height};
  DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
}

// ---- Edit ----

Edit::Edit(WinControl* parent, const ControlArgs& control, const Args& args) {
  text_ = args.text;
  maxLength = args.maxLength;
  imeOff_ = args.imeOff;
  enterClicks_ = args.enterClicks;
  tabStop_ = true;
  color_ = clWindow;
  Init(parent, control);
}

void Edit::SetImeOff(bool value) {
  if (value == imeOff_) return;
  imeOff_ = value;
  ApplyIme();
}

void Edit::ApplyIme() {
  if (!hwnd_) return;
  // No input context: the input method cannot be switched on in this edit. IACE_DEFAULT
  // gives the window its default context back.
  ImmAssociateContextEx(hwnd_, nullptr, imeOff_ ? 0 : IACE_DEFAULT);
}

void Edit::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = L"EDIT";
  params.standardClass = true;
  params.style |= ES_AUTOHSCROLL;
  params.exStyle |= WS_EX_CLIENTEDGE;
}

void Edit::HandleCreated() {
  // EM_LIMITTEXT counts UTF-16 units, never more than the bytes: KeepWithinMaxLength counts those.
  if (maxLength > 0) SendMessageW(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
  if (imeOff_) ApplyIme();
  accepted_ = ear::Widen(Text());
}

void Edit::KeepWithinMaxLength() {
  if (maxLength <= 0) return;
  const std::string text = Text();
  if (static_cast<int>(text.size()) <= maxLength) {
    accepted_ = ear::Widen(text);
    return;
  }
  // The caret goes back to where the refused input began.
  DWORD caret = 0;
  SendMessageW(hwnd_, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  const std::size_t length = ear::Widen(text).size();
  const std::size_t added = length - std::min(length, accepted_.size());
  const std::size_t at = std::min<std::size_t>(caret >= added ? caret - added : 0, accepted_.size());
  SetWindowTextW(hwnd_, accepted_.c_str());
  SendMessageW(hwnd_, EM_SETSEL, at, at);
  MessageBeep(MB_OK);
}

LRESULT Edit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == CN_COMMAND) {
    if (HIWORD(wp) == EN_CHANGE) KeepWithinMaxLength();
    return 0;
  }
  return WinControl::WndProc(msg, wp, lp);
}

// ---- Button ----

void ButtonControl::Clicking() {
  if (Form* form = ParentForm(*this)) form->SetModalResult(modalResult_);
}

}  // namespace forms
