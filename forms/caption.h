// How a label lays out its caption: lines break at spaces and between Chinese characters so that
// no line is wider than the box; the first line starts at the top edge.
#pragma once

#include <QFont>
#include <QPainter>
#include <QString>

namespace forms {

struct CaptionExtent {
  int lines = 0;
  qreal height = 0;  // pixels from the box's top edge to the bottom of the last line
};

CaptionExtent MeasureCaption(const QString& text, const QFont& font, qreal width);

// Draws the caption into the box, clipped at its edges.
void DrawCaption(QPainter& painter, const QString& text, const QFont& font, const QRectF& box,
                 Qt::Alignment alignment);

}  // namespace forms
