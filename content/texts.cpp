#include "content/texts.h"

namespace content {

// The paragraphs open with ordinary spaces: the labels draw them as a first-line indent.

const std::string_view kMenuIntro =
    "     眼睛是人類接收視覺的重要感覺器官。它好像一部裝在頭部的小型照相機，"
    "不停把一連串的照片傳送到腦部。腦部接收的資訊之中，大約有九成是經由眼睛而來的，"
    "所以眼睛可說是各種感覺之首。";

const std::string_view kEyeStructureTitle = "眼睛的構造";
const std::string_view kEyeWorkingTitle = "眼睛的運作";

const std::string_view kParagraphA =
    "     眼睛主要由眼球（eyeball）組成。眼球的大部分藏在頭部顱骨（skull）的眼眶裡，"
    "因而受到保護。眼球前方有上下眼瞼（eyelids），眼瞼可以隨時合上，"
    "阻擋灰塵等外物進入，保護眼睛。";

const std::string_view kParagraphB =
    "     瞳孔在黑暗中會擴大，讓更多光線進入眼睛；在強光下則會縮小，減少進入的光線。"
    "瞳孔周圍有顏色的環狀部分叫做虹膜。眼球前面覆蓋著一層透明的角膜，能幫助聚焦。"
    "除了角膜以外，整個眼球外面都包著白色的鞏膜，保護眼球內部。眼肌可以轉動眼球，"
    "而視神經則負責把訊號傳送到腦部。";

const std::string_view kParagraphC =
    "     瞳孔後面是晶狀體，它的厚度可以改變。視網膜上有許多感光細胞，"
    "它們受到光線刺激後會產生訊號，再由視神經傳送到腦部。"
    "視網膜與視神經相連的那一小點叫做盲點，那裡沒有感光細胞，所以看不見東西。";

const std::string_view kParagraphD =
    "     光線經由瞳孔進入眼球，晶狀體會變厚或變薄來調節焦距，使清晰的影像落在視網膜上，"
    "而這個影像是上下倒轉的。視網膜上的感光細胞把光線轉變成訊號，再由視神經傳送到腦部，"
    "腦部會把訊號整理成視覺，我們看到的東西便是正立的了。";

const std::string_view kRightEyeInstruction =
    "右眼－用左手遮掩你的左眼，然後用右眼直視下圖中的「十」字符號，按「右眼」按鈕。";
const std::string_view kLeftEyeInstruction =
    "左眼－用右手遮掩你的右眼，然後用左眼直視下圖中的黑點，按「左眼」按鈕。";

const std::string_view kCrossStartsMoving = "「十」字符號開始向右移動。";
const std::string_view kCrossStopped = "「十」字符號停下來了。";
const std::string_view kDotStartsMoving = "黑點開始向左移動。";
const std::string_view kDotStopped = "黑點停下來了。";

const std::string_view kPlaceInChapter = "（第 %1 頁，共 %2 頁）";

const std::string_view kSensesTitle = "腦部與感覺（The Brain and the Senses）";

const std::string_view kSensesParagraph =
    "       人類有五種感覺器官（Sensory Organs），分別負責五種感覺（Senses），"
    "就是視覺、聽覺、味覺、嗅覺和觸覺。感覺器官裡有特別的感覺細胞（Sensory Cells），"
    "能偵測某些特定的刺激，並把它們轉變成訊號（Signal），"
    "再經由不同的神經（Nerve）傳送到腦部。腦部辨認這些訊號後，便產生感覺，"
    "然後再決定如何作出反應。例如腦的後部負責視覺，"
    "視神經把眼睛的訊號傳送到腦部的視覺區，便產生了視覺。";

const std::string_view kIllusionTitle = "視錯覺（Optical Illusion）";

const std::string_view kIllusionParagraph =
    "       腦部分析訊號時有時也會出錯，這時候便產生了錯覺（Illusion）。"
    "在視覺系統中產生的錯覺叫做「視錯覺」或「錯視」（Optical Illusion/Vision Illusion）。"
    "視錯覺是一種很正常的視覺現象，指眼睛明顯地錯誤判斷了物體的大小、顏色或光暗。"
    "此外，可以用多於一種方式去看的物體，也屬於視錯覺的一種。"
    "例如在地平線附近的滿月，看起來總比高掛在天空中的滿月大。";

const std::string_view kIndexPrompt = "以下是一些「視錯覺」的圖像：";

// Illusion 6 repeats the instruction of illusion 5 word for word; only the thing to stare at
// differs (十字符號 for 燈泡).
const std::array<Illusion, 10> kIllusions = {{
    {"試分辨圖中第一個小正方形與最後一個小正方形的顏色差異！",
     "實際上，四個小正方形的顏色都是相同的！只是由於大正方形與小正方形之間的光暗對比"
     "各有不同，令小正方形看來有深有淺而已。"},
    {"看見正方形間灰色的小點嗎？", "其實灰色小點並不存在！黑白、 光暗的強烈對比，產生了錯覺效果。"},
    {"試注視圖中任何一小白點，留意到其他小白點的變化嗎？",
     "四周的小白點變成灰色了！黑白、 光暗的強烈對比，產生了錯覺效果。"},
    {"圖中有一個由兩條斜線組成的英文字母「X」，試分辨兩條斜線中紅色方格的顏色差異。",
     "其實圖中所有紅色方格的顏色都是一樣的！試看看放大圖。"},
    {"此圖東倒西歪的，對嗎？", "其實圖中的所有縱線都是平行的，而橫線也是平行的！再看看此幅圖。"},
    {"先把游標（cursor）放在下方的「下一步」按鈕上，然後集中精神注視圖中的燈泡約三十秒，"
     "期間眼睛不可移動。接著繼續注視，並快速按下「下一步」。現在，你看到了什麼？",
     "看到亮著了的燈泡嗎？這是視覺的殘留影像，電影播放也是用此原理的。"},
    {"先把游標（cursor）放在下方的「下一步」按鈕上，然後集中精神注視圖中的十字符號約三十秒，"
     "期間眼睛不可移動。接著繼續注視，並快速按下「下一步」。現在，你看到了什麼？",
     "看到了顏色不同的正方塊嗎？這是視覺的殘留影像，電影播放也是用此原理的。"},
    {"把右手放在滑鼠（mouse）上，然後按下方的「開始動畫」按鈕開始播放。"
     "接著集中精神注視動畫的中心點大約三十秒，眼睛不要移動，之後再望向自己放在滑鼠上的右手。"
     "（要關閉動畫，可按「Esc」鍵，或按動畫右上角的「交叉」按鈕。）",
     "看到了自己的皮膚在浮動嗎？這是視覺的殘留影像，電影播放也是用此原理的。"},
    {"這是一幅經典的視錯覺圖像，你看到的是一個白色的花瓶，還是兩個面對面的黑色側面人頭？",
     "這就是包含多種看法的圖像，你會看到什麼，取決於你把哪一部分當作背景。"
     "圖像往往同時具有圖形和背景兩種性質，所以同一部分有時看來像圖形，有時看來又像背景。"},
    {"這是什麼？按下方的「下一步」按鈕再看看！",
     "原來的骷髏頭變成了美女！這就是包含多種看法的圖像，遠看與近看會見到不同的影像。"},
}};

}  // namespace content

namespace content {

std::vector<std::string_view> AllTexts() {
  std::vector<std::string_view> all = {
      kMenuIntro,       kEyeStructureTitle, kEyeWorkingTitle,     kParagraphA,         kParagraphB,
      kParagraphC,      kParagraphD,        kRightEyeInstruction, kLeftEyeInstruction, kSensesTitle,
      kSensesParagraph, kIllusionTitle,     kIllusionParagraph,   kIndexPrompt,
  };
  for (const Illusion& i : kIllusions) {
    all.push_back(i.question);
    all.push_back(i.explanation);
  }
  return all;
}

std::vector<std::string_view> SpokenTexts() {
  return {kCrossStartsMoving, kCrossStopped, kDotStartsMoving, kDotStopped, kPlaceInChapter};
}

}  // namespace content
