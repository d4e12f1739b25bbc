// Holds the twenty page descriptions to the course's layout rules, so that a mistyped row shows up
// here rather than as a misplaced control on screen.
#include <QtTest>
#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <string_view>
#include <vector>

#include "app/coursemap.h"
#include "pagedesc/pagedesc.h"
#include "tests/support/coursemap.h"

using namespace pagedesc;
using coursemap::Describe;

namespace {

// The buttons that keep one name, caption and size wherever they occur.
enum Nav : unsigned {
  Menu = 1,
  Index = 2,
  Back = 4,
  Next = 8,
  Exit = 16,
  Explain = 32,
  NextStep = 64
};
constexpr unsigned kChapter = Menu | Back | Next | Exit;
constexpr unsigned kIllusion = Menu | Index | Back | Next | Exit | Explain;

struct PageExpect {
  std::string_view name;
  bool narrow;
  int controls;
  std::string_view defaultButton;  // empty: none
  unsigned nav;
  int rowTop;    // top of the bottom button row
  int rowShift;  // how far Back, Next and Exit stand right of their usual place
};

// In the order of the page table; the first is the start-up page.
constexpr PageExpect kPages[] = {
    {"Form16", false, 2, "", 0, 0, 0},
    {"Form2", false, 6, "Next", kChapter, 6720, 120},
    {"Form17", false, 7, "", Exit, 6600, 0},
    {"Form18", true, 14, "Next", kChapter, 6840, 240},
    {"Form19", false, 15, "Next", kChapter, 6840, 240},
    {"Form20", false, 8, "Next", kChapter, 6840, 240},
    {"Form21", false, 13, "Next", kChapter, 6840, 240},
    {"Form22", false, 9, "", kChapter & ~Next, 6840, 240},
    {"Form3", false, 6, "Next", kChapter, 6600, 0},
    {"Form4", false, 14, "image(0)", kChapter & ~Next, 6600, 0},
    {"Form5", true, 10, "Explain", kIllusion, 6600, 0},
    {"Form6", true, 9, "Explain", kIllusion, 6600, 0},
    {"Form7", true, 9, "Explain", kIllusion, 6600, 0},
    {"Form8", true, 10, "Explain", kIllusion, 6720, 0},
    {"Form9", true, 9, "Explain", kIllusion, 6600, 0},
    {"Form10", true, 10, "NextStep", kIllusion | NextStep, 6600, 0},
    {"Form11", false, 10, "NextStep", kIllusion | NextStep, 6600, 0},
    {"Form12", false, 10, "Next", kIllusion | NextStep, 6600, 0},
    {"Form13", false, 9, "Next", kIllusion, 6600, 0},
    {"Form14", false, 9, "NextStep", (kIllusion & ~Next) | NextStep, 6600, 0},
};

struct NavButton {
  Nav flag;
  std::string_view name, caption;
  int width;
  int left;  // 0: placed freely
  bool inRow, shifted;
};

constexpr NavButton kNavButtons[] = {
    {Menu, "Menu", "回主目錄", 1215, 240, true, false},
    {Index, "Index", "回圖像目錄", 1455, 1680, true, false},
    {Back, "Back", "上一頁", 1095, 5640, true, true},
    {Next, "Next", "下一頁", 1095, 6960, true, true},
    {Exit, "Exit", "離開", 1095, 8280, true, true},
    {Explain, "Explain", "解說", 1215, 0, false, false},
    {NextStep, "NextStep", "下一步", 1215, 0, false, false},
};

// Every font style of the course.
constexpr std::pair<std::string_view, std::uint32_t> kStyles[] = {
    {"新細明體", 120000},        {"新細明體", 142500}, {"新細明體", 157500},
    {"新細明體", 202500},        {"新細明體", 217500}, {"新細明體", 240000},
    {"標楷體", 240000},          {"標楷體", 277500},   {"標楷體", 360000},
    {"標楷體", 480000},          {"標楷體", 720000},   {"Times New Roman", 480000},
    {"Times New Roman", 240000},
};

QString Str(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
QString Str(long long n) { return QString::number(n); }

QString Name(const ControlDescription& c) {
  return c.index ? QStringLiteral("%1(%2)").arg(Str(c.name)).arg(*c.index) : Str(c.name);
}

QString Where(const PageDescription& p, const ControlDescription& c) {
  return Str(p.name) + u' ' + Name(c);
}

template <typename A, typename E>
QString Mismatch(const QString& where, const char* what, const A& actual, const E& expected) {
  return QStringLiteral("%1: %2 is %3, expected %4")
      .arg(where, QLatin1String(what), Str(actual), Str(expected));
}

#define EXPECT_EQ(where, what, actual, expected) \
  QVERIFY2((actual) == (expected), qPrintable(Mismatch(where, what, actual, expected)))

std::vector<const PageDescription*> AllPages() {
  std::vector<const PageDescription*> all;
  for (const shell::PageEntry& page : app::Course()) all.push_back(&page.description);
  return all;
}

}  // namespace

class TestPageDesc : public QObject {
  Q_OBJECT

 private:
  // Each data-driven test gets one row per page; the row's index picks its expectations.
  static void PerPage() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kPages)); ++i) QTest::newRow(kPages[i].name.data()) << i;
  }
  static std::pair<const PageExpect&, const PageDescription*> Fetch() {
    QFETCH(int, row);
    const PageExpect& e = kPages[row];
    return {e, Describe(e.name)};
  }

 private slots:
  void pageTable() {
    const std::vector<const PageDescription*> pages = AllPages();
    QCOMPARE(pages.size(), std::size(kPages));
    for (std::size_t i = 0; i < pages.size(); ++i)
      EXPECT_EQ(QStringLiteral("page %1").arg(i), "name", pages[i]->name, kPages[i].name);
  }

  void window_data() { PerPage(); }
  void window() {
    auto [e, p] = Fetch();
    QVERIFY(p);
    QCOMPARE(p->clientWidth, e.narrow ? 9885 : 9915);
    QCOMPARE(p->clientHeight, e.narrow ? 7590 : 7620);
    // Run-time positions span 10000 by 8000 units of the design client area.
    QVERIFY(qFuzzyCompare(p->scaleX, float(p->clientWidth / 10000.0)));
    QVERIFY(qFuzzyCompare(p->scaleY, float(p->clientHeight / 8000.0)));
    QCOMPARE(p->background, kSystemWindowBackground);
    QVERIFY(p->title.empty());
    QCOMPARE(int(p->controls.size()), e.controls);
  }

  // Focus order and the button that Enter clicks.
  void keyboard_data() { PerPage(); }
  void keyboard() {
    auto [e, p] = Fetch();
    QVERIFY(p);
    std::vector<int> tabs;
    QStringList defaults;
    for (const ControlDescription& c : p->controls) {
      QVERIFY2(c.tab.has_value() != (c.kind == Kind::Image), qPrintable(Where(*p, c)));
      if (c.tab) tabs.push_back(*c.tab);
      if (c.isDefault) defaults << Name(c);
      QVERIFY2(!c.isDefault || c.kind == Kind::Button, qPrintable(Where(*p, c)));
    }
    std::sort(tabs.begin(), tabs.end());
    std::vector<int> expected(tabs.size());
    std::iota(expected.begin(), expected.end(), 0);
    QString got;
    for (int t : tabs) got += QString::number(t) + u' ';
    QVERIFY2(tabs == expected, qPrintable(QStringLiteral("tab indices ") + got));
    QCOMPARE(defaults, e.defaultButton.empty() ? QStringList{} : QStringList{Str(e.defaultButton)});
  }

  void names_data() { PerPage(); }
  void names() {
    auto [e, p] = Fetch();
    QVERIFY(p);
    std::set<std::pair<std::string_view, int>> seen;
    std::set<int> indices;
    for (const ControlDescription& c : p->controls) {
      QVERIFY2(seen.insert({c.name, c.index.value_or(-1)}).second, qPrintable(Where(*p, c)));
      const bool element = e.name == "Form4" && c.name == "image";
      QVERIFY2(c.index.has_value() == element, qPrintable(Where(*p, c)));
      if (c.index) indices.insert(*c.index);
    }
    if (e.name == "Form4") QVERIFY(indices == (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  }

  void navigation_data() { PerPage(); }
  void navigation() {
    auto [e, p] = Fetch();
    QVERIFY(p);
    for (const NavButton& n : kNavButtons) {
      const ControlDescription* c = p->Find(n.name);
      QVERIFY2(bool(c) == bool(e.nav & n.flag), qPrintable(Str(n.name)));
      if (!c) continue;
      const QString at = Where(*p, *c);
      QVERIFY2(c->kind == Kind::Button && c->font, qPrintable(at));
      const std::string_view caption =
          n.flag == NextStep && e.name == "Form12" ? "開始動畫" : n.caption;
      EXPECT_EQ(at, "caption", c->caption, caption);
      EXPECT_EQ(at, "width", c->width, n.width);
      EXPECT_EQ(at, "height", c->height, 495);
      if (n.left) EXPECT_EQ(at, "left", c->left, n.left + (n.shifted ? e.rowShift : 0));
      if (n.inRow) EXPECT_EQ(at, "top", c->top, e.rowTop);
    }
  }

  void fonts() {
    const std::set<std::pair<std::string_view, std::uint32_t>> styles(std::begin(kStyles),
                                                                      std::end(kStyles));
    for (const PageDescription* p : AllPages()) {
      for (const ControlDescription& c : p->controls) {
        const QString at = Where(*p, c);
        const bool needsFont = c.kind == Kind::Label || (c.kind == Kind::Button && !c.graphical);
        QVERIFY2(c.font.has_value() == needsFont, qPrintable(at));
        if (!c.font) continue;
        const FontSpec& f = *c.font;
        QVERIFY2(styles.contains({f.family, f.size}), qPrintable(at + " has a style of its own"));
        EXPECT_EQ(at, "weight", f.weight, 700);
        EXPECT_EQ(at, "charset", f.charset,
                  f.family == "Times New Roman" ? kCharsetWestern : kCharsetBig5);
        EXPECT_EQ(at, "underline", f.underline, p->name == "Form4" && c.name == "Label1");
        QVERIFY2(!f.italic && !f.strikethrough, qPrintable(at));
        // Buttons all share one caption style; only the number buttons of the index differ.
        if (c.kind == Kind::Button)
          EXPECT_EQ(at, "font size", f.size, c.name == "image" ? 240000u : 120000u);
      }
    }
  }

  // Colours, visibility and picture faces are the exceptions named by control.
  void exceptions() {
    static const std::set<std::string_view> kBlueTitles = {"Form2", "Form3", "Form4"};
    static const std::set<std::string_view> kIllusions = {"Form5",  "Form6",  "Form7",  "Form8",
                                                          "Form9",  "Form10", "Form11", "Form12",
                                                          "Form13", "Form14"};
    for (const PageDescription* p : AllPages()) {
      for (const ControlDescription& c : p->controls) {
        const QString at = Where(*p, c);
        if (c.kind == Kind::Label) {
          Colour colour = kSystemButtonText;
          if (c.name == "Label1" && kBlueTitles.contains(p->name)) colour = kBlue;
          if (c.name == "Label2" && kIllusions.contains(p->name)) colour = kLightRed;
          EXPECT_EQ(at, "colour", c.colour, colour);
          QVERIFY2(c.alignment != Alignment::Right, qPrintable(at));
        }
        const bool hidden = p->name == "Form5" && (c.name == "Label2" || c.name == "Image2");
        EXPECT_EQ(at, "hidden", !c.visible, hidden);
        const bool graphical =
            p->name == "Form17" && (c.name == "Command1" || c.name == "Command3");
        EXPECT_EQ(at, "graphical", c.graphical, graphical);
        if (graphical) QVERIFY2(c.caption.empty(), qPrintable(at));
      }
    }
  }

  // The number buttons of the index: two rows of five, in the order of their digits.
  void numberButtons() {
    const PageDescription* p = Describe("Form4");
    QVERIFY(p);
    for (int k = 0; k < 10; ++k) {
      const ControlDescription* c = p->Find("image", std::uint16_t(k));
      QVERIFY2(c, qPrintable(QString::number(k)));
      const QString at = Where(*p, *c);
      const char digit[] = {char('0' + k), '\0'};
      EXPECT_EQ(at, "caption", c->caption, std::string_view(digit));
      EXPECT_EQ(at, "left", c->left, 1680 + 1320 * (k % 5));
      EXPECT_EQ(at, "top", c->top, 3480 + 960 * (k / 5));
      EXPECT_EQ(at, "width", c->width, 1095);
      EXPECT_EQ(at, "height", c->height, 615);
      EXPECT_EQ(at, "tab", int(c->tab.value_or(99)), k);
    }
  }
};

QTEST_APPLESS_MAIN(TestPageDesc)
#include "test_pagedesc.moc"
