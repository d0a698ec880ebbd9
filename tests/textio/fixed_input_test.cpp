// Fixed-column input: blanks carry no value, short records read as blanks,
// and a failed read still leaves its record behind.
#include "support.hpp"

#include <limits>

namespace {

using namespace textio_test;
using textio::Status;

constexpr std::int32_t K = -999;      // an item the read did not assign
constexpr float KF = -999.0f;
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan_ = std::numeric_limits<float>::quiet_NaN();

std::string padded(std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
}

// A record from its fields, column after column.
std::string joined(std::initializer_list<const char*> fields) {
    std::string s;
    for (const char* f : fields) s += f;
    return s;
}

using FixedInput = Streams;

TEST_F(FixedInput, NetworkHeader) {
    const std::string digits70 = "1234567890123456789012345678901234567890123456789012345678901234567890";
    const struct {
        std::string record;
        Status status;
        std::int32_t ni, nj, klue;
        std::string title;   // "?" when not assigned
    } rows[] = {
        {"    3    4          title", Status::ok, 3, 4, 0, "title"},
        {"    3    4    7     title", Status::ok, 3, 4, 7, "title"},
        {"    3    4", Status::ok, 3, 4, 0, ""},
        {"3    4    ", Status::ok, 3, 4, 0, ""},
        {"  1 2    3", Status::ok, 12, 3, 0, ""},
        {"3 2", Status::ok, 32, 0, 0, ""},
        {"   -3   +4   -0     x", Status::ok, -3, 4, 0, "x"},
        {"    0    0          " + nuls(60), Status::ok, 0, 0, 0, nuls(60)},
        {"", Status::ok, 0, 0, 0, ""},
        {"    3    4          " + digits70, Status::ok, 3, 4, 0, digits70.substr(0, 60)},
        {"    3    4  1.5     t", Status::error, 3, 4, K, "?"},
        {"    4    3    +", Status::error, 4, 3, K, "?"},
        {"\t3\t4", Status::error, K, K, K, "?"},
        {"abcde    4", Status::error, K, K, K, "?"},
        {"    a", Status::error, K, K, K, "?"},
    };
    for (const auto& r : rows) {
        use_input(r.record + "\n");
        std::int32_t ni = K, nj = K, klue = K;
        std::string title(60, '?');
        textio::Result res = textio::read(5, "(2i5,i5,5x,a)", ni, nj, klue, title);
        EXPECT_EQ(res.status, r.status) << r.record;
        EXPECT_EQ(ni, r.ni) << r.record;
        EXPECT_EQ(nj, r.nj) << r.record;
        EXPECT_EQ(klue, r.klue) << r.record;
        EXPECT_EQ(title, r.title == "?" ? std::string(60, '?') : padded(r.title, 60)) << r.record;
    }
    use_input("");
    std::int32_t ni = K, nj = K, klue = K;
    std::string title(60, '?');
    EXPECT_EQ(textio::read(5, "(2i5,i5,5x,a)", ni, nj, klue, title).status, Status::end);
    EXPECT_EQ(ni, K);
}

TEST_F(FixedInput, CountsAndOptionLines) {
    const struct {
        const char* record;
        Status status;
        std::int32_t a, b;
    } counts[] = {
        {"    5", Status::ok, 5, 0},      {"", Status::ok, 0, 0},
        {"  +7 -   ", Status::ok, 7, 0},  {"  - 5    6", Status::ok, -5, 6},
        {" 1e2     3", Status::error, K, K}, {"   1.    3", Status::error, K, K},
        {"    5    -", Status::error, 5, K},
    };
    for (const auto& r : counts) {
        use_input(std::string(r.record) + "\n");
        std::int32_t a = K, b = K;
        EXPECT_EQ(textio::read(5, "(2i5)", a, b).status, r.status) << r.record;
        EXPECT_EQ(a, r.a) << r.record;
        EXPECT_EQ(b, r.b) << r.record;
    }

    use_input("    3    4    7     title with spaces   \n");
    std::int32_t ni = K, nj = K;
    std::string title80(80, '?');
    ASSERT_TRUE(textio::read(5, "(2i5,10x,a)", ni, nj, title80));
    EXPECT_EQ(ni, 3);
    EXPECT_EQ(nj, 4);
    EXPECT_EQ(title80, padded("title with spaces   ", 80));

    const struct {
        const char* record;
        Status status;
        std::int32_t option;
        std::string name;
    } options[] = {
        {"    1     keel.net", Status::ok, 1, "keel.net"},
        {"    3", Status::ok, 3, ""},
        {"  1.5     x", Status::error, K, std::string(255, '?')},
    };
    for (const auto& r : options) {
        use_input(std::string(r.record) + "\n");
        std::int32_t option = K;
        std::string name(255, '?');
        EXPECT_EQ(textio::read(5, "(i5,5x,a)", option, name).status, r.status) << r.record;
        EXPECT_EQ(option, r.option) << r.record;
        EXPECT_EQ(name, padded(r.name, 255)) << r.record;
    }
}

TEST_F(FixedInput, CaseLineOfRealFields) {
    const struct {
        std::string record;
        Status status;
        std::vector<float> want;   // seven reals
        std::int32_t type;
    } rows[] = {
        {joined({"       1.5", "        15", "  1.5E+01 ", " 1.5D+01  ", "  1.5+01  ", " 1 5.     ", "     -.5  ",
                 "   101"}),
         Status::ok, {1.5f, 15.0f, 15.0f, 15.0f, 15.0f, 15.0f, -0.5f}, 101},
        {"", Status::ok, {0, 0, 0, 0, 0, 0, 0}, 0},
        {joined({"1.5       ", "1234567890", "  -0.0    ", "  1.5e    ", "       2.0"}), Status::error,
         {1.5f, 1234567890.0f, -0.0f, KF, KF, KF, KF}, K},
        {joined({"       NaN", "  Infinity", "      -Inf", "         1", "         2", "         3", "         4",
                 "       1"}),
         Status::ok, {nan_, inf, -inf, 1, 2, 3, 4}, 1},
        {"    3.0       4.0", Status::ok, {3, 4, 0, 0, 0, 0, 0}, 0},
        {"  1.5 e 1 ", Status::ok, {15, 0, 0, 0, 0, 0, 0}, 0},
        // no digits at all: a sign, a point or an exponent alone read as zero
        {joined({"         -", "         .", "       -e5"}), Status::ok, {0.0f, 0.0f, -0.0f, 0, 0, 0, 0}, 0},
    };
    for (const auto& r : rows) {
        use_input(r.record + "\n");
        std::vector<float> v(7, KF);
        std::int32_t type = K;
        textio::In in(5, "(7f10.0,i8)");
        in(v)(type);
        EXPECT_EQ(in.done().status, r.status) << r.record;
        for (std::size_t k = 0; k < 7; ++k) EXPECT_TRUE(same(v[k], r.want[k])) << r.record << " item " << k + 1 << " " << v[k];
        EXPECT_EQ(type, r.type) << r.record;
    }
}

TEST_F(FixedInput, WholeRecordIntoAField) {
    use_input(std::string("short\nlonger than ten chars\n\nta\tb\ncr line\r\n") + nuls(3) + "x\nlast");
    const std::string want[] = {"short     ", "longer tha", "          ", "ta\tb      ",
                                "cr line   ", nuls(3) + "x      ",  "last      "};
    for (const std::string& w : want) {
        std::string field(10, '?');
        ASSERT_TRUE(textio::read(5, "(a)", field));
        EXPECT_EQ(field, w);
    }
    std::string field(10, '?');
    EXPECT_EQ(textio::read(5, "(a)", field).status, Status::end);
    EXPECT_EQ(textio::read(5, "(a)", field).status, Status::end);   // END again, never an error
    EXPECT_EQ(field, std::string(10, '?'));
}

TEST_F(FixedInput, FailedReadLeavesItsRecord) {
    use_input("    3    4  1.5     t\n    5    6\n");
    std::int32_t a = K, b = K, c = K;
    std::string title(60, ' ');
    EXPECT_EQ(textio::read(5, "(2i5,i5,5x,a)", a, b, c, title).status, Status::error);
    ASSERT_TRUE(textio::read(5, "(2i5)", a, b));
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 6);
}

TEST_F(FixedInput, NulTitleReadsBack) {
    TempDir dir;
    std::string path = (dir / "net.dat").string();
    ASSERT_TRUE(textio::open(2, path, textio::Access::existing_or_new));
    textio::write(2, "(2i5,10x,a)", std::int32_t{2}, std::int32_t{1}, nuls(60));
    textio::close(2);
    ASSERT_TRUE(textio::open(1, path, textio::Access::existing));
    std::int32_t ni = K, nj = K, klue = K;
    std::string title(60, '?');
    ASSERT_TRUE(textio::read(1, "(2i5,i5,5x,a)", ni, nj, klue, title));
    textio::close(1);
    EXPECT_EQ(title, nuls(60));
    EXPECT_EQ(klue, 0);
}

TEST(InternalRead, TypeCodeFromColumn71) {
    const std::string head = padded("force-moment cases, first line", 70);
    const std::pair<std::string, std::int32_t> rows[] = {
        {head + "     104", 104},
        {head + "  104", 104},
        {head + " 1", 1},
        {head + " 1 0   4", 104},
        {head.substr(0, 60), 0},
        {"", 0},
    };
    for (const auto& [line, want] : rows) {
        std::int32_t type = K;
        textio::Result r = textio::In(line, textio::fmt("(70x,i8)"))(type).done();
        EXPECT_TRUE(r) << line << ": " << r.message;
        EXPECT_EQ(type, want) << line;
    }
}

TEST(InternalRead, IgesDirectoryLines) {
    const struct {
        std::string line;
        bool ok;
        std::vector<std::int32_t> want;
    } first[] = {
        {joined({"     128", "       1", "       0", "       0", "       0", "       0", "       0", "       0",
                 "00010001", "D", "      1"}),
         true, {128, 1, 0, 0, 0, 0, 0, 0, 10001, 1}},
        {joined({"     128", "        ", "        ", "        ", "        ", "        ", "        ", "        ",
                 "0 0 1 01", "D", "     17"}),
         true, {128, 0, 0, 0, 0, 0, 0, 0, 101, 17}},
        {joined({"     12a", "       1"}), false, {K, K, K, K, K, K, K, K, K, K}},
    };
    for (const auto& r : first) {
        std::vector<std::int32_t> v(10, K);
        textio::In in(r.line, textio::fmt("(9i8,1x,i7)"), "part.igs line 3");
        for (std::int32_t& x : v) in(x);
        textio::Result res = in.done();
        EXPECT_EQ(bool(res), r.ok) << r.line;
        EXPECT_EQ(v, r.want) << r.line;
        if (!res) {
            EXPECT_EQ(res.status, Status::error);
            EXPECT_EQ(res.file, "part.igs line 3");
        }
    }

    for (const char* label : {"   SURF1", "SURF1   "}) {
        std::string line = joined({"     128", "       0", "       0", "       5", "       0", "                ", label,
                                   "        ", "D", "      2"});
        std::vector<std::int32_t> v(7, K);
        std::string name(8, '?');
        textio::In in(line, textio::fmt("(5i8,16x,a8,i8,1x,i7)"));
        for (int k = 0; k < 5; ++k) in(v[static_cast<std::size_t>(k)]);
        in(name)(v[5])(v[6]);
        ASSERT_TRUE(in.done()) << line;
        EXPECT_EQ(v, (std::vector<std::int32_t>{128, 0, 0, 5, 0, 0, 2}));
        EXPECT_EQ(name, label);
    }
}

}  // namespace
