// The course as data: every page with its description, what it does, and where its buttons lead.
// The shell builds pages from it; the benchmarks and tests walk the same map.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/picture.h"
#include "pagedesc/pagedesc.h"

namespace forms {
class Page;
}

namespace shell {

class Course;

// What a handler receives: its page, the course, and for array elements the element's index.
struct Event {
  forms::Page& me;
  Course& course;
  int index = -1;

  void Go(std::string_view target) const;                // SwitchPage from this page
  forms::Picture Picture(std::string_view asset) const;  // LoadAssetPicture
};

using Handler = std::function<void(const Event&)>;
using HandlerList = std::vector<std::pair<std::string_view, Handler>>;

// What a page does, by event name, and the pictures its load shows: those are decoded ahead,
// while the first page waits, so that no first visit waits for them.
struct Handlers : HandlerList {
  using HandlerList::HandlerList;
  std::vector<std::string_view> pictures;
};

// A way from one page to another: the handler that takes it ("Next_Click", "Form_MouseDown"),
// the element of a control array it belongs to, and the page it leads to.
struct Edge {
  std::string_view handler;
  std::optional<int> index;
  std::string_view target;

  // The control whose event it is; "Form" is the page itself.
  std::string_view Control() const { return handler.substr(0, handler.find('_')); }
};

struct PageEntry {
  pagedesc::PageDescription description;
  Handlers
      handlers;  // all but the moves between pages, and Exit, which every page's ends the course
  std::vector<Edge> edges;

  std::string_view Name() const { return description.name; }
};

// The pages in the course's order; the first is the page shown at start.
using CourseMap = std::vector<PageEntry>;

const PageEntry* FindPage(const CourseMap& map, std::string_view name);

// Where a page stands in its chapter: the pages the pupil reads one after the other with Next.
// Nothing for a page that no Next leads to or from.
struct Place {
  int number;  // from 1
  int count;
};
std::optional<Place> PlaceInChapter(const CourseMap& map, std::string_view page);

}  // namespace shell
