#pragma once

class QPainter;
class QPalette;

namespace vistrace {

// Paints the twenty dotted graticule lines, with the painter's origin at the screen's client
// origin.
void paintGraticule(QPainter& painter, const QPalette& palette);

} // namespace vistrace
