// Files the user may not write: an existing output is refused at its first
// write with the reason, and left as it was; an input reads as ever.
// Root writes whatever the mode bits say, so as root the runs are made as
// nobody, on root's files, which nobody may read but not write; other
// users run as themselves on files without their write bits.
#include "support.hpp"

#include <array>
#include <filesystem>
#include <fstream>
#include <utility>

#include <fcntl.h>
#include <grp.h>

namespace {

using namespace textio_test;
namespace fs = std::filesystem;

constexpr uid_t nobody = 65534;
constexpr int no_other_user = 77;   // the child could not become nobody

// A folder whose files the user of the runs may read but not write.
class ReadOnlyFiles {
public:
    ReadOnlyFiles() {
        // nobody may create files here, and read root's but not write them
        if (::geteuid() == 0) fs::permissions(dir_.path(), fs::perms::all);
    }
    // A file the runs may only read.
    void add(const std::string& name, std::string_view text) const {
        write_file(dir_ / name, text);
        if (::geteuid() != 0) fs::permissions(dir_ / name, fs::perms::owner_write, fs::perm_options::remove);
    }
    fs::path operator/(std::string_view name) const { return dir_ / name; }
    const fs::path& path() const { return dir_.path(); }

    // body in a child process, as nobody when we are root; its wait status.
    template <class Body>
    static int run(Body body) {
        return in_child([&] {
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0))
                ::_exit(no_other_user);
            body();
        });
    }

private:
    TempDir dir_;
};

std::string dialogue() {
    std::string text = "\n GRIDPLOT MAREVO-To-TECPLOT File Translation Software\n\n";
    for (const char* q : {" enter name of input database network file", " enter name of output TECPLOT file",
                          " enter title for output TECPLOT file"})
        text += std::string(q) + "\n ? \n";
    return text;
}

// What gridplot writes for the one-point network of keel.net below.
std::string keel_tecplot(const std::string& title) {
    return "TITLE = \"" + title + "\"\nVARIABLES = X, Y, Z\nZONE T=\"keel\",\nI=  1, J=  1\n"
           "  0.10000000E+01  0.20000000E+01 -0.50000000E+00\nTEXT X=0.050, Y=0.900,\nT=\"" + title + "\"\n";
}
constexpr const char* keel_net = "    1    1          keel\n1 2 -0.5\n";

// gridplot on a network file it may only read, into an output that exists
// and may only be read, or into a new one.
TEST(ReadOnly, OutputRefusedWithItsReasonInputReadAsEver) {
    const std::string old = "old content, kept\n";
    const std::string tecplot = keel_tecplot("ro");
    const struct {
        const char* output;
        int status;
        std::string err, written;
    } rows[] = {
        {"old.plt", 1,
         "gridplot: cannot write to a file opened only for reading (Permission denied), file 'old.plt' (unit 2, "
         "record 0)\n",
         old},
        {"new.plt", 0, "", tecplot},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.output);
        ReadOnlyFiles files;
        files.add("in.net", keel_net);
        files.add("old.plt", old);
        const test_support::TempFile in("in.net\n" + std::string(r.output) + "\nro\n");
        const test_support::TempFile out, err;
        const int status = ReadOnlyFiles::run([&] {
            ::dup2(fileno(in.get()), 0);
            ::dup2(fileno(out.get()), 1);
            ::dup2(fileno(err.get()), 2);
            if (::chdir(files.path().c_str()) != 0) ::_exit(126);
            ::alarm(60);   // a run that waits for ever fails
            ::execl(GRIDPLOT_EXE, "gridplot", static_cast<char*>(nullptr));
            ::_exit(127);
        });
        if (WIFEXITED(status) && WEXITSTATUS(status) == no_other_user) GTEST_SKIP() << "cannot run as nobody";
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), r.status);
        EXPECT_EQ(out.contents(), dialogue());
        EXPECT_EQ(err.contents(), r.err);
        EXPECT_EQ(read_file(files / r.output), r.written);
        EXPECT_EQ(read_file(files / "old.plt"), old);
    }
}

// gridplot with its answers in a file or a pipe, asked to open that again:
// an output there is refused before anything is written, as a second open
// of one file is, and so is a second reader of the pipe, which would wait
// for ever; the answers file read as the network reads from its start, as
// it always did. Standard output stays an output.
TEST(ReadOnly, AnswersNeverOpenedAgainButToBeRead) {
    const auto busy = [](const char* name, int unit) {
        return "gridplot: cannot open a file that is open already, file '" + std::string(name) + "' (unit " +
               std::to_string(unit) + ", record 0)\n";
    };
    const struct {
        const char* network;
        const char* output;
        bool piped;   // else the file "answers"
        int status;
        std::string err, after;   // stdout after the dialogue
    } rows[] = {
        {"keel.net", "/dev/stdin", false, 1, busy("/dev/stdin", 2), ""},
        {"keel.net", "/proc/self/fd/0", false, 1, busy("/proc/self/fd/0", 2), ""},
        {"keel.net", "answers", false, 1, busy("answers", 2), ""},
        {"keel.net", "./answers", false, 1, busy("./answers", 2), ""},
        {"keel.net", "/dev/stdin", true, 1, busy("/dev/stdin", 2), ""},
        {"/dev/stdin", "out.plt", true, 1, busy("/dev/stdin", 1), ""},
        {"/dev/stdin", "out.plt", false, 1, "gridplot: bad value during integer read, file '/dev/stdin' (unit 1, record 1)\n",
         ""},
        {"keel.net", "/dev/stdout", false, 0, "", keel_tecplot("my title")},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.network) + ", " + r.output + (r.piped ? ", piped" : ""));
        const TempDir dir;
        write_file(dir / "keel.net", keel_net);
        const std::string answers = std::string(r.network) + "\n" + r.output + "\nmy title\n";
        write_file(dir / "answers", answers);
        std::array<int, 2> in{}, out{};
        ASSERT_EQ(::pipe(in.data()), 0);
        ASSERT_EQ(::pipe(out.data()), 0);
        ASSERT_EQ(::write(in[1], answers.data(), answers.size()), static_cast<ssize_t>(answers.size()));
        ::close(in[1]);
        const test_support::TempFile err;
        const int status = in_child([&] {
            if (::chdir(dir.path().c_str()) != 0) ::_exit(126);
            ::dup2(r.piped ? in[0] : ::open("answers", O_RDONLY), 0);
            ::dup2(out[1], 1);
            ::dup2(fileno(err.get()), 2);
            ::close(out[0]);
            ::alarm(60);   // a run that waits for ever fails
            ::execl(GRIDPLOT_EXE, "gridplot", static_cast<char*>(nullptr));
            ::_exit(127);
        });
        ::close(in[0]);
        ::close(out[1]);
        std::string shown;
        std::array<char, 4096> chunk;
        for (ssize_t n; (n = ::read(out[0], chunk.data(), chunk.size())) > 0;) shown.append(chunk.data(), n);
        ::close(out[0]);
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), r.status);
        EXPECT_EQ(shown, dialogue() + r.after);
        EXPECT_EQ(err.contents(), r.err);
        EXPECT_EQ(read_file(dir / "answers"), answers);
        EXPECT_FALSE(fs::exists(dir / "out.plt"));
    }
}

// The layer's own view: the records of the file read, its first write
// refused with the reason the file could not be opened for writing: its
// mode bits, or a program running from it (here the tests themselves),
// which no user may write.
TEST(ReadOnly, UnitOnAFileThatMayNotBeWritten) {
    ReadOnlyFiles files;
    files.add("table.txt", "r1\nr2\n");
    const struct {
        std::string name;
        bool as_nobody;   // where we are root
        const char* reason;
    } rows[] = {
        {"/proc/self/exe", false, "Text file busy"},
        {(files / "table.txt").string(), true, "Permission denied"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // what the file is, without reading a program's megabytes
        const auto look = [&] { return std::pair(fs::file_size(row.name), fs::last_write_time(row.name)); };
        const auto before = look();
        std::string first(2, ' ');
        std::ifstream(row.name, std::ios::binary).read(first.data(), 2);
        const test_support::TempFile err;
        const auto body = [&] {
            ::dup2(fileno(err.get()), 2);
            ::_exit(textio::run_program("hydrosum", [&] {
                if (!textio::open(2, row.name, textio::Access::existing_or_new)) ::_exit(2);
                std::array<char, 2> line;
                if (!textio::read_record(2, line) || std::string_view(line.data(), 2) != first) ::_exit(3);
                textio::write(2, "(a)", "new");
            }));
        };
        const int status = row.as_nobody ? ReadOnlyFiles::run(body) : in_child(body);
        if (WIFEXITED(status) && WEXITSTATUS(status) == no_other_user) GTEST_SKIP() << "cannot run as nobody";
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), textio::exit_failure);
        EXPECT_EQ(err.contents(), "hydrosum: cannot write to a file opened only for reading (" + std::string(row.reason) +
                                      "), file '" + row.name + "' (unit 2, record 1)\n");
        EXPECT_EQ(look(), before);
    }
}

}  // namespace
