#pragma once
// Dialogues run by the real gridedit, their transcripts checked.

#include "program.hpp"
#include "transcript.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>

namespace gridedit_test {

inline void expect_clean_end(const Outcome& r)
{
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

// The status and standard error the dialogue's refused answers give.
inline void expect_end(const Outcome& r, const Dialogue& d)
{
    EXPECT_EQ(r.status, d.status());
    EXPECT_EQ(r.err, d.errors());
}

// Runs the dialogue's answers in `box`; the program must write its transcript.
inline Outcome run_dialogue(const Sandbox& box, const Dialogue& d)
{
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    return r;
}

struct Session {
    Outcome outcome;
    std::optional<std::string> written;  // out.net
    Dialogue dialogue;                   // what was typed and what it must give
};

// run_dialogue in a fresh scratch directory with `input` as in.net.
inline Session run_with(const Dialogue& d, const std::string& input)
{
    Sandbox box;
    box.write("in.net", input);
    Outcome r = run_dialogue(box, d);
    return {r, box.read("out.net"), d};
}

// The run must end as its refused answers say and leave out.net as in.net was.
inline void expect_unchanged(const Dialogue& d, const std::string& input)
{
    Session s = run_with(d, input);
    expect_end(s.outcome, d);
    EXPECT_EQ(s.written, input);
}

using Steps = std::function<void(Dialogue&)>;

// Reads `input` as in.net (its title and counts as given), takes the steps,
// clears a subblock they leave set, writes out.net and quits.
inline Session edit(const std::string& input, std::string_view title, int imax, int jmax, const Steps& steps)
{
    Dialogue d;
    load(d, "in.net", title, imax, jmax);
    steps(d);
    if (d.net.block) clear_block(d);
    save(d, "out.net");
    d.quit();
    return run_with(d, input);
}

// edit, ending with status 0 and nothing on standard error: gives back out.net.
inline std::optional<std::string> edit_cleanly(const std::string& input, std::string_view title, int imax, int jmax,
                                               const Steps& steps)
{
    Session s = edit(input, title, imax, jmax, steps);
    expect_clean_end(s.outcome);
    return s.written;
}

}  // namespace gridedit_test
