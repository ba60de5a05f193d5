#include "controls/plButtonMath.h"

#include "forms/shift_state.h"

namespace controls {

namespace {

int Channel(int begin, int end, int y, int height) {
  // 64-bit product: equal to the 32-bit formula for every height a window can have, without overflow.
  const std::int64_t delta = static_cast<std::int64_t>(y) * (end - begin) / (height - 1);
  return static_cast<int>((begin + delta) & 0xFF);
}

}  // namespace

Rgb GradientRow(Rgb begin, Rgb end, int y, int height) {
  if (height <= 1) return begin;
  return MakeRgb(Channel(RedOf(begin), RedOf(end), y, height),
                 Channel(GreenOf(begin), GreenOf(end), y, height),
                 Channel(BlueOf(begin), BlueOf(end), y, height));
}

std::vector<Rgb> GradientRows(Rgb begin, Rgb end, int height) {
  std::vector<Rgb> rows;
  if (height <= 0) return rows;
  rows.reserve(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) rows.push_back(GradientRow(begin, end, y, height));
  return rows;
}

CaptionLayout PlaceCaptions(const CaptionLayoutInput& in) {
  CaptionLayout out;
  out.captionTop = in.captionTop;
  if (in.vertCenter) {
    out.topA = in.hasB ? (in.height - 2 * in.heightA - in.lineSpace) / 2
                       : (in.height - in.heightA) / 2 + 1;
    out.captionTop = out.topA;
    if (in.hasA) {
      out.topB = out.topA + in.heightA + in.lineSpace;
    } else {
      out.topB = (in.height - in.heightB) / 2;
      out.captionTop = out.topB;
    }
  } else {
    out.topA = in.captionTop;
    out.topB = in.captionTop + (in.hasA ? in.heightA + in.lineSpace : 0);
  }
  return out;
}

CaptionAnchor AnchorCaption(TplBtnAlignment alignment, int width, int left, int right,
                            int charCount, int top, int pressedOffset) {
  if (alignment == taEven && charCount == 1) alignment = taCenter;
  CaptionAnchor a;
  switch (alignment) {
    case taLeft:
      a.x = left + 2;
      a.textAlign = AnchorLeft;
      break;
    case taRight:
      a.x = width - right - 2;
      a.textAlign = AnchorRight;
      break;
    case taEven:
      a.x = left + 2;
      a.textAlign = AnchorLeft;
      a.even = true;
      a.available = width - left - right - 4;
      break;
    case taCenter:
    default:
      a.x = width / 2;
      a.textAlign = AnchorCenter;
      break;
  }
  a.x += pressedOffset;
  a.y = top + pressedOffset;
  return a;
}

EvenSpacing SpreadEvenly(int spare, int charCount) {
  if (charCount < 2) return {};
  return EvenSpacing{spare / (charCount - 1), spare % (charCount - 1)};
}

std::vector<int> EvenPositions(int x0, const std::vector<int>& widths, EvenSpacing spacing) {
  std::vector<int> xs;
  xs.reserve(widths.size());
  int x = x0;
  int rem = spacing.rem;
  for (int w : widths) {
    xs.push_back(x);
    x += w + spacing.step;
    if (rem > 0) {
      ++x;
      --rem;
    } else if (rem < 0) {
      --x;
      ++rem;
    }
  }
  return xs;
}

void GreyPixels(std::uint8_t* bits, int width, int height, int stride) {
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = bits + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < width; ++x, p += 3) {
      const std::uint8_t g = GreyLevel(p[0], p[1], p[2]);
      p[0] = p[1] = p[2] = g;
    }
  }
}

bool ClicksOnDialogKey(unsigned key, unsigned shift, bool isActiveControl, bool cancel,
                       bool hasFocus) {
  const bool wanted = (key == KeyReturn && isActiveControl) || (key == KeyEscape && cancel);
  const bool modifier = (shift & (forms::ssShift | forms::ssCtrl | forms::ssAlt)) != 0;
  return wanted && !modifier && hasFocus;
}

FrameKind FrameFor(TplButtonStyle style, TplBtnFrameType frameType, bool pressed) {
  switch (style) {
    case bsNormal:
      return pressed ? FrameKind::PressedRings : FrameKind::RaisedEdge;
    case bsFlat:
      switch (frameType) {
        case bffEtched: return FrameKind::EtchedEdge;
        case bffBump: return FrameKind::BumpEdge;
        case bffFlat:
        default: return FrameKind::FlatBumpEdge;
      }
    case bsRoundRect:
      return FrameKind::RoundOutline;
    case bsFlatNoFrame:
    case bsRoundRectNoFrame:
    default:
      return FrameKind::None;
  }
}

FocusMark FocusMarkFor(TplButtonStyle style, TplBtnFrameType frameType, int width, int height) {
  FocusMark m;
  m.rect = Rect{2, 2, width - 2, height - 2};
  if (IsRounded(style)) {
    m.rounded = true;
    m.corner = CornerSize - 2;
    return m;
  }
  if (style == bsFlat && frameType == bffBump) {
    m.rect.right += 1;
    m.rect.bottom += 1;
  } else if (style == bsFlat && frameType == bffEtched) {
    m.rect.right -= 1;
    m.rect.bottom -= 1;
  }
  return m;
}

}  // namespace controls
