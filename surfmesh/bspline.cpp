#include "bspline.hpp"

#include <cmath>
#include <limits>

namespace surfmesh {

void interv(const float* xt, int lxt, float x, int& left, int& mflag, int& ilo) {
    auto X = [xt](int k) { return xt[k - 1]; };
    auto answer = [&](int flag, int at) {
        mflag = flag;
        left = at;
    };
    int ihi = ilo + 1;
    if (ihi >= lxt) {
        // the saved start may come from a longer sequence
        if (x >= X(lxt)) return answer(1, lxt);
        if (lxt <= 1) return answer(-1, 1);
        ilo = lxt - 1;
        ihi = lxt;
    }
    if (x >= X(ihi)) {
        for (int step = 1;; step *= 2) {
            ilo = ihi;
            ihi = ilo + step;
            if (ihi >= lxt) break;   // before xt(ihi) is read
            if (x < X(ihi)) break;
        }
        if (ihi >= lxt) {
            if (x >= X(lxt)) return answer(1, lxt);
            ihi = lxt;
        }
    } else if (x >= X(ilo)) {
        return answer(0, ilo);
    } else {
        for (int step = 1;; step *= 2) {
            ihi = ilo;
            ilo = ihi - step;
            if (ilo <= 1) break;
            if (x >= X(ilo)) break;
        }
        if (ilo <= 1) {
            ilo = 1;
            if (x < X(1)) return answer(-1, 1);
        }
    }
    for (;;) {
        const int middle = (ilo + ihi) / 2;
        if (middle == ilo) return answer(0, ilo);
        if (x >= X(middle))
            ilo = middle;
        else
            ihi = middle;
    }
}

float bvalue(const float* t, const float* bcoef, int n, int k, float x, int jderiv, BvalueWork& w) {
    if (jderiv >= k) return 0.0f;
    int i = 0, mflag = 0;
    interv(t, n + k, x, i, mflag, w.ilo);
    if (mflag != 0) return 0.0f;
    if (k == 1) return bcoef[i - 1];

    auto T = [t](int m) { return t[m - 1]; };
    auto aj = [&w](int m) -> float& { return w.coef[static_cast<std::size_t>(m - 1)]; };
    auto dl = [&w](int m) -> float& { return w.left[static_cast<std::size_t>(m - 1)]; };
    auto dr = [&w](int m) -> float& { return w.right[static_cast<std::size_t>(m - 1)]; };

    const int km1 = k - 1;
    int jcmin = 1;
    const int imk = i - k;
    if (imk >= 0) {
        for (int j = 1; j <= km1; ++j) dl(j) = x - T(i + 1 - j);
    } else {
        // knots before t(1) would be needed: repeat the first distance
        jcmin = 1 - imk;
        for (int j = 1; j <= i; ++j) dl(j) = x - T(i + 1 - j);
        for (int j = i; j <= km1; ++j) {
            aj(k - j) = 0.0f;
            dl(j) = dl(i);
        }
    }
    int jcmax = k;
    const int nmi = n - i;
    if (nmi >= 0) {
        for (int j = 1; j <= km1; ++j) dr(j) = T(i + j) - x;
    } else {
        jcmax = k + nmi;
        for (int j = 1; j <= jcmax; ++j) dr(j) = T(i + j) - x;
        for (int j = jcmax; j <= km1; ++j) {
            aj(j + 1) = 0.0f;
            dr(j) = dr(jcmax);
        }
    }
    for (int jc = jcmin; jc <= jcmax; ++jc) aj(jc) = bcoef[imk + jc - 1];

    for (int j = 1; j <= jderiv; ++j) {
        const int kmj = k - j;
        const float fkmj = static_cast<float>(kmj);
        int ilo = kmj;
        for (int jj = 1; jj <= kmj; ++jj, --ilo) aj(jj) = ((aj(jj + 1) - aj(jj)) / (dl(ilo) + dr(jj))) * fkmj;
    }
    for (int j = jderiv + 1; j <= km1; ++j) {
        const int kmj = k - j;
        int ilo = kmj;
        for (int jj = 1; jj <= kmj; ++jj, --ilo)
            aj(jj) = (aj(jj + 1) * dl(ilo) + aj(jj) * dr(jj)) / (dl(ilo) + dr(jj));
    }
    return aj(1);
}

float inside_knots(float x, float first, float last) {
    if (x < first) return first;
    if (x >= last) return std::nextafter(last, -std::numeric_limits<float>::infinity());
    return x;
}

}  // namespace surfmesh
