#pragma once
// The shared painting routines applied to the framework's picture controls and forms.
// What they hand to GDI+ starts it through the run's session (ear::gdiplus::Session) when
// first needed; a run without one gets GDI+'s failure (nothing drawn).
#include <string>

#include "forms/form.h"
#include "forms/picture.h"
#include "package/package_pictures.h"
#include "package/paths.h"

namespace ear {

// DrawKeyedImage (imaging/painting_win.h) onto the control's bitmap; a control without a
// picture gets a white bitmap of its size, but only when the file passed the probe.
int DrawKeyedImage(forms::Image& target, const std::string& fileName, int boxWidth,
                   int boxHeight, int top, int askedLeft, int centringWidth);

// DrawKeyedImage of the package's picture of a KeyedScaled row, into the row's box at its top.
// A key value holding a folder separator (PictureExtSeparator) is a missing picture: nothing
// is opened or drawn, and 0 is returned.
int DrawKeyedPicture(forms::Image& target, const PackagePaths& paths, const PackagePicture& picture,
                     const PackageSettings& settings, int askedLeft, int centringWidth);

// Moves image so that a picture of the file's width is centred on screen, then loads the
// file into it. A missing file changes nothing; GetDimension's errors pass through first.
void CenterImageByFile(forms::Form& screen, forms::Image& image, const std::string& fileName);

// PaintBackdrop (imaging/backdrop_win.h) onto the control's bitmap.
void PaintBackdrop(forms::Image& image, const std::string& textureFile, int width, int height);

}  // namespace ear
