#pragma once

#include <QPointF>

namespace vistrace {

// One horizontal screen unit is 15.08096 twips and one vertical unit 15 twips, at 15 twips
// per pixel, so 500 units span the graticule's ten columns. The graticule and the trace both
// go through this mapping, so a trace point lands on the grid line of the same unit.
inline constexpr double kPixelsPerHorizontalUnit = 15.08096 / 15.0;

inline QPointF unitsToPixels(double x, double y) {
    return {x * kPixelsPerHorizontalUnit, y};
}

} // namespace vistrace
