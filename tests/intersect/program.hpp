// Shared by the program-level tests: foilcut and keelcut run in a scratch
// directory with their answers on standard input.
#pragma once

#include "support/sandbox.hpp"

#include <gtest/gtest.h>

#include <string>

namespace intersect_program_test {

using test_support::Outcome;

class Sandbox : public test_support::Sandbox {
public:
    explicit Sandbox(const std::string& program) : test_support::Sandbox(program, "intersect-program") {}
};

inline const std::string kFoilcut = FOILCUT_EXE;
inline const std::string kKeelcut = KEELCUT_EXE;

// The eight answers: file name, two specs and the flags, for source and target.
inline std::string answers(const std::string& src, const std::string& dxs, const std::string& des,
                           const std::string& target, const std::string& dxt, const std::string& det,
                           const std::string& sflags = "0 0", const std::string& tflags = "0 0 0 0") {
    return src + "\n" + dxs + "\n" + des + "\n" + sflags + "\n" + target + "\n" + dxt + "\n" + det + "\n" + tflags +
           "\n";
}

// foilcut's questions and size echo, as it writes them.
inline std::string ask(const std::string& question) { return question + "\n ? \n"; }
inline std::string questions(const std::string& which) {
    return ask(" enter " + which + " input filename") +
           ask(" enter " + which + " xsi direction ( +/- m/n ) for intersection") +
           ask(" enter " + which + " eta direction ( +/- m/n )");
}
inline std::string dialogue() { return " intersect source and target\n" + questions("source") + questions("target"); }

inline const std::string kHeader =
    " iint      xint      yint      zint      xsis      etas      xsit      etat\n";

// A run that ended through the I/O layer: one diagnostic, no table.
inline void expect_io_failure(const Sandbox& box, const Outcome& r, const std::string& names) {
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(names), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_FALSE(box.read("foilcut.out").has_value());
    EXPECT_FALSE(box.read("keelcut.out").has_value());
}

}  // namespace intersect_program_test
