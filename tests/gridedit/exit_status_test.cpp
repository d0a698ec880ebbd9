// The exit status of a run: gridedit never stops on an error, but every
// answer it could not use (asked again, or back to the menu with or without
// a message) makes the run end with status 1 at quit; a refused file name is
// also named on standard error. A run whose answers were all used ends with 0.

#include "session.hpp"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace gridedit_test {
namespace {

// A 3 x 3 network, in.net in every run of the tables that reads one.
const std::string kNet = net_file(3, 3, "Plate", [](int i, int j) { return point(i, j, i * j); });

void read_net(Dialogue& d) { load(d, "in.net", "Plate", 3, 3); }

// The whole extend or dextend dialogue and what the run writes.
Dialogue& extend(Dialogue& d, const std::string& cmd, const std::string& side, const std::string& axis,
                 const std::string& value_q, const std::string& value, const std::string& npts,
                 const std::string& fair, const std::string& reply = "")
{
    return d.say(cmd, ask(kSideQ))
        .say(side, ask(kExtAxisQ))
        .say(axis, ask(value_q))
        .say(value, ask(kPointsQ))
        .say(npts, ask(kFairQ))
        .say(fair, reply);
}

std::string stderr_line(const std::string& reason, const std::string& shown, int line)
{
    return "gridedit: " + reason + ", file '" + shown + "' (answers line " + std::to_string(line) + ")\n";
}

std::string letters(std::size_t n)
{
    std::string s;
    while (s.size() < n) s += "abcdefghijklmnopqrstuvwxyz";
    return s.substr(0, n);
}

struct Row {
    const char* what;
    // the answers and the transcript, up to the quit that ends every run;
    // the sandbox is given for names that depend on where it lies
    std::function<void(Dialogue&, const Sandbox&)> steps;
    int status;
    std::string err;
};

void prepare(const Sandbox& box)
{
    box.write("in.net", kNet);
    box.write("bad.net", "not a network\n");
    box.make_dir("adir");
}

// Each row's run; a row with a line on standard error also runs with both
// streams in one file (2>&1), where each line follows what it answers.
void run_rows(const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Sandbox box;
        prepare(box);
        Dialogue d;
        row.steps(d, box);
        d.quit();
        const Outcome r = run_dialogue(box, d);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.err, row.err);
        EXPECT_EQ(box.read("in.net"), kNet);
        if (row.err.empty()) continue;
        Sandbox again;
        prepare(again);
        const Outcome both = again.run_together(d.answers());
        EXPECT_EQ(both.out, d.together());
        EXPECT_EQ(both.status, row.status);
    }
}

// The answers file of the running program, as a name relative to its folder.
std::string answers_file(const Sandbox& box)
{
    const std::filesystem::path p = box.root() / "stdin";
    return std::filesystem::relative(p, box.work()).string();
}

TEST(ExitStatus, EveryMessageAndEveryAnswerAskedAgainEndsTheRunWithStatus1)
{
    using D = Dialogue;
    using B = const Sandbox&;
    const std::vector<Row> rows = {
        // the command loop
        {"a word that is no task word", [](D& d, B) { d.say("hello").again(); }, 1, ""},
        {"a blank task line", [](D& d, B) { d.say("").again(); }, 1, ""},
        // ijmax
        {"ijmax unreadable",
         [](D& d, B) { d.say("ijmax", ask(kIjmaxQ)).say("a b", ask(kIjmaxQ)).say("999 1").again(); }, 1, ""},
        {"ijmax count 0", [](D& d, B) { d.say("ijmax", ask(kIjmaxQ)).say("0 5", ask(kIjmaxQ)).say("999 1").again(); },
         1, ""},
        {"ijmax: error ... inew,jnew > idim,jdim",
         [](D& d, B) {
             d.say("ijmax", ask(kIjmaxQ)).say("482 1", line(kIjmaxErr) + ask(kIjmaxQ)).say("999 1").again();
         },
         1, ""},
        // setblock
        {"setblock i unreadable",
         [](D& d, B) { d.say("setblock", line(kSetblock) + ask(kIQ)).say("x", ask(kIQ)).say("999 0").again(); }, 1,
         ""},
        {"setblock i2 below i1",
         [](D& d, B) { d.say("setblock", line(kSetblock) + ask(kIQ)).say("5 3", ask(kIQ)).say("999 0").again(); }, 1,
         ""},
        {"setblock: error ... i2new > idim",
         [](D& d, B) {
             d.say("setblock", line(kSetblock) + ask(kIQ)).say("1 482", line(kI2Err) + ask(kIQ)).say("999 0").again();
         },
         1, ""},
        {"setblock j unreadable",
         [](D& d, B) {
             d.say("setblock", line(kSetblock) + ask(kIQ)).say("1 2", ask(kJQ)).say("x", ask(kJQ));
             d.say("999 0", ask(kIQ)).say("999 0").again();
         },
         1, ""},
        {"setblock j1 not positive",
         [](D& d, B) {
             d.say("setblock", line(kSetblock) + ask(kIQ)).say("1 2", ask(kJQ)).say("-1 3", ask(kJQ));
             d.say("999 0", ask(kIQ)).say("999 0").again();
         },
         1, ""},
        {"setblock: error ... j2new > jdim",
         [](D& d, B) {
             d.say("setblock", line(kSetblock) + ask(kIQ)).say("1 2", ask(kJQ)).say("1 482", line(kJ2Err) + ask(kJQ));
             d.say("999 0", ask(kIQ)).say("999 0").again();
         },
         1, ""},
        {"setblock zero pair beside a valid one",
         [](D& d, B) {
             d.say("setblock", line(kSetblock) + ask(kIQ)).say("1 2", ask(kJQ)).say("0 0", ask(kJQ));
             d.say("999 0", ask(kIQ)).say("999 0").again();
         },
         1, ""},
        // input: error reading file, the reason on standard error
        {"input: error reading file, no such file",
         [](D& d, B) {
             d.say("input", ask(kNameQ)).say("nothere.net", line(kReadErr) + ask(kNameQ));
             d.refused_name(kMissing, "nothere.net").say("backup").again();
         },
         1, stderr_line(kMissing, "nothere.net", 2)},
        {"input: error reading file, a folder",
         [](D& d, B) {
             d.say("input", ask(kNameQ)).say("adir", line(kReadErr) + ask(kNameQ));
             d.refused_name(kIsDir, "adir").say("backup").again();
         },
         1, stderr_line(kIsDir, "adir", 2)},
        {"input: error reading file, not a network",
         [](D& d, B) {
             d.say("input", ask(kNameQ)).say(" bad.net ", line(kReadErr) + ask(kNameQ));
             d.refused_name(kNotNetwork, "bad.net").say("backup").again();
         },
         1, stderr_line(kNotNetwork, "bad.net", 2)},
        {"input: error in readnet and error reading file, the subblock's size",
         [](D& d, B) {
             set_block(d, 1, 2, 1, 2);
             d.say("input", ask(kNameQ)).say("in.net", readnet_size_error(3, 3, 2, 2) + line(kReadErr) + ask(kNameQ));
             d.refused_name(kNotNetwork, "in.net").say("backup").again();
         },
         1, stderr_line(kNotNetwork, "in.net", 5)},
        // a NUL byte in the name: shown as \0, the line goes on
        {"input: error reading file, a NUL in the name",
         [](D& d, B) {
             d.say("input", ask(kNameQ)).say(std::string("ke\0el.net", 9), line(kReadErr) + ask(kNameQ));
             d.refused_name(kMissing, "ke\\0el.net").say("backup").again();
         },
         1, stderr_line(kMissing, "ke\\0el.net", 2)},
        {"input: error reading file, a name past its field",
         [](D& d, B) {
             d.say("input", ask(kNameQ)).say(letters(81), line(kReadErr) + ask(kNameQ));
             d.refused_name(kPastField, letters(80) + "...").say("backup").again();
         },
         1, stderr_line(kPastField, letters(80) + "...", 2)},
        // output: error writing file, the reason on standard error
        {"output: error writing file, no such folder",
         [](D& d, B) {
             d.say("output", ask(kNameQ)).say("no/such.net", line(kWriteErr) + ask(kNameQ));
             d.refused_name(kMissing, "no/such.net").say("backup").again();
         },
         1, stderr_line(kMissing, "no/such.net", 2)},
        {"output: error writing file, a folder",
         [](D& d, B) {
             d.say("output", ask(kNameQ)).say("adir", line(kWriteErr) + ask(kNameQ));
             d.refused_name(kIsDir, "adir").say("backup").again();
         },
         1, stderr_line(kIsDir, "adir", 2)},
        {"output: error writing file, a name past its field",
         [](D& d, B) {
             d.say("output", ask(kNameQ)).say(letters(90), line(kWriteErr) + ask(kNameQ));
             d.refused_name(kPastField, letters(80) + "...").say("backup").again();
         },
         1, stderr_line(kPastField, letters(80) + "...", 2)},
        {"output: error writing file, the file of answers",
         [](D& d, B box) {
             d.say("output", ask(kNameQ)).say(answers_file(box), line(kWriteErr) + ask(kNameQ));
             d.refused_name("cannot open a file that is open already", "../stdin").say("backup").again();
         },
         1, stderr_line("cannot open a file that is open already", "../stdin", 2)},
        {"output: error writing file after the subblock answer, the name's line",
         [](D& d, B) {
             set_block(d, 1, 1, 1, 1);
             d.say("output", ask(kNameQ)).say("no/such.net", ask(kSubQ)).say("y", line(kWriteErr) + ask(kNameQ));
             d.refused_name(kMissing, "no/such.net", 5).say("backup").again();
         },
         1, stderr_line(kMissing, "no/such.net", 5)},
        {"output: subblock answer other than y or n",
         [](D& d, B) {
             set_block(d, 1, 1, 1, 1);
             d.say("output", ask(kNameQ)).say("sub.net", ask(kSubQ)).say("yes", ask(kSubQ)).say("n").ok();
         },
         1, ""},
        // klue
        {"klue unreadable", [](D& d, B) { d.say("klue", ask(kKlueQ)).say("2.5", ask(kKlueQ)).say("999").again(); },
         1, ""},
        {"klue wider than its field",
         [](D& d, B) { d.say("klue", ask(kKlueQ)).say("100000", ask(kKlueQ)).say("999").again(); }, 1, ""},
        // transforms
        {"transform word not offered",
         [](D& d, B) { d.say("transform", ask(kTransformQ)).say("3", ask(kTransformQ)).say("backup").again(); }, 1,
         ""},
        {"reverse word not offered",
         [](D& d, B) { d.say("reverse", ask(kReverseQ)).say("k", ask(kReverseQ)).say("backup").again(); }, 1, ""},
        {"transpose: cannot transpose a non-square subblock",
         [](D& d, B) {
             set_block(d, 1, 2, 1, 3);
             d.say("transpose", line(kNonSquare)).again();
         },
         1, ""},
        {"scale unreadable",
         [](D& d, B) { d.say("scale", ask(kScaleQ)).say("two 1 1", ask(kScaleQ)).say("999 0 0").again(); }, 1, ""},
        {"translate unreadable",
         [](D& d, B) { d.say("translate", ask(kTranslateQ)).say("x", ask(kTranslateQ)).say("999 0 0").again(); }, 1,
         ""},
        {"rotate axis not offered",
         [](D& d, B) { d.say("rotate", ask(kRotAxisQ)).say("w", ask(kRotAxisQ)).say("backup").again(); }, 1, ""},
        {"rotate point unreadable",
         [](D& d, B) {
             d.say("rotate", ask(kRotAxisQ)).say("x", ask(kRotPointQ[0])).say("a b", ask(kRotPointQ[0]));
             d.say("999 0", ask(kRotAxisQ)).say("backup").again();
         },
         1, ""},
        {"rotate angle unreadable",
         [](D& d, B) {
             d.say("rotate", ask(kRotAxisQ)).say("x", ask(kRotPointQ[0])).say("0 0", ask(kRotAngleQ[0]));
             d.say("right", ask(kRotAngleQ[0])).say("999", ask(kRotPointQ[0])).say("999 0", ask(kRotAxisQ));
             d.say("backup").again();
         },
         1, ""},
        // respline, on the 3 x 3 network
        {"respline direction not offered",
         [](D& d, B) {
             read_net(d);
             d.say("respline", ask(kDirQ)).say("k", ask(kDirQ)).say("backup").again();
         },
         1, ""},
        {"respline count unreadable",
         [](D& d, B) {
             read_net(d);
             d.say("respline", ask(kDirQ)).say("i", ask(kCountQ)).say("x", ask(kCountQ)).say("999", ask(kDirQ));
             d.say("backup").again();
         },
         1, ""},
        {"respline count below 2",
         [](D& d, B) {
             read_net(d);
             d.say("respline", ask(kDirQ)).say("i", ask(kCountQ)).say("1", ask(kCountQ)).say("999", ask(kDirQ));
             d.say("backup").again();
         },
         1, ""},
        {"respline: cannot use ipnts >",
         [](D& d, B) {
             read_net(d);
             d.say("respline", ask(kDirQ)).say("j", ask(kCountQ));
             d.say("482", line(" cannot use ipnts >   481") + ask(kCountQ)).say("999", ask(kDirQ));
             d.say("backup").again();
         },
         1, ""},
        {"respline degree unreadable",
         [](D& d, B) {
             read_net(d);
             d.say("respline", ask(kDirQ)).say("i", ask(kCountQ)).say("3", ask(kDegQ)).say("x", ask(kDegQ));
             d.say("999", ask(kDirQ)).say("backup").again();
         },
         1, ""},
        {"respline degree not in the table",
         [](D& d, B) {
             read_net(d);
             d.say("respline", ask(kDirQ)).say("i", ask(kCountQ)).say("3", ask(kDegQ)).say("6", ask(kDegQ));
             d.say("999", ask(kDirQ)).say("backup").again();
         },
         1, ""},
        {"respline factor unreadable",
         [](D& d, B) {
             read_net(d);
             d.say("respline", ask(kDirQ)).say("i", ask(kCountQ)).say("3", ask(kDegQ)).say("2", ask(kFirstQ));
             d.say("a", ask(kFirstQ)).say("999", ask(kDegQ)).say("999", ask(kDirQ)).say("backup").again();
         },
         1, ""},
        {"respline factor negative",
         [](D& d, B) {
             read_net(d);
             d.say("respline", ask(kDirQ)).say("i", ask(kCountQ)).say("3", ask(kDegQ)).say("2", ask(kFirstQ));
             d.say("-0.5", ask(kFirstQ)).say("999", ask(kDegQ)).say("999", ask(kDirQ)).say("backup").again();
         },
         1, ""},
        // extend and dextend
        {"extend: cannot extend surface while subblock is active",
         [](D& d, B) {
             set_block(d, 1, 1, 1, 1);
             d.say("extend", line(kBlocked)).again();
         },
         1, ""},
        {"dextend: cannot extend surface while subblock is active",
         [](D& d, B) {
             set_block(d, 1, 1, 1, 1);
             d.say("dextend", line(kBlocked)).again();
         },
         1, ""},
        {"extend side not offered",
         [](D& d, B) { d.say("extend", ask(kSideQ)).say("IMIN", ask(kSideQ)).say("backup").again(); }, 1, ""},
        {"extend axis not offered",
         [](D& d, B) {
             d.say("extend", ask(kSideQ)).say("imax", ask(kExtAxisQ)).say("w", ask(kExtAxisQ));
             d.say("backup", ask(kSideQ)).say("backup").again();
         },
         1, ""},
        {"extend value unreadable",
         [](D& d, B) {
             d.say("extend", ask(kSideQ)).say("imax", ask(kExtAxisQ));
             d.say("x", ask(kExtendToQ[0])).say("far", ask(kExtendToQ[0]));
             d.say("999", ask(kExtAxisQ)).say("backup", ask(kSideQ)).say("backup").again();
         },
         1, ""},
        {"extend points unreadable",
         [](D& d, B) {
             d.say("extend", ask(kSideQ)).say("imax", ask(kExtAxisQ));
             d.say("x", ask(kExtendToQ[0])).say("5", ask(kPointsQ));
             d.say("many", ask(kPointsQ)).say("999", ask(kExtendToQ[0])).say("999", ask(kExtAxisQ));
             d.say("backup", ask(kSideQ)).say("backup").again();
         },
         1, ""},
        {"extend points negative",
         [](D& d, B) {
             d.say("extend", ask(kSideQ)).say("imax", ask(kExtAxisQ));
             d.say("x", ask(kExtendToQ[0])).say("5", ask(kPointsQ));
             d.say("-1", ask(kPointsQ)).say("999", ask(kExtendToQ[0])).say("999", ask(kExtAxisQ));
             d.say("backup", ask(kSideQ)).say("backup").again();
         },
         1, ""},
        {"extend fairing unreadable",
         [](D& d, B) {
             d.say("extend", ask(kSideQ)).say("imax", ask(kExtAxisQ));
             d.say("x", ask(kExtendToQ[0])).say("5", ask(kPointsQ));
             d.say("2", ask(kFairQ)).say("smooth", ask(kFairQ));
             d.say("999", ask(kPointsQ)).say("999", ask(kExtendToQ[0]));
             d.say("999", ask(kExtAxisQ)).say("backup", ask(kSideQ)).say("backup").again();
         },
         1, ""},
        {"extend: error ... inew > idim",
         [](D& d, B) {
             read_net(d);
             extend(d, "extend", "imax", "x", kExtendToQ[0], "500", "479", "1", line(kInew)).ok();
         },
         1, ""},
        {"dextend: error ... jnew > jdim",
         [](D& d, B) {
             read_net(d);
             extend(d, "dextend", "jmin", "z", kExtendByQ[2], "-2", "479", "1", line(kJnew)).ok();
         },
         1, ""},
        {"extend: cannot extend lines of fewer than 3 points",
         [](D& d, B) {
             extend(d, "extend", "imax", "x", kExtendToQ[0], "5", "1", "1", line(kShort)).again();
         },
         1, ""},
        // the cuts
        {"truncate unreadable", [](D& d, B) { d.say("truncate", kPercentQ).say("abc", kPercentQ).say("999.").again(); },
         1, ""},
        {"truncate percent out of range",
         [](D& d, B) { d.say("truncate", kPercentQ).say("100", kPercentQ).say("999.").again(); }, 1, ""},
        {"truncate: error ... too few points in working range",
         [](D& d, B) { d.say("truncate", kPercentQ).say("50", kTooFew).again(); }, 1, ""},
        {"splitbulb: error ... too few points in working range",
         [](D& d, B) {
             d.say("splitbulb", kSplitNote + kTooFew).again();
         },
         1, ""},
        {"transom: error ... too few points in working range",
         [](D& d, B) { d.say("transom", kTransomNote + kTooFew).again(); }, 1, ""},
        {"tranatx unreadable", [](D& d, B) { d.say("tranatx", kXtranQ).say("x", kXtranQ).say("999.").again(); }, 1,
         ""},
        {"tranatx: error ... too few points in working range",
         [](D& d, B) { d.say("tranatx", kXtranQ).say("3", kTooFew).again(); }, 1, ""},
        {"tranxlin: error ... too few points in working range",
         [](D& d, B) { d.say("tranxlin", kXtranQ).say("3", kTooFew).again(); }, 1, ""},
    };
    run_rows(rows);
}

TEST(ExitStatus, RunsWhoseAnswersWereAllUsedEndWith0)
{
    using D = Dialogue;
    using B = const Sandbox&;
    const std::vector<Row> rows = {
        {"quit at once", [](D&, B) {}, 0, ""},
        // "(y/n)" at quit: every answer but y and Y is taken as no
        {"quit answered n, N or another word",
         [](D& d, B) {
             d.say("quit", ask(kQuitQ)).say("n").again();
             d.say("quit", ask(kQuitQ)).say("N").again();
             d.say("quit", ask(kQuitQ)).say("yes").again();
         },
         0, ""},
        {"backup at the first question of every command",
         [](D& d, B) {
             d.say("ijmax", ask(kIjmaxQ)).say("999 1").again();
             d.say("setblock", line(kSetblock) + ask(kIQ)).say("999 1").again();
             d.say("input", ask(kNameQ)).say("backup").again();
             d.say("output", ask(kNameQ)).say("backup").again();
             d.say("settitle", ask(kTitleQ)).say("backup").again();
             d.say("klue", ask(kKlueQ)).say("999").again();
             d.say("transform", ask(kTransformQ)).say("backup").again();
             d.say("reverse", ask(kReverseQ)).say("backup").again();
             d.say("scale", ask(kScaleQ)).say("999 1 1").again();
             d.say("translate", ask(kTranslateQ)).say("999 1 1").again();
             d.say("rotate", ask(kRotAxisQ)).say("backup").again();
             d.say("respline", ask(kDirQ)).say("backup").again();
             d.say("extend", ask(kSideQ)).say("backup").again();
             d.say("dextend", ask(kSideQ)).say("backup").again();
             d.say("truncate", kPercentQ).say("999.").again();
             d.say("tranatx", kXtranQ).say("999.").again();
             d.say("tranxlin", kXtranQ).say("999.").again();
         },
         0, ""},
        {"backups deeper in the dialogues",
         [](D& d, B) {
             d.say("setblock", line(kSetblock) + ask(kIQ)).say("1 2", ask(kJQ)).say("999 0", ask(kIQ)).say("999 0");
             d.again();
             read_net(d);
             d.say("respline", ask(kDirQ)).say("i", ask(kCountQ)).say("3", ask(kDegQ)).say("2", ask(kFirstQ));
             d.say("999", ask(kDegQ)).say("999", ask(kDirQ)).say("backup").again();
             d.say("extend", ask(kSideQ)).say("imax", ask(kExtAxisQ));
             d.say("x", ask(kExtendToQ[0])).say("5", ask(kPointsQ));
             d.say("2", ask(kFairQ)).say("999", ask(kPointsQ));
             d.say("999", ask(kExtendToQ[0])).say("999", ask(kExtAxisQ));
             d.say("backup", ask(kSideQ)).say("backup").again();
         },
         0, ""},
        {"every answer right the first time",
         [](D& d, B) {
             read_net(d);
             d.say("ijmax", ask(kIjmaxQ)).say("3 3").ok();
             d.say("klue", ask(kKlueQ)).say("4");
             d.net.klue = 4;
             d.ok();
             d.say("settitle", ask(kTitleQ)).say("Plate two");
             d.net.title = title60("Plate two");
             d.ok();
             d.say("transform", ask(kTransformQ)).say("1").ok();
             d.say("reverse", ask(kReverseQ)).say("j").ok();
             d.say("transpose").ok();
             d.say("scale", ask(kScaleQ)).say("2 2 2").ok();
             d.say("translate", ask(kTranslateQ)).say("1 0 0").ok();
             d.say("rotate", ask(kRotAxisQ)).say("x", ask(kRotPointQ[0])).say("0 0", ask(kRotAngleQ[0])).say("90").ok();
             d.say("respline", ask(kDirQ)).say("i", ask(kCountQ)).say("3", ask(kDegQ)).say("1").ok();
             extend(d, "extend", "imax", "x", kExtendToQ[0], "5", "0", "1").ok();   // no points: nothing to do
             set_block(d, 1, 3, 1, 3);
             d.say("output", ask(kNameQ)).say("part.net", ask(kSubQ)).say("y").ok();
             d.say("input", ask(kNameQ)).say("part.net").ok();
             clear_block(d);
             d.say("output", ask(kNameQ)).say("out.net").ok();
         },
         0, ""},
    };
    run_rows(rows);
}

// The design loop's answers with one letter missing from the first name:
// the name question takes the next answers as names until one opens, each
// refused on standard error, and the run goes on to write bulb.net and quit.
TEST(ExitStatus, DesignLoopWithAMistypedNameEndsWithStatus1AndNamesEachRefusedName)
{
    std::ifstream f(std::string(EXAMPLES_DIR) + "/design-loop/gridedit.answers");
    ASSERT_TRUE(f) << "design-loop/gridedit.answers";
    std::stringstream text;
    text << f.rdbuf();
    std::string answers = text.str();
    const std::size_t at = answers.find("bulb-upper.net\n");
    ASSERT_NE(at, std::string::npos);
    answers.replace(at, 15, "bulb-uper.net\n");

    // the quarters as 17 x 5 networks of their own
    auto quarter = [](const std::string& title, int z) {
        return net_file(17, 5, title, [z](int i, int j) { return point(i, j, z); });
    };
    const std::string refuse = line(kReadErr) + ask(kNameQ);
    Dialogue want;   // what the mistyped answers give
    want.say("ijmax", ask(kIjmaxQ)).say("17 9");
    want.net.imax = 17;
    want.net.jmax = 9;
    want.ok();
    set_block(want, 1, 17, 1, 5);
    want.say("input", ask(kNameQ));
    for (const char* name : {"bulb-uper.net", "setblock", "1 17", "5 9", "input"})
        want.say(name, refuse).refused_name(kMissing, name);
    want.say("bulb-lower.net");
    want.net.title = title60("lower");
    want.ok();
    clear_block(want);
    want.say("settitle", ask(kTitleQ)).say("design-loop bulb");
    want.net.title = title60("design-loop bulb");
    want.ok();
    save(want, "bulb.net");
    want.say("quit", ask(kQuitQ)).say("y");
    ASSERT_EQ(want.answers(), answers) << "the design loop's answers are not the ones worked out here";

    Sandbox box;
    box.write("bulb-upper.net", quarter("upper", 1));
    box.write("bulb-lower.net", quarter("lower", 2));
    const Outcome r = box.run(answers);
    EXPECT_EQ(r.out, want.transcript());
    EXPECT_EQ(box.run_together(answers).out, want.together());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "gridedit: cannot open (No such file or directory), file 'bulb-uper.net' (answers line 7)\n"
                     "gridedit: cannot open (No such file or directory), file 'setblock' (answers line 8)\n"
                     "gridedit: cannot open (No such file or directory), file '1 17' (answers line 9)\n"
                     "gridedit: cannot open (No such file or directory), file '5 9' (answers line 10)\n"
                     "gridedit: cannot open (No such file or directory), file 'input' (answers line 11)\n");
    EXPECT_EQ(r.err, want.errors());
    // rows 1-5 hold the lower quarter, rows 6-9 the zeros of a fresh run
    EXPECT_EQ(box.read("bulb.net"), net_file(17, 9, "design-loop bulb", [](int i, int j) {
                  return j <= 5 ? point(i, j, 2) : point(0, 0, 0);
              }));

    // the answers as they are: every one used, status 0
    const std::string upper_then_lower = text.str();
    Sandbox good;
    good.write("bulb-upper.net", quarter("upper", 1));
    good.write("bulb-lower.net", quarter("lower", 2));
    const Outcome g = good.run(upper_then_lower);
    EXPECT_EQ(g.status, 0);
    EXPECT_EQ(g.err, "");
    // the upper quarter in rows 1-5, the lower one over rows 5-9
    EXPECT_EQ(good.read("bulb.net"), net_file(17, 9, "design-loop bulb", [](int i, int j) {
                  return j >= 5 ? point(i, j - 4, 2) : point(i, j, 1);
              }));
}

}  // namespace
}  // namespace gridedit_test
