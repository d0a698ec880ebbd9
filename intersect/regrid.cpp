#include "intersect/regrid.hpp"

#include "lib/arcs.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace intersect {

void redoi(geom::Grid x, geom::Grid y, geom::Grid z, int m, int n, geom::Vec xw, geom::Vec yw, geom::Vec zw,
           geom::Vec s, geom::Vec xn, geom::Vec yn, geom::Vec zn, geom::Vec sn, std::span<const int> iflag,
           geom::Vec xipos, char spec, std::span<const int> ibrk, int nbrk, Variant variant) {
    if (spec != '+' && spec != '-') return;
    auto brk = [&](int ib) { return ibrk[static_cast<std::size_t>(ib - 1)]; };
    const bool foil = variant == Variant::foil;
    for (int j = 1; j <= n; ++j) {
        if (iflag[static_cast<std::size_t>(j - 1)] == 0) continue;
        const float p = xipos(j);
        if (m < 2 || !std::isfinite(p)) continue;   // no segment to place it on, or no place
        for (int q = 1; q <= m; ++q) {
            xw(q) = x(q, j);
            yw(q) = y(q, j);
            zw(q) = z(q, j);
        }
        geom::arc3(xw, yw, zw, s, m);
        // the segment of the cut, clamped before it becomes an integer;
        // beyond the ends the end segment is prolonged
        const int ic = static_cast<int>(std::max(std::min(std::trunc(p), static_cast<float>(m - 1)), 1.0f));
        const float sc = (p - static_cast<float>(ic)) * (s(ic + 1) - s(ic)) + s(ic);

        if (spec == '-') {
            // anchor: a breakpoint below the cut (foil: the nearest, keel: the first)
            float sb = 0.0f;
            auto below = [&](int ib) {
                if (static_cast<float>(brk(ib)) < p) sb = s(brk(ib));
            };
            if (foil)
                for (int ib = 1; ib <= nbrk - 1; ++ib) below(ib);
            else
                for (int ib = nbrk - 1; ib >= 1; --ib) below(ib);
            sn(1) = s(1);
            for (int q = brk(1) + 1; q <= brk(nbrk); ++q)
                sn(q) = s(q) > sb ? sb + (sc - sb) * ((s(q) - sb) / (s(m) - sb)) : s(q);
        } else {
            // anchor: a breakpoint above the cut (foil: the nearest, keel: the last)
            float se = s(m);
            auto above = [&](int ib) {
                if (static_cast<float>(brk(ib)) > p) se = s(brk(ib));
            };
            if (foil)
                for (int ib = nbrk; ib >= 2; --ib) above(ib);
            else
                for (int ib = 2; ib <= nbrk; ++ib) above(ib);
            for (int q = brk(1); q <= brk(nbrk) - 1; ++q)
                sn(q) = s(q) < se ? se + (sc - se) * ((s(q) - se) / (s(1) - se)) : s(q);
            sn(m) = s(m);
        }
        geom::intrp3(s, xw, yw, zw, m, sn, xn, yn, zn, m);
        for (int q = 1; q <= m; ++q) {
            x(q, j) = xn(q);
            y(q, j) = yn(q);
            z(q, j) = zn(q);
        }
    }
}

void redojt(geom::Grid x, geom::Grid y, geom::Grid z, int m, int n, geom::Vec xw, geom::Vec yw, geom::Vec zw,
            geom::Vec s, geom::Vec t, geom::Vec xn, geom::Vec yn, geom::Vec zn, geom::Vec sn, geom::Vec tn,
            std::span<int> iflag, geom::Vec xipos, geom::Vec etapos, int nsta, geom::Grid xo, geom::Grid yo,
            geom::Grid zo, int& mo, int& no, std::span<int> iflo, geom::Vec xio, Variant variant) {
    auto flag = [&](int k) -> int& { return iflag[static_cast<std::size_t>(k - 1)]; };
    auto flag_out = [&](int k) -> int& { return iflo[static_cast<std::size_t>(k - 1)]; };
    mo = m;
    bool any = false;
    for (int k = 1; k <= nsta; ++k) any = any || flag(k) != 0;
    if (!any) {
        // nothing to lay: the network as it is, each line with its station's flag
        no = n;
        for (int k = 1; k <= n; ++k) {
            for (int i = 1; i <= m; ++i) {
                xo(i, k) = x(i, k);
                yo(i, k) = y(i, k);
                zo(i, k) = z(i, k);
            }
            flag_out(k) = k <= nsta ? flag(k) : 0;
            xio(k) = k <= nsta ? xipos(k) : 0.0f;
        }
        return;
    }

    // Selection sort of the flagged stations by eta position, the others
    // left where the sort leaves them. gmin and gmax follow the least
    // flagged position of each pass, and with them the station under
    // examination gives the kept lines' flag and xi position (foil).
    float gmin = static_cast<float>(n + 1);
    float gmax = 0.0f;
    int low_flag = 0, high_flag = 0;
    float low_xi = 0.0f, high_xi = 0.0f;
    for (int kk = 1; kk <= nsta; ++kk) {
        float least = etapos(kk);
        int at = kk;
        bool seen = false;
        float least_flagged = 0.0f;
        for (int k = kk; k <= nsta; ++k) {
            if (flag(k) == 0) continue;
            if (etapos(k) < least) {
                least = etapos(k);
                at = k;
            }
            if (!seen || etapos(k) < least_flagged) least_flagged = etapos(k);
            seen = true;
            if (least_flagged < gmin) {
                gmin = least_flagged;
                low_flag = flag(k);
                low_xi = xipos(k);
            }
            if (least_flagged > gmax) {
                gmax = least_flagged;
                high_flag = flag(k);
                high_xi = xipos(k);
            }
        }
        std::swap(flag(kk), flag(at));
        std::swap(xipos(kk), xipos(at));
        std::swap(etapos(kk), etapos(at));
    }

    const bool foil = variant == Variant::foil;
    no = 0;
    auto add = [&](float position, int f, float xi) {
        ++no;
        tn(no) = position;
        flag_out(no) = f;
        xio(no) = xi;
    };
    for (int k = 1; k <= n; ++k) t(k) = static_cast<float>(k);
    for (int k = 1; k <= n; ++k)
        if (t(k) < gmin) add(t(k), foil ? low_flag : 0, foil ? low_xi : 0.0f);
    for (int k = 1; k <= nsta; ++k)
        if (flag(k) != 0) add(etapos(k), flag(k), xipos(k));
    for (int k = 1; k <= n; ++k)
        if (t(k) > gmax) add(t(k), foil ? high_flag : 0, foil ? high_xi : 0.0f);

    for (int i = 1; i <= mo; ++i) {
        for (int k = 1; k <= n; ++k) {
            xw(k) = x(i, k);
            yw(k) = y(i, k);
            zw(k) = z(i, k);
        }
        geom::arc3(xw, yw, zw, s, n);
        geom::intrp1(t, s, n, tn, sn, no);
        geom::intrp3(s, xw, yw, zw, n, sn, xn, yn, zn, no);
        for (int k = 1; k <= no; ++k) {
            xo(i, k) = xn(k);
            yo(i, k) = yn(k);
            zo(i, k) = zn(k);
        }
    }
}

}  // namespace intersect
