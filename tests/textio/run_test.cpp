// The end of a run: one diagnostic line and status 1 for an I/O failure,
// status 1 for a failed run, 0 for a normal end, and nothing written lost
// silently.
#include "support.hpp"

#include <functional>

namespace {

using namespace textio_test;
using textio::Access;

class Run : public Streams {
protected:
    std::string path(std::string_view name) const { return (dir_ / name).string(); }
    // Runs body as a program; its status and what it wrote on stderr.
    std::pair<int, std::string> run(const char* program, const std::function<void()>& body) {
        StderrCapture err;
        int code = textio::run_program(program, body);
        return {code, err.text()};
    }
    TempDir dir_;
};

TEST_F(Run, FailureNamesProgramFileUnitAndRecord) {
    write_file(dir_ / "r00a00.fm", "1 2\nabc\n");
    write_file(dir_ / "cases.txt", "    1\n");
    const struct {
        const char* program;
        std::string input;   // standard input
        std::function<void()> body;
        std::string want;
    } rows[] = {
        {"hydrosum", "",
         [&] {
             float a, b, c;
             ASSERT_TRUE(textio::open(1, path("r00a00.fm"), Access::existing));
             textio::read_list_required(1, a, b);
             textio::read_list_required(1, c);
         },
         "hydrosum: bad real number in item 1 of list input, file '" + path("r00a00.fm") +
             "' (unit 1, record 2)\n"},
        {"runplan", "",
         [&] {
             std::int32_t k;
             ASSERT_TRUE(textio::open(3, path("cases.txt"), Access::existing_or_new));
             textio::read_required(3, "(i5)", k);
             textio::read_required(3, "(i5)", k);
         },
         "runplan: end of file, file '" + path("cases.txt") + "' (unit 3, record 2)\n"},
        {"gridedit", "",
         [] {
             float x;
             textio::write(6, "(a)", " enter task");
             textio::read_list_required(5, x);
         },
         "gridedit: end of file, file 'standard input' (unit 5, record 1)\n"},
        {"gridedit", "  12a\n",
         [] {
             std::int32_t i;
             textio::read_required(5, "(i5)", i);
         },
         "gridedit: bad value during integer read, file 'standard input' (unit 5, record 1)\n"},
        {"appgrid", "label\n",
         [] {
             textio::skip_record_required(5);
             textio::skip_record_required(5);
         },
         "appgrid: end of file, file 'standard input' (unit 5, record 2)\n"},
        // read-only by its nature: no reason to give
        {"gridedit", "", [] { textio::write(5, "(a)", "x"); },
         "gridedit: cannot write to a file opened only for reading, file 'standard input' (unit 5, record 0)\n"},
    };
    for (const auto& r : rows) {
        use_input(r.input);
        auto [code, err] = run(r.program, r.body);
        EXPECT_EQ(code, textio::exit_failure) << r.want;
        EXPECT_EQ(err, r.want);
        EXPECT_FALSE(textio::is_open(1));
        EXPECT_FALSE(textio::is_open(3));
    }
    // what was written before the failure is out
    EXPECT_EQ(output(), " enter task\n");
}

TEST_F(Run, InternalRecordFailureNamesItsOrigin) {
    auto [code, err] = run("surfmesh", [] {
        std::int32_t v;
        textio::In("     12a", textio::fmt("(i8)"), "hull.igs line 7")(v).required();
    });
    EXPECT_EQ(code, textio::exit_failure);
    EXPECT_EQ(err.rfind("surfmesh: bad value during integer read, file 'hull.igs line 7'", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

TEST_F(Run, StopClosesAndKeepsFiles) {
    auto [code, err] = run("surfmesh", [&] {
        ASSERT_TRUE(textio::open(11, path("fort.11"), Access::replace));
        textio::write(11, "(a)", "kept");
        textio::write(11, "(a,$)", "pending");
        textio::write(6, "(a,$)", " final prompt no newline: ");
        textio::quit();
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(err, "");
    EXPECT_FALSE(textio::is_open(11));
    EXPECT_EQ(read_file(dir_ / "fort.11"), "kept\npending");
    EXPECT_EQ(output(), " final prompt no newline: ");

    // a body that just returns ends the same way
    std::tie(code, err) = run("gridedit", [&] {
        ASSERT_TRUE(textio::open(2, path("out.net"), Access::existing_or_new));
        textio::write(2, "(2i5)", std::int32_t{1}, std::int32_t{1});
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(err, "");
    EXPECT_FALSE(textio::is_open(2));
    EXPECT_EQ(read_file(dir_ / "out.net"), "    1    1\n");
}

// A run that ends while a scratch unit is open leaves its records in the
// file, as it leaves a file unit's; one closed with delete leaves nothing.
TEST_F(Run, ScratchUnitsOpenAtTheEndReachTheDisk) {
    auto [code, err] = run("surfmesh", [&] {
        ASSERT_TRUE(textio::open(22, path("fort.22"), Access::scratch));
        textio::write(22, "(a)", "gone");
        textio::close(22, textio::Disposition::remove);
        ASSERT_TRUE(textio::open(21, path("fort.21"), Access::scratch));
        textio::write(21, "(a)", "1,2");
        textio::write(21, "(a)", "x");
        textio::rewind(21);
        std::int32_t a, b, c;
        textio::read_list_required(21, a, b, c);
    });
    EXPECT_EQ(code, textio::exit_failure);
    EXPECT_EQ(err, "surfmesh: bad integer for item 3 in list input, file '" + path("fort.21") + "' (unit 21, record 2)\n");
    EXPECT_EQ(read_file(dir_ / "fort.21"), "1,2\nx\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "fort.22"));

    std::tie(code, err) = run("surfmesh", [&] {
        ASSERT_TRUE(textio::open(21, path("fort.21"), Access::scratch));   // emptied at once: it exists
        ASSERT_TRUE(textio::open(23, path("fort.23"), Access::scratch));
        textio::write(23, "(a)", "at the stop");
        textio::quit();
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(read_file(dir_ / "fort.21"), "");
    EXPECT_EQ(read_file(dir_ / "fort.23"), "at the stop\n");
}

// A script knows a run failed by its status alone: a stop after a failure's
// message, and a run that went on past an answer it could not use, end with
// 1; only the refused name says more, on stderr.
TEST_F(Run, FailedRunsEndWithStatusOne) {
    const struct {
        const char* what;
        std::function<void()> body;
        int code;
        std::string err;
    } rows[] = {
        {"returns", [] { textio::write(6, "(a)", " done"); }, 0, ""},
        {"quits", [] { textio::write(6, "(a)", " done"); textio::quit(); }, 0, ""},
        {"error stop", [] { textio::write(6, "(a)", " done"); textio::error_stop(); }, 1, ""},
        {"failed and went on, then returns", [] { textio::fail_and_go_on(); textio::write(6, "(a)", " done"); }, 1, ""},
        {"failed and went on, then quits",
         [] { textio::fail_and_go_on(); textio::write(6, "(a)", " done"); textio::quit(); }, 1, ""},
        {"failure noted, then quits",
         [] {
             textio::write(6, "(a)", " done");
             textio::note_failure("no table");
             textio::quit();
         },
         1, "gridedit: no table\n"},
        {"name refused",
         [] {
             std::array<char, 80> name;
             textio::read_answer_line(name);
             textio::read_answer_line(name);
             textio::write(6, "(a)", " done");
             textio::refused_name(textio::shown_name({name.data(), name.size()}), "cannot open (No such file or directory)");
         },
         1, "gridedit: cannot open (No such file or directory), file 'bulb-uper.net' (answers line 2)\n"},
        {"failed and went on, then an I/O failure",
         [] {
             textio::fail_and_go_on();
             textio::write(6, "(a)", " done");
             textio::write(5, "(a)", "x");
         },
         1, "gridedit: cannot write to a file opened only for reading, file 'standard input' (unit 5, record 0)\n"},
    };
    std::string out;   // standard output gathers every run's
    for (const auto& r : rows) {
        use_input("input\n  bulb-uper.net  \n");
        auto [code, err] = run("gridedit", r.body);
        EXPECT_EQ(code, r.code) << r.what;
        EXPECT_EQ(err, r.err) << r.what;
        EXPECT_EQ(output(), out += " done\n") << r.what;   // written before the stderr line, and kept
    }
    // the mark is the run's own: the next run starts clean
    auto [code, err] = run("gridedit", [] {});
    EXPECT_EQ(code, 0);
}

// A name may hold a NUL byte: the line on standard error shows it as \0
// and goes on to its end, for a refused name, a noted failure and the
// diagnostic of an I/O failure alike.
TEST_F(Run, ANulByteInALineIsShownAndTheLineGoesOn) {
    const std::string name("ke\0el.net", 9);
    const struct {
        const char* what;
        std::function<void()> body;
        std::string err;
    } rows[] = {
        {"refused name", [&] { textio::refused_name(name, "cannot open (No such file or directory)", 4); },
         "gridedit: cannot open (No such file or directory), file 'ke\\0el.net' (answers line 4)\n"},
        {"noted failure", [&] { textio::note_failure("no table in '" + name + "'"); },
         "gridedit: no table in 'ke\\0el.net'\n"},
        {"I/O failure", [&] { textio::fail_open(1, name, ENOENT); },
         "gridedit: cannot open (No such file or directory), file 'ke\\0el.net' (unit 1, record 0)\n"},
    };
    for (const auto& r : rows) {
        auto [code, err] = run("gridedit", r.body);
        EXPECT_EQ(code, textio::exit_failure) << r.what;
        EXPECT_EQ(err, r.err) << r.what;
    }
}

TEST(OpenRefusal, OneWordingForEveryProgram) {
    const struct {
        int status;
        std::size_t columns;
        std::string_view what;
        const char* want;
    } rows[] = {
        {EBUSY, 0, "", "cannot open a file that is open already"},
        {EBUSY, 0, "the mesh file", "cannot open a file that is open already"},
        {ENAMETOOLONG, 80, "", "cannot open (name longer than the 80 columns of its field)"},
        {ENAMETOOLONG, 256, "", "cannot open (name longer than the 256 columns of its field)"},
        {ENAMETOOLONG, 0, "", "cannot open (File name too long)"},   // the system's own limit
        {ENOENT, 0, "for writing", "cannot open for writing (No such file or directory)"},
        {EACCES, 0, "the keel network", "cannot open the keel network (Permission denied)"},
    };
    for (const auto& r : rows) EXPECT_EQ(textio::open_refusal(r.status, r.columns, r.what), r.want);
}

TEST_F(Run, WriteToAFullDeviceFails) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    auto [code, err] = run("gridedit", [] {
        ASSERT_TRUE(textio::open(2, "/dev/full", Access::existing_or_new));
        textio::write(2, "(1p3e16.8)", 1.0f, 2.0f, 3.0f);
    });
    EXPECT_EQ(code, textio::exit_failure);
    EXPECT_EQ(err, "gridedit: write error (No space left on device), file '/dev/full' (unit 2, record 1)\n");

    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_TRUE(full);
    textio::Runtime::instance().reset(in_.get(), full);
    std::tie(code, err) = run("gridedit", [] { textio::write_list(6, "lost?"); });
    textio::Runtime::instance().reset(in_.get(), out_.get());
    std::fclose(full);
    EXPECT_EQ(code, textio::exit_failure);
    EXPECT_EQ(err, "gridedit: write error (No space left on device), file 'standard output' (unit 6, record 1)\n");
}

}  // namespace
