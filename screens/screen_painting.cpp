#include "screens/screen_painting.h"

#include <utility>

#include "imaging/backdrop_win.h"
#include "imaging/painting_win.h"

namespace ear {

int DrawKeyedImage(forms::Image& target, const std::string& fileName, int boxWidth,
                   int boxHeight, int top, int askedLeft, int centringWidth) {
  bool drawn = false;
  const std::function<HDC()> surface = [&] {
    drawn = true;
    return target.Canvas();
  };
  const int left = DrawKeyedImage(surface, fileName, boxWidth, boxHeight, top, askedLeft, centringWidth);
  if (drawn) target.Changed();
  return left;
}

int DrawKeyedPicture(forms::Image& target, const PackagePaths& paths, const PackagePicture& picture,
                     const PackageSettings& settings, int askedLeft, int centringWidth) {
  // A separator in the key's value would make the name a path out of the picture folder,
  // and with ".." out of the package: never opened, the picture is missing.
  if (PictureExtSeparator(PictureExtValue(picture, settings)) != std::string::npos) return 0;
  return DrawKeyedImage(target, PicturePath(paths, picture, settings), picture.box.width, picture.box.height,
                        picture.top, askedLeft, centringWidth);
}

void CenterImageByFile(forms::Form& screen, forms::Image& image, const std::string& fileName) {
  const std::optional<int> left = CenteredLeftOfFile(screen.Width(), fileName);
  if (!left) return;
  image.SetLeft(*left);
  image.picture.LoadFromFile(fileName);
}

void PaintBackdrop(forms::Image& image, const std::string& textureFile, int width, int height) {
  // A first painting that covers the whole control stays a way to draw: each paint tiles
  // straight onto the screen, and no control-sized bitmap is filled first (for the backdrop,
  // the size of the screen). Painting again, or what GDI+ must read, draws on the bitmap.
  forms::Picture::Painter painter = BackdropPainter(textureFile, width, height);
  if (painter && image.picture.Empty() && !image.stretch && !image.center && width >= image.Width() &&
      height >= image.Height() && image.Width() > 0 && image.Height() > 0) {
    image.picture.SetDrawn(image.Width(), image.Height(), std::move(painter));
    return;
  }
  PaintBackdrop(image.Canvas(), painter, textureFile, width, height);
  image.Changed();
}

}  // namespace ear
