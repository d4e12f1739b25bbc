#include "shell/pagetable.h"

namespace shell {

namespace {

using H = std::vector<std::string_view>;

const H kIllusion = {"Explain_Click", "Form_Load", "Index_Click", "Next_Click",
                     "Exit_Click",    "Back_Click", "Menu_Click"};
const H kTwoStage = {"Explain_Click", "Form_Load",      "Index_Click", "Next_Click",
                     "Back_Click",    "NextStep_Click", "Exit_Click",  "Menu_Click"};
const H kChapterPage = {"Back_Click", "Form_Load", "Menu_Click", "Next_Click", "Exit_Click"};

}  // namespace

const std::vector<PageEntry>& PageTable() {
  static const std::vector<PageEntry> table = {
      {"Form16", "title page", {"Form_Load", "Form_MouseDown", "Label1_MouseDown", "Label2_MouseDown"}},
      {"Form2", "the brain and the senses", {"Back_Click", "Form_Load", "Next_Click", "Exit_Click", "Menu_Click"}},
      {"Form17", "main menu", {"Command1_Click", "Command3_Click", "Form_Load", "Exit_Click"}},
      {"Form18", "eye structure page 1", kChapterPage},
      {"Form19", "eye structure page 2", kChapterPage},
      {"Form20", "eye structure page 3", kChapterPage},
      {"Form21", "blind-spot test", {"Back_Click", "Form_Load", "Left_Click", "Menu_Click", "Next_Click", "Right_Click", "Exit_Click"}},
      {"Form22", "how the eye works", {"Back_Click", "Form_Load", "Menu_Click", "Exit_Click"}},
      {"Form3", "optical illusion introduction", {"Back_Click", "Form_Load", "Exit_Click", "Next_Click", "Menu_Click"}},
      {"Form4", "illusion index", {"Back_Click", "Form_Load", "Exit_Click", "image_Click", "Menu_Click"}},
      {"Form5", "illusion 0", kIllusion},
      {"Form6", "illusion 1", kIllusion},
      {"Form7", "illusion 2", kIllusion},
      {"Form8", "illusion 3", kIllusion},
      {"Form9", "illusion 4", kIllusion},
      {"Form10", "illusion 5", kTwoStage},
      {"Form11", "illusion 6", kTwoStage},
      {"Form12", "illusion 7 (animation)", kTwoStage},
      {"Form13", "illusion 8", kIllusion},
      {"Form14", "illusion 9", {"Explain_Click", "Form_Load", "Index_Click", "Back_Click", "NextStep_Click", "Exit_Click", "Menu_Click"}},
  };
  return table;
}

const PageEntry* FindPage(std::string_view name) {
  for (const PageEntry& e : PageTable())
    if (e.name == name) return &e;
  return nullptr;
}

}  // namespace shell
