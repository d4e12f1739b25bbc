// How a label lays out its caption: lines break at spaces and between Chinese characters so that
// no line is wider than the box; the first line starts at the top edge; lines follow each other
// at the line pitch of the face the pages were designed with.
#pragma once

#include <QFont>
#include <QPainter>
#include <QString>
#include <optional>
#include <vector>

namespace forms {

struct CaptionLine {
  qsizetype start = 0, length = 0;  // in the caption, without the spaces it broke at
  qreal width = 0;
};

// The type a caption is set in.
struct TextStyle {
  QFont font;
  qreal pitch = 0;  // distance from one line's top to the next's
  qreal space = 0;  // width of an ordinary space, the indent's unit
  // Where Latin letters come from a face of their own, drawn at its own size: that face, and
  // how far its letters are raised to sit in the same band as the Chinese characters.
  std::optional<QFont> latin;
  qreal latinRise = 0;
  // Glyphs larger than Qt keeps drawn: drawn from their outlines each time.
  bool large = false;
};

struct CaptionLayout {
  std::vector<CaptionLine> lines;
  std::vector<qreal> x;  // where each character starts, from the start of the text
  qreal pitch = 0;
  qreal Height() const { return pitch * static_cast<qreal>(lines.size()); }
};

CaptionLayout LayOutCaption(const QString& text, const TextStyle& style, qreal width);

// Draws the laid-out caption into the box, clipped at its edges. Where the screen has `scale`
// pixels for each designed one (a page shown larger, a screen of a higher density), the designed
// layout is drawn that much larger, in `style` made for that scale: the same lines, each run of
// characters where the designed layout puts it, times the scale.
void DrawCaption(QPainter& painter, const QString& text, const TextStyle& style,
                 const CaptionLayout& layout, const QRectF& box, Qt::Alignment alignment,
                 qreal scale = 1);

}  // namespace forms
