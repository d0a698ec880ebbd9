// transform, reverse, transpose, scale, translate and rotate: point by point
// over the working range.

#include "session.hpp"

#include <functional>
#include <gtest/gtest.h>

namespace gridedit_test {
namespace {

using Record = std::function<std::string(int, int)>;

// Reads `file` as in.net, runs the steps, writes out.net and returns it.
std::optional<std::string> run_on(const std::string& file, int imax, int jmax, const Steps& steps)
{
    return edit_cleanly(file, "Fin", imax, jmax, steps);
}

// A 3 x 2 network with no two coordinates alike; z is +0 at (1, 1).
float bx(int i, int) { return static_cast<float>(i); }
float by(int, int j) { return static_cast<float>(10 * j); }
float bz(int i, int j) { return static_cast<float>(i + j - 2); }
std::string base_rec(int i, int j) { return pointf(bx(i, j), by(i, j), bz(i, j)); }
const std::string kBase = net_file(3, 2, "Fin", base_rec);

TEST(Transforms, BackupsAndWrongAnswersChangeNothing)
{
    Dialogue d;
    load(d, "in.net", "Fin", 3, 2);
    d.say("transform", ask(kTransformQ)).say(" 1", ask(kTransformQ)).refused().say("3", ask(kTransformQ)).refused();
    d.say("backup").again();
    d.say("reverse", ask(kReverseQ)).say("I", ask(kReverseQ)).refused().say("k", ask(kReverseQ)).refused();
    d.say("backup").again();
    // only the first number is tested for backup
    d.say("scale", ask(kScaleQ)).say("two 1 1", ask(kScaleQ)).refused().say("999 5 5").again();
    d.say("translate", ask(kTranslateQ)).say("x", ask(kTranslateQ)).refused().say("999 1 1").again();
    d.say("rotate", ask(kRotAxisQ)).say("w", ask(kRotAxisQ)).refused().say("xx", ask(kRotAxisQ)).refused();
    d.say("backup").again();
    // 999 at the angle goes back to the point, 999 first at the point to the axis
    d.say("rotate", ask(kRotAxisQ))
        .say("x", ask(kRotPointQ[0]))
        .say("999 0", ask(kRotAxisQ))
        .say("Z", ask(kRotPointQ[2]))
        .say("a b", ask(kRotPointQ[2]))
        .refused()
        .say("0 0", ask(kRotAngleQ[2]))
        .say("right", ask(kRotAngleQ[2]))
        .refused()
        .say("999", ask(kRotPointQ[2]))
        .say("999 1", ask(kRotAxisQ))
        .say("y", ask(kRotPointQ[1]))
        .say("0 0", ask(kRotAngleQ[1]))
        .say("999", ask(kRotPointQ[1]))
        .say("999 999", ask(kRotAxisQ))
        .say("backup")
        .again();
    save(d, "out.net");
    d.quit();

    expect_unchanged(d, kBase);
}

TEST(Transforms, WholeNetworkResults)
{
    auto cmd = [](std::string task, std::string q, std::string answer) {
        return [=](Dialogue& d) { d.say(task, ask(q)).say(answer).ok(); };
    };
    struct Case {
        const char* what;
        std::vector<Steps> steps;
        Record want;
    };
    const Case cases[] = {
        // y' = -z on z = +0 gives -0, and the file shows its sign
        {"yacht to aircraft",
         {cmd("transform", kTransformQ, "1")},
         [](int i, int j) { return pointf(bx(i, j), -bz(i, j), by(i, j)); }},
        {"aircraft to yacht",
         {cmd("transform", kTransformQ, "2")},
         [](int i, int j) { return pointf(bx(i, j), bz(i, j), -by(i, j)); }},
        {"there and back", {cmd("transform", kTransformQ, "1"), cmd("transform", kTransformQ, "2")}, base_rec},
        {"reverse i, odd count: the middle stays",
         {cmd("reverse", kReverseQ, "i")},
         [](int i, int j) { return base_rec(4 - i, j); }},
        {"reverse j", {cmd("reverse", kReverseQ, "j")}, [](int i, int j) { return base_rec(i, 3 - j); }},
        {"reverse i twice", {cmd("reverse", kReverseQ, "i"), cmd("reverse", kReverseQ, "i")}, base_rec},
        {"scale: 999 as a later factor is a factor",
         {cmd("scale", kScaleQ, "2 999 -1")},
         [](int i, int j) { return pointf(2 * bx(i, j), 999 * by(i, j), -bz(i, j)); }},
        {"translate: 999 as a later shift is a shift",
         {cmd("translate", kTranslateQ, "0.5 -1 999")},
         [](int i, int j) { return pointf(bx(i, j) + 0.5f, by(i, j) - 1, bz(i, j) + 999); }},
        {"scale over two lines",
         {[](Dialogue& d) { d.say("scale", ask(kScaleQ)).say("1 -1").say("1").ok(); }},
         [](int i, int j) { return pointf(bx(i, j), -by(i, j), bz(i, j)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto out = run_on(kBase, 3, 2, [&](Dialogue& d) {
            for (const Steps& s : c.steps) s(d);
        });
        EXPECT_EQ(out, net_file(3, 2, "Fin", c.want));
    }
}

TEST(Rotate, TurnsByThePolarFormulaInSinglePrecision)
{
    // cos of 90 degrees in single precision is -4.37113883E-08, not 0.
    const std::string cos90 = "-4.37113883E-08";
    struct Case {
        const char* what;
        std::vector<std::string> answers;  // axis, point, angle
        int axis;
        std::string before, after;  // the two points of a 2 x 1 network
    };
    const Case cases[] = {
        {"about x: y turns toward z",
         {"x", "0 0", "90"},
         0,
         point(1, 1, 0) + point(7, 0, 0),
         point(whole(1), cos90, whole(1)) + point(7, 0, 0)},
        // the pair is (z, x): z - zc = 3 turns into x - xc = 3; zc + 3 cos
        {"about Y through x = 1, z = 2: z turns toward x",
         {"Y", "1 2", "90"},
         1,
         point(1, 7, 5) + point(1, 8, 2),
         point(whole(4), whole(7), "1.99999988E+00") + point(1, 8, 2)},
        // a point within 1e-6 of the axis stays where it is
        {"about z: x turns toward y",
         {"z", "0 0", "90"},
         2,
         point(2, 0, 4) + pointf(5.0e-7f, 0, 1),
         point("-8.74227766E-08", whole(2), whole(4)) + pointf(5.0e-7f, 0, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string head = i5(2) + i5(1) + std::string(10, ' ') + "Fin\n";
        auto out = run_on(head + c.before, 2, 1, [&](Dialogue& d) {
            d.say("rotate", ask(kRotAxisQ))
                .say(c.answers[0], ask(kRotPointQ[c.axis]))
                .say(c.answers[1], ask(kRotAngleQ[c.axis]))
                .say(c.answers[2])
                .ok();
        });
        EXPECT_EQ(out, head + c.after);
    }
}

// 5 x 3, every point telling its indices.
std::string tag(int i, int j) { return point(i, j, 10 * i + j); }

TEST(Transpose, WholeNetworkExchangesIAndJ)
{
    auto transpose = [](Dialogue& d) {
        d.say("transpose");
        std::swap(d.net.imax, d.net.jmax);
        d.ok();
    };
    const std::string start = net_file(5, 3, "Fin", tag);
    // (i, j) of the result is the old (j, i): (2, 4) is the old (4, 2)
    EXPECT_EQ(run_on(start, 5, 3, transpose), net_file(3, 5, "Fin", [](int i, int j) { return tag(j, i); }));
    EXPECT_EQ(run_on(start, 5, 3,
                     [&](Dialogue& d) {
                         transpose(d);
                         transpose(d);
                     }),
              start);
}

TEST(Transpose, SquareSubblockInPlaceOtherSubblocksRefused)
{
    const std::string start = net_file(6, 5, "Fin", tag);
    // 3 x 3 at i1 = 3, j1 = 2: the old (5, 2) goes to (3, 4)
    auto out = run_on(start, 6, 5, [](Dialogue& d) {
        set_block(d, 3, 5, 2, 4);
        d.say("transpose").ok();
    });
    EXPECT_EQ(out, net_file(6, 5, "Fin", [](int i, int j) {
                  bool in = i >= 3 && i <= 5 && j >= 2 && j <= 4;
                  return in ? tag(3 + (j - 2), 2 + (i - 3)) : tag(i, j);
              }));

    // refused without the success line, nothing moved, and the run has failed
    Session s = edit(start, "Fin", 6, 5, [](Dialogue& d) {
        set_block(d, 3, 5, 2, 5);
        d.say("transpose", line(kNonSquare)).refused().again();
        set_block(d, 1, 1, 1, 2);
        d.say("transpose", line(kNonSquare)).refused().again();
    });
    expect_end(s.outcome, s.dialogue);
    EXPECT_EQ(s.written, start);
}

TEST(Transforms, SubblockOnlyIsWorkedOn)
{
    // 5 x 4 network, subblock i = 2..4, j = 2..3
    auto inside = [](int i, int j) { return i >= 2 && i <= 4 && j >= 2 && j <= 3; };
    auto cmd = [](std::string task, std::string q, std::string answer) {
        return [=](Dialogue& d) { d.say(task, ask(q)).say(answer).ok(); };
    };
    struct Case {
        const char* what;
        Steps steps;
        Record moved;  // the new record of a point inside the subblock
    };
    const Case cases[] = {
        {"transform", cmd("transform", kTransformQ, "1"), [](int i, int j) { return pointf(i, -(10.0f * i + j), j); }},
        {"reverse i", cmd("reverse", kReverseQ, "i"), [](int i, int j) { return tag(6 - i, j); }},
        {"reverse j", cmd("reverse", kReverseQ, "j"), [](int i, int j) { return tag(i, 5 - j); }},
        {"scale", cmd("scale", kScaleQ, "2 3 -1"), [](int i, int j) { return point(2 * i, 3 * j, -(10 * i + j)); }},
        {"translate", cmd("translate", kTranslateQ, "1 -2 3"),
         [](int i, int j) { return point(i + 1, j - 2, 10 * i + j + 3); }},
        // the turned values are not whole numbers: the point on the axis
        // stays, every other point of the range moves
        {"rotate",
         [](Dialogue& d) {
             d.say("rotate", ask(kRotAxisQ)).say("z", ask(kRotPointQ[2])).say("3 2", ask(kRotAngleQ[2])).say("90").ok();
         },
         nullptr},
    };
    const std::string start = net_file(5, 4, "Fin", tag);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto out = run_on(start, 5, 4, [&](Dialogue& d) {
            set_block(d, 2, 4, 2, 3);
            c.steps(d);
        });
        auto got = parse_net(out);
        ASSERT_TRUE(got);
        ASSERT_EQ(got->imax, 5);
        ASSERT_EQ(got->jmax, 4);
        for (int j = 1; j <= 4; ++j)
            for (int i = 1; i <= 5; ++i) {
                SCOPED_TRACE(testing::Message() << "point " << i << "," << j);
                const auto& p = got->at(i, j);
                const std::string rec = pointf(p[0], p[1], p[2]);
                if (!inside(i, j))
                    EXPECT_EQ(rec, tag(i, j));
                else if (c.moved)
                    EXPECT_EQ(rec, c.moved(i, j));
                else if (i == 3 && j == 2)
                    EXPECT_EQ(rec, tag(i, j));  // on the axis
                else
                    EXPECT_NE(rec, tag(i, j));
            }
    }
}

}  // namespace
}  // namespace gridedit_test
