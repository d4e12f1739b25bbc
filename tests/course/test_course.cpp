// The shell and the title and menu pages, driven as a pupil would.
#include <QAccessible>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "app/coursemap.h"
#include "pagedesc/pagedesc.h"
#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

// Darkest pixel of a region of the page as drawn.
int DarkestIn(QWidget* page, const QRect& region) {
  const QImage image = page->grab().toImage();
  int darkest = 255;
  for (int y = region.top(); y <= region.bottom(); ++y)
    for (int x = region.left(); x <= region.right(); ++x)
      if (image.rect().contains(x, y)) darkest = std::min(darkest, qGray(image.pixel(x, y)));
  return darkest;
}

}  // namespace

class CourseTest : public QObject {
  Q_OBJECT
 private slots:
  void startShowsTitlePage() {
    Harness h;
    h.Start();
    QCOMPARE(h.PageName(), QStringLiteral("Form16"));
    QVERIFY(h.Page()->isVisible());
    QCOMPARE(h.VisiblePages(), 1);
    QVERIFY(!h.Page()->Picture().isNull());
    QCOMPARE(h.Page()->size(), QSize(661, 508));
    QWidget& window = h.Course().Window();
    QCOMPARE(h.Page()->window(), &window);
    QVERIFY(window.windowTitle().isEmpty());
    const Qt::WindowFlags f = window.windowFlags();
    QVERIFY(f & Qt::WindowCloseButtonHint);
    QVERIFY(!(f & Qt::WindowMinimizeButtonHint) && !(f & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window.minimumSize(), window.maximumSize());  // cannot be resized
    QCOMPARE(window.size(), QSize(661, 508));
    QCOMPARE(h.Focus(), nullptr);  // nothing on the title page takes the focus
  }

  void anyMousePressOnTitleOpensMenu_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("page left") << "" << int(Qt::LeftButton) << 0;
    QTest::newRow("page right") << "" << int(Qt::RightButton) << 0;
    QTest::newRow("page middle+shift") << "" << int(Qt::MiddleButton) << int(Qt::ShiftModifier);
    QTest::newRow("Label1 right") << "Label1" << int(Qt::RightButton) << 0;
    QTest::newRow("Label2 ctrl+alt")
        << "Label2" << int(Qt::LeftButton) << int(Qt::ControlModifier | Qt::AltModifier);
  }
  void anyMousePressOnTitleOpensMenu() {
    QFETCH(QString, where);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    Harness h;
    h.Start();
    // The press alone, with no release, switches the page.
    if (where.isEmpty())
      QTest::mousePress(h.Page(), Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers),
                        QPoint(640, 500));
    else
      h.Press(where, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(h.PageName(), QStringLiteral("Form17"));
    QCOMPARE(h.VisiblePages(), 1);
  }

  void keysLeaveTitleShown() {
    Harness h;
    h.Start();
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Tab, Qt::Key_Escape,
                    Qt::Key_A, Qt::Key_F1})
      h.Key(key);
    QCOMPARE(h.PageName(), QStringLiteral("Form16"));
    QVERIFY(!h.Status());
  }

  void titleAgainFromSensesChapter() {
    Harness h;
    h.GoTo("Form2");
    h.Click("Back");
    QCOMPARE(h.PageName(), QStringLiteral("Form16"));
    QVERIFY(!h.Page()->Picture().isNull());
    h.PressPage(QPoint(10, 10));
    QCOMPARE(h.PageName(), QStringLiteral("Form17"));
  }

  void exitAndCloseEndTheProgram() {
    {
      Harness h;
      h.GoTo("Form17");
      h.Click("Exit");
      QCOMPARE(h.Status(), std::optional<int>(0));
      QVERIFY(h.Reports().isEmpty());
      QCOMPARE(h.VisiblePages(), 0);
      QVERIFY(h.Course().Ended());
    }
    {
      Harness h;
      h.Start();
      h.Course().Window().close();  // the window's close button
      QCOMPARE(h.Status(), std::optional<int>(0));
      QCOMPARE(h.VisiblePages(), 0);
    }
  }

  void missingMenuPictureEndsAfterTitleIsGone() {
    Harness h;
    h.Remove("realeye.jpg");
    h.Start();
    QSignalSpy destroyed(h.Page(), &QObject::destroyed);
    h.PressPage(QPoint(5, 5));
    QCOMPARE(h.Status(), std::optional<int>(1));
    QVERIFY(h.Reports().value(0).contains(h.File("realeye.jpg")));
    QCOMPARE(h.VisiblePages(), 0);  // neither the title nor the half-built menu
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(destroyed.count(), 1);
  }

  void menuKeyboard() {
    Harness h;
    h.GoTo("Form17");
    QCOMPARE(h.Focus(), &h.Page()->Find("Command1").Widget());
    h.Key(Qt::Key_Tab);
    QCOMPARE(h.Focus(), &h.Page()->Find("Command3").Widget());
    h.Key(Qt::Key_Tab);
    QCOMPARE(h.Focus(), &h.Page()->Find("Exit").Widget());
    h.Key(Qt::Key_Tab);
    QCOMPARE(h.Focus(), &h.Page()->Find("Command1").Widget());
    h.Key(Qt::Key_Backtab);
    QCOMPARE(h.Focus(), &h.Page()->Find("Exit").Widget());
    h.Key(Qt::Key_Tab);
    h.Key(Qt::Key_Return);  // Enter on the focused first button opens the eye chapter
    QCOMPARE(h.PageName(), QStringLiteral("Form18"));
  }

  void menuEntriesAndLabels() {
    Harness h;
    h.GoTo("Form17");
    QVERIFY(h.Page()->LabelNamed("Label5").Caption() != "Label5");
    QCOMPARE(h.Page()->LabelNamed("Label5").Caption().size(), 91);
    h.Press("Label2");  // chapter titles are only titles
    h.Press("Label4");
    QCOMPARE(h.PageName(), QStringLiteral("Form17"));
    h.Key(Qt::Key_Tab);
    h.Key(Qt::Key_Space);
    QCOMPARE(h.PageName(), QStringLiteral("Form2"));
  }

  void pictureButtonShowsItsPictureCentred() {
    Harness h;
    h.GoTo("Form17");
    forms::Button& b = h.Page()->ButtonNamed("Command1");
    QCOMPARE(b.size(), QSize(73, 49));  // the button keeps its size
    const QImage face = b.grab().toImage();
    const QImage eye = b.Picture().toImage();
    // The centre of the face is the centre of the picture.
    const QColor a = face.pixelColor(face.width() / 2, face.height() / 2);
    const QColor e = eye.pixelColor(eye.width() / 2, eye.height() / 2);
    QVERIFY2(std::abs(a.red() - e.red()) + std::abs(a.green() - e.green()) +
                     std::abs(a.blue() - e.blue()) <
                 60,
             qPrintable(a.name() + " vs " + e.name()));
    QVERIFY(!b.accessibleDescription().isEmpty());  // what the picture shows
  }

  void labelsAreCutNotMovedOrGrown() {
    Harness h;
    h.Start();
    forms::Label& chinese = h.Page()->LabelNamed("Label2");
    QCOMPARE(chinese.geometry().left(), -8);  // starts left of the client area
    forms::Label& english = h.Page()->LabelNamed("Label1");
    const QRect box = english.geometry();
    english.SetCaption(QString(400, QLatin1Char('W')));
    QCOMPARE(english.geometry(), box);
    // Nothing is drawn in the strip just below the box.
    const QRect below(box.left() + 4, box.bottom() + 2, box.width() - 8, 4);
    QVERIFY(DarkestIn(h.Page(), box.adjusted(0, 0, 0, -box.height() / 2)) < 80);
    QVERIFY(DarkestIn(h.Page(), below) > 120);
  }

  // Every way between pages keeps the one window: the same native window, the new page's name,
  // the focus on its first control in keyboard order.
  void everySwitchKeepsTheWindow() {
    Harness h;
    h.Start();
    QWidget& window = h.Course().Window();
    const WId id = window.winId();
    for (const coursemap::Step& step : coursemap::Steps()) {
      h.GoTo(step.from);
      h.Take(step);
      const QString at = step.from + " > " + step.to;
      QCOMPARE(h.PageName(), step.to);
      QVERIFY2(window.winId() == id && window.isVisible(), qPrintable(at));
      QCOMPARE(h.Page()->window(), &window);
      QCOMPARE(window.size(), h.Page()->size());
      QCOMPARE(QAccessible::queryAccessibleInterface(&window)->text(QAccessible::Name),
               h.Page()->AccessibleName());
      const std::vector<QWidget*> order = h.Page()->TabOrder();
      QWidget* first = order.empty() ? nullptr : order.front();
      QVERIFY2(h.Focus() == first, qPrintable(at));
    }
  }

  void eventsWithoutHandlersAreIgnored() {
    Harness h;
    h.GoTo("Form17");
    forms::Page* menu = h.Page();
    menu->Raise("Nothing_Click");
    QTest::mousePress(menu, Qt::LeftButton, {}, QPoint(5, 5));  // the menu has no Form_MouseDown
    QCOMPARE(h.Page(), menu);
    QVERIFY(!h.Status());
  }

  // A handler or a way out named after a control the page does not have would never run; a
  // button with neither would do nothing when pressed.
  void everyButtonDoesSomethingAndEveryHandlerHasItsControl() {
    for (const shell::PageEntry& page : app::Course()) {
      const auto where = [&](std::string_view what) {
        return (coursemap::Str(page.Name()) + ": " + coursemap::Str(what)).toUtf8();
      };
      QStringList handled;
      for (const auto& [name, handler] : page.handlers) handled << coursemap::Str(name);
      for (const shell::Edge& edge : page.edges) {
        handled << coursemap::Str(edge.handler);
        QVERIFY2(shell::FindPage(app::Course(), edge.target), where(edge.target).constData());
        QVERIFY2(edge.Control() == "Form" || page.description.Find(edge.Control(), edge.index),
                 where(edge.handler).constData());
      }
      QVERIFY2(handled.contains("Form_Load"), where("Form_Load").constData());
      for (const QString& name : handled) {
        const QString control = name.section('_', 0, 0);
        QVERIFY2(
            control == "Form" || control == "image" || page.description.Find(control.toStdString()),
            where(name.toStdString()).constData());
      }
      for (const pagedesc::ControlDescription& c : page.description.controls)
        if (c.kind == pagedesc::Kind::Button && c.name != "Exit")
          QVERIFY2(handled.contains(coursemap::Str(c.name) + "_Click"), where(c.name).constData());
    }
  }
};

LUMORA_TEST_MAIN(CourseTest)
#include "test_course.moc"
