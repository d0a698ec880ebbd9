#include "hydrosum/input/steps.hpp"

#include "lib/strings.hpp"
#include "textio/textio.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include <sys/mman.h>
#include <unistd.h>

namespace hydrosum {

namespace {

using textio::stdout_unit;

constexpr int fm_unit = 1;

bool has_breakdown(std::int32_t type) { return type == 3 || type == 4 || type == 103 || type == 104; }
bool has_extra_line(std::int32_t type) { return type >= 101 && type <= 199; }

using Group = std::array<float, 6>;

struct Scales {
    float l, l2, l3, l4, sl;
};

// The deck's factors of one force group: force, yaw/pitch, roll, q switch.
struct Factors {
    float ff, fm, fr, sw;
};

Factors factors(Store& st, int first) { return {st.c(first), st.c(first + 1), st.c(first + 2), st.c(first + 3)}; }

// Auxiliary and hydrostatic groups: full-scale forces.
Group forces(const Group& v, const Factors& f, float q, const Scales& sc) {
    const float qm = (q - 1.0f) * f.sw + 1.0f;
    Group g;
    for (int m = 0; m < 3; ++m) g[m] = v[m] * qm * f.ff * sc.l3;
    g[3] = v[3] * qm * f.ff * f.fr * sc.l4;
    g[4] = v[4] * qm * f.ff * f.fm * sc.l4;
    g[5] = v[5] * qm * f.ff * f.fm * sc.l4;
    return g;
}

// Viscous, breakdown and inviscid groups: full-scale force areas.
Group force_areas(const Group& v, const Factors& f, float q, const Scales& sc) {
    const float qd = (q - 1.0f) * (1.0f - f.sw) + 1.0f;
    Group g{};
    if (qd == 0.0f) return g;   // forces at zero speed have no force area
    for (int m = 0; m < 3; ++m) g[m] = v[m] / qd * f.ff * sc.l2;
    g[3] = v[3] / qd * f.ff * f.fr * sc.l3;
    g[4] = v[4] / qd * f.ff * f.fm * sc.l3;
    g[5] = v[5] / qd * f.ff * f.fm * sc.l3;
    return g;
}

// The cases of one file, slot by slot, as they are read. The store keeps
// each slot of all runs and heels together, so a case's slots lie far
// apart there; the file's cases go in at its end, one slot at a time.
class FileCases {
public:
    float& s(int i, int slot) { return v_[static_cast<std::size_t>(slot - 1)][static_cast<std::size_t>(i - 1)]; }

    // Cases 1..n into the run: every slot the reader writes (16, 45-59 and
    // 96-101 stay as they are); full = the 107-slot classes.
    void store(const Run& run, int n, bool full) {
        copy(run, n, 1, 15);
        copy(run, n, 17, 44);
        if (full) {
            copy(run, n, 60, 95);
            copy(run, n, 102, 107);
        }
    }

private:
    void copy(const Run& run, int n, int first, int last) {
        for (int slot = first; slot <= last; ++slot)
            std::copy_n(v_[static_cast<std::size_t>(slot - 1)].begin(), n, &run.s(1, slot));
    }

    std::array<std::array<float, ncases>, full_slots> v_;
};

void put(FileCases& cases, int i, int first, const Group& g) {
    for (int m = 0; m < 6; ++m) cases.s(i, first + m) = g[static_cast<std::size_t>(m)];
}

Group value_line() {
    Group v{};
    textio::read_list_required(fm_unit, v);
    return v;
}

// One force-moment file into run, its cases gathered in `cases` first;
// full = the 107-slot classes. ref: the breakdown flag this file decides,
// or nullptr.
void read_file(Store& st, const Scales& sc, const Run& run, bool full, std::string_view name, std::int32_t* ref,
               bool* any, FileCases& cases) {
    std::span<char> field = st.chr(81, 160);
    geom::blank(field, static_cast<int>(field.size()));
    std::copy(name.begin(), name.end(), field.begin());
    run.n() = 0;
    if (!textio::open(fm_unit, std::string_view(field.data(), field.size()), textio::Access::existing)) {
        run.present() = false;
        if (ref) *ref = 0;
        return;
    }
    run.present() = true;
    if (any) *any = true;

    std::array<char, 80> first;
    textio::read_required(fm_unit, "(a)", first);
    std::int32_t type = 0;
    {
        // a line that ends before the type field reads it as blanks
        textio::In in(std::string_view(first.data(), static_cast<std::size_t>(geom::lenchr({first.data(), 80}))),
                      textio::fmt("(70x,i8)"), std::string(name) + ", line 1");
        in(type);
        in.required();
    }
    int skip = 4 + 2;
    if (has_breakdown(type)) skip += 6;
    if (has_extra_line(type)) skip += 1;
    for (int k = 0; k < skip; ++k) textio::skip_record_required(fm_unit);

    int i = 0;
    // the cases read so far reach the store however the file ends: at its
    // end, at a stop or at a failure
    struct StoreCases {
        FileCases& cases;
        const Run& run;
        const int& n;
        bool full;
        ~StoreCases() { cases.store(run, n, full); }
    } store_cases{cases, run, i, full};
    for (;;) {
        float speed = 0, heel = 0, yaw = 0, tab = 0, rudder = 0, sink = 0, trim = 0;
        std::int32_t ctype = 0;
        textio::Result r = textio::read(fm_unit, "(7f10.0,i8)", speed, heel, yaw, tab, rudder, sink, trim, ctype);
        if (r.status == textio::Status::end) break;
        if (!r) throw textio::failure_from(r);
        if (i == ncases) {
            textio::write(stdout_unit, "(2a)", "error ... more than 51 cases in ", name);
            textio::error_stop();
        }
        ++i;
        const Group wetted = value_line();
        const Group particulars = value_line();
        const Group aux = value_line();
        const Group hydro = value_line();
        std::array<Group, 6> parts{};
        if (has_breakdown(ctype))
            for (Group& g : parts) g = value_line();
        const Group viscous = value_line();
        const Group inviscid = value_line();
        if (has_extra_line(ctype)) value_line();
        if (ref && !has_breakdown(ctype)) *ref = 0;

        const float v = st.c(1) * speed;
        const float q = v * v * st.c(4) * 0.5f;
        cases.s(i, 1) = v * sc.sl;
        cases.s(i, 2) = heel;
        cases.s(i, 3) = yaw;
        cases.s(i, 4) = tab;
        cases.s(i, 5) = rudder;
        cases.s(i, 6) = sink * sc.l;
        cases.s(i, 7) = trim;
        for (int m = 0; m < 6; ++m) cases.s(i, 8 + m) = wetted[static_cast<std::size_t>(m)] * sc.l2;
        cases.s(i, 15) = particulars[0] * sc.l;
        cases.s(i, 14) = particulars[1] * sc.l2;
        cases.s(i, 17) = particulars[2];
        cases.s(i, 18) = particulars[3] * sc.l3;
        cases.s(i, 19) = particulars[4] * sc.l;
        cases.s(i, 20) = particulars[5] * sc.l4;
        put(cases, i, 21, forces(aux, factors(st, 6), q, sc));
        put(cases, i, 27, forces(hydro, factors(st, 10), q, sc));
        const Factors visc = factors(st, 14);
        const Group inv = force_areas(inviscid, factors(st, 19), q, sc);
        if (full) {
            // a case without breakdown stores zeros, whatever q is
            for (int p = 0; p < 6; ++p)
                put(cases, i, 60 + 6 * p,
                    has_breakdown(ctype) ? force_areas(parts[static_cast<std::size_t>(p)], visc, q, sc) : Group{});
            put(cases, i, 33, force_areas(viscous, visc, q, sc));
            put(cases, i, 39, inv);
            put(cases, i, 102, Group{});
        } else {
            // the wakes-off classes keep only the inviscid group
            put(cases, i, 33, inv);
            put(cases, i, 39, Group{});
        }
    }
    run.n() = i;
    textio::close(fm_unit);
    if (ref && i == 0) *ref = 0;
}

std::string fm_name(char cls, int j, int h) {
    const auto code = run_code(j);
    std::string name(1, cls);
    name += heel_code(h);
    name.append(code.data(), code.size());
    name += ".fm";
    return name;
}

// Most of the frame's files there: the classes' arrays are asked for in
// 2 MiB pages. Such a matrix touches nearly all of them, and on these
// machines the first touch of each 4 KiB page costs a fault of several
// microseconds, a fifth of a full run. A small matrix keeps 4 KiB pages
// and only ever holds the pages it uses.
void large_matrix_pages(Store& st) {
#ifdef MADV_HUGEPAGE
    constexpr int frame_files = nruns * nheels * 4;
    int present = 0;
    for (int h = 1; h <= nheels && 2 * present < frame_files; ++h)
        for (int j = 1; j <= nruns; ++j)
            for (char cls : {'r', 'k', 'w', 'n'}) present += ::access(fm_name(cls, j, h).c_str(), F_OK) == 0;
    if (2 * present < frame_files) return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto from = (reinterpret_cast<std::uintptr_t>(st.r.values.data()) + page - 1) & ~(page - 1);
    const auto to = reinterpret_cast<std::uintptr_t>(st.n.values.data() + st.n.values.size()) & ~(page - 1);
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);   // advice only
#else
    (void)st;
#endif
}

// The folder the files are looked for in, as the diagnostics name it.
std::string working_folder() {
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    return ec ? std::string(".") : here.string();
}

}  // namespace

void stfmin(Store& st) {
    large_matrix_pages(st);
    Scales sc;
    sc.l = st.c(5);
    sc.l2 = sc.l * sc.l;
    sc.l3 = sc.l * sc.l2;
    sc.l4 = sc.l2 * sc.l2;
    sc.sl = std::sqrt(sc.l);
    const std::int32_t breakdown = st.ci(4) < 0 ? 1 : 0;
    st.ivcmps = {breakdown, breakdown, breakdown};
    std::span<char> field = st.chr(81, 160);
    geom::blank(field, static_cast<int>(field.size()));
    st.r_any = false;
    st.k_any = false;
    auto cases = std::make_unique_for_overwrite<FileCases>();
    const auto read = [&](const Run& run, bool full, std::string_view name, std::int32_t* ref, bool* any) {
        read_file(st, sc, run, full, name, ref, any, *cases);
    };
    for (int h = 1; h <= st.ci(2); ++h)
        for (int j = 1; j <= st.ci(1); ++j) {
            const bool reference = j == 1 && h == 1;
            read(st.r.run(j, h), true, fm_name('r', j, h), reference ? &st.ivcmps[0] : nullptr, &st.r_any);
            read(st.k.run(j, h), true, fm_name('k', j, h), reference ? &st.ivcmps[1] : nullptr, &st.k_any);
            read(st.w.run(j, h), false, fm_name('w', j, h), nullptr, nullptr);
            read(st.n.run(j, h), false, fm_name('n', j, h), nullptr, nullptr);
            if (reference) {
                read(st.ku.run(), true, "ku.fm", &st.ivcmps[2], nullptr);
                read(st.nu.run(), false, "nu.fm", nullptr, nullptr);
            }
        }
}

void require_a_file(Store& st) {
    for (int h = 1; h <= st.ci(2); ++h)
        for (int j = 1; j <= st.ci(1); ++j)
            if (st.r.present(j, h) || st.k.present(j, h) || st.w.present(j, h) || st.n.present(j, h)) return;
    if (st.ku.flag || st.nu.flag) return;
    throw textio::Failure(fm_unit, fm_name('r', 1, 1), 0,
                          "no force-moment file of the deck's runs in '" + working_folder() +
                              "' (an r, k, w or n file of any heel and run, ku or nu)");
}

void require_a_table(Store& st) {
    // the wakes-off classes are only sources of corrections: every table
    // and zone file comes from r, k or ku
    if (st.r_any || st.k_any || st.ku.flag) return;
    textio::note_failure("no force-moment file of the deck's runs in '" + working_folder() +
                         "' gives a table (an r or k file of any heel and run, or ku, does; w, n and nu files do "
                         "not), nothing written");
}

}  // namespace hydrosum
