#include "bench/sweep.h"

#include <QTimer>

namespace bench {

// The sweep moves the marker, then lets the event loop run while it waits for the next step.
// A zero-interval timer fires on every pass of that loop and reads the marker's move count, so
// each move is stamped on the first pass after it, without any change to the course. (Most moves
// are under a pixel, so the widget itself often does not move: its events cannot be used.)
SweepFigures MeasureLeftSweep(Driver& course) {
  if (course.PageName() == "Form21") course.GoTo("Form20");  // the marker back at its start
  course.GoTo("Form21");
  forms::Page& page = course.Page();
  const forms::Control& marker = page.ImageNamed(QStringLiteral("Image3"));
  const unsigned before = marker.Moves();

  std::vector<Clock::time_point> stamps;
  stamps.reserve(8192);
  SweepFigures f;
  unsigned last = before;
  QTimer sampler;
  sampler.setInterval(0);
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    const unsigned now = marker.Moves();
    if (now == last) return;
    f.unseen += now - last - 1;
    stamps.push_back(Clock::now());
    last = now;
  });
  sampler.start();
  const Clock::time_point clicked = Clock::now();
  page.ButtonNamed(QStringLiteral("Left")).click();
  const Clock::time_point returned = Clock::now();
  sampler.stop();

  f.seconds = Seconds(returned - clicked);
  f.moves = marker.Moves() - before;
  f.unseen += f.moves - (last - before);  // moves after the last pass of the loop
  for (std::size_t i = 1; i < stamps.size(); ++i) f.gaps.push_back(Ms(stamps[i] - stamps[i - 1]));
  return f;
}

}  // namespace bench
