// Numbers typed as answers to a question that is asked again when they
// cannot be read.
#pragma once

#include "statement.hpp"

namespace textio {

// Free-format numbers from standard input; false when they cannot be read
// (the caller asks again). The end of the answers ends the run rather than
// asking for ever.
template <class... T>
bool read_answer_numbers(T&... v) {
    In in(stdin_unit, list_directed);
    (in(v), ...);
    Result r = in.done();
    if (r.status == Status::end) throw failure_from(r);
    return static_cast<bool>(r);
}

}  // namespace textio
