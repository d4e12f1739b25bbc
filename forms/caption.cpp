#include "caption.h"

#include <QFontMetricsF>
#include <vector>

namespace forms {

namespace {

// Characters that are set in a full square: a line may end before or after any of them.
bool IsWide(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
         (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
         (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
         (u >= 0xFFE0 && u <= 0xFFE6) || c.isSurrogate();
}

// Punctuation that closes a phrase never starts a line, and an opening bracket never ends one.
bool IsClosing(QChar c) {
  return QStringView(u"，。、；：！？）」』》〉】,.;:!?)").contains(c);
}
bool IsOpening(QChar c) { return QStringView(u"（「『《〈【(").contains(c); }

bool BreakBefore(const QString& text, qsizetype i) {
  if (i <= 0 || i >= text.size()) return false;
  const QChar before = text[i - 1], at = text[i];
  if (at == QLatin1Char(' ')) return false;  // spaces stay with the line they end
  if (before.isHighSurrogate() || IsClosing(at) || IsOpening(before)) return false;
  return before == QLatin1Char(' ') || IsWide(before) || IsWide(at);
}

qsizetype TrimmedEnd(const QString& text, qsizetype start, qsizetype end) {
  while (end > start && text[end - 1] == QLatin1Char(' ')) --end;
  return end;
}

// Where a line must end to fit: a closing mark at its end may hang into the margin, as it does
// in printed Chinese, rather than being carried alone to the next line.
qsizetype FittingEnd(const QString& text, qsizetype start, qsizetype end) {
  end = TrimmedEnd(text, start, end);
  if (end - start > 1 && IsWide(text[end - 1]) && IsClosing(text[end - 1])) --end;
  return end;
}

}  // namespace

CaptionLayout LayOutCaption(const QString& text, const QFont& font, qreal pitch, qreal width) {
  const QFontMetricsF metrics(font);
  // One measurement per character, summed: Chinese text may break before almost any character,
  // so measuring every candidate line afresh would cost the square of the text's length.
  std::vector<qreal> x(static_cast<std::size_t>(text.size()) + 1, 0);
  for (qsizetype i = 0; i < text.size(); ++i) {
    qreal advance = 0;
    if (text[i].isHighSurrogate() && i + 1 < text.size())
      advance = metrics.horizontalAdvance(text.mid(i, 2));
    else if (!text[i].isLowSurrogate())
      advance = metrics.horizontalAdvance(text[i]);
    x[static_cast<std::size_t>(i) + 1] = x[static_cast<std::size_t>(i)] + advance;
  }
  const auto measure = [&](qsizetype from, qsizetype to) {
    return x[static_cast<std::size_t>(to)] - x[static_cast<std::size_t>(from)];
  };
  CaptionLayout layout;
  layout.pitch = pitch;
  qsizetype start = 0;
  while (start < text.size()) {
    // The furthest break that still fits; the spaces it breaks at hang past the edge.
    qsizetype end = -1;
    for (qsizetype i = start + 1; i <= text.size(); ++i) {
      if (i < text.size() && !BreakBefore(text, i)) continue;
      if (measure(start, FittingEnd(text, start, i)) > width) break;
      end = i;
    }
    if (end < 0) {
      // A word wider than the box is broken wherever it must be, one character at least.
      end = start + 1;
      while (end < text.size() && measure(start, end + 1) <= width) ++end;
      if (end < text.size() && text[end - 1].isHighSurrogate()) ++end;
    }
    const qsizetype trimmed = TrimmedEnd(text, start, end);
    layout.lines.push_back({start, trimmed - start, measure(start, trimmed)});
    start = end;
  }
  return layout;
}

void DrawCaption(QPainter& painter, const QString& text, const QFont& font,
                 const CaptionLayout& layout, const QRectF& box, Qt::Alignment alignment) {
  if (text.isEmpty()) return;
  const qreal pitch = layout.pitch;
  const QFontMetricsF metrics(font);
  // The face's own ascent and descent, centred in the line pitch.
  const qreal baseline = metrics.ascent() - (metrics.height() - pitch) / 2;
  painter.save();
  painter.setClipRect(box);
  painter.setFont(font);
  qreal top = box.top();
  for (const CaptionLine& line : layout.lines) {
    if (top >= box.bottom()) break;
    qreal x = box.left();
    if (alignment & Qt::AlignHCenter) x += (box.width() - line.width) / 2;
    else if (alignment & Qt::AlignRight) x += box.width() - line.width;
    painter.drawText(QPointF(x, top + baseline), text.mid(line.start, line.length));
    top += pitch;
  }
  painter.restore();
}

}  // namespace forms
