// The course as a pupil meets it: which control leads from which page to which (from the course
// map), and which file each page or button reads (written down from the design tables rather
// than read from the pages). The fault matrix walks it; the random test checks every switch
// against it; the harness finds its way with it.
#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "app/coursemap.h"

namespace coursemap {

// A way from one page to another. An empty control is a press on the page itself.
struct Step {
  QString from;
  QString control;
  std::optional<int> index;
  QString to;
};

inline QString Str(std::string_view s) { return QUtf8StringView(s).toString(); }

// Every way between pages, as the course map gives them.
inline const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = [] {
    std::vector<Step> s;
    for (const shell::PageEntry& page : app::Course())
      for (const shell::Edge& e : page.edges) {
        const QString control = e.Control() == "Form" ? QString() : Str(e.Control());
        s.push_back({Str(page.Name()), control, e.index, Str(e.target)});
      }
    return s;
  }();
  return steps;
}

// Whether the course may go from one page straight to the other.
inline bool Allowed(const QString& from, const QString& to) {
  return std::any_of(Steps().begin(), Steps().end(),
                     [&](const Step& s) { return s.from == from && s.to == to; });
}

// A page's description by name; nullptr for a name that is not a page of the course.
inline const pagedesc::PageDescription* Describe(std::string_view name) {
  const shell::PageEntry* page = shell::FindPage(app::Course(), name);
  return page ? &page->description : nullptr;
}

inline QStringList Pages() {
  QStringList pages;
  for (const shell::PageEntry& page : app::Course()) pages << Str(page.Name());
  return pages;
}

// The files a page reads while it loads.
inline QStringList LoadNeeds(const QString& page) {
  // clang-format off
  static const std::map<QString, QStringList> needs = {
      {"Form16", {"bg5.jpg"}},
      {"Form17", {"bg3.jpg", "realeye.jpg", "0grey1.jpg"}},
      {"Form18", {"realeye.jpg", "eyefront.jpg"}},
      {"Form19", {"realeye.jpg", "eyecross1.gif"}},
      {"Form20", {"realeye.jpg"}},
      {"Form21", {"realeye.jpg", "spot.gif", "ten.gif"}},
      {"Form22", {"realeye.jpg", "work.gif"}},
      {"Form2", {"bg.jpg"}},
      {"Form3", {"bg.jpg"}},
      {"Form4", {"bg.jpg"}},
      {"Form5", {"bg.jpg", "0grey1.jpg", "0grey2.jpg"}},
      {"Form6", {"bg.jpg", "1line1.gif"}},
      {"Form7", {"bg.jpg", "2line2.jpg"}},
      {"Form8", {"bg.jpg", "3square1.gif", "3square2.gif"}},
      {"Form9", {"bg.jpg", "4slope1.jpg"}},
      {"Form10", {"bg.jpg", "5lightbulb1.jpg"}},
      {"Form11", {"bg.jpg", "6colorsq1.jpg"}},
      {"Form12", {"bg.jpg", "7optical.exe"}},
      {"Form13", {"bg.jpg", "8faces.gif"}},
      {"Form14", {"bg.jpg", "9head1.jpg"}},
  };
  // clang-format on
  const auto it = needs.find(page);
  return it == needs.end() ? QStringList() : it->second;
}

// A button that reads a file when it is pressed, on a page that does not read it at load.
struct ButtonNeed {
  QString page, button, file;
};

inline const std::vector<ButtonNeed>& ButtonNeeds() {
  static const std::vector<ButtonNeed> needs = {
      {"Form9", "Explain", "4slope2.jpg"},     {"Form10", "NextStep", "5lightbulb2.jpg"},
      {"Form11", "NextStep", "6colorsq2.jpg"}, {"Form14", "NextStep", "9head2.jpg"},
      {"Form12", "NextStep", "7optical.exe"},  // runs it
  };
  return needs;
}

inline std::optional<ButtonNeed> ButtonNeedOf(const QString& file) {
  for (const ButtonNeed& b : ButtonNeeds())
    if (b.file == file) return b;
  return std::nullopt;
}

// The buttons of a page that neither switch pages nor end the course.
inline QStringList OtherButtons(const QString& page) {
  QStringList buttons;
  for (const shell::PageEntry& entry : app::Course())
    if (Str(entry.Name()) == page)
      for (const auto& [name, handler] : entry.handlers)
        if (Str(name).endsWith(QLatin1String("_Click"))) buttons << Str(name).chopped(6);
  return buttons;
}

// The shortest way from one page to another over pages the filter lets through.
template <class Filter>
std::optional<std::vector<Step>> Route(const QString& from, const QString& to, Filter pass) {
  std::map<QString, Step> via;
  std::set<QString> seen = {from};
  std::deque<QString> queue = {from};
  while (!queue.empty()) {
    const QString at = queue.front();
    queue.pop_front();
    if (at == to) break;
    for (const Step& s : Steps())
      if (s.from == at && pass(s.to) && seen.insert(s.to).second) {
        via[s.to] = s;
        queue.push_back(s.to);
      }
  }
  if (!seen.count(to)) return std::nullopt;
  std::vector<Step> route;
  for (QString at = to; at != from; at = via.at(at).from) route.insert(route.begin(), via.at(at));
  return route;
}

}  // namespace coursemap
