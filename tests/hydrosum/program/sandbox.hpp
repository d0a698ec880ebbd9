#pragma once

// A scratch directory in which the real hydrosum runs with a deck on standard input.

#include "support/sandbox.hpp"

namespace hydrosum_program_test {

using test_support::Environment;
using test_support::Outcome;

class Sandbox : public test_support::Sandbox {
public:
    Sandbox() : test_support::Sandbox(HYDROSUM_EXE, "hydrosum-program") {}
};

}  // namespace hydrosum_program_test
