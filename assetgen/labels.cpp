#include "assetgen/labels.h"

#include <QPen>
#include <algorithm>

namespace assetgen {

void Leader(QPainter& p, const Diagram& diagram, const QString& label, QPointF part,
            QColor colour) {
  const QRectF text = diagram.TextRect(diagram.Label(label));
  const bool labelOnLeft = text.center().x() < part.x();
  QPointF start(labelOnLeft ? text.right() + 3 : text.left() - 3, text.center().y());
  start.setX(std::max(start.x(), 2.0));  // labels that overhang the picture's left edge
  p.save();
  p.setPen(QPen(colour, 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(start, part);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(part, 2.2, 2.2);
  p.restore();
}

}  // namespace assetgen
