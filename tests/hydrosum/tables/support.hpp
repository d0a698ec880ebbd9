// Shared by the tests of the corrections and the tables: one store for the
// whole test program, reset in place, and standard output on a temporary file.
#pragma once

#include "unit_fixtures.hpp"

#include "hydrosum/tables/tables.hpp"

#include <memory>

namespace hydrosum_test {

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

    hydrosum::Store& st = shared_store();
};

}  // namespace hydrosum_test
