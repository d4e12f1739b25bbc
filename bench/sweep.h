// The blind-spot sweep, move by move.
#pragma once

#include <vector>

#include "bench/bench.h"

namespace bench {

struct SweepFigures {
  double seconds = 0;        // from the click on Left until its handler returned
  std::vector<double> gaps;  // milliseconds between one move of the marker and the next
  unsigned moves = 0;        // moves made by the sweep
  unsigned unseen = 0;       // moves that came too close to the previous one to be told apart
};

// One Left sweep on Form21, freshly loaded.
SweepFigures MeasureLeftSweep(Driver& course);

}  // namespace bench
