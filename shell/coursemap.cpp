#include "shell/coursemap.h"

namespace shell {

namespace {

constexpr std::string_view kNext = "Next_Click";

const PageEntry* NextOf(const CourseMap& map, const PageEntry& page) {
  for (const Edge& edge : page.edges)
    if (edge.handler == kNext) return FindPage(map, edge.target);
  return nullptr;
}

const PageEntry* PreviousOf(const CourseMap& map, const PageEntry& page) {
  for (const PageEntry& entry : map)
    if (NextOf(map, entry) == &page) return &entry;
  return nullptr;
}

}  // namespace

const PageEntry* FindPage(const CourseMap& map, std::string_view name) {
  for (const PageEntry& entry : map)
    if (entry.Name() == name) return &entry;
  return nullptr;
}

std::optional<Place> PlaceInChapter(const CourseMap& map, std::string_view page) {
  const PageEntry* first = FindPage(map, page);
  if (!first) return std::nullopt;
  int number = 1;
  // Bounded by the map's size, so that a chain that loops ends too.
  for (const PageEntry* p = PreviousOf(map, *first); p && number <= int(map.size());
       p = PreviousOf(map, *p))
    first = p, ++number;
  int count = 1;
  for (const PageEntry* p = NextOf(map, *first); p && count <= int(map.size()); p = NextOf(map, *p))
    ++count;
  if (count == 1) return std::nullopt;
  return Place{number, count};
}

}  // namespace shell
