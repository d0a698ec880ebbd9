// runs the real runplan on test-point lists and reads the setmat source it writes

#include "sandbox.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace convert_test {
namespace {

const std::string kPrompts =
    "enter name of INPUT *.txt matrix file\n"
    "enter name of OUTPUT setmat.f *.f test matrix fortran file\n";

std::string count_line(const std::string& field) { return "\neof reached after reading " + field + " points\n"; }

// Three header lines, then one line a record (label speed heel yaw rudder tab).
std::string matrix(const std::vector<std::string>& records) {
    std::string s = "run  speed  heel  yaw  rudder  tab\n(knots, degrees)\n---\n";
    for (const std::string& r : records) s += r + "\n";
    return s;
}

Outcome run(const RunplanBox& box, const std::string& list) {
    box.write("m.txt", list);
    return box.run("m.txt\nsetmat.f\n");
}

// The grouping of a setmat source in short: per heel group its heel and, per
// yaw group, its speeds: "0.0{0.00,5.00}{0.00} 10.0{5.00}".
std::string groups(const std::string& setmat) {
    std::string s;
    std::string pending;   // the speeds of the open yaw group
    auto close_group = [&] {
        if (!pending.empty()) s += "{" + pending.substr(1) + "}";
        pending.clear();
    };
    auto value = [](const std::string& line) {
        std::string v = line.substr(line.find('=') + 1);
        return v.substr(v.find_first_not_of(' '));
    };
    for (const std::string& line : test_support::split_lines(setmat)) {
        if (line.starts_with("      heel(ih)=")) {
            close_group();
            s += (s.empty() ? "" : " ") + value(line);
        } else if (line.starts_with("      iy=")) {
            close_group();
        } else if (line.starts_with("      vhy(")) {
            pending += "," + value(line);
        }
    }
    close_group();
    return s;
}

const std::string kLongRule = "c***********************************************************************";
const std::string kShortRule = "c***********************************";

TEST(Runplan, WritesTheRoutineOfTheGroupedPoints) {
    RunplanBox box;
    // (speed, heel, yaw) = (5,0,0), (6,0,0), (5,0,2), (5,10,0); rudder and tab differ so that their order shows
    const Outcome o = run(box, matrix({"1 5 0 0 1 2", "2, 6, 0, 0, 1.25, 2.5", "3 5 0 2 -1 -2", "4 5 10 0 0.5 0.75"}));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, kPrompts + count_line("    4"));
    const std::string expected = R"(      subroutine setmat(
     . nspd,nheel,nyaw,ivu,vu,iyaw,ivhy,heel,vhy,yaw,tab,rud)
c
c     set up test matrix
c
      dimension
     . vu(nspd)
      dimension
     . iyaw(nheel),ivhy(nyaw,nheel)
      dimension
     . heel(nheel),
     . vhy(nspd,nyaw,nheel),
     . yaw(nspd,nyaw,nheel),
     . tab(nspd,nyaw,nheel),
     . rud(nspd,nyaw,nheel)
c
LONG
c
c     upright rudder-off half-models
c
      ivu=0
c
      do n=1,nspd
        vu(n)=0.0
      enddo
c
LONG
c
c     heel=  0.0
c
      ih= 1
      heel(ih)=  0.0
      iyaw(ih)= 2
c
SHORT
c
      iy= 1
      ivhy(iy,ih)= 3
      vhy( 1,iy,ih)= 0.00
      vhy( 2,iy,ih)= 5.00
      vhy( 3,iy,ih)= 6.00
      yaw( 1,iy,ih)= 0.00
      yaw( 2,iy,ih)= 0.00
      yaw( 3,iy,ih)= 0.00
      tab( 1,iy,ih)= 2.00
      tab( 2,iy,ih)= 2.00
      tab( 3,iy,ih)= 2.50
      rud( 1,iy,ih)= 1.00
      rud( 2,iy,ih)= 1.00
      rud( 3,iy,ih)= 1.25
c
SHORT
c
      iy= 2
      ivhy(iy,ih)= 2
      vhy( 1,iy,ih)= 0.00
      vhy( 2,iy,ih)= 5.00
      yaw( 1,iy,ih)= 2.00
      yaw( 2,iy,ih)= 2.00
      tab( 1,iy,ih)=-2.00
      tab( 2,iy,ih)=-2.00
      rud( 1,iy,ih)=-1.00
      rud( 2,iy,ih)=-1.00
c
LONG
c
c     heel= 10.0
c
      ih= 2
      heel(ih)= 10.0
      iyaw(ih)= 1
c
SHORT
c
      iy= 1
      ivhy(iy,ih)= 2
      vhy( 1,iy,ih)= 0.00
      vhy( 2,iy,ih)= 5.00
      yaw( 1,iy,ih)= 0.00
      yaw( 2,iy,ih)= 0.00
      tab( 1,iy,ih)= 0.75
      tab( 2,iy,ih)= 0.75
      rud( 1,iy,ih)= 0.50
      rud( 2,iy,ih)= 0.50
c
LONG
c
c     zero out remaining heel angle arrays
c
      do ih= 3,nheel
        iyaw(ih)= 0
      enddo
c
LONG
c
      return
c
      end
)";
    std::string want;
    for (const std::string& line : test_support::split_lines(expected))
        want += (line == "LONG" ? kLongRule : line == "SHORT" ? kShortRule : line) + "\n";
    EXPECT_EQ(box.read("setmat.f"), want);
}

TEST(Runplan, GroupsByHeelAndFallingSpeed) {
    struct Case {
        const char* what;
        std::vector<std::string> records;
        std::string groups;
        std::string count;
    };
    const Case cases[] = {
        {"the previous record decides, not the group's first", {"1 5 0 0 0 0", "2 7 0 0 0 0", "3 6 0 0 0 0"},
         "0.0{0.00,5.00,7.00}{0.00,6.00}", "    3"},
        {"equal speeds and a new yaw stay in the yaw group", {"1 5 0 0 0 0", "2 5 0 0 0 0", "3 5 0 4 0 0", "4 6 0 -4 0 0"},
         "0.0{0.00,5.00,5.00,5.00,6.00}", "    4"},
        {"a return to an earlier heel is a new heel group", {"1 5 0 0 0 0", "2 5 10 0 0 0", "3 5 0 0 0 0"},
         "0.0{0.00,5.00} 10.0{0.00,5.00} 0.0{0.00,5.00}", "    3"},
        {"heels within 1e-5 of the previous one stay together, however far they drift",
         {"1 5 0 0 0 0", "2 6 0.000008 0 0 0", "3 7 0.000016 0 0 0", "4 8 0.000024 0 0 0"},
         "0.0{0.00,5.00,6.00,7.00,8.00}", "    4"},
        {"a heel 2e-5 away opens a heel group of its own heel", {"1 5 0.5 0 0 0", "2 5 0.50002 0 0 0"},
         "0.5{0.00,5.00} 0.5{0.00,5.00}", "    2"},
        {"no zero-speed point at a speed of at most 1e-5",
         {"1 0 0 0 0 0", "2 0.00001 5 0 0 0", "3 -2 10 0 0 0", "4 0.00002 15 0 0 0"},
         "0.0{0.00} 5.0{0.00} 10.0{-2.00} 15.0{0.00,0.00}", "    4"},
        {"a lower speed, even zero, opens a yaw group without a zero-speed point",
         {"1 5 0 0 0 0", "2 0 0 0 0 0", "3 4 0 0 0 0"}, "0.0{0.00,5.00}{0.00,4.00}", "    3"},
        {"a record over two lines, commas, numbers after the sixth ignored",
         {"1 5 0", "  0, 0, 0 99 98", "2,6,0,0,0,0,97"}, "0.0{0.00,5.00,6.00}", "    2"},
        {"an incomplete last record is dropped", {"1 5 0 0 0 0", "2 1 0 0 0"}, "0.0{0.00,5.00}", "    1"},
        {"no data record: one point, all zero", {}, "0.0{0.00}", "    0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunplanBox box;
        const Outcome o = run(box, matrix(c.records));
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.out, kPrompts + count_line(c.count));
        EXPECT_EQ(groups(box.read("setmat.f").value_or("")), c.groups);
    }
}

TEST(Runplan, EmptyListStillWritesOneZeroPoint) {
    RunplanBox box;
    const Outcome o = run(box, matrix({}));
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string setmat = box.read("setmat.f").value_or("");
    for (const char* line : {"c     heel=  0.0\n", "      heel(ih)=  0.0\n", "      iyaw(ih)= 1\n",
                             "      ivhy(iy,ih)= 1\n", "      vhy( 1,iy,ih)= 0.00\n", "      yaw( 1,iy,ih)= 0.00\n",
                             "      tab( 1,iy,ih)= 0.00\n", "      rud( 1,iy,ih)= 0.00\n", "      do ih= 2,nheel\n"})
        EXPECT_NE(setmat.find(line), std::string::npos) << line;
}

// A list of n records, record r (from 1) made by make(r).
template <class F>
std::string records(int n, F make) {
    std::vector<std::string> rs;
    for (int r = 1; r <= n; ++r) rs.push_back(make(r));
    return matrix(rs);
}

// Record r of lists that fill one group kind: a heel group each, a yaw
// group each (speeds falling from 99), and points of rising speed.
std::string heels(int r) { return std::to_string(r) + " 1 " + std::to_string(r) + " 0 0 0"; }
std::string falling(int r) { return std::to_string(r) + " " + std::to_string(100 - r) + " 0 0 0 0"; }
std::string rising(int r) { return std::to_string(r) + " " + std::to_string(r) + " 0 0 0 0"; }

TEST(Runplan, LimitsStopBeforeTheCountLineAndTheOutput) {
    struct Case {
        const char* what;
        std::string list;
        std::string message;   // "" when the run must pass
        std::string in_setmat;
    };
    const Case cases[] = {
        {"11 heel groups", records(11, heels), "", "      do ih=12,nheel\n"},
        {"12 heel groups", records(12, heels), "error: nh=   12 > nhdim=   11\n", ""},
        {"61 yaw groups", records(61, falling), "", "      iy=61\n      ivhy(iy,ih)= 2\n"},
        {"62 yaw groups", records(62, falling), "error: iyaw(nh)=   62 > nydim=   61\n", ""},
        // a zero-speed point and speeds 1 to 100
        {"101 points", records(100, rising), "", "      ivhy(iy,ih)=101\n"},
        {"102 points", records(101, rising), "error: ivhy(iyaw(nh),nh)=  102 > nsdim=  101\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunplanBox box;
        box.write("setmat.f", kOldContent);
        const Outcome o = run(box, c.list);
        EXPECT_EQ(o.status, c.message.empty() ? 0 : 1) << o.err;
        EXPECT_EQ(o.err, "");
        if (c.message.empty()) {
            EXPECT_NE(box.read("setmat.f").value_or("").find(c.in_setmat), std::string::npos);
        } else {
            EXPECT_EQ(o.out, kPrompts + c.message);
            EXPECT_EQ(box.read("setmat.f"), kOldContent);
        }
    }
}

// Every stop of runplan, one row each: its message and status 1, no count
// line, nothing written; a run at each limit and one of the list as it
// should be end with status 0.
TEST(Runplan, EveryStopEndsWithStatusOne) {
    struct Case {
        const char* what;
        std::string list;
        int status;
        std::string out;
    };
    const std::string not_finite = matrix({"1 5 0 0 0 0", "2 6 0 0 0 0", "3 nan 0 0 0 0"});
    const Case cases[] = {
        {"error: nh=", records(12, heels), 1, kPrompts + "error: nh=   12 > nhdim=   11\n"},
        {"error: iyaw(nh)=", records(62, falling), 1, kPrompts + "error: iyaw(nh)=   62 > nydim=   61\n"},
        {"error: ivhy(iyaw(nh),nh)=", records(101, rising), 1,
         kPrompts + "error: ivhy(iyaw(nh),nh)=  102 > nsdim=  101\n"},
        {"error ... data record holds a value that is not finite", not_finite, 1,
         kPrompts + " error ... data record    3 holds a value that is not finite\n"},
        {"eleven heel groups end normally", records(11, heels), 0, kPrompts + count_line("   11")},
        {"normal end", matrix({"1 5 0 0 0 0", "2 4 10 0 0 0"}), 0, kPrompts + count_line("    2")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunplanBox box;
        box.write("setmat.f", kOldContent);
        const Outcome o = run(box, c.list);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(box.read("m.txt"), c.list);
        if (c.status == 0)
            EXPECT_TRUE(box.read("setmat.f").value_or("").starts_with("      subroutine setmat(\n"));
        else
            EXPECT_EQ(box.read("setmat.f"), kOldContent);
    }
}

TEST(Runplan, ValuesTooWideForTheirFieldsGetWiderFields) {
    RunplanBox box;
    // speeds 1 to 99, then 99.996 (100.00 once rounded); the zero-speed point makes 101 points
    std::vector<std::string> rs;
    for (int r = 1; r <= 99; ++r) rs.push_back(std::to_string(r) + " " + std::to_string(r) + " -100 0 0 0");
    rs.push_back("100 99.996 -100 -9.996 -9.994 -10");
    rs.push_back("101 3 999.96 0 0 0");
    const Outcome o = run(box, matrix(rs));
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string setmat = box.read("setmat.f").value_or("");
    for (const char* line : {
             "c     heel=-100.0\n", "      heel(ih)=-100.0\n", "      ivhy(iy,ih)=101\n",
             "      vhy( 1,iy,ih)= 0.00\n", "      vhy(99,iy,ih)=98.00\n", "      vhy(100,iy,ih)=99.00\n",
             "      vhy(101,iy,ih)=100.00\n", "      yaw(100,iy,ih)= 0.00\n", "      yaw(101,iy,ih)=-10.00\n",
             "      tab(101,iy,ih)=-10.00\n", "      rud(101,iy,ih)=-9.99\n", "c     heel=1000.0\n",
             "      heel(ih)=1000.0\n", "      vhy( 2,iy,ih)= 3.00\n"})
        EXPECT_NE(setmat.find(line), std::string::npos) << line;
}

TEST(Runplan, RecordWithAValueThatIsNotFiniteStopsTheRun) {
    for (const char* bad : {"NaN 1 0 0 0 0", "3 Inf 0 0 0 0", "3 1 -infinity 0 0 0", "3 1 0 1e39 0 0",
                            "3 1 0 0 nan 0", "3 1 0 0 0 -1e39"}) {
        SCOPED_TRACE(bad);
        RunplanBox box;
        box.write("setmat.f", kOldContent);
        const Outcome o = run(box, matrix({"1 5 0 0 0 0", "2 6 0 0 0 0", bad, "4 7 0 0 0 0"}));
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(o.out, kPrompts + " error ... data record    3 holds a value that is not finite\n");
        EXPECT_EQ(box.read("setmat.f"), kOldContent);
    }
}

TEST(Runplan, FailuresEndTheRunWithStatusOne) {
    struct Case {
        const char* what;
        const char* list;
        std::string answers;
        std::string out;
    };
    const Case cases[] = {
        {"empty input", "", "m.txt\nsetmat.f\n", kPrompts},
        {"two lines only", "a\nb\n", "m.txt\nsetmat.f\n", kPrompts},
        {"malformed number", "a\nb\nc\n1 5 0 0 0 0\n2 6 x 0 0 0\n", "m.txt\nsetmat.f\n", kPrompts},
        {"answers end early", "a\nb\nc\n", "m.txt\n", kPrompts},
        {"blank input name", "a\nb\nc\n", "   \nsetmat.f\n", kPrompts},
        {"blank output name", "a\nb\nc\n1 5 0 0 0 0\n", "m.txt\n  \n", kPrompts + count_line("    1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunplanBox box;
        box.write("m.txt", c.list);
        box.write("setmat.f", kOldContent);
        const Outcome o = box.run(c.answers);
        EXPECT_EQ(o.status, 1);
        EXPECT_NE(o.err.find("runplan: "), std::string::npos);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(box.read("setmat.f"), kOldContent);
        EXPECT_EQ(box.read("m.txt"), c.list);
    }
}

// The files of the folder and their contents.
std::map<std::string, std::string> folder(const RunplanBox& box) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(box.work()))
        files[e.path().filename()] = box.read(e.path().filename()).value_or("");
    return files;
}

// A name of 256 columns or more is spelt with "./" before the file's own
// name, which the system holds to 255 bytes.
std::string dotted(int times, const std::string& name) {
    std::string s;
    for (int k = 0; k < times; ++k) s += "./";
    return s + name;
}

// A name is read into a field of 256 columns: one that fits, blanks before
// it counted and blanks after it not, is opened whole; one typed past the
// field is refused at its open, naming the field's columns, rather than
// opened as its first 256 columns (a file of another name).
TEST(Runplan, NamesPastTheirFieldAreRefusedAndTwoHundredFiftySixColumnsOpenTheWholeName) {
    const std::string list = matrix({"1 5 0 0 0 0", "2 6 0 0 0 0"});
    RunplanBox reference;
    ASSERT_EQ(run(reference, list).status, 0);
    const std::string routine = reference.read("setmat.f").value_or("");
    ASSERT_FALSE(routine.empty());

    const std::string refused = "runplan: cannot open (name longer than the 256 columns of its field), file '";
    using Files = std::map<std::string, std::string>;
    struct Case {
        const char* what;
        Files before;
        std::string answers;
        int status;
        std::string out, err;
        Files after;
    };
    const std::string output_257 = dotted(121, "setmat-for-th.f");
    const std::string output_267 = dotted(121, "setmat-for-the-tests-xy.f");
    const std::string input_257 = dotted(121, "points-list.txt");
    const Case cases[] = {
        {"output of 257 columns", {{"m.txt", list}}, "m.txt\n" + output_257 + "\n", 1, kPrompts + count_line("    2"),
         refused + output_257.substr(0, 256) + "...' (unit 2, record 0)\n", {{"m.txt", list}}},
        // its first 256 columns name setmat-for-the
        {"output of 267 columns", {{"m.txt", list}}, "m.txt\n" + output_267 + "\n", 1, kPrompts + count_line("    2"),
         refused + output_267.substr(0, 256) + "...' (unit 2, record 0)\n", {{"m.txt", list}}},
        {"input of 257 columns, its first 256 naming a list", {{"points-list.tx", list}}, input_257 + "\nsetmat.f\n", 1,
         kPrompts, refused + input_257.substr(0, 256) + "...' (unit 1, record 0)\n", {{"points-list.tx", list}}},
        {"two blanks and 255 columns", {{"m.txt", list}}, "m.txt\n  " + dotted(120, "setmat-for-th.f") + "\n", 1,
         kPrompts + count_line("    2"), refused + dotted(120, "setmat-for-th.") + "...' (unit 2, record 0)\n",
         {{"m.txt", list}}},
        {"output of 256 columns", {{"m.txt", list}}, "m.txt\n" + dotted(121, "setmat-for-t.f") + "\n", 0,
         kPrompts + count_line("    2"), "", {{"m.txt", list}, {"setmat-for-t.f", routine}}},
        {"output of 256 columns and blanks", {{"m.txt", list}}, "m.txt\n" + dotted(121, "setmat-for-t.f") + "    \n", 0,
         kPrompts + count_line("    2"), "", {{"m.txt", list}, {"setmat-for-t.f", routine}}},
        {"a blank and 255 columns", {{"m.txt", list}}, "m.txt\n " + dotted(120, "setmat-for-th.f") + "\n", 0,
         kPrompts + count_line("    2"), "", {{"m.txt", list}, {"setmat-for-th.f", routine}}},
        {"input of 256 columns", {{"points-list.tx", list}}, dotted(121, "points-list.tx") + "\nsetmat.f\n", 0,
         kPrompts + count_line("    2"), "", {{"points-list.tx", list}, {"setmat.f", routine}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunplanBox box;
        for (const auto& [name, text] : c.before) box.write(name, text);
        const Outcome o = box.run(c.answers);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, c.err);
        EXPECT_EQ(folder(box), c.after);
    }
}

// The routine's file named as the list, spelt as it is or another way: the
// open is refused on the file, not on its name, and the list survives.
TEST(Runplan, OutputNamedAsTheInputListIsRefused) {
    const std::string list = matrix({"1 5 0 0 0 0", "2 6 0 0 0 0"});
    for (const std::string output : {"points.txt", "./points.txt"}) {
        SCOPED_TRACE(output);
        RunplanBox box;
        box.write("points.txt", list);
        const Outcome o = box.run("points.txt\n" + output + "\n");
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.out, kPrompts + count_line("    2"));
        EXPECT_EQ(o.err, "runplan: cannot open a file that is open already, file '" + output + "' (unit 2, record 0)\n");
        EXPECT_EQ(box.read("points.txt"), list);
        std::vector<std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(box.work())) files.push_back(e.path().filename());
        EXPECT_EQ(files, std::vector<std::string>{"points.txt"});
    }
}

}  // namespace
}  // namespace convert_test
