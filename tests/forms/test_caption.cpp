// How labels break their lines.
#include <QApplication>
#include <QTest>

#include "forms/caption.h"
#include "forms/fonts.h"
#include "pagedesc/rows.h"
#include "tests/support/main.h"

namespace {

QStringList Lines(const QString& text, const pagedesc::FontSpec& described, qreal width) {
  const forms::TextStyle style = forms::MakeTextStyle(described);
  const forms::CaptionLayout layout = forms::LayOutCaption(text, style, width);
  QStringList lines;
  for (const forms::CaptionLine& l : layout.lines) lines << text.mid(l.start, l.length);
  return lines;
}

}  // namespace

class CaptionTest : public QObject {
  Q_OBJECT
 private slots:
  void chineseBreaksBetweenAnyCharacters() {
    // 14.25 pt is 19 px an em: five characters to a 95 px line.
    const QStringList lines =
        Lines(QStringLiteral("眼睛是人類接收視覺的重要感覺器官"), pagedesc::rows::Ming1425, 95);
    QCOMPARE(lines, QStringList({"眼睛是人類", "接收視覺的", "重要感覺器", "官"}));
  }

  void punctuationKeepsToItsWord() {
    // A comma never opens a line; an opening bracket never closes one.
    for (const QStringList& lines :
         {Lines(QStringLiteral("甲乙丙丁戊，己庚"), pagedesc::rows::Ming1425, 95),
          Lines(QStringLiteral("甲乙丙丁「戊」己"), pagedesc::rows::Ming1425, 95)}) {
      for (const QString& line : lines) {
        QVERIFY2(!line.startsWith(QStringLiteral("，")) && !line.startsWith(QStringLiteral("」")),
                 qPrintable(lines.join('|')));
        QVERIFY2(!line.endsWith(QStringLiteral("「")), qPrintable(lines.join('|')));
      }
    }
    // With room for half of it, the comma hangs at the end of the full line.
    QCOMPARE(Lines(QStringLiteral("甲乙丙丁戊，己庚"), pagedesc::rows::Ming1425, 105).first(),
             QStringLiteral("甲乙丙丁戊，"));
  }

  void latinBreaksAtSpacesAndLongWordsAnywhere() {
    const QStringList words =
        Lines(QStringLiteral("Sensory Organs and Senses"), pagedesc::rows::Ming1425, 80);
    for (const QString& line : words) QVERIFY(!line.startsWith(' ') && !line.endsWith(' '));
    QCOMPARE(words.join(' '), QStringLiteral("Sensory Organs and Senses"));
    const QStringList long_ = Lines(QString(30, QLatin1Char('W')), pagedesc::rows::Ming1425, 60);
    QVERIFY(long_.size() > 1);
    QCOMPARE(long_.join(QString()), QString(30, QLatin1Char('W')));
  }

  void indentAndPitchFollowTheDesignedFace() {
    const forms::TextStyle style = forms::MakeTextStyle(pagedesc::rows::Ming1425);
    QCOMPARE(style.pitch, 19.0);  // one em
    const forms::CaptionLayout layout = forms::LayOutCaption(QStringLiteral("     眼"), style, 400);
    QCOMPARE(layout.x[5], 47.5);  // five half-em spaces before the first character
    QCOMPARE(layout.Height(), 19.0);
  }
};

LUMORA_TEST_MAIN(CaptionTest)
#include "test_caption.moc"
