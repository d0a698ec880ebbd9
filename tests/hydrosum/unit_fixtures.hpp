// Shared by the hydrosum unit tests: textio's standard units on temporary
// files, a scratch working directory, the store on the heap, files written
// and read back, and the stops and failures that end a run.
#pragma once

#include "hydrosum/input/store.hpp"
#include "support/scratch.hpp"
#include "textio/run.hpp"
#include "textio/units.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

#include <unistd.h>

namespace hydrosum_test {

using test_support::split_lines;
using test_support::write_file;

// A file's lines; nothing when it cannot be opened.
inline std::optional<std::vector<std::string>> file_lines(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return split_lines(s.str());
}

// The exit code of the stop that body ends in; -1 when it returns.
template <class F>
int stop_code(F&& body) {
    try {
        body();
    } catch (const textio::StopRequest& stop) {
        return stop.ending == textio::Ending::failed ? textio::exit_failure : 0;
    }
    return -1;
}

// The failure that body ends the run with; when it returns, a test failure
// and an empty Failure.
template <class F>
textio::Failure failure_of(F&& body) {
    try {
        body();
    } catch (const textio::Failure& f) {
        return f;
    }
    ADD_FAILURE() << "no failure";
    return textio::Failure(0, "", 0, "");
}

// The frame's bounds as the driver sets them.
inline void set_frame(hydrosum::Store& st) {
    st.ci(1) = hydrosum::nruns;
    st.ci(2) = hydrosum::nheels;
}

// The store is about 55 MB: never on the stack. All zero but the frame.
inline std::unique_ptr<hydrosum::Store> framed_store() {
    auto st = std::make_unique<hydrosum::Store>();
    set_frame(*st);
    return st;
}

// A fresh directory under the temporary one, the working directory while
// this lives; removed with all it holds afterwards.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix) : dir_(prefix) { std::filesystem::current_path(dir_.path()); }
    ~ScratchDir() { std::filesystem::current_path(home_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return dir_.path(); }

    // Empty again, for another writer call.
    void clear() const {
        for (const auto& e : std::filesystem::directory_iterator(dir_.path())) std::filesystem::remove_all(e.path());
    }

private:
    std::filesystem::path home_ = std::filesystem::current_path();   // left before the directory goes
    test_support::TempDir dir_;
};

// Units 5 and 6 on temporary files for the length of a test: standard input
// is the process's own until input() fills it, standard output is kept.
class StdioTest : public ::testing::Test {
protected:
    void SetUp() override {
        in_ = std::tmpfile();
        out_ = std::tmpfile();
        ASSERT_TRUE(in_ && out_);
        textio::Runtime::instance().reset(stdin, out_);
    }
    void TearDown() override {
        textio::Runtime::instance().reset();   // also closes a unit a stop left open
        if (in_) std::fclose(in_);
        if (out_) std::fclose(out_);
    }

    // Standard input holds `text` from its start.
    void input(const std::string& text) {
        std::fflush(in_);
        ASSERT_EQ(::ftruncate(::fileno(in_), 0), 0);
        std::rewind(in_);
        std::fputs(text.c_str(), in_);
        std::rewind(in_);
        textio::Runtime::instance().reset(in_, out_);
    }

    // Everything written on standard output so far.
    std::string output() {
        std::fflush(out_);
        std::rewind(out_);
        std::string text;
        char buf[4096];
        for (std::size_t got; (got = std::fread(buf, 1, sizeof buf, out_)) > 0;) text.append(buf, got);
        std::fseek(out_, 0, SEEK_END);   // later writes go on at the end
        return text;
    }
    std::vector<std::string> output_lines() { return split_lines(output()); }

    void clear_output() {
        std::fflush(out_);
        ASSERT_EQ(::ftruncate(::fileno(out_), 0), 0);
        std::rewind(out_);
    }
    // Everything written since the last call.
    std::string take_output() {
        std::string text = output();
        clear_output();
        return text;
    }
    // Standard output empty and both units connected afresh, as at the start.
    void fresh_output() {
        textio::Runtime::instance().reset(stdin, out_);   // first: what the old units still write goes too
        clear_output();
    }

private:
    std::FILE* in_ = nullptr;
    std::FILE* out_ = nullptr;
};

}  // namespace hydrosum_test
