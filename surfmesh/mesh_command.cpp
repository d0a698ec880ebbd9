#include "mesh_command.hpp"

#include "dialogue.hpp"
#include "entity_types.hpp"
#include "store.hpp"
#include "surface.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace surfmesh {

namespace {

using textio::stdout_unit;

constexpr std::int32_t pts_max = 9;    // points a direction when every surface is meshed
constexpr std::int32_t num_max = 17;   // points a direction of a specified mesh

// The next specification, or the stop when the table is full.
int next_spec(int& iout) {
    ++iout;
    if (iout > ioutmx) {
        textio::write(stdout_unit, "(a,i5,a,i5)", " stopping ... iout=", std::int32_t{iout}, " > ioutmx=",
                      std::int32_t{ioutmx});
        textio::error_stop();
    }
    return iout;
}

// One mesh per entity of the type, uniform, titled with its label.
int all_meshes(const MeshCommand& c, Blocks& b) {
    Ispecs& is = b.ispecs;
    Rspecs& rs = b.rspecs;
    for (;;) {
        ask_numbers(" enter # of u and # of v points to define mesh: ", is.ipts, is.jpts);
        if (accept_or_refuse(is.ipts >= 2 && is.ipts <= pts_max && is.jpts >= 2 && is.jpts <= pts_max)) break;
        textio::write(stdout_unit, "(a,i5,a,i5)", "error: ipts<2 or ipts>", pts_max, " or jpts<2 or jpts>", pts_max);
    }
    const float d1i = 1.0f / static_cast<float>(is.ipts - 1);
    const float d1j = 1.0f / static_cast<float>(is.jpts - 1);
    int iout = 0;
    for (int e = 1; e <= b.deinfo.ient; ++e) {
        if (b.deinfo.type(e) != c.type) continue;
        const int k = next_spec(iout);
        is.irel(k) = k;
        Title& t = b.cspecs.title(k);
        t.fill(' ');
        std::copy(b.deinfo.label(e).begin(), b.deinfo.label(e).end(), t.begin());
        is.iflip(k) = is.jflip(k) = is.ijflip(k) = 0;
        is.inum(k) = is.ipts;
        is.jnum(k) = is.jpts;
        is.ndegi(k) = is.ndegj(k) = 1;
        rs.d1i1(k) = rs.d1i2(k) = d1i;
        rs.d1j1(k) = rs.d1j2(k) = d1j;
        rs.d2i1(k) = rs.d2i2(k) = rs.d2j1(k) = rs.d2j2(k) = 0.0f;
        is.irefit(k) = is.jrefit(k) = 0;
        is.i1clos(k) = is.i2clos(k) = is.j1clos(k) = is.j2clos(k) = 0;
    }
    return iout;
}

// Points, degree option and end terms of one direction; the terms are
// kept relative to the unit parameter interval.
void ask_direction(std::string_view question, std::string_view error, std::int32_t& num, std::int32_t& ndeg,
                   float& d1a, float& d1b, float& d2a, float& d2b) {
    for (;;) {
        ask_numbers(question, num, ndeg, d1a, d1b, d2a, d2b);
        if (accept_or_refuse(num >= 2 && num <= num_max)) break;
        textio::write(stdout_unit, "(a,i5)", error, num_max);
    }
    const float r = static_cast<float>(num - 1);
    d1a = d1a / r;
    d1b = d1b / r;
    d2a = d2a / (r * r);
    d2b = d2b / (r * r);
}

int specified_meshes(const MeshCommand& c, Blocks& b, int count) {
    Ispecs& is = b.ispecs;
    Rspecs& rs = b.rspecs;
    int iout = 0;
    for (;;) {
        std::int32_t rel = 0;
        do ask(c.question);
        while (!textio::read_answer_numbers(rel) || !accept_or_refuse(rel >= 0 && rel <= count));
        if (rel == 0) return iout;
        const int k = next_spec(iout);
        is.irel(k) = rel;
        ask(" enter mesh title: ");
        read_text(b.cspecs.title(k));
        ask_numbers(" enter iflip,jflip,ijflip: ", is.iflip(k), is.jflip(k), is.ijflip(k));
        ask_direction(" enter inum,ndegi,d1i1,d1i2,d2i1,d2i2: ", "error: inum<2 or inum>", is.inum(k), is.ndegi(k),
                      rs.d1i1(k), rs.d1i2(k), rs.d2i1(k), rs.d2i2(k));
        ask_direction(" enter jnum,ndegj,d1j1,d1j2,d2j1,d2j2: ", "error: jnum<2 or jnum>", is.jnum(k), is.ndegj(k),
                      rs.d1j1(k), rs.d1j2(k), rs.d2j1(k), rs.d2j2(k));
        ask_numbers(" enter irefit,jrefit: ", is.irefit(k), is.jrefit(k));
        ask_numbers(" enter i1clos,i2clos,j1clos,j2clos: ", is.i1clos(k), is.i2clos(k), is.j1clos(k), is.j2clos(k));
    }
}

// A menu asked until its answer lies in lo..hi.
std::int32_t choose(std::initializer_list<std::string_view> lines, std::string_view question, std::int32_t lo,
                    std::int32_t hi, std::int32_t& answer) {
    do {
        empty_line();
        menu(lines, question);
    } while (!textio::read_answer_numbers(answer) || !accept_or_refuse(answer >= lo && answer <= hi));
    return answer;
}

MeshFile open_mesh_file() {
    MeshFile f;
    choose({" new mesh file formats:", "", "    (1) plot3d", "    (2) tecplot", "    (3) marevo network",
            "    (4) gridgen mesh", ""},
           " enter new mesh file format: ", plot3d, gridgen, f.iform);
    FileName name;
    ask(" enter new mesh filename: ");
    textio::read_answer(name);
    open_output(mesh_unit, name, "mesh file");
    textio::rewind(mesh_unit);
    if (f.iform == plot3d)
        choose({" plot3d format options: ", "", "    (1) single grid", "    (2) multiple grid", ""},
               " enter plot3d format: ", 1, INT32_MAX, f.iplot3d);
    return f;
}

// The stop of the command that selects entities of the type, at its
// rel-th one.
[[noreturn]] void entity_stop(std::int32_t type, std::int32_t rel, std::string_view what) {
    textio::write(stdout_unit, "(a,i5,a)", " stopping ... iges " + std::to_string(type) + " entity #", rel, what);
    drop_scratch();
    textio::error_stop();
}

// A point that is not finite, from deep in a mesh_one to the command's
// loop, which words the stop: head names the part of the entity.
struct NotFinite {
    std::string head;
};

}  // namespace

void stop_unless_finite(std::string_view head, int ni, int nj, geom::Grid x, geom::Grid y, geom::Grid z) {
    for (int j = 1; j <= nj; ++j)
        for (int i = 1; i <= ni; ++i)
            if (!std::isfinite(x(i, j)) || !std::isfinite(y(i, j)) || !std::isfinite(z(i, j)))
                throw NotFinite{std::string(head)};
}

void mesh128(Blocks& b, int k, int e, const MeshFile& f) {
    Meshes& m = b.meshes;
    load_surface(b.deinfo, e, transforms_of(b.ispecs, b.rspecs, k), m);
    make_mesh(b.ispecs, b.rspecs, k, m);
    // a weight sum of 0 or an overflow in the data: stop before anything of it is written
    stop_unless_finite("", b.ispecs.inum(k), b.ispecs.jnum(k), Meshes::plane(m.x), Meshes::plane(m.y),
                       Meshes::plane(m.z));
    write_mesh(f, b.ispecs, b.cspecs, k, m);
}

namespace {

// The entries of the type, in table order, among those ordered by type.
auto of_type(const Deinfo& d, std::int32_t type) {
    const auto all = d.by_type.a.begin();
    return std::ranges::equal_range(all, all + d.ient, type, std::ranges::less{}, [&d](int e) { return d.type(e); });
}

}  // namespace

int count_type(const Deinfo& d, std::int32_t type) { return static_cast<int>(of_type(d, type).size()); }

int locate(const Deinfo& d, std::int32_t type, int rel) {
    const auto entries = of_type(d, type);
    return rel >= 1 && rel <= static_cast<int>(entries.size()) ? entries[rel - 1] : 0;
}

void mesh_command(const MeshCommand& c, Blocks& b) {
    empty_line();
    say(c.heading);
    const int count = count_type(b.deinfo, c.type);
    if (count == 0) return;

    Ispecs& is = b.ispecs;
    ask_numbers(" enter iyzflp (0/1): ", is.iyzflp);
    if (is.iyzflp != 1) is.iyzflp = 0;
    ask_numbers(" enter xscale,yscale,zscale: ", b.rspecs.xscale, b.rspecs.yscale, b.rspecs.zscale);
    choose({" all meshes or specified meshes option:", "", "    (0) all meshes",
            "    (1) specified meshes and mesh parameters", ""},
           " enter option: ", 0, 1, is.iopt);
    const int iout = is.iopt == 0 ? all_meshes(c, b) : specified_meshes(c, b, count);

    const MeshFile f = open_mesh_file();
    Announced announced;
    announced.a.fill(true);
    if (f.iform == plot3d && c.writes_mesh != nullptr)
        for (int k = 1; k <= iout; ++k)
            // an entity not found stops the loop below in its place
            if (const int e = locate(b.deinfo, c.type, is.irel(k)); e != 0) announced(k) = c.writes_mesh(b, k, e);
    write_header(f, iout, is, announced);
    for (int k = 1; k <= iout; ++k) {
        const int e = locate(b.deinfo, c.type, is.irel(k));
        if (e == 0) entity_stop(c.type, is.irel(k), " not found");
        try {
            c.mesh_one(b, k, e, f);
        } catch (const NotFinite& n) {
            entity_stop(c.type, is.irel(k), n.head + " gives a point that is not finite");
        }
    }
    textio::close(mesh_unit);
}

void mesh128s(Blocks& b) {
    mesh_command({surface_type, " output specified 128 entities to new mesh file",
                  " enter relative iges 128 entity number: ", mesh128},
                 b);
}

}  // namespace surfmesh
