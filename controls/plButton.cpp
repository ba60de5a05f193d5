#include "controls/plButton.h"

#include <cstring>
#include <string_view>

#include "base/gdi.h"
#include "forms/application.h"
#include "forms/form.h"
#include "base/text_win.h"

namespace controls {

namespace {

Rgb Resolve(forms::Color color) {
  return ResolveColor(color, [](int index) { return static_cast<Rgb>(GetSysColor(index)); });
}

int TextHeight(HDC dc, const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cy;
}

int TextWidth(HDC dc, const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void TextOutBytes(HDC dc, int x, int y, const std::string& text) {
  TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

// Captions are code page 932 whatever the machine's ANSI code page: a double-byte
// character must count, and go back to bytes, as one character.
constexpr unsigned kCaptionCodePage = 932;

}  // namespace

// ---- TplBtnCaption

void TplBtnCaption::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  owner_.RepaintNow();
}

void TplBtnCaption::SetAlignment(TplBtnAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  owner_.RepaintNow();
}

void TplBtnCaption::SetLeft(int left) {
  if (left == left_) return;
  left_ = left;
  owner_.RepaintNow();
}

void TplBtnCaption::SetRight(int right) {
  if (right == right_) return;
  right_ = right;
  owner_.RepaintNow();
}

void TplBtnCaption::Assign(const TplBtnCaption& source) {
  alignment_ = source.alignment_;
  caption_ = source.caption_;
  left_ = source.left_;
  right_ = source.right_;
  owner_.RepaintNow();
}

// ---- TplBtnImage

void TplBtnImage::SetPicture(const forms::Picture& picture) {
  if (&picture == &picture_) return;
  picture_.Assign(picture);
  owner_.RepaintNow();
}

void TplBtnImage::SetLeft(int left) {
  if (left == left_) return;
  left_ = left;
  horzCenter_ = false;
  owner_.RepaintNow();
}

void TplBtnImage::SetTop(int top) {
  if (top == top_) return;
  top_ = top;
  vertCenter_ = false;
  owner_.RepaintNow();
}

void TplBtnImage::SetTransParent(bool value) {
  if (value == transParent_) return;
  transParent_ = value;
  owner_.RepaintNow();
}

void TplBtnImage::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  owner_.RepaintNow();
}

void TplBtnImage::SetVertCenter(bool value) {
  if (value == vertCenter_) return;
  vertCenter_ = value;
  if (value) owner_.RepaintNow();
}

void TplBtnImage::SetHorzCenter(bool value) {
  if (value == horzCenter_) return;
  horzCenter_ = value;
  if (value) owner_.RepaintNow();
}

void TplBtnImage::Assign(const TplBtnImage& source) {
  if (&source == this) return;
  picture_.Assign(source.picture_);
  transParent_ = source.transParent_;
  vertCenter_ = source.vertCenter_;
  horzCenter_ = source.horzCenter_;
  top_ = source.top_;
  left_ = source.left_;
  visible_ = source.visible_;
}

// ---- TplButton: properties

TplButton::TplButton() {
  bounds_.width = 75;
  bounds_.height = 26;
  tabStop_ = true;
  color_ = forms::clBtnFace;
  parentColor_ = false;
  captionA_ = std::make_unique<TplBtnCaption>(*this);
  captionB_ = std::make_unique<TplBtnCaption>(*this);
  image_ = std::make_unique<TplBtnImage>(*this);
}

TplButton::TplButton(forms::WinControl* parent, const forms::ControlArgs& control, const Args& args)
    : TplButton() {
  Init(parent, control);
  if (args.caption) captionA_->SetCaption(*args.caption);
  if (args.captionB) captionB_->SetCaption(*args.captionB);
  SetButtonStyle(args.buttonStyle);
  SetGradation(args.gradation);
  SetGradBeginColor(args.gradBegin);
  SetGradEndColor(args.gradEnd);
  if (args.captionTop) SetCaptionTop(*args.captionTop);
  if (args.captionVertCenter) SetCaptionVertCenter(*args.captionVertCenter);
  if (args.captionLineSpace) SetCaptionLineSpace(*args.captionLineSpace);
  SetFlatFrameType(args.flatFrameType);
  if (args.imageLeft) image_->SetLeft(*args.imageLeft);
  if (args.imageTop) image_->SetTop(*args.imageTop);
  SetDisableImage(args.disableImage);
  SetHasFocus(args.hasFocus);
  modalResult_ = args.modalResult;
  cancel_ = args.cancel;
}

TplButton::~TplButton() {
  image_.reset();
  captionA_.reset();
  captionB_.reset();
}

void TplButton::SetButtonStyle(TplButtonStyle style) {
  if (style != buttonStyle_) {
    buttonStyle_ = style;
    if (IsRounded(style)) {
      ApplyRegion();
    } else if (region_) {
      RemoveRegion();
    }
  }
  RepaintNow();
}

void TplButton::SetCaptionA(const TplBtnCaption& source) {
  captionA_->Assign(source);
  RepaintNow();
}

void TplButton::SetCaptionB(const TplBtnCaption& source) {
  captionB_->Assign(source);
  RepaintNow();
}

void TplButton::SetCaptionLineSpace(int value) {
  if (value == captionLineSpace_) return;
  captionLineSpace_ = value;
  RepaintNow();
}

void TplButton::SetCaptionTop(int value) {
  if (value == captionTop_) return;
  captionTop_ = value;
  captionVertCenter_ = false;
  RepaintNow();
}

void TplButton::SetCaptionVertCenter(bool value) {
  if (value == captionVertCenter_) return;
  captionVertCenter_ = value;
  if (value) RepaintNow();
}

void TplButton::SetFlatFrameType(TplBtnFrameType value) {
  if (value == flatFrameType_) return;
  flatFrameType_ = value;
  RepaintNow();
}

void TplButton::SetGradation(bool value) {
  if (value == gradation_) return;
  gradation_ = value;
  if (value) SetParentColor(false);
  RepaintNow();
}

void TplButton::SetGradBeginColor(forms::Color value) {
  if (value == gradBeginColor_) return;
  gradBeginColor_ = value;
  RepaintNow();
}

void TplButton::SetGradEndColor(forms::Color value) {
  if (value == gradEndColor_) return;
  gradEndColor_ = value;
  RepaintNow();
}

void TplButton::SetHasFocus(bool value) {
  if (value == hasFocus_) return;
  hasFocus_ = value;
  RepaintNow();
}

void TplButton::SetImage(const TplBtnImage& source) {
  image_->Assign(source);
  RepaintNow();
}

void TplButton::SetDisableImage(bool value) {
  if (value == disableImage_) return;
  disableImage_ = value;
  RepaintNow();
}

// ---- TplButton: window, region, input

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
  RequestRepaint();
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
    RequestRepaint();
  }
  forms::WinControl::KeyUp(key, shift);
}

void TplButton::MouseDown(int button, unsigned shift, int x, int y) {
  if (button == kLeftButton) {
    if (hasFocus_) SetFocus();
    pressed_ = true;
    RepaintNow();
  }
  forms::WinControl::MouseDown(button, shift, x, y);
}

void TplButton::MouseUp(int button, unsigned shift, int x, int y) {
  if (button == kLeftButton) {
    pressed_ = false;
    RepaintNow();
  }
  forms::WinControl::MouseUp(button, shift, x, y);
}

void TplButton::PointerState(unsigned& shift, int& x, int& y) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  shift = ShiftFromKeyboardState(keys);
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
  if (HandleAllocated() && GetCapture() == hwnd_) RepaintNow();
}

void TplButton::MouseLeave(unsigned shift, int x, int y) {
  if (onMouseLeave) onMouseLeave(*this, shift, x, y);
  pressed_ = false;
  RepaintNow();
}

void TplButton::DoEnter() {
  if (!hasFocus_) return;
  forms::WinControl::DoEnter();
  RequestRepaint();
}

void TplButton::DoExit() {
  if (!hasFocus_) return;
  forms::WinControl::DoExit();
  RequestRepaint();
}

void TplButton::EnabledChanged() {
  forms::WinControl::EnabledChanged();
  RequestRepaint();
}

void TplButton::ParentColorChanged() {
  forms::WinControl::ParentColorChanged();
  if (ParentColor()) RequestRepaint();
}

void TplButton::Resized() {
  forms::WinControl::Resized();
  if (IsRounded(buttonStyle_)) ApplyRegion();
  RepaintNow();
}

// ---- TplButton: painting

void TplButton::PaintWindow(HDC dc) {
  if (ParentColor()) {
    PaintButton(dc);
    return;
  }
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  gdi::MemoryDC mem(dc);
  gdi::Bitmap bitmap(CreateCompatibleBitmap(dc, w, h));
  if (!mem || !bitmap) return;
  {
    gdi::Select sel(mem.Get(), bitmap.Get());
    PaintButton(mem.Get());
    BitBlt(dc, 0, 0, w, h, mem.Get(), 0, 0, SRCCOPY);
  }
}

void TplButton::PaintButton(HDC dc) {
  faceRect_ = ClientRect();
  if (gradation_) {
    PaintGradient(dc);
  } else {
    gdi::Brush face(CreateSolidBrush(Resolve(GetColor())));
    FillRect(dc, &faceRect_, face.Get());
  }
  PaintImage(dc);

  gdi::TextState textState(dc);
  gdi::Select font(dc, forms::FontHandle(GetFont()));
  CaptionLayoutInput in;
  in.height = Height();
  in.heightA = TextHeight(dc, captionA_->Caption());
  in.hasA = !captionA_->Caption().empty();
  in.hasB = !captionB_->Caption().empty();
  in.heightB = in.hasA ? 0 : TextHeight(dc, captionB_->Caption());
  in.lineSpace = captionLineSpace_;
  in.captionTop = captionTop_;
  in.vertCenter = captionVertCenter_;
  const CaptionLayout layout = PlaceCaptions(in);
  captionTop_ = layout.captionTop;
  PaintCaption(dc, *captionA_, layout.topA);
  PaintCaption(dc, *captionB_, layout.topB);

  faceRect_ = ClientRect();
  PaintFrame(dc);
  if (IsActiveControl() && hasFocus_) PaintFocusMark(dc);
}

void TplButton::PaintGradient(HDC dc) {
  const auto nearest = [dc](Rgb rgb) {
    const COLORREF c = GetNearestColor(dc, rgb);
    return c == CLR_INVALID ? rgb : static_cast<Rgb>(c);
  };
  const Rgb begin = nearest(Resolve(gradBeginColor_));
  const Rgb end = nearest(Resolve(gradEndColor_));
  const std::vector<Rgb> rows = GradientRows(begin, end, Height());
  for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
    gdi::Pen pen(CreatePen(PS_SOLID, 1, rows[static_cast<std::size_t>(y)]));
    gdi::Select sel(dc, pen.Get());
    MoveToEx(dc, 0, y, nullptr);
    LineTo(dc, Width(), y);
  }
}

void TplButton::PaintCaption(HDC dc, const TplBtnCaption& caption, int top) {
  const std::string& text = caption.Caption();
  const std::wstring wide = ear::Widen(text, kCaptionCodePage);
  const int n = static_cast<int>(wide.size());
  if (n == 0) return;
  SetBkMode(dc, TRANSPARENT);
  const CaptionAnchor anchor = AnchorCaption(caption.Alignment(), Width(), caption.Left(),
                                             caption.Right(), n, top,
                                             PressedOffset(hasFocus_, pressed_));
  SetTextAlign(dc, anchor.textAlign);

  std::vector<std::string> chars;
  std::vector<int> xs;
  if (anchor.even) {
    std::vector<int> widths;
    for (wchar_t ch : wide) {
      chars.push_back(ear::Narrow(std::wstring_view(&ch, 1), kCaptionCodePage));
      widths.push_back(TextWidth(dc, chars.back()));
    }
    const EvenSpacing spacing = SpreadEvenly(anchor.available - TextWidth(dc, text), n);
    xs = EvenPositions(anchor.x, widths, spacing);
  }
  const auto pass = [&](int dx, int dy) {
    if (!anchor.even) {
      TextOutBytes(dc, anchor.x + dx, anchor.y + dy, text);
      return;
    }
    for (std::size_t i = 0; i < chars.size(); ++i) TextOutBytes(dc, xs[i] + dx, anchor.y + dy, chars[i]);
  };
  if (ShowsDisabledLook()) {
    SetTextColor(dc, Resolve(forms::clBtnHighlight));
    pass(1, 1);
    SetTextColor(dc, Resolve(forms::clBtnShadow));
  } else {
    SetTextColor(dc, Resolve(GetFont().color));
  }
  pass(0, 0);
}

gdi::Dib TplButton::IconToBitmap(HICON icon, int width, int height) {
  gdi::Dib dib = gdi::CreateDib24(width, height);
  if (!dib.bitmap) return dib;
  for (int y = 0; y < height; ++y) std::memset(dib.bits + y * dib.stride, 0xFF, width * 3);
  gdi::MemoryDC mem(nullptr);
  gdi::Select sel(mem.Get(), dib.bitmap.Get());
  // Both draws at the icon's own size, given explicitly: a size of 0 means the system
  // icon size wherever it is read as DI_DEFAULTSIZE, and would stretch the icon.
  DrawIconEx(mem.Get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  DrawIconEx(mem.Get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  GdiFlush();
  return dib;
}

gdi::Dib TplButton::GreyedCopy(const gdi::Dib& source) {
  gdi::Dib target = gdi::CreateDib24(source.width, source.height);
  if (!target.bitmap) return target;
  GdiFlush();
  std::memcpy(target.bits, source.bits, static_cast<std::size_t>(source.stride) * source.height);
  GreyPixels(target.bits, target.width, target.height, target.stride);
  return target;
}

void TplButton::PaintImage(HDC dc) {
  forms::Picture& picture = image_->picture_;
  if (!image_->visible_ || picture.Empty()) return;
  const int d = PressedOffset(hasFocus_, pressed_);
  const int w = picture.Width(), h = picture.Height();
  if (image_->vertCenter_) image_->top_ = CenterIn(Height(), h);
  if (image_->horzCenter_) image_->left_ = CenterIn(Width(), w);
  const bool grey = ShowsDisabledLook();

  gdi::Dib result;
  bool keyed = false;
  bool monochrome = false;
  if (picture.GetKind() == forms::Picture::Kind::Icon) {
    gdi::Icon copy(CopyIcon(picture.Icon()));
    if (!copy.Get()) return;
    gdi::Dib work = IconToBitmap(copy.Get(), w, h);
    result = grey ? GreyedCopy(work) : std::move(work);
    keyed = true;
  } else if (picture.GetKind() == forms::Picture::Kind::Bitmap) {
    gdi::Dib work = gdi::CreateDib24(w, h);
    if (!work.bitmap) return;
    {
      gdi::MemoryDC mem(dc);
      gdi::Select sel(mem.Get(), work.bitmap.Get());
      BitBlt(mem.Get(), 0, 0, w, h, picture.Canvas(), 0, 0, SRCCOPY);
    }
    BITMAP info{};
    if (GetObject(picture.Bitmap(), sizeof(info), &info) && info.bmBitsPixel == 1) monochrome = true;
    result = grey ? GreyedCopy(work) : std::move(work);
    if (grey) monochrome = false;
    keyed = image_->transParent_;
  }
  if (!result.bitmap) return;

  GdiFlush();
  gdi::MemoryDC mem(dc);
  gdi::Select sel(mem.Get(), result.bitmap.Get());
  const int x = image_->left_ + d, y = image_->top_ + d;
  if (keyed) {
    const BYTE* corner = result.bits + static_cast<std::ptrdiff_t>(result.height - 1) * result.stride;
    const COLORREF key = monochrome ? RGB(255, 255, 255) : RGB(corner[2], corner[1], corner[0]);
    TransparentBlt(dc, x, y, w, h, mem.Get(), 0, 0, w, h, key);
  } else {
    BitBlt(dc, x, y, w, h, mem.Get(), 0, 0, SRCCOPY);
  }
}

void TplButton::PaintFrame(HDC dc) {
  faceRect_ = ClientRect();
  switch (FrameFor(buttonStyle_, flatFrameType_, pressed_)) {
    case FrameKind::RaisedEdge:
      DrawEdge(dc, &faceRect_, EDGE_RAISED, BF_RECT);
      break;
    case FrameKind::PressedRings: {
      gdi::Brush outer(CreateSolidBrush(Resolve(forms::clBtnShadow)));
      gdi::Brush inner(CreateSolidBrush(RGB(128, 128, 128)));
      RECT r = faceRect_;
      FrameRect(dc, &r, outer.Get());
      InflateRect(&r, -1, -1);
      FrameRect(dc, &r, inner.Get());
      break;
    }
    case FrameKind::FlatBumpEdge:
      DrawEdge(dc, &faceRect_, EDGE_BUMP, BF_RECT | BF_FLAT);
      break;
    case FrameKind::EtchedEdge:
      DrawEdge(dc, &faceRect_, EDGE_ETCHED, BF_RECT);
      break;
    case FrameKind::BumpEdge:
      DrawEdge(dc, &faceRect_, EDGE_BUMP, BF_RECT);
      break;
    case FrameKind::RoundOutline: {
      gdi::Pen pen(CreatePen(PS_SOLID, 1, RGB(117, 117, 117)));
      gdi::Select selPen(dc, pen.Get());
      gdi::Select selBrush(dc, GetStockObject(NULL_BRUSH));
      RoundRect(dc, 0, 0, Width(), Height(), CornerSize, CornerSize);
      break;
    }
    case FrameKind::None:
      break;
  }
}

void TplButton::PaintFocusMark(HDC dc) {
  faceRect_ = ClientRect();
  const FocusMark mark = FocusMarkFor(buttonStyle_, flatFrameType_, Width(), Height());
  if (mark.rounded) {
    LOGBRUSH brush{BS_SOLID, RGB(32, 32, 32), 0};
    gdi::Pen pen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
    gdi::Select selPen(dc, pen.Get());
    gdi::Select selBrush(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, mark.rect.left, mark.rect.top, mark.rect.right, mark.rect.bottom, mark.corner,
              mark.corner);
    return;
  }
  faceRect_ = RECT{mark.rect.left, mark.rect.top, mark.rect.right, mark.rect.bottom};
  gdi::TextState textState(dc);
  SetTextColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &faceRect_);
}

}  // namespace controls
