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

struct TextUse {
  const char* name;
  std::string_view text;
  int length;  // code points, indent included: what the label was laid out for
  int indent;  // leading ordinary spaces
};

std::vector<TextUse> Uses() {
  const auto& il = kIllusions;
  // clang-format off
  return {
      {"menu paragraph", kMenuIntro, 91, 5},
      {"eye structure title", kEyeStructureTitle, 5, 0},
      {"eye working title", kEyeWorkingTitle, 5, 0},
      {"paragraph A", kParagraphA, 98, 5},
      {"paragraph B", kParagraphB, 134, 5},
      {"paragraph C", kParagraphC, 97, 5},
      {"paragraph D", kParagraphD, 111, 5},
      {"right eye", kRightEyeInstruction, 39, 0},
      {"left eye", kLeftEyeInstruction, 35, 0},
      {"senses title", kSensesTitle, 31, 0},
      {"senses paragraph", kSensesParagraph, 211, 7},
      {"illusion title", kIllusionTitle, 21, 0},
      {"illusion paragraph", kIllusionParagraph, 193, 7},
      {"index prompt", kIndexPrompt, 14, 0},
      {"q0", il[0].question, 27, 0},  {"e0", il[0].explanation, 58, 0},
      {"q1", il[1].question, 13, 0},  {"e1", il[1].explanation, 31, 0},
      {"q2", il[2].question, 25, 0},  {"e2", il[2].explanation, 32, 0},
      {"q3", il[3].question, 39, 0},  {"e3", il[3].explanation, 26, 0},
      {"q4", il[4].question, 11, 0},  {"e4", il[4].explanation, 31, 0},
      {"q5", il[5].question, 81, 0},  {"e5", il[5].explanation, 32, 0},
      {"q6", il[6].question, 83, 0},  {"e6", il[6].explanation, 35, 0},
      {"q7", il[7].question, 110, 0}, {"e7", il[7].explanation, 35, 0},
      {"q8", il[8].question, 41, 0},  {"e8", il[8].explanation, 75, 0},
      {"q9", il[9].question, 20, 0},  {"e9", il[9].explanation, 39, 0},
  };
  // clang-format on
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
  void texts_data();
  void texts();
  void afterimages();
  void pictureNames();
  void pictureDescriptions();
};

void TestContent::texts_data() {
  QTest::addColumn<int>("row");
  const auto uses = Uses();
  for (int i = 0; i < static_cast<int>(uses.size()); ++i) QTest::newRow(uses[i].name) << i;
}

void TestContent::texts() {
  QFETCH(int, row);
  const TextUse use = Uses()[row];
  bool ok = false;
  const QString text = Decode(use.text, &ok);
  QVERIFY2(ok, "not valid UTF-8");
  QCOMPARE(text.toUcs4().size(), use.length);
  for (int i = 0; i < use.indent; ++i) QCOMPARE(text.at(i), QChar(' '));
  QVERIFY2(!text.at(use.indent).isSpace(), "indent longer than expected");
  CheckTypography(text);
}

// The three afterimage pages say the same thing in the same words, apart from what to look at.
void TestContent::afterimages() {
  bool ok = false;
  QString bulb = Decode(kIllusions[5].question, &ok);
  QCOMPARE(bulb.count(QStringLiteral("燈泡")), 1);
  QCOMPARE(bulb.replace(QStringLiteral("燈泡"), QStringLiteral("十字符號")),
           Decode(kIllusions[6].question, &ok));
  // Each explanation asks what the pupil saw, then gives the same reason.
  auto reason = [&ok](std::string_view explanation) {
    const QString text = Decode(explanation, &ok);
    return text.mid(text.indexOf(QChar(u'？')) + 1);
  };
  QVERIFY(reason(kIllusions[5].explanation).size() > 10);
  QCOMPARE(reason(kIllusions[6].explanation), reason(kIllusions[5].explanation));
  QCOMPARE(reason(kIllusions[7].explanation), reason(kIllusions[5].explanation));
}

// Every picture is a plain file name after the backslash, a JPEG or a GIF, named once.
void TestContent::pictureNames() {
  QSet<std::string_view> seen;
  for (std::string_view picture : kPictures) {
    QVERIFY2(picture.starts_with('\\') && picture.size() > 5, picture.data());
    QVERIFY2(picture.find_first_of("\\/: ", 1) == std::string_view::npos, picture.data());
    QVERIFY2(picture.ends_with(".jpg") || picture.ends_with(".gif"), picture.data());
    QVERIFY2(!seen.contains(picture), picture.data());
    seen.insert(picture);
  }
  QVERIFY(!seen.contains(kOptical));
}

// What a screen reader says in place of each picture: a short phrase of Traditional Chinese,
// different for every picture, and nothing for a name that is not a picture.
void TestContent::pictureDescriptions() {
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

  QVERIFY(DescribePicture("").empty());
  QVERIFY(DescribePicture("\\missing.jpg").empty());
  QVERIFY(DescribePicture("bg.jpg").empty());  // the leading backslash is part of the name
  QVERIFY(DescribePicture(kOptical).empty());  // a program, not a picture
}

QTEST_MAIN(TestContent)
#include "test_content.moc"
