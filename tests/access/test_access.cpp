// The course as a screen reader finds it, page by page: the window named for the pupil, the
// controls in reading order with their names, press actions that do what a click does, hidden
// explanations out of the tree until they are shown, and spoken when they are.
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <QAccessible>
#include <QApplication>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <set>

#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

QAccessibleInterface* Of(QObject* o) { return QAccessible::queryAccessibleInterface(o); }

// What a screen reader reads on the page shown: the window's one child.
QAccessibleInterface* Shown(Harness& h) {
  QAccessibleInterface* window = Of(&h.Course().Window());
  return window->childCount() == 1 ? window->child(0) : nullptr;
}

QStringList ChildNames(QAccessibleInterface* page) {
  QStringList names;
  for (int i = 0; i < page->childCount(); ++i) names << page->child(i)->text(QAccessible::Name);
  return names;
}

bool IsText(QAccessible::Role r) {
  return r == QAccessible::StaticText || r == QAccessible::Heading || r == QAccessible::Paragraph;
}

// Every object under node, depth first, each once; a failure names the first that comes back
// or whose parent is not the object it was reached from.
QString Walk(QAccessibleInterface* node, std::vector<QAccessibleInterface*>& seen) {
  if (std::find(seen.begin(), seen.end(), node) != seen.end())
    return QStringLiteral("%1 is reached twice").arg(node->text(QAccessible::Name));
  seen.push_back(node);
  for (int i = 0; i < node->childCount(); ++i) {
    QAccessibleInterface* child = node->child(i);
    if (!child)
      return QStringLiteral("child %1 of %2 is missing").arg(i).arg(node->text(QAccessible::Name));
    // A bridge gives the application object one path; any other object with its role is the
    // application again, and a walk of the tree never ends.
    if (child->role() == QAccessible::Application)
      return QStringLiteral("%1 reads as the application").arg(child->text(QAccessible::Name));
    if (child->parent() != node || node->indexOfChild(child) != i)
      return QStringLiteral("%1 does not know its parent").arg(child->text(QAccessible::Name));
    if (const QString fault = Walk(child, seen); !fault.isEmpty()) return fault;
  }
  return QString();
}

// Code names a pupil must never hear.
const QRegularExpression kCodeName(QStringLiteral("^(Form|Label|Image|Command|OLE)\\d*$"));

// What the course told the screen reader, as (object, event) pairs, and each description as it
// was when it changed.
std::vector<std::pair<QWidget*, QAccessible::Event>> told;
QStringList described;
// A control whose moves are counted each time a description changes.
const forms::Control* watched = nullptr;
std::vector<unsigned> movesWhenDescribed;
void Record(QAccessibleEvent* event) {
  told.emplace_back(qobject_cast<QWidget*>(event->object()), event->type());
  if (event->type() != QAccessible::DescriptionChanged) return;
  described << event->accessibleInterface()->text(QAccessible::Description);
  movesWhenDescribed.push_back(watched ? watched->Moves() : 0);
}

// Listens to what the course tells screen readers while it lives (Qt tells only while one
// listens).
class Listening {
 public:
  Listening() : platform_(QGuiApplicationPrivate::platformIntegration()->accessibility()) {
    told.clear();
    described.clear();
    movesWhenDescribed.clear();
    platform_->setActive(true);
    previous_ = QAccessible::installUpdateHandler(Record);
  }
  ~Listening() {
    QAccessible::installUpdateHandler(previous_);
    platform_->setActive(false);
  }
  int DescriptionChanges(QWidget* of) const {
    return int(
        std::count(told.begin(), told.end(), std::pair(of, QAccessible::DescriptionChanged)));
  }

 private:
  QPlatformAccessibility* platform_;
  QAccessible::UpdateHandler previous_ = nullptr;
};

// The names of the pictures on the page, as screen readers read them.
QStringList PictureNames(const forms::Page& page) {
  QStringList names;
  for (forms::Control* c : page.Controls())
    if (dynamic_cast<forms::ImageBox*>(c) && c->Widget().isVisible())
      names << Of(&c->Widget())->text(QAccessible::Name);
  return names;
}

// Where a page's name says it stands in its chapter: (page, pages), or nothing.
std::optional<std::pair<int, int>> PlaceIn(const QString& name) {
  static const QRegularExpression place(QStringLiteral("（第 (\\d+) 頁，共 (\\d+) 頁）$"));
  const QRegularExpressionMatch m = place.match(name);
  if (!m.hasMatch()) return std::nullopt;
  return std::pair(m.captured(1).toInt(), m.captured(2).toInt());
}

enum Way { kMouse, kKey, kBus };  // how Explain is pressed

// Every description on the page.
QStringList Descriptions(const forms::Page& page) {
  QStringList all;
  for (forms::Control* c : page.Controls()) all << Of(&c->Widget())->text(QAccessible::Description);
  return all;
}

}  // namespace

class AccessTest : public QObject {
  Q_OBJECT
 private slots:
  void everyPageReadsAsDesigned_data() {
    QTest::addColumn<QString>("page");
    for (const QString& page : coursemap::Pages()) QTest::newRow(qPrintable(page)) << page;
  }
  void everyPageReadsAsDesigned() {
    QFETCH(QString, page);
    Harness h;
    h.GoTo(page);
    QAccessibleInterface* window = Of(&h.Course().Window());
    QCOMPARE(window->role(), QAccessible::Window);
    const QString name = window->text(QAccessible::Name);
    QVERIFY2(!name.isEmpty() && !kCodeName.match(name).hasMatch(), qPrintable(name));
    QVERIFY(h.Course().Window().windowTitle().trimmed().isEmpty());
    // The page is the window's one child, a panel named as the window is.
    QAccessibleInterface* reading = Shown(h);
    QVERIFY(reading);
    QCOMPARE(reading->role(), QAccessible::Pane);
    QCOMPARE(reading->text(QAccessible::Name), name);
    QCOMPARE(reading->parent()->object(), window->object());
    const forms::Page& p = *h.Page();
    const auto& d = p.Description();
    // A page with nothing to focus says how to go on; the window says what its page says.
    if (p.TabOrder().empty()) QVERIFY2(!reading->text(QAccessible::Description).isEmpty(), "");
    QCOMPARE(window->text(QAccessible::Description), reading->text(QAccessible::Description));
    int buttonsSeen = 0;
    std::vector<QWidget*> order = p.TabOrder();
    auto next = order.begin();
    for (int i = 0; i < reading->childCount(); ++i) {
      QAccessibleInterface* c = reading->child(i);
      QVERIFY(c);
      QCOMPARE(c->parent()->object(), reading->object());
      QCOMPARE(reading->indexOfChild(c), i);
      const QString at = page + QStringLiteral(" child %1").arg(i);
      const QString childName = c->text(QAccessible::Name);
      QVERIFY2(!childName.isEmpty() && !kCodeName.match(childName).hasMatch(),
               qPrintable(at + ": " + childName));
      QVERIFY2(c->object() && static_cast<QWidget*>(c->object())->isVisible(), qPrintable(at));
      if (i == 0 && !d.heading.empty()) {  // the heading comes first, read as one
        QVERIFY2(name.startsWith(childName), qPrintable(name));  // the page is named after it
        QCOMPARE(c->role(), QAccessible::Heading);
      }
      if (c->role() == QAccessible::PushButton) {
        ++buttonsSeen;
        QVERIFY2(
            c->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()),
            qPrintable(at));
        // Buttons come last, in keyboard order.
        next = std::find(next, order.end(), static_cast<QWidget*>(c->object()));
        QVERIFY2(next != order.end(), qPrintable(at + " is out of keyboard order"));
      } else if (IsText(c->role())) {
        QVERIFY2(buttonsSeen == 0, qPrintable(at + " comes after a button"));
        QAccessibleTextInterface* text = c->textInterface();
        QVERIFY2(text, qPrintable(at));
        QCOMPARE(text->text(0, text->characterCount()).trimmed(), childName);
        // Orca speaks a panel's loose labels of three words or more with the panel's name as the
        // focus enters it: lesson text read so would be read on some pages and not others.
        if (c->role() == QAccessible::StaticText)
          QVERIFY2(childName.split(QLatin1Char(' '), Qt::SkipEmptyParts).size() < 3,
                   qPrintable(at + " is lesson text read as a label: " + childName));
      }
    }
  }

  // Every page is told apart by ear: no two pages of the course share a name, and a page the
  // pupil reads on to with Next says where in its chapter it stands, one further than the page
  // before, from the first to the last.
  void everyPageHasANameOfItsOwn() {
    Harness h;
    std::map<QString, QString> pageNamed, nameOf;
    for (const QString& page : coursemap::Pages()) {
      h.GoTo(page);
      QCOMPARE(h.PageName(), page);
      const QString name = Of(&h.Course().Window())->text(QAccessible::Name);
      QVERIFY2(!pageNamed.count(name),
               qPrintable(page + " and " + pageNamed[name] + " are both called " + name));
      pageNamed[name] = page;
      nameOf[page] = name;
    }
    std::set<QString> leadOn, ledTo;  // by Next
    for (const coursemap::Step& step : coursemap::Steps()) {
      if (step.control != QLatin1String("Next")) continue;
      const auto from = PlaceIn(nameOf[step.from]), to = PlaceIn(nameOf[step.to]);
      QVERIFY2(from && to, qPrintable(nameOf[step.from] + " → " + nameOf[step.to]));
      QCOMPARE(to->first, from->first + 1);
      QCOMPARE(to->second, from->second);
      leadOn.insert(step.from);
      ledTo.insert(step.to);
    }
    for (const auto& [page, name] : nameOf) {
      const auto place = PlaceIn(name);
      QVERIFY2(bool(place) == (leadOn.count(page) || ledTo.count(page)), qPrintable(name));
      if (place && !ledTo.count(page)) QVERIFY2(place->first == 1, qPrintable(name));
      if (place && !leadOn.count(page)) QVERIFY2(place->first == place->second, qPrintable(name));
    }
    // The eye chapter: five pages, the menu's first button opening the first.
    QCOMPARE(nameOf["Form18"], QStringLiteral("眼睛的構造（第 1 頁，共 5 頁）"));
    QCOMPARE(nameOf["Form22"], QStringLiteral("眼睛的運作（第 5 頁，共 5 頁）"));
  }

  // Three pages read in full, as a pupil hears them.
  void pagesReadInOrder() {
    Harness h;
    h.GoTo("Form21");
    QStringList read = ChildNames(Shown(h));
    QCOMPARE(read.first(), QStringLiteral("眼睛的構造"));
    QCOMPARE(read.mid(read.size() - 6),
             (QStringList{"回主目錄", "離開", "上一頁", "下一頁", "右眼", "左眼"}));
    QVERIFY(read.indexOf("找尋盲點：") < read.indexOf(QRegularExpression("^右眼－.*")));
    QVERIFY(read.indexOf(QRegularExpression("^右眼－.*")) <
            read.indexOf(QRegularExpression("^左眼－.*")));

    h.GoTo("Form17");
    QAccessibleInterface* menu = Of(&h.Course().Window());
    QCOMPARE(menu->text(QAccessible::Name), QStringLiteral("主目錄"));
    QAccessibleInterface* eye = Of(&h.Page()->Find("Command1").Widget());
    QCOMPARE(eye->text(QAccessible::Name), QStringLiteral("眼睛的構造及運作"));
    QVERIFY(!eye->text(QAccessible::Description).isEmpty());

    h.GoTo("Form4");
    QAccessibleInterface* three = Of(&h.Page()->Find("image", 3).Widget());
    QCOMPARE(three->text(QAccessible::Name), QStringLiteral("3"));
    QCOMPARE(three->text(QAccessible::Description), QStringLiteral("第 3 個視錯覺圖像"));
  }

  // The explanation and the second picture join the tree when Explain shows them.
  void hiddenItemsJoinWhenShown() {
    Harness h;
    h.GoTo("Form8");
    QAccessibleInterface* page = Shown(h);
    const int before = page->childCount();
    const QString explanation = h.Page()->LabelNamed("Label2").Caption();
    QVERIFY(!ChildNames(page).contains(explanation));
    h.Click("Explain");
    QCOMPARE(page->childCount(), before + 2);
    QVERIFY(ChildNames(page).contains(explanation));
  }

  // The explanation is spoken as it appears, by whatever control has the focus, however Explain
  // was pressed; the focus stays where the pupil put it. The pages take the three ways in turn.
  void explanationIsSpokenAsItAppears_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("way");
    const char* ways[] = {"mouse", "key", "bus"};
    for (int k = 0; k < 10; ++k) {
      const QString page = QStringLiteral("Form%1").arg(5 + k);
      QTest::newRow(qPrintable(page + QLatin1Char(' ') + ways[k % 3])) << page << k % 3;
    }
  }
  void explanationIsSpokenAsItAppears() {
    QFETCH(QString, page);
    QFETCH(int, way);
    Harness h;
    h.GoTo(page);
    // The screen reader follows the focus of the active window.
    QVERIFY(QTest::qWaitForWindowActive(&h.Course().Window()));
    forms::Page& p = *h.Page();
    const QString explanation = p.LabelNamed("Label2").Caption().trimmed();
    const QString question = p.LabelNamed("Label1").Caption().trimmed();
    const QStringList pictures = PictureNames(p);
    // What is shown with the page is read with it, not announced.
    for (const QString& d : Descriptions(p)) {
      QVERIFY2(!d.contains(explanation) && !d.contains(question), qPrintable(d));
      for (const QString& picture : pictures) QVERIFY2(!d.contains(picture), qPrintable(d));
    }
    QWidget& explain = p.Find("Explain").Widget();
    if (way == kKey) explain.setFocus(Qt::TabFocusReason);
    QWidget* focus = way == kMouse ? &explain : QApplication::focusWidget();
    QVERIFY(focus && p.isAncestorOf(focus));
    const QString own = Of(focus)->text(QAccessible::Description);

    const Listening listening;
    if (way == kMouse) h.Click("Explain");
    if (way == kKey) h.Key(Qt::Key_Space);
    if (way == kBus)
      Of(&explain)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(p.LabelNamed("Label2").isVisible());

    // Told once, all of it together: the explanation, then a picture that came with it.
    QCOMPARE(QApplication::focusWidget(), focus);
    QTRY_COMPARE(listening.DescriptionChanges(focus), 1);
    const QString spoken = Of(focus)->text(QAccessible::Description);
    QVERIFY2(spoken.startsWith(own) && spoken.contains(explanation), qPrintable(spoken));
    for (const QString& picture : PictureNames(p))
      if (!pictures.contains(picture))
        QVERIFY2(spoken.indexOf(picture) > spoken.indexOf(explanation), qPrintable(spoken));

    // Once the focus moves on, the control says only its own description again.
    h.Key(Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != focus);
    QTRY_COMPARE(Of(focus)->text(QAccessible::Description), own);
  }

  // Next step speaks what the new picture shows, once, by the button pressed; pressed again it
  // shows the same picture, and there is nothing new to say.
  void nextStepSpeaksTheNewPicture_data() {
    QTest::addColumn<QString>("page");
    for (const char* page : {"Form10", "Form11", "Form14"}) QTest::newRow(page) << page;
  }
  void nextStepSpeaksTheNewPicture() {
    QFETCH(QString, page);
    Harness h;
    h.GoTo(page);
    QVERIFY(QTest::qWaitForWindowActive(&h.Course().Window()));
    QWidget& next = h.Page()->Find("NextStep").Widget();
    next.setFocus(Qt::TabFocusReason);
    const QString before = PictureNames(*h.Page()).join(QLatin1Char(' '));
    const Listening listening;
    h.Key(Qt::Key_Space);
    const QString after = Of(&h.Page()->Find("Image1").Widget())->text(QAccessible::Name);
    QVERIFY(!before.contains(after));
    QTRY_COMPARE(listening.DescriptionChanges(&next), 1);
    QCOMPARE(Of(&next)->text(QAccessible::Description), after);
    h.Key(Qt::Key_Space);
    QTest::qWait(50);
    QCOMPARE(listening.DescriptionChanges(&next), 1);
  }

  // The sweep says when it starts, before the marker's first move, and when it has ended, after
  // its last; by the button pressed, which keeps the focus.
  void sweepSaysWhenItStartsAndEnds_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("marker");
    QTest::newRow("left eye") << "Left"
                              << "Image3";
    QTest::newRow("right eye") << "Right"
                               << "Image2";
  }
  void sweepSaysWhenItStartsAndEnds() {
    QFETCH(QString, button);
    QFETCH(QString, marker);
    Harness h;
    h.GoTo("Form21");
    QVERIFY(QTest::qWaitForWindowActive(&h.Course().Window()));
    QWidget& pressed = h.Page()->Find(button).Widget();
    pressed.setFocus(Qt::TabFocusReason);
    const forms::Control& moved = h.Page()->Find(marker);
    watched = &moved;
    const auto unwatch = qScopeGuard([] { watched = nullptr; });
    const Listening listening;
    for (int sweep = 0; sweep < 2; ++sweep) {  // and again, on a second press
      const unsigned before = moved.Moves();
      h.Key(Qt::Key_Space);
      QTRY_COMPARE(listening.DescriptionChanges(&pressed), 2 * (sweep + 1));
      QCOMPARE(QApplication::focusWidget(), &pressed);
      const auto at = std::size_t(2 * sweep);
      QVERIFY(moved.Moves() > before);
      QCOMPARE(movesWhenDescribed.at(at), before);
      QCOMPARE(movesWhenDescribed.at(at + 1), moved.Moves());
      const QString starts = described.at(qsizetype(at)), stops = described.at(qsizetype(at) + 1);
      QVERIFY2(!starts.isEmpty() && !stops.isEmpty() && starts != stops,
               qPrintable(starts + stops));
      QVERIFY2(Of(&pressed)->text(QAccessible::Description) == stops, qPrintable(stops));
    }
    // Each sweep in its own words: the mark that moves is the one named.
    const QString mark =
        button == QLatin1String("Left") ? QStringLiteral("「十」字符號") : QStringLiteral("黑點");
    QVERIFY2(described.at(0).startsWith(mark) && described.at(1).startsWith(mark),
             qPrintable(described.join(QLatin1Char('|'))));
  }

  // A walk of the whole tree from the application ends, on every page and after every press that
  // shows more, and under the window finds exactly the window, the page and what it shows.
  void everyTreeWalkEnds_data() { everyPageReadsAsDesigned_data(); }
  void everyTreeWalkEnds() {
    QFETCH(QString, page);
    Harness h;
    h.GoTo(page);
    const auto& d = h.Page()->Description();
    for (const char* press : {"", "NextStep", "Explain"}) {
      // (NextStep on the animation page starts the program instead.)
      if (*press && (!d.Find(press) || d.Find("OLE1"))) continue;
      if (*press) h.Click(QString::fromLatin1(press));
      std::vector<QAccessibleInterface*> seen;
      QAccessibleInterface* root = Of(qApp);
      QCOMPARE(root->role(), QAccessible::Application);
      const QString fault = Walk(root, seen);
      QVERIFY2(fault.isEmpty(), qPrintable(page + QLatin1Char(' ') + press + ": " + fault));
      std::set<QObject*> shown{&h.Course().Window(), h.Page()};
      for (forms::Control* c : h.Page()->Controls())
        if (c->Widget().isVisible()) shown.insert(&c->Widget());
      std::set<QObject*> reached;
      for (QAccessibleInterface* i : seen)
        if (i != root) reached.insert(i->object());
      QCOMPARE(reached.size(), shown.size());
      QVERIFY(reached == shown);
    }
  }

  // Pressing through the bus does what a click does; on the title page, what a mouse press does.
  void pressActionsDoWhatAClickDoes() {
    Harness h;
    h.Start();
    QAccessibleInterface* window = Of(&h.Course().Window());
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Lumora"));
    window->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(h.PageName(), QStringLiteral("Form17"));
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("主目錄"));
    Of(&h.Page()->Find("Command1").Widget())
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(h.PageName(), QStringLiteral("Form18"));
    h.GoTo("Form16");
    Of(&h.Page()->Find("Label1").Widget())
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(h.PageName(), QStringLiteral("Form17"));
  }

  // A press through the bus during the sweep waits for its end, like a click.
  void pressDuringASweepWaits() {
    Harness h;
    h.GoTo("Form21");
    forms::Page* page = h.Page();
    QTimer::singleShot(0, [&] {
      Of(&page->Find("Next").Widget())
          ->actionInterface()
          ->doAction(QAccessibleActionInterface::pressAction());
    });
    h.Click("Left");
    QCOMPARE(h.Page(), page);
    QTRY_COMPARE(h.PageName(), QStringLiteral("Form22"));
  }
};

LUMORA_TEST_MAIN(AccessTest)
#include "test_access.moc"
