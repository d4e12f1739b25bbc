#include "content/assets.h"

#include <utility>

namespace content {

namespace {

// What a pupil who cannot see the picture should hear in its place. The illusion pictures are
// described as they are drawn, without giving away what the explanation reveals.
constexpr std::array<std::pair<std::string_view, std::string_view>, 24> kDescriptions = {{
    {kTitleBackground, "標題頁的背景圖案"},
    {kMenuBackground, "主目錄的背景圖案"},
    {kBackground, "課文頁的背景圖案"},
    {kRealEye, "一隻真實眼睛的近照"},
    {kEyeFront, "眼睛的正面圖，可見角膜、瞳孔、虹膜、眼肌、鞏膜和視神經"},
    {kEyeCross, "眼球的剖面圖，標示角膜、瞳孔、虹膜、晶狀體、鞏膜、視網膜、視神經和盲點"},
    {kSpot, "一個黑點"},
    {kTen, "一個「十」字符號"},
    {kWork, "眼睛成像的示意圖：光線經晶狀體在視網膜上形成倒轉的影像，再由視神經傳到腦部"},
    {kGrey1, "四個由淺至深的大正方形，每個大正方形中間各有一個灰色的小正方形"},
    {kGrey2, "同樣的四個小正方形並排放在同一底色上"},
    {kLine1, "許多黑色正方形整齊排成方陣，中間隔著白色的通道"},
    {kLine2, "黑色背景上的灰色格線，每個格線交叉處都有一個小白點"},
    {kSquare1, "彩色方格組成的圖案，其中兩條斜線的紅色方格組成英文字母「X」"},
    {kSquare2, "「X」字紅色方格的放大圖"},
    {kSlope1, "一行行黑白相間的方格，上下兩行互相錯開，中間隔著灰色的橫線"},
    {kSlope2, "同一幅方格圖的另一個版本，可以看清縱線和橫線的走向"},
    {kLightbulb1, "一個亮著的燈泡，供注視之用"},
    {kLightbulb2, "一片淺色的空白背景"},
    {kColorSq1, "幾個顏色鮮明的正方塊，中間有一個十字符號"},
    {kColorSq2, "一片白色背景，中間有一個十字符號"},
    {kFaces, "黑白圖像：中間是一個白色的對稱形狀，兩旁是黑色的形狀，兩者的輪廓互相吻合"},
    {kHead1, "一幅看似骷髏頭的圖像"},
    {kHead2, "一幅美女的圖像"},
}};

}  // namespace

std::string_view DescribePicture(std::string_view asset) {
  for (const auto& [name, description] : kDescriptions) {
    if (name == asset) return description;
  }
  return {};
}

}  // namespace content
