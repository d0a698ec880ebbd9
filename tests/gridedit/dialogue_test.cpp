// The command loop and the commands that only change the editor's state.

#include "session.hpp"

#include <algorithm>
#include <gtest/gtest.h>

namespace gridedit_test {
namespace {

void expect_end_of_input(const Outcome& r)
{
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(r.err.ends_with('\n')) << r.err;
    EXPECT_NE(r.err.find("standard input"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("gridedit"), std::string::npos) << r.err;
}

TEST(Startup, BannerStateMenuAndQuitQuestion)
{
    Sandbox box;
    Outcome r = box.run("quit\nn\nquit\nyes\nquit\nY\nquit\nY\n");

    // Written out in full once, so the transcript helpers rest on it.
    const std::string screen = " network title is " + std::string(60, '\0') + "\n" +
                               " network imax x jmax is     0 x     0\n"
                               " enter task\n"
                               "    input     transform reverse   transpose respline  \n"
                               "    scale     translate output    quit      ijmax     \n"
                               "    truncate  splitbulb setblock  settitle  transom   \n"
                               "    rotate    extend    tranatx   dextend   klue      \n"
                               "    tranxlin  \n"
                               " ? \n";
    const std::string sure = " are you sure ??? (y/n)\n ? \n";
    const std::string want = "\n"
                             " GRIDEDIT Network Geometry Manipulation Software\n"
                             "\n"
                             " *******************\n"
                             " ***   network   ***\n"
                             " *******************\n" +
                             screen + sure + screen + sure + screen + sure;
    EXPECT_EQ(r.out, want);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\0'), 3 * 60);
    expect_clean_end(r);

    Dialogue d;
    d.say("quit", ask(kQuitQ)).say("n").again();
    d.say("quit", ask(kQuitQ)).say("yes").again();
    d.quit();
    EXPECT_EQ(d.transcript(), want);
}

TEST(TaskWords, OnlyTheExactWordInTheFirstTenColumnsMatches)
{
    Dialogue d;
    for (const char* word : {" input", "Input", "QUIT", "Klue", "quitx", "inputs", "ijmax.", "hello", "", "          quit"})
        d.say(word).refused().again();
    // Columns 11 on are not part of the task word.
    d.say("quit      input", ask(kQuitQ)).say(" y").again();
    d.say("quit", ask(kQuitQ)).say("N").again();
    d.quit();

    Sandbox box;
    expect_end(run_dialogue(box, d), d);
    EXPECT_EQ(d.status(), 1);
}

TEST(Ijmax, AcceptsCountsUpTo481AndAsksAgainOtherwise)
{
    Dialogue d;
    d.say("ijmax", ask(kIjmaxQ))
        .say("482 1", line(kIjmaxErr) + ask(kIjmaxQ))
        .refused()
        .say("1 482", line(kIjmaxErr) + ask(kIjmaxQ))
        .refused()
        .say("0 5", ask(kIjmaxQ))
        .refused()
        .say("5 -1", ask(kIjmaxQ))
        .refused()
        .say("1.5 2", ask(kIjmaxQ))  // not an integer: unreadable
        .refused()
        .say("999")                  // the second number is still awaited
        .say("5")
        .again();
    // 999 is tested before the upper bound.
    d.say("ijmax", ask(kIjmaxQ)).say("482 999").again();
    d.say("ijmax", ask(kIjmaxQ)).say("481 481");
    d.net.imax = d.net.jmax = 481;
    d.ok();
    d.say("ijmax", ask(kIjmaxQ)).say("7").say("8");
    d.net.imax = 7;
    d.net.jmax = 8;
    d.ok();
    d.quit();

    Sandbox box;
    expect_end(run_dialogue(box, d), d);
}

TEST(Setblock, ChecksEachPairAndBacksUpToTheIQuestion)
{
    Dialogue d;
    d.say("setblock", line(kSetblock) + ask(kIQ))
        .say("5,3", ask(kIQ))
        .refused()
        .say("0,3", ask(kIQ))
        .refused()
        .say("-1,3", ask(kIQ))
        .refused()
        .say("1,482", line(kI2Err) + ask(kIQ))
        .refused()
        .say("3,5", ask(kJQ))
        .say("999,1", ask(kIQ))  // back to i, the heading is not repeated
        .say("2,481", ask(kJQ))  // only 481 bounds it, not the 0 x 0 network
        .say("4,3", ask(kJQ))
        .refused()
        .say("0,2", ask(kJQ))
        .refused()
        .say("1,482", line(kJ2Err) + ask(kJQ))
        .refused()
        .say("4,6");
    d.net.set_block(2, 481, 4, 6);
    d.ok();
    d.say("setblock", line(kSetblock) + ask(kIQ)).say("3 999").again();
    d.say("setblock", line(kSetblock) + ask(kIQ)).say("0 0", ask(kJQ)).say("0 0");
    d.net.block = false;
    d.ok();
    d.quit();

    Sandbox box;
    expect_end(run_dialogue(box, d), d);
}

TEST(Setblock, OneZeroPairBesideAValidPairIsAskedAgainAndNotStored)
{
    Dialogue d;
    d.say("setblock", line(kSetblock) + ask(kIQ)).say("2 3", ask(kJQ)).say("1 1");
    d.net.set_block(2, 3, 1, 1);
    d.ok();
    d.say("setblock", line(kSetblock) + ask(kIQ))
        .say("0 0", ask(kJQ))
        .say("1 2", ask(kJQ))
        .refused()
        .say("999 999", ask(kIQ))
        .say("4 5", ask(kJQ))
        .say("0 0", ask(kJQ))
        .refused()
        .say("999 0", ask(kIQ))
        .say("999 0")
        .again();  // the block of before is still set
    d.say("setblock", line(kSetblock) + ask(kIQ)).say("4 5", ask(kJQ)).say("0 0", ask(kJQ)).refused().say("6 7");
    d.net.set_block(4, 5, 6, 7);
    d.ok();
    d.quit();

    Sandbox box;
    expect_end(run_dialogue(box, d), d);
}

TEST(TitleAndKlue, AreShownAndWrittenToTheHeader)
{
    const std::string sixty = "Hull 7, canoe body with keel and rudder, faired 12.3.99 (v2)";
    ASSERT_EQ(sixty.size(), 60u);

    Dialogue d;
    d.say("ijmax", ask(kIjmaxQ)).say("1 1");
    d.net.imax = d.net.jmax = 1;
    d.ok();
    d.say("settitle", ask(kTitleQ)).say(sixty + "0123456789");
    d.net.title = sixty;
    d.ok();
    d.say("settitle", ask(kTitleQ)).say("backup").again();
    d.say("klue", ask(kKlueQ)).say("-3");
    d.net.klue = -3;
    d.ok();
    d.say("output", ask(kNameQ)).say("minus.net").ok();
    // A klue that does not fit the five header columns is refused.
    d.say("klue", ask(kKlueQ))
        .say("100000", ask(kKlueQ))
        .refused()
        .say("-10000", ask(kKlueQ))
        .refused()
        .say("2.5", ask(kKlueQ))
        .refused()
        .say("999")
        .again();
    d.say("klue", ask(kKlueQ)).say("99999");
    d.net.klue = 99999;
    d.ok();
    d.say("klue", ask(kKlueQ)).say("-9999");
    d.net.klue = -9999;
    d.ok();
    d.say("output", ask(kNameQ)).say("wide.net").ok();
    d.say("klue", ask(kKlueQ)).say("0");
    d.net.klue = 0;
    d.ok();
    d.say("settitle", ask(kTitleQ)).say("Keel 2   ");
    d.net.title = title60("Keel 2");
    d.ok();
    d.say("output", ask(kNameQ)).say("zero.net").ok();
    d.quit();

    Sandbox box;
    expect_end(run_dialogue(box, d), d);
    const std::string origin = point(0, 0, 0);
    EXPECT_EQ(box.read("minus.net"), "    1    1   -3     " + sixty + "\n" + origin);
    EXPECT_EQ(box.read("wide.net"), "    1    1-9999     " + sixty + "\n" + origin);
    EXPECT_EQ(box.read("zero.net"), "    1    1          Keel 2\n" + origin);
}

TEST(EndOfInput, EndsTheRunAtEveryKindOfQuestion)
{
    struct Case {
        const char* where;
        void (*steps)(Dialogue&);
    };
    const Case cases[] = {
        {"task word", [](Dialogue&) {}},
        {"task word after an unknown one", [](Dialogue& d) { d.say("hello").again(); }},
        {"second of two numbers", [](Dialogue& d) { d.say("ijmax", ask(kIjmaxQ)).say("5"); }},
        {"klue", [](Dialogue& d) { d.say("klue", ask(kKlueQ)); }},
        {"title", [](Dialogue& d) { d.say("settitle", ask(kTitleQ)); }},
        {"file name", [](Dialogue& d) { d.say("input", ask(kNameQ)); }},
        {"j pair", [](Dialogue& d) { d.say("setblock", line(kSetblock) + ask(kIQ)).say("1 1", ask(kJQ)); }},
        {"quit", [](Dialogue& d) { d.say("quit", ask(kQuitQ)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        Dialogue d;
        c.steps(d);
        Sandbox box;
        expect_end_of_input(run_dialogue(box, d));
    }
}

TEST(EndOfInput, AtTheSubblockQuestionKeepsWhatWasWritten)
{
    Dialogue d;
    d.say("ijmax", ask(kIjmaxQ)).say("1 1");
    d.net.imax = d.net.jmax = 1;
    d.ok();
    d.say("klue", ask(kKlueQ)).say("3");
    d.net.klue = 3;
    d.ok();
    d.say("output", ask(kNameQ)).say("first.net").ok();
    d.say("setblock", line(kSetblock) + ask(kIQ)).say("1 1", ask(kJQ)).say("1 1");
    d.net.set_block(1, 1, 1, 1);
    d.ok();
    d.say("output", ask(kNameQ)).say("second.net", ask(kSubQ));

    Sandbox box;
    expect_end_of_input(run_dialogue(box, d));
    EXPECT_EQ(box.read("first.net"), "    1    1    3     " + kNulTitle + "\n" + point(0, 0, 0));
    EXPECT_EQ(box.read("second.net"), std::nullopt);  // asked before the file is opened
}

}  // namespace
}  // namespace gridedit_test
