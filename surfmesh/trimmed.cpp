// Menu option 5: the base surface of each chosen trimmed surface (type
// 144), meshed as option 4 meshes a type-128 surface, then its outer
// trimming boundary (142 -> 102 -> 126 segments), each segment sampled,
// carried onto the surface and written as a mesh of two equal rows.

#include "bspline.hpp"
#include "commands.hpp"
#include "dialogue.hpp"
#include "entity_types.hpp"
#include "lib/curves.hpp"
#include "mesh_command.hpp"
#include "store.hpp"
#include "surface.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

namespace surfmesh {

namespace {

using textio::stdout_unit;

// A segment lies on an edge of the parameter rectangle when all its control
// points are within this fraction of the range from it.
constexpr float edge_tolerance = 1.0e-6f;

// What is used of a trimmed surface's parameter data.
struct Trimmed {
    std::int32_t itype = 0, pts = 0, n1 = 0, n2 = 0, pto = 0;
};

// What a segment's parameter data holds besides its arrays.
struct Segment {
    std::int32_t iges = 0, kc = 0, mc = 0, icplan = 0, icopen = 0, icrat = 0, icper = 0;
    float uc0 = 0.0f, uc1 = 0.0f;

    int kcp() const { return kc + 1; }   // control points
    int ncap() const { return kc + mc + 2; }   // knots
    // below 0 the counts would index before the arrays
    bool fits() const { return kc >= 0 && kc <= kkc && mc >= 0 && mc <= mmc; }
};

// The entry a directory pointer names, (p+1)/2, when it is of the type;
// 0 when it is not, or lies outside the table.
int entry_of_type(const Deinfo& d, std::int32_t p, std::int32_t type) {
    const std::int64_t e = (std::int64_t{p} + 1) / 2;
    return e >= 1 && e <= d.ient && d.type(static_cast<int>(e)) == type ? static_cast<int>(e) : 0;
}

Trimmed read_trimmed(const Deinfo& d, int e) {
    Trimmed t;
    entity_to_scratch(d, e);
    {
        textio::In in(entity_unit, textio::list_directed);
        in(t.itype)(t.pts)(t.n1)(t.n2)(t.pto);
        std::int32_t pti = 0;   // interior boundaries are read past
        for (std::int32_t k = 0; k < t.n2 && in.ok(); ++k) in(pti);
        in.required();
    }
    drop_scratch();
    return t;
}

// The PLOT3D pre-pass: whether specification k's base surface will be meshed.
bool base_is_surface(Blocks& b, int, int e) {
    return entry_of_type(b.deinfo, read_trimmed(b.deinfo, e).pts, surface_type) != 0;
}

void read_head(textio::In& in, Segment& h) { in(h.iges)(h.kc)(h.mc)(h.icplan)(h.icopen)(h.icrat)(h.icper); }

// The first n elements of an array.
template <class A>
auto first(A& a, int n) {
    return std::span(a).first(static_cast<std::size_t>(n));
}

// The segment of entry e into curves; stops the program, fort.21 deleted,
// when it does not fit the arrays.
Segment read_segment(const Deinfo& d, int e, Curves& c) {
    Segment h;
    entity_to_scratch(d, e);
    {
        textio::In in(entity_unit, textio::list_directed);
        read_head(in, h);
        in.required();
    }
    if (!h.fits()) {
        textio::write(stdout_unit, "(1x,a,//,1x,a,/,1x,2i5,//,1x,a,/,1x,2i5)", " stopping for insufficient array size",
                      "   kkc  mmc", kkc, mmc, "    kc   mc", h.kc, h.mc);
        drop_scratch();
        textio::error_stop();
    }
    textio::rewind(entity_unit);
    {
        textio::In in(entity_unit, textio::list_directed);
        read_head(in, h);
        in(first(c.sc, h.ncap()))(first(c.wc, h.kcp()));
        for (int i = 0; i < h.kcp(); ++i) in(c.xcc[i])(c.ycc[i])(c.zcc[i]);
        in(h.uc0)(h.uc1);
        in.required();
    }
    drop_scratch();
    return h;
}

// The control points follow the flips and the swap of the surface.
void carry(const Transforms& t, const Surface& s, Curves& c, int kcp) {
    for (int i = 0; i < kcp; ++i) {
        if (t.iflip != 0) c.xcc[i] = s.u_mirror - c.xcc[i];
        if (t.jflip == 1) c.ycc[i] = s.v_mirror - c.ycc[i];
        if (t.ijflip == 1) std::swap(c.xcc[i], c.ycc[i]);
    }
}

// All control points on one edge of the parameter rectangle.
bool on_edge(const Surface& s, const Curves& c, int kcp) {
    const float tu = std::fabs(s.u1 - s.u0) * edge_tolerance, tv = std::fabs(s.v1 - s.v0) * edge_tolerance;
    auto all_at = [kcp](const CurveArray& a, float edge, float tol) {
        for (int i = 0; i < kcp; ++i)
            if (!(std::fabs(a[i] - edge) <= tol)) return false;
        return true;
    };
    return all_at(c.xcc, s.u0, tu) || all_at(c.xcc, s.u1, tu) || all_at(c.ycc, s.v0, tv) || all_at(c.ycc, s.v1, tv);
}

void account(const Segment& h, const Curves& c) {
    empty_line();
    textio::write_list(stdout_unit, " parameter data has been read");
    textio::write_list(stdout_unit, "iges,kc,mc,icplan,icopen,icrat,icper");
    textio::write_list(stdout_unit, h.iges, h.kc, h.mc, h.icplan, h.icopen, h.icrat, h.icper);
    textio::write_list(stdout_unit, "(sc(i),i=1,ncap)");
    textio::write_list(stdout_unit, first(c.sc, h.ncap()));
    textio::write_list(stdout_unit, "(wc(i),i=1,kcp)");
    textio::write_list(stdout_unit, first(c.wc, h.kcp()));
    textio::write_list(stdout_unit, "(xcc(i),ycc(i),zcc(i),i=1,kcp)");
    {
        textio::Out o(stdout_unit, textio::list_directed);
        for (int i = 0; i < h.kcp(); ++i) o(c.xcc[i])(c.ycc[i])(c.zcc[i]);
        o.end();
    }
    textio::write_list(stdout_unit, "uc0,uc1");
    textio::write_list(stdout_unit, h.uc0, h.uc1);
}

// nc points along the segment, evenly in its parameter, carried onto the
// surface as specification k meshes it; every step on the screen.
int sample(const Ispecs& is, int k, const Segment& h, Meshes& m, Curves& c) {
    const Surface& s = m.surf;
    const int kcp = h.kcp(), order = h.mc + 1;
    const int nc = std::max(is.inum(k), is.jnum(k));
    const float d1 = 1.0f / static_cast<float>(nc - 1);
    geom::poly(c.tc.data(), nc, 1, d1, d1, 0.0f, 0.0f);
    for (int i = 0; i < nc; ++i) c.uc[i] = h.uc0 + (h.uc1 - h.uc0) * c.tc[i];
    const float end = range_end(h.uc0, h.uc1), cu = range_end(s.u0, s.u1), cv = range_end(s.v0, s.v1);
    // the rational value of the weighted coordinate a along the segment
    auto along = [&](const CurveArray& a, float u, float ration) {
        for (int i = 0; i < kcp; ++i) c.wkc[i] = c.wc[i] * a[i];
        return bvalue(c.sc.data(), c.wkc.data(), kcp, order, u, 0, c.bw) / ration;
    };
    for (int ii = 0; ii < nc; ++ii) {
        textio::write_list(stdout_unit, "ii=", std::int32_t{ii + 1});
        float u = at_most(c.uc[ii], end);
        textio::write_list(stdout_unit, "u=", u);
        const float uk = inside_knots(u, c.sc[0], c.sc[static_cast<std::size_t>(h.ncap() - 1)]);
        const float ration = bvalue(c.sc.data(), c.wc.data(), kcp, order, uk, 0, c.bw);
        textio::write_list(stdout_unit, "ration=", ration);
        c.cx[ii] = along(c.xcc, uk, ration);
        textio::write_list(stdout_unit, "cx(ii)=", c.cx[ii]);
        c.cy[ii] = along(c.ycc, uk, ration);
        textio::write_list(stdout_unit, "cy(ii)=", c.cy[ii]);
        u = at_most(c.cx[ii], cu);
        textio::write_list(stdout_unit, "u=", u);
        const float v = at_most(c.cy[ii], cv);
        textio::write_list(stdout_unit, "v=", v);
        point_within_knots(m, u, v, c.cx[ii], c.cy[ii], c.cz[ii]);
        // a point on a closed edge of the surface mesh shares its z = 0
        if ((is.i1clos(k) != 0 && u == s.u0) || (is.i2clos(k) != 0 && u == cu) || (is.j1clos(k) != 0 && v == s.v0) ||
            (is.j2clos(k) != 0 && v == cv))
            c.cz[ii] = 0.0f;
    }
    return nc;
}

// One segment of the outer boundary of specification k.
void segment(Blocks& b, int k, std::int32_t pointer, const MeshFile& f) {
    Curves& c = b.curves;
    const int e = entry_of_type(b.deinfo, pointer, segment_type);
    if (e == 0) return say(" warning ... segment in compound curve must be a 126 type entity");
    const Segment h = read_segment(b.deinfo, e, c);
    carry(transforms_of(b.ispecs, b.rspecs, k), b.meshes.surf, c, h.kcp());
    if (on_edge(b.meshes.surf, c, h.kcp())) return;
    account(h, c);
    const int nc = sample(b.ispecs, k, h, b.meshes, c);
    textio::write_list(stdout_unit, " mesh computed");
    if (f.iform == plot3d) return;   // a PLOT3D file holds the surfaces alone
    const geom::Grid x(c.cx.data(), 0), y(c.cy.data(), 0), z(c.cz.data(), 0);   // the row twice
    stop_unless_finite(" boundary", nc, 1, x, y, z);
    const Title& title = b.cspecs.title(k);
    write_block(f.iform, std::string_view(title.data(), title.size()), nc, 2, x, y, z);
}

// The outer trimming boundary of specification k, after its surface.
void outer_boundary(Blocks& b, int k, const Trimmed& t, const MeshFile& f) {
    const Deinfo& d = b.deinfo;
    if (t.n1 == 0) return;   // the boundary of the parameter rectangle
    const int on_surface = entry_of_type(d, t.pto, on_surface_type);
    if (on_surface == 0) return say(" warning ... trimming curve must be a 142 type entity");
    std::int32_t iges = 0, crtn = 0, sptr = 0, bptr = 0, cptr = 0, pref = 0;
    entity_to_scratch(d, on_surface);
    textio::read_list_required(entity_unit, iges, crtn, sptr, bptr, cptr, pref);
    drop_scratch();
    if (pref != 1 && pref != 3) return say(" warning ... trimming curve must be of S*B type");
    const int composite = entry_of_type(d, bptr, composite_type);
    if (composite == 0) return say(" warning ... trimming curve must be a 102 type entity");

    std::int32_t n = 0;
    entity_to_scratch(d, composite);
    textio::read_list_required(entity_unit, iges, n);
    if (n > maxseg) {
        drop_scratch();
        return say(" warning ... too many segments in compound curve");
    }
    textio::rewind(entity_unit);
    {
        textio::In in(entity_unit, textio::list_directed);
        in(iges)(n);
        for (int s = 1; s <= n; ++s) in(b.curves.iseg(s));
        in.required();
    }
    drop_scratch();
    for (int s = 1; s <= n; ++s) segment(b, k, b.curves.iseg(s), f);
}

// Specification k of trimmed-surface entry e: its base surface, then its boundary.
void mesh144(Blocks& b, int k, int e, const MeshFile& f) {
    const Trimmed t = read_trimmed(b.deinfo, e);
    if (t.n2 > 0) say(" warning ... interior trimming curves not operational");
    const int base = entry_of_type(b.deinfo, t.pts, surface_type);
    if (base == 0) return say(" warning ... surface must be a 128 type entity");
    mesh128(b, k, base, f);
    outer_boundary(b, k, t, f);
}

}  // namespace

void mesh144s(Blocks& b) {
    mesh_command({trimmed_type, " output specified 144 entities to new mesh file",
                  " enter relative iges 144 entity number: ", mesh144, base_is_surface},
                 b);
}

}  // namespace surfmesh
