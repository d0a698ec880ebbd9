// Free-format input: one read statement per row, then a "(a)" read of the
// record that follows, to show where the statement left the file.
#include "support.hpp"

#include <limits>

namespace {

using namespace textio_test;
using textio::Status;

constexpr float K = -999.0f;   // an item the read did not assign
constexpr std::int32_t KI = -999;
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan_ = std::numeric_limits<float>::quiet_NaN();
constexpr const char* END = nullptr;   // the next read meets the end of the file
constexpr float one_up = 0x1.000002p0f;   // the float after 1

template <class T>
struct Row {
    const char* input;
    std::vector<T> want;   // also the number of items
    Status status;
    const char* message;   // checked when not null
    const char* next;
};

class ListInput : public Streams {
protected:
    template <class T>
    void check(const Row<T>& r) {
        SCOPED_TRACE(testing::Message() << '"' << r.input << '"');
        use_input(r.input);
        std::vector<T> v(r.want.size(), static_cast<T>(-999));
        textio::In in(5, textio::list_directed);
        for (T& x : v) in(x);
        textio::Result res = in.done();
        EXPECT_EQ(res.status, r.status) << res.message;
        if (r.message) {
            EXPECT_EQ(res.message, r.message);
        }
        for (std::size_t k = 0; k < v.size(); ++k) {
            if constexpr (std::is_same_v<T, float>) {
                EXPECT_TRUE(same(v[k], r.want[k])) << "item " << k + 1 << ": " << v[k];
            } else {
                EXPECT_EQ(v[k], r.want[k]) << "item " << k + 1;
            }
        }
        std::string next(40, ' ');
        textio::Result nr = textio::read(5, "(a)", next);
        if (r.next == END) {
            EXPECT_EQ(nr.status, Status::end) << "next: " << next;
        } else {
            ASSERT_TRUE(nr) << nr.message;
            EXPECT_EQ(next, (std::string(r.next) + std::string(40, ' ')).substr(0, 40));
        }
    }
};

const Row<float> real_rows[] = {
    // separators, null values, repeats and the slash
    {"1,2,3\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"1 2 3 4 5\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"1, 2 ,3\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"1\t2\t3\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"\t 1 \t2,\t3\t\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"1\n\n2\n   \n3\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"1 2 3\n4 5 6 7 8\nNEXT\n", {1, 2, 3, 4, 5, 6}, Status::ok, nullptr, "NEXT"},
    {"1 2 /\nNEXT\n", {1, 2, K}, Status::ok, nullptr, "NEXT"},
    {"1 2/ 5\nNEXT\n", {1, 2, K}, Status::ok, nullptr, "NEXT"},
    {"1 2 3/\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"1/\n2 3\nNEXT\n", {1, K}, Status::ok, nullptr, "2 3"},
    {"/\n2 3\nNEXT\n", {K, K}, Status::ok, nullptr, "2 3"},
    {"1,,3\nNEXT\n", {1, K, 3}, Status::ok, nullptr, "NEXT"},
    {",2,3\nNEXT\n", {K, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"1,2,\n3\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"1,2,\n,3\nNEXT\n", {1, 2, K}, Status::ok, nullptr, "NEXT"},
    {"1 , , 3\nNEXT\n", {1, K, 3}, Status::ok, nullptr, "NEXT"},
    {"3*1.5 2\nNEXT\n", {1.5f, 1.5f, 1.5f, 2}, Status::ok, nullptr, "NEXT"},
    {"2* 7 8\nNEXT\n", {K, K, 7, 8}, Status::ok, nullptr, "NEXT"},
    {"2*,9\nNEXT\n", {K, K, 9}, Status::ok, nullptr, "NEXT"},
    {"2*/\nNEXT\n", {K, K}, Status::ok, nullptr, "NEXT"},
    {"1 2 3 garbage\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    // number syntax
    {"1.0D0 1.0d+2 2.5D-3\nNEXT\n", {1, 100, 2.5e-3f}, Status::ok, nullptr, "NEXT"},
    {"1.0E0 1.0e-3 1.5E+02\nNEXT\n", {1, 1e-3f, 150}, Status::ok, nullptr, "NEXT"},
    {"1.0+3 1.0-3 2.5+1\nNEXT\n", {1000, 1e-3f, 25}, Status::ok, nullptr, "NEXT"},
    {"1. .5 -.5e+1 +5\nNEXT\n", {1, 0.5f, -5, 5}, Status::ok, nullptr, "NEXT"},
    {"5 -7 0\nNEXT\n", {5, -7, 0}, Status::ok, nullptr, "NEXT"},
    {"1e5 1E5 1d5\nNEXT\n", {1e5f, 1e5f, 1e5f}, Status::ok, nullptr, "NEXT"},
    {"1.5q0 2 3\nNEXT\n", {1.5f, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"-0.0 -0\nNEXT\n", {-0.0f, -0.0f}, Status::ok, nullptr, "NEXT"},
    {"-.5 +.5\nNEXT\n", {-0.5f, 0.5f}, Status::ok, nullptr, "NEXT"},
    {"  1.5E+00  2.5E-01  3.0\nNEXT\n", {1.5f, 0.25f}, Status::ok, nullptr, "NEXT"},
    {"  1.00000000E+00  2.00000000E+00  3.00000000E+00\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"  0.10000000E+01 -0.50000000E+00  0.99999461E-40\nNEXT\n", {1, -0.5f, 1e-40f}, Status::ok, nullptr, "NEXT"},
    {"NaN Inf -Infinity\nNEXT\n", {nan_, inf, -inf}, Status::ok, nullptr, "NEXT"},
    {"nan inf +inf\nNEXT\n", {nan_, inf, inf}, Status::ok, nullptr, "NEXT"},
    // conversion: overflow, subnormals, correct rounding straight to float
    {"1e39 2\nNEXT\n", {inf, 2}, Status::ok, nullptr, "NEXT"},
    {"-1e39 2\nNEXT\n", {-inf, 2}, Status::ok, nullptr, "NEXT"},
    {"1e-40 1e-50\nNEXT\n", {1e-40f, 0}, Status::ok, nullptr, "NEXT"},
    {"3.4028235e38 3.4028236e38\nNEXT\n", {std::numeric_limits<float>::max(), inf}, Status::ok, nullptr, "NEXT"},
    {"0.1000000000000000055511151231257827 1.00000005\nNEXT\n", {0.1f, 1}, Status::ok, nullptr, "NEXT"},
    {"1.000000059604644775390625 1.0000000596046448\nNEXT\n", {1, one_up}, Status::ok, nullptr, "NEXT"},
    {"1.00000005960464477539062501 2\nNEXT\n", {one_up, 2}, Status::ok, nullptr, "NEXT"},
    {"16777217 16777219\nNEXT\n", {16777216.0f, 16777220.0f}, Status::ok, nullptr, "NEXT"},
    // errors: the items before stay read, the rest of the record is skipped
    {"abc 2 3\nNEXT\n", {K, K, K}, Status::error, "bad real number in item 1 of list input", "NEXT"},
    {"1 2x 3\nNEXT\n", {1, K, K}, Status::error, "bad real number in item 2 of list input", "NEXT"},
    {"1 2 3x\nNEXT\n", {1, 2, K}, Status::error, "bad real number in item 3 of list input", "NEXT"},
    {"1.5.5 2 3\nNEXT\n", {K, K, K}, Status::error, nullptr, "NEXT"},
    {"1e 2 3\nNEXT\n", {K, K, K}, Status::error, nullptr, "NEXT"},
    {"1e+ 2 3\nNEXT\n", {K, K, K}, Status::error, nullptr, "NEXT"},
    {"- 2 3\nNEXT\n", {K, K, K}, Status::error, nullptr, "NEXT"},
    {". 2 3\nNEXT\n", {0, K, K}, Status::error, nullptr, "NEXT"},
    {"5.0-10.5 3\nNEXT\n", {K, K}, Status::error, nullptr, "NEXT"},
    {" 10.0-12.0  5.0\nNEXT\n", {K, K}, Status::error, nullptr, "NEXT"},
    {"\"1\" 2\nNEXT\n", {K, K}, Status::error, nullptr, "NEXT"},
    {"1(2) 3\nNEXT\n", {K, K}, Status::error, nullptr, "NEXT"},
    {"1 !comment\n2\nNEXT\n", {1, K}, Status::error, "bad real number in item 2 of list input", "2"},
    {"  heel  yaw\n5\n", {K}, Status::error, nullptr, "5"},
    {"-2*5 1\nNEXT\n", {K, K}, Status::error, nullptr, "NEXT"},
    {"2 * 5\nNEXT\n", {2, K}, Status::error, "bad real number in item 2 of list input", "NEXT"},
    {"1.0E+ 2\nNEXT\n", {K, K}, Status::error, nullptr, "NEXT"},
    {"1.0E+5X 2\nNEXT\n", {K, K}, Status::error, nullptr, "NEXT"},
    {"1.0 D5 2\nNEXT\n", {1, K}, Status::error, "bad real number in item 2 of list input", "NEXT"},
    {"******** 1\nNEXT\n", {K, K}, Status::error, nullptr, "NEXT"},
    {"1.0e5e5 1\nNEXT\n", {K, K}, Status::error, nullptr, "NEXT"},
    {"1_4 1\nNEXT\n", {K, K}, Status::error, nullptr, "NEXT"},
    // unlike gfortran: no position quirk after a zero repeat count, and a
    // semicolon is a bad character, not a separator
    {"0*5 1\nNEXT\nNEXT2\n", {K, K}, Status::error, "zero repeat count in item 1 of list input", "NEXT"},
    {"1;2\nNEXT\n", {K, K}, Status::error, "bad real number in item 1 of list input", "NEXT"},
    {"1 2;3\nNEXT\n", {1, K}, Status::error, "bad real number in item 2 of list input", "NEXT"},
    // the end of the file; a read after END reports END again
    {"1 2\n", {1, 2, K}, Status::end, nullptr, END},
    {"1 2", {1, 2, K}, Status::end, nullptr, END},
    {"1 2 3", {1, 2, 3}, Status::ok, nullptr, END},
    {"", {K, K}, Status::end, nullptr, END},
    {"\n\n", {K, K}, Status::end, nullptr, END},
    {"1,2\n", {1, 2}, Status::ok, nullptr, END},
    {"1\n2", {1, 2}, Status::ok, nullptr, END},
    {"1,2\tNEXT\n", {1, 2}, Status::ok, nullptr, END},
    // CR LF record ends
    {"1\r\n2\r\nNEXT\r\n", {1, 2}, Status::ok, nullptr, "NEXT"},
    {"1 2\r\nNEXT\r\n", {1, 2}, Status::ok, nullptr, "NEXT"},
};

const Row<std::int32_t> int_rows[] = {
    {"1,2,3\nNEXT\n", {1, 2, 3}, Status::ok, nullptr, "NEXT"},
    {"+5 -0\nNEXT\n", {5, 0}, Status::ok, nullptr, "NEXT"},
    {"2147483647 -2147483648\nNEXT\n", {2147483647, -2147483647 - 1}, Status::ok, nullptr, "NEXT"},
    {"2*4 5\nNEXT\n", {4, 4, 5}, Status::ok, nullptr, "NEXT"},
    {"5 abc\nNEXT\n", {5}, Status::ok, nullptr, "NEXT"},
    {"\n\n 5 ,\nNEXT\n", {5}, Status::ok, nullptr, "NEXT"},
    {"128,3,3,3,3,0,0,1,0,0,0.,0.,0.,0.,1.,1.,1.,1.,\n0.,0.,0.,0.\nNEXT\n",
     {128, 3, 3, 3, 3, 0, 0, 1, 0, 0}, Status::ok, nullptr, "0.,0.,0.,0."},
    {"1.5 2\nNEXT\n", {KI, KI}, Status::error, "bad integer for item 1 in list input", "NEXT"},
    {"1. 2\nNEXT\n", {KI, KI}, Status::error, nullptr, "NEXT"},
    {"1e3 2\nNEXT\n", {KI, KI}, Status::error, nullptr, "NEXT"},
    {"12abc 3\nNEXT\n", {KI, KI}, Status::error, nullptr, "NEXT"},
    {"0x10 1\nNEXT\n", {KI, KI}, Status::error, nullptr, "NEXT"},
    {"T\nNEXT\n", {KI}, Status::error, nullptr, "NEXT"},
    {"1 2 3 4\nlabel line\n5 6\nNEXT\n", {1, 2, 3, 4, KI, KI, KI, KI, KI, KI, KI, KI}, Status::error,
     "bad integer for item 5 in list input", "5 6"},
    {"1 2 3 4\n99 label\n5 6\nNEXT\n", {1, 2, 3, 4, 99, KI, KI, KI, KI, KI, KI, KI}, Status::error,
     "bad integer for item 6 in list input", "5 6"},
    // 32-bit overflow; unlike gfortran the rest of the record is skipped
    {"2147483648 1\nNEXT\nNEXT2\n", {KI, KI}, Status::error, "integer overflow while reading item 1", "NEXT"},
    {"99999999999 1\nNEXT\n", {KI, KI}, Status::error, "integer overflow while reading item 1", "NEXT"},
    {"-2147483649 1\nNEXT\n", {KI, KI}, Status::error, "integer overflow while reading item 1", "NEXT"},
    {"1 2147483648\nNEXT\nNEXT2\n", {1, KI}, Status::error, "integer overflow while reading item 2", "NEXT"},
};

TEST_F(ListInput, Reals) {
    for (const auto& r : real_rows) check(r);
}

TEST_F(ListInput, Integers) {
    for (const auto& r : int_rows) check(r);
}

TEST_F(ListInput, EmptyReadSkipsExactlyOneRecord) {
    use_input("abc / , 3* \"q\n\n5\n");
    ASSERT_TRUE(textio::skip_record(5));
    ASSERT_TRUE(textio::skip_record(5));   // an empty record is a record too
    std::int32_t v = KI;
    ASSERT_TRUE(textio::read_list(5, v));
    EXPECT_EQ(v, 5);
    EXPECT_EQ(textio::skip_record(5).status, Status::end);
    EXPECT_EQ(textio::skip_record(5).status, Status::end);
}

TEST_F(ListInput, InternalRecord) {
    float a = K, b = K, c = K;
    EXPECT_TRUE(textio::In("3 4.5", textio::list_directed)(a)(b).done());
    EXPECT_EQ(a, 3.0f);
    EXPECT_EQ(b, 4.5f);
    // one record only: the list cannot go on past it
    textio::Result r = textio::In("7", textio::list_directed, "answer")(a)(c).done();
    EXPECT_EQ(r.status, Status::end);
    EXPECT_EQ(r.file, "answer");
    EXPECT_EQ(a, 7.0f);
    EXPECT_EQ(c, K);
}

}  // namespace
