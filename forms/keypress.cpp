#include "forms/keypress.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QSet>

#include "forms/platform/platform.h"

namespace forms {

namespace {

bool Clicks(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space ||
         key == Qt::Key_Select;
}

// A key is down from its press to its release; every press between the two is a repeat,
// whether the window system marks it as one or not. Key events are looked at where they reach
// a window, once each, before any control sees them.
class OnePress final : public QObject {
 public:
  OnePress() : QObject(QCoreApplication::instance()) {
    RepeatKeysWithoutReleases();
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    // A key let go while another program had the keyboard sends no release here.
    if (type == QEvent::ApplicationDeactivate) down_.clear();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !receiver->isWindowType())
      return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!Clicks(key->key())) return false;
    if (key->isAutoRepeat()) return true;
    if (type == QEvent::KeyRelease) {
      down_.remove(key->key());
      return false;
    }
    if (down_.contains(key->key())) return true;
    down_.insert(key->key());
    return false;
  }

 private:
  QSet<int> down_;
};

}  // namespace

void ClickOncePerPress() { new OnePress; }

}  // namespace forms
