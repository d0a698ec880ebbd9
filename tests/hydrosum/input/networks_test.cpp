// Part networks: path rules through the environment, reading and checking
// a network, the progress line.
//
// The environment variables are set per case and restored afterwards; the
// files live in a scratch directory that is the working directory.
#include "unit_fixtures.hpp"

#include "hydrosum/input/parts.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hydrosum {
namespace {

namespace fs = std::filesystem;
using hydrosum_test::write_file;

constexpr std::size_t text_len = 255;
using Text = std::array<char, text_len>;

Text text(const std::string& s) {
    Text t;
    t.fill(' ');
    s.copy(t.data(), std::min(s.size(), t.size()));
    return t;
}

std::string padded(const std::string& s) { return s + std::string(text_len - s.size(), ' '); }

// The three variables dirfil reads, put back as they were.
class Environment {
public:
    Environment() {
        for (const char* name : names) {
            const char* v = std::getenv(name);
            saved_.push_back(v ? std::optional<std::string>(v) : std::nullopt);
        }
    }
    ~Environment() {
        for (std::size_t k = 0; k < names.size(); ++k) set(names[k], saved_[k] ? saved_[k]->c_str() : nullptr);
    }
    static void set(const char* name, const char* value) {
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }

private:
    static constexpr std::array<const char*, 3> names = {"HOME", "ZOZU_HOME", "ZOZU_WORKDIR"};
    std::vector<std::optional<std::string>> saved_;
};

std::string resolved(const std::string& dir, const std::string& file) {
    Text path = text("left over");
    dirfil(text(dir), text(file), path);
    return std::string(path.data(), path.size());
}

// ------------------------------------------------------------------ dirfil

TEST(Dirfil, PathRulesInTheirOrder) {
    Environment env;
    struct Case {
        const char* dir;
        const char* file;
        const char* home;        // nullptr: unset
        const char* zozu_home;
        const char* workdir;
        const char* path;
    };
    const Case cases[] = {
        // rules on the name
        {"/data/nets", "", "/h", "/z", "/w", ""},
        {"~/nets", "/abs/keel.net", "/h", "/z", "/w", "/abs/keel.net"},
        {"none", "/", "/h", nullptr, nullptr, "/"},   // a single slash is not absolute
        {"/data", "~/keel.net", "/home/u", nullptr, nullptr, "/home/u/keel.net"},
        {"/data", "~/keel.net", nullptr, "/z", nullptr, "/keel.net"},
        {"/data", "~/", "/h", nullptr, nullptr, "/data/~/"},   // a bare prefix goes on to the directory
        {"/data", "$ZOZU_WORKDIR/keel.net", "/h", nullptr, "/scratch/j1", "/scratch/j1/keel.net"},
        {"/data", "$ZOZU_WORKDIR/keel.net", "/h", "/z", nullptr, "keel.net"},
        {"none", "$ZOZU_WORKDIR/", "/h", nullptr, "/w", "$ZOZU_WORKDIR/"},
        {"/data", "$ZOZU_HOME/keel.net", "/h", "/z", nullptr, "/z/keel.net"},
        {"/data", "$ZOZU_HOME/keel.net", "/h", nullptr, nullptr, "/h/keel.net"},
        {"/data", "$HOME/keel.net", "/h", "/z", "/w", "/h/keel.net"},
        {"nets", "$HOME/", "/h", nullptr, nullptr, "nets/$HOME/"},
        {"none", "$home/keel.net", "/h", nullptr, nullptr, "$home/keel.net"},   // case counts
        // rules on the directory
        {"/", "keel.net", "/h", nullptr, nullptr, "/keel.net"},
        {"/data/nets", "keel.net", "/h", nullptr, nullptr, "/data/nets/keel.net"},
        {"~", "keel.net", "/h", nullptr, nullptr, "/h/keel.net"},
        {"~/nets", "keel.net", "/home/u", nullptr, nullptr, "/home/u/nets/keel.net"},
        {"~/nets", "keel.net", nullptr, "/z", nullptr, "/nets/keel.net"},
        {"~/", "keel.net", "/h", nullptr, nullptr, "~//keel.net"},
        {"$ZOZU_WORKDIR", "keel.net", "/h", nullptr, "/w", "/w/keel.net"},
        {"$ZOZU_WORKDIR", "keel.net", "/h", "/z", nullptr, "keel.net"},
        {"$ZOZU_WORKDIR/grids", "keel.net", "/h", nullptr, "/scratch/j1", "/scratch/j1/grids/keel.net"},
        {"$ZOZU_WORKDIR/grids", "keel.net", "/h", "/z", nullptr, "grids/keel.net"},   // no fallback
        {"$ZOZU_WORKDIR/", "keel.net", "/h", nullptr, "/w", "$ZOZU_WORKDIR//keel.net"},
        {"$ZOZU_HOME", "keel.net", "/h", "/z", nullptr, "/z/keel.net"},
        {"$ZOZU_HOME", "keel.net", "/h", nullptr, nullptr, "/h/keel.net"},
        {"$ZOZU_HOME", "keel.net", nullptr, nullptr, nullptr, "/keel.net"},
        {"$ZOZU_HOME/nets", "keel.net", "/h", "/z", nullptr, "/z/nets/keel.net"},
        {"$ZOZU_HOME/nets", "keel.net", "/h", nullptr, nullptr, "/h/nets/keel.net"},
        {"$HOME", "keel.net", "/h", "/z", nullptr, "/h/keel.net"},
        {"$HOME", "keel.net", nullptr, "/z", nullptr, "/keel.net"},   // HOME has no fallback
        {"$HOME/nets", "keel.net", "/h", nullptr, nullptr, "/h/nets/keel.net"},
        {"$HOME/", "keel.net", "/h", nullptr, nullptr, "$HOME//keel.net"},
        {"none", "keel.net", "/h", nullptr, nullptr, "keel.net"},
        {"", "keel.net", "/h", nullptr, nullptr, "keel.net"},
        {"None", "keel.net", "/h", nullptr, nullptr, "None/keel.net"},
        {"nets/sub", "keel.net", "/h", nullptr, nullptr, "nets/sub/keel.net"},
        // leading blanks are characters; trailing blanks are not
        {" /data", "keel.net", "/h", nullptr, nullptr, " /data/keel.net"},
        {"none", " /abs.net", "/h", nullptr, nullptr, " /abs.net"},
        // values: trailing blanks dropped, all blanks = unset
        {"~", "keel.net", "/h  ", nullptr, nullptr, "/h/keel.net"},
        {"$ZOZU_WORKDIR/grids", "keel.net", "/h", nullptr, "   ", "grids/keel.net"},
        {"$ZOZU_HOME", "keel.net", "/h", "", nullptr, "/h/keel.net"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("dir '") + c.dir + "' file '" + c.file + "'");
        Environment::set("HOME", c.home);
        Environment::set("ZOZU_HOME", c.zozu_home);
        Environment::set("ZOZU_WORKDIR", c.workdir);
        EXPECT_EQ(resolved(c.dir, c.file), padded(c.path));
    }
}

TEST(Dirfil, ValuesAndPathsAreCutAt255Characters) {
    Environment env;
    Environment::set("HOME", "/h");
    Environment::set("ZOZU_WORKDIR", nullptr);
    // a value whose only non-blank characters lie beyond 255 counts as unset
    Environment::set("ZOZU_HOME", (std::string(text_len, ' ') + "/z").c_str());
    EXPECT_EQ(resolved("$ZOZU_HOME", "keel.net"), padded("/h/keel.net"));

    const std::string dir = "/" + std::string(250, 'd');
    EXPECT_EQ(resolved(dir, "keel.net"), (dir + "/keel.net").substr(0, text_len));
    const std::string fits = "/" + std::string(text_len - 10, 'd');   // exactly 255 with "/keel.net"
    EXPECT_EQ(resolved(fits, "keel.net"), fits + "/keel.net");
}

// ------------------------------------------------------------------ reader

struct Point {
    float x, y, z;
};

// Point (i, j) of a test network; binary-exact values.
Point point_of(int i, int j) {
    return {static_cast<float>(i) + 0.5f * static_cast<float>(j), -0.25f * static_cast<float>(i),
            0.125f * static_cast<float>(j)};
}

std::string header(int ni, int nj) {
    char b[64];
    std::snprintf(b, sizeof b, "%5d%5d    1 test network\n", ni, nj);
    return b;
}

// All values of an ni x nj network, j outer, `per_line` values to a line.
std::string points_text(int ni, int nj, int per_line) {
    std::string s;
    int on_line = 0;
    for (int j = 1; j <= nj; ++j)
        for (int i = 1; i <= ni; ++i) {
            const Point p = point_of(i, j);
            for (float v : {p.x, p.y, p.z}) {
                s += (on_line ? " " : "") + std::to_string(v);
                if (++on_line == per_line) s += "\n", on_line = 0;
            }
        }
    if (on_line) s += "\n";
    return s;
}

class Networks : public hydrosum_test::StdioTest {
protected:
    void SetUp() override {
        StdioTest::SetUp();
        st = std::make_unique<Store>();
        st->c(5) = 1.0f;
        st->vchr[0] = text("none");
        net = std::make_unique<PartNetwork>();
    }

    void name(Part part, const std::string& file) { st->vchr[2 + static_cast<std::size_t>(part)] = text(file); }
    // The exit code of a stop, or -1 when the read returned.
    int stop_code(Part part) {
        return hydrosum_test::stop_code([&] { read_part_network(*st, part, *net); });
    }
    textio::Failure failure(Part part) {
        return hydrosum_test::failure_of([&] { read_part_network(*st, part, *net); });
    }
    void expect_points(int ni, int nj, float scale) {
        ASSERT_EQ(net->ni, ni);
        ASSERT_EQ(net->nj, nj);
        for (int j = 1; j <= nj; ++j)
            for (int i = 1; i <= ni; ++i) {
                const Point p = point_of(i, j);
                EXPECT_EQ(net->px(i, j), p.x * scale) << i << "," << j;
                EXPECT_EQ(net->py(i, j), p.y * scale) << i << "," << j;
                EXPECT_EQ(net->pz(i, j), p.z * scale) << i << "," << j;
            }
    }

    std::unique_ptr<Store> st;
    std::unique_ptr<PartNetwork> net;

private:
    hydrosum_test::ScratchDir dir_{"hydrosum-net"};
};

TEST_F(Networks, PointsReadTheSameInAnyLayout) {
    constexpr int ni = 4, nj = 3;
    struct Layout {
        const char* what;
        std::string body;
    };
    const Layout layouts[] = {
        {"a point per line", points_text(ni, nj, 3)},
        {"all on one line", points_text(ni, nj, 3 * ni * nj)},
        {"two values per line", points_text(ni, nj, 2)},
        // the rest of the last line and a further network stay unread
        {"more after the last value",
         points_text(ni, nj, 3).substr(0, points_text(ni, nj, 3).size() - 1) + " trailing words\n" + header(2, 2) +
             "not a number\n"},
    };
    fs::create_directory("nets");
    st->vchr[0] = text("nets");
    name(keel, "keel.net");
    for (const Layout& l : layouts) {
        SCOPED_TRACE(l.what);
        write_file("nets/keel.net", header(ni, nj) + l.body);
        read_part_network(*st, keel, *net);
        expect_points(ni, nj, 1.0f);
        EXPECT_FALSE(textio::is_open(1));
    }
    EXPECT_EQ(std::string(st->vchr[1].data(), text_len), padded("nets/keel.net"));
    EXPECT_EQ(output(), "");
}

TEST_F(Networks, CoordinatesAreScaledToFullSize) {
    st->c(5) = 5.0f;
    name(bulb, "bulb.net");
    write_file("bulb.net", header(3, 2) + points_text(3, 2, 3));
    read_part_network(*st, bulb, *net);
    expect_points(3, 2, 5.0f);
}

TEST_F(Networks, CountsOutsideThePartsLimitsStopTheRun) {
    struct Case {
        Part part;
        int ni, nj;
        const char* message;   // nullptr: accepted
    };
    const Case cases[] = {
        {keel, 201, 201, nullptr},
        {bulb, 202, 3, "error ... bulb array size exceeds maximum(s)"},
        {rudder, 3, 202, "error ... rudr array size exceeds maximum(s)"},
        {hull, 202, 1, "error ... hull array size exceeds maximum(s)"},
        {keel, 0, 202, "error ... keel array size exceeds maximum(s)"},   // the maximum is tested first
        {bulb, 1, 5, "error ... bulb array size below minimum(s)"},
        {bulb, 2, 0, "error ... bulb array size below minimum(s)"},
        {bulb, 2, 1, nullptr},
        {keel, 0, 1, "error ... keel array size below minimum(s)"},
        {wing, 1, 2, "error ... wing array size below minimum(s)"},
        {rudder, 2, -1, "error ... rudr array size below minimum(s)"},
        {frud, 3, 0, "error ... frud array size below minimum(s)"},
        {frud, 1, 1, nullptr},
        {rudder, 2, 2, nullptr},
        {hull, 0, 0, nullptr},   // the hull's points are never used
        {hull, -3, 5, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.part) + ": " + std::to_string(c.ni) + " x " + std::to_string(c.nj));
        name(c.part, "part.net");
        // a stop comes before any point is read: the stopping files hold none
        const bool points = !c.message && c.ni > 0 && c.nj > 0;
        write_file("part.net", header(c.ni, c.nj) + (points ? points_text(c.ni, c.nj, 3) : ""));
        clear_output();
        if (c.message) {
            EXPECT_EQ(stop_code(c.part), 1);
            EXPECT_EQ(output(), std::string(c.message) + "\n");
        } else {
            EXPECT_EQ(stop_code(c.part), -1);
            EXPECT_EQ(net->ni, c.ni);
            EXPECT_EQ(net->nj, c.nj);
            EXPECT_EQ(output(), "");
            if (points) {
                EXPECT_EQ(net->pz(c.ni, c.nj), point_of(c.ni, c.nj).z);
            }
        }
    }
}

TEST_F(Networks, MissingOrUnreadableNetworksEndTheRun) {
    name(keel, "keel.net");
    {
        SCOPED_TRACE("missing file");
        const textio::Failure f = failure(keel);
        EXPECT_EQ(f.file(), "keel.net");
        EXPECT_FALSE(fs::exists("keel.net"));   // no empty file left behind
    }
    const std::string bad[] = {
        "",                                            // no header
        header(2, 2) + points_text(2, 2, 3).substr(0, 20) + "\n",   // too few values
        header(2, 1) + "1.0 2.0 x.5\n4 5 6\n",          // not a number
    };
    for (const std::string& content : bad) {
        SCOPED_TRACE(content);
        write_file("keel.net", content);
        EXPECT_EQ(failure(keel).file(), "keel.net");
    }
}

TEST_F(Networks, BlankOrCutPathsAreRefusedWithoutOpening) {
    {
        SCOPED_TRACE("blank file name");
        name(wing, "");
        const textio::Failure f = failure(wing);
        EXPECT_NE(std::string(f.what()).find("wing"), std::string::npos) << f.what();
    }
    {
        SCOPED_TRACE("path cut at 255");
        // a readable network sits where the cut path points: it must not be read
        fs::create_directory("nets");
        st->vchr[0] = text("nets");
        const std::string cut = std::string(250, 'b');
        write_file("nets/" + cut, header(2, 1) + points_text(2, 1, 3));
        name(bulb, cut + "b");
        const textio::Failure f = failure(bulb);
        EXPECT_NE(std::string(f.what()).find("bulb"), std::string::npos) << f.what();
        EXPECT_EQ(net->ni, 0);
    }
    EXPECT_FALSE(textio::is_open(1));
}

TEST_F(Networks, ProgressLineShowsThePartsWordAndOption) {
    struct Case {
        Part part;
        int option;
        const char* line;
    };
    const Case cases[] = {
        {hull, 1, "hull stripping, option    1"}, {keel, 6, "keel stripping, option    6"},
        {bulb, 0, "bulb stripping, option    0"}, {wing, 12345, "wing stripping, option12345"},
        {rudder, 7, "rudr stripping, option    7"}, {frud, -1, "frud stripping, option   -1"},
    };
    std::string expected;
    for (const Case& c : cases) {
        st->vint[static_cast<std::size_t>(c.part)] = c.option;
        stripping_line(*st, c.part);
        expected += std::string(c.line) + "\n";
    }
    EXPECT_EQ(output(), expected);
}

}  // namespace
}  // namespace hydrosum
