// Look shared by the two panels that lie over the presence texts.
#pragma once

#include <QColor>
#include <QRect>

namespace PanelStyle {

inline const QColor Background{160, 160, 164};
inline constexpr QRect Geometry{16, 112, 473, 177};

} // namespace PanelStyle
