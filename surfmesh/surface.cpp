#include "surface.hpp"

#include "bspline.hpp"
#include "lib/arcs.hpp"
#include "lib/curves.hpp"
#include "store.hpp"
#include "textio/textio.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>
#include <utility>

namespace surfmesh {

namespace {

constexpr int delimiter_cols = 64;   // where a parameter line may hold its ";"
// Rows and columns shorter than these keep their parameters in a refit.
constexpr float row_min_length = 1.0e-6f;
constexpr float column_min_length = 1.0e-5f;

void limit_stop(const Surface& s) {
    textio::write(textio::stdout_unit, "(1x,a,//,1x,a,/,1x,4i5,//,1x,a,/,1x,4i5)",
                  " stopping for insufficient array size", "    kk   kk   mm   mm", kk, kk, mm, mm,
                  "    k1   k2   m1   m2", s.k1, s.k2, s.m1, s.m2);
    drop_scratch();
    textio::error_stop();
}

bool fits(const Surface& s) {
    // below 0 the counts would index before the arrays
    return s.k1 >= 0 && s.k1 <= kk && s.k2 >= 0 && s.k2 <= kk && s.m1 >= 0 && s.m1 <= mm && s.m2 >= 0 &&
           s.m2 <= mm;
}

template <class Head>
void read_head(textio::In& in, Head& s) {
    in(s.itype)(s.k1)(s.k2)(s.m1)(s.m2);
    for (std::int32_t& p : s.prop) in(p);
}

// The knots of a reversed direction, c minus the old ones in reverse
// order with c the sum of the end knots, and its range likewise.
void flip_knots(float* t, int n, float c, float& lo, float& hi) {
    for (int a = 0, b = n - 1; a <= b; ++a, --b) {
        const float ta = t[a], tb = t[b];
        t[a] = c - tb;
        t[b] = c - ta;
    }
    const float old_lo = lo;
    lo = c - hi;
    hi = c - old_lo;
}

// Exchanges control columns i and ncu+1-i (flip_u) or rows j and ncv+1-j.
void reverse_net(Meshes& m, bool flip_u) {
    const int ncu = m.surf.ncu, ncv = m.surf.ncv;
    for (Net* a : {&m.W, &m.X, &m.Y, &m.Z}) {
        geom::Grid g = Meshes::net(*a);
        if (flip_u) {
            for (int i = 1; i <= ncu / 2; ++i)
                for (int j = 1; j <= ncv; ++j) std::swap(g(i, j), g(ncu + 1 - i, j));
        } else {
            for (int j = 1; j <= ncv / 2; ++j)
                for (int i = 1; i <= ncu; ++i) std::swap(g(i, j), g(i, ncv + 1 - j));
        }
    }
}

void swap_uv(Meshes& m) {
    Surface& s = m.surf;
    const int ncu = s.ncu, ncv = s.ncv;
    std::swap(s.k1, s.k2);
    std::swap(s.m1, s.m2);
    std::swap(s.prop[0], s.prop[1]);
    std::swap(s.prop[3], s.prop[4]);
    std::swap(s.ncu, s.ncv);
    std::swap(s.nks, s.nkt);
    std::swap(s.u0, s.v0);
    std::swap(s.u1, s.v1);
    std::swap(m.S, m.T);
    // the net transposed through a packed copy
    for (Net* a : {&m.W, &m.X, &m.Y, &m.Z}) {
        geom::Grid g = Meshes::net(*a);
        for (int j = 1; j <= ncv; ++j)
            for (int i = 1; i <= ncu; ++i) m.wk[static_cast<std::size_t>((i - 1) + (j - 1) * ncu)] = g(i, j);
        for (int j = 1; j <= ncu; ++j)
            for (int i = 1; i <= ncv; ++i) g(i, j) = m.wk[static_cast<std::size_t>((j - 1) + (i - 1) * ncu)];
    }
}

bool in_order(const float* t, int n) {
    for (int i = 1; i < n; ++i)
        if (!(t[i - 1] <= t[i])) return false;
    return true;
}

float net_at(const Net& a, int i, int j) { return a[static_cast<std::size_t>((i - 1) + (j - 1) * ncmax)]; }

// The lanes at v of rows su.first..su.last into m.rows: the rows not yet
// known at this v are evaluated along v together, the others kept.
void rows_at_v(Meshes& m, const Span& su, const Span& sv, float v) {
    RowsAtV& rows = m.rows;
    if (const std::uint32_t bits = std::bit_cast<std::uint32_t>(v); rows.generation == 0 || rows.v_bits != bits) {
        ++rows.generation;
        rows.v_bits = bits;
    }
    std::array<int, nwork> missing;
    int count = 0;
    for (int r = su.first; r <= su.last; ++r)
        if (!rows.known(r)) missing[static_cast<std::size_t>(count++)] = r;
    if (count == 0) return;
    // as span_values takes them: coefficient by coefficient, the missing rows' lanes side by side
    std::array<float, nwork * nwork * lane::count> coef;
    for (int q = sv.first; q <= sv.last; ++q)
        for (int c = 0; c < count; ++c) {
            const int r = missing[static_cast<std::size_t>(c)];
            float* f = &coef[static_cast<std::size_t>(((q - sv.first) * count + c) * lane::count)];
            const float w = net_at(m.W, r, q);
            f[lane::weight] = w;
            f[lane::wx] = net_at(m.X, r, q) * w;
            f[lane::wy] = net_at(m.Y, r, q) * w;
            f[lane::wz] = net_at(m.Z, r, q) * w;
        }
    std::array<float, nwork * lane::count> along_v;
    span_values(sv, count * lane::count, coef.data(), along_v.data());
    for (int c = 0; c < count; ++c) {
        const int r = missing[static_cast<std::size_t>(c)];
        std::copy_n(&along_v[static_cast<std::size_t>(c * lane::count)], lane::count, rows.row(r));
        rows.stamp[static_cast<std::size_t>(r - 1)] = rows.generation;
    }
}

// The point at (u, v) in two steps: the rows of its u span at v, then
// their combination along u. bvalue over whole rows reads no other
// coefficients, so the point is tensor's, bit for bit.
// Taken only where a knot search finds the same interval from any start
// (knots in order, u and v inside them), so that the next search starts
// where tensor's would; elsewhere false, and nothing changed.
bool spanned_point(Meshes& m, float u, float v, float& x, float& y, float& z) {
    const Surface& s = m.surf;
    if (!s.knots_in_order) return false;
    Span su, sv;
    int ilo = m.bw.ilo;
    span_of(m.T.data(), s.ncv, s.m2 + 1, v, ilo, sv);
    span_of(m.S.data(), s.ncu, s.m1 + 1, u, ilo, su);
    if (su.mflag != 0 || sv.mflag != 0) return false;
    m.bw.ilo = ilo;   // tensor's last search is along u too
    rows_at_v(m, su, sv, v);
    float p[lane::count];
    span_values(su, lane::count, m.rows.row(su.first), p);
    x = p[lane::wx] / p[lane::weight];
    y = p[lane::wy] / p[lane::weight];
    z = p[lane::wz] / p[lane::weight];
    return true;
}

// One coordinate function at (u, v): v along each control row, then u.
// coord null: the weights alone (the weight sum).
float tensor(Meshes& m, const Net* coord, float u, float v) {
    const Surface& s = m.surf;
    float* row = coord ? m.bcp.data() : m.bcw.data();
    for (int r = 1; r <= s.ncu; ++r) {
        for (int q = 1; q <= s.ncv; ++q)
            row[q - 1] = coord ? net_at(*coord, r, q) * net_at(m.W, r, q) : net_at(m.W, r, q);
        m.bcu[static_cast<std::size_t>(r - 1)] = bvalue(m.T.data(), row, s.ncv, s.m2 + 1, v, 0, m.bw);
    }
    return bvalue(m.S.data(), m.bcu.data(), s.ncu, s.m1 + 1, u, 0, m.bw);
}

// One line's distribution of specification k, in i or in j.
struct LineSpec {
    int n, ndeg;
    float d1a, d1b, d2a, d2b;
    void fill(geom::Vec s) const { geom::poly(s, n, ndeg, d1a, d1b, d2a, d2b); }
};

LineSpec i_spec(const Ispecs& is, const Rspecs& rs, int k) {
    return {is.inum(k), is.ndegi(k), rs.d1i1(k), rs.d1i2(k), rs.d2i1(k), rs.d2i2(k)};
}

LineSpec j_spec(const Ispecs& is, const Rspecs& rs, int k) {
    return {is.jnum(k), is.ndegj(k), rs.d1j1(k), rs.d1j2(k), rs.d2j1(k), rs.d2j2(k)};
}

struct Closures {
    bool i1, i2, j1, j2;
};

void evaluate(Meshes& m, int inum, int jnum, const Closures& c) {
    const Surface& s = m.surf;
    geom::Grid x = Meshes::plane(m.x), y = Meshes::plane(m.y), z = Meshes::plane(m.z);
    geom::Grid uu = Meshes::plane(m.uu), vv = Meshes::plane(m.vv);
    const float cu = range_end(s.u0, s.u1);
    const float cv = range_end(s.v0, s.v1);
    for (int j = 1; j <= jnum; ++j)
        for (int i = 1; i <= inum; ++i)
            point_within_knots(m, at_most(uu(i, j), cu), at_most(vv(i, j), cv), x(i, j), y(i, j), z(i, j));
    if (c.i1)
        for (int j = 1; j <= jnum; ++j) z(1, j) = 0.0f;
    if (c.i2)
        for (int j = 1; j <= jnum; ++j) z(inum, j) = 0.0f;
    if (c.j1)
        for (int i = 1; i <= inum; ++i) z(i, 1) = 0.0f;
    if (c.j2)
        for (int i = 1; i <= inum; ++i) z(i, jnum) = 0.0f;
}

// Redistributes both parameter grids along every line in one direction so
// that the points follow the distribution in chord length.
void refit(Meshes& m, const LineSpec& along, int lines, bool rows, float min_length) {
    geom::Grid x = Meshes::plane(m.x), y = Meshes::plane(m.y), z = Meshes::plane(m.z);
    geom::Grid first = Meshes::plane(rows ? m.uu : m.vv), second = Meshes::plane(rows ? m.vv : m.uu);
    const int n = along.n;
    for (int l = 1; l <= lines; ++l) {
        auto at = [&](geom::Grid g, int p) -> float& { return rows ? g(p, l) : g(l, p); };
        for (int p = 1; p <= n; ++p) {
            m.xl[static_cast<std::size_t>(p - 1)] = at(x, p);
            m.yl[static_cast<std::size_t>(p - 1)] = at(y, p);
            m.zl[static_cast<std::size_t>(p - 1)] = at(z, p);
        }
        geom::arc3(m.xl.data(), m.yl.data(), m.zl.data(), m.sl.data(), n);
        const float length = m.sl[static_cast<std::size_t>(n - 1)];
        if (!(length >= min_length)) continue;
        along.fill(m.tl.data());
        for (int p = 0; p < n; ++p) m.tl[static_cast<std::size_t>(p)] = length * m.tl[static_cast<std::size_t>(p)];
        for (geom::Grid g : {first, second}) {
            for (int p = 1; p <= n; ++p) m.pl[static_cast<std::size_t>(p - 1)] = at(g, p);
            geom::intrp1(m.sl.data(), m.pl.data(), n, m.tl.data(), m.pn.data(), n);
            for (int p = 1; p <= n; ++p) at(g, p) = m.pn[static_cast<std::size_t>(p - 1)];
        }
    }
}

}  // namespace

void entity_to_scratch(const Deinfo& d, int e) {
    const std::int32_t pointer = d.field(e, f_pointer);
    // straight to the entry's lines where the reader noted them; from the
    // start, line by line, where they lie past the end of the section
    const bool noted = d.parameter_at(e) >= 0;
    if (noted)
        textio::seek(parameter_unit, {d.parameter_at(e), pointer - 1L});
    else
        textio::rewind(parameter_unit);
    create_scratch(entity_unit, textio::Access::scratch);
    // fort.21 made before the skip: a section too short ends the run with it there, as it always has
    if (!noted)
        for (long p = 1; p < pointer; ++p) textio::skip_record_required(parameter_unit);
    Record line;
    for (int c = 1; c <= d.field(e, f_lines); ++c) {
        textio::read_record_required(parameter_unit, line);
        const std::string_view head(line.data(), delimiter_cols);
        const std::size_t semi = head.find(';');
        if (semi == 0) continue;
        textio::write_record(entity_unit, head.substr(0, semi));
    }
    textio::rewind(entity_unit);
}

void drop_scratch() { textio::close(entity_unit, textio::Disposition::remove); }

Transforms transforms_of(const Ispecs& is, const Rspecs& rs, int k) {
    return {is.iyzflp, rs.xscale, rs.yscale, rs.zscale, is.iflip(k), is.jflip(k), is.ijflip(k)};
}

void load_surface(const Deinfo& d, int e, const Transforms& t, Meshes& m) {
    Surface& s = m.surf;
    entity_to_scratch(d, e);
    {
        textio::In in(entity_unit, textio::list_directed);
        read_head(in, s);
        in.required();
    }
    if (!fits(s)) limit_stop(s);
    s.ncu = s.k1 + 1;
    s.ncv = s.k2 + 1;
    s.nks = s.k1 + s.m1 + 2;
    s.nkt = s.k2 + s.m2 + 2;

    textio::rewind(entity_unit);
    {
        textio::In in(entity_unit, textio::list_directed);
        read_head(in, s);
        in(std::span<float>(m.S.data(), static_cast<std::size_t>(s.nks)));
        in(std::span<float>(m.T.data(), static_cast<std::size_t>(s.nkt)));
        geom::Grid w = Meshes::net(m.W), x = Meshes::net(m.X), y = Meshes::net(m.Y), z = Meshes::net(m.Z);
        for (int j = 1; j <= s.ncv; ++j)
            for (int i = 1; i <= s.ncu; ++i) in(w(i, j));
        for (int j = 1; j <= s.ncv; ++j)
            for (int i = 1; i <= s.ncu; ++i) in(x(i, j))(y(i, j))(z(i, j));
        in(s.u0)(s.u1)(s.v0)(s.v1);
        in.required();
    }
    drop_scratch();
    transform_surface(t, m);   // which forgets the rows known of the last surface
}

void transform_surface(const Transforms& t, Meshes& m) {
    Surface& s = m.surf;
    s.u_mirror = m.S[0] + m.S[static_cast<std::size_t>(s.nks - 1)];
    s.v_mirror = m.T[0] + m.T[static_cast<std::size_t>(s.nkt - 1)];
    geom::Grid x = Meshes::net(m.X), y = Meshes::net(m.Y), z = Meshes::net(m.Z);
    for (int j = 1; j <= s.ncv; ++j)
        for (int i = 1; i <= s.ncu; ++i) {
            if (t.iyzflp == 1) std::swap(y(i, j), z(i, j));
            x(i, j) = x(i, j) * t.xscale;
            y(i, j) = y(i, j) * t.yscale;
            z(i, j) = z(i, j) * t.zscale;
        }
    if (t.iflip != 0) {
        reverse_net(m, true);
        flip_knots(m.S.data(), s.nks, s.u_mirror, s.u0, s.u1);
    }
    if (t.jflip == 1) {
        reverse_net(m, false);
        flip_knots(m.T.data(), s.nkt, s.v_mirror, s.v0, s.v1);
    }
    if (t.ijflip == 1) swap_uv(m);
    s.knots_in_order = in_order(m.S.data(), s.nks) && in_order(m.T.data(), s.nkt);
    m.rows.clear();   // the net is new, or changed: no row known at any v holds
}

void surface_point(Meshes& m, float u, float v, float& x, float& y, float& z) {
    if (spanned_point(m, u, v, x, y, z)) return;
    const float wsum = tensor(m, nullptr, u, v);
    x = tensor(m, &m.X, u, v) / wsum;
    y = tensor(m, &m.Y, u, v) / wsum;
    z = tensor(m, &m.Z, u, v) / wsum;
}

float range_end(float lo, float hi) { return hi - (hi - lo) * end_offset; }

void point_within_knots(Meshes& m, float u, float v, float& x, float& y, float& z) {
    const Surface& s = m.surf;
    surface_point(m, inside_knots(u, m.S[0], m.S[static_cast<std::size_t>(s.nks - 1)]),
                  inside_knots(v, m.T[0], m.T[static_cast<std::size_t>(s.nkt - 1)]), x, y, z);
}

void make_mesh(const Ispecs& is, const Rspecs& rs, int k, Meshes& m) {
    const Surface& s = m.surf;
    const LineSpec ispec = i_spec(is, rs, k), jspec = j_spec(is, rs, k);
    const int inum = ispec.n, jnum = jspec.n;
    geom::Grid uu = Meshes::plane(m.uu), vv = Meshes::plane(m.vv);
    ispec.fill(m.si.data());
    jspec.fill(m.sj.data());
    for (int j = 1; j <= jnum; ++j)
        for (int i = 1; i <= inum; ++i) {
            uu(i, j) = (s.u1 - s.u0) * m.si[static_cast<std::size_t>(i - 1)] + s.u0;
            vv(i, j) = (s.v1 - s.v0) * m.sj[static_cast<std::size_t>(j - 1)] + s.v0;
        }
    const Closures c{is.i1clos(k) != 0, is.i2clos(k) != 0, is.j1clos(k) != 0, is.j2clos(k) != 0};
    const std::int64_t irefit = is.irefit(k), jrefit = is.jrefit(k);
    evaluate(m, inum, jnum, c);
    for (std::int64_t p = 1; p <= irefit || p <= jrefit; ++p) {
        if (p <= irefit) refit(m, ispec, jnum, true, row_min_length);
        if (p <= jrefit) refit(m, jspec, inum, false, column_min_length);
        evaluate(m, inum, jnum, c);
    }
}

}  // namespace surfmesh
