#include "forms/failure.h"

namespace forms {

void RunHandler(const FailureSink& sink, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const Failure& failure) {
    sink(failure.Message());
  }
}

}  // namespace forms
