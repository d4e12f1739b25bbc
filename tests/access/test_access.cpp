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

#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

QAccessibleInterface* Of(QObject* o) { return QAccessible::queryAccessibleInterface(o); }

QStringList ChildNames(QAccessibleInterface* window) {
  QStringList names;
  for (int i = 0; i < window->childCount(); ++i) names << window->child(i)->text(QAccessible::Name);
  return names;
}

// Code names a pupil must never hear.
const QRegularExpression kCodeName(QStringLiteral("^(Form|Label|Image|Command|OLE)\\d*$"));

// What the course told the screen reader, as (object, event) pairs.
std::vector<std::pair<QWidget*, QAccessible::Event>> told;
void Record(QAccessibleEvent* event) {
  told.emplace_back(qobject_cast<QWidget*>(event->object()), event->type());
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
    const forms::Page& p = *h.Page();
    const auto& d = p.Description();
    int buttonsSeen = 0;
    std::vector<QWidget*> order = p.TabOrder();
    auto next = order.begin();
    for (int i = 0; i < window->childCount(); ++i) {
      QAccessibleInterface* c = window->child(i);
      QVERIFY(c);
      QCOMPARE(c->parent()->object(), window->object());
      QCOMPARE(window->indexOfChild(c), i);
      const QString at = page + QStringLiteral(" child %1").arg(i);
      const QString childName = c->text(QAccessible::Name);
      QVERIFY2(!childName.isEmpty() && !kCodeName.match(childName).hasMatch(),
               qPrintable(at + ": " + childName));
      QVERIFY2(c->object() && static_cast<QWidget*>(c->object())->isVisible(), qPrintable(at));
      if (i == 0 && !d.heading.empty()) QCOMPARE(childName, name);  // the heading comes first
      if (c->role() == QAccessible::PushButton) {
        ++buttonsSeen;
        QVERIFY2(
            c->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()),
            qPrintable(at));
        // Buttons come last, in keyboard order.
        next = std::find(next, order.end(), static_cast<QWidget*>(c->object()));
        QVERIFY2(next != order.end(), qPrintable(at + " is out of keyboard order"));
      } else if (c->role() == QAccessible::StaticText) {
        QVERIFY2(buttonsSeen == 0, qPrintable(at + " comes after a button"));
        QAccessibleTextInterface* text = c->textInterface();
        QVERIFY2(text, qPrintable(at));
        QCOMPARE(text->text(0, text->characterCount()).trimmed(), childName);
      }
    }
  }

  // Three pages read in full, as a pupil hears them.
  void pagesReadInOrder() {
    Harness h;
    h.GoTo("Form21");
    QStringList read = ChildNames(Of(&h.Course().Window()));
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
    QAccessibleInterface* window = Of(&h.Course().Window());
    const int before = window->childCount();
    const QString explanation = h.Page()->LabelNamed("Label2").Caption();
    QVERIFY(!ChildNames(window).contains(explanation));
    h.Click("Explain");
    QCOMPARE(window->childCount(), before + 2);
    QVERIFY(ChildNames(window).contains(explanation));
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
    // The labels shown with the page are read with it, not announced.
    for (const QString& d : Descriptions(p))
      QVERIFY2(!d.contains(explanation) && !d.contains(question), qPrintable(d));
    QWidget& explain = p.Find("Explain").Widget();
    if (way == kKey) explain.setFocus(Qt::TabFocusReason);
    QWidget* focus = way == kMouse ? &explain : QApplication::focusWidget();
    QVERIFY(focus && p.isAncestorOf(focus));
    const QString own = Of(focus)->text(QAccessible::Description);

    // Qt tells of changes only while a screen reader is listening; here the test listens.
    QPlatformAccessibility* listening =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(listening);
    told.clear();
    listening->setActive(true);
    const auto previous = QAccessible::installUpdateHandler(Record);
    const auto deaf = qScopeGuard([&] {
      QAccessible::installUpdateHandler(previous);
      listening->setActive(false);
    });
    if (way == kMouse) h.Click("Explain");
    if (way == kKey) h.Key(Qt::Key_Space);
    if (way == kBus)
      Of(&explain)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(p.LabelNamed("Label2").isVisible());

    QCOMPARE(QApplication::focusWidget(), focus);
    const QString spoken = Of(focus)->text(QAccessible::Description);
    QVERIFY2(spoken.startsWith(own) && spoken.endsWith(explanation), qPrintable(spoken));
    QCOMPARE(
        std::count(told.begin(), told.end(), std::pair(focus, QAccessible::DescriptionChanged)), 1);

    // Once the focus moves on, the control says only its own description again.
    h.Key(Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != focus);
    QTRY_COMPARE(Of(focus)->text(QAccessible::Description), own);
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
