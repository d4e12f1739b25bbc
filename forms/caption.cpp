#include "forms/caption.h"

#include <QFontMetricsF>
#include <QImage>
#include <deque>
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
bool IsClosing(QChar c) { return QStringView(u"，。、；：！？）」』》〉】,.;:!?)").contains(c); }
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

// Which face draws each character, and how far it advances. The fonts may carry letter
// spacing (stand-ins drawn smaller keep the designed advance), which QFontMetricsF leaves out
// when it measures a single character.
class Faces {
 public:
  explicit Faces(const TextStyle& style)
      : main_(style.font),
        latin_(style.latin.value_or(style.font)),
        split_(style.latin.has_value()) {}

  bool IsLatin(QChar c) const {
    return split_ && !IsWide(c) && !c.isSurrogate() && latin_.metrics.inFont(c);
  }
  qreal Advance(QChar c) const { return IsLatin(c) ? latin_.Advance(c) : main_.Advance(c); }

 private:
  struct Face {
    explicit Face(const QFont& f)
        : metrics(f),
          spacing(f.letterSpacing()),
          absolute(f.letterSpacingType() == QFont::AbsoluteSpacing) {}
    qreal Advance(QChar c) const {
      const qreal a = metrics.horizontalAdvance(c);
      if (absolute) return a + spacing;
      return spacing > 0 ? a * spacing / 100 : a;
    }
    QFontMetricsF metrics;
    qreal spacing;
    bool absolute;
  };
  Face main_, latin_;
  bool split_;
};

}  // namespace

CaptionLayout LayOutCaption(const QString& text, const TextStyle& style, qreal width) {
  const QFontMetricsF metrics(style.font);
  const Faces faces(style);
  // One measurement per character, summed: Chinese text may break before almost any character,
  // so measuring every candidate line afresh would cost the square of the text's length.
  std::vector<qreal> x(static_cast<std::size_t>(text.size()) + 1, 0);
  for (qsizetype i = 0; i < text.size(); ++i) {
    qreal advance = 0;
    if (text[i].isHighSurrogate() && i + 1 < text.size())
      advance = metrics.horizontalAdvance(text.mid(i, 2));
    else if (text[i] == QLatin1Char(' '))
      // Between Latin words a space is the Latin face's; as an indent or beside Chinese text
      // it is the Chinese face's.
      advance = i > 0 && text[i - 1] != QLatin1Char(' ') && !IsWide(text[i - 1])
                    ? faces.Advance(QLatin1Char(' '))
                    : style.space;
    else if (!text[i].isLowSurrogate())
      advance = faces.Advance(text[i]);
    x[static_cast<std::size_t>(i) + 1] = x[static_cast<std::size_t>(i)] + advance;
  }
  const auto measure = [&](qsizetype from, qsizetype to) {
    return x[static_cast<std::size_t>(to)] - x[static_cast<std::size_t>(from)];
  };
  CaptionLayout layout;
  layout.pitch = style.pitch;
  qsizetype start = 0;
  while (start < text.size()) {
    // The furthest break that still fits; the spaces it breaks at hang past the edge.
    qsizetype end = -1;
    for (qsizetype i = start + 1; i <= text.size(); ++i) {
      if (i < text.size() && !BreakBefore(text, i)) continue;
      const qsizetype trimmed = TrimmedEnd(text, start, i);
      const qreal used = measure(start, trimmed);
      // A closing mark at the end may hang into the margin, as in printed Chinese, when at
      // least its half (where its ink is) stays inside the box; otherwise it moves down with
      // the character before it.
      const bool hangs = trimmed - start > 1 && IsWide(text[trimmed - 1]) &&
                         IsClosing(text[trimmed - 1]) &&
                         used - width <= measure(trimmed - 1, trimmed) / 2;
      if (used > width && !hangs) break;
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
  layout.x = std::move(x);
  return layout;
}

namespace {

// The lines of a caption, in the painter's own pixels, inside the area.
void DrawLines(QPainter& painter, const QString& text, const TextStyle& style,
               const CaptionLayout& layout, const QRectF& area, Qt::Alignment alignment,
               qreal scale) {
  const qreal pitch = layout.pitch * scale;
  const QFontMetricsF metrics(style.font);
  const Faces faces(style);
  // The face's own ascent and descent, centred in the line pitch.
  const qreal baseline = metrics.ascent() - (metrics.height() - pitch) / 2;
  // A face drawn smaller than its advance sits in the middle of it.
  const qreal centring =
      style.font.letterSpacingType() == QFont::AbsoluteSpacing ? style.font.letterSpacing() / 2 : 0;
  painter.setClipRect(area);
  qreal top = area.top();
  for (const CaptionLine& line : layout.lines) {
    if (top >= area.bottom()) break;
    qreal left = area.left();
    if (alignment & Qt::AlignHCenter)
      left += (area.width() - line.width * scale) / 2;
    else if (alignment & Qt::AlignRight)
      left += area.width() - line.width * scale;
    // Runs between spaces and between faces, each where the layout put it: spaces keep the
    // Chinese face's width.
    const qsizetype end = line.start + line.length;
    for (qsizetype run = line.start; run < end;) {
      if (text[run] == QLatin1Char(' ')) {
        ++run;
        continue;
      }
      const bool latin = faces.IsLatin(text[run]);
      qsizetype stop = run;
      while (stop < end && text[stop] != QLatin1Char(' ') && faces.IsLatin(text[stop]) == latin)
        ++stop;
      const qreal x = left + layout.x[static_cast<std::size_t>(run)] * scale -
                      layout.x[static_cast<std::size_t>(line.start)] * scale;
      painter.setFont(latin ? *style.latin : style.font);
      const QPointF at = latin ? QPointF(x, top + baseline - style.latinRise)
                               : QPointF(x + centring, top + baseline);
      painter.drawText(at, text.mid(run, stop - run));
      run = stop;
    }
    top += pitch;
  }
}

// Qt keeps the glyphs it draws up to 64 pixels and draws larger ones from their outlines every
// time, which takes milliseconds for a heading at full screen. Headings that large are drawn
// once and kept as pictures, the last few of them: as many as a page change meets.
QImage LargeCaption(const QString& text, const TextStyle& style, const CaptionLayout& layout,
                    QSize size, Qt::Alignment alignment, QColor colour, qreal scale) {
  struct Kept {
    QString text;
    const TextStyle* style;
    QSize size;
    Qt::Alignment alignment;
    QRgb colour;
    qreal scale;
    QImage image;
  };
  constexpr std::size_t kKept = 16;
  static std::deque<Kept> kept;  // the most recent first
  for (auto it = kept.begin(); it != kept.end(); ++it)
    if (it->style == &style && it->size == size && it->alignment == alignment &&
        it->colour == colour.rgba() && it->scale == scale && it->text == text) {
      Kept found = *it;
      kept.erase(it);
      kept.push_front(found);
      return found.image;
    }
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setPen(colour);
  DrawLines(painter, text, style, layout, QRectF(QPointF(0, 0), QSizeF(size)), alignment, scale);
  painter.end();
  kept.push_front({text, &style, size, alignment, colour.rgba(), scale, image});
  if (kept.size() > kKept) kept.pop_back();
  return image;
}

}  // namespace

void DrawCaption(QPainter& painter, const QString& text, const TextStyle& style,
                 const CaptionLayout& layout, const QRectF& box, Qt::Alignment alignment,
                 qreal scale) {
  if (text.isEmpty()) return;
  painter.save();
  // In the device's own pixels: Qt emboldens a glyph drawn through a scaling transform (a
  // screen's device pixel ratio) by what its unscaled size needs, half as much at twice the size.
  const qreal ratio = painter.device()->devicePixelRatioF();
  if (ratio != 1) painter.scale(1 / ratio, 1 / ratio);
  const QRectF area(box.topLeft() * ratio, box.size() * ratio);
  if (scale != 1 && style.large) {
    const QRect at = area.toAlignedRect();
    painter.drawImage(at.topLeft(), LargeCaption(text, style, layout, at.size(), alignment,
                                                 painter.pen().color(), scale));
  } else {
    DrawLines(painter, text, style, layout, area, alignment, scale);
  }
  painter.restore();
}

}  // namespace forms
