#include "forms/picture.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/error.h"
#include "base/file_win.h"
#include "base/gdi.h"
#include "base/sjis.h"
#include "imaging/jpeg/jpeg_decode.h"

namespace forms {

namespace gdi = ear::gdi;

Picture::~Picture() { Clear(); }

void Picture::ReleaseCanvas() {
  if (!canvas_) return;
  SelectObject(canvas_.Get(), canvasOld_);
  canvas_.Reset();
}

void Picture::Clear() {
  ReleaseCanvas();
  bitmap_.Reset();
  icon_.Reset();
  painter_ = nullptr;
  kind_ = Kind::None;
  width_ = height_ = 0;
}

void Picture::Changed() {
  if (onChange) onChange();
}

void Picture::SetBitmap(HBITMAP bitmap) {
  Clear();
  if (bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    bitmap_.Reset(bitmap);
    kind_ = Kind::Bitmap;
    width_ = info.bmWidth;
    height_ = std::abs(info.bmHeight);
  }
  Changed();
}

void Picture::SetIcon(HICON icon) {
  Clear();
  if (icon) {
    ICONINFO info{};
    if (GetIconInfo(icon, &info)) {
      BITMAP bm{};
      GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
      width_ = bm.bmWidth;
      height_ = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
      gdi::Bitmap color(info.hbmColor), mask(info.hbmMask);  // copies made for us
    }
    icon_.Reset(icon);
    kind_ = Kind::Icon;
  }
  Changed();
}

void Picture::SetDrawn(int width, int height, Painter painter) {
  Clear();
  if (painter && width > 0 && height > 0) {
    painter_ = std::move(painter);
    kind_ = Kind::Drawn;
    width_ = width;
    height_ = height;
  }
  Changed();
}

void Picture::NewBitmap(int width, int height, ear::PixelLayout layout) {
  gdi::Dib dib = gdi::CreateDib(std::max(width, 1), std::max(height, 1), 8 * ear::BytesPerPixel(layout));
  if (!dib.bitmap) throw ear::Error("ビットマップを作成できません");
  std::fill_n(dib.bits, static_cast<size_t>(dib.stride) * static_cast<size_t>(dib.height), 0xFF);
  SetBitmap(dib.bitmap.Release());
}

namespace {

gdi::Bitmap DecodeJpegBitmap(const void* data, size_t size, ear::PixelLayout layout) {
  gdi::Dib dib;
  ear::DecodeJpegInto(static_cast<const unsigned char*>(data), size, layout, [&dib, layout](int w, int h, std::size_t) {
    dib = gdi::CreateDib(w, h, 8 * ear::BytesPerPixel(layout));
    return dib.bits;
  });
  if (!dib.bitmap) throw ear::Error("ビットマップを作成できません");
  return std::move(dib.bitmap);
}

bool IsJpegExtension(const std::string& ext) { return ext == ".jpg" || ext == ".jpeg"; }

}  // namespace

void Picture::LoadFromJpeg(const void* data, size_t size, ear::PixelLayout layout) {
  SetBitmap(DecodeJpegBitmap(data, size, layout).Release());
}

void Picture::PrepareFile(const std::string& path) {
  prepared_.reset();
  if (!IsJpegExtension(ear::FileExtension(path))) return;
  std::optional<std::vector<unsigned char>> data = ear::ReadFileBytes(path, UINT64_MAX);
  if (!data) return;
  try {
    gdi::Bitmap bitmap = DecodeJpegBitmap(data->data(), data->size(), ear::PixelLayout::Bgra32);
    prepared_ = std::make_unique<Prepared>(Prepared{path, std::move(*data), std::move(bitmap)});
  } catch (const std::exception&) {
    // The load decodes it again and reports what is wrong, when it is asked for.
  }
}

void Picture::LoadFromFile(const std::string& path) {
  const std::string ext = ear::FileExtension(path);
  const std::unique_ptr<Prepared> prepared = std::move(prepared_);
  if (IsJpegExtension(ext)) {
    const std::optional<std::vector<unsigned char>> data = ear::ReadFileBytes(path, UINT64_MAX);
    if (!data) throw ear::Error("ファイル " + path + " を開けません");
    // The same bytes decode to the same pixels: those decoded ahead serve.
    if (prepared && prepared->path == path && prepared->bytes == *data) {
      SetBitmap(prepared->bitmap.Release());
      return;
    }
    LoadFromJpeg(data->data(), data->size());
  } else if (ext == ".bmp") {
    HANDLE h = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!h) throw ear::Error("ビットマップ " + path + " を読み込めません");
    SetBitmap(static_cast<HBITMAP>(h));
  } else if (ext == ".ico") {
    HANDLE h = LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
    if (!h) throw ear::Error("アイコン " + path + " を読み込めません");
    SetIcon(static_cast<HICON>(h));
  } else {
    throw ear::Error("画像ファイルの拡張子 (" + ext + ") には対応していません");
  }
}

void Picture::LoadFromResource(const char* name, ear::PixelLayout layout) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw ear::Error(std::string("リソース ") + name + " が見つかりません");
  LoadFromJpeg(data, SizeofResource(module, found), layout);
}

void Picture::Assign(const Picture& other) {
  if (&other == this) return;
  if (other.kind_ == Kind::Bitmap) {
    SetBitmap(static_cast<HBITMAP>(CopyImage(other.bitmap_.Get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  } else if (other.kind_ == Kind::Icon) {
    SetIcon(CopyIcon(other.icon_.Get()));
  } else if (other.kind_ == Kind::Drawn) {
    SetDrawn(other.width_, other.height_, other.painter_);
  } else {
    Clear();
    Changed();
  }
}

HDC Picture::Canvas() {
  if (kind_ == Kind::Drawn) {
    // Drawing on it from now on: the drawing becomes the bitmap it stands for. A copy of the
    // painter, so a bitmap that cannot be made leaves the drawing as it was.
    const Painter painter = painter_;
    NewBitmap(width_, height_, ear::PixelLayout::Bgra32);
    painter(Canvas());
  }
  if (kind_ != Kind::Bitmap) return nullptr;
  if (!canvas_) {
    canvas_ = gdi::MemoryDC(nullptr);
    canvasOld_ = SelectObject(canvas_.Get(), bitmap_.Get());
  }
  return canvas_.Get();
}

Image::Image() { picture.onChange = [this] { Invalidate(); }; }

Image::Image(WinControl* parent, const ControlArgs& control, const Args& args) : Image() {
  stretch = args.stretch;
  center = args.center;
  if (!args.resource.empty()) picture.LoadFromResource(args.resource.c_str(), args.bitmap24 ? ear::PixelLayout::Bgr24 : ear::PixelLayout::Bgra32);
  Init(parent, control);
}

void Picture::Draw(HDC dc, int x, int y) {
  if (kind_ == Kind::Bitmap) {
    BitBlt(dc, x, y, width_, height_, Canvas(), 0, 0, SRCCOPY);
  } else if (kind_ == Kind::Icon) {
    DrawIconEx(dc, x, y, icon_.Get(), 0, 0, 0, nullptr, DI_NORMAL);
  } else if (kind_ == Kind::Drawn) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, x, y, x + width_, y + height_);
    OffsetWindowOrgEx(dc, -x, -y, nullptr);  // RestoreDC puts the origin back
    painter_(dc);
    RestoreDC(dc, saved);
  }
}

HDC Image::Canvas() {
  if (picture.GetKind() != Picture::Kind::Bitmap && picture.GetKind() != Picture::Kind::Drawn) {
    picture.NewBitmap(Width(), Height(), ear::PixelLayout::Bgra32);
  }
  return picture.Canvas();
}

bool Image::PaintsOpaquely(const RECT& r) const {
  // A bitmap or drawing shown unscaled at the corner: opaque where it lies inside the control.
  const Picture::Kind kind = picture.GetKind();
  if ((kind != Picture::Kind::Bitmap && kind != Picture::Kind::Drawn) || stretch || center) return false;
  const int right = std::min(Width(), picture.Width()), bottom = std::min(Height(), picture.Height());
  return r.left >= 0 && r.top >= 0 && r.right <= right && r.bottom <= bottom;
}

void Image::Paint(HDC dc) {
  if (picture.GetKind() == Picture::Kind::Bitmap && stretch) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, Width(), Height(), picture.Canvas(), 0, 0, picture.Width(), picture.Height(), SRCCOPY);
  } else if (picture.GetKind() == Picture::Kind::Icon) {
    picture.Draw(dc, 0, 0);
  } else {
    const int x = center ? (Width() - picture.Width()) / 2 : 0;
    const int y = center ? (Height() - picture.Height()) / 2 : 0;
    picture.Draw(dc, x, y);
  }
}

}  // namespace forms
