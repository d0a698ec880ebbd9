// The component block and the assembly of viscous and induced drag.
#include "unit_fixtures.hpp"

#include "hydrosum/input/steps.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace hydrosum {
namespace {

// The block with every option 0 (so no network is read): directory, then
// hull to rudder, then the frud lines as given.
std::string block(const std::string& frud) {
    return "directory\n/nets\nhull\n    0     hull.net\nkeel\n    0     keel.net\nbulb\n    0     bulb.net\n"
           "wing\n    0     wing.net\nrudder\n    0     rudder.net\n" +
           frud;
}

class Drag : public hydrosum_test::StdioTest {
protected:
    void SetUp() override {
        StdioTest::SetUp();
        st = hydrosum_test::framed_store();
        st->c(27) = 1.0f;
        st->c(29) = 1.0f;
    }
    std::string field(int k) {
        const auto& f = st->vchr[static_cast<std::size_t>(k - 1)];
        std::string s(f.data(), f.size());
        return s.substr(0, s.find_last_not_of(' ') + 1);
    }
    // A present run of one case with distinct slots 33-44 (and 60-101 in
    // the classes that have them).
    hydrosum::Run one_case(hydrosum::Run run, float speed, float heel, bool full = true) {
        run.present() = true;
        run.n() = 1;
        run.s(1, 1) = speed;
        run.s(1, 2) = heel;
        for (int s = 33; s <= 44; ++s) run.s(1, s) = static_cast<float>(s) / 64.0f;
        if (full)
            for (int s = 60; s <= 101; ++s) run.s(1, s) = static_cast<float>(s);
        return run;
    }
    std::unique_ptr<Store> st;
};

TEST_F(Drag, FrudLinesMayBeMissingAtTheEndOfTheBlock) {
    for (const std::string frud : {"", "frud\n"}) {
        SCOPED_TRACE(frud);
        st = std::make_unique<Store>();
        st->ci(4) = 1;
        input(block(frud));
        addbl(*st);
        EXPECT_EQ(field(1), "/nets");
        EXPECT_EQ(field(7), "rudder.net");
        EXPECT_EQ(st->vint[5], 0);
        EXPECT_EQ(field(8), "none");
    }
}

TEST_F(Drag, BlockReadsOptionAndNameByColumns) {
    st->ci(4) = -1;   // a negative mode opens no network, whatever the options
    input("d\n  ~/nets  \nh\n    3xxxxxhull one.net\nk\n   -2     keel.net\nb\n    0\nw\n    0     w\n"
          "r\n    7     r.net\nf\n   12     frud.net\n");
    addbl(*st);
    EXPECT_EQ(field(1), "  ~/nets");
    EXPECT_EQ(st->vint[0], 3);
    EXPECT_EQ(field(3), "hull one.net");
    EXPECT_EQ(st->vint[1], -2);
    EXPECT_EQ(field(5), "");
    EXPECT_EQ(st->vint[5], 12);
    EXPECT_EQ(field(8), "frud.net");
}

TEST_F(Drag, BlockFailuresEndTheRun) {
    for (const std::string& text : {block("frud\n   1.5    frud.net\n"), std::string("directory\n/nets\nhull\n"),
                                   std::string("d\n/n\nh\n  abc     hull.net\n")}) {
        SCOPED_TRACE(text);
        st = std::make_unique<Store>();
        st->ci(4) = 1;
        input(text);
        EXPECT_THROW(addbl(*st), textio::Failure);
    }
}

TEST_F(Drag, PositiveModeReplacesTheViscousGroup) {
    st->ci(4) = 1;
    const auto r = one_case(st->r.run(3, 2), 4.0f, 10.0f);
    const auto n = one_case(st->n.run(3, 2), 4.0f, 10.0f, false);
    input(block(""));
    addbl(*st);
    for (int s = 33; s <= 38; ++s) EXPECT_EQ(r.s(1, s), 0.0f) << s;
    for (int s = 53; s <= 59; ++s) EXPECT_EQ(r.s(1, s), 0.0f) << s;
    for (int m = 0; m < 6; ++m) EXPECT_EQ(r.s(1, 45 + m), r.s(1, 39 + m));
    EXPECT_EQ(n.s(1, 33), 33.0f / 64.0f);   // the wakes-off classes are never touched
}

TEST_F(Drag, NegativeModeTakesTheSolversBreakdown) {
    st->ci(4) = -1;
    const auto k = one_case(st->k.run(1, 1), 4.0f, 0.0f);
    const auto ku = one_case(st->ku.run(), 4.0f, 0.0f);
    input(block(""));
    addbl(*st);
    for (const auto& run : {k, ku}) {
        EXPECT_EQ(run.s(1, 33), 33.0f / 64.0f);   // no induced drag unless the mode is 2
        EXPECT_EQ(run.s(1, 53), 60.0f);
        EXPECT_EQ(run.s(1, 55), 66.0f);
        EXPECT_EQ(run.s(1, 56), 72.0f);
        EXPECT_EQ(run.s(1, 57), 78.0f);
        EXPECT_EQ(run.s(1, 58), 84.0f);
        EXPECT_EQ(run.s(1, 59), 90.0f);
        EXPECT_EQ(run.s(1, 54), 96.0f);
        for (int m = 0; m < 6; ++m) EXPECT_EQ(run.s(1, 45 + m), run.s(1, 33 + m) + run.s(1, 39 + m));
    }
}

// D = SF^2 / (2 pi h^2) (1 - c29) / c29 with the span h = c27 cos(heel) + c28 sin(heel).
TEST_F(Drag, InducedDragFromTheSideForce) {
    // single-precision reference: the expected values are computed from the
    // same float formula, so they agree to the last bit
    auto induced = [](float sf, float heel, float c27, float c28, float c29) {
        const float pi = std::acos(-1.0f);
        const float phi = pi * heel / 180.0f;
        const float h = c27 * std::cos(phi) + c28 * std::sin(phi);
        return sf * sf / (h * h * 2.0f * pi) * (1.0f - c29) / c29;
    };
    struct Row {
        int mode;
        float heel, c29;
        float about;   // the value to four significant digits, worked by hand
    };
    for (const Row& row : {Row{2, 0.0f, 0.9f, 0.004421f}, Row{2, 60.0f, 0.9f, 0.01768f}, Row{-2, 0.0f, 0.8f, 0.009947f}}) {
        SCOPED_TRACE(row.heel);
        st = hydrosum_test::framed_store();
        st->ci(4) = row.mode;
        st->c(27) = 2.0f;
        st->c(28) = 0.0f;
        st->c(29) = row.c29;
        const auto r = one_case(st->r.run(1, 1), 4.0f, row.heel);
        r.s(1, 41) = 1.0f;
        input(block(""));
        addbl(*st);
        const float d = induced(1.0f, row.heel, 2.0f, 0.0f, row.c29);
        EXPECT_NEAR(d, row.about, 1e-3f * row.about);
        if (row.mode > 0) {
            EXPECT_EQ(r.s(1, 54), d);
            EXPECT_EQ(r.s(1, 33), d);
        } else {
            EXPECT_EQ(r.s(1, 33), 33.0f / 64.0f + d);
            EXPECT_EQ(r.s(1, 54), 96.0f);   // the appendage sum, without the induced drag
        }
    }
}

TEST_F(Drag, ZeroSpanGivesNoInducedDrag) {
    st->ci(4) = 2;
    st->c(27) = 0.0f;   // only the deck's fix-up would make it 1
    st->c(29) = 0.5f;
    const auto r = one_case(st->r.run(1, 1), 4.0f, 0.0f);
    r.s(1, 41) = 1.0f;
    input(block(""));
    addbl(*st);
    EXPECT_EQ(r.s(1, 33), 0.0f);
}

TEST_F(Drag, SmallestCaseSpeedOverRKAndKu) {
    struct Row {
        float r, k, ku, smallest;
    };
    for (const Row& row : {Row{3.0f, 2.0f, 5.0f, 2.0f}, Row{0.0f, 1.0e-6f, 0.0f, 1100000.0f},
                           Row{3.0f, 2000000.0f, 0.5f, 0.5f}}) {
        st = hydrosum_test::framed_store();
        st->ci(4) = 1;
        one_case(st->r.run(7, 4), row.r, 0.0f);
        one_case(st->k.run(2, 9), row.k, 0.0f);
        one_case(st->ku.run(), row.ku, 0.0f);
        one_case(st->w.run(1, 1), 0.25f, 0.0f, false);   // wakes-off speeds do not count
        input(block(""));
        addbl(*st);
        EXPECT_EQ(st->c(18), row.smallest);
    }
}

}  // namespace
}  // namespace hydrosum
