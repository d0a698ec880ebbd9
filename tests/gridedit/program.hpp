#pragma once

#include "support/sandbox.hpp"

namespace gridedit_test {

using test_support::Outcome;

// A fresh scratch directory in which gridedit runs; removed again at the end.
class Sandbox : public test_support::Sandbox {
public:
    Sandbox() : test_support::Sandbox(GRIDEDIT_EXE, "gridedit-test") {}
};

}  // namespace gridedit_test
