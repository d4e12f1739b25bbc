// The keyboard on every page: the button drawn as the default is the one Enter presses, and
// the focused control shows it from the start.
#include <QTest>

#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

QList<forms::Button*> Buttons(forms::Page& page) {
  QList<forms::Button*> buttons;
  for (forms::Control* c : page.Controls())
    if (auto* b = dynamic_cast<forms::Button*>(c)) buttons << b;
  return buttons;
}

// The buttons on the screen that have the default look.
QStringList DrawnDefault(forms::Page& page) {
  QStringList drawn;
  for (forms::Button* b : Buttons(page))
    if (b->isVisible() && b->DrawnAsDefault()) drawn << b->objectName();
  return drawn;
}

// Makes every button of the page report its click instead of running its handler, so that
// Enter can be pressed again and again on the same page.
void RecordClicks(forms::Page& page, QString& pressed) {
  for (forms::Button* b : Buttons(page))
    page.On(b->Name() + QStringLiteral("_Click"), [&pressed, name = b->Name()](int index) {
      pressed = index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
    });
}

}  // namespace

class KeyboardTest : public QObject {
  Q_OBJECT
 private slots:
  void enterPressesTheButtonDrawnAsDefault() {
    for (const QString& name : coursemap::Pages()) {
      Harness h;
      h.GoTo(name);
      forms::Page& page = *h.Page();
      QString pressed;
      RecordClicks(page, pressed);
      // Once round the keyboard order and one step past its end.
      const int steps = static_cast<int>(page.TabOrder().size()) + 1;
      for (int tab = 0; tab <= steps; ++tab) {
        const QStringList drawn = DrawnDefault(page);
        const QString where = QStringLiteral("%1 after %2 Tab").arg(name).arg(tab);
        QVERIFY2(drawn.size() <= 1, qPrintable(where + ": " + drawn.join(' ')));
        pressed.clear();
        h.Key(Qt::Key_Return);
        QCOMPARE(h.Page(), &page);
        QVERIFY2(pressed == drawn.value(0), qPrintable(where + ": Enter pressed '" + pressed +
                                                       "', drawn '" + drawn.value(0) + "'"));
        h.Key(Qt::Key_Tab);
      }
    }
  }

  void focusFrameShowsFromTheFirstPaint() {
    int framed = 0;
    for (const QString& name : coursemap::Pages()) {
      Harness h;
      h.GoTo(name);
      QWidget* focus = h.Focus();
      if (!focus || h.Page()->TabOrder().size() < 2) continue;
      const QImage first = focus->grab().toImage();
      // Away and back by keyboard, after which any control shows its focus frame.
      h.Key(Qt::Key_Tab);
      QVERIFY(h.Focus() != focus);
      const QImage without = focus->grab().toImage();
      h.Key(Qt::Key_Tab, Qt::ShiftModifier);
      QCOMPARE(h.Focus(), focus);
      QVERIFY2(focus->grab().toImage() == first, qPrintable(name + " " + focus->objectName()));
      framed += first != without;
    }
    QVERIFY(framed > 0);  // the frame does show
  }
};

LUMORA_TEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
