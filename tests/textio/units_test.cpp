// Units and files: open modes, names, second opens, close, rewind, and the
// truncation that makes a file end after the record last written.
#include "support.hpp"

namespace {

using namespace textio_test;
using textio::Access;
using textio::Disposition;
using textio::Status;

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
