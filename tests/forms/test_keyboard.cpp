// The keyboard on every page: the button drawn as the default is the one Enter presses, and
// the focused control shows it from the start.
#include <QKeyEvent>
#include <QTest>
#include <utility>

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

// A key event as the window system hands it to the course's window.
void KeyToWindow(forms::Page& page, QEvent::Type type, Qt::Key key, bool repeat = false) {
  QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(),
                  repeat);
  QCoreApplication::sendEvent(page.window()->windowHandle(), &event);
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

  // Held down, Enter and Space click once. X11 repeats a held key as further presses without
  // releases (the course asks for that), other systems mark their repeats; either way a press
  // while the key is down is no new click. A key let go while another program had the keyboard
  // is down no longer.
  void aHeldKeyClicksOnce() {
    Harness h;
    h.GoTo("Form18");
    forms::Page& page = *h.Page();
    QCOMPARE(h.Focus()->objectName(), QStringLiteral("Next"));
    int clicks = 0;
    page.On(QStringLiteral("Next_Click"), [&clicks](int) { ++clicks; });
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
      for (int round = 1; round <= 2; ++round) {
        KeyToWindow(page, QEvent::KeyPress, key);
        for (int repeat = 0; repeat < 6; ++repeat)
          KeyToWindow(page, QEvent::KeyPress, key, /*repeat=*/repeat % 2 == 1);
        KeyToWindow(page, QEvent::KeyRelease, key);
        QCOMPARE(std::exchange(clicks, 0), 1);
      }
    }
    KeyToWindow(page, QEvent::KeyPress, Qt::Key_Return);
    QEvent away(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(qApp, &away);
    KeyToWindow(page, QEvent::KeyPress, Qt::Key_Return);
    KeyToWindow(page, QEvent::KeyRelease, Qt::Key_Return);
    QCOMPARE(clicks, 2);
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
