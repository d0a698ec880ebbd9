#include "bspline.hpp"

#include <cmath>
#include <cstdlib>
#include <utility>
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

void span_of(const float* t, int n, int k, float x, int& ilo, Span& s) {
    int i = 0;
    interv(t, n + k, x, i, s.mflag, ilo);
    s.k = k;
    if (s.mflag != 0 || k == 1) {
        s.first = s.last = i;
        s.jcmin = 1;
        return;
    }
    auto T = [t](int m) { return t[m - 1]; };
    auto dl = [&s](int m) -> float& { return s.dl[static_cast<std::size_t>(m - 1)]; };
    auto dr = [&s](int m) -> float& { return s.dr[static_cast<std::size_t>(m - 1)]; };

    const int km1 = k - 1;
    int jcmin = 1;
    const int imk = i - k;
    if (imk >= 0) {
        for (int j = 1; j <= km1; ++j) dl(j) = x - T(i + 1 - j);
    } else {
        // knots before t(1) would be needed: repeat the first distance
        jcmin = 1 - imk;
        for (int j = 1; j <= i; ++j) dl(j) = x - T(i + 1 - j);
        for (int j = i; j <= km1; ++j) dl(j) = dl(i);
    }
    int jcmax = k;
    const int nmi = n - i;
    if (nmi >= 0) {
        for (int j = 1; j <= km1; ++j) dr(j) = T(i + j) - x;
    } else {
        jcmax = k + nmi;
        for (int j = 1; j <= jcmax; ++j) dr(j) = T(i + j) - x;
        for (int j = jcmax; j <= km1; ++j) dr(j) = dr(jcmax);
    }
    s.jcmin = jcmin;
    s.first = imk + jcmin;
    s.last = imk + jcmax;
}

namespace {

// bvalue's triangle for L splines of one span at once, spline l's aj(m) at
// aj[(m-1)*L + l]: their coefficients loaded, the zeros standing for those
// beyond the ends, the jderiv-th derivative taken first; every step is
// the scalar one in each lane. aj(1) is left with the values.
template <std::size_t L>
void triangle(const Span& s, const float* from_first, int jderiv, float* aj) {
    const int k = s.k;
    auto at = [aj](int m, std::size_t l) -> float& { return aj[static_cast<std::size_t>(m - 1) * L + l]; };
    auto dl = [&s](int m) { return s.dl[static_cast<std::size_t>(m - 1)]; };
    auto dr = [&s](int m) { return s.dr[static_cast<std::size_t>(m - 1)]; };
    const int jcmax = s.jcmin + (s.last - s.first);
    for (int jc = 1; jc <= k; ++jc)
        for (std::size_t l = 0; l < L; ++l)
            at(jc, l) = jc < s.jcmin || jc > jcmax ? 0.0f : from_first[static_cast<std::size_t>(jc - s.jcmin) * L + l];

    for (int j = 1; j <= jderiv; ++j) {
        const int kmj = k - j;
        const float fkmj = static_cast<float>(kmj);
        int ilo = kmj;
        for (int jj = 1; jj <= kmj; ++jj, --ilo) {
            const float d = dl(ilo) + dr(jj);
            for (std::size_t l = 0; l < L; ++l) at(jj, l) = ((at(jj + 1, l) - at(jj, l)) / d) * fkmj;
        }
    }
    for (int j = jderiv + 1; j <= k - 1; ++j) {
        const int kmj = k - j;
        int ilo = kmj;
        for (int jj = 1; jj <= kmj; ++jj, --ilo) {
            const float a = dl(ilo), b = dr(jj), d = a + b;
            for (std::size_t l = 0; l < L; ++l) at(jj, l) = (at(jj + 1, l) * a + at(jj, l) * b) / d;
        }
    }
}

template <std::size_t L>
void values(const Span& s, const float* from_first, float* value) {
    if (s.k == 1) {
        for (std::size_t l = 0; l < L; ++l) value[l] = from_first[l];
        return;
    }
    std::array<float, nwork * L> aj;
    triangle<L>(s, from_first, 0, aj.data());
    for (std::size_t l = 0; l < L; ++l) value[l] = aj[l];
}

// One instance for each count of rows a surface span can have, each row
// with its lanes; any other count is a fault of the caller, which would
// otherwise leave value unwritten.
template <std::size_t... N>
void values_of(std::index_sequence<N...>, const Span& s, int count, const float* from_first, float* value) {
    constexpr std::size_t lanes = lane::count;
    const bool found = ((count == static_cast<int>(lanes * (N + 1)) &&
                         (values<lanes * (N + 1)>(s, from_first, value), true)) ||
                        ...);
    if (!found) std::abort();
}

}  // namespace

void span_values(const Span& s, int count, const float* from_first, float* value) {
    if (count == 1)
        values<1>(s, from_first, value);
    else
        values_of(std::make_index_sequence<nwork>(), s, count, from_first, value);
}

float bvalue(const float* t, const float* bcoef, int n, int k, float x, int jderiv, BvalueWork& w) {
    if (jderiv >= k) return 0.0f;
    Span s;
    span_of(t, n, k, x, w.ilo, s);
    if (s.mflag != 0) return 0.0f;
    if (k == 1) return bcoef[s.first - 1];
    triangle<1>(s, bcoef + (s.first - 1), jderiv, w.coef.data());
    return w.coef[0];
}

float inside_knots(float x, float first, float last) {
    if (x < first) return first;
    if (x >= last) return std::nextafter(last, -std::numeric_limits<float>::infinity());
    return x;
}

}  // namespace surfmesh
