// Part networks: the path of a part's network file through the directory
// and the environment, the reading of the network, and the progress line
// and the geometry stop of the part routines.
#include "hydrosum/input/parts.hpp"

#include "lib/strings.hpp"
#include "textio/textio.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace hydrosum {

namespace {

constexpr std::size_t text_len = 255;   // environment values and paths
constexpr int network_unit = 1;

constexpr std::array<std::string_view, 6> part_words = {"hull", "keel", "bulb", "wing", "rudr", "frud"};

std::string word(Part p) { return std::string(part_words[static_cast<std::size_t>(p)]); }

// A fixed-length text without its trailing blanks (a leading blank stays).
std::string_view trimmed(std::span<const char> t) {
    const std::string_view s(t.data(), t.size());
    return s.substr(0, static_cast<std::size_t>(geom::lenchr(s)));
}

// The variable as the platform gives it, 255 characters, without trailing
// blanks: empty when unset or all blank, which both count as not set.
std::string env(std::string_view name) {
    std::array<char, text_len> v;
    textio::getenv_text(name, v);
    return std::string(trimmed(v));
}

// A prefix with nothing after it does not count.
bool begins(std::string_view s, std::string_view prefix) { return s.size() > prefix.size() && s.starts_with(prefix); }

// s from character c, counted from 1 (the offsets keep the slash).
std::string_view from(std::string_view s, std::size_t c) { return s.substr(c - 1); }

// The pieces appended one after the other: operator+ on a temporary right
// operand draws g++ 12's false -Wrestrict at -O3.
std::string cat(std::initializer_list<std::string_view> pieces) {
    std::string s;
    for (std::string_view p : pieces) s += p;
    return s;
}

// The whole path, before the cut to the path's length; the first rule that
// applies wins, the name's rules before the directory's.
std::string resolve(std::string_view dir, std::string_view name) {
    if (name.empty()) return {};
    const std::string home = env("HOME");
    std::string zozu_home = env("ZOZU_HOME");
    if (zozu_home.empty()) zozu_home = home;   // the only variable with a fallback
    const std::string workdir = env("ZOZU_WORKDIR");
    const bool work_set = !workdir.empty();

    if (begins(name, "/")) return std::string(name);
    if (begins(name, "~/")) return cat({home, from(name, 2)});
    if (begins(name, "$ZOZU_WORKDIR/")) return work_set ? cat({workdir, from(name, 14)}) : cat({from(name, 15)});
    if (begins(name, "$ZOZU_HOME/")) return cat({zozu_home, from(name, 11)});
    if (begins(name, "$HOME/")) return cat({home, from(name, 6)});

    const std::string tail = cat({"/", name});
    if (dir == "/") return tail;
    if (begins(dir, "/")) return cat({dir, tail});
    if (dir == "~") return cat({home, tail});
    if (begins(dir, "~/")) return cat({home, from(dir, 2), tail});
    if (dir == "$ZOZU_WORKDIR") return work_set ? cat({workdir, tail}) : std::string(name);
    if (begins(dir, "$ZOZU_WORKDIR/"))
        return work_set ? cat({workdir, from(dir, 14), tail}) : cat({from(dir, 15), tail});
    if (dir == "$ZOZU_HOME") return cat({zozu_home, tail});
    if (begins(dir, "$ZOZU_HOME/")) return cat({zozu_home, from(dir, 11), tail});
    if (dir == "$HOME") return cat({home, tail});
    if (begins(dir, "$HOME/")) return cat({home, from(dir, 6), tail});
    if (dir.empty() || dir == "none") return std::string(name);
    return cat({dir, tail});
}

// text = s cut to its length and padded with blanks.
void fill(std::span<char> text, std::string_view s) {
    const std::size_t n = std::min(s.size(), text.size());
    std::copy_n(s.begin(), n, text.begin());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
}

// Counts the part's geometry could not index: the bulb's stations need two
// points per row; a foil's chord needs two points once it has strips.
bool below_minimum(Part part, int ni, int nj) {
    switch (part) {
        case hull: return false;   // its points are never used
        case bulb: return ni < 2 || nj < 1;
        default: return ni < 1 || nj < 1 || (nj >= 2 && ni < 2);
    }
}

[[noreturn]] void size_stop(Part part, const char* what) {
    textio::close(network_unit);
    textio::write(textio::stdout_unit, "(a)", "error ... " + word(part) + " array size " + what);
    textio::error_stop();
}

}  // namespace

void dirfil(std::span<const char> dir, std::span<const char> file, std::span<char> path) {
    fill(path, resolve(trimmed(dir), trimmed(file)));
}

void read_part_network(Store& st, Part part, PartNetwork& net) {
    std::array<char, 255>& path = st.vchr[1];
    const std::string full = resolve(trimmed(st.vchr[0]), trimmed(st.vchr[2 + static_cast<std::size_t>(part)]));
    fill(path, full);
    // A blank or cut path would open some other file, or none: refuse it.
    if (geom::lenchr(full) == 0)
        throw textio::Failure(network_unit, "", 0, "the " + word(part) + " network path is blank");
    if (full.size() > path.size())
        throw textio::Failure(network_unit, std::string(trimmed(path)), 0,
                              "the " + word(part) + " network path is longer than 255 characters");

    // An existing file only: a missing network must not leave an empty file behind.
    const std::string name(trimmed(path));
    if (const textio::OpenResult r = textio::open(network_unit, name, textio::Access::existing); !r)
        throw textio::Failure(network_unit, name, 0,
                              textio::open_refusal(r.status, 0, "the " + word(part) + " network"));

    std::int32_t ni = 0, nj = 0;
    textio::read_required(network_unit, "(2i5)", ni, nj);
    // both limits before any point is read
    if (ni > part_dim || nj > part_dim) size_stop(part, "exceeds maximum(s)");
    if (below_minimum(part, ni, nj)) size_stop(part, "below minimum(s)");
    net.ni = ni;
    net.nj = nj;

    if (ni >= 1 && nj >= 1) {
        // one statement: any layout, the rest of the last line and anything after it unread
        textio::In in(network_unit, textio::list_directed);
        for (int j = 1; j <= nj; ++j)
            for (int i = 1; i <= ni; ++i) in(net.px(i, j))(net.py(i, j))(net.pz(i, j));
        in.required();
    }
    textio::close(network_unit);

    const float scale = st.c(5);
    for (int j = 1; j <= nj; ++j)
        for (int i = 1; i <= ni; ++i) {
            net.px(i, j) = net.px(i, j) * scale;
            net.py(i, j) = net.py(i, j) * scale;
            net.pz(i, j) = net.pz(i, j) * scale;
        }
}

void stripping_line(Store& st, Part part) {
    textio::write(textio::stdout_unit, "(a,i5)", word(part) + " stripping, option",
                  st.vint[static_cast<std::size_t>(part)]);
}

void degenerate_stop(Part part) {
    textio::write(textio::stdout_unit, "(a)", "error ... " + word(part) + " network geometry degenerate");
    textio::error_stop();
}

}  // namespace hydrosum
