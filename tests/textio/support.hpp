// Shared helpers of the textio tests: standard units pointed at temporary
// files, a scratch directory, whole-file reads, stderr capture and child
// processes.
#pragma once

#include "support/scratch.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace textio_test {

using test_support::read_file;
using test_support::write_file;

// A scratch directory for one test.
class TempDir : public test_support::TempDir {
public:
    TempDir() : test_support::TempDir("textio_test") {}
};

// Units 5 and 6 on temporary files for the length of a test.
class Streams : public ::testing::Test {
protected:
    void SetUp() override { textio::Runtime::instance().reset(in_.get(), out_.get()); }
    void TearDown() override { textio::Runtime::instance().reset(); }

    // Unit 5 reads `text` from its start; every other unit is closed.
    void use_input(std::string_view text) {
        test_support::TempFile in(text);
        textio::Runtime::instance().reset(in.get(), out_.get());
        in_ = std::move(in);
    }

    // Everything unit 6 has received so far.
    std::string output() {
        std::fflush(out_.get());
        return out_.contents();
    }
    // The output so far, after which unit 6 starts afresh.
    std::string take() {
        std::string s = output();
        out_.clear();
        return s;
    }

    test_support::TempFile in_;
    test_support::TempFile out_;
};

// Redirects file descriptor 2 while alive.
class StderrCapture {
public:
    StderrCapture() {
        std::fflush(stderr);
        saved_ = ::dup(2);
        ::dup2(fileno(file_.get()), 2);
    }
    ~StderrCapture() { restore(); }
    std::string text() {
        restore();
        return file_.contents();
    }

private:
    void restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        saved_ = -1;
    }
    test_support::TempFile file_;
    int saved_ = -1;
};

// body run in a child process; its wait status.
template <class Body>
int in_child(Body body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    int status = -1;
    if (child < 0 || ::waitpid(child, &status, 0) != child) ADD_FAILURE() << "no child process";
    return status;
}

// Equal bit patterns, or both NaN.
inline bool same(float a, float b) {
    return (std::isnan(a) && std::isnan(b)) || std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// One write item of a table row.
using Item = std::variant<std::int32_t, float, std::string>;

inline void put(textio::Out& o, const std::vector<Item>& items) {
    for (const Item& it : items) std::visit([&](const auto& v) { o(v); }, it);
}

inline std::string nuls(std::size_t n) { return std::string(n, '\0'); }

}  // namespace textio_test
