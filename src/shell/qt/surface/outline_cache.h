// The ring outlines the Qt surface draws as one picture: a run of ellipse outlines is drawn
// once into a transparent image at device resolution and kept, so a repaint of the same scale
// only copies it. Shared by every surface of the process (the export paints on several threads)
// under a lock.
#pragma once

#include "chart/drawing_surface.h"

#include <QImage>
#include <QPen>
#include <QRectF>

#include <vector>

namespace tanu::qt {

// Flat caps as the platform's default pen; the width scales with the world transform.
QPen worldPen(Argb colour, float width);

// Room around outlines for the pen and its antialiased edge, in device pixels.
qreal outlineMargin(qreal penWidth);

// The outlines of the ellipses in rects (relative to the picture's top-left corner, which lies
// outlineMargin in from each), drawn with worldPen(colour, penWidth). The two most recent
// pictures are kept; the image returned is the caller's (shared, read-only) copy.
QImage outlinePicture(Argb colour, qreal penWidth, bool antialiased, qreal pixelRatio,
                      const std::vector<QRectF>& rects);

} // namespace tanu::qt
