#pragma once

#include <QColor>

namespace orvane {

// Where a face is fixed light whatever the desktop's palette, its ink is fixed with it.
inline const QColor kFixedLightFace(248, 249, 251);
inline const QColor kFixedDarkInk(32, 33, 36);
// The blue of the controller information and the download link.
inline const QColor kFixedLinkBlue(0x19, 0x19, 0xFF);

} // namespace orvane
