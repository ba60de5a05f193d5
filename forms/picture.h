#pragma once
// A picture container (bitmap, icon, or a picture drawn when shown) and the picture
// control that shows one.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/gdi.h"
#include "forms/control_tree.h"
#include "imaging/decoded_image.h"

namespace forms {

class Picture {
 public:
  enum class Kind { None, Bitmap, Icon, Drawn };
  // Draws a Drawn picture onto a DC, from the DC's logical origin.
  using Painter = std::function<void(HDC)>;
  Picture() = default;
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  Kind GetKind() const { return kind_; }
  bool Empty() const { return kind_ == Kind::None; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  HICON Icon() const { return icon_.Get(); }

  // Loads JPEG (.jpg, .jpeg), BMP (.bmp) and icon (.ico) files, chosen by the extension
  // in any letter case; any other extension is refused with an error.
  // A JPEG becomes a bitmap in the display's format (32 bits per pixel), which a paint
  // copies without converting each pixel.
  void LoadFromFile(const std::string& path);
  // Decodes a JPEG file ahead of a LoadFromFile of the same path, which then takes these
  // pixels when it reads the very same bytes, and decodes afresh otherwise. Changes nothing
  // the picture shows; a file that cannot be read or decoded prepares nothing and the load
  // reports it as ever.
  void PrepareFile(const std::string& path);
  void LoadFromJpeg(const void* data, size_t size, ear::PixelLayout layout = ear::PixelLayout::Bgra32);
  // A JPEG stored as an RCDATA resource of the running executable, found by its name.
  void LoadFromResource(const char* name, ear::PixelLayout layout = ear::PixelLayout::Bgra32);
  void SetBitmap(HBITMAP bitmap);  // takes ownership
  void SetIcon(HICON icon);        // takes ownership
  // A picture of the given size that painter covers whole: each paint has it draw straight
  // onto the target, and no bitmap is made until Canvas asks for one (drawn onto white).
  void SetDrawn(int width, int height, Painter painter);
  // A new bitmap, white, of the given size and pixel layout.
  void NewBitmap(int width, int height, ear::PixelLayout layout = ear::PixelLayout::Bgr24);
  void Assign(const Picture& other);  // copies the content
  void Clear();
  // A memory DC with the bitmap selected (valid until the picture changes); a Drawn picture
  // becomes a bitmap first.
  HDC Canvas();
  // Draws the picture onto dc at (x, y), its own size; a bitmap copied, an icon drawn.
  void Draw(HDC dc, int x, int y);

  std::function<void()> onChange;  // after any change of content

 private:
  void Changed();
  void ReleaseCanvas();
  Kind kind_ = Kind::None;
  ear::gdi::Bitmap bitmap_;
  ear::gdi::Icon icon_;
  Painter painter_;
  int width_ = 0, height_ = 0;
  ear::gdi::MemoryDC canvas_;  // with bitmap_ selected; released before bitmap_
  HGDIOBJ canvasOld_ = nullptr;
  struct Prepared {
    std::string path;
    std::vector<unsigned char> bytes;
    ear::gdi::Bitmap bitmap;
  };
  std::unique_ptr<Prepared> prepared_;  // from PrepareFile, until the next LoadFromFile
};

// The own settings of a layout row of Image.
struct ImageArgs {
  std::string resource;  // name of the JPEG artwork built into the executable (RCDATA)
  bool bitmap24 = false;  // the artwork held as a 24-bit bitmap, as designed, rather than as a JPEG picture
  bool stretch = false;
  bool center = false;
};

// A graphic control that draws its picture at its top-left corner.
class Image : public Control {
 public:
  using Args = ImageArgs;
  Image();
  Image(WinControl* parent, const ControlArgs& control, const Args& args = {});

  Picture picture;
  bool stretch = false;
  bool center = false;

  // The drawing surface: a control without a picture gets a bitmap of its size first, in
  // the display's format.
  HDC Canvas();
  // After drawing on the surface: show it.
  void Changed() { Invalidate(); }
  void Paint(HDC dc) override;
  bool PaintsOpaquely(const RECT& r) const override;
};

}  // namespace forms
