// The skin picture and the window shape cut from it.
#pragma once

#include <QImage>
#include <QRegion>

namespace Skin {

// The shipped skin from the resources.
QImage picture();

// Pixels in the skin's key colour (its bottom-left pixel) and pure blue pixels lie outside the
// window; every other pixel is inside.
QRegion shapeMask(const QImage& skin);

} // namespace Skin
