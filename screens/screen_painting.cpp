#include "screens/screen_painting.h"

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

void CenterImageByFile(forms::Form& screen, forms::Image& image, const std::string& fileName) {
  const std::optional<int> left = CenteredLeftOfFile(screen.Width(), fileName);
  if (!left) return;
  image.SetLeft(*left);
  image.picture.LoadFromFile(fileName);
}

void PaintBackdrop(forms::Image& image, const std::string& textureFile, int width, int height) {
  PaintBackdrop(image.Canvas(), textureFile, width, height);
  image.Changed();
}

}  // namespace ear
