// The chapter on the structure of the eye: three diagram pages, the blind-spot test and how the
// eye works. The part-name labels come before the picture they name so that they are drawn over it.
#include "pagedesc/descriptions.h"
#include "pagedesc/rows.h"

namespace pagedesc::pages {

using namespace rows;

// One row a control, as in the layout tables.
// clang-format off

PageDescription Form18() {
  return HeadedBy("Label1", NarrowPage("Form18", {
      Button("Menu", 240, 6840, 1215, 495, 11, Ming12, "回主目錄"),
      Button("Exit", 8520, 6840, 1095, 495, 10, Ming12, "離開"),
      Button("Back", 5880, 6840, 1095, 495, 9, Ming12, "上一頁"),
      Button("Next", 7200, 6840, 1095, 495, 8, Ming12, "下一頁", DefaultButton),
      Label("Label8", 6960, 5280, 1695, 615, 7, Ming24, Default, "視神經", Centred),
      Label("Label7", 7080, 3600, 1335, 615, 6, Ming24, Default, "鞏膜", Centred),
      Label("Label6", 6720, 2880, 1335, 615, 5, Ming24, Default, "眼肌", Centred),
      Label("Label5", 1680, 5520, 1335, 615, 4, Ming24, Default, "虹膜", Centred),
      Label("Label4", 1560, 4200, 1335, 615, 3, Ming24, Default, "瞳孔", Centred),
      Label("Label3", 1680, 3000, 1335, 615, 2, Ming24, Default, "角膜", Centred),
      Image("Image2", 1800, 2520, 6120, 4290),
      Image("Image1", 360, 480, 1140, 1410),
      Label("Label2", 1920, 1200, 7455, 1215, 1, Ming1425, Default, "Label2"),
      Label("Label1", 1920, 360, 3855, 975, 0, Kai36, Default, ""),
  }));
}

PageDescription Form19() {
  return HeadedBy("Label1", Page("Form19", {
      Button("Next", 7200, 6840, 1095, 495, 4, Ming12, "下一頁", DefaultButton),
      Button("Back", 5880, 6840, 1095, 495, 3, Ming12, "上一頁"),
      Button("Exit", 8520, 6840, 1095, 495, 2, Ming12, "離開"),
      Button("Menu", 240, 6840, 1215, 495, 1, Ming12, "回主目錄"),
      Label("Label10", 7080, 5160, 1335, 735, 12, Ming24, Default, "盲點", Centred),
      Label("Label9", 7560, 3840, 1575, 735, 11, Ming24, Default, "視神經", Centred),
      Label("Label8", 7320, 3120, 2175, 735, 10, Ming24, Default, "視網膜", Centred),
      Label("Label7", 7440, 2400, 1455, 615, 9, Ming24, Default, "鞏膜", Centred),
      Label("Label6", 1440, 5400, 1455, 735, 8, Ming24, Default, "虹膜", Centred),
      Label("Label5", 720, 4560, 2055, 735, 7, Ming24, Default, "晶狀體", Centred),
      Label("Label4", 1080, 3480, 1575, 735, 6, Ming24, Default, "瞳孔", Centred),
      Label("Label3", 1080, 2760, 1575, 735, 5, Ming24, Default, "角膜", Centred),
      Image("Image2", 2040, 2280, 6120, 3675),
      Label("Label1", 1920, 240, 3855, 975, 0, Kai36, Default, ""),
      Image("Image1", 360, 360, 1140, 1410),
  }));
}

PageDescription Form20() {
  return HeadedBy("Label1", Page("Form20", {
      Button("Menu", 240, 6840, 1215, 495, 3, Ming12, "回主目錄"),
      Button("Exit", 8520, 6840, 1095, 495, 2, Ming12, "離開"),
      Button("Back", 5880, 6840, 1095, 495, 1, Ming12, "上一頁"),
      Button("Next", 7200, 6840, 1095, 495, 0, Ming12, "下一頁", DefaultButton),
      Label("Label3", 720, 4320, 8415, 1935, 6, Ming1575, Default, "Label3"),
      Label("Label2", 720, 2040, 8415, 2055, 5, Ming1575, Default, "Label2"),
      Image("Image1", 360, 360, 1140, 1410),
      Label("Label1", 1920, 240, 3855, 975, 4, Kai36, Default, ""),
  }));
}

// The blind-spot test: the sweeps move Image2 and Image3 sideways at run time.
PageDescription Form21() {
  return HeadedBy("Label1", Page("Form21", {
      Button("Left", 8640, 3360, 975, 615, 9, Ming12, "左眼"),
      Button("Right", 8640, 2520, 975, 615, 8, Ming12, "右眼"),
      Button("Next", 7200, 6840, 1095, 495, 3, Ming12, "下一頁", DefaultButton),
      Button("Back", 5880, 6840, 1095, 495, 2, Ming12, "上一頁"),
      Button("Exit", 8520, 6840, 1095, 495, 1, Ming12, "離開"),
      Button("Menu", 240, 6840, 1215, 495, 0, Ming12, "回主目錄"),
      Image("Image3", 4455, 4995, 585, 585),
      Image("Image2", 5160, 4995, 585, 585),
      Label("Label4", 600, 1920, 2295, 615, 7, Ming2025, Default, "找尋盲點："),
      Label("Label1", 1920, 240, 3855, 975, 6, Kai36, Default, ""),
      Image("Image1", 360, 360, 1140, 1410),
      Label("Label2", 600, 2520, 7935, 735, 5, Ming1425, Default, "Label2"),
      Label("Label3", 600, 3360, 7935, 735, 4, Ming1425, Default, "Label3"),
  }));
}

// The last page of the chapter: no way forward, so no Next and no default button.
PageDescription Form22() {
  return HeadedBy("Label1", Page("Form22", {
      Button("Menu", 240, 6840, 1215, 495, 2, Ming12, "回主目錄"),
      Button("Exit", 8520, 6840, 1095, 495, 1, Ming12, "離開"),
      Button("Back", 5880, 6840, 1095, 495, 0, Ming12, "上一頁"),
      Label("Label4", 2040, 1200, 7335, 1815, 6, Ming1425, Default, "Label4"),
      Label("Label3", 4560, 3720, 1095, 375, 5, Ming1575, Default, "晶狀體", Centred),
      Label("Label2", 2760, 3480, 1095, 375, 4, Ming1575, Default, "視神經", Centred),
      Image("Image2", 2640, 3480, 4635, 2970),
      Image("Image1", 360, 360, 1140, 1410),
      Label("Label1", 1920, 240, 3855, 975, 3, Kai36, Default, ""),
  }));
}

// clang-format on

}  // namespace pagedesc::pages
