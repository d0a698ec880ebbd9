#include "intersect/panels.hpp"

#include "textio/textio.hpp"

#include <cmath>

namespace intersect {

namespace {

constexpr float eps = 1e-6f;       // least square root of a panel's area
constexpr float skewmx = 0.5f;     // corners' distance from the mean plane, per half size

struct V3 {
    float x, y, z;
};

V3 at(geom::Grid x, geom::Grid y, geom::Grid z, int i, int j) { return {x(i, j), y(i, j), z(i, j)}; }
float dot(const V3& a, const V3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float norm(const V3& a) { return std::sqrt(dot(a, a)); }
V3 cross(const V3& a, const V3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 minus(const V3& a, const V3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

void warn(int ip, const char* what) {
    textio::write(textio::stdout_unit, "(a,i5,a)", " warning from panels: panel", ip, what);
}

}  // namespace

void panels(geom::Grid x, geom::Grid y, geom::Grid z, int m, int n, const Panels& p) {
    const int np = static_cast<int>(panel_count(m, n));
    int ip = 0;
    for (int j = 1; j <= n - 1; ++j)
        for (int i = 1; i <= m - 1; ++i) {
            ++ip;
            const V3 c[4] = {at(x, y, z, i, j), at(x, y, z, i + 1, j), at(x, y, z, i + 1, j + 1),
                             at(x, y, z, i, j + 1)};
            const V3& p1 = c[0];
            const V3& p2 = c[1];
            const V3& p3 = c[2];
            const V3& p4 = c[3];
            const V3 pc{0.25f * (p1.x + p2.x + p3.x + p4.x), 0.25f * (p1.y + p2.y + p3.y + p4.y),
                        0.25f * (p1.z + p2.z + p3.z + p4.z)};
            p.xc(ip) = pc.x;
            p.yc(ip) = pc.y;
            p.zc(ip) = pc.z;
            // half mean sides of the cell
            const V3 ti{0.25f * (p2.x + p3.x - p4.x - p1.x), 0.25f * (p2.y + p3.y - p4.y - p1.y),
                        0.25f * (p2.z + p3.z - p4.z - p1.z)};
            const V3 tj{0.25f * (p4.x + p3.x - p1.x - p2.x), 0.25f * (p4.y + p3.y - p1.y - p2.y),
                        0.25f * (p4.z + p3.z - p1.z - p2.z)};
            const V3 nv = cross(ti, tj);
            float len = norm(nv);
            if (std::sqrt(4.0f * len) < eps) {
                warn(ip, " sqrt(area) < eps");
                len = eps * eps / 4.0f;
            }
            const V3 enor{nv.x / len, nv.y / len, nv.z / len};
            p.enorx(ip) = enor.x;
            p.enory(ip) = enor.y;
            p.enorz(ip) = enor.z;

            // A zero eta tangent leaves the frame undefined; such a panel has
            // a zero normal as well and is never cut, so its frame stays zero.
            const float tjl = norm(tj);
            V3 eeta{0.0f, 0.0f, 0.0f};
            V3 exi{0.0f, 0.0f, 0.0f};
            if (tjl != 0.0f) {
                eeta = {tj.x / tjl, tj.y / tjl, tj.z / tjl};
                const V3 b = cross(tj, nv);
                const float d = tjl * len;
                exi = {b.x / d, b.y / d, b.z / d};
            }
            p.eetax(ip) = eeta.x;
            p.eetay(ip) = eeta.y;
            p.eetaz(ip) = eeta.z;
            p.exix(ip) = exi.x;
            p.exiy(ip) = exi.y;
            p.exiz(ip) = exi.z;
            for (int k = 1; k <= 4; ++k) {
                const V3 r = minus(c[k - 1], pc);
                corner(p.cxi, np, ip, k) = dot(r, exi);
                corner(p.ceta, np, ip, k) = dot(r, eeta);
            }

            // NaN (a panel of no size) compares false: no warning
            const float skewz = std::fabs(dot(minus(p4, pc), enor)) / (norm(ti) + norm(tj));
            if (skewz > skewmx) warn(ip, " skewz > skewmx");
        }
}

}  // namespace intersect
