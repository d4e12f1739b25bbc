#include "forms/fonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QStringList>

namespace forms {

void InstallFontSubstitutions() {
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

}  // namespace

QFont MakeFont(const pagedesc::FontSpec& described) {
  const QString family = QUtf8StringView(described.family).toString();
  QFont font(family);
  // The stand-ins draw Latin letters poorly (an l is hard to tell from a 1), and the lessons
  // carry English terms: Latin letters and digits come from the serif face, the rest from the
  // Chinese one.
  if (described.charset == pagedesc::kCharsetBig5 && !RealFaceInstalled(family))
    font.setFamilies({QStringLiteral("Times New Roman"), family});
  font.setPointSizeF(described.Points());
  font.setWeight(described.weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setUnderline(described.underline);
  font.setItalic(described.italic);
  font.setStrikeOut(described.strikethrough);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

TextStyle MakeTextStyle(const pagedesc::FontSpec& described) {
  TextStyle style;
  style.font = MakeFont(described);
  const QFontMetricsF metrics(style.font);
  if (described.charset == pagedesc::kCharsetBig5) {
    style.pitch = QFontInfo(style.font).pixelSize();
    style.space = style.pitch / 2;
  } else {
    style.pitch = metrics.height();
    style.space = metrics.horizontalAdvance(QLatin1Char(' '));
  }
  return style;
}

void PrepareFonts(const std::vector<std::pair<QFont, QString>>& fonts) {
  const qreal ratio =
      QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio() : 1.0;
  QImage scratch(QSize(160, 160) * ratio, QImage::Format_ARGB32_Premultiplied);
  scratch.setDevicePixelRatio(ratio);
  scratch.fill(Qt::transparent);
  QPainter painter(&scratch);
  for (const auto& [font, characters] : fonts) {
    painter.setFont(font);
    // One character at a time, inside the image, so that none is skipped as invisible.
    for (const QChar c : characters) painter.drawText(QPointF(4, 100), QString(c));
  }
}

}  // namespace forms
