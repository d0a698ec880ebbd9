// Shared by the tests of the corrections and the tables: one store for the
// whole test program, reset in place, and standard output on a temporary file.
#pragma once

#include "hydrosum/tables/tables.hpp"
#include "textio/units.hpp"

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace hydrosum_test {

// The store is about 55 MB: allocated once, never on the stack.
inline hydrosum::Store& shared_store() {
    static const std::unique_ptr<hydrosum::Store> store = std::make_unique<hydrosum::Store>();
    return *store;
}

inline std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_store();
        out_ = std::tmpfile();
        ASSERT_NE(out_, nullptr);
        textio::Runtime::instance().reset(stdin, out_);
    }
    void TearDown() override {
        textio::Runtime::instance().reset();
        std::fclose(out_);
    }

    // All zero again, in place, with the frame's bounds as the driver sets them.
    void reset_store() {
        std::destroy_at(&st);
        std::construct_at(&st);
        st.ci(1) = hydrosum::nruns;
        st.ci(2) = hydrosum::nheels;
    }

    // Everything written on standard output so far, as lines.
    std::vector<std::string> output_lines() {
        std::fflush(out_);
        std::rewind(out_);
        std::string text;
        char buf[4096];
        for (std::size_t got; (got = std::fread(buf, 1, sizeof buf, out_)) > 0;) text.append(buf, got);
        std::fseek(out_, 0, SEEK_END);   // later writes go on at the end
        return split_lines(text);
    }

    hydrosum::Store& st = shared_store();

private:
    std::FILE* out_ = nullptr;
};

}  // namespace hydrosum_test
