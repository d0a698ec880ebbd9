#include "intersect/surfx.hpp"

#include <cmath>

namespace intersect {

namespace {

constexpr float lo = -1e-6f;           // crossings and roots just outside 0..1 still count
constexpr float hi = 1.0f + 1e-6f;
constexpr float coef_min = 1e-6f;      // a quadratic term below this is taken as absent

struct Root {
    float r;
    int flag;   // 1 inside the cell, -1 beyond an extended edge
};

struct Roots {
    Root at[2];
    int count = 0;
};

// Roots of qa r² + qb r + qc = 0 that fall in the cell, or beyond an edge
// whose extension flag is on; `cell` and `last` place the cell in its row.
Roots solve(float qa, float qb, float qc, int cell, int last, int start_flag, int end_flag) {
    float r[2];
    int nr = 0;
    if (std::fabs(qa) <= coef_min) {
        if (std::fabs(qb) > coef_min) r[nr++] = 0.0f - qc / qb;
    } else {
        float disc = qb * qb - qc * 4.0f * qa;
        if (!(disc > 0.0f)) disc = 0.0f;   // complex roots: the double root twice
        const float root = std::sqrt(disc);
        r[nr++] = (root - qb) / (2.0f * qa);
        r[nr++] = (0.0f - qb - root) / (2.0f * qa);
    }
    Roots out;
    for (int k = 0; k < nr; ++k) {
        int flag = 0;
        if (lo < r[k] && r[k] < hi)
            flag = 1;
        else if ((r[k] <= lo && cell == 1 && start_flag != 0) || (r[k] >= hi && cell == last && end_flag != 0))
            flag = -1;
        if (flag != 0) out.at[out.count++] = {r[k], flag};
    }
    return out;
}

// One station: its line (segments i) against every panel (k, l), l fastest.
void cut_station(geom::Grid x, geom::Grid y, geom::Grid z, int j, int ms, SourceFlags source, int mt, int nt,
                 TargetFlags target, const Panels& p, const Cuts& c, Rule rule) {
    const int np = static_cast<int>(panel_count(mt, nt));
    bool found = false;
    float best = 0.0f;
    for (int i = 1; i <= ms - 1; ++i) {
        const float xa = x(i, j), ya = y(i, j), za = z(i, j);
        const float xb = x(i + 1, j), yb = y(i + 1, j), zb = z(i + 1, j);
        for (int k = 1; k <= mt - 1; ++k)
            for (int l = 1; l <= nt - 1; ++l) {
                const int ip = (l - 1) * (mt - 1) + k;
                const float ax = xa - p.xc(ip), ay = ya - p.yc(ip), az = za - p.zc(ip);
                const float bx = xb - p.xc(ip), by = yb - p.yc(ip), bz = zb - p.zc(ip);
                const float da = ax * p.enorx(ip) + ay * p.enory(ip) + az * p.enorz(ip);
                const float db = bx * p.enorx(ip) + by * p.enory(ip) + bz * p.enorz(ip);
                if (da == db) continue;   // parallel, or a panel without normal
                const float t = da / (da - db);
                if (!((t >= lo || (i == 1 && source.start != 0)) && (t <= hi || (i == ms - 1 && source.end != 0))))
                    continue;

                const float xia = ax * p.exix(ip) + ay * p.exiy(ip) + az * p.exiz(ip);
                const float xib = bx * p.exix(ip) + by * p.exiy(ip) + bz * p.exiz(ip);
                const float xi = xia + t * (xib - xia);
                const float etaa = ax * p.eetax(ip) + ay * p.eetay(ip) + az * p.eetaz(ip);
                const float etab = bx * p.eetax(ip) + by * p.eetay(ip) + bz * p.eetaz(ip);
                const float eta = etaa + t * (etab - etaa);

                // the bilinear map of the cell in its frame
                const float cx1 = corner(p.cxi, np, ip, 1), cx2 = corner(p.cxi, np, ip, 2);
                const float cx3 = corner(p.cxi, np, ip, 3), cx4 = corner(p.cxi, np, ip, 4);
                const float ce1 = corner(p.ceta, np, ip, 1), ce2 = corner(p.ceta, np, ip, 2);
                const float ce3 = corner(p.ceta, np, ip, 3), ce4 = corner(p.ceta, np, ip, 4);
                const float c1 = cx1, a1 = cx2 - c1, a2 = cx4 - c1, a3 = c1 + cx3 - cx2 - cx4;
                const float d1 = ce1, b1 = ce2 - d1, b2 = ce4 - d1, b3 = d1 + ce3 - ce2 - ce4;
                const float dxi = xi - c1;
                const float deta = eta - d1;

                const float qa = a3 * b1 - b3 * a1;
                const float qb = a2 * b1 + b3 * dxi - a1 * b2 - a3 * deta;
                const float qc = dxi * b2 - deta * a2;
                const Roots s = solve(qa, qb, qc, k, mt - 1, target.xsi_start, target.xsi_end);
                if (s.count == 0) continue;
                const float pa = a3 * b2 - b3 * a2;
                const float pb = a1 * b2 + b3 * dxi - a2 * b1 - a3 * deta;
                const float pc = dxi * b1 - deta * a1;
                const Roots u = solve(pa, pb, pc, l, nt - 1, target.eta_start, target.eta_end);
                if (u.count == 0) continue;

                for (int is = 0; is < s.count; ++is)
                    for (int iu = 0; iu < u.count; ++iu) {
                        const float sv = s.at[is].r;
                        const float uv = u.at[iu].r;
                        const float re = b3 * uv * sv + b2 * uv + b1 * sv + d1 - eta;
                        const float rx = a3 * uv * sv + a2 * uv + a1 * sv + c1 - xi;
                        const float rho = std::sqrt(re * re + rx * rx);
                        if (found && !(rho < best)) continue;
                        found = true;
                        best = rho;
                        c.xint(j) = xa + t * (xb - xa);
                        c.yint(j) = ya + t * (yb - ya);
                        c.zint(j) = za + t * (zb - za);
                        c.xsis(j) = static_cast<float>(i) + t;
                        c.xsit(j) = static_cast<float>(k) + sv;
                        c.etat(j) = static_cast<float>(l) + uv;
                        c.iint(j) = s.at[is].flag == 1 && u.at[iu].flag == 1 ? 1.0f : -1.0f;
                    }
                // foilcut's station ends at the first panel that gave a pair
                if (rule == Rule::first_panel) return;
            }
    }
}

}  // namespace

void surfx(geom::Grid x, geom::Grid y, geom::Grid z, int ms, int ns, SourceFlags source, int mt, int nt,
           TargetFlags target, const Panels& p, const Cuts& c, Rule rule) {
    for (int j = 1; j <= ns; ++j) c.iint(j) = 0.0f;
    // no panel, no cut: and no empty sweep over a long row of points
    if (panel_count(mt, nt) == 0) return;
    for (int j = 1; j <= ns; ++j) cut_station(x, y, z, j, ms, source, mt, nt, target, p, c, rule);
}

}  // namespace intersect
