// The copies of an IGES file's surfaces: a hand-made file copied exactly,
// and a real one (skipped where absent) numbered as one valid file.

#include "support/iges_copies.hpp"
#include "support/real_iges.hpp"
#include "support/scratch.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

// Columns 1 to 72, the section letter, the sequence number in 7 columns.
std::string iges_line(std::string text, char letter, long seq)
{
    text.resize(72, ' ');
    char n[32];
    std::snprintf(n, sizeof n, "%c%7ld\n", letter, seq);
    return text + n;
}

// The two directory lines of an entry of the given type, pointer, line count and label.
std::string directory(int type, long pointer, long lines, const char* label, long seq)
{
    char a[128], b[128];
    std::snprintf(a, sizeof a, "%8d%8ld       1       0       0       0       0       000000001", type, pointer);
    std::snprintf(b, sizeof b, "%8d       0       3%8ld       0                %-8s       0", type, lines, label);
    return iges_line(a, 'D', seq) + iges_line(b, 'D', seq + 1);
}

// A parameter line: its data in columns 1 to 64, the entry's pointer.
std::string parameter(const char* data, long entry, long seq)
{
    char p[128];
    std::snprintf(p, sizeof p, "%-64s%8ld", data, entry);
    return iges_line(p, 'P', seq);
}

// Two surfaces around a curve, and a surface whose lines lie past the
// section: the two surfaces, twice, renumbered.
TEST(IgesCopies, SurfacesAloneCopiedAndRenumbered)
{
    const std::string two = directory(128, 1, 2, "TWO", 1), curve = directory(126, 3, 1, "CURVE", 3),
                one = directory(128, 4, 1, "ONE", 5), past = directory(128, 9, 1, "PAST", 7);
    const std::string start = iges_line("made by hand", 'S', 1), global = iges_line("1H,,1H;;", 'G', 1);
    const std::string file = start + global + two + curve + one + past + parameter("128,1,1,1,1,0,0,1,0,0,", 1, 1) +
            parameter("0,0,1,1,0,0,1,1;", 1, 2) + parameter("126,0;", 3, 3) + parameter("128,0;", 5, 4) +
            "S      1G      1D      8P      4" + std::string(40, ' ') + "T      1";

    const test_support::IgesCopies copies = test_support::iges_surface_copies(file, 2);
    EXPECT_EQ(copies.surfaces, 2);
    EXPECT_EQ(copies.text, start + global + directory(128, 1, 2, "TWO", 1) + directory(128, 3, 1, "ONE", 3) +
                               directory(128, 4, 2, "TWO", 5) + directory(128, 6, 1, "ONE", 7) +
                               parameter("128,1,1,1,1,0,0,1,0,0,", 1, 1) + parameter("0,0,1,1,0,0,1,1;", 1, 2) +
                               parameter("128,0;", 3, 3) + parameter("128,1,1,1,1,0,0,1,0,0,", 5, 4) +
                               parameter("0,0,1,1,0,0,1,1;", 5, 5) + parameter("128,0;", 7, 6) +
                               "S      1G      1D      8P      6" + std::string(40, ' ') + "T      1\n");
}

// Impeller's surfaces copied 4 times, as the benchmark copies them: every
// section numbered from 1; the entries' pointers and counts lay their
// lines out in order, each line pointing back at its entry; the terminate
// line counts the sections.
TEST(IgesCopies, RealFileCopiesNumberedAsOneFile)
{
    const std::filesystem::path path = test_support::real_iges("impeller.igs");
    if (!std::filesystem::exists(path)) GTEST_SKIP() << test_support::skipped_for_absent(path);
    constexpr int copies = 4;
    const test_support::IgesCopies many = test_support::iges_surface_copies(test_support::read_file(path), copies);
    ASSERT_EQ(many.surfaces, 247);

    std::vector<std::string> d, p;
    std::map<char, long> seq;
    for (const std::string& l : test_support::split_lines(many.text)) {
        ASSERT_EQ(l.size(), 80u);
        EXPECT_EQ(std::atol(l.substr(73).c_str()), ++seq[l[72]]) << l;
        if (l[72] == 'D') d.push_back(l);
        if (l[72] == 'P') p.push_back(l);
    }
    ASSERT_EQ(d.size(), 2u * copies * 247u);
    std::size_t next = 0;
    for (std::size_t k = 0; k < d.size(); k += 2) {
        EXPECT_EQ(std::atol(d[k].substr(8, 8).c_str()), static_cast<long>(next) + 1) << d[k];
        for (long c = std::atol(d[k + 1].substr(24, 8).c_str()); c > 0; --c, ++next)
            ASSERT_EQ(std::atol(p.at(next).substr(64, 8).c_str()), static_cast<long>(k) + 1) << p.at(next);
    }
    EXPECT_EQ(next, p.size());
    char terminate[160];
    std::snprintf(terminate, sizeof terminate, "S%7ldG%7ldD%7ldP%7ld%40sT      1\n", seq['S'], seq['G'], seq['D'],
                  seq['P'], "");
    EXPECT_EQ(many.text.substr(many.text.size() - 81), terminate);
}

}  // namespace
