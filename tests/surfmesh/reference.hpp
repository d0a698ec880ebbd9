#pragma once
// An independent reading of IGES files and evaluation of their type-128
// surfaces in double precision, for cross-checks of surfmesh's meshes.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace surfmesh_test {

// B-spline basis functions of degree p at x by the Cox-de Boor recurrence
// over the whole knot vector: N_j,0 = 1 on [t_j, t_j+1), 0/0 terms are 0.
inline std::vector<double> basis(const std::vector<double>& t, int p, double x)
{
    const int m = static_cast<int>(t.size());
    std::vector<double> n(static_cast<std::size_t>(m - 1), 0.0);
    for (int j = 0; j + 1 < m; ++j) n[j] = (t[j] <= x && x < t[j + 1]) ? 1.0 : 0.0;
    for (int d = 1; d <= p; ++d)
        for (int j = 0; j + d + 1 < m; ++j) {
            double a = t[j + d] - t[j], b = t[j + d + 1] - t[j + 1];
            double left = a != 0.0 ? (x - t[j]) / a * n[j] : 0.0;
            double right = b != 0.0 ? (t[j + d + 1] - x) / b * n[j + 1] : 0.0;
            n[j] = left + right;
        }
    n.resize(static_cast<std::size_t>(m - 1 - p));
    return n;
}

// A spline value from its basis and coefficients.
inline double spline(const std::vector<double>& t, int p, const std::vector<double>& c, double x)
{
    std::vector<double> n = basis(t, p, x);
    double s = 0.0;
    for (std::size_t j = 0; j < c.size(); ++j) s += n[j] * c[j];
    return s;
}

struct RefSurface {
    int k1 = 0, k2 = 0, m1 = 0, m2 = 0;
    std::vector<double> s, t, w, x, y, z;   // w, x, y, z: index i + j*(k1+1)
    double u0 = 0, u1 = 0, v0 = 0, v1 = 0;

    void point(double u, double v, double& px, double& py, double& pz) const
    {
        std::vector<double> bu = basis(s, m1, u), bv = basis(t, m2, v);
        double sw = 0, sx = 0, sy = 0, sz = 0;
        for (int j = 0; j <= k2; ++j)
            for (int i = 0; i <= k1; ++i) {
                const std::size_t k = static_cast<std::size_t>(i + j * (k1 + 1));
                const double b = bu[i] * bv[j] * w[k];
                sw += b;
                sx += b * x[k];
                sy += b * y[k];
                sz += b * z[k];
            }
        px = sx / sw;
        py = sy / sw;
        pz = sz / sw;
    }
    double extent() const
    {
        double e = 0;
        for (const auto* a : {&x, &y, &z})
            for (double v : *a) e = std::max(e, std::fabs(v));
        return e;
    }
};

struct RefEntry {
    int type = 0;
    std::string label;
    std::vector<double> values;   // the parameter data as numbers
};

struct RefFile {
    int s = 0, g = 0, d = 0, p = 0, t = 0;   // line counts
    std::vector<RefEntry> entries;
};

inline double number(std::string tok)
{
    for (char& c : tok)
        if (c == 'D' || c == 'd') c = 'E';
    return std::strtod(tok.c_str(), nullptr);
}

inline std::optional<RefFile> read_iges(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    RefFile f;
    std::vector<std::string> d, p;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        if (l.size() < 73) continue;
        switch (l[72]) {
        case 'S': ++f.s; break;
        case 'G': ++f.g; break;
        case 'D': d.push_back(l); break;
        case 'P': p.push_back(l); break;
        case 'T': ++f.t; break;
        }
    }
    f.d = static_cast<int>(d.size() / 2);
    f.p = static_cast<int>(p.size());
    for (std::size_t k = 0; k + 1 < d.size(); k += 2) {
        RefEntry e;
        e.type = std::atoi(d[k].substr(0, 8).c_str());
        const int first = std::atoi(d[k].substr(8, 8).c_str());
        const int count = std::atoi(d[k + 1].substr(24, 8).c_str());
        e.label = d[k + 1].substr(56, 8);
        std::string data;
        for (int c = 0; c < count && first - 1 + c < static_cast<int>(p.size()); ++c)
            data += p[static_cast<std::size_t>(first - 1 + c)].substr(0, 64);
        data = data.substr(0, data.find(';'));
        std::stringstream ss(data);
        for (std::string tok; std::getline(ss, tok, ',');) e.values.push_back(number(tok));
        f.entries.push_back(std::move(e));
    }
    return f;
}

inline RefSurface surface_of(const RefEntry& e)
{
    RefSurface r;
    const std::vector<double>& v = e.values;
    std::size_t at = 1;
    auto next = [&] { return v.at(at++); };
    r.k1 = static_cast<int>(next());
    r.k2 = static_cast<int>(next());
    r.m1 = static_cast<int>(next());
    r.m2 = static_cast<int>(next());
    at += 5;
    for (int k = 0; k < r.k1 + r.m1 + 2; ++k) r.s.push_back(next());
    for (int k = 0; k < r.k2 + r.m2 + 2; ++k) r.t.push_back(next());
    const int n = (r.k1 + 1) * (r.k2 + 1);
    for (int k = 0; k < n; ++k) r.w.push_back(next());
    for (int k = 0; k < n; ++k) {
        r.x.push_back(next());
        r.y.push_back(next());
        r.z.push_back(next());
    }
    r.u0 = next();
    r.u1 = next();
    r.v0 = next();
    r.v1 = next();
    return r;
}

// A rational B-spline curve (type 126) of a trimming boundary: its x and y
// are parameters of the base surface.
struct RefCurve {
    int kc = 0, mc = 0;
    std::vector<double> t, w, x, y;
    double u0 = 0, u1 = 0;

    // The curve at u, from inside the knot range: at its last knot the
    // half-open basis would vanish.
    void point(double u, double& px, double& py) const
    {
        u = std::min(std::max(u, t.front()), std::nextafter(t.back(), t.front()));
        std::vector<double> n = basis(t, mc, u);
        double sw = 0, sx = 0, sy = 0;
        for (std::size_t i = 0; i < w.size(); ++i) {
            sw += n[i] * w[i];
            sx += n[i] * w[i] * x[i];
            sy += n[i] * w[i] * y[i];
        }
        px = sx / sw;
        py = sy / sw;
    }
};

inline RefCurve curve_of(const RefEntry& e)
{
    RefCurve c;
    const std::vector<double>& v = e.values;
    std::size_t at = 1;
    auto next = [&] { return v.at(at++); };
    c.kc = static_cast<int>(next());
    c.mc = static_cast<int>(next());
    at += 4;
    for (int k = 0; k < c.kc + c.mc + 2; ++k) c.t.push_back(next());
    for (int k = 0; k <= c.kc; ++k) c.w.push_back(next());
    for (int k = 0; k <= c.kc; ++k) {
        c.x.push_back(next());
        c.y.push_back(next());
        next();
    }
    c.u0 = next();
    c.u1 = next();
    return c;
}

// What the trimmed surface of a type-144 entry gives: its base surface
// (none when that is not of type 128) and the segments of its outer
// boundary that are meshed (type 126, not along an edge of the surface's
// parameter rectangle).
struct RefTrimmed {
    const RefEntry* base = nullptr;
    std::vector<RefCurve> segments;
};

inline RefTrimmed trimmed_of(const RefFile& f, const RefEntry& e)
{
    auto named = [&f](double pointer, int type) -> const RefEntry* {
        const long k = (static_cast<long>(pointer) + 1) / 2;
        if (k < 1 || k > static_cast<long>(f.entries.size())) return nullptr;
        const RefEntry& r = f.entries[static_cast<std::size_t>(k - 1)];
        return r.type == type ? &r : nullptr;
    };
    RefTrimmed t;
    t.base = named(e.values.at(1), 128);
    if (!t.base || e.values.at(2) == 0) return t;
    const RefEntry* on_surface = named(e.values.at(4), 142);
    if (!on_surface || (on_surface->values.at(5) != 1 && on_surface->values.at(5) != 3)) return t;
    const RefEntry* composite = named(on_surface->values.at(3), 102);
    if (!composite || composite->values.at(1) > 8) return t;
    const RefSurface s = surface_of(*t.base);
    for (int k = 0; k < static_cast<int>(composite->values.at(1)); ++k) {
        const RefEntry* segment = named(composite->values.at(static_cast<std::size_t>(2 + k)), 126);
        if (!segment) continue;
        RefCurve c = curve_of(*segment);
        auto all_near = [](const std::vector<double>& a, double edge, double tol) {
            for (double p : a)
                if (std::fabs(p - edge) > tol) return false;
            return true;
        };
        const double tu = std::fabs(s.u1 - s.u0) * 1.0e-6, tv = std::fabs(s.v1 - s.v0) * 1.0e-6;
        if (all_near(c.x, s.u0, tu) || all_near(c.x, s.u1, tu) || all_near(c.y, s.v0, tv) || all_near(c.y, s.v1, tv))
            continue;
        t.segments.push_back(std::move(c));
    }
    return t;
}

}  // namespace surfmesh_test
