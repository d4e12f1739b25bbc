#include "forms/inputhold.h"

#include <QCoreApplication>
#include <QEvent>
#include <thread>

namespace forms {

namespace {

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::Close: return true;
    default: return false;
  }
}

}  // namespace

InputHold::InputHold() : next_(std::chrono::steady_clock::now()) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
  QCoreApplication::instance()->removeEventFilter(this);
  // Posted in order; events for windows or controls that have gone since are dropped.
  for (Held& h : held_)
    if (h.receiver) QCoreApplication::postEvent(h.receiver, h.event.release());
}

bool InputHold::eventFilter(QObject* receiver, QEvent* event) {
  if (!IsInput(event->type())) return false;
  if (!receiver->isWindowType() && !receiver->isWidgetType()) return false;
  held_.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
  // Not accepted: a held close request must not take the window off the screen yet.
  event->ignore();
  return true;
}

void InputHold::Pause(std::chrono::nanoseconds step) {
  using clock = std::chrono::steady_clock;
  next_ += step;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  for (clock::time_point now = clock::now(); now < next_; now = clock::now()) {
    std::this_thread::sleep_for(
        std::min<clock::duration>(next_ - now, std::chrono::microseconds(200)));
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  // Short delays (the machine busy for a moment) are made up over the next steps, so the whole
  // run keeps its length; after a long stall the pace starts afresh instead of racing.
  next_ = std::max(next_, clock::now() - std::chrono::milliseconds(50));
}

}  // namespace forms
