#include "app/coursemap.h"

#include <string>

#include "pagedesc/descriptions.h"
#include "pages/pages.h"

namespace app {

namespace {

using namespace pagedesc::pages;
using shell::Edge;
using shell::PageEntry;

constexpr Edge kToMenu{"Menu_Click", {}, "Form17"};

// The ten illusion pages are one chain through Back and Next, and each has Index back to the
// index; the index's button k opens illusion k.
void AddIllusions(shell::CourseMap& map) {
  const std::size_t index = map.size() - 1;
  for (int k = 0; k < kIllusionCount; ++k) map.push_back({Illusion(k), pages::Illusion(k), {}});
  const auto name = [&](int k) { return map[index + 1 + static_cast<std::size_t>(k)].Name(); };
  for (int k = 0; k < kIllusionCount; ++k) {
    map[index].edges.push_back({"image_Click", k, name(k)});
    std::vector<Edge>& edges = map[index + 1 + static_cast<std::size_t>(k)].edges;
    edges.push_back({"Back_Click", {}, k == 0 ? map[index].Name() : name(k - 1)});
    if (k + 1 < kIllusionCount) edges.push_back({"Next_Click", {}, name(k + 1)});
    edges.push_back(kToMenu);
    edges.push_back({"Index_Click", {}, map[index].Name()});
  }
}

shell::CourseMap Build() {
  // clang-format off
  shell::CourseMap map = {
      {Form16(), pages::Title(),      {{"Form_MouseDown", {}, "Form17"}, {"Label1_MouseDown", {}, "Form17"},
                                       {"Label2_MouseDown", {}, "Form17"}}},
      {Form2(),  pages::Senses(),     {{"Back_Click", {}, "Form16"}, {"Next_Click", {}, "Form3"}, kToMenu}},
      {Form17(), pages::Menu(),       {{"Command1_Click", {}, "Form18"}, {"Command3_Click", {}, "Form2"}}},
      {Form18(), pages::EyeParts(),   {{"Back_Click", {}, "Form17"}, {"Next_Click", {}, "Form19"}, kToMenu}},
      {Form19(), pages::EyeSection(), {{"Back_Click", {}, "Form18"}, {"Next_Click", {}, "Form20"}, kToMenu}},
      {Form20(), pages::EyeInside(),  {{"Back_Click", {}, "Form19"}, {"Next_Click", {}, "Form21"}, kToMenu}},
      {Form21(), pages::BlindSpot(),  {{"Back_Click", {}, "Form20"}, {"Next_Click", {}, "Form22"}, kToMenu}},
      {Form22(), pages::EyeWorking(), {{"Back_Click", {}, "Form21"}, kToMenu}},
      {Form3(),  pages::IllusionIntroduction(), {{"Back_Click", {}, "Form2"}, {"Next_Click", {}, "Form4"}, kToMenu}},
      {Form4(),  pages::IllusionIndex(),        {{"Back_Click", {}, "Form3"}, kToMenu}},
  };
  // clang-format on
  AddIllusions(map);
  return map;
}

}  // namespace

const shell::CourseMap& Course() {
  static const shell::CourseMap map = Build();
  return map;
}

}  // namespace app
