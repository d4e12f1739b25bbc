#include "forms/fonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QScreen>
#include <QStringList>
#include <algorithm>
#include <map>
#include <tuple>

namespace forms {

void InstallFontSubstitutions() {
  // The Chinese stand-ins have no bold face, and Qt makes up bold only for glyphs under 64
  // pixels: the title page's 72-point heading, and every heading at twice the size, would be
  // drawn regular. Larger glyphs are drawn as outlines, which Qt emboldens as well once told to.
  qputenv("QT_NO_SYNTHESIZED_BOLD_LIMIT", "1");
  // The real face first, as on Windows, then the Debian stand-ins (line spacing close to the
  // originals, so lesson texts fit their labels), then Noto as a last resort.
  QFont::insertSubstitutions(QStringLiteral("新細明體"),
                             {QStringLiteral("PMingLiU"), QStringLiteral("AR PL UMing TW"),
                              QStringLiteral("Noto Serif CJK TC")});
  QFont::insertSubstitutions(QStringLiteral("標楷體"),
                             {QStringLiteral("DFKai-SB"), QStringLiteral("AR PL UKai TW"),
                              QStringLiteral("Noto Serif CJK TC")});
  QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                             {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                              QStringLiteral("DejaVu Serif")});
}

namespace {

// Whether the face a Chinese family names is installed itself, not only a stand-in.
bool RealFaceInstalled(const QString& family) {
  static const QStringList real = {QStringLiteral("新細明體"), QStringLiteral("PMingLiU"),
                                   QStringLiteral("標楷體"), QStringLiteral("DFKai-SB")};
  return real.contains(QFontInfo(QFont(family)).family());
}

// The vertical extent of a face's ink, in ems from the baseline, downwards positive.
struct Ink {
  qreal top = 0, bottom = 0;
  qreal Extent() const { return bottom - top; }
  qreal Middle() const { return (top + bottom) / 2; }
};

struct Face {
  Ink ink;
  qreal scale = 1;  // of the described size
};

// Full characters that reach the top and the bottom of the square, and Latin letters with
// ascenders, descenders and brackets: between them they span a face's lines of ink.
const QString kHanSample = QStringLiteral("國體驚靈龍鬱圍開關眼睛視覺錯盲點");
const QString kLatinSample = QStringLiteral("bdfhklgjpqy()[]|");

// The share of the em that the stand-ins' ink may take. Lines are set one em apart, as the
// designed faces are; an eighth of the em left between lines of ink holds the growth of
// synthetic bold (a twenty-fourth) and still leaves a clear pixel row at lesson sizes.
constexpr qreal kInkShare = 0.875;

Ink MeasureInk(const QString& family, const QString& sample) {
  QFont font(family);
  font.setPixelSize(1000);
  const QRawFont raw = QRawFont::fromFont(font);
  Ink ink;
  for (const quint32 glyph : raw.glyphIndexesForString(sample)) {
    const QRectF r = raw.boundingRect(glyph);
    ink.top = std::min(ink.top, r.top() / 1000);
    ink.bottom = std::max(ink.bottom, r.bottom() / 1000);
  }
  return ink;
}

// The face a font resolves to, measured once: the stand-ins are drawn at the size that brings
// their ink to the designed share of the em; a real designed face keeps its size.
const Face* FaceOf(const QFont& font) {
  static const std::map<QString, Face> faces = [] {
    static const QStringList real = {QStringLiteral("PMingLiU"), QStringLiteral("DFKai-SB"),
                                     QStringLiteral("Times New Roman")};
    const std::pair<QString, QString> designedFaces[] = {
        {QStringLiteral("新細明體"), kHanSample},
        {QStringLiteral("標楷體"), kHanSample},
        {QStringLiteral("Times New Roman"), kLatinSample}};
    std::map<QString, Face> measured;
    for (const auto& [designed, sample] : designedFaces) {
      const QString family = QFontInfo(QFont(designed)).family();
      const Ink ink = MeasureInk(family, sample);
      const bool isReal = real.contains(family) || family == designed;
      const qreal scale = isReal || ink.Extent() <= 0 ? 1 : std::min(1.0, kInkShare / ink.Extent());
      measured.emplace(family, Face{ink, scale});
    }
    return measured;
  }();
  const auto it = faces.find(QFontInfo(font).family());
  return it == faces.end() ? nullptr : &it->second;
}

// The stand-ins fill more of the em than the faces the pages were designed with, so lines of
// ink one em apart would touch. Each face is drawn smaller, by what its own glyphs need, and
// keeps the described advance, so that lines still break where they were designed to; Latin
// letters, from their own face, are raised to share the Chinese characters' band of ink.
void DrawStandInsSmaller(TextStyle& style) {
  const QFont mixed = style.font;
  QFont chinese = mixed, latin = mixed;
  chinese.setFamilies({mixed.families().at(1)});
  latin.setFamilies({mixed.families().at(0)});
  const Face* han = FaceOf(chinese);
  const Face* roman = FaceOf(latin);
  if (!han || !roman) return;
  const QChar full = kHanSample.front();
  // The designed faces set a full character one em wide (at any scale). Measured, the stand-in's
  // advance can be a pixel more (GDI on Windows rounds it up, and widens synthetic bold).
  const qreal advance = style.pitch;
  chinese.setPointSizeF(mixed.pointSizeF() * han->scale);
  chinese.setLetterSpacing(QFont::AbsoluteSpacing,
                           advance - QFontMetricsF(chinese).horizontalAdvance(full));
  latin.setPointSizeF(mixed.pointSizeF() * roman->scale);
  latin.setLetterSpacing(QFont::PercentageSpacing, 100 / roman->scale);
  style.font = chinese;
  style.latin = latin;
  style.latinRise =
      style.pitch * (roman->scale * roman->ink.Middle() - han->scale * han->ink.Middle());
}

}  // namespace

QFont MakeFont(const pagedesc::FontSpec& described, double scale) {
  const QString family = QUtf8StringView(described.family).toString();
  QFont font(family);
  // The stand-ins draw Latin letters poorly (an l is hard to tell from a 1), and the lessons
  // carry English terms: Latin letters and digits come from the serif face, the rest from the
  // Chinese one.
  if (described.charset == pagedesc::kCharsetBig5 && !RealFaceInstalled(family))
    font.setFamilies({QStringLiteral("Times New Roman"), family});
  font.setPointSizeF(described.Points() * scale);
  font.setWeight(described.weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setUnderline(described.underline);
  font.setItalic(described.italic);
  font.setStrikeOut(described.strikethrough);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

TextStyle MakeTextStyle(const pagedesc::FontSpec& described, double scale) {
  TextStyle style;
  style.font = MakeFont(described, scale);
  const QFont designed = scale == 1 ? style.font : MakeFont(described);
  const QFontMetricsF metrics(designed);
  if (described.charset == pagedesc::kCharsetBig5) {
    style.pitch = QFontInfo(designed).pixelSize() * scale;
    style.space = style.pitch / 2;
    // MakeFont puts a Latin face before the Chinese one only where that is a stand-in.
    if (style.font.families().size() > 1) DrawStandInsSmaller(style);
  } else {
    style.pitch = metrics.height() * scale;
    style.space = metrics.horizontalAdvance(QLatin1Char(' ')) * scale;
  }
  // Qt draws glyphs above 64 pixels from their outlines instead of keeping them.
  const auto large = [](const QFont& f) { return QFontInfo(f).pixelSize() > 64; };
  style.large = large(style.font) || (style.latin && large(*style.latin));
  return style;
}

FontKey KeyOf(const pagedesc::FontSpec& d) {
  return {d.family, d.size, d.weight, d.underline, d.italic, d.strikethrough, d.charset};
}

namespace {

// Made on first use, then kept.
template <typename T, typename Make>
const T& Kept(std::map<std::pair<FontKey, double>, T>& kept, const pagedesc::FontSpec& described,
              double scale, Make make) {
  const std::pair key(KeyOf(described), scale);
  const auto found = kept.find(key);
  if (found != kept.end()) return found->second;
  return kept.emplace(key, make(described, scale)).first->second;
}

}  // namespace

const TextStyle& TextStyleOf(const pagedesc::FontSpec& described, double scale) {
  static std::map<std::pair<FontKey, double>, TextStyle> styles;
  return Kept(styles, described, scale, MakeTextStyle);
}

const QFont& FontOf(const pagedesc::FontSpec& described, double scale) {
  static std::map<std::pair<FontKey, double>, QFont> fonts;
  return Kept(fonts, described, scale, [](const pagedesc::FontSpec& d, double s) {
    QFont font = MakeFont(d, s);
    // Opened at once, so that this font, kept, holds its faces: buttons draw in copies of it,
    // which go with their page, and Qt would drop the faces and their glyphs with the last.
    // Only what the faces have: a Chinese character in a Latin face sends Qt to a fallback.
    const bool chinese = d.charset == pagedesc::kCharsetBig5;
    QFontMetricsF(font).horizontalAdvance(chinese ? QStringLiteral("A\u773C")
                                                  : QStringLiteral("A"));
    return font;
  });
}

void PrepareFonts(const std::vector<FontSample>& samples) {
  // Text is drawn in the screen's own pixels, in fonts of the described size times its ratio.
  const qreal ratio =
      QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio() : 1.0;
  QImage scratch(QSize(160, 160) * ratio, QImage::Format_ARGB32_Premultiplied);
  scratch.fill(Qt::transparent);
  QPainter painter(&scratch);
  for (const FontSample& sample : samples) {
    std::vector<QFont> faces;
    const QFont* latinFace = nullptr;
    if (sample.asLabel) {
      const TextStyle& style = TextStyleOf(*sample.described, ratio);
      faces.push_back(style.font);
      if (style.latin) faces.push_back(*style.latin), latinFace = &*style.latin;
    } else {
      faces.push_back(FontOf(*sample.described, ratio));
    }
    for (const QFont& face : faces) {
      painter.setFont(face);
      // Only what the face has: asking a Latin face about a Chinese character, or drawing one
      // with it, would send Qt looking for a fallback face.
      const bool latin = latinFace && face == *latinFace;
      const QFontMetricsF metrics(face);
      // One character at a time, inside the image, so that none is skipped as invisible. Glyphs
      // are cached for each quarter of a pixel a character starts at, and lines start anywhere:
      // all four are warmed (about 1.3 MiB more than one, and a first visit twice as quick).
      for (const QChar c : sample.characters)
        if (!latin || (c.unicode() < 0x2E80 && metrics.inFont(c)))
          for (const qreal quarter : {0.0, 0.25, 0.5, 0.75})
            painter.drawText(QPointF(4 + quarter, 100 * ratio), QString(c));
    }
  }
}

}  // namespace forms
