// The ten illusion pages. Each holds a question in Label1 and an explanation in Label2 that the
// load handler fills in and keeps hidden until Explain; only Form5 starts with them hidden here.
#include "pagedesc/descriptions.h"
#include "pagedesc/rows.h"

namespace pagedesc::pages {

using namespace rows;

// One row a control, as in the layout tables.
// clang-format off

namespace {

PageDescription Form5() {
  return NarrowPage("Form5", {
      Button("Menu", 240, 6600, 1215, 495, 7, Ming12, "回主目錄"),
      Button("Explain", 480, 3120, 1215, 495, 0, Ming12, "解說", DefaultButton),
      Button("Back", 5640, 6600, 1095, 495, 2, Ming12, "上一頁"),
      Button("Index", 1680, 6600, 1455, 495, 1, Ming12, "回圖像目錄"),
      Button("Exit", 8280, 6600, 1095, 495, 4, Ming12, "離開"),
      Button("Next", 6960, 6600, 1095, 495, 3, Ming12, "下一頁"),
      Image("Image2", 2640, 3840, 5295, 1215, Hidden),
      Label("Label2", 480, 5400, 8415, 855, 6, Ming1425, kLightRed, "Label2", Hidden),
      Label("Label1", 480, 2400, 8415, 375, 5, Ming1425, Default, "Label1"),
      Image("Image1", 2640, 360, 5295, 1695),
  });
}

PageDescription Form6() {
  return NarrowPage("Form6", {
      Button("Menu", 240, 6600, 1215, 495, 7, Ming12, "回主目錄"),
      Button("Explain", 480, 5040, 1215, 495, 5, Ming12, "解說", DefaultButton),
      Button("Back", 5640, 6600, 1095, 495, 1, Ming12, "上一頁"),
      Button("Next", 6960, 6600, 1095, 495, 2, Ming12, "下一頁"),
      Button("Exit", 8280, 6600, 1095, 495, 3, Ming12, "離開"),
      Button("Index", 1680, 6600, 1455, 495, 0, Ming12, "回圖像目錄"),
      Label("Label2", 480, 5760, 8895, 495, 6, Ming1425, kLightRed, "Label2"),
      Label("Label1", 480, 4440, 8895, 375, 4, Ming1425, Default, "Label1"),
      Image("Image1", 1560, 240, 7335, 3975),
  });
}

PageDescription Form7() {
  return NarrowPage("Form7", {
      Button("Menu", 240, 6600, 1215, 495, 7, Ming12, "回主目錄"),
      Button("Explain", 480, 5160, 1215, 495, 5, Ming12, "解說", DefaultButton),
      Button("Back", 5640, 6600, 1095, 495, 1, Ming12, "上一頁"),
      Button("Index", 1680, 6600, 1455, 495, 0, Ming12, "回圖像目錄"),
      Button("Exit", 8280, 6600, 1095, 495, 3, Ming12, "離開"),
      Button("Next", 6960, 6600, 1095, 495, 2, Ming12, "下一頁"),
      Label("Label2", 480, 5760, 8895, 615, 6, Ming1425, kLightRed, "Label2"),
      Image("Image1", 1920, 120, 7455, 3735),
      Label("Label1", 480, 4680, 8895, 375, 4, Ming1425, Default, "Label1"),
  });
}

// The picture and its enlarged view side by side; the button row sits lower than elsewhere.
PageDescription Form8() {
  return NarrowPage("Form8", {
      Button("Menu", 240, 6720, 1215, 495, 7, Ming12, "回主目錄"),
      Button("Explain", 480, 5280, 1215, 495, 6, Ming12, "解說", DefaultButton),
      Button("Back", 5640, 6720, 1095, 495, 1, Ming12, "上一頁"),
      Button("Index", 1680, 6720, 1455, 495, 0, Ming12, "回圖像目錄"),
      Button("Exit", 8280, 6720, 1095, 495, 3, Ming12, "離開"),
      Button("Next", 6960, 6720, 1095, 495, 2, Ming12, "下一頁"),
      Image("Image2", 6480, 1080, 3135, 2895),
      Label("Label2", 480, 6000, 8895, 375, 5, Ming1425, kLightRed, "Label2"),
      Image("Image1", 360, 360, 5775, 3615),
      Label("Label1", 480, 4320, 8895, 735, 4, Ming1425, Default, "Label1"),
  });
}

// Explain here also swaps the picture, so there is no NextStep.
PageDescription Form9() {
  return NarrowPage("Form9", {
      Button("Menu", 240, 6600, 1215, 495, 7, Ming12, "回主目錄"),
      Button("Explain", 480, 5280, 1215, 495, 6, Ming12, "解說", DefaultButton),
      Button("Back", 5640, 6600, 1095, 495, 4, Ming12, "上一頁"),
      Button("Index", 1680, 6600, 1455, 495, 0, Ming12, "回圖像目錄"),
      Button("Exit", 8280, 6600, 1095, 495, 2, Ming12, "離開"),
      Button("Next", 6960, 6600, 1095, 495, 1, Ming12, "下一頁"),
      Label("Label2", 480, 5880, 8895, 615, 5, Ming1425, kLightRed, "Label2"),
      Image("Image1", 1200, 360, 8175, 4095),
      Label("Label1", 480, 4680, 8895, 495, 3, Ming1425, Default, "Label1"),
  });
}

// Afterimage pages: NextStep puts the second picture in place of the first.
PageDescription Form10() {
  return NarrowPage("Form10", {
      Button("Menu", 240, 6600, 1215, 495, 8, Ming12, "回主目錄"),
      Button("NextStep", 5280, 2880, 1215, 495, 7, Ming12, "下一步", DefaultButton),
      Button("Explain", 5280, 3600, 1215, 495, 6, Ming12, "解說"),
      Button("Back", 5640, 6600, 1095, 495, 1, Ming12, "上一頁"),
      Button("Index", 1680, 6600, 1455, 495, 0, Ming12, "回圖像目錄"),
      Button("Exit", 8280, 6600, 1095, 495, 3, Ming12, "離開"),
      Button("Next", 6960, 6600, 1095, 495, 2, Ming12, "下一頁"),
      Label("Label2", 5280, 4320, 3735, 2055, 5, Ming1425, kLightRed, "Label2"),
      Image("Image1", 960, 480, 3855, 5655),
      Label("Label1", 5280, 480, 3735, 2055, 4, Ming1425, Default, "Label1"),
  });
}

PageDescription Form11() {
  return Page("Form11", {
      Button("Menu", 240, 6600, 1215, 495, 8, Ming12, "回主目錄"),
      Button("NextStep", 6720, 3360, 1215, 495, 7, Ming12, "下一步", DefaultButton),
      Button("Explain", 6720, 3960, 1215, 495, 5, Ming12, "解說"),
      Button("Back", 5640, 6600, 1095, 495, 1, Ming12, "上一頁"),
      Button("Index", 1680, 6600, 1455, 495, 0, Ming12, "回圖像目錄"),
      Button("Exit", 8280, 6600, 1095, 495, 3, Ming12, "離開"),
      Button("Next", 6960, 6600, 1095, 495, 2, Ming12, "下一頁"),
      Label("Label2", 6840, 4680, 2775, 1455, 6, Ming1425, kLightRed, "Label2"),
      Image("Image1", 240, 240, 6375, 5895),
      Label("Label1", 6840, 600, 2775, 2655, 4, Ming1425, Default, "Label1"),
  });
}

// The animation page: OLE1 holds the animation program that NextStep starts.
PageDescription Form12() {
  return Page("Form12", {
      Button("Menu", 240, 6600, 1215, 495, 9, Ming12, "回主目錄"),
      Button("NextStep", 1200, 3000, 1215, 495, 7, Ming12, "開始動畫"),
      Button("Explain", 1200, 3720, 1215, 495, 5, Ming12, "解說"),
      Button("Back", 5640, 6600, 1095, 495, 1, Ming12, "上一頁"),
      Button("Index", 1680, 6600, 1455, 495, 0, Ming12, "回圖像目錄"),
      Button("Exit", 8280, 6600, 1095, 495, 3, Ming12, "離開"),
      Button("Next", 6960, 6600, 1095, 495, 2, Ming12, "下一頁", DefaultButton),
      Described("按「開始動畫」按鈕，動畫就會在另一個視窗播放。",
                Container("OLE1", 2640, 3120, 495, 375, 8)),
      Label("Label2", 1200, 4680, 7455, 1215, 6, Ming1425, kLightRed, "Label2"),
      Label("Label1", 1200, 1320, 7455, 1455, 4, Ming1425, Default, "Label1"),
  });
}

PageDescription Form13() {
  return Page("Form13", {
      Button("Menu", 240, 6600, 1215, 495, 7, Ming12, "回主目錄"),
      Button("Explain", 5880, 2400, 1215, 495, 6, Ming12, "解說"),
      Button("Back", 5640, 6600, 1095, 495, 1, Ming12, "上一頁"),
      Button("Index", 1680, 6600, 1455, 495, 0, Ming12, "回圖像目錄"),
      Button("Exit", 8280, 6600, 1095, 495, 3, Ming12, "離開"),
      Button("Next", 6960, 6600, 1095, 495, 2, Ming12, "下一頁", DefaultButton),
      Label("Label2", 5880, 3240, 3255, 2775, 5, Ming1425, kLightRed, "Label2"),
      Image("Image1", 360, 480, 4935, 5535),
      Label("Label1", 5880, 600, 3255, 1455, 4, Ming1425, Default, "Label1"),
  });
}

// The last illusion: no Next.
PageDescription Form14() {
  return Page("Form14", {
      Button("Menu", 240, 6600, 1215, 495, 7, Ming12, "回主目錄"),
      Button("NextStep", 6120, 2400, 1215, 495, 6, Ming12, "下一步", DefaultButton),
      Button("Explain", 6120, 3120, 1215, 495, 4, Ming12, "解說"),
      Button("Back", 5640, 6600, 1095, 495, 1, Ming12, "上一頁"),
      Button("Index", 1680, 6600, 1455, 495, 0, Ming12, "回圖像目錄"),
      Button("Exit", 8280, 6600, 1095, 495, 2, Ming12, "離開"),
      Label("Label2", 6120, 3960, 3375, 1935, 5, Ming1425, kLightRed, "Label2"),
      Image("Image1", 360, 600, 4095, 4455),
      Label("Label1", 6120, 960, 3375, 975, 3, Ming1425, Default, "Label1"),
  });
}

}  // namespace

PageDescription Illusion(int k) {
  static constexpr PageDescription (*kPages[kIllusionCount])() = {
      Form5, Form6, Form7, Form8, Form9, Form10, Form11, Form12, Form13, Form14};
  static constexpr std::string_view kNames[kIllusionCount] = {
      "視錯覺 0", "視錯覺 1", "視錯覺 2", "視錯覺 3", "視錯覺 4",
      "視錯覺 5", "視錯覺 6", "視錯覺 7", "視錯覺 8", "視錯覺 9"};
  return Spoken(kNames[k], kPages[k]());
}

// clang-format on

}  // namespace pagedesc::pages
