// The transforms of a loaded surface and the mesh made from it:
// distributions, clamps, refit passes and edge closures.

#include "surfmesh/surface.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using surfmesh::Ispecs;
using surfmesh::Meshes;
using surfmesh::Rspecs;
using surfmesh::Transforms;

struct Case {
    std::unique_ptr<Meshes> m = std::make_unique<Meshes>();
    std::unique_ptr<Ispecs> is = std::make_unique<Ispecs>();
    std::unique_ptr<Rspecs> rs = std::make_unique<Rspecs>();

    // A control net of ncu x ncv points of order m1+1, m2+1 on the given knots.
    void surface(int m1, int m2, std::vector<float> s, std::vector<float> t)
    {
        auto& f = m->surf;
        f.m1 = m1;
        f.m2 = m2;
        f.nks = static_cast<int>(s.size());
        f.nkt = static_cast<int>(t.size());
        f.ncu = f.nks - m1 - 1;
        f.ncv = f.nkt - m2 - 1;
        f.k1 = f.ncu - 1;
        f.k2 = f.ncv - 1;
        std::copy(s.begin(), s.end(), m->S.begin());
        std::copy(t.begin(), t.end(), m->T.begin());
        f.u0 = s.front(), f.u1 = s.back(), f.v0 = t.front(), f.v1 = t.back();
        for (int j = 1; j <= f.ncv; ++j)
            for (int i = 1; i <= f.ncu; ++i) W(i, j) = 1.0f;
    }
    float& W(int i, int j) { return Meshes::net(m->W)(i, j); }
    float& X(int i, int j) { return Meshes::net(m->X)(i, j); }
    float& Y(int i, int j) { return Meshes::net(m->Y)(i, j); }
    float& Z(int i, int j) { return Meshes::net(m->Z)(i, j); }
    float x(int i, int j) { return Meshes::plane(m->x)(i, j); }
    float y(int i, int j) { return Meshes::plane(m->y)(i, j); }
    float z(int i, int j) { return Meshes::plane(m->z)(i, j); }
    float uu(int i, int j) { return Meshes::plane(m->uu)(i, j); }
    float vv(int i, int j) { return Meshes::plane(m->vv)(i, j); }

    // Specification 1: uniform inum x jnum points.
    void uniform(int inum, int jnum)
    {
        is->inum(1) = inum;
        is->jnum(1) = jnum;
        is->ndegi(1) = is->ndegj(1) = 1;
    }
    void mesh() { surfmesh::make_mesh(*is, *rs, 1, *m); }
};

// The flat bilinear patch of the corners (0,0,0), (1,0,0), (0,1,0), (1,1,0).
Case bilinear()
{
    Case c;
    c.surface(1, 1, {0, 0, 1, 1}, {0, 0, 1, 1});
    for (int j = 1; j <= 2; ++j)
        for (int i = 1; i <= 2; ++i) {
            c.X(i, j) = static_cast<float>(i - 1);
            c.Y(i, j) = static_cast<float>(j - 1);
            c.Z(i, j) = 0.0f;
        }
    return c;
}

// Quadratic in u and in v with uneven parameterisation, scaled to size.
Case uneven(float size)
{
    Case c;
    c.surface(2, 2, {0, 0, 0, 1, 1, 1}, {0, 0, 0, 1, 1, 1});
    const float at[] = {0.0f, 0.1f, 1.0f};
    for (int j = 1; j <= 3; ++j)
        for (int i = 1; i <= 3; ++i) {
            c.X(i, j) = size * at[i - 1];
            c.Y(i, j) = size * at[j - 1];
            c.Z(i, j) = size * 0.3f * at[i - 1] * at[j - 1];
        }
    return c;
}

TEST(Transforms, UFlipMirrorsKnotsRangeAndColumns)
{
    struct Flip {
        std::vector<float> knots, want;
    };
    const Flip flips[] = {{{0, 0, 0, 0, 0.3f, 1, 1, 1, 1}, {0, 0, 0, 0, 0.7f, 1, 1, 1, 1}},
                          {{0, 0, 0, 0.25f, 0.5f, 1, 1, 1}, {0, 0, 0, 0.5f, 0.75f, 1, 1, 1}}};
    for (const Flip& f : flips) {
        Case c;
        c.surface(3, 1, f.knots, {0, 0, 1, 1});
        const int ncu = c.m->surf.ncu;
        for (int i = 1; i <= ncu; ++i) c.X(i, 2) = static_cast<float>(i);
        c.m->surf.u0 = 0.2f;
        surfmesh::transform_surface({0, 1, 1, 1, 2, 0, 0}, *c.m);   // any nonzero iflip flips
        for (std::size_t k = 0; k < f.want.size(); ++k) EXPECT_FLOAT_EQ(c.m->S[k], f.want[k]) << k;
        EXPECT_FLOAT_EQ(c.m->surf.u0, 0.0f);
        EXPECT_FLOAT_EQ(c.m->surf.u1, 0.8f);
        for (int i = 1; i <= ncu; ++i) EXPECT_EQ(c.X(i, 2), static_cast<float>(ncu + 1 - i));
    }
}

TEST(Transforms, OnlyJflipOneAndIjflipOneAct)
{
    Case c;
    c.surface(1, 2, {0, 0, 1, 1}, {0, 0, 0, 0.25f, 1, 1, 1});
    for (int j = 1; j <= 4; ++j) c.Y(1, j) = static_cast<float>(j);
    surfmesh::transform_surface({0, 1, 1, 1, 0, 2, 2}, *c.m);
    EXPECT_EQ(c.Y(1, 1), 1.0f);
    EXPECT_EQ(c.m->T[3], 0.25f);
    EXPECT_EQ(c.m->surf.ncu, 2);
    surfmesh::transform_surface({0, 1, 1, 1, 0, 1, 0}, *c.m);
    EXPECT_EQ(c.Y(1, 1), 4.0f);
    EXPECT_EQ(c.m->T[3], 0.75f);
}

TEST(Transforms, SwapThenScale)
{
    Case c;
    c.surface(1, 1, {0, 0, 1, 1}, {0, 0, 1, 1});
    c.X(2, 1) = 1, c.Y(2, 1) = 2, c.Z(2, 1) = 3;
    c.W(2, 1) = 0.5f;
    surfmesh::transform_surface({1, 1, 2, 1, 0, 0, 0}, *c.m);
    EXPECT_EQ(c.X(2, 1), 1.0f);
    EXPECT_EQ(c.Y(2, 1), 6.0f);
    EXPECT_EQ(c.Z(2, 1), 2.0f);
    EXPECT_EQ(c.W(2, 1), 0.5f);   // weights are not scaled
}

TEST(Transforms, UVSwapTransposes)
{
    Case c;
    c.surface(3, 1, {0, 0, 0, 0, 1, 1, 1, 1}, {0, 0, 0.5f, 1, 1});   // 4 x 3 control points
    auto& f = c.m->surf;
    f.prop = {1, 2, 3, 4, 5};
    f.u0 = 0.1f, f.u1 = 0.9f, f.v0 = 0.2f, f.v1 = 0.8f;
    for (int j = 1; j <= 3; ++j)
        for (int i = 1; i <= 4; ++i) c.X(i, j) = static_cast<float>(10 * i + j);
    c.W(4, 3) = 7.0f;
    surfmesh::transform_surface({0, 1, 1, 1, 0, 0, 1}, *c.m);
    EXPECT_EQ(f.ncu, 3);
    EXPECT_EQ(f.ncv, 4);
    EXPECT_EQ(f.k1, 2);
    EXPECT_EQ(f.k2, 3);
    EXPECT_EQ(f.m1, 1);
    EXPECT_EQ(f.m2, 3);
    EXPECT_EQ(f.nks, 5);
    EXPECT_EQ(f.nkt, 8);
    EXPECT_EQ(c.m->S[2], 0.5f);
    EXPECT_EQ(c.m->T[4], 1.0f);
    EXPECT_EQ(f.prop, (std::array<std::int32_t, 5>{2, 1, 3, 5, 4}));
    EXPECT_EQ(f.u0, 0.2f);
    EXPECT_EQ(f.v1, 0.9f);
    EXPECT_EQ(c.X(3, 4), 43.0f);
    EXPECT_EQ(c.X(1, 2), 21.0f);
    EXPECT_EQ(c.W(3, 4), 7.0f);
}

TEST(Mesh, BilinearPatchEndsAtTheClampedParameter)
{
    Case c = bilinear();
    c.uniform(3, 3);
    c.mesh();
    const float far = 1.0f - 1.0e-6f;   // 0.99999899 in single precision
    const float want[] = {0.0f, 0.5f, far};
    for (int j = 1; j <= 3; ++j)
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(c.x(i, j), want[i - 1]);
            EXPECT_EQ(c.y(i, j), want[j - 1]);
            EXPECT_EQ(c.z(i, j), 0.0f);
        }
    EXPECT_EQ(c.uu(3, 1), 1.0f);   // the grids keep the unclamped ends
}

TEST(Mesh, ConstantWeightsGiveTheUnweightedMesh)
{
    Case plain = uneven(1.0f);
    plain.uniform(5, 4);
    plain.mesh();
    for (float weight : {4.0f, 3.0f, 0.1f}) {
        Case c = uneven(1.0f);
        for (int j = 1; j <= 3; ++j)
            for (int i = 1; i <= 3; ++i) c.W(i, j) = weight;
        c.uniform(5, 4);
        c.mesh();
        for (int j = 1; j <= 4; ++j)
            for (int i = 1; i <= 5; ++i) {
                if (weight == 4.0f) {
                    EXPECT_EQ(c.x(i, j), plain.x(i, j));
                    EXPECT_EQ(c.z(i, j), plain.z(i, j));
                }
                EXPECT_NEAR(c.x(i, j), plain.x(i, j), 1e-6f);
                EXPECT_NEAR(c.y(i, j), plain.y(i, j), 1e-6f);
                EXPECT_NEAR(c.z(i, j), plain.z(i, j), 1e-6f);
            }
    }
}

// Chord lengths of the segments of row j.
std::vector<float> row_chords(Case& c, int inum, int j)
{
    std::vector<float> d;
    for (int i = 2; i <= inum; ++i)
        d.push_back(std::hypot(c.x(i, j) - c.x(i - 1, j), c.y(i, j) - c.y(i - 1, j), c.z(i, j) - c.z(i - 1, j)));
    return d;
}

TEST(Mesh, RefitPassesEvenTheChords)
{
    auto spread = [](const std::vector<float>& d) {
        return *std::max_element(d.begin(), d.end()) / *std::min_element(d.begin(), d.end());
    };
    std::vector<float> ratio;
    for (int passes : {0, 1, 2}) {
        Case c = uneven(1.0f);
        c.uniform(9, 5);
        c.is->irefit(1) = passes;
        c.mesh();
        ratio.push_back(spread(row_chords(c, 9, 3)));
    }
    EXPECT_GT(ratio[0], 2.0f);
    EXPECT_LT(ratio[1], ratio[0]);
    EXPECT_LT(ratio[2], ratio[1]);   // a second pass, a third evaluation
    EXPECT_LT(ratio[2], 1.05f);

    Case none = uneven(1.0f), negative = uneven(1.0f);
    none.uniform(9, 5);
    negative.uniform(9, 5);
    negative.is->irefit(1) = -3;
    negative.is->jrefit(1) = -1;
    none.mesh();
    negative.mesh();
    EXPECT_EQ(none.m->x, negative.m->x);
    EXPECT_EQ(none.m->uu, negative.m->uu);
}

// Lines between the row and the column threshold: rows are refit, columns not.
TEST(Mesh, RefitThresholds)
{
    struct Row {
        float size;
        bool rows_move, columns_move;
    };
    for (const Row& r : {Row{5.0e-6f, true, false}, Row{5.0e-7f, false, false}, Row{5.0e-5f, true, true}}) {
        Case c = uneven(r.size);
        c.uniform(5, 5);
        c.is->irefit(1) = 0;
        c.is->jrefit(1) = 1;
        c.mesh();
        EXPECT_EQ(c.vv(3, 2) != 0.25f, r.columns_move) << r.size;
        Case d = uneven(r.size);
        d.uniform(5, 5);
        d.is->irefit(1) = 1;
        d.mesh();
        EXPECT_EQ(d.uu(2, 3) != 0.25f, r.rows_move) << r.size;
    }
}

TEST(Mesh, ClosuresSetZOnTheirEdges)
{
    struct Closure {
        int i1, i2, j1, j2;
    };
    for (const Closure& cl : {Closure{1, 0, 0, 0}, Closure{-1, 0, 0, 0}, Closure{2, 0, 0, 0}, Closure{1, 1, 1, 1}}) {
        Case open = uneven(1.0f), c = uneven(1.0f);
        open.uniform(4, 3);
        c.uniform(4, 3);
        c.is->i1clos(1) = cl.i1, c.is->i2clos(1) = cl.i2, c.is->j1clos(1) = cl.j1, c.is->j2clos(1) = cl.j2;
        open.mesh();
        c.mesh();
        for (int j = 1; j <= 3; ++j)
            for (int i = 1; i <= 4; ++i) {
                const bool edge = (i == 1 && cl.i1) || (i == 4 && cl.i2) || (j == 1 && cl.j1) || (j == 3 && cl.j2);
                EXPECT_EQ(c.x(i, j), open.x(i, j));
                EXPECT_EQ(c.y(i, j), open.y(i, j));
                EXPECT_EQ(c.z(i, j), edge ? 0.0f : open.z(i, j)) << i << "," << j;
            }
        EXPECT_NE(open.z(4, 3), 0.0f);
    }
}

// A range that starts below the first knot is evaluated at that knot.
TEST(Mesh, RangeBelowTheFirstKnotIsClamped)
{
    Case edge = uneven(1.0f);
    edge.uniform(5, 3);
    edge.mesh();
    for (int refits : {0, 1}) {
        Case c = uneven(1.0f);
        c.m->surf.u0 = -0.5f;
        c.m->surf.v0 = -1.0f;
        c.uniform(5, 3);
        c.is->irefit(1) = c.is->jrefit(1) = refits;
        c.mesh();
        for (int j = 1; j <= 3; ++j)
            for (int i = 1; i <= 5; ++i)
                EXPECT_TRUE(std::isfinite(c.x(i, j)) && std::isfinite(c.y(i, j)) && std::isfinite(c.z(i, j)));
        if (refits == 0) {
            EXPECT_EQ(c.uu(1, 1), -0.5f);   // the grid keeps its value
            EXPECT_EQ(c.x(1, 1), edge.x(1, 1));
            EXPECT_EQ(c.y(1, 1), edge.y(1, 1));
        }
    }
}

// A range narrow for its size ending at the last knot (as a flip leaves
// it): the millionth below the end is lost in rounding, and the far edge
// is evaluated just inside the last knot.
TEST(Mesh, RangeEndLostInRoundingStaysInsideTheLastKnot)
{
    const float lo = 1000.0f, hi = 1000.0625f;
    ASSERT_EQ(hi - (hi - lo) * 1.0e-6f, hi);
    Case c;
    c.surface(1, 1, {lo, lo, hi, hi}, {0, 0, 1, 1});
    for (int j = 1; j <= 2; ++j)
        for (int i = 1; i <= 2; ++i) {
            c.X(i, j) = static_cast<float>(i - 1);
            c.Y(i, j) = static_cast<float>(j - 1);
            c.Z(i, j) = 0.0f;
        }
    c.uniform(3, 2);
    c.mesh();
    EXPECT_EQ(c.uu(3, 1), hi);   // the grid keeps its value
    EXPECT_EQ(c.x(2, 1), 0.5f);
    EXPECT_NEAR(c.x(3, 1), 1.0f, 1.0e-3f);   // one float step of 1000 below the end of a range of 1/16
    EXPECT_LT(c.x(3, 1), 1.0f);
}

// A point from the control points of its span, as the loads leave the
// surface (knots in order), is bit for bit the point of whole rows, and
// leaves the next knot search to start where whole rows leave it: at the
// ends, on repeated knots, along a mesh row (the rows known at its v, not
// those of the surface before), outside the knots and at NaN.
TEST(Mesh, PointFromItsSpanAsFromWholeRows)
{
    Case c;
    c.surface(3, 2, {0, 0, 0, 0, 0.2f, 0.5f, 0.5f, 0.9f, 1, 1, 1, 1}, {1, 1, 1, 1.5f, 2.25f, 3, 3, 3});   // 8 x 5
    for (int j = 1; j <= 5; ++j)
        for (int i = 1; i <= 8; ++i) {
            c.W(i, j) = 0.5f + 0.25f * static_cast<float>((i * 3 + j) % 7);
            c.X(i, j) = std::sin(0.7f * static_cast<float>(i) + static_cast<float>(j));
            c.Y(i, j) = static_cast<float>(i) * 1.3f - 0.1f * static_cast<float>(j * j);
            c.Z(i, j) = std::cos(static_cast<float>(i * j));
        }
    const float us[] = {0, 0.05f, 0.2f, 0.33f, 0.5f, 0.71f, 0.9f, 0.999999f, 1, -0.1f, std::nanf("")};
    const float vs[] = {1.5f, 1, 1.2f, 2.9999f, 3, 0.5f, std::nanf(""), 1.5f};   // ends where the next pass starts
    for (int iflip : {0, 1}) {
        surfmesh::transform_surface({0, 1, 1, 1, iflip, 0, 0}, *c.m);   // a new surface, as a load makes it
        ASSERT_TRUE(c.m->surf.knots_in_order);
        for (float v : vs)
            for (float u : us) {
                float a[3], b[3];
                const int ilo = c.m->bw.ilo;
                surfmesh::surface_point(*c.m, u, v, a[0], a[1], a[2]);
                const int spanned_ilo = c.m->bw.ilo;
                c.m->bw.ilo = ilo;
                c.m->surf.knots_in_order = false;
                surfmesh::surface_point(*c.m, u, v, b[0], b[1], b[2]);
                c.m->surf.knots_in_order = true;
                EXPECT_EQ(std::memcmp(a, b, sizeof a), 0) << iflip << ": " << u << ", " << v;
                EXPECT_EQ(spanned_ilo, c.m->bw.ilo) << iflip << ": " << u << ", " << v;
            }
    }
}

TEST(Mesh, ZeroWeightsDoNotCrash)
{
    Case c = uneven(1.0f);
    for (int j = 1; j <= 3; ++j)
        for (int i = 1; i <= 3; ++i) c.W(i, j) = 0.0f;
    c.uniform(4, 4);
    c.is->irefit(1) = c.is->jrefit(1) = 2;
    c.mesh();
    EXPECT_TRUE(std::isnan(c.x(2, 2)));
}

}  // namespace
