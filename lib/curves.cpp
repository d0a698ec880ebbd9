#include "curves.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace geom {

namespace {

// (vb (xv - a) + (b - xv) va) / (b - a), or the mean when a = b.
float blend(float a, float va, float b, float vb, float xv) {
    float w = b - a;
    if (w == 0.0f) return (va + vb) / 2.0f;
    return (vb * (xv - a) + (b - xv) * va) / w;
}

}  // namespace

void runatk(int n, Vec x, Vec y, int ni, Vec xi, Vec yi, float order, float tol) {
    if (ni == 0) return;
    if (n == 1) yi(1) = y(1);
    if (n < 2 || !(order > 0.0f)) return;
    const int scheme = n == 2 ? 1 : static_cast<int>(std::min(std::fabs(order), 4.0f));
    const int count = std::abs(ni);
    int i = 2;
    for (int m = 1; m <= count; ++m) {
        const float xv = xi(m);
        if (ni < 0) i = 2;
        while (x(i) <= xv && i < n) ++i;
        const int j = i - 1;
        float left_area = 1.0f, right_area = 1.0f;
        if (j > 1)
            left_area = 0.5f * ((y(j) - y(j - 1)) * (x(j) - x(j + 1)) + (y(j + 1) - y(j)) * (x(j) - x(j - 1)));
        if (j < n - 1)
            right_area = 0.5f * ((y(j + 1) - y(j)) * (x(j + 1) - x(j + 2)) +
                                 (y(j + 2) - y(j + 1)) * (x(j + 1) - x(j)));
        int k = scheme;
        if (std::fabs(left_area) < tol || std::fabs(right_area) < tol) k = 1;   // nearly straight here
        const float line = blend(x(j), y(j), x(j + 1), y(j + 1), xv);
        if (k == 1) {
            yi(m) = line;
            continue;
        }
        float ql = 0.0f, qr = 0.0f;
        if (j > 1) {
            float p = blend(x(j - 1), y(j - 1), x(j), y(j), xv);
            ql = blend(x(j - 1), p, x(j + 1), line, xv);
        }
        if (j < n - 1) {
            float nx = blend(x(j + 1), y(j + 1), x(j + 2), y(j + 2), xv);
            qr = blend(x(j), line, x(j + 2), nx, xv);
        }
        float v;
        if (j > 1 && j < n - 1) {
            const float mean = (ql + line + line + qr) / 4.0f;
            if (k == 2) {
                v = mean;
            } else {
                const float across = x(j + 1) - x(j) == 0.0f ? mean : blend(x(j), ql, x(j + 1), qr, xv);
                v = (k == 3 || x(j + 2) - x(j - 1) == 0.0f) ? across : blend(x(j - 1), ql, x(j + 2), qr, xv);
            }
        } else if (j == 1) {
            v = k == 2 ? (qr + line) / 2.0f : qr;
        } else {
            v = k == 2 ? (ql + line) / 2.0f : ql;
        }
        yi(m) = v;
    }
}

namespace {

constexpr float newton_tol = 1.0e-6f;
// Beyond an ordinate of 16 no float residual but 0 is within the tolerance,
// so the iteration is bounded; it converges in a handful of steps otherwise.
constexpr int newton_max = 50;

struct Cubic {   // the spline's cubic about one knot, t the offset from it
    float y, c1, c2, c3;
    float value(float t) const { return (((t / 3.0f) * c3 + c2) * (t / 2.0f) + c1) * t + y; }
    float slope(float t) const { return ((t / 2.0f) * c3 + c2) * t + c1; }
    float curvature(float t) const { return c2 + t * c3; }
};

}  // namespace

void spline(Vec x, Vec y, Vec xo, Vec yo, Vec ypo, Vec yppo, Vec c1, Vec c2, Vec c3, int ibc1, int ibc2,
            float bcv1, float bcv2, int n, int no, int mode) {
    if (n <= 0) return;
    if (n == 1) {
        // a single knot is a constant
        c1(1) = c2(1) = c3(1) = 0.0f;
        for (int m = 1; m <= no; ++m) {
            if (mode == 1)
                yo(m) = y(1);
            else
                xo(m) = x(1);
            ypo(m) = yppo(m) = 0.0f;
        }
        return;
    }
    float h = x(2) - x(1);
    float d = (y(2) - y(1)) / h;
    if (ibc1 < 2) {
        c2(1) = ((d - bcv1) * 3.0f) / h;
        c1(1) = -0.5f;
    } else if (ibc1 == 2) {
        c2(1) = bcv1;
        c1(1) = 0.0f;
    } else {
        c2(1) = -bcv1 * h;
        c1(1) = 1.0f;
    }
    for (int i = 2; i <= n - 1; ++i) {
        const float hp = h, dp = d;
        h = x(i + 1) - x(i);
        d = (y(i + 1) - y(i)) / h;
        const float den = (hp + h) * 2.0f + hp * c1(i - 1);
        c2(i) = ((d - dp) * 6.0f - c2(i - 1) * hp) / den;
        c1(i) = -h / den;
    }
    float r, a;
    if (ibc2 < 2) {
        r = -((d - bcv2) * 3.0f) / h;
        a = 0.5f;
    } else if (ibc2 == 2) {
        r = bcv2;
        a = 0.0f;
    } else {
        r = bcv2 * h;
        a = -1.0f;
    }
    c2(n) = (r - a * c2(n - 1)) / (a * c1(n - 1) + 1.0f);
    c1(n) = 0.0f;
    for (int i = n - 1; i >= 1; --i) {
        h = x(i + 1) - x(i);
        d = (y(i + 1) - y(i)) / h;
        c2(i) = c1(i) * c2(i + 1) + c2(i);
        c1(i + 1) = d + (h / 6.0f) * (2.0f * c2(i + 1) + c2(i));
        c3(i + 1) = (c2(i + 1) - c2(i)) / h;
    }
    c1(1) = d - (h / 6.0f) * (2.0f * c2(1) + c2(2));
    c3(1) = c3(2);

    auto cubic = [&](int k) { return Cubic{y(k), c1(k), c2(k), c3(k)}; };
    if (mode == 1) {
        const float sign = x(n) >= x(1) ? 1.0f : -1.0f;
        for (int m = 1; m <= no; ++m) {
            int k = 1;
            while (k <= n && !((x(k) - xo(m)) * sign >= 0.0f)) ++k;
            if (k > n) {
                // not extended beyond the last knot
                yo(m) = y(n);
                ypo(m) = c1(n);
                yppo(m) = c2(n);
                continue;
            }
            const Cubic c = cubic(k);
            const float t = xo(m) - x(k);
            yo(m) = c.value(t);
            ypo(m) = c.slope(t);
            yppo(m) = c.curvature(t);
        }
        return;
    }
    const float sign = y(n) >= y(1) ? 1.0f : -1.0f;
    for (int m = 1; m <= no; ++m) {
        const float target = yo(m);
        int k = 1;
        while (k <= n && !((y(k) - target) * sign >= 0.0f)) ++k;
        if (k > n) {
            yo(m) = y(n);
            xo(m) = x(n);
            ypo(m) = c1(n);
            yppo(m) = c2(n);
            continue;
        }
        const Cubic c = cubic(k);
        float t = 0.0f;
        if (y(k) != target) {
            const float start = 0.0f - (y(k) - target) / c.c1;
            if (std::isfinite(start)) {
                t = start;
                for (int it = 0; it < newton_max; ++it) {
                    const float res = c.value(t) - target;
                    if (-newton_tol <= res && res <= newton_tol) break;
                    const float next = t + (0.0f - res / c.slope(t));
                    if (!std::isfinite(next) || next == t) break;
                    t = next;
                }
            }
        }
        xo(m) = t + x(k);
        ypo(m) = c.slope(t);
        yppo(m) = c.curvature(t);
    }
}

namespace {

// Gaussian elimination in row order, no pivoting; the systems are regular.
void solve3(float a[3][3], float b[3], float& u, float& v, float& w) {
    for (int r = 1; r < 3; ++r) {
        const float f = a[r][0] / a[0][0];
        a[r][1] = a[r][1] - f * a[0][1];
        a[r][2] = a[r][2] - f * a[0][2];
        b[r] = b[r] - f * b[0];
    }
    const float f = a[2][1] / a[1][1];
    a[2][2] = a[2][2] - f * a[1][2];
    b[2] = b[2] - f * b[1];
    w = b[2] / a[2][2];
    v = (b[1] - a[1][2] * w) / a[1][1];
    u = (b[0] - a[0][1] * v - a[0][2] * w) / a[0][0];
}

}  // namespace

void poly(Vec s, int n, int ideg, float ds1, float ds2, float d2a, float d2b) {
    if (n <= 0) return;
    if (n == 1) {
        s(1) = 0.0f;   // no spacing exists for a single point
        return;
    }
    const float h = 1.0f / static_cast<float>(n - 1);
    const float hh = h * h;
    float a0 = 1.0f, a1 = 0.0f, a2 = 0.0f, a3 = 0.0f, a4 = 0.0f;
    if (ideg == 2) {
        a0 = ds1 >= 0.0f ? ds1 / h : 2.0f - ds2 / h;
        a1 = 1.0f - a0;
    } else if (ideg == 3) {
        if (ds1 >= 0.0f && ds2 >= 0.0f) {
            a0 = ds1 / h;
            a1 = 3.0f - 2.0f * a0 - ds2 / h;
        } else if (ds1 >= 0.0f) {
            a0 = ds1 / h;
            a1 = 0.5f * d2a / hh;
        } else {
            const float m = ds2 / h;
            const float c = d2b / hh;
            a0 = 0.5f * c - 2.0f * m + 3.0f;
            a1 = 3.0f * m - c - 3.0f;
        }
        a2 = 1.0f - a0 - a1;
    } else if (ideg == 4) {
        a0 = ds1 / h;
        float a[3][3] = {{1.0f, 1.0f, 1.0f}, {2.0f, 3.0f, 4.0f}, {2.0f, 0.0f, 0.0f}};
        float b[3] = {1.0f - a0, ds2 / h - a0, d2a / hh};
        if (d2a < 0.0f) {
            a[2][1] = 6.0f;
            a[2][2] = 12.0f;
            b[2] = d2b / hh;
        }
        solve3(a, b, a1, a2, a3);
    } else if (ideg >= 5) {
        a0 = ds1 / h;
        a1 = 0.5f * d2a / hh;
        float a[3][3] = {{1.0f, 1.0f, 1.0f}, {3.0f, 4.0f, 5.0f}, {6.0f, 12.0f, 20.0f}};
        float b[3] = {1.0f - a0 - a1, ds2 / h - a0 - 2.0f * a1, d2b / hh - 2.0f * a1};
        solve3(a, b, a2, a3, a4);
    }
    for (int k = 1; k <= n; ++k) {
        const float t = static_cast<float>(k - 1) / static_cast<float>(n - 1);
        s(k) = t * ((((a4 * t + a3) * t + a2) * t + a1) * t + a0);
    }
}

}  // namespace geom
