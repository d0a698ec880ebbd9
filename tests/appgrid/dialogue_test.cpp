// appgrid's answers, deck and input networks: the questions, the part
// switches, the stops before any file is written.

#include "program.hpp"

namespace appgrid_program_test {
namespace {

const std::string kPartCheck = " error ... must have ( bulb and ( keel and/or wing ) )\n";

void expect_nothing_written(const Box& box) {
    for (const char* n : {"keel-out.net", "bulb-out.net", "wing-out.net"}) EXPECT_FALSE(box.has(n)) << n;
}

TEST(AppgridDialogue, PartCheckComesAfterTheQuestionsAndTheDeck) {
    struct Case {
        const char *keel, *bulb, *wing;
    };
    for (const Case& c : {Case{"none", "bulb.net", "none"}, Case{"keel.net", "none", "wing.net"},
                          Case{"none", "none", "none"}, Case{"keel.net", "none", "none"}}) {
        SCOPED_TRACE(std::string(c.keel) + " " + c.bulb + " " + c.wing);
        Box box;   // no input file exists: none is opened
        Answers a;
        a.keel = c.keel, a.bulb = c.bulb, a.wing = c.wing;
        const Outcome o = box.run(a.text());
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_EQ(o.out, questions(a.on(a.keel), a.on(a.bulb), a.on(a.wing)) + kPartCheck);
        expect_nothing_written(box);
    }
}

TEST(AppgridDialogue, WithTheBulbOnTheWholeDeckIsReadBeforeThePartCheck) {
    Box box;
    Answers a;
    a.keel = "none", a.wing = "none";
    std::string text = a.text();
    text.erase(text.rfind("exponents\n"));   // deck line 6 missing
    const Outcome o = box.run(text);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, questions(false, true, false));
    EXPECT_NE(o.err.find("appgrid: "), std::string::npos) << o.err;
}

// Only the exact lower-case word, trailing blanks aside, switches a part
// off; any other answer names a file, which appgrid then tries to open.
// The word in the 80 columns of the field with more typed past them is a
// name too long for its field, not the word.
TEST(AppgridDialogue, OnlyTheExactWordNoneSwitchesAPartOff) {
    struct Case {
        std::string answer;
        bool off;
        std::string stop = "";   // when not that the file does not exist
    };
    const std::string past_80 = " error ... file \"none...\" has a name longer than 80 characters\n";
    for (const Case& c : {Case{"none", true}, Case{"none   ", true}, Case{"None", false}, Case{"NONE", false},
                          Case{" none", false}, Case{"", false}, Case{"none\t", false},
                          Case{"none" + std::string(80, ' '), true},
                          Case{"none" + std::string(75, ' ') + "x", false},
                          Case{"none" + std::string(76, ' ') + "x", false, past_80},
                          Case{"none" + std::string(200, ' ') + "none", false, past_80}}) {
        SCOPED_TRACE("[" + c.answer + "]");
        Box box;
        Answers a;
        a.keel = c.answer, a.wing = "none";
        const Outcome o = box.run(a.text());
        EXPECT_EQ(o.status, 1) << o.err;
        const std::string stop = c.off              ? kPartCheck
                                 : !c.stop.empty() ? c.stop
                                                   : " error ... file \"" + rtrim(c.answer) + "\" does not exist\n";
        EXPECT_EQ(o.out, questions(!c.off, true, false) + stop);
        EXPECT_EQ(o.err, "");
    }
}

TEST(AppgridDialogue, ADeckLineMayRunOnIntoTheNextLines) {
    Answers a;
    Box plain, split;
    plain.copy_examples();
    split.copy_examples();
    const Outcome expected = plain.run(a.text());
    std::string text = a.text();
    text.replace(text.find("imo jmo\n30 9\n"), 13, "imo jmo\n30\n9\n");
    const Outcome o = split.run(text);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, expected.out);
    EXPECT_EQ(split.read("bulb-out.net"), plain.read("bulb-out.net"));
}

TEST(AppgridDialogue, AShortDeckLineTakesTheNextLabelLine) {
    Box box;
    box.copy_examples();
    Answers a;
    a.switches = "1 1 1 1";   // the read goes on into the label line of deck line 5
    const Outcome o = box.run(a.text());
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, questions(true, true, true));
    EXPECT_NE(o.err.find("appgrid: "), std::string::npos) << o.err;
    expect_nothing_written(box);
}

TEST(AppgridDialogue, InputNetworksAreOpenedKeelBulbWing) {
    for (const char* missing : {"keel.net", "bulb.net", "wing.net"}) {
        SCOPED_TRACE(missing);
        Box box;
        box.copy_examples();
        std::filesystem::remove(box.work() / missing);
        const Outcome o = box.run(Answers().text());
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_EQ(o.out, questions(true, true, true) + " error ... file \"" + missing + "\" does not exist\n");
        expect_nothing_written(box);
    }
}

// Sizes are checked at each network's header, before its points: a header
// alone shows it.
TEST(AppgridDialogue, NetworkSizesAreCheckedAtTheirHeaders) {
    const std::string exceeds = " error: input array exceeds array parameters\n";
    struct Case {
        const char* file;
        std::string header;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"bulb.net", header_only(18, 9), exceeds},
        {"bulb.net", header_only(17, 10), exceeds},
        {"bulb.net", "17 9     9          blanks inside a field are ignored\n", exceeds},   // 179 points a row
        {"keel.net", header_only(18, 9), exceeds},
        {"keel.net", header_only(17, 10), exceeds},
        {"wing.net", header_only(34, 9), exceeds},
        {"wing.net", header_only(33, 10), exceeds},
        {"bulb.net", header_only(1, 9), " error ... bulb array size below minimum(s)\n"},
        {"bulb.net", header_only(17, 1), " error ... bulb array size below minimum(s)\n"},
        {"keel.net", header_only(2, 9), " error ... keel array size below minimum(s)\n"},
        {"keel.net", header_only(9, 0), " error ... keel array size below minimum(s)\n"},
        {"wing.net", header_only(2, 9), " error ... wing array size below minimum(s)\n"},
        {"wing.net", header_only(17, -1), " error ... wing array size below minimum(s)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.header);
        Box box;
        box.copy_examples();
        box.write(c.file, c.header);
        const Outcome o = box.run(Answers().text());
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_EQ(o.out, questions(true, true, true) + c.message);
        expect_nothing_written(box);
    }
}

TEST(AppgridDialogue, ANetworkThatEndsBeforeItsPointsEndsTheRun) {
    Box box;
    box.copy_examples();
    box.write("bulb.net", header_only(17, 9) + "0 0 0\n");
    const Outcome o = box.run(Answers().text());
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, questions(true, true, true));
    EXPECT_NE(o.err.find("bulb.net"), std::string::npos) << o.err;
    expect_nothing_written(box);
}

}  // namespace
}  // namespace appgrid_program_test
