// The front half of a hydrosum run: the driver and control deck, the
// force-moment files, the hydrostatics steps and the viscous drag.
#pragma once

#include "hydrosum/input/store.hpp"

namespace hydrosum {

// The whole run: banner, deck, frame, the road of steps, stop.
void main_routine();
void run_road(Store& st);

// Deck lines 1 to 8 (and 9) from standard input, each after its label line.
void read_deck(Store& st);
// Every force-moment file of the frame into the store, scaled to full size.
void stfmin(Store& st);
// Stops the run, naming the working folder, where not one of those files opened:
// the run would otherwise write nothing, say nothing and end as a success.
void require_a_file(Store& st);
// Where none of the files read gives a table, says so on standard error at
// the run's end, which is then a failure: the run wrote nothing.
void require_a_table(Store& st);
// At-rest hydrostatics removed.
void atrest(Store& st);
// Hydrostatic forces added ("static" in the deck's vocabulary).
void addstatic(Store& st);
// Component block read; viscous and induced drag added.
void addbl(Store& st);

}  // namespace hydrosum
