#pragma once

// Network files for the tests of gridplot and meshdump, and the runs of
// failing and oversize files that both must survive alike.

#include "sandbox.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace convert_test {

// A header record: ni and nj in five columns each, the type code in columns
// 11 to 15, the title from column 21.
inline std::string header(long ni, long nj, const std::string& title = "", const std::string& klue = "") {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%5ld%5ld%5s     ", ni, nj, klue.c_str());
    return std::string(buf) + title + "\n";
}

// A network of n points, all at the origin, several to a line.
inline std::string zero_points(long n) {
    std::string s;
    for (long p = 1; p <= n; ++p) s += (p % 20 == 0 || p == n) ? "0 0 0\n" : "0 0 0 ";
    return s;
}

// n networks of one point each.
inline std::string single_points(int n) {
    std::string s;
    for (int k = 1; k <= n; ++k) s += header(1, 1, "point " + std::to_string(k)) + " 1 2 3\n";
    return s;
}

// Exactly nptsmx points (a multiple of 1000) in three networks, the last
// one titled "last", 999 x 1.
inline std::string full_points(long nptsmx) {
    return header(1, 1, "first") + "1 2 3\n" + header(nptsmx / 1000 - 1, 1000, "rest") +
           zero_points(nptsmx - 1000) + header(999, 1, "last") + zero_points(999);
}

struct FileCase {
    const char* what;
    std::string file;
};

// Files whose reading ends the run with status 1.
inline std::vector<FileCase> unreadable_files() {
    return {
        {"malformed number", header(2, 1) + "0 0 0\n0 x 0\n"},
        {"end of file inside the points", header(2, 1) + "0 0 0\n0 0\n"},
        {"empty network at the end of the file: its read takes a line", header(1, 1) + "0 0 0\n" + header(0, 0)},
        {"malformed header", "    a    1\n0 0 0\n"},
        {"negative count in i", header(-1, 2) + "0 0 0\n"},
        {"negative count in j", header(1, 1) + "0 0 0\n" + header(2, -2) + "0 0 0\n"},
    };
}

struct StopCase {
    const char* what;
    std::string file;
    std::string message;
};

// Files that pass a capacity (201 networks, nptsmx points), each stopped at
// the header that passes it, before that network's points.
inline std::vector<StopCase> oversize_files(long nptsmx) {
    const std::string npat = "  stopping because npat.gt.npatmx\n";
    const std::string npts = "  stopping because npts.gt.nptsmx\n";
    return {
        {"202 networks", single_points(202), npat},
        {"202 networks, the last without points", single_points(201) + header(0, 0), npat},
        {"one more point than room in one header", header(nptsmx / 1000 + 1, 1000), npts},
        {"the network that brings one point more than room", header(1, 1) + "0 0 0\n" + header(1000, nptsmx / 1000),
         npts},
        {"65536 x 65536, which is zero in 32 bits", header(65536, 65536), npts},
    };
}

struct FailCase {
    FileCase input;
    std::string answers;
};

// Each case in a fresh Box ("in.net" holding the case's file, the output file
// named output holding old content): status 1 with the program's diagnostic,
// nothing but the dialogue on standard output, both files as they were.
template <class Box>
void expect_failures(const std::vector<FailCase>& cases, const std::string& program, const std::string& output,
                     const std::string& dialogue) {
    for (const FailCase& c : cases) {
        SCOPED_TRACE(c.input.what);
        Box box;
        box.write("in.net", c.input.file);
        box.write(output, kOldContent);
        const Outcome o = box.run(c.answers);
        EXPECT_EQ(o.status, 1);
        EXPECT_NE(o.err.find(program + ": "), std::string::npos);
        EXPECT_EQ(o.out, dialogue);
        EXPECT_EQ(box.read("in.net"), c.input.file);
        EXPECT_EQ(box.read(output), kOldContent);
    }
}

// Each file of oversize_files(nptsmx) in a fresh Box, run with answers:
// status 1, the dialogue and the stop message, the old output file kept.
template <class Box>
void expect_stops(long nptsmx, const std::string& answers, const std::string& output, const std::string& dialogue) {
    for (const StopCase& c : oversize_files(nptsmx)) {
        SCOPED_TRACE(c.what);
        Box box;
        box.write("in.net", c.file);
        box.write(output, kOldContent);
        const Outcome o = box.run(answers);
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(o.out, dialogue + c.message);
        EXPECT_EQ(box.read(output), kOldContent);
    }
}

}  // namespace convert_test
