// The opening pages of the chapter on the senses and optical illusions, and the illusion index.
// Titles and paragraphs are set by the load handlers; the captions here are placeholders.
#include "pagedesc/descriptions.h"
#include "pagedesc/rows.h"

namespace pagedesc::pages {

using namespace rows;

// One row a control, as in the layout tables.
// clang-format off

PageDescription Form2() {
  return Spoken("腦部與感覺", Page("Form2", {
      Button("Menu", 240, 6720, 1215, 495, 5, Ming12, "回主目錄"),
      Button("Next", 7080, 6720, 1095, 495, 2, Ming12, "下一頁", DefaultButton),
      Button("Back", 5760, 6720, 1095, 495, 1, Ming12, "上一頁"),
      Button("Exit", 8400, 6720, 1095, 495, 3, Ming12, "離開"),
      Label("Label2", 720, 3360, 8415, 2775, 4, Ming1425, Default, "Label2"),
      Label("Label1", 480, 1440, 8895, 1695, 0, Kai24, kBlue, "Label1", Centred),
  }));
}

PageDescription Form3() {
  return Spoken("視錯覺", Page("Form3", {
      Button("Menu", 240, 6600, 1215, 495, 5, Ming12, "回主目錄"),
      Button("Exit", 8280, 6600, 1095, 495, 4, Ming12, "離開"),
      Button("Back", 5640, 6600, 1095, 495, 1, Ming12, "上一頁"),
      Button("Next", 6960, 6600, 1095, 495, 3, Ming12, "下一頁", DefaultButton),
      Label("Label2", 720, 3240, 8415, 2415, 2, Ming1425, Default, "Label2"),
      Label("Label1", 480, 1440, 8895, 1455, 0, Kai24, kBlue, "Label1", Centred),
  }));
}

// The ten number buttons form one control array; image_Click opens the illusion of its index.
// Button k of the index: element k of the array, described for screen readers.
ControlDescription Number(ControlDescription c, int k) {
  static constexpr std::string_view kDescriptions[] = {
      "第 0 個視錯覺圖像", "第 1 個視錯覺圖像", "第 2 個視錯覺圖像", "第 3 個視錯覺圖像",
      "第 4 個視錯覺圖像", "第 5 個視錯覺圖像", "第 6 個視錯覺圖像", "第 7 個視錯覺圖像",
      "第 8 個視錯覺圖像", "第 9 個視錯覺圖像"};
  return Described(kDescriptions[k], Element(c, k));
}

PageDescription Form4() {
  return Spoken("視錯覺圖像目錄", Page("Form4", {
      Button("Menu", 240, 6600, 1215, 495, 13, Ming12, "回主目錄"),
      Number(Button("image", 6960, 4440, 1095, 615, 9, Times24, "9"), 9),
      Number(Button("image", 5640, 4440, 1095, 615, 8, Times24, "8"), 8),
      Number(Button("image", 4320, 4440, 1095, 615, 7, Times24, "7"), 7),
      Number(Button("image", 3000, 4440, 1095, 615, 6, Times24, "6"), 6),
      Number(Button("image", 1680, 4440, 1095, 615, 5, Times24, "5"), 5),
      Number(Button("image", 6960, 3480, 1095, 615, 4, Times24, "4"), 4),
      Number(Button("image", 5640, 3480, 1095, 615, 3, Times24, "3"), 3),
      Number(Button("image", 4320, 3480, 1095, 615, 2, Times24, "2"), 2),
      Number(Button("image", 3000, 3480, 1095, 615, 1, Times24, "1"), 1),
      Number(Button("image", 1680, 3480, 1095, 615, 0, Times24, "0", DefaultButton), 0),
      Button("Back", 5640, 6600, 1095, 495, 10, Ming12, "上一頁"),
      Button("Exit", 8280, 6600, 1095, 495, 11, Ming12, "離開"),
      Label("Label1", 480, 1920, 8895, 1095, 12, Ming2175U, kBlue, "Label1", Centred),
  }));
}

// clang-format on

}  // namespace pagedesc::pages
