// TplButton's painting, in the steps PaintButton runs.
#include "controls/plButton.h"

#include <cstring>
#include <string_view>

#include "base/gdi.h"
#include "base/text_win.h"

namespace controls {

namespace {

SIZE TextExtent(HDC dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size;
}

void TextOutWide(HDC dc, int x, int y, std::wstring_view text) {
  TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
}

}  // namespace

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
    gdi::Brush face(CreateSolidBrush(forms::ColorToRGB(GetColor())));
    FillRect(dc, &faceRect_, face.Get());
  }
  PaintImage(dc);

  gdi::TextState textState(dc);
  gdi::Select font(dc, forms::FontHandle(GetFont()));
  CaptionLayoutInput in;
  in.height = Height();
  in.heightA = TextExtent(dc, ear::Widen(captionA_->Caption())).cy;
  in.hasA = !captionA_->Caption().empty();
  in.hasB = !captionB_->Caption().empty();
  in.heightB = in.hasA ? 0 : TextExtent(dc, ear::Widen(captionB_->Caption())).cy;
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
  const Rgb begin = nearest(forms::ColorToRGB(gradBeginColor_));
  const Rgb end = nearest(forms::ColorToRGB(gradEndColor_));
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
  // A double-byte character counts, and is spread, as one character.
  const std::wstring wide = ear::Widen(text);
  const int n = static_cast<int>(wide.size());
  if (n == 0) return;
  SetBkMode(dc, TRANSPARENT);
  const CaptionAnchor anchor = AnchorCaption(caption.Alignment(), Width(), caption.Left(),
                                             caption.Right(), n, top,
                                             PressedOffset(hasFocus_, pressed_));
  SetTextAlign(dc, anchor.textAlign);

  std::vector<int> xs;
  if (anchor.even) {
    std::vector<int> widths;
    for (const wchar_t& ch : wide) widths.push_back(TextExtent(dc, std::wstring_view(&ch, 1)).cx);
    const EvenSpacing spacing = SpreadEvenly(anchor.available - TextExtent(dc, wide).cx, n);
    xs = EvenPositions(anchor.x, widths, spacing);
  }
  const auto pass = [&](int dx, int dy) {
    if (!anchor.even) {
      TextOutWide(dc, anchor.x + dx, anchor.y + dy, wide);
      return;
    }
    for (std::size_t i = 0; i < wide.size(); ++i) TextOutWide(dc, xs[i] + dx, anchor.y + dy, std::wstring_view(&wide[i], 1));
  };
  if (ShowsDisabledLook()) {
    SetTextColor(dc, forms::ColorToRGB(forms::clBtnHighlight));
    pass(1, 1);
    SetTextColor(dc, forms::ColorToRGB(forms::clBtnShadow));
  } else {
    SetTextColor(dc, forms::ColorToRGB(GetFont().color));
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
      gdi::Brush outer(CreateSolidBrush(forms::ColorToRGB(forms::clBtnShadow)));
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
