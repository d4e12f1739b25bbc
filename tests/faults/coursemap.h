// The course as a pupil meets it, written down from the design tables rather than read from the
// pages: which control leads from which page to which, and which file each page or button reads.
// The fault matrix walks it; the random test checks every switch against it.
#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace coursemap {

// A way from one page to another. An empty control is a press on the page itself.
struct Step {
  QString from;
  QString control;
  std::optional<int> index;
  QString to;
};

inline QString Form(int n) { return QStringLiteral("Form%1").arg(n); }

inline const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = [] {
    std::vector<Step> s = {
        {"Form16", "", {}, "Form17"},      {"Form16", "Label1", {}, "Form17"},
        {"Form16", "Label2", {}, "Form17"},
        {"Form17", "Command1", {}, "Form18"}, {"Form17", "Command3", {}, "Form2"},
        {"Form22", "Back", {}, "Form21"},  {"Form22", "Menu", {}, "Form17"},
        {"Form2", "Back", {}, "Form16"},   {"Form2", "Next", {}, "Form3"},
        {"Form2", "Menu", {}, "Form17"},
        {"Form3", "Back", {}, "Form2"},    {"Form3", "Next", {}, "Form4"},
        {"Form3", "Menu", {}, "Form17"},
        {"Form4", "Back", {}, "Form3"},    {"Form4", "Menu", {}, "Form17"},
    };
    for (int n = 18; n <= 21; ++n) {
      s.push_back({Form(n), "Back", {}, Form(n == 18 ? 17 : n - 1)});
      s.push_back({Form(n), "Next", {}, Form(n + 1)});
      s.push_back({Form(n), "Menu", {}, "Form17"});
    }
    for (int i = 0; i <= 9; ++i) s.push_back({"Form4", "image", i, Form(5 + i)});
    for (int n = 5; n <= 14; ++n) {
      s.push_back({Form(n), "Back", {}, Form(n - 1)});
      if (n < 14) s.push_back({Form(n), "Next", {}, Form(n + 1)});
      s.push_back({Form(n), "Menu", {}, "Form17"});
      s.push_back({Form(n), "Index", {}, "Form4"});
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

inline QStringList Pages() {
  QStringList pages = {"Form16", "Form2", "Form17"};
  for (int n = 18; n <= 22; ++n) pages << Form(n);
  pages << "Form3" << "Form4";
  for (int n = 5; n <= 14; ++n) pages << Form(n);
  return pages;
}

// The files a page reads while it loads.
inline QStringList LoadNeeds(const QString& page) {
  static const std::map<QString, QStringList> needs = [] {
    std::map<QString, QStringList> m = {
        {"Form16", {"bg5.jpg"}},
        {"Form17", {"bg3.jpg", "realeye.jpg", "0grey1.jpg"}},
        {"Form18", {"realeye.jpg", "eyefront.jpg"}},
        {"Form19", {"realeye.jpg", "eyecross1.gif"}},
        {"Form20", {"realeye.jpg"}},
        {"Form21", {"realeye.jpg", "spot.gif", "ten.gif"}},
        {"Form22", {"realeye.jpg", "work.gif"}},
        {"Form5", {"0grey1.jpg", "0grey2.jpg"}},
        {"Form6", {"1line1.gif"}},
        {"Form7", {"2line2.jpg"}},
        {"Form8", {"3square1.gif", "3square2.gif"}},
        {"Form9", {"4slope1.jpg"}},
        {"Form10", {"5lightbulb1.jpg"}},
        {"Form11", {"6colorsq1.jpg"}},
        {"Form12", {"7optical.exe"}},
        {"Form13", {"8faces.gif"}},
        {"Form14", {"9head1.jpg"}},
    };
    for (int n = 2; n <= 14; ++n) m[Form(n)] << "bg.jpg";
    return m;
  }();
  const auto it = needs.find(page);
  return it == needs.end() ? QStringList() : it->second;
}

// A button that reads a file when it is pressed, on a page that does not read it at load.
struct ButtonNeed {
  QString page, button, file;
};

inline const std::vector<ButtonNeed>& ButtonNeeds() {
  static const std::vector<ButtonNeed> needs = {
      {"Form9", "Explain", "4slope2.jpg"},
      {"Form10", "NextStep", "5lightbulb2.jpg"},
      {"Form11", "NextStep", "6colorsq2.jpg"},
      {"Form14", "NextStep", "9head2.jpg"},
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
  if (page == "Form21") return {"Left", "Right"};
  const int n = page.mid(4).toInt();
  if (page.startsWith("Form") && n >= 5 && n <= 14) {
    if (n == 10 || n == 11 || n == 12 || n == 14) return {"Explain", "NextStep"};
    return {"Explain"};
  }
  return {};
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
