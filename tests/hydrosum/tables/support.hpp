// Shared by the tests of the corrections and the tables: one store for the
// whole test program, reset in place, and standard output on a temporary file.
#pragma once

#include "unit_fixtures.hpp"

#include "hydrosum/tables/tables.hpp"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hydrosum_test {

inline std::vector<std::string> starting_with(const std::vector<std::string>& lines, std::string_view prefix) {
    std::vector<std::string> kept;
    for (const std::string& l : lines)
        if (l.rfind(prefix, 0) == 0) kept.push_back(l);
    return kept;
}

// The store is about 55 MB: allocated once, never on the stack.
inline hydrosum::Store& shared_store() {
    static const std::unique_ptr<hydrosum::Store> store = std::make_unique<hydrosum::Store>();
    return *store;
}

class StoreTest : public StdioTest {
protected:
    void SetUp() override {
        StdioTest::SetUp();
        reset_store();
    }

    // All zero again, in place, with the frame's bounds as the driver sets them.
    void reset_store() {
        std::destroy_at(&st);
        std::construct_at(&st);
        set_frame(st);
    }

    // The lines written on standard output since the last call.
    std::vector<std::string> new_lines() { return split_lines(take_output()); }

    hydrosum::Store& st = shared_store();
};

}  // namespace hydrosum_test
