// The course texts and picture descriptions: exact lengths and indents, the wording that must not
// drift, clean Traditional Chinese typography.
#include <QSet>
#include <QStringDecoder>
#include <QTest>
#include <string_view>
#include <vector>

#include "content/assets.h"
#include "content/texts.h"

using namespace content;

namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct TextUse {
  const char* name;
  std::string_view text;
  int length;                // code points, indent included
  int indent;                // leading ordinary spaces
  std::string_view opening;  // wording the text must start with; the whole text when fixed
};

std::vector<TextUse> Uses() {
  const auto& il = kIllusions;
  // clang-format off
  return {
      {"menu paragraph", kMenuIntro, 91, 5, ""},
      {"eye structure title", kEyeStructureTitle, 5, 0, "眼睛的構造"},
      {"eye working title", kEyeWorkingTitle, 5, 0, "眼睛的運作"},
      {"paragraph A", kParagraphA, 98, 5, ""},
      {"paragraph B", kParagraphB, 134, 5, ""},
      {"paragraph C", kParagraphC, 97, 5, ""},
      {"paragraph D", kParagraphD, 111, 5, ""},
      {"right eye", kRightEyeInstruction, 39, 0,
       "右眼－用左手遮掩你的左眼，然後用右眼直視下圖中的「十」字符號，按「右眼」按鈕。"},
      {"left eye", kLeftEyeInstruction, 35, 0,
       "左眼－用右手遮掩你的右眼，然後用左眼直視下圖中的黑點，按「左眼」按鈕。"},
      {"senses title", kSensesTitle, 31, 0, "腦部與感覺（The Brain and the Senses）"},
      {"senses paragraph", kSensesParagraph, 211, 7, ""},
      {"illusion title", kIllusionTitle, 21, 0, "視錯覺（Optical Illusion）"},
      {"illusion paragraph", kIllusionParagraph, 193, 7, ""},
      {"index prompt", kIndexPrompt, 14, 0, "以下是一些「視錯覺」的圖像："},
      {"q0", il[0].question, 27, 0, "試分辨圖中第一個小正方形與最後一個小正方形的顏色差異！"},
      {"e0", il[0].explanation, 58, 0, "實際上，四個小正方形的顏色都是相同的！"},
      {"q1", il[1].question, 13, 0, "看見正方形間灰色的小點嗎？"},
      {"e1", il[1].explanation, 31, 0,
       "其實灰色小點並不存在！黑白、 光暗的強烈對比，產生了錯覺效果。"},
      {"q2", il[2].question, 25, 0, "試注視圖中任何一小白點，留意到其他小白點的變化嗎？"},
      {"e2", il[2].explanation, 32, 0,
       "四周的小白點變成灰色了！黑白、 光暗的強烈對比，產生了錯覺效果。"},
      {"q3", il[3].question, 39, 0,
       "圖中有一個由兩條斜線組成的英文字母「X」，試分辨兩條斜線中紅色方格的顏色差異。"},
      {"e3", il[3].explanation, 26, 0, "其實圖中所有紅色方格的顏色都是一樣的！試看看放大圖。"},
      {"q4", il[4].question, 11, 0, "此圖東倒西歪的，對嗎？"},
      {"e4", il[4].explanation, 31, 0,
       "其實圖中的所有縱線都是平行的，而橫線也是平行的！再看看此幅圖。"},
      {"q5", il[5].question, 81, 0, ""},
      {"e5", il[5].explanation, 32, 0,
       "看到亮著了的燈泡嗎？這是視覺的殘留影像，電影播放也是用此原理的。"},
      {"q6", il[6].question, 83, 0, ""},
      {"e6", il[6].explanation, 35, 0,
       "看到了顏色不同的正方塊嗎？這是視覺的殘留影像，電影播放也是用此原理的。"},
      {"q7", il[7].question, 110, 0, ""},
      {"e7", il[7].explanation, 35, 0,
       "看到了自己的皮膚在浮動嗎？這是視覺的殘留影像，電影播放也是用此原理的。"},
      {"q8", il[8].question, 41, 0, "這是一幅經典的視錯覺圖像，"},
      {"e8", il[8].explanation, 75, 0, "這就是包含多種看法的圖像，"},
      {"q9", il[9].question, 20, 0, "這是什麼？按下方的「下一步」按鈕再看看！"},
      {"e9", il[9].explanation, 39, 0,
       "原來的骷髏頭變成了美女！這就是包含多種看法的圖像，遠看與近看會見到不同的影像。"},
  };
  // clang-format on
}

// Simplified forms of characters the course uses; none may slip in.
const QString kSimplified =
    QStringLiteral("视网脑觉经图这们颜动画标钮点变为样对实际号时过见传进闭开头讯区发应决运构络细");

}  // namespace

class TestContent : public QObject {
  Q_OBJECT

 private slots:
  void texts_data();
  void texts();
  void afterimages();
  void pictures();
};

void TestContent::texts_data() {
  QTest::addColumn<int>("row");
  const auto uses = Uses();
  for (int i = 0; i < static_cast<int>(uses.size()); ++i) QTest::newRow(uses[i].name) << i;
}

void TestContent::texts() {
  QFETCH(int, row);
  const TextUse use = Uses()[row];

  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString text = decoder(QByteArrayView(use.text.data(), use.text.size()));
  QVERIFY2(!decoder.hasError(), "not valid UTF-8");

  QCOMPARE(text.toUcs4().size(), use.length);
  for (int i = 0; i < use.indent; ++i) QCOMPARE(text.at(i), QChar(' '));
  QVERIFY2(!text.at(use.indent).isSpace(), "indent longer than expected");
  QVERIFY2(use.text.substr(use.indent).starts_with(use.opening), "opening wording changed");

  QVERIFY(!text.contains('\n') && !text.contains('\r'));
  QVERIFY2(!text.contains('&'), "an ampersand would turn into a mnemonic");
  for (QChar c : QStringLiteral("(),.!?;:"))
    QVERIFY2(!text.contains(c),
             qPrintable(QStringLiteral("ASCII '%1' instead of full-width").arg(c)));
  for (QChar c : kSimplified)
    QVERIFY2(!text.contains(c), qPrintable(QStringLiteral("simplified character %1").arg(c)));

  // English stands only inside full-width parentheses or corner brackets, which pair up.
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

void TestContent::afterimages() {
  // The coloured-squares instruction is the light-bulb one with another thing to stare at.
  QString bulb = ToQString(kIllusions[5].question);
  QCOMPARE(bulb.count(QStringLiteral("燈泡")), 1);
  QCOMPARE(bulb.replace(QStringLiteral("燈泡"), QStringLiteral("十字符號")),
           ToQString(kIllusions[6].question));
  QCOMPARE(bulb.count(QStringLiteral("「下一步」")), 2);

  for (int i : {5, 6, 7})
    QVERIFY(kIllusions[i].explanation.ends_with("這是視覺的殘留影像，電影播放也是用此原理的。"));

  const QString animation = ToQString(kIllusions[7].question);
  QVERIFY(animation.contains(QStringLiteral("（mouse）")));
  QVERIFY(animation.contains(QStringLiteral("「開始」")));
  QVERIFY(animation.contains(QStringLiteral("「Esc」")));
  QVERIFY(animation.endsWith(QStringLiteral("）")));
}

void TestContent::pictures() {
  QSet<QString> seen;
  for (std::string_view picture : kPictures) {
    const std::string_view description = DescribePicture(picture);
    QVERIFY2(!description.empty(), picture.data());
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(QByteArrayView(description.data(), description.size()));
    QVERIFY(!decoder.hasError());
    QVERIFY(!text.contains('&') && !text.contains('\n'));
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
