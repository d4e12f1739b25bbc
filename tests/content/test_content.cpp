// The course texts and picture descriptions: the lengths and indents the labels are laid out
// for, clean Traditional Chinese typography, and a description for every picture of the list.
#include <QSet>
#include <QStringDecoder>
#include <QTest>
#include <string_view>
#include <vector>

#include "content/assets.h"
#include "content/texts.h"

using namespace content;

namespace {

QString Decode(std::string_view text, bool* ok) {
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString decoded = decoder(QByteArrayView(text.data(), text.size()));
  *ok = !decoder.hasError();
  return decoded;
}

// Simplified forms of characters the course uses; none may slip in.
const QString kSimplified =
    QStringLiteral("视网脑觉经图这们颜动画标钮点变为样对实际号时过见传进闭开头讯区发应决运构络细");

// What every text the pupil sees or hears must keep: one line, full-width punctuation,
// Traditional characters, English only inside full-width parentheses or corner brackets.
void CheckTypography(const QString& text) {
  QVERIFY(!text.contains('\n') && !text.contains('\r'));
  QVERIFY2(!text.contains('&'), "an ampersand would turn into a mnemonic");
  for (QChar c : QStringLiteral("(),.!?;:"))
    QVERIFY2(!text.contains(c),
             qPrintable(QStringLiteral("ASCII '%1' instead of full-width").arg(c)));
  for (QChar c : kSimplified)
    QVERIFY2(!text.contains(c), qPrintable(QStringLiteral("simplified character %1").arg(c)));
  int open = 0;
  for (QChar c : text) {
    if (c == QChar(u'（') || c == QChar(u'「')) ++open;
    if (c == QChar(u'）') || c == QChar(u'」')) --open;
    QVERIFY(open >= 0);
    if (c.isLetter() && c.unicode() < 0x80)
      QVERIFY2(open > 0, "English outside full-width parentheses");
  }
  QCOMPARE(open, 0);
}

}  // namespace

class TestContent : public QObject {
  Q_OBJECT

 private slots:
  // Every text the pupil sees or hears: valid UTF-8, its paragraph indent of ordinary spaces
  // only, and the typography above.
  void texts() {
    std::vector<std::string_view> all = AllTexts();
    for (std::string_view spoken : SpokenTexts()) all.push_back(spoken);
    for (std::string_view raw : all) {
      bool ok = false;
      const QString text = Decode(raw, &ok);
      QVERIFY2(ok, "not valid UTF-8");
      // An indent is ordinary spaces, which the labels' layout counts; nothing trails.
      QVERIFY2(!text.isEmpty() && !text.back().isSpace(), qPrintable(text));
      for (qsizetype i = 0; text.at(i).isSpace(); ++i) QCOMPARE(text.at(i), QChar(' '));
      CheckTypography(text);
    }
  }

  // What a screen reader says in place of each picture: a short phrase of Traditional Chinese,
  // different for every picture; nothing for the program.
  void pictureDescriptions() {
    QSet<QString> seen;
    for (std::string_view picture : kPictures) {
      bool ok = false;
      const QString text = Decode(DescribePicture(picture), &ok);
      QVERIFY2(ok, picture.data());
      const qsizetype length = text.toUcs4().size();
      QVERIFY2(length >= 6 && length <= 60,
               qPrintable(QString("%1: %2 characters").arg(picture.data()).arg(length)));
      int han = 0;
      for (uint c : text.toUcs4()) han += QChar::script(c) == QChar::Script_Han;
      QVERIFY2(han * 4 >= length * 3, picture.data());  // Chinese, not a file name or English
      CheckTypography(text);
      seen.insert(text);
    }
    QCOMPARE(seen.size(), static_cast<qsizetype>(kPictures.size()));
    QVERIFY(DescribePicture(kOptical).empty());  // a program, not a picture
  }
};

QTEST_MAIN(TestContent)
#include "test_content.moc"
