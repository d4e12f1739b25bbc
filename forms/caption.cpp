#include "caption.h"

#include <QTextLayout>

namespace forms {

namespace {

// Lays the text out line by line within the width; returns the total height.
qreal LayOut(QTextLayout& layout, qreal width, Qt::Alignment alignment) {
  QTextOption option;
  // Chinese text has no spaces: a line may end after any ideograph, and a long Latin word that
  // does not fit on a line of its own is broken rather than overflowing the box.
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  option.setAlignment(alignment);
  layout.setTextOption(option);
  layout.setCacheEnabled(true);
  qreal y = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    line.setPosition(QPointF(0, y));
    y += line.height();
  }
  layout.endLayout();
  return y;
}

}  // namespace

CaptionExtent MeasureCaption(const QString& text, const QFont& font, qreal width) {
  QTextLayout layout(text, font);
  const qreal height = LayOut(layout, width, Qt::AlignLeft);
  return {layout.lineCount(), height};
}

void DrawCaption(QPainter& painter, const QString& text, const QFont& font, const QRectF& box,
                 Qt::Alignment alignment) {
  if (text.isEmpty()) return;
  QTextLayout layout(text, font, painter.device());
  LayOut(layout, box.width(), alignment);
  painter.save();
  painter.setClipRect(box);
  layout.draw(&painter, box.topLeft());
  painter.restore();
}

}  // namespace forms
