#pragma once
#include <string>

namespace forms {
class Image;
}

namespace ear {

// Fills the rectangle (0, 0, width, height) of the picture control's surface with the
// texture tiled from 10 pixels right of the left edge and frames it in dark green.
// A texture that cannot be loaded leaves only the frame; nothing is reported.
void PaintBackdrop(forms::Image& image, const std::string& textureFile, int width, int height);

}  // namespace ear
