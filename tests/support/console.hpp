#pragma once

// A console for tests that call the suite's routines directly: unit 5
// reads what the test feeds, unit 6 is captured; both are reset after the
// test. Needs the textio library.

#include "support/scratch.hpp"
#include "textio/units.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

namespace test_support {

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override { feed(""); }
    void TearDown() override { textio::Runtime::instance().reset(); }

    // Standard input holds answers from now on; the captured output starts afresh.
    void feed(std::string_view answers) {
        TempFile in(answers), out;
        textio::Runtime::instance().reset(in.get(), out.get());
        in_ = std::move(in);
        out_ = std::move(out);
    }

    std::string console() {
        std::fflush(out_.get());
        return out_.contents();
    }

private:
    TempFile in_, out_;
};

}  // namespace test_support
