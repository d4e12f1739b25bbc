// Holds the twenty page descriptions to the rules every page keeps, so that a mistyped row shows
// up here rather than as a misplaced control, a lost focus or a stray font on screen.
#include <QtTest>
#include <algorithm>
#include <map>
#include <set>

#include "app/coursemap.h"
#include "pagedesc/pagedesc.h"
#include "pagedesc/rows.h"

using namespace pagedesc;

namespace {

QString Str(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QString Where(const PageDescription& p, const ControlDescription& c) {
  const QString name =
      c.index ? QStringLiteral("%1(%2)").arg(Str(c.name)).arg(*c.index) : Str(c.name);
  return Str(p.name) + u' ' + name;
}

bool SameFont(const FontSpec& a, const FontSpec& b) {
  return a.family == b.family && a.size == b.size && a.weight == b.weight &&
         a.underline == b.underline && a.italic == b.italic && a.strikethrough == b.strikethrough &&
         a.charset == b.charset;
}

QRect Box(const ControlDescription& c) { return QRect(c.left, c.top, c.width, c.height); }

}  // namespace

class TestPageDesc : public QObject {
  Q_OBJECT

 private slots:
  // Run-time positions span 10000 by 8000 units of the client area; controls lie on the page,
  // buttons wholly, and no button hides another.
  void everyControlSitsOnItsPage() {
    for (const shell::PageEntry& entry : app::Course()) {
      const PageDescription& p = entry.description;
      QVERIFY(qFuzzyCompare(p.scaleX, float(p.clientWidth / 10000.0)));
      QVERIFY(qFuzzyCompare(p.scaleY, float(p.clientHeight / 8000.0)));
      const QRect client(0, 0, p.clientWidth, p.clientHeight);
      std::vector<QRect> buttons;
      for (const ControlDescription& c : p.controls) {
        QVERIFY2(c.width > 0 && c.height > 0 && client.intersects(Box(c)), qPrintable(Where(p, c)));
        if (c.kind != Kind::Button) continue;
        QVERIFY2(client.contains(Box(c)), qPrintable(Where(p, c)));
        for (const QRect& other : buttons)
          QVERIFY2(!other.intersects(Box(c)), qPrintable(Where(p, c) + " covers another button"));
        buttons.push_back(Box(c));
      }
    }
  }

  // Tab indices run 0..n-1 over everything but the image boxes; at most one default button;
  // names are unique, and a control array's elements run 0..n-1 in tab order with their digits.
  void keyboardOrderAndNames() {
    for (const shell::PageEntry& entry : app::Course()) {
      const PageDescription& p = entry.description;
      std::vector<int> tabs;
      std::set<std::pair<std::string_view, int>> seen;
      std::map<std::string_view, std::vector<const ControlDescription*>> arrays;
      int defaults = 0;
      for (const ControlDescription& c : p.controls) {
        const QString at = Where(p, c);
        QVERIFY2(c.tab.has_value() != (c.kind == Kind::Image), qPrintable(at));
        if (c.tab) tabs.push_back(*c.tab);
        QVERIFY2(!c.isDefault || c.kind == Kind::Button, qPrintable(at));
        defaults += c.isDefault;
        QVERIFY2(seen.insert({c.name, c.index.value_or(-1)}).second, qPrintable(at));
        if (c.index) arrays[c.name].push_back(&c);
      }
      std::sort(tabs.begin(), tabs.end());
      for (int i = 0; i < int(tabs.size()); ++i) QVERIFY2(tabs[i] == i, p.name.data());
      QVERIFY2(defaults <= 1, p.name.data());
      for (auto& [name, elements] : arrays) {
        std::sort(elements.begin(), elements.end(),
                  [](auto* a, auto* b) { return *a->index < *b->index; });
        for (int k = 0; k < int(elements.size()); ++k) {
          const ControlDescription& c = *elements[k];
          QCOMPARE(int(*c.index), k);
          QCOMPARE(Str(c.caption), QString::number(k));
          if (k) QCOMPARE(int(*c.tab), int(*elements[k - 1]->tab) + 1);
          QVERIFY2(!seen.count({name, -1}), qPrintable(Where(p, c)));
        }
      }
    }
  }

  // Text is set in the course's styles only; a picture button shows its picture and no caption;
  // a button keeps its size and style wherever its name occurs.
  void fontsAndButtons() {
    using namespace rows;
    const FontSpec styles[] = {Ming12,  Ming1425, Ming1575, Ming2025, Ming2175U, Ming24, Kai24,
                               Kai2775, Kai36,    Kai48,    Kai72,    Times48,   Times24};
    std::map<std::string_view, const ControlDescription*> firstButton;
    for (const shell::PageEntry& entry : app::Course()) {
      const PageDescription& p = entry.description;
      for (const ControlDescription& c : p.controls) {
        const QString at = Where(p, c);
        const bool text = c.kind == Kind::Label || (c.kind == Kind::Button && !c.graphical);
        QVERIFY2(c.font.has_value() == text, qPrintable(at));
        QVERIFY2(!c.graphical || (c.kind == Kind::Button && c.caption.empty()), qPrintable(at));
        if (c.font)
          QVERIFY2(std::any_of(std::begin(styles), std::end(styles),
                               [&](const FontSpec& s) { return SameFont(s, *c.font); }),
                   qPrintable(at + " has a style of its own"));
        if (c.kind != Kind::Button || c.graphical) continue;
        const auto [it, first] = firstButton.emplace(c.name, &c);
        if (first) continue;
        QVERIFY2(it->second->width == c.width && it->second->height == c.height, qPrintable(at));
        QVERIFY2(SameFont(*it->second->font, *c.font), qPrintable(at));
      }
    }
  }
};

QTEST_APPLESS_MAIN(TestPageDesc)
#include "test_pagedesc.moc"
