// The one kind of failure the course raises. Whatever can fail (a picture read, a page load, a
// program start) throws it with a message that names what failed, in the pupil's language.
#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

namespace forms {

class Failure : public std::runtime_error {
 public:
  explicit Failure(const QString& message) : std::runtime_error(message.toStdString()) {}
  QString Message() const { return QString::fromUtf8(what()); }
};

// What happens to a failure that abandoned a handler: it is reported and the program ends.
using FailureSink = std::function<void(const QString& message)>;

// Runs one handler. This is the only place in the course where a failure is caught.
void RunHandler(const FailureSink& sink, const std::function<void()>& handler);

}  // namespace forms
