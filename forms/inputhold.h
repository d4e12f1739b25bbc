// Holding back the pupil's input while a handler runs for a long time (the blind-spot sweep):
// the window keeps painting and answering the window system, but mouse, keyboard and close
// requests wait, and are delivered in their order once the hold ends.
#pragma once

#include <QEvent>
#include <QObject>
#include <chrono>
#include <functional>
#include <memory>

#include "forms/failure.h"

namespace forms {

class HeldInput;

// A press asked for by other means than the pointer (a screen reader's press action): held back
// like the pupil's own input, and carried out by whoever installed the means.
class PressRequest final : public QEvent {
 public:
  PressRequest() : QEvent(Type()) {}
  static QEvent::Type Type();
  QEvent* clone() const override { return new PressRequest(*this); }
};

class InputHold final : public QObject {
  Q_OBJECT
 public:
  InputHold();
  // Ends the hold. What was held is delivered from the event loop, one action after the other;
  // input that arrives before then waits behind it.
  ~InputHold() override;

  // Lets the screen catch up with the latest changes, then waits until one more step has
  // passed since the hold began or since the previous pause, so that the steps keep an even
  // pace even when painting takes a while.
  void Pause(std::chrono::nanoseconds step);

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override;

 private:
  std::unique_ptr<HeldInput> held_;
  std::chrono::steady_clock::time_point next_;
};

// Takes `count` steps, one every `pause`, with the pupil's input held from the first step until
// the last has been taken, the window painting meanwhile; then `done`. Where a handler may wait
// (a desktop), returns after the last step, a failing step going out to the caller. Elsewhere (the
// browser) returns at once and the steps follow from the event loop, a failure going to `sink`
// and ending them; they end too when `owner` goes (its page unloaded).
void TakeHeldSteps(QObject& owner, int count, std::chrono::nanoseconds pause,
                   std::function<void(int step)> step, std::function<void()> done,
                   FailureSink sink);

}  // namespace forms
