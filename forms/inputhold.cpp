#include "forms/inputhold.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <deque>
#include <thread>

#include "forms/platform/platform.h"

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

// The control a press was meant for, as the window would have chosen it then, and the press's
// place in that control.
std::pair<QWidget*, QPointF> PressTarget(QObject* receiver, QPointF at) {
  if (auto* widget = qobject_cast<QWidget*>(receiver)) return {widget, at};
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowHandle() != receiver) continue;
    QWidget* child = top->childAt(at.toPoint());
    QWidget* target = child ? child : top;
    return {target, target->mapFrom(top, at)};
  }
  return {nullptr, at};
}

void ClickHeld(QAbstractButton* button) {
  // Gone off the screen with its page, or disabled since: the click has nothing to press.
  if (!button->isVisible() || !button->isEnabled()) return;
  if (button->focusPolicy() & Qt::ClickFocus) button->setFocus(Qt::MouseFocusReason);
  button->click();
}

}  // namespace

// What the pupil did while input was held, in order. A press and a release on a button are kept
// as one click on it: by the time it is delivered the pointer may be anywhere, and the button
// would judge a replayed release by where the pointer is now.
class HeldInput {
 public:
  // Whether the event is input to hold back; if so it is kept, or dropped for pointer moves.
  bool Take(QObject* receiver, QEvent* event);
  bool Empty() const { return actions_.empty(); }
  // Delivers everything held, in order. A click that starts a new hold (another sweep) runs
  // it to its end before the next action here is delivered.
  void Deliver();

 private:
  struct Action {
    QPointer<QObject> receiver;  // a window or a control
    std::unique_ptr<QEvent> event;
    bool click = false;  // a left press on a button: its click once released
    bool released = false;
  };
  void TakePress(QObject* receiver, const QMouseEvent& e);

  std::deque<Action> actions_;
  Action* pressed_ = nullptr;  // the click still waiting for its release
};

QEvent::Type PressRequest::Type() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

bool HeldInput::Take(QObject* receiver, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == PressRequest::Type()) {
    actions_.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
    return true;
  }
  if (!IsInput(type) || (!receiver->isWindowType() && !receiver->isWidgetType())) return false;
  if (type == QEvent::Close) {
    // Not accepted: a held close request must not take the window off the screen yet.
    actions_.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
    event->ignore();
    return true;
  }
  // The pupil's input comes from the window system; what this class delivers itself does not,
  // and must pass a hold begun meanwhile.
  if (!event->spontaneous()) return false;
  switch (type) {
    case QEvent::MouseMove:
    case QEvent::ShortcutOverride: break;  // nothing to deliver later
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: TakePress(receiver, *static_cast<QMouseEvent*>(event)); break;
    case QEvent::MouseButtonRelease:
      if (pressed_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        pressed_->released = true;
      pressed_ = nullptr;
      break;
    default: actions_.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
  }
  // Accepted, so that it goes no further, not even to the control's page.
  event->accept();
  return true;
}

void HeldInput::TakePress(QObject* receiver, const QMouseEvent& e) {
  // A second press quickly after the first comes twice, as a press and as a double click;
  // on a button it is one click.
  if (e.type() == QEvent::MouseButtonDblClick && pressed_) return;
  const auto [target, at] = PressTarget(receiver, e.position());
  if (!target) return;
  const bool click = qobject_cast<QAbstractButton*>(target) && e.button() == Qt::LeftButton;
  const QEvent::Type type = click ? QEvent::MouseButtonPress : e.type();
  actions_.push_back(
      {target,
       std::make_unique<QMouseEvent>(type, at, target->mapTo(target->window(), at),
                                     e.globalPosition(), e.button(), e.buttons(), e.modifiers()),
       click});
  pressed_ = click ? &actions_.back() : nullptr;
}

void HeldInput::Deliver() {
  pressed_ = nullptr;
  while (!actions_.empty()) {
    const Action a = std::move(actions_.front());
    actions_.pop_front();
    if (!a.receiver) continue;  // its window or control has gone since
    if (a.click && a.released)
      ClickHeld(static_cast<QAbstractButton*>(a.receiver.data()));
    else
      // A press whose release has not come yet goes as it is; the button takes the release
      // when it comes.
      QCoreApplication::sendEvent(a.receiver, a.event.get());
  }
}

namespace {

// Delivers held input once the hold has ended, from the event loop rather than from inside the
// handler that held it. Until then it holds what arrives meanwhile behind the rest.
class Delivery final : public QObject {
 public:
  explicit Delivery(std::unique_ptr<HeldInput> held)
      : QObject(QCoreApplication::instance()), held_(std::move(held)) {
    QCoreApplication::instance()->installEventFilter(this);
    QMetaObject::invokeMethod(
        this, [this] { Run(); }, Qt::QueuedConnection);
  }

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    return held_->Take(receiver, event);
  }

 private:
  void Run() {
    // From here input flows again: a message box raised by a handler must answer the pupil.
    QCoreApplication::instance()->removeEventFilter(this);
    held_->Deliver();
    deleteLater();
  }

  std::unique_ptr<HeldInput> held_;
};

}  // namespace

InputHold::InputHold()
    : held_(std::make_unique<HeldInput>()), next_(std::chrono::steady_clock::now()) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
  QCoreApplication::instance()->removeEventFilter(this);
  if (!held_->Empty()) new Delivery(std::move(held_));
}

bool InputHold::eventFilter(QObject* receiver, QEvent* event) {
  return held_->Take(receiver, event);
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

namespace {

// Steps taken from the event loop, as many at a time as their pace has made due, the input held
// meanwhile; it deletes itself after the last.
class HeldSteps final : public QObject {
 public:
  HeldSteps(QObject& owner, int count, std::chrono::nanoseconds pause,
            std::function<void(int)> step, std::function<void()> done, FailureSink sink)
      : QObject(&owner),
        count_(count),
        pause_(pause),
        step_(std::move(step)),
        done_(std::move(done)),
        sink_(std::move(sink)),
        hold_(std::make_unique<InputHold>()),
        next_(std::chrono::steady_clock::now()) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { Take(); });
    timer_.start(1);
    Take();
  }

 private:
  void Take() {
    using clock = std::chrono::steady_clock;
    bool failed = true;
    RunHandler(sink_, [&] {
      for (const auto now = clock::now(); taken_ < count_ && next_ <= now; next_ += pause_)
        step_(taken_++);
      failed = false;
    });
    if (!failed && taken_ < count_) {
      // As on a desktop: after a long stall the pace starts afresh instead of racing.
      next_ = std::max(next_, clock::now() - std::chrono::milliseconds(50));
      return;
    }
    timer_.stop();
    hold_.reset();  // what the pupil did meanwhile is delivered from here
    if (!failed && done_) done_();
    deleteLater();
  }

  const int count_;
  const std::chrono::nanoseconds pause_;
  std::function<void(int)> step_;
  std::function<void()> done_;
  FailureSink sink_;
  std::unique_ptr<InputHold> hold_;
  std::chrono::steady_clock::time_point next_;
  QTimer timer_;
  int taken_ = 0;
};

}  // namespace

void TakeHeldSteps(QObject& owner, int count, std::chrono::nanoseconds pause,
                   std::function<void(int step)> step, std::function<void()> done,
                   FailureSink sink) {
  if (!HandlersMayWait()) {
    new HeldSteps(owner, count, pause, std::move(step), std::move(done), std::move(sink));
    return;
  }
  {
    InputHold hold;
    for (int i = 0; i < count; ++i) {
      step(i);
      hold.Pause(pause);
    }
  }
  if (done) done();
}

}  // namespace forms
