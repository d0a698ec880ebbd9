// Units and files: open modes, names, second opens, close, rewind, and the
// truncation that makes a file end after the record last written.
#include "support.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>

namespace {

using namespace textio_test;
using textio::Access;
using textio::Disposition;
using textio::Status;

// The tests' working folder for the length of a scope.
class WorkIn {
public:
    explicit WorkIn(const std::filesystem::path& folder) { std::filesystem::current_path(folder); }
    ~WorkIn() { std::filesystem::current_path(home_); }
    WorkIn(const WorkIn&) = delete;
    WorkIn& operator=(const WorkIn&) = delete;

private:
    std::filesystem::path home_ = std::filesystem::current_path();
};

class Units : public Streams {
protected:
    std::string path(std::string_view name) const { return (dir_ / name).string(); }
    std::string next_record(int unit) {
        std::string line(20, ' ');
        textio::Result r = textio::read(unit, "(a)", line);
        if (r.status == Status::end) return "<END>";
        EXPECT_TRUE(r) << r.message;
        line.erase(line.find_last_not_of(' ') + 1);
        return line;
    }
    TempDir dir_;
};

TEST_F(Units, ExistingMustBeAFile) {
    EXPECT_FALSE(textio::open(1, path("missing.txt"), Access::existing));
    EXPECT_FALSE(textio::is_open(1));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.txt"));
    EXPECT_FALSE(textio::open(1, dir_.path().string(), Access::existing));
    EXPECT_FALSE(textio::open(1, dir_.path().string(), Access::existing_or_new));
    EXPECT_FALSE(textio::is_open(1));

    write_file(dir_ / "in.txt", "one\ntwo");
    ASSERT_TRUE(textio::open(1, path("in.txt"), Access::existing));
    EXPECT_TRUE(textio::is_open(1));
    EXPECT_EQ(next_record(1), "one");
    EXPECT_EQ(next_record(1), "two");
    EXPECT_EQ(next_record(1), "<END>");
    textio::close(1);
    EXPECT_FALSE(textio::is_open(1));
}

TEST_F(Units, ExistingOrNewKeepsContentUntilTheFirstWrite) {
    // a missing file is created empty
    ASSERT_TRUE(textio::open(2, path("new.txt"), Access::existing_or_new));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "new.txt"));
    EXPECT_EQ(next_record(2), "<END>");
    textio::close(2);
    EXPECT_EQ(read_file(dir_ / "new.txt"), "");

    // opened, read, never written: unchanged
    write_file(dir_ / "old.txt", "old1\nold2\nold3\n");
    ASSERT_TRUE(textio::open(2, path("old.txt"), Access::existing_or_new));
    EXPECT_EQ(next_record(2), "old1");
    textio::close(2);
    EXPECT_EQ(read_file(dir_ / "old.txt"), "old1\nold2\nold3\n");

    // the first write replaces everything from its position on, at once
    ASSERT_TRUE(textio::open(2, path("old.txt"), Access::existing_or_new));
    textio::write(2, "(a)", "new");
    textio::Runtime::instance().unit(2).flush();
    EXPECT_EQ(read_file(dir_ / "old.txt"), "new\n");
    textio::close(2);

    // after a read, the write goes after the record read; a read then meets END
    write_file(dir_ / "old.txt", "old1\nold2\nold3\n");
    ASSERT_TRUE(textio::open(2, path("old.txt"), Access::existing_or_new));
    EXPECT_EQ(next_record(2), "old1");
    textio::write(2, "(a)", "new2");
    EXPECT_EQ(next_record(2), "<END>");
    textio::close(2);
    EXPECT_EQ(read_file(dir_ / "old.txt"), "old1\nnew2\n");
}

TEST_F(Units, EmptyFirstWriteLeavesNothingOfTheOldContent) {
    write_file(dir_ / "old.txt", "old1\nold2\n");
    ASSERT_TRUE(textio::open(2, path("old.txt"), Access::existing_or_new));
    textio::write(2, "(a,$)", "");
    EXPECT_EQ(read_file(dir_ / "old.txt"), "");
    EXPECT_EQ(next_record(2), "<END>");
    textio::close(2);
    EXPECT_EQ(read_file(dir_ / "old.txt"), "");
}

// endfile: the file ends at the unit's position, with nothing written;
// records written before it stay, and a file on no disk is left alone.
TEST_F(Units, EndfileCutsTheFileWhereTheUnitStands) {
    const struct {
        const char* what;
        const char* old;        // nullptr: no file before the open
        int reads, writes;      // records read, then written, before endfile
        const char* after;
    } rows[] = {
        {"old content, at the start", "old1\nold2\n", 0, 0, ""},
        {"new file", nullptr, 0, 0, ""},
        {"after a record read", "old1\nold2\n", 1, 0, "old1\n"},
        {"after records written", "old1\nold2\nold3\n", 0, 2, "new\nnew\n"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        std::filesystem::remove(dir_ / "f.txt");
        if (r.old) write_file(dir_ / "f.txt", r.old);
        ASSERT_TRUE(textio::open(2, path("f.txt"), Access::existing_or_new));
        for (int i = 0; i < r.reads; ++i) next_record(2);
        for (int i = 0; i < r.writes; ++i) textio::write(2, "(a)", "new");
        textio::endfile(2);
        textio::Runtime::instance().unit(2).flush();
        EXPECT_EQ(read_file(dir_ / "f.txt"), r.after);
        textio::close(2);
        EXPECT_EQ(read_file(dir_ / "f.txt"), r.after);
    }
    // standard output: nothing to cut, nothing written
    textio::endfile(textio::stdout_unit);
    EXPECT_EQ(output(), "");
}

// A write that fails leaves what reached the file and nothing of the old
// content, also when not even the first byte got there.
TEST_F(Units, FailedFirstWriteLeavesWhatReachedTheFile) {
    for (rlim_t limit : {0, 2}) {
        SCOPED_TRACE(limit);
        write_file(dir_ / "old.txt", "old1\nold2\n");
        const int status = in_child([&] {
            // files may not grow beyond limit bytes: the write fails there
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &r);
            ::dup2(::open("/dev/null", O_WRONLY), 2);
            ::_exit(textio::run_program("child", [&] {
                if (!textio::open(2, path("old.txt"), Access::existing_or_new)) ::_exit(2);
                textio::write(2, "(a)", "new");
                textio::close(2);
            }));
        });
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), textio::exit_failure);
        EXPECT_EQ(read_file(dir_ / "old.txt"), std::string("new\n").substr(0, limit));
    }
}

// A run killed at any point leaves the old file whole, or a shorter file
// that holds the start of the new content and nothing of the old.
TEST_F(Units, KilledRunLeavesTheOldFileOrTheStartOfTheNew) {
    std::string old_text;
    for (int k = 0; k < 20000; ++k) old_text += "old record of the previous run\n";   // longer than the new
    const auto new_records = [](std::size_t n) {
        std::string text;
        for (std::size_t k = 0; k < n; ++k) text += "new record " + std::to_string(100000 + k) + "\n";
        return text;
    };
    struct Case {
        const char* label;
        std::size_t records;   // written before the kill
        bool closed;
    };
    const Case cases[] = {
        {"opened, nothing written", 0, false},
        {"first record written", 1, false},
        {"more than one buffer written", 6000, false},
        {"all written, not closed", 8000, false},
        {"all written and closed", 8000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        write_file(dir_ / "table.txt", old_text);
        const int status = in_child([&] {
            if (!textio::open(2, path("table.txt"), Access::existing_or_new)) ::_exit(2);
            for (std::size_t k = 0; k < c.records; ++k)
                textio::write(2, "(a)", "new record " + std::to_string(100000 + k));
            if (c.closed) textio::close(2);
            ::kill(::getpid(), SIGKILL);
        });
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        const std::string left = read_file(dir_ / "table.txt");
        const std::string written = new_records(c.records);
        if (c.records == 0) {
            EXPECT_EQ(left, old_text);
        } else if (c.closed) {
            EXPECT_EQ(left, written);
        } else {
            // the first record goes to the file at once: no byte of the old stays
            EXPECT_GE(left.size(), new_records(1).size());
            EXPECT_LE(left.size(), written.size());
            EXPECT_EQ(left, written.substr(0, left.size()));
        }
    }
}

TEST_F(Units, ReplaceEmptiesAtTheOpen) {
    write_file(dir_ / "scratch.txt", "left over\n");
    ASSERT_TRUE(textio::open(11, path("scratch.txt"), Access::replace));
    EXPECT_EQ(read_file(dir_ / "scratch.txt"), "");
    textio::close(11);
    ASSERT_TRUE(textio::open(11, path("fresh.txt"), Access::replace));
    textio::close(11);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "fresh.txt"));
}

TEST_F(Units, NameIsTrimmedAtBothEnds) {
    write_file(dir_ / "net.dat", "content\n");
    ASSERT_TRUE(textio::open(1, "   " + path("net.dat") + "    ", Access::existing));
    EXPECT_EQ(textio::Runtime::instance().file_name(1), path("net.dat"));
    EXPECT_EQ(next_record(1), "content");
    textio::close(1);

    ASSERT_TRUE(textio::open(2, "  " + path("made.dat") + "  ", Access::existing_or_new));
    textio::close(2);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "made.dat"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2);

    for (const std::string& blank : {std::string(), std::string(" "), std::string(80, ' ')}) {
        EXPECT_FALSE(textio::open(3, blank, Access::existing_or_new)) << '"' << blank << '"';
        EXPECT_FALSE(textio::is_open(3));
    }
}

// A name holding a NUL names no file: never the file of the name cut there.
TEST_F(Units, NameWithANulOpensNothing) {
    write_file(dir_ / "ke", "old\n");
    const std::string name = path("ke") + std::string(1, '\0') + "el.net";
    for (const Access access : {Access::existing, Access::existing_or_new, Access::replace, Access::scratch}) {
        SCOPED_TRACE(static_cast<int>(access));
        EXPECT_EQ(textio::open(2, name, access).status, ENOENT);
        EXPECT_FALSE(textio::is_open(2));
        EXPECT_EQ(read_file(dir_ / "ke"), "old\n");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

TEST_F(Units, FileOpenOnAnotherUnitIsRefused) {
    write_file(dir_ / "rd.txt", "keep me\n");
    ASSERT_TRUE(textio::open(1, path("rd.txt"), Access::existing));
    EXPECT_FALSE(textio::open(2, path("rd.txt"), Access::existing));
    EXPECT_FALSE(textio::open(2, path("rd.txt"), Access::existing_or_new));
    EXPECT_FALSE(textio::open(2, path("rd.txt"), Access::replace));
    EXPECT_FALSE(textio::open(2, (dir_.path() / "." / "rd.txt").string(), Access::existing_or_new));
    EXPECT_FALSE(textio::is_open(2));
    EXPECT_EQ(read_file(dir_ / "rd.txt"), "keep me\n");
    EXPECT_EQ(next_record(1), "keep me");   // the first connection is untouched

    // the same unit may open it again; once closed, any unit may
    EXPECT_TRUE(textio::open(1, path("rd.txt"), Access::existing));
    textio::close(1);
    EXPECT_TRUE(textio::open(2, path("rd.txt"), Access::existing));
    textio::close(2);
}

// A file open on one unit, held in memory or on the disk, is refused to
// every other open under any spelling, a scratch open too; the first unit
// keeps what it holds, and no refused open leaves a file behind. The same
// name in another folder is another file.
TEST_F(Units, SecondOpenUnderAnySpellingIsRefused) {
    const WorkIn here(dir_.path());
    std::filesystem::create_symlink("fort.21", "link");   // dangling while fort.21 is in memory
    std::filesystem::create_directory("sub");
    std::filesystem::create_symlink("../fort.21", "sub/link");   // relative to the link's folder
    std::filesystem::create_directory("other");
    const struct {
        std::string second;
        int status;
    } rows[] = {
        {"./fort.21", EBUSY}, {path("fort.21"), EBUSY}, {"link", EBUSY}, {"sub/link", EBUSY}, {"other/fort.21", 0},
    };
    for (const Access first : {Access::scratch, Access::existing_or_new}) {
        for (const auto& row : rows) {
            SCOPED_TRACE((first == Access::scratch ? "in memory, then " : "on the disk, then ") + row.second);
            write_file("other/fort.21", "other\n");
            ASSERT_TRUE(textio::open(21, "fort.21", first));
            textio::write(21, "(a)", "held");
            for (const Access access : {Access::existing, Access::existing_or_new, Access::replace, Access::scratch}) {
                EXPECT_EQ(textio::open(2, row.second, access).status, row.status);
                EXPECT_EQ(textio::is_open(2), row.status == 0);
                textio::close(2);
            }
            EXPECT_EQ(std::filesystem::exists("fort.21"), first != Access::scratch);
            textio::rewind(21);
            EXPECT_EQ(next_record(21), "held");
            textio::close(21);
            EXPECT_EQ(read_file("fort.21"), "held\n");
            std::filesystem::remove("fort.21");
        }
    }
}

// A file in memory is told by where its name leads at each ask, as its
// records go through the name at the close: after its folder is renamed
// and a new one made under the old name, the name is taken in the new
// folder, and the renamed one is free.
TEST_F(Units, FileInMemoryIsWhereItsNameLeadsNow) {
    const struct {
        const char* second;
        int status;
    } rows[] = {{"d/fort.21", EBUSY}, {"d2/fort.21", 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.second);
        std::filesystem::create_directory(dir_ / "d");
        ASSERT_TRUE(textio::open(21, path("d/fort.21"), Access::scratch));
        textio::write(21, "(a)", "held");
        ASSERT_TRUE(textio::open(2, path("other.txt"), Access::existing_or_new));   // an open that asks first
        textio::close(2);
        std::filesystem::rename(dir_ / "d", dir_ / "d2");
        std::filesystem::create_directory(dir_ / "d");
        EXPECT_EQ(textio::open(3, path(row.second), Access::existing_or_new).status, row.status);
        if (textio::is_open(3)) {
            textio::write(3, "(a)", "second");
            textio::close(3);
        }
        textio::close(21);
        EXPECT_EQ(read_file(dir_ / "d/fort.21"), "held\n");
        EXPECT_EQ(read_file(dir_ / "d2/fort.21"), row.status == 0 ? "second\n" : "");
        EXPECT_EQ(std::filesystem::exists(dir_ / "d2/fort.21"), row.status == 0);
        std::filesystem::remove_all(dir_ / "d");
        std::filesystem::remove_all(dir_ / "d2");
    }
}

// Standard input's file, a regular file or a pipe, is held by unit 5: an
// output there is refused as any second open is, and so is a second reader
// of a pipe, which would take the answers. A regular file may be read, from
// its start and at an offset of its own, but not written. A device is
// shared, and standard output is the user's to name.
TEST_F(Units, StandardInputsFileOpensOnlyToBeRead) {
    write_file(dir_ / "answers", "a1\na2\n");
    std::FILE* file = std::fopen(path("answers").c_str(), "r");
    ASSERT_NE(file, nullptr);
    std::array<int, 2> pipe_ends{};
    ASSERT_EQ(::pipe(pipe_ends.data()), 0);
    ASSERT_EQ(::write(pipe_ends[1], "a1\na2\n", 6), 6);
    ::close(pipe_ends[1]);
    std::FILE* pipe = ::fdopen(pipe_ends[0], "r");
    std::FILE* device = std::fopen("/dev/null", "r");
    ASSERT_TRUE(pipe && device);
    const auto fd_name = [](std::FILE* fp) { return "/proc/self/fd/" + std::to_string(fileno(fp)); };
    const Access all[] = {Access::existing, Access::existing_or_new, Access::replace, Access::scratch};
    const Access writes[] = {Access::existing_or_new, Access::replace, Access::scratch};
    const struct {
        const char* label;
        std::FILE* in;
        std::string name;
        std::vector<Access> refused;
        bool reads;   // opens to be read
    } rows[] = {
        {"the answers file by its name", file, path("answers"), {std::begin(writes), std::end(writes)}, true},
        {"the answers file by descriptor", file, fd_name(file), {std::begin(writes), std::end(writes)}, true},
        {"a pipe", pipe, fd_name(pipe), {std::begin(all), std::end(all)}, false},
        {"a device", device, "/dev/null", {}, false},
        {"standard output", file, fd_name(out_.get()), {}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        std::rewind(row.in);
        textio::Runtime::instance().reset(row.in, out_.get());
        const bool answers = row.in != device;
        if (answers) {
            EXPECT_EQ(next_record(5), "a1");
        }
        for (const Access access : all) {
            const bool refused = std::find(row.refused.begin(), row.refused.end(), access) != row.refused.end();
            EXPECT_EQ(textio::open(2, row.name, access).status, refused ? EBUSY : 0) << static_cast<int>(access);
            textio::close(2);
        }
        if (row.reads) {
            // read from its start, never written
            ASSERT_TRUE(textio::open(2, row.name, Access::existing));
            EXPECT_EQ(next_record(2), "a1");
            try {
                textio::write(2, "(a)", "out");
                ADD_FAILURE() << "written";
            } catch (const textio::Failure& f) {
                EXPECT_EQ(f.detail(), "cannot write to a file opened only for reading (Device or resource busy)");
            }
            textio::close(2);
        }
        EXPECT_EQ(read_file(dir_ / "answers"), "a1\na2\n");
        if (answers) {
            EXPECT_EQ(next_record(5), "a2");
        }
    }
    textio::Runtime::instance().reset(in_.get(), out_.get());
    for (std::FILE* fp : {file, pipe, device}) std::fclose(fp);
}

TEST_F(Units, CloseAndRewind) {
    ASSERT_TRUE(textio::open(21, path("fort.21"), Access::existing_or_new));
    textio::write(21, "(a)", "x");
    textio::close(21, Disposition::remove);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "fort.21"));
    EXPECT_FALSE(textio::is_open(21));

    // a unit that is not open: nothing happens, nothing is created
    textio::close(12);
    textio::close(12, Disposition::remove);
    textio::rewind(12);
    EXPECT_FALSE(textio::is_open(12));
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));

    // a unit with nothing in it, in memory or on the disk
    for (const Access kind : {Access::scratch, Access::replace}) {
        ASSERT_TRUE(textio::open(3, path("empty.txt"), kind));
        textio::rewind(3);
        EXPECT_EQ(next_record(3), "<END>");
        textio::write(3, "(a)", "after");
        textio::close(3);
        EXPECT_EQ(read_file(dir_ / "empty.txt"), "after\n");
        std::filesystem::remove(dir_ / "empty.txt");
    }

    ASSERT_TRUE(textio::open(3, path("three.txt"), Access::existing_or_new));
    textio::write(3, "(a)", "r1");
    textio::write(3, "(a)", "r2");
    textio::write(3, "(a)", "r3");
    textio::rewind(3);
    EXPECT_EQ(next_record(3), "r1");
    textio::rewind(3);
    textio::write(3, "(a)", "only");
    textio::close(3);
    EXPECT_EQ(read_file(dir_ / "three.txt"), "only\n");
}

// A scratch unit keeps its records in memory: they read back as a file's
// would (a CR before the line end dropped, the end of the file, the record
// numbers), a close with delete leaves nothing, a close that keeps writes
// the file. A name that exists takes the disk as replace does.
TEST_F(Units, ScratchUnitsReachTheDiskOnlyWhenKept) {
    const std::string name = path("fort.21");
    ASSERT_TRUE(textio::open(21, name, Access::scratch));
    for (const char* r : {"r1", "r2\r", "r3"}) textio::write(21, "(a)", r);
    EXPECT_FALSE(std::filesystem::exists(name));
    EXPECT_FALSE(textio::open(2, name, Access::existing_or_new));   // the name is taken
    textio::rewind(21);
    EXPECT_EQ(next_record(21), "r1");
    EXPECT_EQ(next_record(21), "r2");
    EXPECT_EQ(next_record(21), "r3");
    std::string line(4, ' ');
    const textio::Result end = textio::read(21, "(a)", line);
    EXPECT_EQ(end.status, Status::end);
    EXPECT_EQ(end.record, 4);
    EXPECT_EQ(end.file, name);
    textio::rewind(21);
    EXPECT_EQ(next_record(21), "r1");
    textio::write(21, "(a)", "new");   // replaces what follows the record read
    textio::rewind(21);
    EXPECT_EQ(next_record(21), "r1");
    EXPECT_EQ(next_record(21), "new");
    EXPECT_EQ(next_record(21), "<END>");
    textio::close(21, Disposition::remove);
    EXPECT_FALSE(std::filesystem::exists(name));

    ASSERT_TRUE(textio::open(21, name, Access::scratch));
    textio::write(21, "(a)", "kept");
    textio::write(21, "(a,$)", "pending");
    textio::close(21);
    EXPECT_EQ(read_file(name), "kept\npending");

    // on the disk at once: the leftover emptied, refused as a directory
    ASSERT_TRUE(textio::open(21, name, Access::scratch));
    EXPECT_EQ(read_file(name), "");
    textio::write(21, "(a)", "x");
    textio::close(21, Disposition::remove);
    EXPECT_FALSE(std::filesystem::exists(name));
    std::filesystem::create_directory(name);
    EXPECT_FALSE(textio::open(21, name, Access::scratch));
    EXPECT_FALSE(textio::is_open(21));
}

// A mark between records, and a seek back to it or on: the next read takes
// the record after it, counted from the mark.
TEST_F(Units, SeekToAMark) {
    ASSERT_TRUE(textio::open(14, path("p.txt"), Access::replace));
    textio::write(14, "(a)", "p1");
    textio::write(14, "(a)", "p2");
    const textio::Mark third = textio::mark(14);
    textio::write(14, "(a)", "p3");
    const textio::Mark end = textio::mark(14);
    EXPECT_EQ(third.record, 2);
    EXPECT_EQ(end.record, 3);
    textio::seek(14, third);
    EXPECT_EQ(next_record(14), "p3");
    EXPECT_EQ(next_record(14), "<END>");
    textio::seek(14, third);   // after the end of the file was met
    EXPECT_EQ(next_record(14), "p3");
    textio::seek(14, end);
    std::string line(2, ' ');
    const textio::Result r = textio::read(14, "(a)", line);
    EXPECT_EQ(r.status, Status::end);
    EXPECT_EQ(r.record, 4);
    textio::close(14);
}

// A seek past the end of the records fails alike in memory and on the
// disk, and changes nothing: the next read takes the record it would have
// taken, and no gap reaches the file. The end itself is no further than the
// records, also where the length is not looked at yet; after a write cut
// the file, its old end is past the new one.
TEST_F(Units, SeekPastTheEndFails) {
    const struct {
        const char* label;
        long long offset;   // from the end of "r1", "r2"; the old end of "r1" to "r3" after the cut
        bool cut;
        bool fails;
    } rows[] = {
        {"a byte past the end", 7, false, true},
        {"far past the end", 6 + (1LL << 20), false, true},
        {"before the start", -1, false, true},
        {"the end at the first look", 6, false, false},
        {"the old end after a write cut the file", 9, true, true},
    };
    for (const Access kind : {Access::scratch, Access::replace}) {
        for (const auto& row : rows) {
            SCOPED_TRACE((kind == Access::scratch ? "in memory, " : "on the disk, ") + std::string(row.label));
            std::filesystem::remove(dir_ / "s.txt");
            ASSERT_TRUE(textio::open(21, path("s.txt"), kind));
            textio::write(21, "(a)", "r1");
            textio::write(21, "(a)", "r2");
            if (row.cut) {
                textio::write(21, "(a)", "r3");
                textio::seek(21, {9, 3});   // the length known
                textio::rewind(21);
                EXPECT_EQ(next_record(21), "r1");
                textio::write(21, "(a)", "r2");
            }
            textio::rewind(21);
            EXPECT_EQ(next_record(21), "r1");
            try {
                textio::seek(21, {row.offset, 9});
                EXPECT_FALSE(row.fails) << "seek to " << row.offset << " done";
                EXPECT_EQ(next_record(21), "<END>");
                textio::seek(21, {3, 1});
            } catch (const textio::Failure& f) {
                EXPECT_TRUE(row.fails);
                EXPECT_EQ(f.what(), "seek failed (Invalid argument), file '" + path("s.txt") + "' (unit 21, record 1)");
            }
            EXPECT_EQ(textio::mark(21).offset, 3);
            EXPECT_EQ(next_record(21), "r2");
            textio::write(21, "(a)", "r3");
            textio::close(21);
            EXPECT_EQ(read_file(dir_ / "s.txt"), "r1\nr2\nr3\n");
        }
    }
}

// Records copied as "(a)" reads and writes them.
TEST_F(Units, RecordsAsTheyAre) {
    write_file(dir_ / "in.txt", "abcdef\nab\r\n");
    ASSERT_TRUE(textio::open(1, path("in.txt"), Access::existing));
    ASSERT_TRUE(textio::open(2, path("out.txt"), Access::replace));
    std::array<char, 4> field;
    ASSERT_TRUE(textio::read_record(1, field));
    EXPECT_EQ(std::string(field.data(), 4), "abcd");
    textio::write_record(2, std::string_view(field.data(), 4));
    ASSERT_TRUE(textio::read_record(1, field));
    EXPECT_EQ(std::string(field.data(), 4), "ab  ");
    textio::write_record(2, "");
    EXPECT_FALSE(textio::read_record(1, field));
    try {
        textio::read_record_required(1, field);
        ADD_FAILURE() << "no failure at the end";
    } catch (const textio::Failure& f) {
        EXPECT_EQ(f.detail(), "end of file");
        EXPECT_EQ(f.record(), 3);
    }
    textio::close(2);
    EXPECT_EQ(read_file(dir_ / "out.txt"), "abcd\n\n");
}

TEST_F(Units, ReadOfStandardInputFlushesStandardOutput) {
    use_input("answer\n");
    textio::write(6, "(a,$)", " enter option: ");
    EXPECT_EQ(out_.contents(), "");   // still buffered
    EXPECT_EQ(next_record(5), "answer");
    EXPECT_EQ(out_.contents(), " enter option: ");
}

TEST_F(Units, UnitNotOpenIsAFailure) {
    EXPECT_THROW(textio::write(9, "(a)", "x"), textio::Failure);
    std::int32_t v = 0;
    EXPECT_THROW((void)textio::read_list(9, v), textio::Failure);
}

}  // namespace
